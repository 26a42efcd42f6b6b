// Details of the calculation screen and the notebook in the browser: the pupil's checked working is
// announced to screen readers, the final step leaves no lone "=", F6's other method is announced again,
// computing a page asks only when answers would be replaced, and buttons carry their own colours in
// every browser's style.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { startSession } from './session.mjs';
import { openPage, openNotebook, noteState, answer, setLines, shot } from './notebook-helpers.mjs';

let session;
before(async () => { session = await startSession(); });
after(async () => { await session?.close(); });

const state = (page) => page.evaluate(() => window.kazoru.state);
const announced = (page) => page.$eval('#announce', (e) => e.textContent);

async function typeKeys(page, text) {
  for (const ch of text) await page.keyboard.type(ch);
}
async function ctrl(page, key, shift = false) {
  await page.keyboard.down('Control');
  if (shift) await page.keyboard.down('Shift');
  await page.keyboard.press(key);
  if (shift) await page.keyboard.up('Shift');
  await page.keyboard.up('Control');
}

test('Ctrl+G\'s marks and advice are announced; the finished answer ends the line without "="', async () => {
  const page = await openPage(session.browser, session.server);
  await typeKeys(page, '2b1+3b1');
  await ctrl(page, 'KeyG');
  await typeKeys(page, '5b2');
  await ctrl(page, 'KeyG');
  let said = await announced(page);
  assert.match(said, /途中式のチェック/);
  assert.match(said, /1つ目の式 × まちがい。分母どうしはたしません/);
  await ctrl(page, 'KeyG', true);
  said = await announced(page);
  assert.match(said, /ヒント 6分の3 たす 6分の2/, said);

  await page.evaluate(() => window.kazoru.K.clear());
  await typeKeys(page, '2b1+3b1');
  await ctrl(page, 'KeyG');
  await typeKeys(page, '6b3+6b2');
  await ctrl(page, 'KeyG');
  await typeKeys(page, '6b5');
  await ctrl(page, 'KeyG');
  const s = await state(page);
  assert.equal(s.line, '2b1+3b1=6b3+6b2=6b5');
  assert.deepEqual(s.steps.marks, ['○', '○']);
  assert.match(await announced(page), /2つ目の式 ○ 正しい/);
  const reading = await page.evaluate(() => JSON.parse(window.kazoru.K.readLine()));
  assert.doesNotMatch(reading.display, /イコール\s*$/);
  assert.doesNotMatch(reading.kana, /いこーる\s*$/);
  await page.closeAll();
});

test('F6 announces the other method\'s process', async () => {
  const page = await openPage(session.browser, session.server);
  await page.keyboard.press('F5');
  await typeKeys(page, '3-4b1=');
  const first = await announced(page);
  assert.ok(first.length > 0);
  await page.keyboard.press('F6');
  const other = await announced(page);
  assert.notEqual(other, first);
  assert.equal(other, (await page.evaluate(() => JSON.parse(window.kazoru.K.readLine()))).display);
  await page.closeAll();
});

test('computing the page or a line asks only when answers would be replaced', async () => {
  const page = await openPage(session.browser, session.server);
  await openNotebook(page);
  await setLines(page, ['2b1+3b1', '3b2*4']);
  await page.click('[data-note="CalculateAll"]');
  await page.waitForFunction(() => JSON.parse(window.kazoru.notebook.K.state()).lines.every((l) => l.includes('&')));
  assert.equal(await page.$('#messageBox[open]'), null, 'nothing asked');
  // Now there are answers: both commands ask, and Cancel keeps them.
  await page.click('[data-note="CalculateAll"]');
  assert.match((await answer(page, 1)).text, /答えをすべて書き換えます/);
  await page.evaluate(() => window.kazoru.notebook.K.select(1));
  await page.click('[data-note="CalculateSelected"]');
  assert.match((await answer(page, 1)).text, /選択問題の答えを書き換えます/);
  // A line without an answer is computed at once.
  await setLines(page, ['2b1+3b1=6b5&6b5', '4b1+4b1']);
  await page.evaluate(() => window.kazoru.notebook.K.select(2));
  await page.click('[data-note="CalculateSelected"]');
  await page.waitForFunction(() => JSON.parse(window.kazoru.notebook.K.state()).lines[1].includes('&'));
  assert.equal(await page.$('#messageBox[open]'), null, 'nothing asked');
  assert.match((await noteState(page)).lines[1], /^4b1\+4b1=.*&/);
  await page.closeAll();
});

test('every button takes its text and face colours from the page\'s style sheet, not the browser\'s defaults', async () => {
  const page = await openPage(session.browser, session.server);
  const unstyled = await page.evaluate(() => {
    const rules = [];
    for (const sheet of document.styleSheets) for (const r of sheet.cssRules) if (r.selectorText) rules.push(r);
    const sets = (b, prop) => rules.some((r) => r.style.getPropertyValue(prop) !== '' && b.matches(r.selectorText));
    return [...document.querySelectorAll('button')]
      .filter((b) => !sets(b, 'color') || !(sets(b, 'background-color') || sets(b, 'background')))
      .map((b) => b.textContent.trim() || b.outerHTML.slice(0, 60));
  });
  assert.deepEqual(unstyled, []);
  await page.closeAll();
});

test('with the editor, the memo and the substitution box open at 1024×768 no tool lies over another\'s buttons', async () => {
  const page = await openPage(session.browser, session.server, { width: 1024, height: 768 });
  await page.focus('#page');
  await page.keyboard.down('Alt');
  await page.keyboard.press('KeyE');
  await page.keyboard.up('Alt');
  await page.waitForSelector('#tool-editor[open]');
  await page.click('#tool-editor button[data-caption="式ﾒﾓ &M"]');
  await page.waitForSelector('#tool-memo[open]');
  await page.click('#tool-editor button[data-caption="代入箱 &S"]');
  await page.waitForSelector('#tool-substitution[open]');
  const covered = await page.evaluate(() => [...document.querySelectorAll('dialog.tool[open] button')]
    .filter((b) => {
      const r = b.getBoundingClientRect();
      const hit = document.elementFromPoint(r.left + r.width / 2, r.top + r.height / 2);
      return !hit || hit.closest('button') !== b;
    }).map((b) => `${b.closest('dialog').id}: ${b.dataset.caption || b.textContent}`));
  assert.deepEqual(covered, []);
  await shot(page, 'web-tools-1024.png');
  await page.closeAll();
});
