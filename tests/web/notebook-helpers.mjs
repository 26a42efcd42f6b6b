// What the notebook's browser tests share: a page opened on the site of the session, the notebook view
// opened from the menu, the message box answered, the page's lines set through the page editor, and the
// model's state of the notebook. Only page actions a W3C-driven browser offers too are used.
import { mkdirSync, writeFileSync } from 'node:fs';
import path from 'node:path';

const SHOTS = process.env.KAZORU_WEB_SHOTS || '';

export async function openPage(browser, server, { width = 1100, height = 800, hasTouch = false } = {}) {
  const ctx = await browser.createBrowserContext();
  const page = await ctx.newPage();
  await page.setViewport({ width, height, hasTouch });
  await page.goto(server.url, { waitUntil: 'load' });
  await page.waitForFunction(() => window.kazoru && window.kazoru.ready, { timeout: 20000 });
  page.closeAll = async () => { await page.close(); await ctx.close(); };
  return page;
}

export async function openNotebook(page) {
  await page.click('#menus details:first-of-type summary');
  await page.click('[data-cmd="OpenNotebook"]');
  await page.waitForFunction(() => window.kazoru.notebook.shown);
}

export const noteState = (page) => page.evaluate(() => JSON.parse(window.kazoru.notebook.K.state()));

// The message box that is open: its caption and text, answered with the button of the value (0 OK, 1 Cancel).
export async function answer(page, value = 0) {
  await page.waitForSelector('#messageBox[open]');
  const caption = await page.$eval('#messageBox .caption', (e) => e.textContent);
  const text = await page.$eval('#messageBox .text', (e) => e.textContent);
  await page.click(`#messageBox button[value="${value}"]`);
  await page.waitForFunction(() => !document.getElementById('messageBox').open
    || document.querySelector('#messageBox .text').textContent !== '');
  return { caption, text };
}

// The page's lines replaced through the page editor (頁編集), as a teacher pastes a page.
export async function setLines(page, lines) {
  await page.click('[data-note="editPage"]');
  await page.waitForSelector('#notePageBox[open]');
  await page.$eval('#notePageBox textarea', (t, text) => { t.value = text; }, lines.join('\n'));
  await page.click('#notePageBox button[value="ok"]');
  await page.waitForFunction((want) => JSON.parse(window.kazoru.notebook.K.state()).lines.join('\n') === want, {},
    lines.join('\n'));
}

export async function shot(page, name, options = {}) {
  const png = await page.screenshot({ type: 'png', ...options });
  if (SHOTS) {
    mkdirSync(SHOTS, { recursive: true });
    writeFileSync(path.join(SHOTS, name), png);
  }
  return png;
}
