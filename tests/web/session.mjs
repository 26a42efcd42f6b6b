// One local server of the built site and one headless Chromium (Debian's, driven by puppeteer-core, with a
// profile of its own), shared by the browser tests of a file: started before them, closed after them. For
// the tests that use puppeteer's own page directly; driver.mjs runs a test in every browser.
import { mkdtempSync, rmSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';
import { serve } from './serve.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
export const SITE = path.resolve(process.env.KAZORU_WEB_BUILD || path.join(here, '../../build-web'), 'site');
const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';

export async function startSession() {
  const server = await serve(SITE);
  const profile = mkdtempSync(path.join(os.tmpdir(), 'kazoru-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
      '--disable-sync', '--no-first-run', '--lang=ja', '--font-render-hinting=none'],
  });
  return {
    server,
    browser,
    async close() {
      await browser.close();
      await server.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}
