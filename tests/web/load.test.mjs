// The first visit on a school's network: the site served by a server that does not compress
// (`python3 -m http.server`), the network slowed to a school's (1.6 Mbit/s down, 150 ms each way, nothing
// cached). The page and its keypad show before the program has arrived, the program is ready soon after,
// a repeat visit comes from the service worker at once; keys and taps made while it loads are applied in
// order; a download that fails, stalls or finds no network says so and can be tried again.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { startSession, SITE } from './session.mjs';

let browser, session, python;

// The school's server: Python's own, which sends every file as it is.
function pythonServer(dir) {
  return new Promise((resolve, reject) => {
    const p = spawn('python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1', '--directory', dir],
      { stdio: ['ignore', 'pipe', 'pipe'] });
    let out = '';
    p.stdout.on('data', (d) => {
      out += d;
      const m = /port (\d+)/.exec(out);
      if (m) resolve({ url: `http://127.0.0.1:${m[1]}/`, close: () => p.kill() });
    });
    p.on('error', reject);
    p.on('exit', (code) => reject(new Error(`python3 -m http.server ended (${code})`)));
  });
}

before(async () => {
  session = await startSession();
  ({ browser } = session);
  python = await pythonServer(SITE);
});

after(async () => {
  python?.close();
  await session?.close();
});

export const SCHOOL = { offline: false, latency: 150, downloadThroughput: 1.6e6 / 8, uploadThroughput: 0.75e6 / 8 };
const BUDGET = { keypadMs: 1000, readyMs: 2000, repeatMs: 300, programBytes: 250000 };
// What the first visit may fetch before it is ready: the ready budget's worth of the school's line, less
// three round trips (the page, then the program and the page's script side by side, then the face).
BUDGET.bytesBeforeReady = (BUDGET.readyMs - 3 * SCHOOL.latency) * SCHOOL.downloadThroughput / 1000;

async function newPage({ network = null, beforeLoad = null } = {}) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  page.errors = [];
  page.on('pageerror', (e) => page.errors.push(String(e)));
  await page.setViewport({ width: 1024, height: 768 });
  if (network) {
    page.cdp = await page.createCDPSession();
    await page.cdp.send('Network.enable');
    await page.cdp.send('Network.setCacheDisabled', { cacheDisabled: true });
    await page.cdp.send('Network.emulateNetworkConditions', network);
  }
  // The time the keypad's first text was painted (Element Timing), else the first contentful paint.
  await page.evaluateOnNewDocument(() => {
    window.keypadShownMs = null;
    try {
      new PerformanceObserver((list) => {
        for (const e of list.getEntries()) if (e.identifier === 'keypad' && window.keypadShownMs === null) window.keypadShownMs = e.renderTime || e.loadTime;
      }).observe({ type: 'element', buffered: true });
    } catch { /* no element timing in this browser */ }
  });
  if (beforeLoad) await page.evaluateOnNewDocument(beforeLoad);
  page.done = async () => { await page.close(); await context.close(); };
  return page;
}

const ready = (page, timeout = 30000) => page.waitForFunction(() => window.kazoru && window.kazoru.ready, { timeout });

async function figures(page) {
  return page.evaluate(() => {
    const fcp = performance.getEntriesByName('first-contentful-paint')[0];
    const keypad = window.keypadShownMs ?? (fcp ? fcp.startTime : null);
    const resources = performance.getEntriesByType('resource');
    const wasm = resources.find((r) => /kazoru\.wasm/.test(r.name));
    const nav = performance.getEntriesByType('navigation')[0];
    const beforeReady = [nav, ...resources.filter((r) => r.responseEnd <= window.kazoru.readyMs)]
      .reduce((sum, r) => sum + (r.transferSize || r.encodedBodySize || 0), 0);
    // A file the service worker answered is not fetched over the network (its transfer size is 0).
    const fromNetwork = resources.filter((r) => r.transferSize > 0 && !r.workerStart).map((r) => r.name.split('/').pop());
    return { keypad, ready: window.kazoru.readyMs, beforeReady, fromNetwork, wasmBytes: wasm ? wasm.transferSize || wasm.encodedBodySize : null,
      wasmEnd: wasm ? wasm.responseEnd : null,
      wasmFile: wasm ? wasm.name.split('/').pop() : null };
  });
}

