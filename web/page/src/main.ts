// SPDX-License-Identifier: GPL-3.0-or-later
// The page: the project's items in a grid, the liquid and material, the
// calculation, the pump and system curve, files in and out. The engine holds
// the project as a working copy of a project file; every change goes
// through it (with the desktop program's checks and messages), and undo and
// redo swap whole copies of that file.
import { Engine, WORK } from './engine';
import { examples } from './examples';
import { drawCurve } from './plot';
import { formatQuantity, quantityUnit, Units } from './units';

interface GridCell { text: string; edit: boolean; colour: string; tip: string }
interface GridRow { number: number; cells: GridCell[] }
interface GridDoc {
  error?: string;
  columns: { column: number; title: string; numeric: boolean }[];
  rows: GridRow[];
  liquid: { spec: number; t: number; additive: number; volume: number; caption: string };
  liquids: string[];
  material: number;
}
interface CalcItem { number: number; pressureDrop: number; velocity: number | null; gradient: number | null;
  reynolds: number | null; friction: number | null; warning: number; warningText: string }
interface CalcDoc { items: CalcItem[]; totals: { totalDP: number; totalVolume: number };
  warnings: { code: string; message: string }[] }

const $ = <T extends HTMLElement>(id: string) => document.getElementById(id) as T;

class Page {
  private projectName = 'Untitled.dvx';
  private selected = 0;
  private undo: Uint8Array[] = [];
  private redo: Uint8Array[] = [];
  private units: Units = 'si';
  private calc: CalcDoc | null = null;
  private grid: GridDoc | null = null;

  constructor(private readonly engine: Engine) {}

  /** Opens bytes as the project named name; on failure the project stays. */
  open(name: string, bytes: Uint8Array): boolean {
    const lower = name.toLowerCase();
    const path = lower.endsWith('.txt') ? '/work/in.txt' : '/work/in.dvx';
    this.engine.writeFile(path, bytes);
    const message = this.engine.call('dvx_web_open', ['string', 'string', 'string'], path, name, WORK);
    this.engine.remove(path);
    if (message) {
      this.say(message, true);
      return false;
    }
    this.projectName = name.replace(/\.txt$/i, '.dvx');
    this.undo = [];
    this.redo = [];
    this.selected = 0;
    this.calc = null;
    this.refresh();
    this.say(`Opened ${name}`);
    return true;
  }

  /** Runs a change of the working copy, kept for undo when it succeeds. */
  change(run: () => string): boolean {
    const before = this.engine.readBytes(WORK).slice();
    const message = run();
    if (message) {
      this.say(message, true);
      return false;
    }
    this.undo.push(before);
    this.redo = [];
    this.calc = null;
    this.refresh();
    return true;
  }

  undoRedo(from: Uint8Array[], to: Uint8Array[]): void {
    const bytes = from.pop();
    if (!bytes) return;
    to.push(this.engine.readBytes(WORK).slice());
    this.engine.writeFile(WORK, bytes);
    this.calc = null;
    this.refresh();
  }

  edit(row: number, column: number, text: string): boolean {
    return this.change(() =>
      this.engine.call('dvx_web_edit', ['string', 'number', 'number', 'string'], WORK, row, column, text));
  }

  insert(kind: number): void {
    const row = this.grid && this.grid.rows.length ? this.selected : 0;
    this.change(() => this.engine.call('dvx_web_insert', ['string', 'number', 'number'], WORK, row, kind));
  }

  remove(): void {
    if (!this.grid?.rows.length) return;
    this.change(() => this.engine.call('dvx_web_delete', ['string', 'number'], WORK, this.selected));
    this.selected = Math.min(this.selected, Math.max(0, (this.grid?.rows.length ?? 1) - 1));
    this.refresh();
  }

  move(delta: number): void {
    const to = this.selected + delta;
    if (!this.grid || to < 0 || to >= this.grid.rows.length) return;
    if (this.change(() => this.engine.call('dvx_web_move', ['string', 'number', 'number'], WORK, this.selected, to))) {
      this.selected = to;
      this.refresh();
    }
  }

