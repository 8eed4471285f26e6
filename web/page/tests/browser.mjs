// SPDX-License-Identifier: GPL-3.0-or-later
// Starts Debian's Chromium headless through playwright-core (never a
// downloaded browser), with a fresh profile, and opens pages of the built
// site from the disk.
import { chromium } from 'playwright-core';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';

export const SITE = process.env.DARVENIX_WEB_OUT;
if (!SITE) throw new Error('DARVENIX_WEB_OUT names the folder tools/build-web built');

export async function launch() {
  const profile = mkdtempSync(join(tmpdir(), 'darvenix-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    acceptDownloads: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  return {
    context,
    async close() {
      await context.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

/** Opens index.html with the query and waits until the page says it is ready. */
export async function openPage(context, query = '', viewport = { width: 1366, height: 800 }) {
  const page = await context.newPage();
  await page.setViewportSize(viewport);
  const errors = [];
  page.on('pageerror', (e) => errors.push(String(e)));
  await page.goto(pathToFileURL(join(SITE, 'index.html')).href + query);
  await page.waitForSelector('body[data-ready]');
  const state = await page.getAttribute('body', 'data-ready');
  if (state !== 'true') throw new Error(`page did not start: ${await page.textContent('#message')} ${errors}`);
  page.errors = errors;
  return page;
}
