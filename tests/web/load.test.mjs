// The first visit on a school's network: the site served by a server that does not compress, over a line
// as slow as a school's (1.6 Mbit/s down shared by every file, 150 ms before each answer, nothing cached).
// The page and its keypad show before the program has arrived, the program is ready soon after, a repeat
// visit comes from the service worker at once; keys and taps made while it loads are applied in order; a
// download that fails, stalls or finds no network says so and can be tried again. In each browser
// (driver.mjs); the test server plays the line and holds or drops the program's download.
import { describe, test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { forEachBrowser, SIZES } from './driver.mjs';

const [WIDTH, HEIGHT] = SIZES.desktop;
export const SCHOOL_LINE = { latencyMs: 150, bytesPerSecond: 1.6e6 / 8 };
const BUDGET = { keypadMs: 1000, readyMs: 2000, repeatMs: 300, programBytes: 250000 };
// What the first visit may fetch while the program comes (everything asked for before its last byte shares
// the line with it): the ready budget's worth of the school's line, less three round trips (the page, the
// program and the page's script side by side, and the program's start).
BUDGET.bytesWithProgram = (BUDGET.readyMs - 3 * SCHOOL_LINE.latencyMs) * SCHOOL_LINE.bytesPerSecond / 1000;

// Before the page's own scripts: the time the keypad's first text was painted (Element Timing where the
// browser has it, else the first contentful paint, which is the keypad's or the menus' text).
function paintTiming() {
  window.keypadShownMs = null;
  try {
    new PerformanceObserver((list) => {
      for (const e of list.getEntries()) if (e.identifier === 'keypad' && window.keypadShownMs === null) window.keypadShownMs = e.renderTime || e.loadTime;
    }).observe({ type: 'element', buffered: true });
  } catch { /* no element timing in this browser */ }
}

// The page's own figures, in milliseconds since the navigation started (the server's clock and the page's
// differ by up to a few hundred milliseconds: times come from the page, bytes from the server).
const pageFigures = (page) => page.evaluate(() => {
  const fcp = performance.getEntriesByName('first-contentful-paint')[0];
  const keypad = window.keypadShownMs ?? (fcp ? fcp.startTime : null);
  const wasm = performance.getEntriesByType('resource').find((r) => /kazoru\.wasm/.test(r.name));
  return { keypad, ready: window.kazoru.readyMs, wasmEnd: wasm ? wasm.responseEnd : null };
});

forEachBrowser({ describe, before, after }, (b) => {
  test('school network: keypad shown, ready, and a repeat visit from the service worker within their budgets', async () => {
    const page = await b.session.open({ width: WIDTH, height: HEIGHT, beforeLoad: paintTiming, wait: false,
      server: { line: SCHOOL_LINE } });
    const log = page.origin.stats.log;
    // The keypad and the note are there before the program.
    assert.ok(await page.$eval('#panel .keys button[data-caption="７"]', (e) => e.getBoundingClientRect().width >= 44));
    await page.ready();
    const first = await pageFigures(page);
    assert.equal(await page.$eval('#loading', (e) => e.hidden), true);
    const wasm = log.find((r) => /kazoru\.wasm/.test(r.url));
    const wasmFile = wasm.url.split('/').pop();
    // Every answer the page asked for before the program's last byte shared the line with it.
    const withProgram = log.filter((r) => r.start < wasm.end).reduce((sum, r) => sum + r.bytes, 0);
    // The service worker keeps the site (fetched at full speed: the line was the first visit's) and answers
    // the next visit.
    page.origin.stats.line = null;
    await page.waitFor(async () => !!(await navigator.serviceWorker.ready).active, undefined, 60000);
    await page.waitFor(() => !!navigator.serviceWorker.controller, undefined, 5000).catch(() => {});
    const asked = log.length;
    await page.reload();
    await page.ready();
    const repeat = await pageFigures(page);
    // Only the worker's own check for a new version may go out.
    const fromNetwork = log.slice(asked).map((r) => r.url.split('/').pop()).filter((f) => f !== 'sw.js');
    console.log(`# ${b.name}, school line (1.6 Mbit/s, 150 ms, no compression): keypad shown ` +
      `${first.keypad === null ? '(no paint timing)' : `${first.keypad.toFixed(0)} ms`}, ready ${first.ready.toFixed(0)} ms ` +
      `(${wasmFile}, ${wasm.bytes} bytes, in at ${first.wasmEnd?.toFixed(0)} ms; ${withProgram} bytes fetched while it came); ` +
      `repeat visit ready ${repeat.ready.toFixed(0)} ms`);
    // The program's bytes are the same on every machine and are held everywhere. The times are upper bounds
    // on a machine shared with other builds (the keypad's 0.4–0.6 s went past 1.5 s at a load average of 28,
    // and past the program's arrival at 34), so their budgets are held only where KAZORU_LOAD_BUDGETS is set
    // (a quiet machine); what the page does to meet them is held everywhere: the program comes packed and
    // small, the repeat visit fetches nothing over the network, and (below) the keypad is painted while the
    // program has not come.
    assert.equal(wasmFile, 'kazoru.wasm.gz');
    assert.ok(wasm.bytes <= BUDGET.programBytes, `${wasm.bytes} bytes of program on the wire`);
    assert.deepEqual(fromNetwork, []);
    if (process.env.KAZORU_LOAD_BUDGETS) {
      if (first.keypad !== null && first.wasmEnd) {
        assert.ok(first.keypad < first.wasmEnd, `keypad shown at ${first.keypad} ms, program in at ${first.wasmEnd} ms`);
      }
      if (first.keypad !== null) assert.ok(first.keypad <= BUDGET.keypadMs, `keypad shown at ${first.keypad} ms`);
      assert.ok(withProgram <= BUDGET.bytesWithProgram, `${withProgram} bytes fetched while the program came`);
      assert.ok(first.ready <= BUDGET.readyMs, `ready at ${first.ready} ms`);
      assert.ok(repeat.ready <= BUDGET.repeatMs, `repeat visit ready at ${repeat.ready} ms`);
    }
    assert.deepEqual(await page.errors(), []);
    await page.close();
  });

  // A page whose program the server holds until the test lets it through.
  async function heldPage(beforeLoad = null) {
    const page = await b.session.open({ width: WIDTH, height: HEIGHT, beforeLoad, wait: false,
      server: { hold: /kazoru\.wasm/ } });
    const program = page.origin.stats;
    for (const deadline = Date.now() + 20000; !program.held(); await new Promise((r) => setTimeout(r, 20))) {
      if (Date.now() > deadline) throw new Error('the page never asked for the program');
    }
    await page.waitFor(() => !!document.querySelector('#panel .keys button'));
    return { page, program };
  }

  test('keys and taps made while the program loads are applied in order once it is ready', async () => {
    const { page, program } = await heldPage(paintTiming);
    // The keypad is painted (a frame has been drawn with it) while the program is held.
    await page.waitFor(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(() => done(true)))));
    assert.ok(await page.$eval('#panel .keys button[data-caption="７"]', (e) => e.getBoundingClientRect().width >= 44));
    if (b.name === 'chromium') assert.notEqual(await page.evaluate(() => window.keypadShownMs), null);
    // Typed and tapped while nothing can compute yet: 1/2 by keys, + by the keypad, 1/3 by keys, = by the keypad.
    await page.type('1/2');
    await page.click('#panel button[data-caption="＋"]');
    await page.type('1/3');
    await page.click('#panel button[data-caption="＝"]');
    assert.equal(await page.evaluate(() => !!(window.kazoru && window.kazoru.ready)), false);
    assert.ok(await page.$eval('#loading', (e) => !e.hidden));
    program.release();
    await page.ready();
    assert.match((await page.state()).line, /^1\/2\+1\/3=6b5/);
    assert.equal(await page.evaluate(() => window.kazoru.replayed), 8);
    assert.deepEqual(await page.errors(), []);
    await page.close();
  });

  // How the download goes wrong, and whether the note says the device is offline besides
  // 「Kazoruを読み込めませんでした。」. Taking the network away needs Chromium's DevTools protocol.
  const FAILURES = [
    ['refused by the server', async (page, program) => program.fail(), false],
    ['stalled (no byte for a while)', async () => {}, false],
    ['no network before the first visit', async (page, program) => { await page.page.setOfflineMode(true); program.fail(); }, true],
  ];

  for (const [name, breakIt, offline] of FAILURES) {
    test(`a download ${name} says so, and the button tries again`, { skip: offline && !b.features.cdp }, async () => {
      const { page, program } = await heldPage(() => { window.kazoruStallMs = 1500; });
      await breakIt(page, program);
      // The program's own failure (on a slow machine the page's head may have said so first, while the
      // page's script was still starting).
      await page.waitFor(() => window.kazoruBoot.running && !!document.querySelector('#loadFailed:not([hidden])'), undefined, 10000);
      const text = await page.$eval('#loadFailed', (e) => e.innerText);
      assert.match(text, /Kazoruを読み込めませんでした。/);
      assert.equal(/インターネットにつながっていません/.test(text), offline, text);
      assert.equal(await page.$eval('#loading', (e) => e.hidden), true);
      // A key typed meanwhile is kept for the program that does arrive. The second try has the usual wait
      // before it counts a download as stalled (the short one was for the first; a busy machine can hold a
      // download that does come for longer than that).
      await page.type('7');
      await page.evaluate(() => { window.kazoruBoot.stallMs = 15000; });
      if (offline) await page.page.setOfflineMode(false);
      program.release();
      await page.click('#loadFailed button');
      await page.ready();
      assert.equal(await page.$eval('#loadFailed', (e) => e.hidden), true);
      assert.equal((await page.state()).line, '7');
      await page.close();
    });
  }

  test('keys and taps made while the page said it could not load go with it when its button loads it again', async () => {
    const page = await b.session.open({ width: WIDTH, height: HEIGHT, wait: false,
      beforeLoad: () => { window.kazoruStallMs = 1000; }, server: { hold: /kazoru-page\.js/ } });
    await page.waitFor(() => !!document.querySelector('#loadFailed:not([hidden])'), undefined, 10000);
    await page.type('1/2');
    await page.click('#panel button[data-caption="＋"]');
    await page.type('1/3');
    // The page's script is still held when the button loads the page again; it comes to the new page.
    await page.click('#loadFailed button');
    await page.waitFor(() => performance.getEntriesByType('navigation')[0]?.type === 'reload');
    page.origin.stats.release();
    await page.ready();
    assert.match((await page.state()).line, /^1\/2\+1\/3/);
    assert.equal(await page.$eval('#loadFailed', (e) => e.hidden), true);
    await page.close();
  });

  test('a page script that comes after the page said it could not load takes over, and the note goes', async () => {
    const page = await b.session.open({ width: WIDTH, height: HEIGHT, wait: false,
      beforeLoad: () => { window.kazoruStallMs = 1000; }, server: { hold: /kazoru-page\.js|kazoru\.wasm/ } });
    await page.waitFor(() => !!document.querySelector('#loadFailed:not([hidden])'), undefined, 10000);
    await page.type('7');
    await page.evaluate(() => { window.kazoruBoot.stallMs = 15000; });
    page.origin.stats.release();
    await page.ready();
    assert.equal(await page.$eval('#loadFailed', (e) => e.hidden), true);
    assert.equal((await page.state()).line, '7');
    assert.deepEqual(await page.errors(), []);
    await page.close();
  });
});

