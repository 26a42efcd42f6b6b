// Details of the calculation screen and the notebook in each browser (driver.mjs): the pupil's checked
// working is announced to screen readers, the final step leaves no lone "=", F6's other method is announced
// again, the expression editor and the memo show a computed line as the pupil reads it, computing a page
// asks only when answers would be replaced, no tool window covers another's buttons, and buttons carry
// their own colours in every browser's style.
import { describe, test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { forEachBrowser, SIZES } from './driver.mjs';
import { openNotebook, noteState, answer, setLines } from './notebook-helpers.mjs';

const [WIDTH, HEIGHT] = SIZES.desktop;

forEachBrowser({ describe, before, after }, (b) => {
  const open = (options) => b.session.open({ width: WIDTH, height: HEIGHT, ...options });
  const announced = (page) => page.$eval('#announce', (e) => e.textContent);
  const reading = (page) => page.evaluate(() => JSON.parse(window.kazoru.K.readLine()));

  test('Ctrl+G\'s marks and advice are announced; the finished answer ends the line without "="', async () => {
    const page = await open();
    await page.type('2b1+3b1');
    await page.press('Control+KeyG');
    await page.type('5b2');
    await page.press('Control+KeyG');
    let said = await announced(page);
    assert.match(said, /途中式のチェック/);
    assert.match(said, /1つ目の式 × まちがい。分母どうしはたしません/);
    await page.press('Control+Shift+KeyG');
    said = await announced(page);
    assert.match(said, /ヒント 6分の3 たす 6分の2/, said);

    await page.evaluate(() => window.kazoru.K.clear());
    await page.type('2b1+3b1');
    await page.press('Control+KeyG');
    await page.type('6b3+6b2');
    await page.press('Control+KeyG');
    await page.type('6b5');
    await page.press('Control+KeyG');
    const s = await page.state();
    assert.equal(s.line, '2b1+3b1=6b3+6b2=6b5');
    assert.deepEqual(s.steps.marks, ['○', '○']);
    assert.match(await announced(page), /2つ目の式 ○ 正しい/);
    const r = await reading(page);
    assert.doesNotMatch(r.display, /イコール\s*$/);
    assert.doesNotMatch(r.kana, /いこーる\s*$/);
    assert.deepEqual(await page.errors(), []);
    await page.close();
  });

  test('F6 announces the other method\'s process', async () => {
    const page = await open();
    await page.press('F5');
    await page.type('3-4b1=');
    const first = await announced(page);
    assert.ok(first.length > 0);
    await page.press('F6');
    const other = await announced(page);
    assert.notEqual(other, first);
    assert.equal(other, (await reading(page)).display);
    await page.close();
  });

  test('計算 in the expression editor shows the line with its answer as the pupil reads it, in the memo too',
    async () => {
      const page = await open();
      await page.focus('#page');
      await page.press('Alt+KeyE');
      await page.waitForSelector('#tool-editor[open]');
      const field = '#tool-editor input[name="expression"]';
      const cases = [
        ['2b1+3b1', '2b1+3b1=6b5&6b5', '2b1+3b1=6b5'],
        ['2*x+1=5', '2*x+1=5&x=2', '2*x+1=5 【答】x=2'],
      ];
      for (const [typed, line, shown] of cases) {
        await page.$eval(field, (f) => { f.value = ''; f.focus(); });
        await page.type(typed);
        await page.press('Control+Enter');
        await page.waitFor((want) => window.kazoru.state.line === want, line);
        assert.equal(await page.$eval(field, (f) => f.value), shown);
        // 計算 again on what the field shows gives the same line.
        await page.press('Control+Enter');
        await page.waitFor((want) => window.kazoru.state.line === want, line);
        assert.equal(await page.$eval(field, (f) => f.value), shown);
      }
      await page.click('#tool-editor button[data-caption="式ﾒﾓ &M"]');
      await page.waitForSelector('#tool-memo[open]');
      // The memo takes the line from the editor as it shows it, and hands it back to be computed again.
      await page.click('#tool-memo button[data-caption="From式ｴﾃﾞｨﾀ▼ &G"]');
      await page.waitFor(() => document.querySelectorAll('#tool-memo select option').length === 1);
      assert.deepEqual(await page.$$eval('#tool-memo select option', (os) => os.map((o) => o.textContent)),
        ['2*x+1=5 【答】x=2']);
      await page.$eval(field, (f) => { f.value = ''; });
      await page.click('#tool-memo button[data-caption="To式ｴﾃﾞｨﾀ &A"]');
      assert.equal(await page.$eval(field, (f) => f.value), '2*x+1=5 【答】x=2');
      await page.press('Control+Enter');
      await page.waitFor(() => window.kazoru.state.line === '2*x+1=5&x=2');
      assert.deepEqual(await page.errors(), []);
      await page.close();
    });

  test('computing the page or a line asks only when answers would be replaced', async () => {
    const page = await open();
    await openNotebook(page);
    await setLines(page, ['2b1+3b1', '3b2*4']);
    await page.click('[data-note="CalculateAll"]');
    await page.waitFor(() => JSON.parse(window.kazoru.notebook.K.state()).lines.every((l) => l.includes('&')));
    assert.equal(await page.exists('#messageBox[open]'), false, 'nothing asked');
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
    await page.waitFor(() => JSON.parse(window.kazoru.notebook.K.state()).lines[1].includes('&'));
    assert.equal(await page.exists('#messageBox[open]'), false, 'nothing asked');
    assert.match((await noteState(page)).lines[1], /^4b1\+4b1=.*&/);
    await page.close();
  });

  test('every button takes its text and face colours from the page\'s style sheet, not the browser\'s defaults',
    async () => {
      const page = await open();
      const unstyled = await page.evaluate(() => {
        const rules = [];
        for (const sheet of document.styleSheets) for (const r of sheet.cssRules) if (r.selectorText) rules.push(r);
        const sets = (e, prop) => rules.some((r) => r.style.getPropertyValue(prop) !== '' && e.matches(r.selectorText));
        return [...document.querySelectorAll('button')]
          .filter((e) => !sets(e, 'color') || !(sets(e, 'background-color') || sets(e, 'background')))
          .map((e) => e.textContent.trim() || e.outerHTML.slice(0, 60));
      });
      assert.deepEqual(unstyled, []);
      // The keypad's text is drawn in the same colour in every browser.
      const colours = await page.$$eval('#panel button', (bs) => [...new Set(bs.map((e) => getComputedStyle(e).color))]);
      assert.ok(colours.every((c) => /^rgb\((\d+), (\d+), (\d+)\)$/.test(c)
        && c.match(/\d+/g).slice(0, 3).every((v) => Number(v) < 128)), colours.join(' '));
      await page.close();
    });

  test('with the editor, the memo and the substitution box open at 1024×768 no tool lies over another\'s buttons',
    async () => {
      const page = await open();
      await page.focus('#page');
      await page.press('Alt+KeyE');
      await page.waitForSelector('#tool-editor[open]');
      await page.click('#tool-editor button[data-caption="式ﾒﾓ &M"]');
      await page.waitForSelector('#tool-memo[open]');
      await page.click('#tool-editor button[data-caption="代入箱 &S"]');
      await page.waitForSelector('#tool-substitution[open]');
      const covered = await page.evaluate(() => [...document.querySelectorAll('dialog.tool[open] button')]
        .filter((e) => {
          const r = e.getBoundingClientRect();
          const hit = document.elementFromPoint(r.left + r.width / 2, r.top + r.height / 2);
          return !hit || hit.closest('button') !== e;
        }).map((e) => `${e.closest('dialog').id}: ${e.dataset.caption || e.textContent}`));
      assert.deepEqual(covered, []);
      await page.screenshot('tools-1024.png');
      await page.close();
    });

  test('printing the calculation screen prints the line and its process on white A4 as vectors', async () => {
    const page = await open();
    await page.press('F5');
    await page.type('3-4b1=');
    assert.ok((await page.state()).processType > 0);
    assert.equal(await page.evaluate(() => window.kazoru.preparePrintLine()), true);
    const sheet = await page.$eval('#notePrint svg', (svg) => ({
      box: svg.getAttribute('viewBox'),
      texts: [...svg.querySelectorAll('text')].map((t) => t.textContent),
      lines: svg.querySelectorAll('line').length,
      pictures: svg.querySelectorAll('image').length,
      fills: [...new Set([...svg.querySelectorAll('rect')].map((r) => r.getAttribute('fill')))],
    }));
    assert.equal(sheet.box, '0 0 794 1123');
    assert.equal(sheet.pictures, 0);
    assert.ok(sheet.lines >= 4, `bars drawn as lines (${sheet.lines})`);
    assert.ok(sheet.texts.includes('＝'), sheet.texts.join(' '));
    assert.deepEqual(sheet.fills, ['#ffffff'], 'white paper, no block of the screen\'s colour');
    if (b.features.cdp) {
      // In print media only the sheet shows.
      await (await page.cdp()).send('Emulation.setEmulatedMedia', { media: 'print' });
      await page.setViewport(794, 1123);
      const shown = await page.evaluate(() => [...document.body.children]
        .filter((e) => e.id !== 'notePrint' && getComputedStyle(e).display !== 'none' && e.getBoundingClientRect().height > 0)
        .map((e) => e.id || e.tagName));
      assert.deepEqual(shown, []);
      await page.screenshot('print-line.png');
    }
    await page.close();
  });
});
