// SPDX-License-Identifier: GPL-3.0-or-later
// The page in a real browser against the native darvenix-cli: the examples'
// results, an edit then Calculate, Save, a damaged file, US units and the
// duty point.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { launch, openPage } from './browser.mjs';

const CLI = process.env.DARVENIX_CLI;
const SOURCE = process.env.DARVENIX_SOURCE_DIR;
if (!CLI || !SOURCE) throw new Error('DARVENIX_CLI and DARVENIX_SOURCE_DIR name the native program and the sources');
const examplesDir = join(SOURCE, 'examples');

let browser;
let scratch;
before(async () => {
  browser = await launch();
  scratch = mkdtempSync(join(tmpdir(), 'darvenix-web-test-'));
});
after(async () => {
  await browser?.close();
  rmSync(scratch, { recursive: true, force: true });
});

function native(args) {
  return JSON.parse(execFileSync(CLI, [...args, '--builtin', '--json'], { encoding: 'utf8' }));
}

async function rows(page) {
  return page.$$eval('#grid tbody tr', (trs) => trs.map((tr) => ({ number: tr.dataset.number, dp: tr.dataset.dp })));
}

async function download(page, button) {
  const [file] = await Promise.all([page.waitForEvent('download'), page.click(button)]);
  const path = join(scratch, file.suggestedFilename());
  await file.saveAs(path);
  return path;
}

/** Types text into a cell as a user does: focus, Enter, the text, Enter. */
async function typeInCell(page, row, column, text) {
  await page.focus(`#grid tr[data-row="${row}"] td[data-column="${column}"]`);
  await page.keyboard.press('Enter');
  await page.keyboard.press('Control+A');
  await page.keyboard.type(text);
  await page.keyboard.press('Enter');
}

const FLOW = 6; // the grid's logical flow column
const SIZE = 4;

for (const [name, file] of [['chilled-water', 'chilled-water.dvx'], ['chilled-water-kv', 'chilled-water-kv.dvx'],
  ['glycol-loop', 'glycol-loop.dvx'], ['heating-loop', 'heating-loop.txt']]) {
  test(`${name}: every item and the total equal the native program's`, async () => {
    const page = await openPage(browser.context, `?example=${name}`);
    const expected = native(['calc', join(examplesDir, file)]);
    const shown = await rows(page);
    assert.equal(shown.length, expected.items.length);
    expected.items.forEach((item, i) => {
      assert.equal(Number(shown[i].number), item.number);
      assert.equal(Number(shown[i].dp), item.pressureDrop, `item ${i + 1}`);
    });
    assert.equal(Number(await page.getAttribute('#total-dp', 'data-pa')), expected.totals.totalDP);
    assert.deepEqual(page.errors, []);
    await page.close();
  });
}

test('an edited flow calculates as the native program calculates the saved project', async () => {
  const page = await openPage(browser.context, '?example=chilled-water');
  const before = Number(await page.getAttribute('#total-dp', 'data-pa'));
  await typeInCell(page, 3, FLOW, '20');
  // The edit clears the results until the next calculation.
  assert.equal(await page.getAttribute('#total-dp', 'data-pa'), null);
  await page.keyboard.press('F9');
  const after = Number(await page.getAttribute('#total-dp', 'data-pa'));
  assert.notEqual(after, before);
  const saved = await download(page, '#save');
  const expected = native(['calc', saved]);
  assert.equal(expected.items[3].flow, 0.02);
  assert.equal(after, expected.totals.totalDP);
  // Undo brings back the opened project, byte for byte.
  await page.click('#undo');
  const undone = await download(page, '#save');
  assert.deepEqual(readFileSync(undone), readFileSync(join(examplesDir, 'chilled-water.dvx')));
  await page.close();
});

test("a saved project is byte for byte the desktop program's save", async () => {
  const page = await openPage(browser.context, '?example=glycol-loop');
  const saved = await download(page, '#save');
  assert.deepEqual(readFileSync(saved), readFileSync(join(examplesDir, 'glycol-loop.dvx')));
  // After edits, the native program saves the page's file unchanged.
  await typeInCell(page, 0, FLOW, '0.75');
  await page.click('#insert-pipe');
  const edited = await download(page, '#save');
  const again = join(scratch, 'again.dvx');
  execFileSync(CLI, ['convert', edited, again]);
  assert.deepEqual(readFileSync(again), readFileSync(edited));
  await page.close();
});

test("the desktop program's messages for values it refuses, the item unchanged", async () => {
  const page = await openPage(browser.context, '?example=chilled-water');
  const cell = `#grid tr[data-row="3"] td[data-column="${FLOW}"]`;
  const original = await page.textContent(cell);
  for (const [typed, message] of [['abc', "'abc' is not a valid floating point value"],
    ['-2', 'Data must be positive']]) {
    await typeInCell(page, 3, FLOW, typed);
    assert.equal(await page.textContent('#message'), message);
    assert.equal(await page.textContent(cell), original);
  }
  assert.equal(await page.isDisabled('#undo'), true);
  await page.close();
});

test("a damaged file gives the desktop program's message and leaves the project as it was", async () => {
  const page = await openPage(browser.context, '?example=chilled-water');
  const before = { rows: await rows(page), total: await page.getAttribute('#total-dp', 'data-pa') };
  const whole = readFileSync(join(examplesDir, 'chilled-water.dvx'));
  const damaged = join(scratch, 'damaged.dvx');
  writeFileSync(damaged, whole.subarray(0, Math.floor(whole.length / 2)));
  await page.setInputFiles('#open-file', damaged);
  await page.waitForFunction(() => document.getElementById('message').textContent.startsWith('Error'));
  assert.equal(await page.textContent('#message'), 'Error reading damaged.dvx');
  assert.deepEqual({ rows: await rows(page), total: await page.getAttribute('#total-dp', 'data-pa') }, before);
  assert.equal(await page.textContent('#project-name'), 'chilled-water.dvx');
  await page.close();
});

test('US units show gpm and psi; the values in Pa stay', async () => {
  const page = await openPage(browser.context, '?example=chilled-water');
  const pa = Number(await page.getAttribute('#total-dp', 'data-pa'));
  await page.selectOption('#units', 'us');
  const titles = await page.$$eval('#grid thead th', (ths) => ths.map((th) => th.textContent));
  assert.ok(titles.includes('Q, gpm'), titles.join('|'));
  assert.equal(await page.textContent('#total-dp'), `${(pa / 6894.757293168361).toFixed(3)} psi`);
  assert.equal(Number(await page.getAttribute('#total-dp', 'data-pa')), pa);
  // A flow typed in gpm is stored in m³/s.
  await typeInCell(page, 3, FLOW, '317.006');
  await page.keyboard.press('F9');
  // The calculation keeps the units the page shows.
  assert.ok((await page.textContent('#grid thead')).includes('Q, gpm'));
  assert.match(await page.textContent('#total-dp'), / psi$/);
  const saved = await download(page, '#save');
  assert.ok(Math.abs(native(['calc', saved]).items[3].flow - 0.02) < 1e-6);
  await page.close();
});

test('the duty point equals darvenix-cli curve', async () => {
  const page = await openPage(browser.context, '?example=chilled-water');
  const expected = native(['curve', join(examplesDir, 'chilled-water.dvx')]).duty;
  assert.equal(Number(await page.getAttribute('#duty', 'data-flow')), expected.flow);
  assert.equal(Number(await page.getAttribute('#duty', 'data-dp')), expected.dp);
  assert.equal(await page.locator('#duty-point').count(), 1);
  await page.close();
});
