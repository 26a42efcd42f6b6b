// Keys typed from the instant a dialog or a field opens arrive in it, in order, every time: the key or tap
// that opens it is followed at once by the pupil's next keys (no wait for the dialog to show), in every
// dialog of the notebook and of the calculation screen; in each browser (driver.mjs), with the CPU slowed as
// on a school's laptop where the browser lets a test do so (Chromium).
import { describe, test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { Key } from 'selenium-webdriver';
import { _keyDefinitions as KEYS } from 'puppeteer-core/lib/esm/puppeteer/common/USKeyboardLayout.js';
import { forEachBrowser } from './driver.mjs';

const CPU_SLOWDOWN = 4;

const MODIFIER_BITS = { Alt: 1, Control: 2, Meta: 4, Shift: 8 };
// The key events of a chord ("Alt+KeyW", "Control+Enter", "Enter") or of a text, as the keyboard sends them.
function keyEvents(item) {
  const events = [];
  const press = (name, modifiers) => {
    const d = KEYS[name];
    if (!d) {
      events.push({ insertText: name });
      return;
    }
    const shifted = !!(modifiers & 8) && d.shiftKey;
    const key = shifted ? d.shiftKey : d.key;
    const text = modifiers & 3 ? undefined : (shifted ? d.shiftKey : d.text ?? (key.length === 1 ? key : undefined));
    const base = { key, code: d.code, windowsVirtualKeyCode: d.keyCode, modifiers, location: d.location ?? 0 };
    events.push({ ...base, type: text ? 'keyDown' : 'rawKeyDown', text, unmodifiedText: text });
    events.push({ ...base, type: 'keyUp' });
  };
  if (Array.isArray(item)) {
    const parts = item[0].split('+');
    let modifiers = 0;
    for (const m of parts.slice(0, -1)) {
      modifiers |= MODIFIER_BITS[m];
      events.push({ type: 'rawKeyDown', key: m, code: `${m}Left`, windowsVirtualKeyCode: KEYS[m].keyCode, modifiers, location: 1 });
    }
    press(parts[parts.length - 1], modifiers);
    for (const m of parts.slice(0, -1).reverse()) {
      modifiers &= ~MODIFIER_BITS[m];
      events.push({ type: 'keyUp', key: m, code: `${m}Left`, windowsVirtualKeyCode: KEYS[m].keyCode, modifiers, location: 1 });
    }
  } else {
    for (const ch of item) press(ch, 0);
  }
  return events;
}

// The keys of a chord or a text as WebDriver names them.
const WEBDRIVER = { Alt: Key.ALT, Control: Key.CONTROL, Shift: Key.SHIFT, Enter: Key.ENTER, Escape: Key.ESCAPE,
  End: Key.END, '\n': Key.ENTER };
const webDriverKey = (name) => WEBDRIVER[name] ?? (/^Key[A-Z]$/.test(name) ? name.slice(3).toLowerCase() : name);

// Sends chords and texts as one burst: every event is handed to the browser before the first is answered,
// as a pupil's fast fingers and a busy page make them queue up; then waits for all of them. Chromium takes
// them over its DevTools protocol, WebKit as one WebDriver action list; Firefox's WebDriver BiDi takes one
// key after another (each sent without waiting for the page).
async function keys(page, ...items) {
  if (page.input) {
    const events = items.flatMap(keyEvents);
    await Promise.all(events.map((e) => (e.insertText !== undefined
      ? page.input.send('Input.insertText', { text: e.insertText })
      : page.input.send('Input.dispatchKeyEvent', e))));
  } else if (page.driver) {
    const a = page.driver.actions({ async: true });
    for (const item of items) {
      if (Array.isArray(item)) {
        const parts = item[0].split('+').map(webDriverKey);
        for (const k of parts) a.keyDown(k);
        for (const k of parts.reverse()) a.keyUp(k);
      } else {
        for (const ch of item) a.keyDown(webDriverKey(ch)).keyUp(webDriverKey(ch));
      }
    }
    await a.perform();
  } else {
    for (const item of items) {
      if (!Array.isArray(item)) await page.type(item);
      else await page.press(item[0]);
    }
  }
}
const chord = (c) => [c];

forEachBrowser({ describe, before, after }, (b) => {
  async function openPage({ width = 1100, height = 800 } = {}) {
    const page = await b.session.open({ width, height });
    // The CPU slowed as a school's laptop is (where the browser lets a test do so).
    if (b.features.cdp) {
      page.input = await page.cdp();
      await page.input.send('Emulation.setCPUThrottlingRate', { rate: CPU_SLOWDOWN });
    }
    return page;
  }

  async function openNotebook(page) {
    await page.evaluate(() => window.kazoru.pressKey(0x4e, 2));
    await page.waitFor(() => window.kazoru.notebook.shown);
  }
  const noteLines = (page) => page.evaluate(() => JSON.parse(window.kazoru.notebook.K.state()).lines);
  const noDialogOpen = (page) => page.waitFor(() => !document.querySelector('dialog[open]'));

  const LINES = ['1/2+1/3', '3/4-1/6', '2/3/4/9', '2x+1/3=1', '5/6*3/10', '1k1b2+2k2b3', '7/8-3/4', '(1/2+1/3)*6'];

  test('notebook: eight lines typed at once after the add-line key all arrive, three times over', async () => {
    const page = await openPage();
    await openNotebook(page);
    const expected = [];
    for (let round = 0; round < 3; round++) {
      // The key, the line and Enter, line after line, as fast as the keyboard sends them.
      for (const line of LINES) {
        await keys(page, chord('Alt+KeyW'), line, chord('Enter'));
        expected.push(line);
      }
      await noDialogOpen(page);
      assert.deepEqual(await noteLines(page), expected, `round ${round + 1}`);
    }
    assert.deepEqual(await page.errors(), []);
    await page.close();
  });

  test('notebook: the line editor opened by the 新規追加 button, the title box and the page editor take the keys typed at once', async () => {
    const page = await openPage();
    await openNotebook(page);
    const expected = [];
    for (const line of LINES.slice(0, 4)) {
      await page.click('[data-note="AddNew"]');
      await keys(page, line, chord('Enter'));
      expected.push(line);
    }
    await noDialogOpen(page);
    assert.deepEqual(await noteLines(page), expected);
    // The title box, then the line editor on the selected line (its text replaced), then the page editor.
    await page.focus('#noteSheet');
    await keys(page, chord('Alt+KeyT'), '分数のたし算', chord('Enter'),
      chord('Control+KeyE'), chord('Control+KeyA'), '9/10-1/5', chord('Enter'));
    await noDialogOpen(page);
    const s = await page.evaluate(() => JSON.parse(window.kazoru.notebook.K.state()));
    assert.equal(s.title, '分数のたし算');
    assert.deepEqual(s.lines, [...expected.slice(0, 3), '9/10-1/5']);
    await keys(page, chord('Control+KeyG'), chord('Control+End'), '\n1/7+1/7');
    // The page editor is still open with the caret after the typed line; Escape leaves the page as it was.
    assert.equal(await page.$eval('#notePageBox textarea', (t) => t.value.split('\n').pop()), '1/7+1/7');
    await keys(page, chord('Escape'), chord('Control+KeyG'), chord('Control+End'), '\n1/8+1/8');
    await page.click('#notePageBox button[value="ok"]');
    await noDialogOpen(page);
    assert.deepEqual(await noteLines(page), [...expected.slice(0, 3), '9/10-1/5', '1/8+1/8']);
    assert.deepEqual(await page.errors(), []);
    await page.close();
  });

  test('notebook: a question answered with Enter at once acts once, and the keys after it reach the sheet', async () => {
    const page = await openPage();
    await openNotebook(page);
    await page.evaluate((lines) => window.kazoru.notebook.K.setPage(lines.join('\n')), LINES.slice(0, 3));
    await page.evaluate(() => window.kazoru.notebook.paint());
    await page.focus('#noteSheet');
    // With line 1 selected: delete it (asked: OK), then add a line and type it — all without a pause.
    for (let round = 0; round < 2; round++) {
      await page.evaluate(() => { window.kazoru.notebook.K.select(1); window.kazoru.notebook.paint(); });
      await keys(page, chord('Control+KeyD'), chord('Enter'), chord('Alt+KeyW'), `${round + 1}/9`, chord('Enter'));
      await noDialogOpen(page);
    }
    await noDialogOpen(page);
    assert.deepEqual(await noteLines(page), [LINES[2], '1/9', '2/9']);
    assert.deepEqual(await page.errors(), []);
    await page.close();
  });

  // The calculation screen's dialogs: [how it opens, the field the keys go to, the text typed, the value seen].
  const SCREEN_DIALOGS = [
    ['expression editor (Alt+E)', chord('Alt+KeyE'), '#tool-editor input.expr', '2/3+1/6', '2/3+1/6'],
    ['substitution box (Alt+D)', chord('Alt+KeyD'), '#tool-substitution input.expr', '2x+1', '2x+1'],
    ['conditions (Alt+J): π field', chord('Alt+KeyJ'), '#tool-conditions input[name=pai]', '9', /9$/],
    ['week\'s goals (tool row)', '#toolRow button[data-tool=goals]', '#tool-goals textarea', 'まいにち', /まいにち/],
  ];

  test('calculation screen: each dialog takes the keys typed the instant it opens', async () => {
    const page = await openPage();
    for (const [name, opener, field, text, seen] of SCREEN_DIALOGS) {
      for (let round = 0; round < 3; round++) {
        await page.focus('#page');
        if (Array.isArray(opener)) await keys(page, opener, text);
        else {
          await page.click(opener);
          await keys(page, text);
        }
        const value = await page.$eval(field, (f) => f.value);
        if (seen instanceof RegExp) assert.match(value, seen, `${name}, round ${round + 1}`);
        else assert.equal(value, seen, `${name}, round ${round + 1}`);
        // Closed (a changed field is let go when asked), for the next round.
        await page.focus(field);
        await page.press('Escape');
        if (await page.exists('#messageBox[open]')) await page.click('#messageBox button[value="0"]');
        await page.waitFor(() => !document.querySelector('dialog[open]'));
      }
    }
    assert.deepEqual(await page.errors(), []);
    await page.close();
  });

  test('calculation screen: a message box answered at once, then the line typed on, arrives in order', async () => {
    const page = await openPage();
    await page.focus('#page');
    // Reading aloud with no Japanese voice tells so in a box once; Enter closes it and the keys go on to the line.
    await page.evaluate(() => {
      if (window.speechSynthesis) Object.defineProperty(window.speechSynthesis, 'getVoices', { value: () => [] });
    });
    await keys(page, '1/2', chord('Control+KeyR'), chord('Enter'), '+1/3', chord('Enter'));
    await noDialogOpen(page);
    const s = await page.state();
    assert.match(s.line, /^1\/2\+1\/3=/);
    // The detail settings: Space toggles its first switch at once; Enter closes it.
    const before = s.settings.PROCDSP;
    await keys(page, chord('Alt+KeyA'), ' ', chord('Enter'));
    await noDialogOpen(page);
    assert.equal((await page.state()).settings.PROCDSP, before ? 0 : 1);
    assert.deepEqual(await page.errors(), []);
    await page.close();
  });
});
