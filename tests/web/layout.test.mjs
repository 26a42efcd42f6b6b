// The page at the sizes of school devices (a laptop, an iPad upright, a phone) in each browser: nothing
// runs off the screen or is cut (the menus with their key hints, the status line, the line editor, the
// notebook, whose sheet scrolls sideways instead), the type suits the device, and the size the pupil
// chooses with ﾌｫﾝﾄＦ, Ctrl+plus/minus/0 or a pinch is kept with the settings. Screenshots of each size
// go to KAZORU_WEB_SHOTS when it is set.
import { describe, test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { forEachBrowser, SIZES } from './driver.mjs';

// Every element the page shows that runs off the viewport sideways (outside a box that scrolls), or whose
// text is cut by a box that hides what overflows it; described as "tag#id.class: left..right".
function overflowing() {
  const width = document.documentElement.clientWidth;
  const out = [];
  const name = (e) => `${e.tagName.toLowerCase()}${e.id ? `#${e.id}` : ''}${e.classList.length ? `.${[...e.classList].join('.')}` : ''}` +
    (e.dataset.caption || e.dataset.cmd || e.dataset.note ? `[${e.dataset.caption || e.dataset.cmd || e.dataset.note}]` : '');
  const scrolls = (e) => ['auto', 'scroll'].includes(getComputedStyle(e).overflowX);
  for (const e of document.body.querySelectorAll('*')) {
    if (!e.getClientRects().length || e.closest('.offscreen, [hidden], script')) continue;
    const style = getComputedStyle(e);
    if (style.visibility === 'hidden' || style.display === 'none') continue;
    const r = e.getBoundingClientRect();
    if (r.width < 1 || r.height < 1) continue;
    let inScroller = false;
    for (let a = e.parentElement; a && a !== document.body; a = a.parentElement) if (scrolls(a)) inScroller = true;
    if (!inScroller && (r.left < -1 || r.right > width + 1)) out.push(`${name(e)}: ${Math.round(r.left)}..${Math.round(r.right)}`);
    // Text cut by its own box.
    if (['hidden', 'clip'].includes(style.overflowX) && e.scrollWidth > e.clientWidth + 1 && e.tagName !== 'CANVAS') {
      out.push(`${name(e)}: text ${e.scrollWidth} px in ${e.clientWidth} px`);
    }
  }
  if (document.documentElement.scrollWidth > width + 1) out.push(`page: ${document.documentElement.scrollWidth} px wide`);
  return out;
}

// The height in pixels of the line's digits as drawn on the page canvas: the ink of "8" at the size the
// drawing list gives the line's text.
function digitHeight() {
  const row = window.kazoru.ops.split('\n').find((r) => r.startsWith('T\t') && /[0-9]/.test(r.split('\t').slice(9).join('\t')));
  const size = Number(row.split('\t')[5]);
  const px = Math.max(2, Math.floor(Math.max(1, size) * 96 / 72 / 2 + 0.5) * 2);
  const g = document.createElement('canvas').getContext('2d');
  g.font = `${px}px KazoruGothic`;
  const m = g.measureText('8');
  return m.actualBoundingBoxAscent + m.actualBoundingBoxDescent;
}

forEachBrowser({ describe, before, after }, (b) => {
  for (const [device, [width, height]] of Object.entries(SIZES)) {
    test(`${device} ${width}×${height}: nothing runs off the screen, text wraps, the notebook's sheet scrolls sideways`, async () => {
      const page = await b.session.open({ width, height, touch: true });
      await page.evaluate(() => window.kazoru.K.setSetting('ADVICEDSP', 1));
      await page.press('F5');
      await page.type('2b1+3b1=');
      // A key on a closed line: the status line's longest message.
      await page.type('5');
      await page.screenshot(`${device}-screen.png`);
      const s = await page.state();
      assert.match(s.status, /この式は閉じています/);
      assert.deepEqual(await page.evaluate(overflowing), [], 'calculation screen');
      // Every word of the status line is on the screen.
      assert.ok(await page.$eval('#status', (e) => e.scrollHeight <= e.clientHeight + 1 && e.scrollWidth <= e.clientWidth + 1));
      // The process with its heading and advice is all on the page's canvas; where that is wider than the
      // screen, the page scrolls sideways to it.
      const page_ = await page.evaluate(() => {
        const c = document.getElementById('page');
        const cut = window.kazoru.ops.split('\n').filter((r) => r.startsWith('T\t') && Number(r.split('\t')[3]) > c.clientWidth + 1)
          .map((r) => r.split('\t').slice(9).join('\t'));
        return { cut, wider: c.clientWidth > c.parentElement.clientWidth + 1, scrolls: getComputedStyle(c.parentElement).overflowX };
      });
      assert.deepEqual(page_.cut, [], 'text drawn past the canvas');
      if (page_.wider) assert.match(page_.scrolls, /auto|scroll/);

      // Each menu opens within the screen, its key hints whole.
      const menus = await page.$$eval('#menus details summary', (l) => l.length);
      for (let i = 1; i <= menus; i++) {
        await page.click(`#menus details:nth-of-type(${i}) summary`);
        if (i === 3) await page.screenshot(`${device}-menu.png`);
        assert.deepEqual(await page.evaluate(overflowing), [], `menu ${i}`);
        await page.click(`#menus details:nth-of-type(${i}) summary`);
      }

      // The notebook: the line editor fits; the sheet with its answers scrolls sideways where it is wider.
      await page.click('#menus details:first-of-type summary');
      await page.click('[data-cmd="OpenNotebook"]');
      await page.waitFor(() => window.kazoru.notebook.shown);
      await page.evaluate(() => window.kazoru.notebook.K.setPage(['1/2+1/3', '3/4-1/6', '2x+1/3=1'].join('\n')));
      await page.click('[data-note="CalculateAll"]');
      await page.waitFor(() => JSON.parse(window.kazoru.notebook.K.state()).lines[0].includes('='));
      for (;;) {
        await page.waitFor(() => document.getElementById('messageBox').open || !window.kazoru.dialogsWaiting);
        if (!(await page.exists('#messageBox[open]'))) break;
        await page.evaluate(() => document.querySelector('#messageBox button[value="0"]').click());
      }
      await page.click('[data-note="AddNew"]');
      await page.waitForSelector('#noteLineBox[open]');
      await page.screenshot(`${device}-line-editor.png`);
      assert.deepEqual(await page.evaluate(overflowing), [], 'line editor');
      await page.press('Escape');
      await page.waitFor(() => !document.getElementById('noteLineBox').open);
      assert.deepEqual(await page.evaluate(overflowing), [], 'notebook');
      const sheet = await page.evaluate(() => {
        const c = document.getElementById('noteSheet');
        const right = Math.max(...window.kazoru.notebook.ops.split('\n').filter((r) => r.startsWith('T\t'))
          .map((r) => Number(r.split('\t')[3])));
        const box = c.parentElement;
        return { right, canvas: c.clientWidth, view: box.clientWidth, scrolls: getComputedStyle(box).overflowX };
      });
      assert.ok(sheet.right <= sheet.canvas + 1, `the sheet's text (to ${sheet.right} px) is on its canvas (${sheet.canvas} px)`);
      if (sheet.canvas > sheet.view + 1) assert.match(sheet.scrolls, /auto|scroll/, 'a sheet wider than the screen scrolls sideways');
      await page.screenshot(`${device}-notebook.png`);
      assert.deepEqual(await page.errors(), []);
      await page.close();
    });
  }

  test('the type suits the device; ﾌｫﾝﾄＦ, Ctrl+plus/minus/0 and the menu set the size, which is kept', async () => {
    const [width, height] = SIZES.ipad;
    const page = await b.session.open({ width, height, touch: true });
    await page.type('2b1+3b1=');
    const digits = await page.evaluate(digitHeight);
    assert.ok(digits >= 20, `the line's digits are ${digits} px high on an iPad`);
    const home = (await page.state()).settings.FONTSIZE;
    // Ctrl+minus, Ctrl+plus and Ctrl+0 step the size and come back to the device's size.
    await page.press('Control+Minus');
    const smaller = (await page.state()).settings.FONTSIZE;
    assert.ok(smaller < home);
    await page.press('Control+Digit0');
    assert.equal((await page.state()).settings.FONTSIZE, home);
    await page.click('#menus details:nth-of-type(3) summary');
    await page.click('#menus [data-key="187"]');
    assert.ok((await page.state()).settings.FONTSIZE > home);
    // 条件設定 → ﾌｫﾝﾄＦ opens the font box; the size chosen there is drawn and kept over a reload.
    await page.tap('#panel [data-caption="条件J"]');
    await page.tap('#tool-conditions button[data-caption="ﾌｫﾝﾄＦ"]');
    await page.waitForVisible('#fontBox[open]');
    await page.screenshot('ipad-font-box.png');
    await page.select('#fontBox select', '28');
    await page.click('#fontBox button[value="ok"]');
    await page.waitFor(() => window.kazoru.state.settings.FONTSIZE === 28);
    await page.press('Escape');
    assert.equal(await page.evaluate(() => window.kazoru.ops.split('\n').some((r) => r.startsWith('T\t') && r.split('\t')[5] === '28')), true);
    await page.reload();
    await page.ready();
    assert.equal((await page.state()).settings.FONTSIZE, 28);
    assert.match(await page.evaluate(() => atob(localStorage.getItem('Kazoru1.ini'))), /FONTSIZE=28/);
    await page.close();
    // A laptop keeps the desktop's size.
    const laptop = await b.session.open({ width: SIZES.desktop[0], height: SIZES.desktop[1] });
    assert.equal((await laptop.state()).settings.FONTSIZE, 14);
    await laptop.close();
  });

  test('a pinch on the page zooms its type', { skip: !b.features.cdp && 'two-finger touch needs Chromium\'s DevTools protocol' }, async () => {
    const [width, height] = SIZES.ipad;
    const page = await b.session.open({ width, height, touch: true });
    const home = (await page.state()).settings.FONTSIZE;
    const cdp = await page.cdp();
    const box = await page.box('#page');
    const cx = box.x + box.width / 2, cy = box.y + 200;
    const fingers = (d) => [{ x: cx - d, y: cy, id: 1 }, { x: cx + d, y: cy, id: 2 }];
    await cdp.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: fingers(40) });
    for (const d of [60, 80, 100, 120]) await cdp.send('Input.dispatchTouchEvent', { type: 'touchMove', touchPoints: fingers(d) });
    await cdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
    const bigger = (await page.state()).settings.FONTSIZE;
    assert.ok(bigger > home, `${home} → ${bigger}`);
    await page.close();
  });
});