  applyLiquid(): void {
    const t = this.readNumber($<HTMLInputElement>('temperature').value, 'Temperature');
    const volume = this.readNumber($<HTMLInputElement>('volume').value, 'Additive volume');
    if (t === null || volume === null) return;
    const celsius = this.units === 'us' ? (t - 32) / 1.8 : t;
    this.change(() => this.engine.call('dvx_web_set_liquid',
      ['string', 'number', 'number', 'number', 'number', 'number'], WORK,
      Number($<HTMLSelectElement>('liquid').value), celsius, Number($<HTMLSelectElement>('additive').value),
      volume / 100, Number($<HTMLSelectElement>('material').value)));
  }

  private readNumber(text: string, what: string): number | null {
    const value = Number(text.trim());
    if (text.trim() === '' || !Number.isFinite(value)) {
      this.say(`'${text}' is not a valid floating point value (${what})`, true);
      return null;
    }
    return value;
  }

  /** Calculates with the CLI's calc and shows the results; false on a failure. */
  calculate(): boolean {
    this.engine.remove('/out/calc.json');
    const run = this.engine.cli(['calc', '--builtin', '--json', '-o', '/out/calc.json', WORK]);
    if (run.status !== 0) {
      this.calc = null;
      this.refresh();
      this.say(run.stderr.join('\n') || `Calculation failed (${run.status})`, true);
      return false;
    }
    this.calc = JSON.parse(this.engine.readText('/out/calc.json')) as CalcDoc;
    this.refresh();
    this.drawCurve();
    const warnings = this.calc.warnings.map((w) => w.message).join('; ');
    this.say(warnings || 'Calculated', warnings !== '');
    return true;
  }

  drawCurve(): void {
    this.engine.remove('/out/curve.json');
    const run = this.engine.cli(['curve', '--builtin', '--json', '-o', '/out/curve.json', WORK]);
    const plot = $('curve-plot');
    const duty = $('duty');
    if (run.status !== 0) {
      plot.replaceChildren();
      duty.textContent = run.stderr.join(' ');
      return;
    }
    const doc = JSON.parse(this.engine.readText('/out/curve.json'));
    plot.replaceChildren(drawCurve(doc, this.units));
    const d = doc.duty;
    duty.dataset.flow = d ? String(d.flow) : '';
    duty.dataset.dp = d ? String(d.dp) : '';
    duty.textContent = d
      ? `Duty point: ${formatQuantity(d.flow, 'flow', this.units)} ${quantityUnit('flow', this.units)} at ` +
        `${formatQuantity(d.dp, 'dp', this.units)} ${quantityUnit('dp', this.units)}`
      : doc.pump ? 'The pump and system curves do not meet.' : 'No pump in the project: the system curve only.';
  }

  setUnits(units: Units): void {
    this.units = units;
    this.engine.setUnits(units === 'us');
    $('t-unit').textContent = units === 'us' ? '°F' : '°C';
    this.refresh();
    if (this.calc) this.drawCurve();
  }

  download(name: string, bytes: Uint8Array, type: string): void {
    const url = URL.createObjectURL(new Blob([bytes.slice().buffer as ArrayBuffer], { type }));
    const a = document.createElement('a');
    a.href = url;
    a.download = name;
    document.body.append(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 1000);
  }

  save(): void {
    this.download(this.projectName, this.engine.readBytes(WORK), 'application/x-darvenix');
  }

  exportAs(kind: 'txt' | 'csv'): void {
    const out = `/out/export.${kind}`;
    this.engine.remove(out);
    const args = ['convert', '--builtin', WORK, out];
    if (this.units === 'us' && kind === 'csv') args.splice(2, 0, '--units', 'us');
    const run = this.engine.cli(args);
    if (run.status !== 0) {
      this.say(run.stderr.join('\n'), true);
      return;
    }
    this.download(this.projectName.replace(/\.dvx$/i, `.${kind}`), this.engine.readBytes(out),
      kind === 'csv' ? 'text/csv' : 'text/plain');
  }

