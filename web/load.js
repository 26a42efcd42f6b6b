// Bringing the program (kazoru.js and kazoru.wasm) into the page: the download the page's head started is
// taken over, unpacked as it arrives where it came packed (a server that does not compress still sends
// few bytes), compiled while it streams in, and watched: no byte for a while is a stalled download, which
// fails as a refused one does, so that the page can say so and try again.

// The packed file starts with gzip's two bytes; a server that unpacked it on the way (Content-Encoding)
// hands over the program itself.
const isGzip = (bytes) => bytes.length >= 2 && bytes[0] === 0x1f && bytes[1] === 0x8b;

// Fails with a stall when progress() is not called for ms milliseconds; abort() is told first.
function watchdog(ms, abort) {
  let timer = 0;
  let fail = null;
  const stalled = new Promise((_, reject) => { fail = reject; });
  stalled.catch(() => {});
  const progress = () => {
    clearTimeout(timer);
    timer = setTimeout(() => {
      if (abort) abort.abort();
      fail(new Error('stalled'));
    }, ms);
  };
  progress();
  return { stalled, progress, stop: () => clearTimeout(timer) };
}

// The body as a stream of the program's bytes, unpacked where it came packed; every chunk is progress.
async function programStream(response, progress) {
  const reader = response.body.getReader();
  const first = await reader.read();
  progress();
  const head = first.done ? new Uint8Array(0) : first.value;
  const body = new ReadableStream({
    start(controller) { if (head.length) controller.enqueue(head); },
    async pull(controller) {
      const { done, value } = await reader.read();
      progress();
      if (done) controller.close();
      else controller.enqueue(value);
    },
    cancel(reason) { return reader.cancel(reason); },
  });
  return isGzip(head) ? body.pipeThrough(new DecompressionStream('gzip')) : body;
}

async function compile(response, imports, progress, kept) {
  if (!response.ok) throw new Error(`HTTP ${response.status}`);
  // The service worker's unpacked copy is compiled straight from its response, so that the browser can keep
  // the compiled code for the next visit.
  const type = response.headers.get('Content-Type') || '';
  if (kept && WebAssembly.instantiateStreaming && type.startsWith('application/wasm')) {
    return WebAssembly.instantiateStreaming(response, imports);
  }
  const stream = await programStream(response, progress);
  const program = new Response(stream, { headers: { 'Content-Type': 'application/wasm' } });
  if (WebAssembly.instantiateStreaming) return WebAssembly.instantiateStreaming(program, imports);
  return WebAssembly.instantiate(await program.arrayBuffer(), imports);
}

function loadScript(src) {
  return new Promise((resolve, reject) => {
    const s = document.createElement('script');
    s.src = src;
    s.onload = resolve;
    s.onerror = () => reject(new Error(`${src} not fetched`));
    document.head.append(s);
  });
}

// The started module (createKazoru's), or a failure once the download failed or stalled.
export async function loadProgram(boot, moduleOptions) {
  const dog = watchdog(boot.stallMs, null);
  try {
    if (typeof createKazoru !== 'function') await Promise.race([loadScript('kazoru.js'), dog.stalled]);
    dog.progress();
    // The program the page's head compiled already, else its download (asked for again on a second try).
    const compiled = boot.compiled;
    boot.compiled = null;
    let response = boot.response;
    boot.response = null;
    if (!response && !compiled) response = boot.fetch();
    const abort = boot.abort;
    const stalledOrAborted = dog.stalled.catch((e) => { if (abort) abort.abort(); throw e; });
    let failLoad = null;
    const failed = new Promise((_, reject) => { failLoad = reject; });
    const started = createKazoru({
      ...moduleOptions,
      instantiateWasm(imports, done) {
        const instantiated = compiled
          ? compiled.then((module) => WebAssembly.instantiate(module, imports).then((instance) => ({ instance, module })))
          : Promise.race([response, stalledOrAborted]).then((r) => compile(r, imports, dog.progress, boot.kept));
        Promise.race([instantiated, stalledOrAborted])
          .then((r) => { dog.stop(); done(r.instance, r.module); }, failLoad);
        return {};
      },
    });
    return await Promise.race([started, failed, stalledOrAborted]);
  } finally {
    dog.stop();
  }
}

// The keys and taps kept while the program was loading, given to the page in order: each key goes to the
// element that has the caret, as the keyboard would send it, and a character the page leaves alone is
// typed into the field there; each tap is the button's click.
export function replayEarly(boot) {
  removeEventListener('keydown', boot.key, true);
  removeEventListener('click', boot.tap, true);
  const events = boot.events.splice(0);
  // A tap kept across a reload is its button's place among the buttons kept.
  const buttons = boot.taps ? document.querySelectorAll(boot.taps) : [];
  for (const ev of events) {
    if (ev.tap !== undefined) {
      buttons[ev.tap]?.click();
      continue;
    }
    if (ev.button) {
      ev.button.click();
      continue;
    }
    const target = document.activeElement || document.body;
    const e = new KeyboardEvent('keydown', { ...ev, bubbles: true, cancelable: true });
    target.dispatchEvent(e);
    if (e.defaultPrevented) continue;
    const field = document.activeElement;
    if (!(field instanceof HTMLInputElement || field instanceof HTMLTextAreaElement)) continue;
    if (ev.key === 'Enter' && field instanceof HTMLInputElement && field.form) {
      field.form.requestSubmit();
    } else if (ev.key.length === 1 && !ev.ctrlKey && !ev.altKey && !ev.metaKey) {
      field.setRangeText(ev.key, field.selectionStart ?? field.value.length, field.selectionEnd ?? field.value.length, 'end');
      field.dispatchEvent(new Event('input', { bubbles: true }));
    } else if (ev.key === 'Backspace' && field.selectionStart > 0) {
      const at = field.selectionStart === field.selectionEnd ? field.selectionStart - 1 : field.selectionStart;
      field.setRangeText('', at, field.selectionEnd, 'end');
      field.dispatchEvent(new Event('input', { bubbles: true }));
    }
  }
  return events.length;
}

// Keys and keypad taps held while a view the page brings in later (views.js) is still coming: from the
// moment it is asked for they no longer reach the screen behind it, and once it is open they are given
// to it, in order, as the keys of the program's load are. The result is the view's own promise.
export function holdInputUntil(opened) {
  const held = window.kazoruBoot.keeper({ events: [] }, '#panel button');
  const release = () => { replayEarly(held); };
  return opened.then((v) => { release(); return v; }, (e) => { release(); throw e; });
}
