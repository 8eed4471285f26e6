// SPDX-License-Identifier: GPL-3.0-or-later
// The WebAssembly darvenix-cli (under node) against the native one, for
// every example and output form: the same exit status, the same messages
// and the same bytes, except that a number may differ from the native one
// by at most 1e-15 relative where the WebAssembly maths library's result
// differs from glibc's in the last bit (the last digit of some laminar and
// transitional flow results). Written files must be identical.
// Usage: node compare_cli.mjs NATIVE_CLI WASM_CLI_JS EXAMPLES_DIR
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync, existsSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

const [native, wasm, examples] = process.argv.slice(2);
const work = mkdtempSync(join(tmpdir(), 'darvenix-compare-'));
let failures = 0;
let inexact = 0;
let compared = 0;
const NUMBER = /-?\d+(?:\.\d+)?(?:[eE][-+]?\d+)?/g;

function run(program, args) {
  const r = program === native ? spawnSync(native, args, { encoding: 'utf8' })
    : spawnSync(process.execPath, [wasm, ...args], { encoding: 'utf8' });
  return { status: r.status, out: r.stdout, err: r.stderr };
}

/** True when a and b are equal but for numbers within 1e-15 relative. */
function close(a, b, where) {
  if (a === b) return true;
  const textA = a.replace(NUMBER, '#');
  const textB = b.replace(NUMBER, '#');
  if (textA !== textB) return false;
  const na = a.match(NUMBER) ?? [];
  const nb = b.match(NUMBER) ?? [];
  for (let i = 0; i < na.length; ++i) {
    if (na[i] === nb[i]) continue;
    const x = Number(na[i]);
    const y = Number(nb[i]);
    if (Math.abs(x - y) > 1e-15 * Math.max(Math.abs(x), Math.abs(y))) return false;
    ++inexact;
    if (inexact <= 5) console.log(`within 1e-15: ${where}: ${na[i]} native, ${nb[i]} wasm`);
  }
  return true;
}

function compare(name, args) {
  ++compared;
  const n = run(native, args);
  const w = run(wasm, args);
  if (n.status !== w.status || !close(n.out, w.out, name) || n.err !== w.err) {
    console.log(`DIFFERS: ${name} (exit ${n.status} native, ${w.status} wasm)`);
    console.log(`  native: ${n.err.slice(0, 300)}\n  wasm:   ${w.err.slice(0, 300)}`);
    ++failures;
  }
}

const files = readdirSync(examples).filter((f) => /\.(dvx|txt)$/.test(f) && f !== 'LetterHead.txt');
for (const f of files) {
  const path = join(examples, f);
  for (const form of [['--json'], ['--csv'], [], ['--units', 'us'], ['--json', '--t', '60', '--liquid', 'water'],
    ['--json', '--resize-all'], ['--json', '--material', 'galvanised-iron'], ['--json', '--groups']])
    compare(`calc ${form.join(' ')} ${f}`, ['calc', '--builtin', ...form, path]);
  compare(`curve --json ${f}`, ['curve', '--builtin', '--json', path]);
  compare(`curve --csv ${f}`, ['curve', '--builtin', '--csv', path]);
  for (const to of ['dvx', 'txt', 'csv']) {
    ++compared;
    const a = join(work, `native.${to}`);
    const b = join(work, `wasm.${to}`);
    const extra = to === 'csv' ? ['--builtin'] : [];
    const rn = run(native, ['convert', ...extra, path, a]);
    const rw = run(wasm, ['convert', ...extra, path, b]);
    if (rn.status !== 0 || rw.status !== 0 || !existsSync(a) || !existsSync(b) ||
        !readFileSync(a).equals(readFileSync(b))) {
      console.log(`DIFFERS: convert ${f} to ${to} (exit ${rn.status} native, ${rw.status} wasm) ${rn.err}${rw.err}`);
      ++failures;
    }
    rmSync(a, { force: true });
    rmSync(b, { force: true });
  }
}
// Failures: the same messages and exit status.
writeFileSync(join(work, 'zero.txt'), 'p, 1, "Zero bore", 15, 0, 0, "Pipe", 0\n');
compare('calc of an invalid item', ['calc', '--builtin', '--json', join(work, 'zero.txt')]);
writeFileSync(join(work, 'damaged.dvx'), readFileSync(join(examples, 'chilled-water.dvx')).subarray(0, 1000));
compare('a damaged project', ['calc', '--builtin', '--json', join(work, 'damaged.dvx')]);
rmSync(work, { recursive: true, force: true });
console.log(`${compared} comparisons, ${inexact} numbers within 1e-15 relative, not identical`);
console.log(`${compared - failures} passed, ${failures} failed`);
process.exit(failures ? 1 : 0);
