// The calculation screen in the browser: starts the C++ model (kazoru.wasm), routes keys and taps to it,
// paints its drawing list on the page canvas, and shows its status line, messages, notice box and windows.
import { withBytes } from './wasm.js';
import { toVirtualKey, letterKey, VK, SHIFT, ALT, CTRL } from './keys.js';
import { buildPanel } from './panel.js';
import { loadSettings, saveSettings, exportSettings, importSettings } from './settings.js';
import { installDialogs } from './dialogs.js';
import { openModal } from './modal.js';
import { loadProgram, replayEarly, holdInputUntil } from './load.js';
// The notebook view (notebook.js).
import { installNotebook, readKeptPage } from './notebook.js';
import { swipeToScroll } from './touch.js';
import { installHalfWidthFields } from './fields.js';
import { svgOf } from './printsheet.js';
import { assignmentCode } from './address.js';

const FONT_FAMILY = 'KazoruGothic';
// A character the bundled subset lacks (a pupil's own kana or kanji) comes from a Japanese system font.
const FONT_STACK = `${FONT_FAMILY}, "IPAGothic", "Hiragino Sans", "Hiragino Kaku Gothic ProN", "BIZ UDGothic", "Yu Gothic", `
  + '"Meiryo", "Noto Sans CJK JP", "Noto Sans JP", "Droid Sans Japanese", monospace';
const SCROLL_STEP = 4;
// ScreenCommand's order in the model.
const COMMANDS = ['FontDialog', 'SoinsuuPre', 'JunkanSyori', 'ToggleBaseMode', 'BaseConvert', 'DecimalToFraction',
  'ToSyousuu', 'ToMixed', 'ToImproper', 'YakuProcDsp', 'SolveLine', 'CopyAnswer', 'PasteAnswer', 'ViewAnswer',
  'InputPanelSwitch', 'OpenConditions', 'OpenNotebook', 'OpenSubstitution', 'OpenMemo', 'FocusToolWindow',
  'OpenExpressionEditor', 'OpenProcessSettings', 'CloseInputPanel', 'PrintLine', 'Help', 'HomePage', 'VersionBox'];

const $ = (id) => document.getElementById(id);
const canvas = $('page');
const ctx = canvas.getContext('2d');
const measureCtx = document.createElement('canvas').getContext('2d');

// The desktop draws at the even pixel size nearest to the point size at 96 pixels per inch.
export function pixelSize(points) {
  const px = Math.max(1, points) * 96 / 72;
  return Math.max(2, Math.floor(px / 2 + 0.5) * 2);
}
const fontOf = (points, bold) => `${bold ? 'bold ' : ''}${pixelSize(points)}px ${FONT_STACK}`;
// The line height the desktop measures for the face: its Windows ascent and descent (1802 and 401 of 2048
// units in IPAGothic, kept in the subset), each rounded at the pixel size, as the desktop's font engine does.
const UNITS_PER_EM = 2048, WIN_ASCENT = 1802, WIN_DESCENT = 401;
const ascents = new Map();
function metrics(points) {
  let m = ascents.get(points);
  if (!m) {
    const px = pixelSize(points);
    const a = Math.round(px * WIN_ASCENT / UNITS_PER_EM);
    const d = Math.round(px * WIN_DESCENT / UNITS_PER_EM);
    m = { ascent: a, height: a + d };
    ascents.set(points, m);
  }
  return m;
}
const measure = {
  width(points, bold, text) {
    measureCtx.font = fontOf(points, false);
    return Math.round(measureCtx.measureText(text).width);
  },
  height(points) { return metrics(points).height; },
};

const hex = (h) => '#' + h;
const bgrToCss = (bgr) => `rgb(${bgr & 255},${(bgr >> 8) & 255},${(bgr >> 16) & 255})`;

