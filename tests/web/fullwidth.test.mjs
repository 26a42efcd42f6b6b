// Text typed with the Japanese input on, in the browser: full-width digits, letters and signs are taken as
// half-width in every field as they are typed, so a line typed ２ｂ１＋３ｂ１ computes; kana and kanji are
// kept and drawn whole on the sheet with a font that has them, never as replacement marks.
import { describe, test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { forEachBrowser } from './driver.mjs';
import { openNotebook, noteState, answer, setLines } from './notebook-helpers.mjs';

// The text the input method hands over arrives as one insertion, as a committed composition does.
const typeCommitted = (page, text) => page.commitText(text);

forEachBrowser({ describe, before, after }, (b) => {

  test('every text field takes full-width digits, letters and signs as half-width as they are typed', async () => {
    const page = await b.session.open({ width: 1024, height: 768 });
    await openNotebook(page);
    const fields = [
      { open: '[data-note="AddNew"]', dialog: '#noteLineBox', field: '#noteLineBox input' },
      { open: '[data-note="title"]', dialog: '#noteTitleBox', field: '#noteTitleBox input' },
      { open: '[data-note="editPage"]', dialog: '#notePageBox', field: '#notePageBox textarea' },
    ];
    for (const f of fields) {
      await page.click(f.open);
      await page.waitForSelector(`${f.dialog}[open]`);
      await page.$eval(f.field, (el) => { el.value = ''; el.focus(); });
      await typeCommitted(page, '２ｂ１＋３ｂ１');
      await page.type('=');
      await typeCommitted(page, '　第１回（ｘ）');
      assert.equal(await page.$eval(f.field, (el) => el.value), '2b1+3b1= 第1回(x)', f.field);
      // The caret stays after what was typed: more typing goes on at the end.
      await typeCommitted(page, '５');
      assert.equal(await page.$eval(f.field, (el) => el.value), '2b1+3b1= 第1回(x)5', f.field);
      await page.click(`${f.dialog} button[value="cancel"]`);
    }
    await page.close();
  });

  test('a line typed in full width is stored half-width and computes; kana and kanji are drawn whole', async () => {
    const page = await b.session.open({ width: 1024, height: 768 });
    await openNotebook(page);
    await page.click('[data-note="AddNew"]');
    await page.waitForSelector('#noteLineBox[open]');
    await page.$eval('#noteLineBox input', (el) => el.focus());
    await typeCommitted(page, '２ｂ１＋３ｂ１');
    assert.equal(await page.$eval('#noteLineBox input', (el) => el.value), '2b1+3b1');
    await page.press('Enter');
    await page.waitFor(() => !document.getElementById('noteLineBox').open);
    assert.equal((await noteState(page)).lines[0], '2b1+3b1');
    await page.click('[data-note="CalculateSelected"]');
    // Whatever is asked or told on the way is answered OK.
    for (;;) {
      await page.waitFor(() => document.getElementById('messageBox').open
        || JSON.parse(window.kazoru.notebook.K.state()).lines[0].includes('&'));
      if (!(await page.exists('#messageBox[open]'))) break;
      await answer(page, 0);
    }
    assert.equal((await noteState(page)).lines[0], '2b1+3b1=6b5&6b5');

    await setLines(page, ['2b1+3b1=6b5&6b5', 'たし算　漢字']);
    const ops = await page.evaluate(() => window.kazoru.notebook.ops);
    assert.ok(!ops.includes('\uFFFD'), 'no replacement character in the drawing list');
    const texts = ops.split('\n').filter((r) => r.startsWith('T\t')).map((r) => r.split('\t').slice(9).join('\t'));
    for (const ch of ['た', 'し', '算', '漢', '字']) assert.ok(texts.includes(ch), `${ch} drawn whole`);
    await page.screenshot('notebook-fullwidth.png');
    await page.close();
  });
});