  say(text: string, warning = false): void {
    const m = $('message');
    m.textContent = text;
    m.classList.toggle('warning', warning);
  }

  refresh(): void {
    const grid = JSON.parse(this.engine.call('dvx_web_grid', ['string'], WORK)) as GridDoc;
    if (grid.error) {
      this.say(grid.error, true);
      return;
    }
    this.grid = grid;
    this.selected = Math.min(this.selected, Math.max(0, grid.rows.length - 1));
    this.renderGrid(grid);
    this.renderLiquid(grid);
    $('project-name').textContent = this.projectName;
    const total = $('total-dp');
    const volume = $('total-volume');
    if (this.calc) {
      total.dataset.pa = String(this.calc.totals.totalDP);
      total.textContent = `${formatQuantity(this.calc.totals.totalDP, 'dp', this.units)} ${quantityUnit('dp', this.units)}`;
      volume.textContent = `${formatQuantity(this.calc.totals.totalVolume, 'volume', this.units)} ${quantityUnit('volume', this.units)}`;
    } else {
      delete total.dataset.pa;
      total.textContent = '–';
      volume.textContent = '–';
    }
    ($('undo') as HTMLButtonElement).disabled = this.undo.length === 0;
    ($('redo') as HTMLButtonElement).disabled = this.redo.length === 0;
  }

  private renderLiquid(grid: GridDoc): void {
    const liquid = $<HTMLSelectElement>('liquid');
    if (liquid.options.length === 0)
      grid.liquids.forEach((name, i) => liquid.add(new Option(name, String(i))));
    liquid.value = String(grid.liquid.spec);
    const t = this.units === 'us' ? grid.liquid.t * 1.8 + 32 : grid.liquid.t;
    $<HTMLInputElement>('temperature').value = String(Number(t.toFixed(3)));
    $<HTMLSelectElement>('additive').value = String(grid.liquid.additive);
    $<HTMLInputElement>('volume').value = String(Number((grid.liquid.volume * 100).toFixed(3)));
    $<HTMLSelectElement>('material').value = String(grid.material);
    $('liquid-caption').textContent = grid.liquid.caption;
  }

  private renderGrid(grid: GridDoc): void {
    const table = $<HTMLTableElement>('grid');
    const head = document.createElement('tr');
    for (const c of grid.columns) {
      const th = document.createElement('th');
      th.textContent = c.title;
      th.scope = 'col';
      head.append(th);
    }
    const extra: [string, keyof CalcItem, 'velocity' | 'gradient' | 'plain'][] = [
      [`v, ${quantityUnit('velocity', this.units)}`, 'velocity', 'velocity'],
      [`Grad, ${quantityUnit('gradient', this.units)}`, 'gradient', 'gradient'],
      ['Re', 'reynolds', 'plain'],
      ['f', 'friction', 'plain'],
    ];
    for (const [title] of extra) {
      const th = document.createElement('th');
      th.textContent = title;
      th.scope = 'col';
      head.append(th);
    }
    table.tHead!.replaceChildren(head);
    const body = document.createDocumentFragment();
    grid.rows.forEach((row, r) => {
      const tr = document.createElement('tr');
      tr.dataset.row = String(r);
      tr.dataset.number = String(row.number);
      const result = this.calc?.items[r];
      if (result) {
        tr.dataset.dp = String(result.pressureDrop);
        if (result.warning) tr.classList.add('over-limit');
      }
      if (r === this.selected) tr.classList.add('selected');
      row.cells.forEach((cell, i) => {
        const td = document.createElement('td');
        td.textContent = cell.text;
        const column = grid.columns[i];
        td.dataset.column = String(column.column);
        if (column.numeric) td.classList.add('num');
        if (cell.colour) td.classList.add(cell.colour);
        if (cell.tip) td.title = cell.tip;
        if (cell.edit) {
          td.tabIndex = 0;
          td.classList.add('editable');
        }
        tr.append(td);
      });
      for (const [, key, kind] of extra) {
        const td = document.createElement('td');
        td.classList.add('num', 'result');
        const value = result?.[key];
        if (typeof value === 'number')
          td.textContent = kind === 'plain' ? (key === 'reynolds' ? value.toFixed(0) : value.toFixed(4))
            : formatQuantity(value, kind, this.units);
        tr.append(td);
      }
      body.append(tr);
    });
    table.tBodies[0].replaceChildren(body);
  }