// Draws the model's drawing list: "T x y x2 y2 size bold color brush text", "L x y x2 y2 pen width",
// "F x y x2 y2 brush". With a clip box only the operations that touch it are drawn, inside it.
function drawList(list, target, dpr, clip = null) {
  drawRows(list.split('\n'), target, dpr, clip);
}
function drawRows(rows, target, dpr, clip) {
  target.save();
  target.setTransform(dpr, 0, 0, dpr, 0, 0);
  target.textBaseline = 'alphabetic';
  if (clip) {
    target.beginPath();
    target.rect(clip[0], clip[1], clip[2] - clip[0], clip[3] - clip[1]);
    target.clip();
    target.clearRect(clip[0], clip[1], clip[2] - clip[0], clip[3] - clip[1]);
  }
  // The context's font and colours are set only when they change (each setting is parsed again).
  let font = '', fill = '', stroke = '', width = -1;
  const fillWith = (c) => { if (c !== fill) target.fillStyle = fill = c; };
  for (const row of rows) {
    if (!row) continue;
    const f = row.split('\t');
    const x = +f[1], y = +f[2], x2 = +f[3], y2 = +f[4];
    if (clip && !touches(rowBox(f), clip)) continue;
    if (f[0] === 'F') {
      fillWith(hex(f[5]));
      target.fillRect(x, y, x2 - x, y2 - y);
    } else if (f[0] === 'L') {
      const w = Math.max(1, +f[6]);
      if (hex(f[5]) !== stroke) target.strokeStyle = stroke = hex(f[5]);
      if (w !== width) target.lineWidth = width = w;
      target.lineCap = 'square';
      const o = w % 2 ? 0.5 : 0;
      target.beginPath();
      target.moveTo(x + o, y + o);
      target.lineTo(x2 + o, y2 + o);
      target.stroke();
    } else if (f[0] === 'T') {
      const size = +f[5], bold = f[6] === '1', text = f.slice(9).join('\t');
      fillWith(hex(f[8]));
      target.fillRect(x, y, x2 - x, y2 - y);
      fillWith(hex(f[7]));
      const base = y + metrics(size).ascent;
      const wanted = fontOf(size, bold);
      if (wanted !== font) target.font = font = wanted;
      if (!bold) {
        target.fillText(text, x, base);
      } else {
        // Each character at the place the regular text gives it, as on the desktop.
        let before = '';
        for (const ch of text) {
          target.fillText(ch, x + measure.width(size, false, before), base);
          before += ch;
        }
      }
    }
  }
  target.restore();
}

// The box an operation may paint in (text may reach a little past its cell), [left, top, right, bottom].
const INK_MARGIN = 4;
function rowBox(f) {
  const x = +f[1], y = +f[2], x2 = +f[3], y2 = +f[4];
  if (f[0] === 'L') {
    const w = Math.max(1, +f[6]) + 1;
    return [Math.min(x, x2) - w, Math.min(y, y2) - w, Math.max(x, x2) + w, Math.max(y, y2) + w];
  }
  const m = f[0] === 'T' ? INK_MARGIN : 0;
  return [Math.min(x, x2) - m, Math.min(y, y2) - m, Math.max(x, x2) + m, Math.max(y, y2) + m];
}
const touches = (a, b) => a[0] < b[2] && b[0] < a[2] && a[1] < b[3] && b[1] < a[3];

// The box where two drawing lists differ (null: the same operations), from the operations only one holds.
function changedBox(before, after) {
  const count = new Map();
  for (const r of before) if (r) count.set(r, (count.get(r) || 0) + 1);
  let box = null;
  const grow = (r) => {
    const b = rowBox(r.split('\t'));
    box = box ? [Math.min(box[0], b[0]), Math.min(box[1], b[1]), Math.max(box[2], b[2]), Math.max(box[3], b[3])] : b;
  };
  for (const r of after) {
    if (!r) continue;
    const c = count.get(r);
    if (c) count.set(r, c - 1);
    else grow(r);
  }
  for (const [r, c] of count) if (c > 0) grow(r);
  return box;
}

// ---- The page's state, for the page itself and for tests ----
const app = window.kazoru = {
  ready: false, state: null, messages: [], lastPaintMs: 0, lastKeyMs: 0, startedAt: performance.now(),
  storageNote: null, settingsRead: false, reading: null, announced: '',
};

let K = null;  // the wasm module's functions
let M = null;  // the module
let lastAction = null;  // repeated when a question is answered
let cursorOn = false;
let panelShown = true;
let tools = null;  // the tool windows' dialogs (dialogs.js)
let notebook = null;  // the notebook view (notebook.js)
let assignment = null;  // the assignment view (assign.js), once an assignment was opened

// The views the first screen does not show (the pupil's assignment, the class summary, the practice-sheet
// maker: views.js) come in a script of their own when one first opens. A page opened from an assignment's
// link asks for it at once, beside the program.
let views = null;
function loadViews() {
  views ??= window.kazoruBoot.script('kazoru-views.js').then(() => window.kazoruViews, (e) => {
    views = null;  // asked for again the next time
    throw e;
  });
  return views;
}
if (assignmentCode(location.hash) !== null) loadViews().catch(() => {});

export function settingsBytes(old) {
  const p = withBytes(M, old, (ptr, len) => K.settingsBytes(ptr, len));
  return M.HEAPU8.slice(p, p + K.resultLength());
}

