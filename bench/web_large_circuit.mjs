// SPDX-License-Identifier: GPL-3.0-or-later
// The browser edition against the native program on a large circuit: a
// text item file of N items (default 100 000) is read and calculated by
// `darvenix-cli calc --builtin --json` natively, and by the same command
// of the WebAssembly engine inside Chromium (the page's engine, from the
// bytes in memory); also the page's load to ready. Median of R runs.
// Run by hand after tools/build-web OUT, never by the test command:
//   DARVENIX_WEB_OUT=OUT node bench/web_large_circuit.mjs build/darvenix-cli [N] [R]
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { launch, openPage } from '../web/page/tests/browser.mjs';

const [cli, n = '100000', r = '5'] = process.argv.slice(2);
const count = Number(n);
const runs = Number(r);
const work = mkdtempSync(join(tmpdir(), 'darvenix-bench-'));
const median = (xs) => xs.slice().sort((a, b) => a - b)[Math.floor(xs.length / 2)];

// Pipes and fittings of a few bores and flows, as a long index circuit.
const kinds = [
  (i) => `p, ${i}, 'Pipe ${i}', 50, 2.5, 0, 'Pipe', ${(3 + (i % 7)).toFixed(1)}`,
  (i) => `f, ${i}, 'Bend ${i}', 50, 2.5, 0, 'Std Elbow 90 deg', 0, ${1 + (i % 3)}`,
  (i) => `f, ${i}, 'Valve ${i}', 65, 4.0, 0, 'Gate Valve', 12, 1`,
  (i) => `p, ${i}, 'Pipe ${i}', 80, 6.0, 0, 'Pipe', 12.0`,
];
const lines = Array.from({ length: count }, (_, i) => kinds[i % kinds.length](i + 1));
const file = join(work, 'large.txt');
writeFileSync(file, lines.join('\r\n') + '\r\n');

const nativeTimes = [];
let nativeJson = '';
for (let i = 0; i < runs; ++i) {
  const t0 = process.hrtime.bigint();
  nativeJson = execFileSync(cli, ['calc', '--builtin', '--json', file], { maxBuffer: 1 << 30, encoding: 'utf8' });
  nativeTimes.push(Number(process.hrtime.bigint() - t0) / 1e6);
}

const browser = await launch();
const loadTimes = [];
const wasmTimes = [];
let wasmJson = '';
try {
  for (let i = 0; i < runs; ++i) {
    const t0 = Date.now();
    const page = await openPage(browser.context, '');
    loadTimes.push(Date.now() - t0);
    const bytes = readFileSync(file).toString('base64');
    const result = await page.evaluate(({ b64, first }) => {
      const engine = window.darvenix.engine;
      const data = Uint8Array.from(atob(b64), (c) => c.charCodeAt(0));
      engine.writeFile('/work/large.txt', data);
      const t = performance.now();
      const run = engine.cli(['calc', '--builtin', '--json', '-o', '/out/large.json', '/work/large.txt']);
      const ms = performance.now() - t;
      return { ms, status: run.status, json: first ? engine.readText('/out/large.json') : '' };
    }, { b64: bytes, first: i === 0 });
    if (result.status !== 0) throw new Error(`calc failed in the browser: ${result.status}`);
    if (result.json) wasmJson = result.json;
    wasmTimes.push(result.ms);
    await page.close();
  }
} finally {
  await browser.close();
  rmSync(work, { recursive: true, force: true });
}
console.log(`items: ${count}, runs: ${runs}`);
console.log(`native darvenix-cli calc --json (whole process): median ${median(nativeTimes).toFixed(0)} ms`);
console.log(`WebAssembly calc --json in Chromium (read + calculate + JSON): median ${median(wasmTimes).toFixed(0)} ms`);
console.log(`page load to ready: median ${median(loadTimes).toFixed(0)} ms`);
console.log(`same JSON document: ${nativeJson === wasmJson}`);
