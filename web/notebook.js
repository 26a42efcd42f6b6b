// The notebook in the browser: the 50-line page over the same C++ model as the desktop's notebook window.
// This file draws the sheet's drawing list, routes keys and taps to the model, shows the line editor, the
// title box and the page editor, uploads and downloads .siki files, prints the A4 sheets through the
// browser's print dialog, and keeps the open page in IndexedDB after every change.

import { swipeToScroll } from './touch.js';
import { openModal } from './modal.js';
import { withBytes } from './wasm.js';
import { databaseOpener } from './idb.js';

// WebNoteCommand's order in src/web/WebNotebook.cpp.
export const NOTE_COMMANDS = ['AddNew', 'EditSelected', 'DeleteSelected', 'DeleteAnswer', 'CalculateSelected',
  'CalculateAll', 'DeleteAllAnswers', 'CopySelected', 'SelectPrevious', 'SelectNext', 'Restore', 'Clear',
  'CheckWorking'];

const DB_NAME = 'kazoru';
const STORE = 'notebook';
const KEY = 'page';
const db = databaseOpener(DB_NAME, STORE);

// The page kept from the last visit, read from the browser's storage (null: none, or none could be read).
// The page asks for it as soon as its script runs, so that the read runs beside the program's start.
let keptPage = null;
export function readKeptPage() {
  keptPage ??= db().then((d) => new Promise((resolve, reject) => {
    const req = d.transaction(STORE, 'readonly').objectStore(STORE).get(KEY);
    req.onsuccess = () => resolve(req.result || null);
    req.onerror = () => reject(req.error);
  })).catch(() => null);
  return keptPage;
}
const UNSAVED_MARK = '（ファイルに未保存）';