// A line longer than the screen widens the canvas (the area then scrolls sideways) in steps of this many
// pixels: a new canvas size costs the browser a new picture of the whole canvas (tens of milliseconds on a
// slow laptop), which a key on a long line would otherwise pay every time.
const WIDE_STEP = 512;
let lastList = null, lastRows = null, lastSize = '';
function paint() {
  const t0 = performance.now();
  const area = $('pageArea');
  // The model lays the page out for the width the screen shows; the canvas grows past it, and the area
  // scrolls sideways, when the drawing reaches further.
  const shown = area.clientWidth - ($('side').hidden ? 0 : $('side').offsetWidth);
  let h = canvas.clientHeight;
  K.resize(shown, h);
  let list = K.paint();
  let rows = list.split('\n');
  const right = drawingRight(rows);
  const w = right <= shown ? shown : shown + Math.ceil((right - shown) / WIDE_STEP) * WIDE_STEP;
  if (canvas.style.width !== `${w}px`) {
    canvas.style.width = `${w}px`;
    // A scroll bar that came or went changes the height.
    if (canvas.clientHeight !== h) {
      h = canvas.clientHeight;
      K.resize(shown, h);
      list = K.paint();
      rows = list.split('\n');
    }
  }
  const dpr = window.devicePixelRatio || 1;
  if (canvas.width !== Math.round(w * dpr) || canvas.height !== Math.round(h * dpr)) {
    canvas.width = Math.round(w * dpr);
    canvas.height = Math.round(h * dpr);
  }
  // Only what changed since the last picture is drawn again; a new size or font draws it all, on a
  // cleared canvas.
  const size = `${canvas.width}x${canvas.height}x${dpr}`;
  if (list !== lastList || size !== lastSize) {
    const box = lastRows && size === lastSize ? changedBox(lastRows, rows) : null;
    const clip = box && box[2] - box[0] < w * 0.9 ? box : null;
    if (!clip) {
      ctx.setTransform(1, 0, 0, 1, 0, 0);
      ctx.clearRect(0, 0, canvas.width, canvas.height);
    }
    drawRows(rows, ctx, dpr, clip);
    lastRows = rows;
  }
  lastList = list;
  lastSize = size;
  app.ops = list;
  app.state = JSON.parse(K.state());
  refresh();
  drawCursor(app.state.lineOpen);
  app.lastPaintMs = performance.now() - t0;
}

// The right edge of the text and rules of a drawing list (its fills span the page).
function drawingRight(rows) {
  let right = 0;
  for (const row of rows) {
    if (row[0] !== 'T' && row[0] !== 'L') continue;
    const f = row.split('\t', 4);
    right = Math.max(right, +f[1], +f[3]);
  }
  return Math.ceil(right) + 4;
}

// The cursor is moved by a transform and blinks by its visibility: neither makes the browser lay the page
// out again.
function drawCursor(on) {
  cursorOn = on && app.state && app.state.lineOpen;
  if (!$('cursor')) {
    const d = document.createElement('div');
    d.id = 'cursor';
    $('pageArea').appendChild(d);
  }
  const r = app.state.cursor;
  put('cursor', 'transform', `translate(${r.left}px, ${r.top}px)`);
  put('cursor', 'width', `${Math.max(0, r.right - r.left)}px`);
  put('cursor', 'height', `${Math.max(0, r.bottom - r.top)}px`);
  put('cursor', 'background', hex(r.color));
  put('cursor', 'visibility', cursorOn ? 'visible' : 'hidden');
}

const FULL = '０１２３４５６７８９';
const dateNumber = (n) => (n < 10 ? FULL[n] : String(n));
// Writes a property of an element only when it changes: an unchanged text written again would still make
// the browser lay out and paint that part of the page after every key.
const shown = new Map();
function put(id, prop, value) {
  let seen = shown.get(id);
  if (!seen) shown.set(id, seen = {});
  if (seen[prop] === value) return;
  seen[prop] = value;
  const e = $(id);
  if (prop === 'text') e.textContent = value;
  else if (prop === 'hidden') e.hidden = value;
  else e.style[prop] = value;
}
function refresh() {
  const s = app.state;
  menuSettings ??= [...document.querySelectorAll('#menus [data-setting]')].map((b) => b.dataset.setting);
  put('status', 'text', s.status);
  put('status', 'hidden', !s.settings.SBARDSP);
  put('strip', 'hidden', !s.settings.INPUTSTR_DSP);
  put('strip', 'text', s.inputString);
  put('side', 'hidden', !s.settings.WAKIGAKI);
  const now = new Date();
  put('month', 'text', dateNumber(now.getMonth() + 1));
  put('day', 'text', dateNumber(now.getDate()));
  const dow = now.getDay();
  put('weekday', 'text', ['(日)', '(月)', '(火)', '(水)', '(木)', '(金)', '(土)'][dow]);
  put('weekday', 'color', dow === 0 ? 'red' : dow === 6 ? 'blue' : 'black');
  put('goal', 'text', s.goal);
  put('goal', 'color', bgrToCss(s.goalColor));
  put('goal', 'fontSize', `${pixelSize(s.goalFontSize)}px`);
  // The menus' ticks and the keypad's fraction buttons are looked up and set only when what they show
  // changed, not at every key.
  const marks = { baseMode: s.baseMode, panel: panelShown, process: !!s.settings.PROCDSP };
  const ticks = JSON.stringify([marks, s.buttons, menuSettings.map((n) => !!s.settings[n])]);
  if (ticks === shownTicks) return;
  shownTicks = ticks;
  for (const b of document.querySelectorAll('[data-check]')) b.classList.toggle('checked', !!marks[b.dataset.check]);
  for (const b of document.querySelectorAll('#menus [data-setting]')) b.classList.toggle('checked', !!s.settings[b.dataset.setting]);
  for (const [key, name] of [['syou', '小S'], ['kari', '仮K'], ['obi', '帯T']]) {
    const b = document.querySelector(`#panel [data-caption="${name}"]`);
    if (b && b.disabled !== !s.buttons[key]) b.disabled = !s.buttons[key];
  }
}
// The settings the menus tick (read once: the menus are written in the page).
let menuSettings = null, shownTicks = '';