  /** Starts an in-place edit of a cell: Enter commits, Escape cancels. */
  beginEdit(td: HTMLTableCellElement): void {
    const tr = td.parentElement as HTMLTableRowElement;
    const row = Number(tr.dataset.row);
    const column = Number(td.dataset.column);
    this.selected = row;
    const input = document.createElement('input');
    input.value = td.textContent ?? '';
    input.setAttribute('aria-label', 'Cell value');
    td.replaceChildren(input);
    input.focus();
    input.select();
    let done = false;
    const finish = (commit: boolean) => {
      if (done) return;
      done = true;
      if (commit && input.value !== td.dataset.original && this.edit(row, column, input.value)) {
        this.focusCell(row, column);
        return;
      }
      this.refresh();
      this.focusCell(row, column);
    };
    td.dataset.original = input.value;
    input.addEventListener('keydown', (e) => {
      if (e.key === 'Enter') { e.preventDefault(); finish(true); }
      else if (e.key === 'Escape') { e.preventDefault(); finish(false); }
      e.stopPropagation();
    });
    input.addEventListener('blur', () => finish(true));
  }

  focusCell(row: number, column: number): void {
    const td = document.querySelector<HTMLElement>(`#grid tr[data-row="${row}"] td[data-column="${column}"]`);
    td?.focus();
  }

  select(row: number): void {
    this.selected = row;
    document.querySelectorAll('#grid tr.selected').forEach((tr) => tr.classList.remove('selected'));
    document.querySelector(`#grid tr[data-row="${row}"]`)?.classList.add('selected');
  }

  bind(): void {
    $('calculate').addEventListener('click', () => this.calculate());
    $('save').addEventListener('click', () => this.save());
    $('export-txt').addEventListener('click', () => this.exportAs('txt'));
    $('export-csv').addEventListener('click', () => this.exportAs('csv'));
    $('print').addEventListener('click', () => window.print());
    $('undo').addEventListener('click', () => this.undoRedo(this.undo, this.redo));
    $('redo').addEventListener('click', () => this.undoRedo(this.redo, this.undo));
    $('insert-pipe').addEventListener('click', () => this.insert(0));
    $('insert-fitting').addEventListener('click', () => this.insert(1));
    $('insert-user').addEventListener('click', () => this.insert(2));
    $('delete-row').addEventListener('click', () => this.remove());
    $('move-up').addEventListener('click', () => this.move(-1));
    $('move-down').addEventListener('click', () => this.move(1));
    $('apply-liquid').addEventListener('click', () => this.applyLiquid());
    $<HTMLSelectElement>('units').addEventListener('change', (e) =>
      this.setUnits((e.target as HTMLSelectElement).value as Units));
    const exampleList = $<HTMLSelectElement>('example');
    for (const name of Object.keys(examples)) exampleList.add(new Option(name, name));
    exampleList.addEventListener('change', () => {
      const name = exampleList.value;
      if (name && this.open(name, examples[name])) this.calculate();
      exampleList.value = '';
    });
    $<HTMLInputElement>('open-file').addEventListener('change', async (e) => {
      const input = e.target as HTMLInputElement;
      const file = input.files?.[0];
      if (file && this.open(file.name, new Uint8Array(await file.arrayBuffer()))) this.calculate();
      input.value = '';
    });
    const grid = $<HTMLTableElement>('grid');
    grid.addEventListener('click', (e) => {
      const td = (e.target as HTMLElement).closest('td');
      const tr = td?.parentElement as HTMLTableRowElement | undefined;
      if (tr?.dataset.row) this.select(Number(tr.dataset.row));
    });
    grid.addEventListener('dblclick', (e) => {
      const td = (e.target as HTMLElement).closest('td');
      if (td?.classList.contains('editable')) this.beginEdit(td as HTMLTableCellElement);
    });
    grid.addEventListener('focusin', (e) => {
      const tr = (e.target as HTMLElement).closest('tr');
      if (tr?.dataset.row) this.select(Number(tr.dataset.row));
    });
    grid.addEventListener('keydown', (e) => this.gridKey(e));
    document.addEventListener('keydown', (e) => {
      if (e.key === 'F9') { e.preventDefault(); this.calculate(); }
      else if ((e.ctrlKey || e.metaKey) && e.key.toLowerCase() === 'z' && !e.shiftKey) {
        if ((e.target as HTMLElement).tagName === 'INPUT') return;
        e.preventDefault(); this.undoRedo(this.undo, this.redo);
      } else if ((e.ctrlKey || e.metaKey) && (e.key.toLowerCase() === 'y' || (e.key.toLowerCase() === 'z' && e.shiftKey))) {
        if ((e.target as HTMLElement).tagName === 'INPUT') return;
        e.preventDefault(); this.undoRedo(this.redo, this.undo);
      }
    });
  }

