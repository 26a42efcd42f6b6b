// The keys a browser keeps for itself (Ctrl+W closes the pupil's tab, Ctrl+T and Ctrl+N open one): the
// page names none of them — not in its menus, the keypad's hints, the tool row, the notebook's commands or
// the help — and the browser edition's own keys do what the desktop's do; in each browser (driver.mjs).
import { describe, test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { forEachBrowser, SIZES } from './driver.mjs';

const [WIDTH, HEIGHT] = SIZES.desktop;

forEachBrowser({ describe, before, after }, (b) => {
  const openPage = () => b.session.open({ width: WIDTH, height: HEIGHT });

  test('no menu, hint, command or help page names a key the browser keeps', async () => {
    const page = await openPage();
    const named = await page.evaluate(async () => {
      const found = [];
      const PATTERN = /(?:(?:Ctrl|Alt|Shift)\+)+[A-Za-z0-9↑↓]+/g;
      const take = (where, text) => { for (const m of String(text).matchAll(PATTERN)) found.push([where, m[0]]); };
      for (const k of document.querySelectorAll('#menus kbd')) take('menu', k.textContent);
      for (const b of document.querySelectorAll('#panel [title], #toolRow [title], #noteCommands [title]')) take('hint', b.title);
      const help = ['index', 'keys', 'commands', 'notation', 'notebook', 'settings'];
      for (const name of help) {
        const html = await (await fetch(`help/${name}.html`)).text();
        take(`help/${name}`, html.replace(/<\/?kbd>/g, ''));
      }
      return found;
    });
    assert.ok(named.length > 30, `keys found: ${named.length}`);
    const kept = await page.evaluate((list) => {
      const VK = { Enter: 13, Return: 13, Ret: 13, Tab: 9, PageUp: 0x21, PageDown: 0x22, '↑': 0x26, '↓': 0x28, Delete: 0x2e };
      const keeps = window.kazoru.K.browserKeeps;
      return list.filter(([, label]) => {
        const parts = label.split('+');
        const name = parts.pop();
        const shift = (parts.includes('Shift') ? 1 : 0) | (parts.includes('Alt') ? 2 : 0) | (parts.includes('Ctrl') ? 4 : 0);
        const vk = VK[name] ?? (/^F\d+$/.test(name) ? 0x6f + Number(name.slice(1)) : name.length === 1 ? name.toUpperCase().charCodeAt(0) : -1);
        return vk >= 0 && keeps(vk, shift) === 1;
      });
    }, named);
    assert.deepEqual(kept, []);
    // The browser edition's own keys are the ones named for the commands.
    const own = await page.evaluate(() => JSON.parse(window.kazoru.K.browserKeys()));
    assert.deepEqual(own.notebook.find(([desktop]) => desktop === 'Ctrl+W'), ['Ctrl+W', 'Alt+W']);
    assert.equal(await page.$eval('#noteCommands [data-note="AddNew"]', (b) => b.title), 'Alt+W');
    assert.match(await page.$eval('[data-cmd="ToMixed"] kbd', (k) => k.textContent), /^Alt\+T$/);
    await page.close();
  });

  test('the browser edition\'s keys: Alt+T on the screen, Alt+W, Alt+T, Alt+Q and Alt+N in the notebook', async () => {
    const page = await openPage();
    // Answers as improper fractions; Alt+T turns 7/3 into a mixed number as Ctrl+T does on the desktop.
    await page.evaluate(() => { window.kazoru.K.setSetting('ANSSYU', 1); window.kazoru.paint(); });
    await page.focus('#page');
    await page.type('7/3');
    await page.press('Enter');
    await page.press('Alt+KeyT');
    const byKey = (await page.state()).line;
    await page.press('Delete');
    await page.type('7/3');
    await page.press('Enter');
    await page.evaluate(() => window.kazoru.pressKey(0x54, 4));
    assert.equal(byKey, (await page.state()).line);
    assert.equal(byKey, '7/3=3b7=2k3b1');
    assert.equal(await page.exists('#messageBox[open]'), false);

    await page.press('Alt+KeyN');
    await page.waitFor(() => window.kazoru.notebook.shown);
    await page.press('Alt+KeyW');
    await page.type('1/2+1/4');
    await page.press('Enter');
    await page.press('Alt+KeyT');
    await page.type('たし算');
    await page.press('Enter');
    await page.press('Alt+KeyQ');
    const told = [];
    while (await page.exists('#messageBox[open]')) {
      told.push(await page.$eval('#messageBox .text', (e) => e.textContent));
      await page.click('#messageBox button[value="0"]');
    }
    await page.waitFor(() => !document.querySelector('dialog[open]'));
    let s = await page.evaluate(() => JSON.parse(window.kazoru.notebook.K.state()));
    assert.equal(s.title, 'たし算');
    assert.match(s.lines[0], /^1\/2\+1\/4=/, told.join('|'));
    // Clearing a page not saved to a file asks first; No clears it without saving.
    await page.press('Alt+KeyN');
    await page.waitForSelector('#messageBox[open]');
    await page.click('#messageBox button[value="3"]');
    await page.waitFor(() => JSON.parse(window.kazoru.notebook.K.state()).lines.length === 0);
    s = await page.evaluate(() => JSON.parse(window.kazoru.notebook.K.state()));
    assert.equal(s.lines.length, 0);
    assert.deepEqual(await page.errors(), []);
    await page.close();
  });
});
