// The pupil's side of an assignment in the browser: a link ending in #kadai=CODE opens it over the calculation
// screen. This file shows the assignment's title, asks 組・番号・名前 once (remembered on the device), shows
// the problems one at a time or as a list with room for the working ("=" lines typed with the keypad or the
// keyboard), the progress, and the verdicts as the assignment's feedback mode allows; it keeps the work in
// IndexedDB after every change, and 提出 downloads the result file (and offers the device's share sheet
// where the browser has one). A result file handed in before (from another device, or kept when the
// browser's storage was cleared) continues the work: chosen with 「ファイルから続ける」 or dropped on the
// view; a file of another assignment or a damaged one is refused with the reason, and work on screen is
// replaced only when the pupil says so. The work, its verdicts and the file are the same C++ as the
// desktop's (kz_pw_*).
import { openModal } from './modal.js';
import { el } from './dom.js';
import { databaseOpener } from './idb.js';
import { withBytes } from './wasm.js';
import { assignmentCode } from './address.js';

const DB_NAME = 'kazoru-assignments';
const STORE = 'work';
const PUPIL_KEY = 'kazoru-pupil';
const LINE_MAX = 200;
// How much larger than the printed sheet the problem and the working lines are drawn.
const PROBLEM_SCALE = 1.6, LINE_SCALE = 1.3;
// Time spent is kept at least this often while the pupil works (every change is kept at once).
const KEEP_TIME_EVERY_S = 5;

// The view's style sheet is asked for when an assignment first opens: the calculation screen's first
// picture needs none of it. A page opened from an assignment's link asks for it at once, beside the program's
// download, so that the first problem does not wait for it.
let styled = null;
function styleSheet() {
  styled ??= new Promise((done) => {
    const link = el('link', { rel: 'stylesheet', href: 'assign.css' });
    link.addEventListener('load', done, { once: true });
    link.addEventListener('error', done, { once: true });
    document.head.append(link);
  });
  return styled;
}
if (assignmentCode(location.hash) !== null) styleSheet();

