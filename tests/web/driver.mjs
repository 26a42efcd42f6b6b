// The browsers the site is tested in, behind one small driver: Chromium (puppeteer-core over CDP), Firefox
// ESR (puppeteer-core over WebDriver BiDi) and WebKitGTK (selenium-webdriver over W3C WebDriver, its
// MiniBrowser on an Xvfb display of its own). Every page gets an origin of its own (a port of the test
// server), so storage and the service worker start empty; scripts a test puts before the page's own are
// written into the HTML by that server, the same way in every browser. What only Chromium offers (CPU and
// network throttling, print media) is in `features` and `cdp()`.
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync, mkdirSync } from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';
import { Builder, Key } from 'selenium-webdriver';
import { serve } from './serve.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
export const SITE = path.resolve(process.env.KAZORU_WEB_BUILD || path.join(here, '../../build-web'), 'site');
const SHOTS = process.env.KAZORU_WEB_SHOTS || '';

// KAZORU_BROWSERS=chromium,firefox,webkit (the default) picks the browsers a run uses.
export const BROWSERS = (process.env.KAZORU_BROWSERS || 'chromium,firefox,webkit').split(',').map((s) => s.trim())
  .filter(Boolean);

// KAZORU_CPU_SLOWDOWN=4 runs every Chromium page with its CPU slowed that many times (a school laptop).
export const CPU_SLOWDOWN = Number(process.env.KAZORU_CPU_SLOWDOWN || 1);

// The sizes of the school devices: a laptop, an iPad held upright, a phone.
export const SIZES = { desktop: [1024, 768], ipad: [820, 1180], phone: [390, 844] };

const EXECUTABLES = {
  chromium: process.env.CHROMIUM || '/usr/bin/chromium',
  firefox: process.env.FIREFOX || '/usr/bin/firefox-esr',
  webkitDriver: process.env.WEBKIT_DRIVER || '/usr/bin/WebKitWebDriver',
  miniBrowser: process.env.WEBKIT_BROWSER || '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser',
};

// What each browser offers the tests beyond pages, keys and taps: touch input, Chromium's DevTools protocol
// (CPU and network throttling, print media, its file chooser).
export const FEATURES = {
  chromium: { touch: true, cdp: true },
  firefox: { touch: true, cdp: false },
  webkit: { touch: false, cdp: false },
};

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// What runs in each page before its own scripts: uncaught errors are kept for the test, and every file
// the page hands the browser to download is kept as bytes instead of being saved (a browser with a window
// would show its downloads in it).
const RECORDER = `(() => {
  window.__errors = [];
  addEventListener('error', (e) => window.__errors.push(String(e.message || e)));
  addEventListener('unhandledrejection', (e) => window.__errors.push(String(e.reason)));
  window.__downloads = [];
  const click = HTMLAnchorElement.prototype.click;
  HTMLAnchorElement.prototype.click = function () {
    if (this.download && this.href.startsWith('blob:')) {
      const entry = { name: this.download, bytes: null };
      window.__downloads.push(entry);
      fetch(this.href).then((r) => r.arrayBuffer()).then((b) => {
        let s = '';
        for (const x of new Uint8Array(b)) s += String.fromCharCode(x);
        entry.bytes = btoa(s);
      });
      return undefined;
    }
    return click.call(this);
  };
})();`;

function freePort() {
  return new Promise((resolve) => {
    const s = net.createServer();
    s.listen(0, '127.0.0.1', () => { const { port } = s.address(); s.close(() => resolve(port)); });
  });
}

