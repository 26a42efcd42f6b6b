// The pupil's own working in the browser notebook: the working lines ("=" lines under a problem) are
// checked as on the desktop by Ctrl+Shift+G or the toolbar's button: each step gets ○ or × after its line,
// the summary for the teacher is told, and a page changed afterwards shows no stale marks.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { startSession } from './session.mjs';
import { openPage, openNotebook, noteState, answer, setLines, shot } from './notebook-helpers.mjs';

let session;
before(async () => { session = await startSession(); });
after(async () => { await session?.close(); });

const PAGE = ['2b1+3b1', '=6b3+6b2', '=6b5', '2b1+3b1', '=5b2', '4b3-2b1=4b1'];

const ways = [
  { name: 'Ctrl+Shift+G on the sheet', hasTouch: false,
    run: async (page) => {
      await page.focus('#noteSheet');
      await page.keyboard.down('Control');
      await page.keyboard.down('Shift');
      await page.keyboard.press('KeyG');
      await page.keyboard.up('Shift');
      await page.keyboard.up('Control');
    } },
  { name: 'the button, tapped', hasTouch: true, run: (page) => page.tap('[data-note="CheckWorking"]') },
];

for (const way of ways) {
  test(`working lines are checked by ${way.name}: marks on the sheet and the summary`, async () => {
    const page = await openPage(session.browser, session.server, { hasTouch: way.hasTouch });
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
    if (!way.hasTouch) await shot(page, 'web-notebook-working.png');

    // A line edited afterwards: the old marks are gone until the page is checked again.
    await setLines(page, [...PAGE.slice(0, 4), '=6b5', PAGE[5]]);
    assert.deepEqual((await noteState(page)).marks, ['', '', '', '', '', '']);
    await page.closeAll();
  });
}

test('a page without working says how to write it', async () => {
  const page = await openPage(session.browser, session.server);
  await openNotebook(page);
  await setLines(page, ['2b1+3b1', '3b2*4']);
  await page.click('[data-note="CheckWorking"]');
  const told = await answer(page, 0);
  assert.match(told.text, /途中式の書かれた問題がありません。/);
  await page.closeAll();
});
