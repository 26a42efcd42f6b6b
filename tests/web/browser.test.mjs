// The site in Chromium, Firefox ESR and WebKitGTK (driver.mjs): typing and tapping give the right line,
// answer and process, checked through the page's state and by the pixels of the page canvas; a refused key
// shows its numbered message; settings survive a reload; the site works offline after one visit.
import { describe, test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { forEachBrowser, SIZES } from './driver.mjs';

const [WIDTH, HEIGHT] = SIZES.desktop;

forEachBrowser({ describe, before, after }, (b) => {
  const open = (options) => b.session.open({ width: WIDTH, height: HEIGHT, ...options });

  // Counts pixels of a colour (within a tolerance for anti-aliasing) in a rectangle of the page canvas.
  async function countColour(page, rgb, rect, tolerance = 40) {
    return page.evaluate((rgb, rect, tolerance) => {
      const c = document.getElementById('page');
      const dpr = c.width / c.clientWidth;
      const data = c.getContext('2d').getImageData(rect[0] * dpr, rect[1] * dpr, rect[2] * dpr, rect[3] * dpr).data;
      let n = 0;
      for (let i = 0; i < data.length; i += 4) {
        if (Math.abs(data[i] - rgb[0]) <= tolerance && Math.abs(data[i + 1] - rgb[1]) <= tolerance &&
            Math.abs(data[i + 2] - rgb[2]) <= tolerance) n++;
      }
      return n;
    }, rgb, rect, tolerance);
  }

  test('typing a line and "=" draws the line with its answer', async () => {
    const page = await open();
    await page.type('2b1+3b1=');
    const s = await page.state();
    assert.equal(s.lineOpen, false);
    assert.match(s.line, /^2b1\+3b1=6b5/);
    await page.screenshot('typed-answer.png');
    const area = [0, 0, 700, 200];
    assert.ok(await countColour(page, [255, 0, 0], area, 60) > 20, 'red operator and mark drawn');
    assert.ok(await countColour(page, [0, 128, 128], area, 30) > 20, 'teal fraction bars drawn');
    assert.ok(await countColour(page, [0, 0, 0], area, 80) > 50, 'black digits drawn');
    await page.close();
  });

  test('tapping the keypad types the same line as the keyboard', async () => {
    const page = await open({ touch: true });
    for (const caption of ['１', 'と(K)', '３', '分の(B)', '２', '×', '３', '＝']) {
      const box = await page.box(`#panel [data-caption="${caption}"]`);
      assert.ok(box.width >= 44 && box.height >= 44, `${caption} is at least 44 px`);
      await page.tap(`#panel [data-caption="${caption}"]`);
    }
    const s = await page.state();
    assert.match(s.line, /^1k3b2\*3=5/);
    await page.screenshot('keypad.png');
    await page.close();
  });

  test('a refused key shows its numbered message and leaves the line', async () => {
    const page = await open();
    await page.type('2++');
    const s = await page.state();
    assert.equal(s.line, '2+');
    assert.ok(s.refusals >= 1);
    assert.match(s.status, new RegExp(String(s.lastRefusal)));
    assert.equal(await page.$eval('#status', (e) => e.textContent), s.status);
    await page.close();
  });

  test('the process with advice, and F6 for the other method', async () => {
    const page = await open();
    await page.evaluate(() => {
      window.kazoru.K.setSetting('ADVICEDSP', 1);
    });
    await page.press('F5');
    await page.type('3-4b1=');
    let s = await page.state();
    assert.ok(s.settings.PROCDSP === 1);
    assert.ok(s.processType > 0, 'a process was made');
    const first = s.processText;
    assert.ok(first.length > 0);
    await page.screenshot('process.png');
    // The process is written in rows under the line.
    assert.ok(await countColour(page, [0, 0, 0], [0, 120, 700, 300], 80) > 100, 'process rows drawn');
    await page.press('F6');
    s = await page.state();
    assert.notEqual(s.processText, first, 'F6 made the other process');
    await page.screenshot('process-f6.png');
    await page.close();
  });

  test('conversion commands and special modes from the menus and keys', async () => {
    const page = await open();
    await page.type('12');
    await page.press('Shift+KeyS');
    let s = await page.state();
    assert.match(s.line, /^12=2\^2\*3|^12=2\^2×3|^12=/);
    await page.screenshot('factorisation.png');
    await page.press('Escape');
    await page.evaluate(() => window.kazoru.K.clear());
    await page.type('7/2=');
    assert.match((await page.state()).line, /^7\/2=3k2b1/);
    await page.click('#menus details:nth-of-type(2) summary');
    await page.click('#menus [data-cmd="ToImproper"]');
    s = await page.state();
    assert.match(s.line, /=2b7/);
    await page.close();
  });

  test('settings survive a reload', async () => {
    const page = await open();
    await page.click('#menus details:nth-of-type(3) summary');
    await page.click('#menus [data-setting="KAITOURAN_FLAG"]');
    const before = (await page.state()).settings.KAITOURAN_FLAG;
    await page.reload();
    await page.ready();
    const s = await page.state();
    assert.equal(s.settings.KAITOURAN_FLAG, before);
    assert.equal(await page.evaluate(() => window.kazoru.settingsRead), true);
    const stored = await page.evaluate(() => atob(localStorage.getItem('Kazoru1.ini')));
    assert.match(stored, /KAITOURAN_FLAG=/);
    await page.close();
  });

  test('storage that is blocked keeps the page working and says so once', async () => {
    const page = await open({
      beforeLoad: () => {
        Object.defineProperty(window, 'localStorage', { get() { throw new DOMException('blocked', 'SecurityError'); } });
      },
    });
    assert.match(await page.evaluate(() => window.kazoru.storageNote), /保存できません/);
    assert.equal(await page.$eval('#messageBox', (d) => d.open), true);
    await page.click('#messageBox button');
    await page.type('1+1=');
    assert.match((await page.state()).line, /^1\+1=2/);
    await page.close();
  });

  test('the site works offline after one visit', async () => {
    const page = await open();
    // The service worker takes the page over (clients.claim) once it has kept the site.
    await page.waitFor(() => !!navigator.serviceWorker && !!navigator.serviceWorker.controller);
    page.origin.stats.offline = true;
    const before = page.requests();
    await page.reload();
    await page.ready();
    // A navigation makes the browser look for a new version of the service worker on the network, in a
    // task of its own that may come before or after the page is ready (and retried when the network is
    // down): that check is all that may reach the server; the page and its files come from the worker.
    const fetched = page.origin.stats.log.slice(before).map((e) => e.url).filter((u) => u !== '/sw.js');
    assert.deepEqual(fetched, [], 'nothing but the worker\'s update check was fetched from the server');
    await page.type('3b2*4b3=');
    assert.match((await page.state()).line, /^3b2\*4b3=2b1/);
    page.origin.stats.offline = false;
    await page.close();
  });

  test('speed: first usable screen and a key on a 257-character line', async () => {
    const t0 = Date.now();
    const page = await open({ query: '?fresh' });
    const firstUsable = await page.evaluate(() => window.kazoru.readyMs);
    // A key on a long line (64 terms of "2b1+" make 256 characters, then one more key) against the same keys
    // on a short line, timed in turn so that both meet the same load of the machine: the long line costs
    // little more than the short one, however busy the machine is.
    const keys = await page.evaluate(() => {
      const type = (text) => {
        for (const c of text) window.kazoru.pressKey(c === '+' ? 0xbb : c.toUpperCase().charCodeAt(0), c === '+' ? 1 : 0);
      };
      const median = (l) => [...l].sort((a, b) => a - b)[l.length >> 1];
      const time = () => {
        const times = [];
        window.kazoru.pressKey(0x08, 0);
        times.push(window.kazoru.lastKeyMs);
        window.kazoru.pressKey(0xbb, 1);
        times.push(window.kazoru.lastKeyMs);
        return times;
      };
      const long = [];
      const short = [];
      for (let round = 0; round < 10; round++) {
        window.kazoru.K.clear();
        type('2b1+');
        for (let i = 0; i < 2; i++) short.push(...time());
        window.kazoru.K.clear();
        for (let i = 0; i < 64; i++) type('2b1+');
        for (let i = 0; i < 2; i++) long.push(...time());
      }
      return { median: median(long), max: Math.max(...long), short: median(short), length: window.kazoru.state.line.length };
    });
    console.log(`# first usable screen ${firstUsable.toFixed(0)} ms (page load to ready, wall ${Date.now() - t0} ms); ` +
      `key on a ${keys.length}-character line: median ${keys.median.toFixed(1)} ms, max ${keys.max.toFixed(1)} ms; ` +
      `on a 4-character line: median ${keys.short.toFixed(1)} ms`);
    assert.ok(keys.length >= 250);
    // The page's load time is a wall time: on a machine shared with other builds (or with the CPU slowed) it
    // is an upper bound, held to its budget where KAZORU_LOAD_BUDGETS is set (a quiet machine), as the
    // school network's figures are.
    if (process.env.KAZORU_LOAD_BUDGETS) assert.ok(firstUsable < 3000, `usable at ${firstUsable} ms`);
    assert.ok(keys.median < 50, 'a key repaints well within a few frames');
    await page.close();
  });

  // A speech synthesiser that records what it is asked to say; `voices` are the voices the device has.
  function openWithSpeech(voices) {
    return open({ arg: voices, beforeLoad: (voices) => {
      const log = window.spoken = [];
      window.SpeechSynthesisUtterance = class { constructor(text) { this.text = text; this.lang = ''; } };
      const synth = {
        speaking: false, pending: false,
        getVoices: () => voices,
        speak(u) { log.push({ text: u.text, lang: u.lang, voice: u.voice && u.voice.lang }); this.speaking = true; },
        cancel() { log.push('cancel'); this.speaking = false; },
        addEventListener() {},
      };
      Object.defineProperty(window, 'speechSynthesis', { value: synth, configurable: true });
    } });
  }

  test('reading aloud speaks the line in Japanese, a second press stops it, and answers are announced', async () => {
    const page = await openWithSpeech([{ lang: 'en-US', name: 'en' }, { lang: 'ja-JP', name: 'ja' }]);
    await page.type('2b1+3b1=');
    const phrase = '2分の1 たす 3分の1 は 6分の5';
    // The answer reaches the live region as soon as the line closes.
    assert.ok((await page.$eval('#announce', (e) => e.textContent)).includes(phrase));
    await page.press('Control+KeyR');
    const reading = await page.evaluate(() => window.kazoru.reading);
    assert.ok(reading.display.includes(phrase), reading.display);
    assert.ok(reading.kana.includes('にぶんのいち たす さんぶんのいち は ろくぶんのご'), reading.kana);
    let spoken = await page.evaluate(() => window.spoken);
    assert.deepEqual(spoken, [{ text: reading.kana, lang: 'ja-JP', voice: 'ja-JP' }]);
    // The keypad's 読R while it still speaks: the speech stops.
    await page.click('#panel [data-caption="読R"]');
    spoken = await page.evaluate(() => window.spoken);
    assert.equal(spoken.at(-1), 'cancel');
    // A refused key's message is announced too.
    await page.evaluate(() => window.kazoru.K.clear());
    await page.type('2++');
    const s = await page.state();
    assert.ok(s.refusals >= 1);
    assert.equal(await page.$eval('#announce', (e) => e.textContent), s.status);
    await page.close();
  });

  test('without a Japanese voice reading aloud says so once', async () => {
    const page = await openWithSpeech([{ lang: 'en-US', name: 'en' }]);
    await page.type('1+1=');
    await page.click('#panel [data-caption="読R"]');
    assert.equal(await page.$eval('#messageBox', (d) => d.open), true);
    assert.match(await page.$eval('#messageBox .text', (e) => e.textContent), /日本語の音声がない/);
    await page.click('#messageBox button');
    await page.click('#panel [data-caption="読R"]');
    const told = await page.evaluate(() => window.kazoru.messages.filter((m) => /日本語の音声がない/.test(m.text)).length);
    assert.equal(told, 1);
    assert.equal(await page.$eval('#messageBox', (d) => d.open), false);
    assert.match(await page.$eval('#announce', (e) => e.textContent), /音声がない/);
    assert.deepEqual(await page.evaluate(() => window.spoken), []);
    await page.close();
  });

  test('Ctrl+G checks the pupil\'s own steps and Ctrl+Shift+G gives a hint', async () => {
    const page = await open();
    await page.type('2b1+3b1');
    await page.press('Control+KeyG');
    await page.type('5b2');
    // The menu entry does what Ctrl+G does.
    await page.click('#menus details:nth-of-type(2) summary');
    await page.click('#menus [data-key="71"][data-shift="4"]');
    let s = await page.state();
    assert.match(s.line, /^2b1\+3b1=5b2=?$/);
    assert.deepEqual(s.steps.marks, ['×']);
    assert.match(s.steps.advice[0], /分母どうしはたしません。/);
    let ops = await page.evaluate(() => window.kazoru.ops);
    assert.ok(ops.includes('×'), 'the mark is drawn');
    assert.ok(ops.includes('分母どうしはたしません。'), 'the advice is drawn');
    await page.press('Control+Shift+KeyG');
    s = await page.state();
    assert.equal(s.steps.hintShown, true);
    assert.ok(s.steps.hint.length > 0);
    await page.screenshot('steps.png');
    await page.close();
  });
});