// ---- Messages, questions and the notice box: page dialogs, one at a time, never blocking ----
const dialogQueue = [];
// How many boxes wait behind the one shown (for the page's tests).
Object.defineProperty(app, 'dialogsWaiting', { get: () => dialogQueue.length });
function takeMessages() {
  const text = K.messages();
  const list = text === '[]' ? [] : JSON.parse(text);
  for (const m of list) {
    app.messages.push(m);
    if (m.kind === 'message' || m.kind === 'question') dialogQueue.push(m);
    else if (m.kind === 'notice') showNotice(m);
    else if (m.kind === 'command') pageCommand(m.text);
    else if (m.kind === 'beep') beep();
  }
  showNextDialog();
}

function showNextDialog() {
  const box = $('messageBox');
  if (box.open || !dialogQueue.length) return;
  const m = dialogQueue.shift();
  box.querySelector('.caption').textContent = m.caption;
  box.querySelector('.text').textContent = m.text;
  const buttons = box.querySelector('.buttons');
  buttons.textContent = '';
  const choices = { ok: [['ＯＫ', 0]], okcancel: [['ＯＫ', 0], ['キャンセル', 1]], yesno: [['はい', 2], ['いいえ', 3]],
    yesnocancel: [['はい', 2], ['いいえ', 3], ['キャンセル', 1]] }[m.buttons];
  for (const [label, value] of choices) {
    const b = document.createElement('button');
    b.textContent = label;
    b.value = String(value);
    buttons.appendChild(b);
  }
  // The caret goes back into a tool dialog that asked, else to the page.
  const back = document.activeElement && document.activeElement.closest && document.activeElement.closest('dialog.tool[open]')
    ? document.activeElement : null;
  // The answer is acted on inside the key or tap that gave it, and the next message follows at once, so
  // keys typed after it meet the page as the answer left it.
  openModal(box, { answered: (value) => {
    const answer = Number(value === null ? 1 : value);
    if (m.kind === 'question' && answer !== 1 && lastAction) {
      K.answer(answer);
      run(lastAction);
    }
    showNextDialog();
    if (!box.open) (back && back.isConnected ? back : canvas).focus();
  } });
}

// The notice box is drawn by the C++ as the desktop's (dialogs.js), its marked-up text laid out there.
const showNotice = (m) => tools.notice(m);

function beep() {
  try {
    const a = new AudioContext();
    const o = a.createOscillator();
    o.frequency.value = 880;
    o.connect(a.destination);
    o.start();
    o.stop(a.currentTime + 0.08);
  } catch { /* no sound on this device */ }
}

function pageCommand(name) {
  if (tools && tools.open(name)) return;
  if (name === 'processSettings') openSettingsDialog($('processSettings'));
  else if (name === 'font') openFontBox();
  else if (name === 'help') window.open('help/index.html', 'kazoru-help');
  else if (name === 'print') { if (preparePrintLine()) window.print(); }
  else if (name === 'notebook' && notebook) notebook.open();
  else if (name === 'inputPanel') togglePanel();
  else if (name === 'version') dialogQueue.push({ kind: 'message', caption: 'バージョン情報', text: '分数計算器『Kazoru』 Web版 1.0.0', buttons: 'ok' });
}

