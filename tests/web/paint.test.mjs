// The calculation screen draws again only where a key changed its picture: after every kind of key the
// canvas equals the page drawn whole, pixel for pixel; in each browser (driver.mjs).
import { describe, test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { forEachBrowser } from './driver.mjs';

forEachBrowser({ describe, before, after }, (b) => {
  test('the page drawn again only where a key changed it equals the page drawn whole', async () => {
    const page = await b.session.open({ width: 1100, height: 760 });
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
      if (/^[A-Z]/.test(keys)) await page.press(keys);
      else await page.type(keys);
      assert.equal(await differing(), 0, `after ${keys}`);
    }
    await page.close();
  });
});