export function installNotebook({ M, run, persist, drawList, tell, focusPage, views }) {
  const $ = (id) => document.getElementById(id);
  const K = {
    command: M.cwrap('kz_nb_command', 'number', ['number']),
    key: M.cwrap('kz_nb_key', 'string', ['number', 'number']),
    select: M.cwrap('kz_nb_select', null, ['number']),
    setLine: M.cwrap('kz_nb_set_line', 'number', ['string']),
    setTitle: M.cwrap('kz_nb_set_title', null, ['string']),
    setPage: M.cwrap('kz_nb_set_page', 'number', ['string']),
    setPitch: M.cwrap('kz_nb_set_pitch', 'number', ['number']),
    setFlags: M.cwrap('kz_nb_set_flags', null, ['number', 'number']),
    askReplace: M.cwrap('kz_nb_ask_replace', 'number', ['number']),
    open: M.cwrap('kz_nb_open', 'number', ['number', 'number', 'string']),
    save: M.cwrap('kz_nb_save', 'number', ['string']),
    resultLength: M.cwrap('kz_nb_result_length', 'number', []),
    paint: M.cwrap('kz_nb_paint', 'string', ['number', 'number', 'number']),
    print: M.cwrap('kz_nb_print', 'string', []),
    sheetWidth: M.cwrap('kz_nb_sheet_width', 'number', []),
    sheetHeight: M.cwrap('kz_nb_sheet_height', 'number', []),
    state: M.cwrap('kz_nb_state', 'string', []),
    keep: M.cwrap('kz_nb_keep', 'number', []),
    takeBack: M.cwrap('kz_nb_take_back', 'number', ['number', 'number']),
    keepFailedText: M.cwrap('kz_nb_keep_failed_text', 'string', []),
  };
  const view = $('notebook');
  const canvas = $('noteSheet');
  const ctx = canvas.getContext('2d');
  const nb = window.kazoru.notebook = {
    K, state: null, shown: false, scroll: 0, timings: {}, keepWrites: 0, keepFailures: 0, keepTold: false,
    lastSave: null, unsavedMark: UNSAVED_MARK,
  };

  const resultBytes = (p) => (p ? M.HEAPU8.slice(p, p + K.resultLength()) : null);

  // ---- Drawing ----
  function paint() {
    if (!nb.shown) return;
    // The page's width at least, the screen's when that is wider.
    const w = Math.max(canvas.parentElement.clientWidth, K.sheetWidth());
    if (canvas.style.width !== `${w}px`) canvas.style.width = `${w}px`;
    const h = canvas.clientHeight;
    const dpr = window.devicePixelRatio || 1;
    if (canvas.width !== Math.round(w * dpr) || canvas.height !== Math.round(h * dpr)) {
      canvas.width = Math.round(w * dpr);
      canvas.height = Math.round(h * dpr);
    }
    const list = K.paint(w, h, nb.scroll);
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.clearRect(0, 0, canvas.width, canvas.height);
    drawList(list, ctx, dpr);
    nb.ops = list;
    refresh();
  }

  function refresh() {
    const s = nb.state = JSON.parse(K.state());
    $('noteCaption').textContent = `ノート画面 [ ${s.fileName || '新しいノート'} ]${s.modified && s.needsKeeping ? UNSAVED_MARK : ''}`;
    $('notePitch').value = s.pitch;
    $('noteEqualBreak').checked = s.equalBreak;
    $('noteAnswerBlank').checked = s.answerBlank;
  }

  // Every action on the page: run through the screen's runner (messages, questions repeated with their
  // answers), repainted, and the page kept after the key is handled.
  function act(fn) {
    run(() => {
      const t0 = performance.now();
      fn();
      nb.lastActionMs = performance.now() - t0;
      paint();
      scheduleKeep();
    });
  }

  function command(name) {
    let edit = 0;
    act(() => { edit = K.command(NOTE_COMMANDS.indexOf(name)); });
    if (edit) editLine();
  }

  // ---- The line editor, the title box and the page editor ----
  // Each is answered inside the key or tap that closes it (modal.js), so the next line's key finds the
  // page as the answer left it.
  function editLine() {
    const dlg = $('noteLineBox');
    const s = nb.state;
    const input = dlg.querySelector('input');
    input.value = s.selected ? s.lines[s.selected - 1] : '';
    dlg.querySelector('.lineNo').textContent = `${s.selected} 問目`;
    openModal(dlg, { focus: input, answered: (value) => {
      if (value === 'ok') act(() => K.setLine(input.value));
      canvas.focus();
    } });
  }

  function editTitle() {
    const dlg = $('noteTitleBox');
    const input = dlg.querySelector('input');
    input.value = nb.state.title;
    openModal(dlg, { focus: input, answered: (value) => {
      if (value === 'ok') act(() => K.setTitle(input.value));
      canvas.focus();
    } });
  }

  function editPage() {
    const dlg = $('notePageBox');
    const area = dlg.querySelector('textarea');
    area.value = nb.state.lines.join('\n');
    openModal(dlg, { focus: area, answered: (value) => {
      if (value === 'ok') act(() => K.setPage(area.value));
      canvas.focus();
    } });
  }

  // ---- Files: upload and download ----
  function download(bytes, name) {
    const url = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
    const a = document.createElement('a');
    a.href = url;
    a.download = name;
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
  }

  function baseName(name) { return String(name || '').split(/[\\/]/).pop(); }

  // Returns true when the page went into a download.
  function save() {
    let saved = false;
    act(() => {
      const name = baseName(nb.state && nb.state.fileName) || 'ノート.siki';
      const t0 = performance.now();
      const bytes = resultBytes(K.save(name));
      nb.timings.save = performance.now() - t0;
      if (!bytes) return;
      nb.lastSave = { name: baseName(JSON.parse(K.state()).fileName), bytes };
      download(bytes, nb.lastSave.name);
      saved = true;
    });
    return saved;
  }

  function openFile() {
    act(() => {
      const a = K.askReplace(0);
      if (a < 0) return;
      if (a === 1 && !save()) return;
      $('noteFile').click();
    });
  }

  function clearPage() {
    act(() => {
      const a = K.askReplace(1);
      if (a < 0) return;
      if (a === 1 && !save()) return;
      K.command(NOTE_COMMANDS.indexOf('Clear'));
    });
  }

  async function fileChosen(e) {
    const file = e.target.files[0];
    e.target.value = '';
    if (!file) return;
    const bytes = new Uint8Array(await file.arrayBuffer());
    openBytes(bytes, file.name);
  }

  function openBytes(bytes, name) {
    nb.scroll = 0;
    act(() => {
      const t0 = performance.now();
      withBytes(M, bytes, (p, n) => K.open(p, n, name));
      nb.timings.open = performance.now() - t0;
    });
  }

  // ---- Printing: the A4 sheets as pictures in a print-only element ----
  function preparePrint() {
    const holder = $('notePrint');
    holder.textContent = '';
    const w = K.sheetWidth(), h = K.sheetHeight();
    const scale = 3;
    for (const list of K.print().split('P\n').slice(0, -1)) {
      const c = document.createElement('canvas');
      c.width = w * scale;
      c.height = h * scale;
      const g = c.getContext('2d');
      g.fillStyle = '#ffffff';
      g.fillRect(0, 0, c.width, c.height);
      drawList(list, g, scale);
      const img = document.createElement('img');
      img.src = c.toDataURL('image/png');
      img.alt = 'ノートの印刷';
      holder.appendChild(img);
    }
    document.body.classList.add('printNote');
    return holder.children.length;
  }
  function print() {
    preparePrint();
    window.print();
  }
  window.addEventListener('afterprint', () => document.body.classList.remove('printNote'));

  // ---- Keeping the page in IndexedDB ----

  function keepFailed() {
    nb.keepFailures++;
    if (nb.keepTold) return;
    nb.keepTold = true;
    // Told after the editor in use is closed, so that it does not take the pupil's keys.
    const m = { kind: 'message', caption: 'ご注意！', text: K.keepFailedText(), buttons: 'ok' };
    const later = () => (document.querySelector('dialog[open]') ? setTimeout(later, 200) : tell(m));
    later();
  }

  // The copy is made and written after the key was handled, never on its path.
  let keepTimer = 0;
  let lastKept = null;
  // Compared byte by byte: joining the bytes into a text to compare took as long as the rest of the copy.
  const sameBytes = (a, b) => {
    if (!a || a.length !== b.length) return false;
    for (let i = 0; i < a.length; i++) if (a[i] !== b[i]) return false;
    return true;
  };
  function scheduleKeep() {
    if (keepTimer) return;
    keepTimer = setTimeout(keepNow, 0);
  }
  async function keepNow() {
    keepTimer = 0;
    const t0 = performance.now();
    const p = K.keep();
    const bytes = M.HEAPU8.slice(p, p + K.resultLength());
    const same = sameBytes(lastKept, bytes);
    nb.lastKeepMs = performance.now() - t0;
    if (same) return;
    lastKept = bytes;
    try {
      const d = await db();
      await new Promise((resolve, reject) => {
        const tx = d.transaction(STORE, 'readwrite');
        if (bytes.length) tx.objectStore(STORE).put(bytes, KEY);
        else tx.objectStore(STORE).delete(KEY);
        tx.oncomplete = resolve;
        tx.onerror = () => reject(tx.error);
        tx.onabort = () => reject(tx.error);
      });
      nb.keepWrites++;
    } catch {
      lastKept = null;
      keepFailed();
    }
  }
  nb.keepNow = keepNow;

  async function takeBack() {
    // Nothing to take back when it cannot be read; the pupil is told when a page of theirs cannot be kept.
    const bytes = await readKeptPage();
    keptPage = null;
    if (!bytes || !bytes.length) return false;
    const ok = withBytes(M, new Uint8Array(bytes), (p, n) => K.takeBack(p, n)) === 1;
    if (ok) {
      lastKept = new Uint8Array(bytes);
      show();
    }
    return ok;
  }

  // ---- The view ----
  function show() {
    nb.shown = true;
    view.hidden = false;
    paint();
    canvas.focus();
  }
  function hide() {
    nb.shown = false;
    view.hidden = true;
    focusPage();
  }

  const PAGE_ACTIONS = {
    open: openFile, clear: clearPage, save, print, close: hide, title: editTitle, editPage, commandBox: () => $('noteCommands').toggleAttribute('hidden'),
    equalBreak: () => {}, answerBlank: () => {}, pitchUp: () => {}, pitchDown: () => {},
    scrollUp: () => scrollBy(-20), scrollDown: () => scrollBy(20),
    sheetMaker: () => openSheetMaker(),
  };

  // 問題づくり: the practice-sheet maker puts its problems on this page; it comes with the views the first
  // screen does not show, the first time it opens.
  let sheetMaker = null;
  function openSheetMaker() {
    sheetMaker ??= views().then((v) => v.installSheetMaker({ M, run: act, persist, drawList, notebook: nb }));
    return sheetMaker.then((maker) => maker.open());
  }

  function scrollBy(dy) {
    nb.scroll = Math.max(0, nb.scroll + dy);
    paint();
  }

  function onKeyDown(e) {
    if (!nb.shown) return;
    if ([...document.querySelectorAll('dialog[open]')].some((d) => d.matches(':modal'))) return;
    if (e.target instanceof HTMLInputElement || e.target instanceof HTMLTextAreaElement) return;
    const k = window.kazoru.toVirtualKey(e);
    if (!k) return;
    e.preventDefault();
    e.stopImmediatePropagation();
    let answer = '';
    act(() => { answer = K.key(k[0], k[1]); });
    if (answer === 'cmd 1') editLine();
    else if (PAGE_ACTIONS[answer]) PAGE_ACTIONS[answer]();
  }

  function lineAt(y) {
    const bands = nb.state ? nb.state.bands : [];
    const at = y + nb.scroll;
    for (let i = 0; i < bands.length; i++) if (at >= bands[i][0] && at < Math.max(bands[i][1], bands[i][0] + 1)) return i + 1;
    return 0;
  }

  // Taps and clicks select a line; a second tap (or a double click) on it opens the line editor.
  let lastTap = { line: 0, t: 0 };
  canvas.addEventListener('pointerup', (e) => {
    const r = canvas.getBoundingClientRect();
    const n = lineAt(e.clientY - r.top);
    const now = performance.now();
    if (n && n === lastTap.line && now - lastTap.t < 600) {
      act(() => K.select(n));
      editLine();
      lastTap = { line: 0, t: 0 };
      return;
    }
    lastTap = { line: n, t: now };
    act(() => K.select(n));
  });
  // The wheel scrolls the lines; a sideways wheel or trackpad scrolls the sheet as the browser does.
  canvas.addEventListener('wheel', (e) => {
    if (Math.abs(e.deltaX) > Math.abs(e.deltaY) || e.shiftKey) return;
    e.preventDefault();
    scrollBy(Math.sign(e.deltaY) * 20);
  }, { passive: false });
  swipeToScroll(canvas, scrollBy);

  for (const b of view.querySelectorAll('[data-note]')) {
    b.addEventListener('click', () => {
      const name = b.dataset.note;
      if (NOTE_COMMANDS.includes(name) && name !== 'Clear') command(name);
      else if (name === 'Clear') clearPage();
      else if (PAGE_ACTIONS[name]) PAGE_ACTIONS[name]();
      if (!document.querySelector('dialog[open]')) canvas.focus();
    });
  }
  $('notePitch').addEventListener('change', (e) => act(() => K.setPitch(Number(e.target.value))));
  const flags = () => act(() => K.setFlags($('noteEqualBreak').checked ? 1 : 0, $('noteAnswerBlank').checked ? 1 : 0));
  $('noteEqualBreak').addEventListener('change', flags);
  $('noteAnswerBlank').addEventListener('change', flags);
  $('noteFile').addEventListener('change', fileChosen);
  document.addEventListener('keydown', onKeyDown, true);
  window.addEventListener('resize', () => paint());
  // A page hidden or closed is written at once (the timer may never run).
  window.addEventListener('pagehide', () => { if (keepTimer) { clearTimeout(keepTimer); keepNow(); } });

  Object.assign(nb, { show, hide, paint, command, save, openBytes, preparePrint, print, takeBack, editLine });
  return { open: show, takeBack };
}