test('school network: keypad shown, ready, and a repeat visit from the service worker within their budgets', async () => {
  const page = await newPage({ network: SCHOOL });
  await page.goto(python.url, { waitUntil: 'domcontentloaded' });
  // The keypad and the note are there before the program.
  assert.ok(await page.$eval('#panel .keys button[data-caption="７"]', (b) => b.getBoundingClientRect().width >= 44));
  await ready(page);
  const first = await figures(page);
  assert.equal(await page.$eval('#loading', (e) => e.hidden), true);
  // The service worker has the site; the next visit comes from it.
  await page.waitForFunction(async () => !!(await navigator.serviceWorker.ready).active, { timeout: 60000 });
  await page.waitForFunction(() => !!navigator.serviceWorker.controller, { timeout: 5000 }).catch(() => {});
  await page.reload({ waitUntil: 'domcontentloaded' });
  await ready(page);
  const repeat = await figures(page);
  console.log(`# school network (1.6 Mbit/s, 150 ms, no cache, python3 -m http.server): keypad shown ${first.keypad?.toFixed(0)} ms, ` +
    `ready ${first.ready.toFixed(0)} ms (${first.wasmFile}, ${first.wasmBytes} bytes on the wire; ${first.beforeReady} bytes before ready); ` +
    `repeat visit ready ${repeat.ready.toFixed(0)} ms`);
  // The bytes are the same on every machine, and so is the keypad's figure, which waits for the page alone
  // (far inside its budget even on a loaded machine). The times that include compiling and starting the
  // program are upper bounds on a machine shared with other builds, so their budgets are held only where
  // KAZORU_LOAD_BUDGETS is set (a quiet machine); what the page does to meet them is held everywhere: the
  // program comes packed and small, the keypad shows before it has arrived, and the repeat visit fetches
  // nothing over the network.
  assert.equal(first.wasmFile, 'kazoru.wasm.gz');
  assert.ok(first.wasmBytes <= BUDGET.programBytes, `${first.wasmBytes} bytes of program on the wire`);
  assert.ok(first.beforeReady <= BUDGET.bytesBeforeReady, `${first.beforeReady} bytes fetched before ready`);
  assert.ok(first.keypad < first.wasmEnd, `keypad shown at ${first.keypad} ms, program in at ${first.wasmEnd} ms`);
  assert.ok(first.keypad <= BUDGET.keypadMs, `keypad shown at ${first.keypad} ms`);
  assert.deepEqual(repeat.fromNetwork, []);
  if (process.env.KAZORU_LOAD_BUDGETS) {
    assert.ok(first.ready <= BUDGET.readyMs, `ready at ${first.ready} ms`);
    assert.ok(repeat.ready <= BUDGET.repeatMs, `repeat visit ready at ${repeat.ready} ms`);
  }
  assert.deepEqual(page.errors, []);
  await page.done();
});

// Holds every request for the program's file until release() (or answers it with fail()).
async function holdProgram(page) {
  await page.setRequestInterception(true);
  const held = [];
  let passing = false;
  page.on('request', (r) => {
    if (!passing && /kazoru\.wasm/.test(r.url())) held.push(r);
    else r.continue();
  });
  return {
    // Resolves once the page has asked for the program.
    async asked() {
      while (!held.length) await new Promise((r) => setTimeout(r, 20));
    },
    // A request the page gave up on (a stall) can no longer be answered.
    release() { passing = true; for (const r of held.splice(0)) r.continue().catch(() => {}); },
    fail(reason = 'failed') { for (const r of held.splice(0)) r.abort(reason).catch(() => {}); },
  };
}

test('keys and taps made while the program loads are applied in order once it is ready', async () => {
  const page = await newPage();
  const program = await holdProgram(page);
  await page.goto(python.url, { waitUntil: 'domcontentloaded' });
  await page.waitForFunction(() => document.querySelector('#panel .keys button'));
  // Typed and tapped while nothing can compute yet: 1/2 by keys, + by the keypad, 1/3 by keys, = by the keypad.
  await page.keyboard.type('1/2');
  await page.click('#panel button[data-caption="＋"]');
  await page.keyboard.type('1/3');
  await page.click('#panel button[data-caption="＝"]');
  assert.equal(await page.evaluate(() => !!(window.kazoru && window.kazoru.ready)), false);
  assert.ok(await page.$eval('#loading', (e) => !e.hidden));
  program.release();
  await ready(page);
  const s = await page.evaluate(() => window.kazoru.state);
  assert.match(s.line, /^1\/2\+1\/3=6b5/);
  assert.equal(await page.evaluate(() => window.kazoru.replayed), 8);
  assert.deepEqual(page.errors, []);
  await page.done();
});

// How the download goes wrong, and what the note says besides 「Kazoruを読み込めませんでした。」.
const FAILURES = [
  ['refused by the server', async (page, program) => program.fail('failed'), false],
  ['stalled (no byte for a while)', async () => {}, false],
  ['no network before the first visit', async (page, program) => { await page.setOfflineMode(true); program.fail('internetdisconnected'); }, true],
];

for (const [name, breakIt, offline] of FAILURES) {
  test(`a download ${name} says so, and the button tries again`, async () => {
    const page = await newPage({ beforeLoad: () => { window.kazoruStallMs = 1500; } });
    const program = await holdProgram(page);
    await page.goto(python.url, { waitUntil: 'domcontentloaded' });
    await program.asked();
    await page.waitForFunction(() => document.querySelector('#panel .keys button'));
    await breakIt(page, program);
    await page.waitForSelector('#loadFailed:not([hidden])', { timeout: 10000 });
    const text = await page.$eval('#loadFailed', (e) => e.innerText);
    assert.match(text, /Kazoruを読み込めませんでした。/);
    assert.equal(/インターネットにつながっていません/.test(text), offline, text);
    assert.equal(await page.$eval('#loading', (e) => e.hidden), true);
    // A key typed meanwhile is kept for the program that does arrive.
    await page.keyboard.type('7');
    await page.setOfflineMode(false);
    program.release();
    await page.click('#loadFailed button');
    await ready(page);
    assert.equal(await page.$eval('#loadFailed', (e) => e.hidden), true);
    assert.equal((await page.evaluate(() => window.kazoru.state)).line, '7');
    await page.done();
  });
}
