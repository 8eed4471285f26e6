// SPDX-License-Identifier: GPL-3.0-or-later
// The WebAssembly engine as the page uses it: darvenix-cli's commands run
// on files in the module's memory file system (calc, curve, convert: the
// same documents and files as the native program), and the entry points of
// WebEngine.cpp for the page's working copy of the project.
import createDarvenixEngine from 'darvenix-engine';
import wasmBinary from 'darvenix-engine-wasm';

export interface CliResult {
  status: number;
  stderr: string[];
}

interface EngineModule {
  _main(argc: number, argv: number): number;
  _malloc(size: number): number;
  _free(ptr: number): void;
  cwrap(name: string, ret: string | null, args: string[]): (...a: unknown[]) => unknown;
  FS: {
    writeFile(path: string, data: Uint8Array | string): void;
    readFile(path: string, opts?: { encoding: 'utf8' }): Uint8Array & string;
    unlink(path: string): void;
    mkdir(path: string): void;
    analyzePath(path: string): { exists: boolean };
  };
  HEAPU32: Uint32Array;
  lengthBytesUTF8(s: string): number;
  stringToUTF8(s: string, ptr: number, max: number): void;
}

/** The working copy of the page's project inside the engine. */
export const WORK = '/work/project.dvx';

export class Engine {
  private stderr: string[] = [];
  private constructor(private readonly m: EngineModule) {}

  static async load(): Promise<Engine> {
    let engine: Engine | undefined;
    const module = (await createDarvenixEngine({
      wasmBinary,
      print: () => {},
      printErr: (line: string) => engine?.stderr.push(line),
    })) as EngineModule;
    engine = new Engine(module);
    module.FS.mkdir('/work');
    module.FS.mkdir('/out');
    return engine;
  }

  /** Runs darvenix-cli with args; its standard error lines are returned. */
  cli(args: string[]): CliResult {
    const m = this.m;
    const all = ['darvenix-cli', ...args];
    const pointers = all.map((a) => {
      const size = m.lengthBytesUTF8(a) + 1;
      const p = m._malloc(size);
      m.stringToUTF8(a, p, size);
      return p;
    });
    const argv = m._malloc(4 * (all.length + 1));
    pointers.forEach((p, i) => (m.HEAPU32[argv / 4 + i] = p));
    m.HEAPU32[argv / 4 + all.length] = 0;
    this.stderr = [];
    let status: number;
    try {
      status = m._main(all.length, argv);
    } finally {
      pointers.forEach((p) => m._free(p));
      m._free(argv);
    }
    return { status, stderr: this.stderr.map((l) => l.replace(/^darvenix-cli: /, '')) };
  }

  call(name: string, types: string[], ...args: unknown[]): string {
    return this.m.cwrap(name, 'string', types)(...args) as string;
  }

  writeFile(path: string, data: Uint8Array | string): void {
    this.m.FS.writeFile(path, data);
  }
  readBytes(path: string): Uint8Array {
    return this.m.FS.readFile(path);
  }
  readText(path: string): string {
    return this.m.FS.readFile(path, { encoding: 'utf8' });
  }
  remove(path: string): void {
    if (this.m.FS.analyzePath(path).exists) this.m.FS.unlink(path);
  }
  setUnits(us: boolean): void {
    this.m.cwrap('dvx_web_set_units', null, ['number'])(us ? 1 : 0);
  }
}
