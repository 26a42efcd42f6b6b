// The pupil's own working in the browser notebook: the working lines ("=" lines under a problem) are
// checked as on the desktop by Ctrl+Shift+G or the toolbar's button: each step gets ○ or × after its line,
// the summary for the teacher is told, and a page changed afterwards shows no stale marks.
import { describe, test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { forEachBrowser } from './driver.mjs';
import { openNotebook, noteState, answer, setLines } from './notebook-helpers.mjs';

const PAGE = ['2b1+3b1', '=6b3+6b2', '=6b5', '2b1+3b1', '=5b2', '4b3-2b1=4b1'];

const ways = [
  { name: 'Ctrl+Shift+G on the sheet', hasTouch: false,
    run: async (page) => {
      await page.focus('#noteSheet');
      await page.press('Control+Shift+KeyG');
    } },
  { name: 'the button, tapped', hasTouch: true, run: (page) => page.tap('[data-note="CheckWorking"]') },
];

forEachBrowser({ describe, before, after }, (b) => {
  for (const way of ways) {
    test(`working lines are checked by ${way.name}: marks on the sheet and the summary`, async () => {
      const page = await b.session.open({ width: 1024, height: 768, touch: way.hasTouch });
      await openNotebook(page);
      await setLines(page, PAGE);
      assert.deepEqual((await noteState(page)).marks, ['', '', '', '', '', '']);
      await way.run(page);
      const told = await answer(page, 0);
      assert.equal(told.caption, '途中式のチェック');
      assert.match(told.text, /途中式を書いた問題: 3問（全部正しい: 2問）/);
      assert.match(told.text, /正しいステップ: 3 \/ 4/);
      assert.match(told.text, /\[add-across\]: 1回/);
      const s = await noteState(page);
      assert.deepEqual(s.marks, ['', '○', '○', '', '×', '○']);
      const drawn = (await page.evaluate(() => window.kazoru.notebook.ops)).split('\n')
        .filter((r) => r.startsWith('T\t')).map((r) => r.split('\t'));
      const marks = drawn.filter((f) => f[9] === '○' || f[9] === '×').map((f) => f[9]);
      assert.deepEqual(marks, ['○', '○', '×', '○']);
      if (!way.hasTouch) await page.screenshot('notebook-working.png');

      // A line edited afterwards: the old marks are gone until the page is checked again.
      await setLines(page, [...PAGE.slice(0, 4), '=6b5', PAGE[5]]);
      assert.deepEqual((await noteState(page)).marks, ['', '', '', '', '', '']);
      await page.close();
    });
  }

  test('a page without working says how to write it', async () => {
    const page = await b.session.open({ width: 1024, height: 768 });
    await openNotebook(page);
    await setLines(page, ['2b1+3b1', '3b2*4']);
    await page.click('[data-note="CheckWorking"]');
    const told = await answer(page, 0);
    assert.match(told.text, /途中式の書かれた問題がありません。/);
    await page.close();
  });
});
