// The tool windows as page dialogs in each browser (driver.mjs): each opened, used and closed from the keyboard
// and by touch, its effect seen on the page (a setting on the screen, a goal in the side panel, an
// expression on the line, a memo entry after a reload, a substituted value's answer).
import { describe, test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { forEachBrowser, SIZES } from './driver.mjs';

const [WIDTH, HEIGHT] = SIZES.desktop;

forEachBrowser({ describe, before, after }, (b) => {
  const openPage = (options) => b.session.open({ width: WIDTH, height: HEIGHT, ...options });
  const isOpen = (page, name) => page.evaluate((n) => !!document.querySelector(`#tool-${n}[open]`), name);
  const focusedName = (page) => page.evaluate(() => document.activeElement && document.activeElement.name);

  // Taps an element at its centre (by touch where the browser offers it); tool buttons are at least 44 px high.
  async function tap(page, selector) {
    await page.waitForVisible(selector);
    const box = await page.box(selector);
    assert.ok(box.height >= 44 || selector.includes('option'), `${selector} is at least 44 px high (${box.height})`);
    await page.tapAt(box.x + box.width / 2, box.y + box.height / 2);
  }
  const toolButton = (dialog, caption) => `#tool-${dialog} button[data-caption="${caption}"]`;
  const keypad = (caption) => `#panel button[data-caption="${caption}"]`;
  // Answers the page's message box with the button of that caption (a question the model asked).
  async function answer(page, caption) {
    await page.waitForSelector('#messageBox[open]');
    const text = await page.$eval('#messageBox .text', (e) => e.textContent);
    // The page acts on the answer in the box's close event; the test goes on once that has run. Pressed
    // through the DOM: the box may still be centring itself, and a click by position could hit its neighbour.
    await page.evaluate((caption) => {
      window.answered = false;
      document.getElementById('messageBox').addEventListener('close', () => setTimeout(() => { window.answered = true; }, 0),
        { once: true });
      for (const b of document.querySelectorAll('#messageBox .buttons button')) if (b.textContent === caption) b.click();
    }, caption);
    await page.waitFor(() => window.answered);
    return text;
  }

  test('conditions: Alt+J opens it; settings change the screen; π is typed by ¥; Escape closes', async () => {
    const page = await openPage();
    await page.press('Alt+KeyJ');
    assert.ok(await isOpen(page, 'conditions'));
    assert.equal(await page.$eval('#tool-conditions h2', (e) => e.textContent), '▼条件設定▼');
    assert.equal(await focusedName(page), 'pai');
    // π: an unsound text is judged as it is typed; Enter shows the desktop's warning.
    await page.press('Control+KeyA');
    await page.type('3.');
    await page.press('Enter');
    assert.equal(await answer(page, 'ＯＫ'), '数値の末尾が \'.\' は不適切です。');
    // The caret is back in the field after the point, as on the desktop.
    assert.equal(await focusedName(page), 'pai');
    assert.deepEqual(await page.$eval('#tool-conditions input[name=pai]', (f) => [f.selectionStart, f.selectionEnd]), [2, 2]);
    await page.type('1416');
    assert.equal(await page.$eval('#tool-conditions input[name=pai]', (f) => f.value), '3.1416');
    // The status line's switch, reached with Tab and switched with Space.
    const before = (await page.state()).settings.SBARDSP;
    await page.focus('#tool-conditions input[name=SBARDSP]');
    await page.press('Space');
    assert.equal((await page.state()).settings.SBARDSP, before ? 0 : 1);
    assert.equal(await page.$eval('#status', (e) => e.hidden), !!before);
    // The cursor's blink period: typed, clamped by the model to its range.
    await page.$eval('#tool-conditions input[name=CURSOLTEMPO]', (i) => { i.value = '90'; i.dispatchEvent(new Event('change')); });
    assert.equal(await page.$eval('#tool-conditions input[name=CURSOLTEMPO]', (i) => i.value), '200');
    await page.focus('#tool-conditions input[name=ANSSYU][value="1"]');
    await page.press('Space');
    assert.equal((await page.state()).settings.ANSSYU, 1);
    await page.screenshot('dialog-conditions.png');
    await page.press('Escape');
    assert.ok(!(await isOpen(page, 'conditions')));
    // ¥ types the π text the dialog took; the improper answer form is in force.
    await page.focus('#page');
    await page.press('Backslash');
    assert.equal((await page.state()).line, '3.1416');
    const stored = await page.evaluate(() => atob(localStorage.getItem('Kazoru1.ini')));
    assert.match(stored, /ANSSYU=1/);
    assert.deepEqual(await page.errors(), []);
    await page.close();
  });

  test('conditions and goals by touch: a goal set in the editor shows in the side panel', async () => {
    const page = await openPage({ touch: true });
    await tap(page, keypad('条件J'));
    assert.ok(await isOpen(page, 'conditions'));
    await tap(page, toolButton('conditions', '編集Ｅ'));
    assert.ok(await isOpen(page, 'goals'));
    assert.equal(await page.$eval('#tool-goals h2', (e) => e.textContent), '●今週の目標(10個)●');
    await page.$eval('#tool-goals textarea', (t) => { t.value = ''; });
    await page.type('毎日ひとつ計算する\n分数の約分をする');
    await page.screenshot('dialog-goals.png');
    // The goal's font: a larger size and red, seen in the side panel at once.
    await tap(page, toolButton('goals', 'ﾌｫﾝﾄ&F'));
    assert.ok(await page.$eval('#tool-goals input[name=goalSize]', (i) => i.checkVisibility()));
    await page.$eval('#tool-goals input[name=goalSize]', (i) => { i.value = '20'; i.dispatchEvent(new Event('change')); });
    await page.$eval('#tool-goals input[name=goalColor]', (i) => { i.value = '#ff0000'; i.dispatchEvent(new Event('change')); });
    assert.deepEqual(await page.$eval('#goal', (g) => [g.style.fontSize, g.style.color]), ['26px', 'rgb(255, 0, 0)']);
    await tap(page, toolButton('goals', '決定&D'));
    assert.ok(!(await isOpen(page, 'goals')));
    // The conditions' goal list took the new goals; choosing the second shows it.
    await page.select('#tool-conditions select[name=DSPBANGOU]', '1');
    assert.equal((await page.state()).goal, '分数の約分をする');
    assert.equal(await page.$eval('#goal', (e) => e.textContent), '分数の約分をする');
    await tap(page, toolButton('conditions', '終了Ｃ'));
    assert.ok(!(await isOpen(page, 'conditions')));
    // Eleven goals are refused with the desktop's warning; the text stays at ten.
    await tap(page, '#toolRow button[data-tool=goals]');
    await page.$eval('#tool-goals textarea', (t) => { t.value = '1\n2\n3\n4\n5\n6\n7\n8\n9\n10'; t.focus(); });
    await page.press('End');
    await page.type('\n11');
    assert.equal(await answer(page, 'ＯＫ'), '目標は１０個までです。');
    assert.equal(await page.$eval('#tool-goals textarea', (t) => t.value.trimEnd().split('\n').length), 10);
    await page.press('Escape');
    assert.ok(!(await isOpen(page, 'goals')));
    assert.equal((await page.state()).goal, '分数の約分をする');
    assert.deepEqual(await page.errors(), []);
    await page.close();
  });

  test('expression editor: typed and computed from the keyboard; typed on the keypad and shown by touch', async () => {
    const page = await openPage({ touch: true });
    await page.focus('#page');
    await page.press('Alt+KeyE');
    assert.ok(await isOpen(page, 'editor'));
    assert.equal(await focusedName(page), 'expression');
    // The key-repurposing indicator reads as the desktop's: OFF in blue, ON in red.
    const indicator = () => page.$eval('#tool-editor .indicator', (i) => [i.textContent, getComputedStyle(i).color]);
    assert.deepEqual(await indicator(), ['OFF', 'rgb(0, 0, 255)']);
    await tap(page, toolButton('editor', 'ｷｰ転用 &K'));
    assert.deepEqual(await indicator(), ['ON', 'rgb(255, 0, 0)']);
    await tap(page, toolButton('editor', 'ｷｰ転用 &K'));
    assert.deepEqual(await indicator(), ['OFF', 'rgb(0, 0, 255)']);
    await page.focus('#tool-editor input.expr');
    await page.type('1/2+1/3');
    await page.press('Control+Enter');
    let s = await page.state();
    assert.equal(s.lineOpen, false);
    assert.match(s.line, /^1\/2\+1\/3=/);
    // A bad character is reported in the error line and selected in the field.
    await page.$eval('#tool-editor input.expr', (f) => { f.value = '1+*2'; f.focus(); });
    await page.press('Enter');
    assert.ok(await page.evaluate(() => document.querySelector('#tool-editor .toolError').textContent.length > 6));
    // The keypad beside the editor types into its field.
    await page.$eval('#tool-editor input.expr', (f) => { f.value = ''; f.focus(); });
    for (const k of ['３', '分の(B)', '４', '＋', '１']) await tap(page, keypad(k));
    assert.equal(await page.$eval('#tool-editor input.expr', (f) => f.value), '3b4+1');
    await tap(page, keypad('←'));
    await tap(page, keypad('２'));
    await page.screenshot('dialog-editor.png');
    await tap(page, toolButton('editor', '式表示 Ret'));
    s = await page.state();
    assert.equal(s.line, '3b4+2');
    assert.equal(s.lineOpen, true);
    await tap(page, toolButton('editor', '閉 &C'));
    assert.ok(!(await isOpen(page, 'editor')));
    // A changed field asks before closing; Cancel keeps the editor.
    await page.focus('#page');
    await page.press('Alt+KeyE');
    await page.type('5');
    await page.press('Escape');
    assert.match(await answer(page, 'キャンセル'), /このまま終了していいですか/);
    assert.ok(await isOpen(page, 'editor'));
    await page.focus('#tool-editor input.expr');
    await page.press('Escape');
    await answer(page, 'ＯＫ');
    assert.ok(!(await isOpen(page, 'editor')));
    assert.deepEqual(await page.errors(), []);
    await page.close();
  });

  test('expression memo: an entry stored from the editor survives a reload and goes back to the editor', async () => {
    const page = await openPage({ touch: true });
    await page.focus('#page');
    await page.press('Alt+KeyE');
    await page.type('2x+1=7');
    await page.press('Alt+KeyM');
    assert.ok(await isOpen(page, 'memo'));
    await tap(page, toolButton('memo', 'From式ｴﾃﾞｨﾀ▼ &G'));
    assert.deepEqual(await page.$$eval('#tool-memo option', (o) => o.map((e) => e.textContent)), ['2x+1=7']);
    // The same expression again is refused.
    await tap(page, toolButton('memo', 'From式ｴﾃﾞｨﾀ▼ &G'));
    assert.equal(await answer(page, 'ＯＫ'), '同一の式があります。');
    await page.$eval('#tool-editor input.expr', (f) => { f.value = '1b3*6'; });
    await tap(page, toolButton('memo', 'From式ｴﾃﾞｨﾀ▼ &G'));
    await page.screenshot('dialog-memo.png');
    // Look shows the selected entry in fraction form in the notice box.
    await tap(page, toolButton('memo', '&Look'));
    await page.waitForVisible('#notice.drawn:not([hidden])');
    // The box holds the drawn fraction: dark pixels on its canvas.
    assert.ok(await page.$eval('#notice canvas', (c) => {
      const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
      let dark = 0;
      for (let i = 0; i < d.length; i += 4) if (d[i] < 100 && d[i + 1] < 100 && d[i + 2] < 100) dark++;
      return dark > 20;
    }));
    await page.screenshot('dialog-notice.png');
    await page.reload();
    await page.ready();
    await page.focus('#page');
    await page.press('Alt+KeyM');
    assert.deepEqual(await page.$$eval('#tool-memo option', (o) => o.map((e) => e.textContent)), ['2x+1=7', '1b3*6']);
    await page.select('#tool-memo select', '0');
    await page.focus('#tool-memo select');
    await page.press('Alt+KeyA');
    assert.ok(await isOpen(page, 'editor'));
    assert.equal(await page.$eval('#tool-editor input.expr', (f) => f.value), '2x+1=7');
    // Deleting asks first; OK removes the entry, and the store follows.
    await tap(page, toolButton('memo', '選択式削除 &D'));
    assert.match(await answer(page, 'ＯＫ'), /選択式を削除します/);
    assert.deepEqual(await page.$$eval('#tool-memo option', (o) => o.map((e) => e.textContent)), ['1b3*6']);
    await page.focus('#tool-memo select');
    await page.press('Escape');
    assert.ok(!(await isOpen(page, 'memo')));
    const stored = await page.evaluate(() => atob(localStorage.getItem('Kazoru1.ini')));
    assert.match(stored, /SIKI0=1b3\*6/);
    assert.doesNotMatch(stored, /2x\+1=7/);
    assert.deepEqual(await page.errors(), []);
    await page.close();
  });

  test('substitution box: values put into a letter expression give the answer on the line', async () => {
    const page = await openPage({ touch: true });
    await page.focus('#page');
    await page.press('Alt+KeyD');
    assert.ok(await isOpen(page, 'substitution'));
    await page.type('2x+y');
    await page.focus('#tool-substitution input[name=x]');
    await page.type('3');
    await page.focus('#tool-substitution input[name=y]');
    // The keypad types the value by touch.
    for (const k of ['１', '分の(B)', '２']) await tap(page, keypad(k));
    await page.screenshot('dialog-substitution.png');
    await tap(page, toolButton('substitution', '計算 &K'));
    const s = await page.state();
    assert.equal(s.lineOpen, false);
    assert.match(s.line, /^2\*3\+1b2=/);
    // "式を転送" hands the substituted expression to the expression editor.
    await tap(page, toolButton('substitution', '式を転送 &S'));
    assert.ok(await isOpen(page, 'editor'));
    assert.equal(await page.$eval('#tool-editor input.expr', (f) => f.value), '2*3+1b2');
    // Without a letter the box asks first; Cancel ends the command.
    await page.$eval('#tool-substitution input.expr', (f) => { f.value = '1+2'; f.focus(); });
    await page.press('Alt+KeyK');
    assert.match(await answer(page, 'キャンセル'), /変数 x､y､z が一つもありません/);
    assert.match((await page.state()).line, /^2\*3\+1b2=/);
    await page.press('Escape');
    assert.ok(!(await isOpen(page, 'substitution')));
    assert.deepEqual(await page.errors(), []);
    await page.close();
  });

  test('version box: opened from the menu by touch and from the tool row, closed with Enter and by tap', async () => {
    const page = await openPage({ touch: true });
    await tap(page, '#toolRow button[data-tool=version]');
    assert.ok(await isOpen(page, 'version'));
    const text = await page.$eval('#tool-version', (e) => e.textContent);
    for (const t of ['『Kazoru』バージョン情報', 'V 1.00（R）', '《分数計算器》', 'ナナツボシ']) assert.ok(text.includes(t), t);
    await page.screenshot('dialog-version.png');
    await page.press('Enter');
    assert.ok(!(await isOpen(page, 'version')));
    await page.click('#menus details:last-of-type summary');
    await page.click('#menus button[data-cmd=VersionBox]');
    assert.ok(await isOpen(page, 'version'));
    await tap(page, toolButton('version', 'Ｏ Ｋ'));
    assert.ok(!(await isOpen(page, 'version')));
    assert.deepEqual(await page.errors(), []);
    await page.close();
  });

  test('the editor, the memo and the substitution box never cover the keypad (desktop, iPad, narrow)', async () => {
    for (const [width, height] of [[1100, 760], [1024, 768], [768, 1024], [700, 900]]) {
      const page = await openPage({ width, height, touch: true });
      for (const tool of ['editor', 'memo', 'substitution']) await tap(page, `#toolRow button[data-tool=${tool}]`);
      const overlaps = await page.evaluate(() => {
        const keys = [...document.querySelectorAll('#panel .keys button')].map((b) => b.getBoundingClientRect());
        const out = [];
        for (const d of document.querySelectorAll('dialog.tool[open]')) {
          const r = d.getBoundingClientRect();
          for (const k of keys) {
            if (r.left < k.right && k.left < r.right && r.top < k.bottom && k.top < r.bottom) out.push(d.id);
          }
        }
        return [...new Set(out)];
      });
      await page.screenshot(`dialog-tools-${width}x${height}.png`);
      assert.deepEqual(overlaps, [], `${width}×${height}`);
      // The keypad still types into the focused tool field, which is in front.
      await page.focus('#tool-editor input.expr');
      assert.ok(await page.evaluate(() => {
        const f = document.querySelector('#tool-editor input.expr').getBoundingClientRect();
        return document.elementFromPoint(f.left + 5, f.top + 5).closest('#tool-editor') !== null;
      }));
      await tap(page, keypad('７'));
      assert.match(await page.$eval('#tool-editor input.expr', (f) => f.value), /7$/);
      assert.deepEqual(await page.errors(), []);
      await page.close();
    }
  });
});
