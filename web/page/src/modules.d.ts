// SPDX-License-Identifier: GPL-3.0-or-later
// What the bundler hands the page for the engine module and binary files.
declare module 'darvenix-engine' {
  const createDarvenixEngine: (options: Record<string, unknown>) => Promise<unknown>;
  export default createDarvenixEngine;
}
declare module 'darvenix-engine-wasm' {
  const bytes: Uint8Array;
  export default bytes;
}
declare module '*.dvx' {
  const bytes: Uint8Array;
  export default bytes;
}
declare module '*.txt' {
  const bytes: Uint8Array;
  export default bytes;
}