// The line with its process on an A4 sheet as the desktop prints it (vector, white paper), in the print-only
// element; nothing when there is no line (the pupil is told).
const A4_WIDTH = 794, A4_HEIGHT = 1123, A4_MARGIN = 48;  // half an inch, inside every printer's margin
function preparePrintLine() {
  const list = K.printLine();
  if (!list) {
    setTimeout(() => { takeMessages(); showNextDialog(); }, 0);
    return false;
  }
  $('notePrint').innerHTML = svgOf(list, A4_WIDTH, A4_HEIGHT, { fontStack: FONT_STACK, pixelSize, ascent: (p) => metrics(p).ascent, margin: A4_MARGIN });
  document.body.classList.add('printNote');
  return true;
}

function openSettingsDialog(dlg) {
  for (const input of dlg.querySelectorAll('[data-setting]')) {
    const v = K.getSetting(input.dataset.setting);
    if (input.type === 'checkbox') input.checked = v !== 0;
    else if (input.type === 'radio') input.checked = Number(input.value) === v;
    else input.value = v;
  }
  openModal(dlg, { answered: () => {
    for (const input of dlg.querySelectorAll('[data-setting]')) {
      if (input.type === 'radio' && !input.checked) continue;
      const v = input.type === 'checkbox' ? (input.checked ? 1 : 0) : Number(input.value);
      K.setSetting(input.dataset.setting, v);
    }
    persist();
    paint();
    canvas.focus();
  } });
}

// ﾌｫﾝﾄＦ and the menu's フォント: the size of the screen font (the face is the page's own), kept with the
// settings; Ctrl+plus, Ctrl+minus, Ctrl+0 and a pinch step through the same sizes.
const FONT_SIZES = [8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 28, 32, 36, 40, 48];
function openFontBox() {
  const dlg = $('fontBox');
  const field = dlg.querySelector('select');
  const sample = dlg.querySelector('.sample');
  if (!field.options.length) {
    for (const size of FONT_SIZES) field.add(new Option(String(size), String(size)));
    field.addEventListener('change', () => { sample.style.fontSize = `${pixelSize(Number(field.value))}px`; });
  }
  const now = K.getSetting('FONTSIZE');
  field.value = String(FONT_SIZES.filter((s) => s <= now).pop() || FONT_SIZES[0]);
  sample.style.fontSize = `${pixelSize(Number(field.value))}px`;
  openModal(dlg, { focus: field, answered: (value) => {
    if (value === 'ok') run(() => { K.setSetting('FONTSIZE', Number(field.value)); K.zoom(0); });
    if (!document.querySelector('dialog[open]')) canvas.focus();
  } });
}

function togglePanel() {
  panelShown = !panelShown;
  $('panel').hidden = !panelShown;
  document.body.classList.toggle('noPanel', !panelShown);
}

function persist() {
  const note = saveSettings((old) => settingsBytes(old));
  if (note) dialogQueue.push({ kind: 'message', caption: '注意!!', text: note, buttons: 'ok' });
}

// ---- Reading aloud and the announcements for screen readers ----
const VOICE_MISSING_TEXT = 'この端末には日本語の音声がないため、読み上げできません。';
const VOICE_MISSING_STATUS = '◆日本語の音声がないため、読み上げできません。';
const NOTHING_TO_READ = '◆読み上げる式がありません。';
let voiceMissingTold = false;

// The live region repeats what the pupil should hear: each answer, each refused key's message, each reading.
function announce(text) {
  app.announced = text;
  $('announce').textContent = text;
}

function japaneseVoice(synth) {
  const voices = (synth.getVoices && synth.getVoices()) || [];
  return voices.find((v) => String(v.lang || '').toLowerCase().startsWith('ja')) || null;
}

// Ctrl+R and 読R: speaks the current line (or its process) with a Japanese voice; a second press while it
// is still speaking stops it. A device without one is told once in a message box, later only in the live region.
function readAloud() {
  const synth = window.speechSynthesis;
  if (synth && (synth.speaking || synth.pending)) {
    synth.cancel();
    return;
  }
  const reading = app.reading = JSON.parse(K.readLine());
  if (!reading.kana) {
    announce(NOTHING_TO_READ);
    return;
  }
  const voice = synth && typeof SpeechSynthesisUtterance !== 'undefined' ? japaneseVoice(synth) : null;
  if (!voice) {
    announce(VOICE_MISSING_STATUS);
    if (!voiceMissingTold) {
      voiceMissingTold = true;
      const m = { kind: 'message', caption: 'ご報告！', text: VOICE_MISSING_TEXT, buttons: 'ok' };
      app.messages.push(m);
      dialogQueue.push(m);
      showNextDialog();
    }
    return;
  }
  const u = new SpeechSynthesisUtterance(reading.kana);
  u.lang = 'ja-JP';
  try { u.voice = voice; } catch { /* the language alone picks the voice */ }
  synth.speak(u);
  announce(reading.display);
}

