// SPDX-License-Identifier: GPL-3.0-or-later
// Bundles the page into OUT: index.html, style.css and app.js, one script
// that holds the engine module, its WebAssembly binary and the examples, so
// that the page works from any static folder or straight from the disk.
// Usage: node build.mjs ENGINE_DIR OUT
import * as esbuild from 'esbuild';
import { copyFileSync, mkdirSync } from 'node:fs';
import { join, resolve } from 'node:path';

const [engineDir, out] = process.argv.slice(2).map((p) => resolve(p));
if (!engineDir || !out) {
  console.error('usage: node build.mjs ENGINE_DIR OUT');
  process.exit(2);
}
const here = new URL('.', import.meta.url).pathname;

// The engine module and its binary come from the WebAssembly build folder.
const enginePlugin = {
  name: 'darvenix-engine',
  setup(build) {
    build.onResolve({ filter: /^darvenix-engine$/ }, () => ({ path: join(engineDir, 'darvenix-engine.mjs') }));
    build.onResolve({ filter: /^darvenix-engine-wasm$/ }, () => ({ path: join(engineDir, 'darvenix-engine.wasm') }));
  },
};

mkdirSync(out, { recursive: true });
await esbuild.build({
  entryPoints: [join(here, 'src/main.ts')],
  bundle: true,
  format: 'iife',
  target: 'es2020',
  minify: true,
  outfile: join(out, 'app.js'),
  loader: { '.wasm': 'binary', '.dvx': 'binary', '.txt': 'binary' },
  plugins: [enginePlugin],
  logLevel: 'warning',
  // The engine module asks import.meta.url for its folder; the page hands
  // it the binary, so that path is never used.
  define: { 'import.meta.url': 'location.href' },
});
for (const file of ['index.html', 'style.css']) copyFileSync(join(here, file), join(out, file));
