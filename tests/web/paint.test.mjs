// The calculation screen draws again only where a key changed its picture: after every kind of key the
// canvas equals the page drawn whole, pixel for pixel.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { startSession } from './session.mjs';

let server, browser, session;

before(async () => {
  session = await startSession();
  ({ server, browser } = session);
});

after(async () => {
  await session?.close();
});

test('the page drawn again only where a key changed it equals the page drawn whole', async () => {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setViewport({ width: 1100, height: 760 });
  await page.goto(server.url, { waitUntil: 'load' });
  await page.waitForFunction(() => window.kazoru && window.kazoru.ready, { timeout: 30000 });
  await page.focus('#page');
  const differing = () => page.evaluate(() => {
    const c = document.getElementById('page');
    const g = c.getContext('2d');
    const part = g.getImageData(0, 0, c.width, c.height).data;
    window.kazoru.paintWhole();
    const whole = g.getImageData(0, 0, c.width, c.height).data;
    let n = 0;
    for (let i = 0; i < part.length; i++) if (part[i] !== whole[i]) n++;
    return n;
  });
  // Typing, a backspace, "=" with its answer, a refused key, F5 with the process, F6, and the line cleared.
  for (const keys of ['12b5+3', 'Backspace', '4b1=', '*', 'F5', 'F6', 'Delete', '7b3-1b2=']) {
    if (/^[A-Z]/.test(keys)) await page.keyboard.press(keys);
    else await page.keyboard.type(keys);
    assert.equal(await differing(), 0, `after ${keys}`);
  }
  await page.close();
  await context.close();
});