// What Ctrl+G and Ctrl+Shift+G say about the pupil's working: each step's mark in words with its advice,
// then the hint when it is shown.
function stepsText(steps) {
  const rows = steps.marks.map((m, i) => `${i + 1}つ目の式 ${m} ${m === '○' ? '正しい' : 'まちがい'}${steps.advice[i] ? `。${steps.advice[i]}` : ''}`);
  if (steps.hintShown && steps.hint) rows.push(`ヒント ${steps.hintReading || steps.hint}`);
  return `途中式のチェック。${rows.join('。')}`;
}

// Every action of the pupil: run it, take the messages, repaint.
function run(action) {
  lastAction = action;
  const t0 = performance.now();
  const before = app.state;
  const settingsBefore = before && JSON.stringify(before.settings);
  action();
  takeMessages();
  paint();
  app.lastKeyMs = performance.now() - t0;
  const s = app.state;
  if (before && s.refusals > before.refusals) announce(s.status);
  else if (s.steps && JSON.stringify(s.steps) !== JSON.stringify(before && before.steps)) announce(stepsText(s.steps));
  else if (before && !s.lineOpen && s.line
    && (before.lineOpen || before.line !== s.line || before.processText !== s.processText)) {
    // A new answer, or the other method's process (F6): what the pupil hears is read again.
    announce(JSON.parse(K.readLine()).display);
  }
  // A key or a menu that changed a setting (F5, Ctrl+L …) is kept at once.
  if (settingsBefore && settingsBefore !== JSON.stringify(app.state.settings)) persist();
}

export function pressKey(vk, shift) {
  run(() => K.key(vk, shift));
}

function onKeyDown(e) {
  // Keys belong to a modal dialog, or to a tool dialog beside the keypad while it has the caret.
  if ([...document.querySelectorAll('dialog[open]')].some((d) => d.matches(':modal')) || (tools && tools.hasFocus())) return;
  if (e.target instanceof HTMLInputElement) return;
  const k = toVirtualKey(e);
  if (!k) return;
  const [vk, shift] = k;
  // The browser's own developer keys stay the browser's.
  if ((shift & CTRL) && (shift & SHIFT) && (vk === letterKey('I') || vk === letterKey('J'))) return;
  e.preventDefault();
  if (shift === CTRL && vk === letterKey('R')) {
    readAloud();
    return;
  }
  pressKey(vk, shift);
  if (shift & ALT && vk === letterKey('A')) run(() => K.command(COMMANDS.indexOf('OpenProcessSettings')));
}

function onWheel(e) {
  e.preventDefault();
  let notches = Math.trunc(e.deltaY / 100);
  if (!notches) notches = Math.sign(e.deltaY);
  run(() => K.scrollTo(app.state.scroll + notches * SCROLL_STEP * 10));
}

function bindMenus() {
  for (const b of document.querySelectorAll('#menus details button')) {
    b.addEventListener('click', () => {
      b.closest('details').open = false;
      if (b.dataset.key) pressKey(Number(b.dataset.key), Number(b.dataset.shift || 0));
      else if (b.dataset.cmd) run(() => K.command(COMMANDS.indexOf(b.dataset.cmd)));
      else if (b.dataset.setting) run(() => { K.setSetting(b.dataset.setting, app.state.settings[b.dataset.setting] ? 0 : 1); persist(); });
      else if (b.dataset.act === 'process') run(() => { K.toggleProcess(); persist(); });
      else if (b.dataset.act === 'remake') pressKey(VK.F1 + 5, 0);
      else if (b.dataset.act === 'equalKaigyo') run(() => K.toggleEqual());
      else if (b.dataset.act === 'panel') { togglePanel(); paint(); }
      else if (b.dataset.act === 'read') readAloud();
      else if (b.dataset.act === 'exportSettings') { persist(); exportSettings(); }
      else if (b.dataset.act === 'importSettings') $('importFile').click();
      else if (b.dataset.act === 'classSummary') openClassSummary();
      // A dialog the item opened keeps the caret.
      if (!document.activeElement || !document.activeElement.closest('dialog[open]')) canvas.focus();
    });
  }
  for (const d of document.querySelectorAll('#menus details')) {
    d.addEventListener('toggle', () => {
      if (d.open) for (const o of document.querySelectorAll('#menus details')) if (o !== d) o.open = false;
    });
  }
  $('importFile').addEventListener('change', async (e) => {
    const file = e.target.files[0];
    e.target.value = '';
    if (!file) return;
    const bytes = new Uint8Array(await file.arrayBuffer());
    const note = importSettings(bytes);
    if (note) {
      dialogQueue.push({ kind: 'message', caption: '注意!!', text: note, buttons: 'ok' });
    } else {
      run(() => withBytes(M, bytes, (p, n) => K.start(p, n)));
      persist();
    }
    showNextDialog();
  });
}