  /** Arrow keys move between editable cells, Enter or F2 edits, Insert adds a pipe. */
  private gridKey(e: KeyboardEvent): void {
    const td = (e.target as HTMLElement).closest('td') as HTMLTableCellElement | null;
    if (!td || (e.target as HTMLElement).tagName === 'INPUT') return;
    const tr = td.parentElement as HTMLTableRowElement;
    const row = Number(tr.dataset.row);
    const column = Number(td.dataset.column);
    const cells = Array.from(tr.querySelectorAll<HTMLElement>('td.editable'));
    const at = cells.indexOf(td);
    if (e.key === 'Enter' || e.key === 'F2') { e.preventDefault(); this.beginEdit(td); }
    else if (e.altKey && e.key === 'ArrowUp') { e.preventDefault(); this.move(-1); this.focusCell(this.selected, column); }
    else if (e.altKey && e.key === 'ArrowDown') { e.preventDefault(); this.move(1); this.focusCell(this.selected, column); }
    else if (e.key === 'ArrowUp') { e.preventDefault(); this.focusCell(row - 1, column); }
    else if (e.key === 'ArrowDown') { e.preventDefault(); this.focusCell(row + 1, column); }
    else if (e.key === 'ArrowLeft' && at > 0) { e.preventDefault(); cells[at - 1].focus(); }
    else if (e.key === 'ArrowRight' && at >= 0 && at < cells.length - 1) { e.preventDefault(); cells[at + 1].focus(); }
    else if (e.key === 'Insert') { e.preventDefault(); this.insert(0); this.focusCell(this.selected, column); }
    else if (e.ctrlKey && e.key === 'Delete') { e.preventDefault(); this.remove(); this.focusCell(this.selected, column); }
  }
}

async function start(): Promise<void> {
  document.body.classList.add('loading');
  const engine = await Engine.load();
  const page = new Page(engine);
  page.bind();
  const params = new URLSearchParams(location.search);
  const example = params.get('example');
  const file = example ? `${example}.dvx` in examples ? `${example}.dvx` : `${example}.txt` : 'chilled-water.dvx';
  if (examples[file]) {
    page.open(file, examples[file]);
    if (example) page.calculate();
  } else {
    page.say(`No example named ${example}`, true);
  }
  if (params.get('units') === 'us') {
    ($('units') as HTMLSelectElement).value = 'us';
    page.setUnits('us');
  }
  document.body.classList.remove('loading');
  document.body.dataset.ready = 'true';
  (window as unknown as { darvenix: Page }).darvenix = page;
}

start().catch((e) => {
  document.body.dataset.ready = 'error';
  const m = document.getElementById('message');
  if (m) m.textContent = `The engine could not start: ${e}`;
});