export function installAssignment({ M, drawList, focusPage }) {
  const P = {
    open: M.cwrap('kz_pw_open', 'string', ['string']),
    takeBack: M.cwrap('kz_pw_take_back', 'string', ['string']),
    start: M.cwrap('kz_pw_start', null, ['number', 'number']),
    checkName: M.cwrap('kz_pw_check_name', 'string', ['string', 'number', 'string']),
    setName: M.cwrap('kz_pw_set_name', 'string', ['string', 'number', 'string']),
    setWorking: M.cwrap('kz_pw_set_working', 'string', ['number', 'string']),
    addSeconds: M.cwrap('kz_pw_add_seconds', null, ['number', 'number']),
    hint: M.cwrap('kz_pw_hint', null, ['number']),
    view: M.cwrap('kz_pw_view', null, ['number', 'number']),
    state: M.cwrap('kz_pw_state', 'string', []),
    feedback: M.cwrap('kz_pw_feedback', 'string', ['number']),
    store: M.cwrap('kz_pw_store', 'string', []),
    handIn: M.cwrap('kz_pw_hand_in', 'string', ['number', 'number']),
    rows: M.cwrap('kz_pw_rows', 'string', ['string']),
    rowHeight: M.cwrap('kz_pw_row_height', 'number', []),
    readFile: M.cwrap('kz_pw_read_file', 'string', ['number', 'number']),
    takeFile: M.cwrap('kz_pw_take_file', 'number', []),
    maxBytes: M.cwrap('kz_pw_max_bytes', 'number', []),
  };
  const rowHeight = P.rowHeight();
  const as = window.kazoru.assignment = {
    P, shown: false, state: null, message: '', keepWrites: 0, keepFailures: 0, kept: null, lastHandIn: null,
    timings: {},
  };

  // ---- The view ----
  const title = el('h1', { class: 'asTitle' });
  const progress = el('span', { class: 'asProgress', role: 'status', 'aria-live': 'polite' });
  const who = el('button', { type: 'button', class: 'asWho', title: '組・番号・名前を直す' });
  const oneAtATime = el('button', { type: 'button', class: 'asOne', 'aria-pressed': 'true' }, '一問ずつ');
  const asList = el('button', { type: 'button', class: 'asAll', 'aria-pressed': 'false' }, '一覧');
  const handIn = el('button', { type: 'button', class: 'asHandIn' }, '提出');
  const close = el('button', { type: 'button', class: 'asClose' }, '計算画面へ');
  const fromFile = el('button', { type: 'button', class: 'asFromFile' }, 'ファイルから続ける');
  const status = el('p', { class: 'asStatus', role: 'status', 'aria-live': 'polite' });
  const again = el('button', { type: 'button', class: 'asAgain', hidden: true }, 'もう一度ダウンロード');
  const share = el('button', { type: 'button', class: 'asShare', hidden: true }, '共有して提出');
  const handedIn = el('div', { class: 'asHandedIn', hidden: true }, status, again, share);
  const nav = el('nav', { class: 'asNav', 'aria-label': '問題' });
  const problems = el('div', { class: 'asProblems' });
  const failed = el('div', { class: 'asFailed', hidden: true, role: 'alert' });
  const warning = el('p', { class: 'asWarning', hidden: true, role: 'alert' });
  const view = el('section', { id: 'assign', hidden: true, 'aria-label': '課題' },
    el('header', { class: 'asHeader' }, title, progress,
      el('div', { class: 'asTools' }, who, oneAtATime, asList, handIn, fromFile, close)),
    warning, handedIn, failed, nav, problems);
  document.body.append(view);

  const nameBox = el('dialog', { id: 'assignName' });
  const nameError = el('p', { class: 'asError', role: 'alert' });
  const field = (caption, input) => el('label', {}, el('span', {}, caption), input);
  const classField = el('input', { type: 'text', name: 'class', autocomplete: 'off', maxLength: 40, placeholder: '5年2組' });
  const numberField = el('input', { type: 'text', name: 'number', inputMode: 'numeric', autocomplete: 'off', maxLength: 4 });
  const nameField = el('input', { type: 'text', name: 'name', autocomplete: 'off', maxLength: 40 });
  // The start screen also takes the file of work handed in on another device. The picker sits in this
  // dialog so that it can be used while the dialog is open.
  const picker = el('input', { type: 'file', accept: '.kazoru,application/json', hidden: true });
  const nameFromFile = el('button', { type: 'button', class: 'asNameFromFile' }, '提出したファイルから続ける');
  nameBox.append(el('form', { method: 'dialog' }, el('h2', {}, '組・番号・名前'),
    el('p', {}, 'はじめに、組と番号と名前を入れてください。この端末に覚えておきます。'),
    field('組', classField), field('番号', numberField), field('名前', nameField), nameError,
    el('menu', {}, el('button', { value: 'ok' }, 'ＯＫ')),
    el('p', { class: 'asFromFileNote' }, 'ほかの端末で取り組んだ課題は、提出したファイルから続けられます。', nameFromFile),
    picker));
  const confirmBox = el('dialog', { id: 'assignConfirm' });
  const confirmText = el('p', { class: 'text' });
  confirmBox.append(el('form', { method: 'dialog' }, el('h2', {}, '提出'), confirmText,
    el('menu', {}, el('button', { value: 'ok' }, '提出する'), el('button', { value: 'cancel' }, 'やめる'))));
  const replaceBox = el('dialog', { id: 'assignReplace' });
  const replaceText = el('p', { class: 'text' });
  replaceBox.append(el('form', { method: 'dialog' }, el('h2', {}, 'ファイルから続ける'), replaceText,
    el('menu', {}, el('button', { value: 'ok' }, 'ファイルの答えにする'), el('button', { value: 'cancel' }, 'やめる'))));
  document.body.append(nameBox, confirmBox, replaceBox);

  // ---- Drawing the notation ----
  function drawingRight(list) {
    let right = 0;
    for (const row of list.split('\n')) {
      if (row[0] !== 'T' && row[0] !== 'L') continue;
      const f = row.split('\t', 4);
      right = Math.max(right, +f[1], +f[3]);
    }
    return Math.ceil(right) + 8;
  }
  // The notation at `scale` times the sheet's size: fractions a finger's width tall on a tablet. A canvas
  // of a problem not on screen is drawn when its problem is shown (drawShown).
  function drawNotation(canvas, text, scale = LINE_SCALE) {
    canvas.dataset.want = JSON.stringify([text, scale]);
    const card = canvas.closest('.asCard');
    if (card && !card.hidden) drawNow(canvas);
  }
  function drawNow(canvas) {
    const [text, scale] = JSON.parse(canvas.dataset.want);
    const dpr = window.devicePixelRatio || 1;
    const key = `${text}\t${scale}\t${dpr}`;
    if (canvas.dataset.key === key) return;
    canvas.dataset.key = key;
    const list = text ? P.rows(text) : '';
    const w = text ? drawingRight(list) : 1;
    canvas.style.width = `${Math.round(w * scale)}px`;
    canvas.style.height = `${Math.round((text ? rowHeight : 1) * scale)}px`;
    canvas.width = Math.round(w * scale * dpr);
    canvas.height = Math.round((text ? rowHeight : 1) * scale * dpr);
    const g = canvas.getContext('2d');
    g.setTransform(1, 0, 0, 1, 0, 0);
    g.clearRect(0, 0, canvas.width, canvas.height);
    if (list) drawList(list, g, dpr * scale);
  }
  // The problems on screen drawn, and checked as far as the mode shows verdicts, the first time they show.
  function drawShown() {
    cards.forEach((c, k) => {
      if (c.card.hidden) return;
      for (const canvas of c.card.querySelectorAll('canvas[data-want]')) drawNow(canvas);
      if (checked[k] === undefined) showFeedback(k);
    });
  }

  // ---- The problems ----
  let cards = [];
  const verdictsShown = () => !!(as.state && as.state.verdicts);

  function lineRow(k, text) {
    const input = el('input', { type: 'text', class: 'asInput', autocomplete: 'off', spellcheck: false, maxLength: LINE_MAX,
      inputMode: 'text', 'aria-label': `${k + 1} 問目の途中の式`, value: text });
    input.setAttribute('autocapitalize', 'off');
    input.setAttribute('autocorrect', 'off');
    const typed = el('canvas', { class: 'asTyped', 'aria-hidden': 'true' });
    const marks = el('span', { class: 'asMarks' });
    const advice = el('div', { class: 'asAdvice' });
    const row = el('li', { class: 'asLine' }, el('div', { class: 'asLineTop' }, el('span', { class: 'asEq' }, '＝'), input, marks),
      typed, advice);
    drawNotation(typed, text ? `=${text}` : '');
    return row;
  }

  function buildCards() {
    checked.length = 0;
    problems.textContent = '';
    nav.textContent = '';
    const s = as.state;
    cards = s.problems.map((p, k) => {
      const expr = el('canvas', { class: 'asExpr', role: 'img', 'aria-label': p.readable });
      const mark = el('span', { class: 'asMark' });
      const lines = el('ol', { class: 'asLines' });
      for (const w of p.working) lines.append(lineRow(k, w));
      lines.append(lineRow(k, ''));
      const hintButton = el('button', { type: 'button', class: 'asHintButton' }, 'ヒント');
      const hint = el('div', { class: 'asHint' });
      const finalNote = el('div', { class: 'asFinal' });
      const card = el('article', { class: 'asCard', 'data-index': k },
        el('h2', {}, el('span', { class: 'asNumber' }, `(${k + 1})`), expr, mark), lines, finalNote, hint,
        el('div', { class: 'asCardTools' }, hintButton));
      drawNotation(expr, p.problem, PROBLEM_SCALE);
      problems.append(card);
      const chip = el('button', { type: 'button', class: 'asChip', 'aria-label': `${k + 1} 問目`, 'data-index': k },
        String(k + 1));
      chip.addEventListener('click', () => go(k));
      nav.append(chip);
      hintButton.addEventListener('click', () => {
        P.hint(k);
        changed();
        showFeedback(k);
        focusLine(k, -1);
      });
      return { card, expr, mark, lines, hint, hintButton, finalNote, chip };
    });
    const prev = el('button', { type: 'button', class: 'asPrev' }, '← 前の問題');
    const next = el('button', { type: 'button', class: 'asNext' }, '次の問題 →');
    prev.addEventListener('click', () => go(as.state.current - 1));
    next.addEventListener('click', () => go(as.state.current + 1));
    nav.prepend(prev);
    nav.append(next);
  }

  const linesOf = (k) => [...cards[k].lines.querySelectorAll('.asInput')];
  const indexOf = (input) => Number(input.closest('.asCard').dataset.index);

  // What the model keeps of a typed line: no spaces around it, no leading "=".
  const lineText = (v) => v.trim().replace(/^[=＝]/, '').trim();
  // Per problem, the working its marks were made for.
  const checked = [];

  function showFeedback(k) {
    const c = cards[k];
    const f = JSON.parse(P.feedback(k));
    checked[k] = JSON.stringify(as.state.problems[k].working);
    // The model's lines are the rows with something written in them.
    const rows = [...c.lines.children].filter((r) => lineText(r.querySelector('.asInput').value));
    for (const r of c.lines.children) {
      r.querySelector('.asMarks').textContent = '';
      r.querySelector('.asAdvice').textContent = '';
      r.classList.remove('right', 'wrong');
    }
    c.mark.textContent = '';
    c.mark.className = 'asMark';
    c.finalNote.textContent = '';
    c.hint.textContent = '';
    const p = as.state.problems[k];
    c.hintButton.hidden = as.state.feedback !== 'now';
    if (!f.shown) return f;
    const byLine = new Map();
    for (const step of f.steps) {
      if (!byLine.has(step.line)) byLine.set(step.line, []);
      byLine.get(step.line).push(step);
    }
    for (const [line, steps] of byLine) {
      const r = rows[line];
      if (!r) continue;
      r.querySelector('.asMarks').textContent = steps.map((s) => (s.right ? '○' : '×')).join('');
      r.classList.add(steps.every((s) => s.right) ? 'right' : 'wrong');
      r.querySelector('.asAdvice').textContent = steps.map((s) => (s.mistakeName ? `${s.mistakeName}：${s.advice}` : s.advice))
        .filter(Boolean).join(' ');
    }
    if (p.done) {
      c.mark.textContent = f.mark;
      c.mark.classList.add(`v-${f.verdict}`);
    }
    if (f.finalAdvice) c.finalNote.textContent = f.finalAdvice;
    if (f.hint) {
      const canvas = el('canvas', { class: 'asHintRow', 'aria-label': `ヒント ${f.hint}` });
      c.hint.append(el('span', {}, 'ヒント：'), canvas);
      drawNotation(canvas, `=${f.hint}`);
    } else if (p.hint && as.state.feedback === 'now') {
      c.hint.textContent = 'ヒント：これで答えです。';
    }
    return f;
  }

  function refresh() {
    const s = as.state = JSON.parse(P.state());
    title.textContent = s.title;
    progress.textContent = `${s.done} / ${s.total}`;
    progress.setAttribute('aria-label', `${s.total} 問中 ${s.done} 問に取り組みました`);
    who.textContent = s.number ? `${s.class} ${s.number}番 ${s.name}` : '名前を入れる';
    oneAtATime.setAttribute('aria-pressed', String(s.oneAtATime));
    asList.setAttribute('aria-pressed', String(!s.oneAtATime));
    view.classList.toggle('oneAtATime', s.oneAtATime);
    cards.forEach((c, k) => {
      c.card.hidden = s.oneAtATime && k !== s.current;
      c.chip.classList.toggle('done', s.problems[k].done);
      c.chip.classList.toggle('current', k === s.current);
      if (k === s.current) c.chip.setAttribute('aria-current', 'true');
      else c.chip.removeAttribute('aria-current');
    });
    drawShown();
    nav.querySelector('.asPrev').disabled = s.current <= 0;
    nav.querySelector('.asNext').disabled = s.current >= s.total - 1;
    if (s.handIns > 0) {
      const at = s.handedIn.slice(11, 16);
      const note = s.feedback === 'end' && s.changed ? '（提出のあとで直したところは、もう一度提出してください）' : '';
      status.textContent = `提出しました（${s.handIns}回目 ${at}）${note}`;
      handedIn.hidden = false;
      again.hidden = !as.lastHandIn;
      share.hidden = !as.lastHandIn || !canShare(as.lastHandIn);
    } else {
      handedIn.hidden = true;
    }
  }

  // ---- Keeping the work in IndexedDB: every change, at once ----
  const db = databaseOpener(DB_NAME, STORE);
  let database = null;
  // Told in a bar of the view, not in a box: the pupil's keys go on into the working.
  function keepFailed() {
    as.keepFailures++;
    say('この端末に課題の記録を残せません。ページを閉じる前に「提出」でファイルにしてください。');
  }
  // The transaction is started inside the change itself, so that a page closed right after the key still
  // writes it; transactions on one store complete in the order they were made.
  function keep() {
    const text = P.store();
    const code = as.state.code;
    const write = (d) => {
      try {
        const tx = d.transaction(STORE, 'readwrite');
        tx.objectStore(STORE).put(text, code);
        tx.oncomplete = () => { as.keepWrites++; as.kept = text; };
        tx.onerror = tx.onabort = () => keepFailed();
      } catch {
        keepFailed();
      }
    };
    if (database) write(database);
    else db().then(write, keepFailed);
  }

  async function storedWork(code) {
    try {
      database = await db();
      return await new Promise((resolve, reject) => {
        const req = database.transaction(STORE, 'readonly').objectStore(STORE).get(code);
        req.onsuccess = () => resolve(typeof req.result === 'string' ? req.result : null);
        req.onerror = () => reject(req.error);
      });
    } catch {
      return null;
    }
  }

  // ---- Changes ----
  let lastVerdicts = null;
  function changed() {
    as.state = JSON.parse(P.state());
    const verdicts = verdictsShown();
    // Verdicts shown or kept back from now on: every problem is checked again when it shows.
    if (lastVerdicts !== null && verdicts !== lastVerdicts) checked.length = 0;
    lastVerdicts = verdicts;
    refresh();
    keep();
  }

  // What the pupil is told goes into the bar at the top of the view (never a box that would take the keys).
  // A refused change is said until the next change is taken; storage that fails, for as long as the page is open.
  function say(text) {
    as.message = text;
    warning.textContent = text;
    warning.hidden = false;
  }
  function unsay() {
    if (as.keepFailures) return;
    warning.hidden = true;
  }

  // Marks of a line being changed are stale until the line is taken (Enter, or leaving it).
  // The marks of a changed line and the lines after it are stale until the line is taken (Enter, or
  // leaving it); the lines before it keep theirs. Changed back, the marks come back.
  function clearMarks(k, from) {
    [...cards[k].lines.children].slice(Math.max(0, from)).forEach((r) => {
      r.querySelector('.asMarks').textContent = '';
      r.querySelector('.asAdvice').textContent = '';
      r.classList.remove('right', 'wrong');
    });
    cards[k].mark.textContent = '';
    cards[k].finalNote.textContent = '';
  }

  function workingChanged(k, input) {
    const text = linesOf(k).map((i) => i.value).join('\n');
    const why = P.setWorking(k, text);
    if (why) {
      say(why);
      return;
    }
    unsay();
    if (input) {
      const v = lineText(input.value);
      drawNotation(input.closest('.asLine').querySelector('.asTyped'), v ? `=${v}` : '');
    }
    changed();
    if (JSON.stringify(as.state.problems[k].working) === checked[k]) showFeedback(k);
    else clearMarks(k, input ? linesOf(k).indexOf(input) : 0);
  }

  function focusLine(k, line) {
    const list = linesOf(k);
    const input = list[line < 0 ? list.length - 1 : Math.min(line, list.length - 1)];
    if (!input) return;
    input.focus();
    const n = input.value.length;
    input.setSelectionRange(n, n);
    lastField = input;
  }

  function go(k) {
    if (!as.state || k < 0 || k >= as.state.total) return;
    P.view(as.state.oneAtATime ? 1 : 0, k);
    changed();
    if (!as.state.oneAtATime) cards[k].card.scrollIntoView({ block: 'nearest' });
    focusLine(k, -1);
  }

  // Enter goes to the next line (a new one after the last), Backspace in an empty line removes it, the
  // arrows move between the lines. The new line takes the caret inside the same key, so the next key lands in it.
  function onLineKey(e) {
    const input = e.target;
    if (!(input instanceof HTMLInputElement) || !input.classList.contains('asInput') || e.isComposing) return;
    const k = indexOf(input);
    const list = linesOf(k);
    const at = list.indexOf(input);
    if (e.key === 'Enter') {
      e.preventDefault();
      showFeedback(k);
      if (at < list.length - 1) {
        focusLine(k, at + 1);
      } else if (input.value.trim()) {
        cards[k].lines.append(lineRow(k, ''));
        focusLine(k, at + 1);
      }
    } else if (e.key === 'Backspace' && !input.value && list.length > 1 && at > 0) {
      e.preventDefault();
      input.closest('.asLine').remove();
      focusLine(k, at - 1);
      workingChanged(k, null);
      showFeedback(k);
    } else if (e.key === 'ArrowUp' && at > 0) {
      e.preventDefault();
      focusLine(k, at - 1);
    } else if (e.key === 'ArrowDown' && at < list.length - 1) {
      e.preventDefault();
      focusLine(k, at + 1);
    }
  }

  let lastField = null;
  problems.addEventListener('keydown', onLineKey);
  problems.addEventListener('input', (e) => {
    if (e.target.classList.contains('asInput')) workingChanged(indexOf(e.target), e.target);
  });
  problems.addEventListener('change', (e) => {
    if (e.target.classList.contains('asInput')) showFeedback(indexOf(e.target));
  });
  problems.addEventListener('focusin', (e) => {
    if (!e.target.classList.contains('asInput')) return;
    lastField = e.target;
    const k = indexOf(e.target);
    if (as.state && !as.state.oneAtATime && k !== as.state.current) {
      P.view(0, k);
      changed();
    }
  });

  // Keys typed while the caret is on a button of the view, or anywhere outside it, go to the working line in
  // use, never to the calculation screen behind it.
  const isTyping = (e) => e.key.length === 1 || e.key === 'Backspace';
  window.addEventListener('keydown', (e) => {
    if (!as.shown || [...document.querySelectorAll('dialog[open]')].some((d) => d.matches(':modal'))) return;
    const t = e.target;
    if (t instanceof HTMLInputElement || t instanceof HTMLTextAreaElement) return;
    const inView = t instanceof Element && !!t.closest('#assign');
    if (!inView) e.stopPropagation();
    if (e.ctrlKey || e.altKey || e.metaKey || !isTyping(e) || (inView && e.key === ' ')) return;
    e.stopPropagation();
    const f = currentField();
    if (!f) return;
    e.preventDefault();
    f.focus();
    if (e.key === 'Backspace') backspaceInto(f);
    else typeInto(f, e.key);
  }, true);

  function currentField() {
    if (lastField && lastField.isConnected && !lastField.closest('.asCard').hidden) return lastField;
    if (!as.state || !cards.length) return null;
    const list = linesOf(as.state.current);
    return list[list.length - 1] || null;
  }

  function typeInto(f, text) {
    const a = f.selectionStart ?? f.value.length, b = f.selectionEnd ?? f.value.length;
    f.setRangeText(text, a, b, 'end');
    f.dispatchEvent(new Event('input', { bubbles: true }));
  }
  function backspaceInto(f) {
    const a = f.selectionStart ?? f.value.length, b = f.selectionEnd ?? f.value.length;
    if (a === b && a === 0) {
      f.dispatchEvent(new KeyboardEvent('keydown', { key: 'Backspace', bubbles: true, cancelable: true }));
      return;
    }
    f.setRangeText('', a === b ? a - 1 : a, b, 'end');
    f.dispatchEvent(new Event('input', { bubbles: true }));
  }

  // ---- The keypad: its characters go into the working line in use ----
  function keypadField() {
    if (!as.shown) return null;
    const a = document.activeElement;
    if (nameBox.open) return a instanceof HTMLInputElement && nameBox.contains(a) ? a : null;
    if (document.querySelector('dialog[open]')) return null;
    if (a instanceof HTMLInputElement && a.classList.contains('asInput')) return a;
    const f = currentField();
    if (f) f.focus();
    return f;
  }
  function keypadChar(text) {
    const f = keypadField();
    if (!f) return as.shown;
    typeInto(f, text);
    return true;
  }
  function keypadBackspace() {
    const f = keypadField();
    if (!f) return as.shown;
    backspaceInto(f);
    return true;
  }
  function keypadClear() {
    const f = keypadField();
    if (!f) return as.shown;
    f.value = '';
    f.dispatchEvent(new Event('input', { bubbles: true }));
    return true;
  }

  // ---- 組・番号・名前 ----
  function remembered() {
    try {
      const r = JSON.parse(localStorage.getItem(PUPIL_KEY) || 'null');
      return r && typeof r === 'object' ? r : null;
    } catch {
      return null;
    }
  }
  function remember(className, number, name) {
    try {
      localStorage.setItem(PUPIL_KEY, JSON.stringify({ class: className, number, name }));
    } catch { /* the next visit asks again */ }
  }

  function askName(then = () => {}) {
    const s = as.state;
    const r = remembered() || {};
    classField.value = s.number ? s.class : r.class || '';
    numberField.value = s.number ? String(s.number) : r.number ? String(r.number) : '';
    nameField.value = s.number ? s.name : r.name || '';
    nameError.textContent = '';
    const first = [classField, numberField, nameField].find((f) => !f.value) || classField;
    const answer = () => openModal(nameBox, { focus: first, answered: (value) => {
      if (value !== 'ok') {
        focusLine(as.state.current, -1);
        return;
      }
      const digits = numberField.value.trim().replace(/[０-９]/g, (d) => String.fromCharCode(d.charCodeAt(0) - 0xfee0));
      const number = /^[0-9]{1,4}$/.test(digits) ? Number(digits) : 0;
      const why = P.setName(classField.value, number, nameField.value);
      if (why) {
        nameError.textContent = why;
        answer();
        return;
      }
      const t = JSON.parse(P.state());
      remember(t.class, t.number, t.name);
      changed();
      focusLine(as.state.current, -1);
      then();
    } });
    answer();
  }

  // ---- 提出 ----
  function canShare(h) {
    try {
      return !!(navigator.canShare && navigator.share && navigator.canShare({ files: [fileOf(h)] }));
    } catch {
      return false;
    }
  }
  const fileOf = (h) => new File([h.bytes], h.name, { type: 'application/json' });

  function download(h) {
    const url = URL.createObjectURL(new Blob([h.bytes], { type: 'application/json' }));
    const a = document.createElement('a');
    a.href = url;
    a.download = h.name;
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
  }

  function handInNow() {
    const now = new Date();
    const r = JSON.parse(P.handIn(now.getTime() / 1000, -now.getTimezoneOffset()));
    if (r.message) {
      say(r.message);
      return;
    }
    as.lastHandIn = { name: r.name, bytes: new TextEncoder().encode(r.text) };
    download(as.lastHandIn);
    changed();
    (share.hidden ? again : share).focus();
  }

  function askHandIn() {
    if (!as.state.number) {
      askName(askHandIn);
      return;
    }
    const left = as.state.total - as.state.done;
    confirmText.textContent = (left ? `まだ途中の式を書いていない問題が ${left} 問あります。\n` : '')
      + (as.state.handIns ? '前に提出したものの代わりに、今の答えを提出します。' : '答えを提出します。')
      + 'よろしいですか。';
    openModal(confirmBox, { answered: (value) => {
      if (value === 'ok') handInNow();
      else focusLine(as.state.current, -1);
    } });
  }

  handIn.addEventListener('click', askHandIn);
  again.addEventListener('click', () => as.lastHandIn && download(as.lastHandIn));
  share.addEventListener('click', () => {
    if (!as.lastHandIn) return;
    navigator.share({ files: [fileOf(as.lastHandIn)], title: as.state.title }).catch(() => {});
  });
  who.addEventListener('click', () => askName());
  oneAtATime.addEventListener('click', () => { P.view(1, as.state.current); changed(); focusLine(as.state.current, -1); });
  asList.addEventListener('click', () => { P.view(0, as.state.current); changed(); focusLine(as.state.current, -1); });
  close.addEventListener('click', hide);

  // ---- Continuing from a result file ----
  // Said where the pupil looks: under the name fields on the start screen, else in the view's bar.
  function tellAboutFile(text) {
    if (nameBox.open) nameError.textContent = text;
    else say(text);
  }

  async function continueFrom(file) {
    if (!as.state) return;
    let bytes;
    try {
      // A file larger than any result is read only as far as needed to say so.
      bytes = new Uint8Array(await file.slice(0, P.maxBytes() + 1).arrayBuffer());
    } catch {
      tellAboutFile(`「${file.name}」を読めませんでした。`);
      return;
    }
    const r = JSON.parse(withBytes(M, bytes, (p, n) => P.readFile(p, n)));
    if (r.message) {
      tellAboutFile(`「${file.name}」からは続けられません。${r.message}`);
      return;
    }
    if (!r.replaces) {
      takeFile();
      return;
    }
    const at = r.handedIn ? `${r.handedIn.slice(0, 10)} ${r.handedIn.slice(11, 16)} に提出、` : '';
    replaceText.textContent = `この端末の答え（${as.state.done} / ${as.state.total} 問）を、ファイルの答え`
      + `（${r.class} ${r.number}番 ${r.name}、${at}${r.done} / ${r.total} 問）に置きかえます。\n`
      + 'この端末の答えは消えます。よろしいですか。';
    openModal(replaceBox, { focus: replaceBox.querySelector('button[value="cancel"]'), answered: (value) => {
      if (value === 'ok') takeFile();
      else if (!nameBox.open) focusLine(as.state.current, -1);
    } });
  }

  function takeFile() {
    if (!P.takeFile()) return;
    if (nameBox.open) nameBox.close('');
    as.lastHandIn = null;
    as.state = JSON.parse(P.state());
    remember(as.state.class, as.state.number, as.state.name);
    unsay();
    buildCards();
    lastVerdicts = verdictsShown();
    changed();
    focusLine(as.state.current, -1);
  }

  const chooseFile = () => {
    picker.value = '';
    picker.click();
  };
  fromFile.addEventListener('click', chooseFile);
  nameFromFile.addEventListener('click', chooseFile);
  picker.addEventListener('change', () => { if (picker.files.length) continueFrom(picker.files[0]); });
  // A file dropped on the view or on the start screen.
  for (const target of [view, nameBox]) {
    target.addEventListener('dragover', (e) => {
      if (!as.state || !e.dataTransfer || ![...e.dataTransfer.types].includes('Files')) return;
      e.preventDefault();
      e.dataTransfer.dropEffect = 'copy';
    });
    target.addEventListener('drop', (e) => {
      const file = e.dataTransfer && e.dataTransfer.files[0];
      if (!as.state || !file) return;
      e.preventDefault();
      continueFrom(file);
    });
  }

  // ---- Time spent: counted each second the problem in use is on screen ----
  let ticks = 0;
  setInterval(() => {
    if (!as.shown || !as.state || document.visibilityState !== 'visible' || document.querySelector('dialog[open]')) return;
    let k = as.state.current;
    if (!as.state.oneAtATime) {
      const a = document.activeElement;
      k = a && a.closest && a.closest('.asCard') ? Number(a.closest('.asCard').dataset.index) : -1;
    }
    if (k < 0) return;
    P.addSeconds(k, 1);
    if (++ticks % KEEP_TIME_EVERY_S === 0) keep();
  }, 1000);
  // A page hidden or closed keeps the time counted since the last write.
  window.addEventListener('pagehide', () => { if (as.shown && as.state && as.state.code) keep(); });
  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState === 'hidden' && as.shown && as.state && as.state.code) keep();
  });

  // ---- Opening and closing ----
  function show() {
    // The notebook's page kept from the last visit waits behind the assignment.
    const nb = window.kazoru.notebook;
    if (nb && nb.shown) nb.hide();
    as.shown = true;
    view.hidden = false;
    document.body.classList.add('assigning');
  }
  function hide() {
    as.shown = false;
    view.hidden = true;
    document.body.classList.remove('assigning');
    focusPage();
  }

  // Opens the assignment of a code: the work kept on this device continues; a damaged or unknown code is
  // said so in the view with the code reader's message.
  async function open(code) {
    const t0 = performance.now();
    await styleSheet();
    const opened = JSON.parse(P.open(code));
    show();
    if (opened.message) {
      as.state = null;
      as.message = opened.message;
      cards = [];
      problems.textContent = '';
      nav.textContent = '';
      handedIn.hidden = true;
      title.textContent = '課題を開けません';
      progress.textContent = '';
      failed.textContent = '';
      failed.append(el('p', {}, opened.message));
      failed.hidden = false;
      view.classList.add('failed');
      close.focus();
      return false;
    }
    failed.hidden = true;
    view.classList.remove('failed');
    unsay();
    as.state = JSON.parse(P.state());
    const stored = await storedWork(as.state.code);
    if (stored) {
      const why = P.takeBack(stored);
      if (why) say(`この端末に残っていた記録を読めませんでした（${why}）。はじめから取り組みます。`);
    }
    const now = new Date();
    P.start(now.getTime() / 1000, -now.getTimezoneOffset());
    as.state = JSON.parse(P.state());
    if (!as.state.number) {
      const r = remembered();
      if (r && !P.checkName(String(r.class || ''), Number(r.number) || 0, String(r.name || ''))) {
        P.setName(String(r.class), Number(r.number), String(r.name));
      }
    }
    as.state = JSON.parse(P.state());
    buildCards();
    lastVerdicts = verdictsShown();
    changed();
    focusLine(as.state.current, -1);
    as.timings.open = performance.now() - t0;
    if (!as.state.number) askName();
    return true;
  }

  async function openFromAddress() {
    const code = assignmentCode(location.hash);
    if (code === null) return false;
    return open(code);
  }
  window.addEventListener('hashchange', () => { openFromAddress(); });

  Object.assign(as, { open, hide, keep, handIn: askHandIn, openFromAddress, continueFrom });
  return { openFromAddress, keypadChar, keypadBackspace, keypadClear, shown: () => as.shown };
}