// The page's face (fonts/KazoruGothic.woff2): asked for once the program has come, so that on a slow line
// it does not share the bandwidth with the program, and waited for only briefly, and not at all when the
// page took over a second to come this far (the line is slow: the face would hold the pupil up further).
// A face that comes later has the page measured and drawn again in it (the device's Japanese face stands
// in until then).
const FONT_GRACE_MS = 250, SLOW_LINE_MS = 1000;
let pageFace = null;
function loadPageFace() {
  if (!pageFace) {
    if (typeof FontFace !== 'function') return Promise.resolve();
    pageFace = new FontFace(FONT_FAMILY, 'url(fonts/KazoruGothic.woff2)', { display: 'swap' });
    document.fonts.add(pageFace);
  }
  return pageFace.load().catch(() => {});
}

const mark = (name) => { if (performance.mark) performance.mark(`kazoru-${name}`); };

async function start() {
  const boot = window.kazoruBoot;
  boot.running = true;
  // The steps of the start, as marks of the page's performance timeline (for the load figures).
  mark('script');
  clearTimeout(boot.timer);
  // A script that came after the page's head had given up waiting for it takes over: the note that the
  // page could not load goes, and the program's own download says how it goes.
  if (!$('loadFailed').hidden) {
    $('loadFailed').hidden = true;
    $('loading').hidden = false;
  }
  // From the service worker's copy the face takes nothing from the program's bandwidth: asked for at once.
  if (boot.kept) loadPageFace();
  // The notebook's page kept from the last visit is read while the program starts.
  readKeptPage();
  try {
    M = await loadProgram(boot, { kazoruMeasure: measure });
  } catch (e) {
    app.loadError = String(e && e.message || e);
    boot.fail(() => start());
    return;
  }
  app.programMs = performance.now();
  mark('program');
  const fontReady = loadPageFace();
  let fontLate = false;
  // On a slow line the page goes on at once, without giving the browser's other tasks a turn first.
  if (performance.now() > SLOW_LINE_MS && pageFace && pageFace.status !== 'loaded') fontLate = true;
  else await Promise.race([fontReady, new Promise((r) => setTimeout(() => { fontLate = true; r(); }, FONT_GRACE_MS))]);
  if (fontLate) {
    fontReady.then(() => {
      if (!app.ready || pageFace.status !== 'loaded') return;
      M.ccall('kz_forget_text_measurements', null, [], []);
      app.paintWhole();
      if (app.notebook) app.notebook.paint();
    });
  }
  mark('face');
  K = {
    start: M.cwrap('kz_start', 'number', ['number', 'number']),
    resize: M.cwrap('kz_resize', null, ['number', 'number']),
    key: M.cwrap('kz_key', null, ['number', 'number']),
    char: M.cwrap('kz_char', 'number', ['number']),
    command: M.cwrap('kz_command', 'number', ['number']),
    clear: M.cwrap('kz_clear_line', null, []),
    restore: M.cwrap('kz_restore_line', 'number', []),
    backspace: M.cwrap('kz_backspace', 'number', []),
    toggleProcess: M.cwrap('kz_toggle_process', null, []),
    toggleEqual: M.cwrap('kz_toggle_equal_kaigyo', null, []),
    scrollTo: M.cwrap('kz_scroll_to', null, ['number']),
    paint: M.cwrap('kz_paint', 'string', []),
    state: M.cwrap('kz_state', 'string', []),
    messages: M.cwrap('kz_messages', 'string', []),
    readLine: M.cwrap('kz_read_line', 'string', []),
    answer: M.cwrap('kz_answer', null, ['number']),
    getSetting: M.cwrap('kz_get_setting', 'number', ['string']),
    setSetting: M.cwrap('kz_set_setting', 'number', ['string', 'number']),
    settingsBytes: M.cwrap('kz_settings_bytes', 'number', ['number', 'number']),
    resultLength: M.cwrap('kz_result_length', 'number', []),
    browserKeeps: M.cwrap('kz_browser_keeps', 'number', ['number', 'number']),
    browserKeys: M.cwrap('kz_browser_keys', 'string', []),
    printLine: M.cwrap('kz_print_line', 'string', []),
    deviceFontSize: M.cwrap('kz_device_font_size', 'number', ['number', 'number']),
    zoom: M.cwrap('kz_zoom', 'number', ['number']),
  };
  app.K = K;
  installHalfWidthFields(M);
  tools = installDialogs({ M, run, persist, paint, drawList, focusPage: () => canvas.focus(), state: () => app.state,
    command: (name) => run(() => K.command(COMMANDS.indexOf(name))) });
  // The notebook view; a page kept from the last visit comes back in it.
  const tell = (m) => { app.messages.push(m); dialogQueue.push(m); showNextDialog(); };
  notebook = installNotebook({ M, run, persist, drawList, focusPage: () => canvas.focus(), tell, views: loadViews });
  const { bytes, note } = loadSettings();
  app.settingsRead = withBytes(M, bytes || new Uint8Array(0), (p, n) => K.start(p, n)) === 1;
  // The type suits the device (larger on a tablet's tall page) until the pupil chooses a size.
  const homeSize = K.deviceFontSize(window.innerWidth, window.innerHeight);
  if (!app.settingsRead) {
    K.setSetting('FONTSIZE', homeSize);
    K.zoom(0);
  }
  if (note) {
    app.storageNote = note;
    dialogQueue.push({ kind: 'message', caption: '注意!!', text: note, buttons: 'ok' });
  }
  buildPanel($('panel'), {
    char: (c) => tools.keypadChar(c) || assignment?.keypadChar(c) || run(() => K.char(c.charCodeAt(0))),
    chars: (s) => tools.keypadChar(s) || assignment?.keypadChar(s) || run(() => { for (const c of s) K.char(c.charCodeAt(0)); }),
    command: (name) => run(() => K.command(COMMANDS.indexOf(name))),
    clear: () => assignment?.keypadClear() || run(() => K.clear()),
    restore: () => run(() => K.restore()),
    backspace: () => tools.keypadBackspace() || assignment?.keypadBackspace() || run(() => K.backspace()),
    read: () => readAloud(),
  });
  document.addEventListener('keydown', onKeyDown);
  canvas.addEventListener('wheel', onWheel, { passive: false });
  swipeToScroll(canvas, (dy) => run(() => K.scrollTo(app.state.scroll + dy)), (steps) => run(() => K.zoom(steps)));
  bindMenus();
  // Chromium fills the voice list only after it was asked for once.
  if (window.speechSynthesis && window.speechSynthesis.getVoices) window.speechSynthesis.getVoices();
  window.addEventListener('resize', () => paint());
  window.addEventListener('pagehide', persist);
  // The cursor blinks at the period of the conditions (◇ｶｰｿﾙ点滅周期).
  const blink = () => {
    if (app.state && app.state.lineOpen) drawCursor(!cursorOn);
    setTimeout(blink, tools.cursorPeriod());
  };
  setTimeout(blink, tools.cursorPeriod());
  takeMessages();
  paint();
  canvas.focus();
  mark('painted');
  await notebook.takeBack();
  mark('notebook');
  // A link with an assignment's code opens it (the work kept on this device continues); so does an address
  // given one later (the view then follows the address itself).
  if (assignmentCode(location.hash) !== null) await openAssignment();
  window.addEventListener('hashchange', () => {
    if (!assignment && assignmentCode(location.hash) !== null) holdInputUntil(openAssignment());
  });
  $('loading').hidden = true;
  app.ready = true;
  app.readyMs = performance.now();
  mark('ready');
  // What the pupil typed and tapped while the program was loading, in order.
  app.replayed = replayEarly(boot);
  // The copy for offline use is fetched once the page's face is in (on a slow line it comes second).
  if ('serviceWorker' in navigator && location.protocol !== 'file:') {
    fontReady.then(() => navigator.serviceWorker.register('sw.js')).catch(() => {});
  }
}

// The assignment view, brought in and opened from the address (false: it could not be).
let assignmentOpening = null;
function openAssignment() {
  assignmentOpening ??= loadViews().then((v) => {
    assignment = v.installAssignment({ M, drawList, focusPage: () => canvas.focus() });
  });
  return assignmentOpening.then(() => assignment.openFromAddress(), () => {
    assignmentOpening = null;
    return false;
  });
}

// The class summary of the pupils' handed-in result files (フォーム menu; app.classSummary once it came).
let classSummary = null;
function openClassSummary() {
  classSummary ??= loadViews().then((v) => { app.classSummary = v.installClassSummary({ M, drawList }); });
  return holdInputUntil(classSummary.then(() => app.classSummary.open(), () => { classSummary = null; }));
}

app.pressKey = (vk, shift = 0) => pressKey(vk, shift);
app.toVirtualKey = toVirtualKey;
app.readAloud = () => readAloud();
app.paint = () => paint();
// The whole page drawn afresh (for a font that arrived late, and for tests).
app.paintWhole = () => { lastList = lastRows = null; paint(); };
app.preparePrintLine = () => preparePrintLine();
start();
