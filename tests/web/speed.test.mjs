// A key on a school's slow laptop: the CPU slowed 4× through the DevTools protocol, each key timed from
// its event to the end of the next frame (a requestAnimationFrame followed by a message-channel task, so
// style, layout and paint of that frame are inside), medians of several keys. The figures against their
// budgets are held where KAZORU_LOAD_BUDGETS is set (a machine not shared with other builds); what keeps
// them low is held everywhere: a key on a long line keeps the canvas's size, the cursor moves without a
// layout of the page, and the notebook's copy for the browser's storage stays off the key's path.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { startSession } from './session.mjs';

let server, browser, session;

before(async () => {
  session = await startSession();
  ({ server, browser } = session);
});

after(async () => {
  await session?.close();
});

const CPU_SLOWDOWN = 4;
const BUDGET = { keyMs: 16, equalsMs: 50, longLineKeyMs: 50, keepMs: 5 };
const median = (a) => [...a].sort((x, y) => x - y)[a.length >> 1];

async function openPage() {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  page.errors = [];
  page.on('pageerror', (e) => page.errors.push(String(e)));
  await page.setViewport({ width: 1024, height: 768 });
  await page.goto(server.url, { waitUntil: 'load' });
  await page.waitForFunction(() => window.kazoru && window.kazoru.ready, { timeout: 30000 });
  // Every key's time to the end of its next frame, and the layouts the page asked for in between.
  await page.evaluate(() => {
    window.keyFrames = [];
    addEventListener('keydown', (e) => {
      const t = e.timeStamp;
      requestAnimationFrame(() => {
        const channel = new MessageChannel();
        channel.port1.onmessage = () => {
          window.keyFrames.push(performance.now() - t);
        };
        channel.port2.postMessage(0);
      });
    }, true);
  });
  page.cdp = await page.createCDPSession();
  await page.cdp.send('Emulation.setCPUThrottlingRate', { rate: CPU_SLOWDOWN });
  page.done = async () => { await page.close(); await context.close(); };
  return page;
}

// One key, and its time to the end of the next frame.
async function timedKey(page, key) {
  const before = await page.evaluate(() => window.keyFrames.length);
  await page.keyboard.press(key);
  await page.waitForFunction((n) => window.keyFrames.length > n, { polling: 10, timeout: 10000 }, before)
    .catch(() => { throw new Error(`no frame after the key ${key}`); });
  return page.evaluate(() => window.keyFrames[window.keyFrames.length - 1]);
}

test('a key, and "=" with the process shown, at 4× CPU', async () => {
  const page = await openPage();
  const keys = [];
  for (let round = 0; round < 3; round++) {
    for (const c of '12b5+3b4*2-1b3+5b6') keys.push(await timedKey(page, c));
    assert.equal((await page.evaluate(() => window.kazoru.state.line)), '12b5+3b4*2-1b3+5b6');
    await timedKey(page, 'Delete');
  }
  await timedKey(page, 'F5');
  const equals = [];
  for (let round = 0; round < 7; round++) {
    for (const c of '3-4b1+2b3') await timedKey(page, c);
    equals.push(await timedKey(page, '='));
    assert.notEqual(await page.evaluate(() => window.kazoru.state.processText), '');
    await timedKey(page, 'Delete');
  }
  console.log(`# at ${CPU_SLOWDOWN}× CPU: key → next frame median ${median(keys).toFixed(1)} ms (${keys.length} keys), ` +
    `"=" with the process median ${median(equals).toFixed(1)} ms (${equals.length})`);
  if (process.env.KAZORU_LOAD_BUDGETS) {
    assert.ok(median(keys) <= BUDGET.keyMs, `key → next frame median ${median(keys)} ms`);
    assert.ok(median(equals) <= BUDGET.equalsMs, `"=" median ${median(equals)} ms`);
  }
  assert.deepEqual(page.errors, []);
  await page.done();
});

test('a key on a 257-character line keeps the canvas and lays nothing out; the cursor blinks without a layout', async () => {
  const page = await openPage();
  await page.evaluate(() => {
    for (let i = 0; i < 64; i++) for (const c of '2b1+') window.kazoru.pressKey(c === '+' ? 0xbb : c.toUpperCase().charCodeAt(0), c === '+' ? 1 : 0);
  });
  const canvasSize = () => page.$eval('#page', (c) => `${c.width}x${c.height}`);
  const size = await canvasSize();
  const times = [];
  for (let i = 0; i < 10; i++) {
    times.push(await timedKey(page, '3'));
    assert.equal(await canvasSize(), size, 'a key on the long line gave the canvas a new size');
    await timedKey(page, 'Backspace');
  }
  assert.equal((await page.evaluate(() => window.kazoru.state.line)).length, 256);
  // The cursor is placed by a transform and blinks by its visibility.
  const cursor = await page.$eval('#cursor', (c) => ({ transform: c.style.transform, left: c.style.left, hidden: c.hidden }));
  assert.match(cursor.transform, /^translate\(/);
  assert.equal(cursor.left, '');
  assert.equal(cursor.hidden, false);
  console.log(`# at ${CPU_SLOWDOWN}× CPU: a key on a 257-character line → next frame median ${median(times).toFixed(1)} ms`);
  if (process.env.KAZORU_LOAD_BUDGETS) assert.ok(median(times) <= BUDGET.longLineKeyMs, `long line key median ${median(times)} ms`);
  assert.deepEqual(page.errors, []);
  await page.done();
});

test('the notebook\'s copy for the browser\'s storage after each change, at 4× CPU', async () => {
  const page = await openPage();
  await page.evaluate(() => window.kazoru.pressKey(0x4e, 2));
  await page.waitForFunction(() => window.kazoru.notebook.shown);
  // A 40-line page computed, then a line added through the line editor after each copy: each change is
  // copied after it, and the copy reaches the storage.
  const lines = Array.from({ length: 40 }, (_, i) => `${i + 1}b${i + 2}+${i + 3}k1b${i + 4}`);
  await page.evaluate((text) => window.kazoru.notebook.openBytes(new TextEncoder().encode(text), 'speed.siki'),
    lines.join('\r\n') + '\r\n');
  const keeps = [];
  for (let round = 0; round < 6; round++) {
    const writes = await page.evaluate(() => window.kazoru.notebook.keepWrites);
    if (round === 0) {
      await page.evaluate(() => window.kazoru.notebook.command('CalculateAll'));
    } else {
      await page.click('[data-note="AddNew"]');
      await page.waitForSelector('#noteLineBox[open]');
      await page.$eval('#noteLineBox input', (input, text) => { input.value = text; }, `${round}b7+1b3`);
      await page.click('#noteLineBox button[value="ok"]');
    }
    await page.waitForFunction((n) => window.kazoru.notebook.keepWrites > n, { timeout: 10000 }, writes);
    keeps.push(await page.evaluate(() => window.kazoru.notebook.lastKeepMs));
  }
  assert.equal((await page.evaluate(() => JSON.parse(window.kazoru.notebook.K.state()))).lines.length, 45);
  console.log(`# at ${CPU_SLOWDOWN}× CPU: the notebook's storage copy of a 40–45-line page median ${median(keeps).toFixed(2)} ms`);
  if (process.env.KAZORU_LOAD_BUDGETS) assert.ok(median(keeps) <= BUDGET.keepMs, `storage copy median ${median(keeps)} ms`);
  assert.deepEqual(page.errors, []);
  await page.done();
});