// Xvfb on a free display, for the browser that needs a display; resolves to { display, close }.
function startXvfb() {
  return new Promise((resolve, reject) => {
    const x = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1600x1400x24', '-nolisten', 'tcp'],
      { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
    let out = '';
    x.on('error', reject);
    x.stdio[3].on('data', (d) => {
      out += d;
      if (out.includes('\n')) resolve({ display: `:${out.trim()}`, close: () => x.kill() });
    });
  });
}

// The source of a function called with JSON arguments, as one expression.
const callSource = (fn, args) => `(${fn.toString()})(...${JSON.stringify(args)})`;

// What every page offers on top of its engine's few calls.
class BasePage {
  requests() { return this.origin.stats.requests; }
  ready() { return this.waitFor(() => window.kazoru && window.kazoru.ready); }
  state() { return this.evaluate(() => window.kazoru.state); }
  $eval(selector, fn, arg) {
    return this.evaluate((s, src, a) => (0, eval)(`(${src})`)(document.querySelector(s), a), selector, fn.toString(),
      arg === undefined ? null : arg);
  }
  $$eval(selector, fn, arg) {
    return this.evaluate((s, src, a) => (0, eval)(`(${src})`)([...document.querySelectorAll(s)], a), selector,
      fn.toString(), arg === undefined ? null : arg);
  }
  // puppeteer's spelling, for helpers shared with the tests that still drive Chromium's pages directly.
  waitForFunction(fn, options = {}, arg = undefined) { return this.waitFor(fn, arg, options.timeout); }
  exists(selector) { return this.evaluate((s) => !!document.querySelector(s), selector); }
  waitForSelector(selector, timeout) { return this.waitFor((s) => !!document.querySelector(s), selector, timeout); }
  waitForVisible(selector, timeout) { return this.session.waitForVisible(this, selector, timeout); }
  focus(selector) { return this.evaluate((s) => document.querySelector(s).focus(), selector); }
  // A choice of a select element, as the pupil makes it.
  select(selector, value) {
    return this.evaluate((s, v) => {
      const e = document.querySelector(s);
      e.value = v;
      e.dispatchEvent(new Event('input', { bubbles: true }));
      e.dispatchEvent(new Event('change', { bubbles: true }));
    }, selector, value);
  }
  box(selector) {
    return this.evaluate((s) => {
      const r = document.querySelector(s).getBoundingClientRect();
      return { x: r.x, y: r.y, width: r.width, height: r.height };
    }, selector);
  }
  // A tap on the element's centre, scrolled into sight first as a finger would: by touch where the browser
  // offers it, else by the mouse.
  async tap(selector) {
    await this.waitForVisible(selector);
    await this.evaluate((s) => document.querySelector(s).scrollIntoView({ block: 'nearest', inline: 'nearest' }), selector);
    const b = await this.box(selector);
    await this.tapAt(b.x + b.width / 2, b.y + b.height / 2);
  }
  errors() { return this.evaluate(() => window.__errors || []); }
  // The files the page handed the browser to download: [{ name, bytes (Buffer) }].
  async downloads() {
    await this.waitFor(() => window.__downloads.every((d) => d.bytes !== null));
    const list = await this.evaluate(() => window.__downloads);
    return list.map((d) => ({ name: d.name, bytes: Buffer.from(d.bytes, 'base64') }));
  }
  // A screenshot of the viewport, kept as BROWSER-name under KAZORU_WEB_SHOTS when that is set.
  async screenshot(name) {
    const png = await this.screenshotPng();
    if (SHOTS && name) {
      mkdirSync(SHOTS, { recursive: true });
      writeFileSync(path.join(SHOTS, `${this.browser}-${name}`), png);
    }
    return png;
  }
  // Chromium's DevTools protocol, for what only it offers (throttling, print media, downloads to disk).
  async cdp() {
    if (!this.session.features.cdp) throw new Error(`${this.browser} has no DevTools protocol`);
    return this.page.createCDPSession();
  }
}

// ---------------------------------------------------------------- pages over puppeteer (Chromium, Firefox)
class PuppeteerPage extends BasePage {
  constructor(session, page, context, origin, touch) {
    super();
    Object.assign(this, { session, page, context, origin, touch });
    this.browser = session.name;
  }
  get url() { return this.origin.url; }
  async goto(query = '') { await this.page.goto(this.origin.url + query, { waitUntil: 'load' }); }
  async reload() { await this.page.reload({ waitUntil: 'load' }); }
  async setViewport(width, height) { await this.page.setViewport({ width, height, hasTouch: this.touch }); }
  evaluate(fn, ...args) { return this.page.evaluate(callSource(fn, args)); }
  async waitFor(fn, arg, timeout = 20000) {
    await this.page.waitForFunction(callSource(fn, arg === undefined ? [] : [arg]), { timeout });
  }
  async press(chord) {
    const keys = chord.split('+');
    let key = keys.pop() || '+';
    if (key === 'Space') key = ' ';
    for (const m of keys) await this.page.keyboard.down(m);
    await this.page.keyboard.press(key);
    for (const m of keys.reverse()) await this.page.keyboard.up(m);
  }
  async type(text) { for (const ch of text) await this.page.keyboard.type(ch); }
  // Text as an input method hands it over when a composition is committed: one insertion (Firefox's
  // WebDriver BiDi sends one character at a time: there the editing command that inserts text does it).
  async commitText(text) {
    if (this.session.features.cdp) await this.page.keyboard.sendCharacter(text);
    else await this.evaluate((t) => document.execCommand('insertText', false, t), text);
  }
  async click(selector) {
    const h = await this.page.waitForSelector(selector, { visible: true });
    await h.click();
  }
  async tapAt(x, y) {
    if (!this.touch) {
      await this.page.mouse.click(x, y);
      return;
    }
    // The click a tap makes comes after the touch has ended, in a task of the page's own: the tap is done
    // when the page has handled it.
    await this.page.evaluate(() => {
      window.__tapped = false;
      addEventListener('click', () => { window.__tapped = true; }, { capture: true, once: true });
    });
    if (this.session.features.cdp) {
      await this.page.touchscreen.tap(x, y);
    } else {
      // Over WebDriver BiDi puppeteer lifts the finger in a second command: on a busy machine the finger
      // then rests long enough for Firefox to take a long press (a context menu, no click). The finger goes
      // down and up in one command, as a tap does.
      await this.page.mainFrame().browsingContext.performActions([{
        type: 'pointer', id: 'finger', parameters: { pointerType: 'touch' },
        actions: [{ type: 'pointerMove', x: Math.round(x), y: Math.round(y) }, { type: 'pointerDown', button: 0 },
          { type: 'pointerUp', button: 0 }],
      }]);
    }
    await this.page.waitForFunction(() => window.__tapped, { timeout: 10000 });
  }
  async chooseFile(button, input, file) {
    if (this.session.features.cdp) {
      const [chooser] = await Promise.all([this.page.waitForFileChooser(), this.click(button)]);
      await chooser.accept([file]);
    } else {
      await (await this.page.$(input)).uploadFile(file);
    }
  }
  async screenshotPng() { return Buffer.from(await this.page.screenshot({ type: 'png' })); }
  async close() {
    await this.page.close().catch(() => {});
    if (this.context) await this.context.close().catch(() => {});
  }
}

async function launchPuppeteer(name) {
  const profile = mkdtempSync(path.join(os.tmpdir(), `kazoru-${name}-`));
  const browser = name === 'chromium'
    ? await puppeteer.launch({
      executablePath: EXECUTABLES.chromium, headless: true, userDataDir: profile,
      args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
        '--disable-sync', '--no-first-run', '--lang=ja', '--font-render-hinting=none'],
    })
    : await puppeteer.launch({
      browser: 'firefox', executablePath: EXECUTABLES.firefox, headless: true, userDataDir: profile,
      extraPrefsFirefox: {
        'intl.accept_languages': 'ja', 'dom.w3c_touch_events.enabled': 1, 'browser.download.folderList': 2,
        'browser.download.dir': path.join(profile, 'downloads'), 'browser.download.useDownloadDir': true,
        'browser.download.always_ask_before_handling_new_types': false,
      },
    });
  return {
    features: FEATURES[name],
    async newPage(session, origin, { width, height, touch }) {
      const context = await browser.createBrowserContext();
      const page = await context.newPage();
      const p = new PuppeteerPage(session, page, context, origin, touch);
      await p.setViewport(width, height);
      if (CPU_SLOWDOWN > 1 && FEATURES[name].cdp) await page.emulateCPUThrottling(CPU_SLOWDOWN);
      return p;
    },
    async close() {
      await browser.close().catch(() => {});
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

// ---------------------------------------------------------------- pages over W3C WebDriver (WebKitGTK)
const WEBDRIVER_KEYS = {
  Control: Key.CONTROL, Shift: Key.SHIFT, Alt: Key.ALT, Enter: Key.ENTER, Escape: Key.ESCAPE, Tab: Key.TAB,
  Backspace: Key.BACK_SPACE, Delete: Key.DELETE, Space: ' ', End: Key.END, Home: Key.HOME,
  ArrowUp: Key.ARROW_UP, ArrowDown: Key.ARROW_DOWN, ArrowLeft: Key.ARROW_LEFT, ArrowRight: Key.ARROW_RIGHT,
  PageUp: Key.PAGE_UP, PageDown: Key.PAGE_DOWN, Backslash: '\\', Minus: '-', Equal: '=', Semicolon: ';',
};
for (let i = 1; i <= 12; i++) WEBDRIVER_KEYS[`F${i}`] = Key[`F${i}`];
function webDriverKey(name) {
  if (WEBDRIVER_KEYS[name]) return WEBDRIVER_KEYS[name];
  if (/^Key[A-Z]$/.test(name)) return name.slice(3).toLowerCase();
  if (/^Digit[0-9]$/.test(name)) return name.slice(5);
  return name;
}

class WebDriverPage extends BasePage {
  constructor(session, driver, origin, size, chrome) {
    super();
    Object.assign(this, { session, driver, origin, chrome });
    this.browser = session.name;
    this.touch = false;
    this.size = size;
  }
  get url() { return this.origin.url; }
  async goto(query = '') { await this.driver.get(this.origin.url + query); }
  async reload() { await this.driver.navigate().refresh(); }
  // The X server applies a new window size after the command has answered: the page is used once its
  // window shows that size.
  async setViewport(width, height) {
    await this.driver.manage().window().setRect({ x: 0, y: 0, width, height: height + this.chrome });
    let got = [];
    for (const deadline = Date.now() + 5000; Date.now() < deadline; await sleep(20)) {
      got = await this.driver.executeScript('return [innerWidth, innerHeight]');
      if (got[0] === width && got[1] === height) return;
    }
    throw new Error(`the window shows ${got.join('×')}, not ${width}×${height}`);
  }
  async evaluate(fn, ...args) {
    const r = await this.driver.executeAsyncScript(`const done = arguments[arguments.length - 1];
      Promise.resolve().then(() => ${callSource(fn, args)})
        .then((v) => done({ v: v === undefined ? null : v }), (e) => done({ e: String(e && e.stack || e) }));`);
    if (r && r.e !== undefined) throw new Error(r.e);
    return r.v;
  }
  async waitFor(fn, arg, timeout = 20000) {
    const deadline = Date.now() + timeout;
    for (;;) {
      if (await this.evaluate(fn, ...(arg === undefined ? [] : [arg])).catch(() => false)) return;
      if (Date.now() > deadline) throw new Error(`waiting for ${fn} timed out`);
      await sleep(20);
    }
  }
  async press(chord) {
    const keys = chord.split('+').map(webDriverKey);
    const a = this.driver.actions({ async: true });
    for (const k of keys) a.keyDown(k);
    for (const k of keys.reverse()) a.keyUp(k);
    await a.perform();
  }
  async type(text) {
    const a = this.driver.actions({ async: true });
    for (const ch of text) {
      const k = ch === '\n' ? Key.ENTER : ch;
      a.keyDown(k).keyUp(k);
    }
    await a.perform();
  }
  // WebDriver has no input method: the insertion it commits is made by the editing command that does the same.
  async commitText(text) {
    await this.evaluate((t) => document.execCommand('insertText', false, t), text);
  }
  async click(selector) {
    await this.session.waitForVisible(this, selector);
    const box = await this.box(selector);
    await this.tapAt(box.x + box.width / 2, box.y + box.height / 2);
  }
  async tapAt(x, y) {
    await this.driver.actions({ async: true }).move({ x: Math.round(x), y: Math.round(y) }).press().release().perform();
  }
  async chooseFile(button, input, file) {
    await (await this.driver.findElement({ css: input })).sendKeys(file);
  }
  async screenshotPng() { return Buffer.from(await this.driver.takeScreenshot(), 'base64'); }
  async close() { await this.driver.get('about:blank').catch(() => {}); }
}

async function launchWebKit() {
  const x = await startXvfb();
  // MiniBrowser's toolbar would keep the window wider than a phone: it is drawn tiny.
  const config = mkdtempSync(path.join(os.tmpdir(), 'kazoru-webkit-'));
  mkdirSync(path.join(config, 'gtk-3.0'));
  writeFileSync(path.join(config, 'gtk-3.0', 'gtk.css'),
    '* { min-width: 0; min-height: 0; padding: 0; margin: 0; font-size: 4px; }\n');
  const port = await freePort();
  const driverProcess = spawn(EXECUTABLES.webkitDriver, [`--port=${port}`],
    { env: { ...process.env, DISPLAY: x.display, XDG_CONFIG_HOME: config, XDG_DATA_HOME: config, XDG_CACHE_HOME: config },
      stdio: 'ignore' });
  for (let i = 0; i < 200; i++) {
    const up = await new Promise((r) => {
      const c = net.connect(port, '127.0.0.1', () => { c.end(); r(true); });
      c.on('error', () => r(false));
    });
    if (up) break;
    await sleep(50);
  }
  const driver = await new Builder().usingServer(`http://127.0.0.1:${port}`).withCapabilities({
    browserName: 'MiniBrowser',
    'webkitgtk:browserOptions': { binary: EXECUTABLES.miniBrowser, args: ['--automation'] },
  }).build();
  await driver.manage().setTimeouts({ script: 60000, pageLoad: 60000 });
  await driver.get('about:blank');
  const [outer, inner] = await driver.executeScript('return [outerHeight, innerHeight]');
  const chrome = outer - inner;
  return {
    features: FEATURES.webkit,
    async newPage(session, origin, { width, height }) {
      const p = new WebDriverPage(session, driver, origin, [width, height], chrome);
      await p.setViewport(width, height);
      return p;
    },
    async close() {
      await driver.quit().catch(() => {});
      driverProcess.kill();
      x.close();
      rmSync(config, { recursive: true, force: true });
    },
  };
}

// ---------------------------------------------------------------- the session: one browser, many pages
class Session {
  constructor(name, engine) {
    this.name = name;
    this.engine = engine;
    this.features = engine.features;
    this.origins = [];
  }

  // A page at width × height on an origin of its own, opened and ready: touch where the browser offers it;
  // beforeLoad(arg) runs before the page's own scripts on every load of that origin; server holds the test
  // server's options for the origin (serve.mjs: a slow line, requests held).
  async open({ width = 1024, height = 768, touch = false, beforeLoad = null, arg = null, query = '', wait = true,
    server = {} } = {}) {
    const scripts = [RECORDER];
    if (beforeLoad) scripts.push(callSource(beforeLoad, [arg]));
    const origin = await serve(SITE, { ...server, inject: scripts.map((s) => `<script>${s}</script>`).join('') });
    this.origins.push(origin);
    const page = await this.engine.newPage(this, origin, { width, height, touch: touch && this.features.touch });
    await page.goto(query);
    if (wait) await page.ready();
    return page;
  }

  async waitForVisible(page, selector, timeout = 20000) {
    await page.waitFor((s) => {
      const e = document.querySelector(s);
      return !!e && e.getClientRects().length > 0 && getComputedStyle(e).visibility !== 'hidden';
    }, selector, timeout);
  }

  async close() {
    await this.engine.close();
    for (const o of this.origins) await o.close();
  }
}

export async function startSession(name = 'chromium') {
  const engine = name === 'webkit' ? await launchWebKit() : await launchPuppeteer(name);
  return new Session(name, engine);
}

// Runs describe(name) once per browser of the run, with the session started before its tests and closed
// after them: forEachBrowser({ describe, before, after }, (b) => { test(...) }); b.session is the session,
// b.features what the browser offers.
export function forEachBrowser({ describe, before, after }, body) {
  for (const name of BROWSERS) {
    describe(name, () => {
      const b = { name, session: null, features: FEATURES[name] };
      before(async () => { b.session = await startSession(name); });
      after(async () => { await b.session?.close(); });
      body(b);
    });
  }
}
