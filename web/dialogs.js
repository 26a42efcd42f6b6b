// The tool windows of the desktop as page dialogs: conditions, the week's goals, the expression editor, the
// expression memo, the substitution box, the version box and the notice box. Every decision is the C++
// models' (kz_conditions_*, kz_goals_*, kz_editor*, kz_memo, kz_dainyuu, kz_notice); this file builds the
// dialogs, routes keys, taps and the keypad into them and shows what the models return. The editor, the
// memo and the substitution box stay beside the keypad (not modal), so the keypad types into their fields.
import { toVirtualKey, ALT } from './keys.js';
import { el } from './dom.js';

let host = null;  // { M, run, persist, paint, drawList, focusPage }
let T = null;     // the exported functions
const open = {};  // name → dialog element while shown
let keypadField = null;
let frontmost = 20;  // the field of a tool dialog the keypad types into


// A button with the desktop's caption; "&X" marks its Alt key, shown underlined.
function button(caption, onClick, title) {
  const m = /&(.)/.exec(caption);
  const b = el('button', { type: 'button', class: 'toolButton' });
  if (m) {
    b.dataset.alt = m[1].toUpperCase();
    const i = caption.indexOf('&');
    b.append(caption.slice(0, i), el('u', {}, m[1]), caption.slice(i + 2));
  } else {
    b.textContent = caption;
  }
  b.dataset.caption = caption;
  if (title) b.title = title;
  b.addEventListener('click', onClick);
  return b;
}

// The words of the tool dialogs, as the desktop's windows have them (src/tools/ToolCaptions.h; the binding
// test holds the two to each other): a label's words, or a button's [words, tooltip]; "&X" marks an Alt key.
export const WORDS = {
  conditions: {
    title: '▼条件設定▼', tempo: '◇ｶｰｿﾙ点滅周期', ms: 'm秒', goal: '▼今週の目標⇒', editGoals: ['編集Ｅ', '今週の目標を編集する'], jiokuri: '▼字送り',
    percent: '[％]', pai: '◇円周率πの近似値', paiKey: '[￥で代入]', pai19: ['19ｹﾀ▲', '円周率を19ケタにする'], answers: '◆答の表示◆',
    syou: '小数も表示', a4: 'Ａ４高(297㎜)の', pageHeight: '・ページ高(80-400％)', pitch: '・行送り(1-12)', process: '◆計算過程を表示？',
    processOff: '表示しない', processOn: '表示する', close: '終了Ｃ', font: ['ﾌｫﾝﾄＦ', '計算画面のフォントを変える'],
    detail: ['詳細Ａ', '計算過程の詳細設定']
  },
  goals: {
    title: '●今週の目標(10個)●', decide: '決定&D', cancel: '中止&C', font: 'ﾌｫﾝﾄ&F', colour: '文字の色'
  },
  editor: {
    title: '◆式エディタ◆　【式文字列の編集（キーボードからのみ入力可）】', editHere: '▼ここで編集(Max256字)▼',
    keyTenyou: ['ｷｰ転用 &K', "[PageUp]→'ｋ' [PageDown]→'ｂ' 　[HOME]→'（'　[END]→'）'　[↓]→'='"],
    show: ['式表示 Ret', '編集した式のみ表示します'], calculate: ['計算 Ctrl+Ret', '編集式を計算し、答えも表示します'],
    close: ['閉 &C', 'このｴﾃﾞｲﾀを閉じます'], memo: ['式ﾒﾓ &M', '式を保存してあるメモをオープンする'],
    substitution: ['代入箱 &S', 'ｴﾃﾞｨﾀ中のｘ、ｙに数値を代入する'], conditions: ['条件 &J', '条件設定ﾎﾞｯｸｽを表示します'],
    stash: ['退 &H', 'ｴﾃﾞｨﾀの式を一時退避します。'], insert: ['挿 &I', '退避した式をｴﾃﾞｨﾀに戻します'], look: ['&Look', '退避した式をLookします'],
    error: '◇ｴﾗｰ ⇒', keyTenyouOn: 'ON', keyTenyouOff: 'OFF'
  },
  memo: {
    title: '★式 メモ★ 【計算式・文字式を50個まで保管】', fromEditor: ['From式ｴﾃﾞｨﾀ▼ &G', 'ｴﾃﾞｨﾀ上の式をﾒﾓに追加'],
    toEditor: ['To式ｴﾃﾞｨﾀ &A', '選択式を､式ｴﾃﾞｨﾀにｺﾋﾟｰする'], toSubstitution: ['To代入&Box', '選択式を 値代入Boxに転記'],
    look: ['&Look', '式を分数の形でちょっと拝見！'], delete: ['選択式削除 &D', '選択式を削除する'], deleteAll: ['全削除 &Z', 'メモにある式を全部削除する'],
    close: '終了 &C'
  },
  substitution: {
    title: '■数値代入ボックス■【文字式に数値を代入＆転送】', values: '◆代入値⇒', x: 'ｘ=', y: 'ｙ=', z: 'ｚ=', expression: '◇文字式＝',
    transfer: '式を転送 &S', calculate: '計算 &K', look: '&Look', memoSave: 'ﾒﾓ保存 &R', memoOpen: 'ﾒﾓ開く &M', close: '閉 &C'
  },
  version: {
    title: '『Kazoru』バージョン情報', version: 'V 1.00（R）', name: '『Kazoru』', sub: '《分数計算器》', maker: 'ナナツボシ', ok: 'Ｏ Ｋ'
  },
};
const words = (window) => WORDS[window];
// A button of the words of WORDS: [caption, tooltip] or the caption alone.
const captioned = (w, onClick) => (Array.isArray(w) ? button(w[0], onClick, w[1]) : button(w, onClick));

function makeDialog(name, title) {
  const d = el('dialog', { class: `tool tool-${name}`, id: `tool-${name}` });
  d.setAttribute('aria-label', title);
  d.append(el('h2', { class: 'toolTitle' }, title));
  document.body.append(d);
  // The dialog the pupil works in comes to the front (on a narrow screen they share one place).
  d.addEventListener('focusin', () => { d.style.zIndex = String(++frontmost); });
  // Alt+letter presses the button that carries it, as on the desktop.
  d.addEventListener('keydown', (e) => {
    if (e.altKey && !e.ctrlKey && e.key.length === 1) {
      const b = d.querySelector(`button[data-alt="${e.key.toUpperCase()}"]`);
      if (b) {
        e.preventDefault();
        e.stopPropagation();
        b.click();
      }
    }
  });
  return d;
}

// Shown beside the keypad: not modal, so the keypad and the page stay usable.
function showBeside(name, d, first) {
  open[name] = d;
  if (!d.open) {
    d.show();
    place(d);
  }
  (first || d.querySelector('input, textarea, select, button')).focus();
}
// Under the menus and under the tool dialogs already open, where it fits; else at the top (then the one in
// use comes to the front).
function place(d) {
  const menus = document.getElementById('menus');
  const top0 = (menus ? menus.getBoundingClientRect().bottom : 0) + 4;
  let top = top0;
  for (const o of Object.values(open)) {
    if (o !== d && o.open && !o.matches(':modal')) top = Math.max(top, o.getBoundingClientRect().bottom + 4);
  }
  // The keypad's top is the limit where the keypad lies under the dialog (narrow screens).
  const panel = document.getElementById('panel');
  const p = panel && !panel.hidden ? panel.getBoundingClientRect() : null;
  const r = d.getBoundingClientRect();
  const limit = p && p.width && p.left < r.right && r.left < p.right ? p.top : window.innerHeight;
  if (top + d.offsetHeight > limit && restack(d, top0, limit)) return;
  if (top + d.offsetHeight > limit) top = top0;
  d.style.top = `${Math.round(top)}px`;
  d.style.maxHeight = `${Math.max(120, Math.round(limit - top - 4))}px`;
}
// Where a tool does not fit under the others, the tools beside the keypad are made compact (shorter lists)
// and stacked again in their order on the page, so that none lies over another's buttons. False when even
// then they do not fit (the new one then goes to the top).
function restack(d, top0, limit) {
  const others = Object.values(open).filter((o) => o !== d && o.open && !o.matches(':modal'))
    .sort((a, b) => a.getBoundingClientRect().top - b.getBoundingClientRect().top);
  const all = [...others, d];
  document.body.classList.add('compactTools');
  const total = all.reduce((h, o) => h + o.offsetHeight + 4, 0) - 4;
  if (top0 + total > limit) {
    document.body.classList.remove('compactTools');
    return false;
  }
  let y = top0;
  for (const o of all) {
    o.style.top = `${Math.round(y)}px`;
    y += o.offsetHeight + 4;
    o.style.maxHeight = `${Math.max(120, Math.round(limit - parseFloat(o.style.top) - 4))}px`;
  }
  return true;
}
function showModal(name, d, first) {
  open[name] = d;
  if (!d.open) d.showModal();
  (first || d.querySelector('input, textarea, select, button')).focus();
}
function closed(name) {
  const d = open[name];
  delete open[name];
  if (d && d.open) d.close();
  if (keypadField && keypadField.closest('dialog') === d) keypadField = null;
  const other = ['editor', 'substitution', 'memo'].find((n) => open[n]);
  if (other) open[other].querySelector('input, select').focus();
  else host.focusPage();
}

// Inserts text at the caret of a field, replacing its selection.
function insertText(field, text) {
  const a = field.selectionStart ?? field.value.length, b = field.selectionEnd ?? a;
  field.value = field.value.slice(0, a) + text + field.value.slice(b);
  field.selectionStart = field.selectionEnd = a + text.length;
  field.dispatchEvent(new Event('input'));
}
function selectBad(field, badPos) {
  field.focus();
  field.setSelectionRange(badPos - 1, badPos);
}
function keypadInto(field) {
  field.addEventListener('focus', () => { keypadField = field; });
}

// The keys of the desktop's tool fields (kz_tool_key): Enter shows, Ctrl+Enter computes, the repurposed
// keys insert their letters, F7/F8 go to the next tool window, Escape closes.
function toolKeys(which, field, acts) {
  field.addEventListener('keydown', (e) => {
    if (e.isComposing) return;
    if (e.key === 'Escape') {
      e.preventDefault();
      acts.close();
      return;
    }
    const k = toVirtualKey(e);
    if (!k || (k[1] & ALT)) return;
    const r = JSON.parse(T.toolKey(which, k[0], k[1]));
    const act = {
      show: acts.show, calculate: acts.calculate, close: acts.close, picture: acts.picture,
      insert: () => insertText(field, r.text),
      focusNext: () => focusTool(acts.next && acts.next()), focusBack: () => focusTool(acts.back && acts.back()),
      dropList: acts.dropList,
    }[r.action];
    if (act) {
      e.preventDefault();
      act();
    }
  });
}
function focusTool(name) {
  if (name === 'screen' || !name) host.focusPage();
  else if (open[name]) open[name].querySelector('input, select').focus();
}

// ---- Conditions ----------------------------------------------------------------------------------------

function openConditions() {
  if (open.conditions) return open.conditions.querySelector('input').focus();
  let s = JSON.parse(T.condOpen());
  const C = words('conditions');
  const d = makeDialog('conditions', C.title);
  const set = (name, value) => host.run(() => { s = JSON.parse(T.condSet(name, value)); fill(); });
  const number = (name) => {
    const [min, max, step] = s.ranges[name];
    const i = el('input', { type: 'number', min, max, step, name, inputMode: 'numeric' });
    i.addEventListener('change', () => set(name, Number(i.value)));
    return i;
  };
  const tempo = number('CURSOLTEMPO'), jiokuri = number('JIOKURI'), page = number('PAGEA4BAI'), pitch = number('GYOKEISUU');
  const goal = el('select', { name: 'DSPBANGOU' });
  goal.addEventListener('change', () => set('DSPBANGOU', Number(goal.value)));
  const pai = el('input', { type: 'text', name: 'pai', inputMode: 'decimal', size: 22 });
  const paiNote = el('span', { class: 'paiNote' });
  let lastPai = s.pai;
  pai.addEventListener('input', () => {
    const r = JSON.parse(T.condPai(pai.value, 0));
    if (r.tooLong) pai.value = lastPai;
    else lastPai = pai.value;
    paiNote.textContent = r.message;
  });
  const paiFinal = () => host.run(() => {
    const r = JSON.parse(T.condPai(pai.value, 1));
    paiNote.textContent = r.ok ? '' : r.message;
    // The bad character is selected once the warning has given the caret back.
    pendingSelection = !r.ok && !r.tooLong ? r.pos : -1;
    if (pendingSelection >= 0) pai.setSelectionRange(Math.min(pendingSelection, pai.value.length), pendingSelection + 1);
  });
  let pendingSelection = -1;
  pai.addEventListener('focus', () => {
    const at = Math.min(pendingSelection, pai.value.length);
    if (pendingSelection >= 0) pai.setSelectionRange(at, at + 1);
    pendingSelection = -1;
  });
  pai.addEventListener('keydown', (e) => { if (e.key === 'Enter') { e.preventDefault(); paiFinal(); } });
  // The check boxes and the answer forms with the desktop window's captions (kz_conditions_open).
  const checks = s.checks.map(({ name, caption }) => {
    const c = el('input', { type: 'checkbox', name });
    c.addEventListener('change', () => set(name, c.checked ? 1 : 0));
    return [name, c, el('label', { class: 'check' }, c, caption)];
  });
  const answers = s.answers.map((caption, i) => {
    const r = el('input', { type: 'radio', name: 'ANSSYU', value: i });
    r.addEventListener('change', () => set('ANSSYU', i));
    return [r, el('label', { class: 'check' }, r, caption)];
  });
  const syou = el('input', { type: 'checkbox', name: 'SYOUDSP' });
  syou.addEventListener('change', () => set('SYOUDSP', syou.checked ? 1 : 0));
  const procs = [C.processOff, C.processOn].map((caption, i) => {
    const r = el('input', { type: 'radio', name: 'PROCDSP', value: i });
    r.addEventListener('change', () => set('PROCDSP', i));
    return [r, el('label', { class: 'check' }, r, caption)];
  });
  function fill() {
    tempo.value = s.CURSOLTEMPO;
    jiokuri.value = s.JIOKURI;
    page.value = s.PAGEA4BAI;
    pitch.value = s.GYOKEISUU;
    goal.textContent = '';
    s.goals.forEach((g, i) => goal.append(el('option', { value: i }, `${i + 1}: ${g}`)));
    goal.value = String(s.DSPBANGOU);
    for (const [name, c] of checks) c.checked = !!s[name];
    answers.forEach(([r], i) => { r.checked = s.ANSSYU === i; });
    syou.checked = !!s.SYOUDSP;
    procs.forEach(([r], i) => { r.checked = (s.PROCDSP ? 1 : 0) === i; });
  }
  pai.value = s.pai;
  fill();
  const close = () => host.run(() => {
    s = JSON.parse(T.condClose(pai.value));
    host.persist();
    closed('conditions');
    d.remove();
  });
  d.append(
    el('div', { class: 'grid' },
      el('span', { class: 'navy' }, C.tempo), tempo, el('span', {}, C.ms),
      el('span', { class: 'red' }, C.goal), goal,
      captioned(C.editGoals, () => openGoals(() => { s = JSON.parse(T.condState()); fill(); })),
      el('span', { class: 'red' }, C.jiokuri), jiokuri, el('span', {}, C.percent)),
    el('div', {}, el('span', { class: 'navy' }, C.pai), C.paiKey),
    el('div', { class: 'row' }, pai, captioned(C.pai19, () => { pai.value = s.pai19; pai.dispatchEvent(new Event('input')); })),
    el('div', { class: 'paiRow' }, paiNote),
    el('div', { class: 'checks' }, ...checks.map(([, , l]) => l)),
    el('div', { class: 'lower' },
      el('fieldset', {}, el('legend', {}, C.answers), ...answers.map(([, l]) => l), el('label', { class: 'check' }, syou, C.syou)),
      el('div', {},
        el('div', { class: 'navy' }, C.a4),
        el('label', {}, C.pageHeight, page),
        el('label', {}, C.pitch, pitch),
        el('fieldset', {}, el('legend', {}, C.process), ...procs.map(([, l]) => l)))),
    el('menu', {},
      captioned(C.close, close),
      captioned(C.font, () => T.command('FontDialog')),
      captioned(C.detail, () => { close(); T.command('OpenProcessSettings'); })));
  d.addEventListener('cancel', (e) => { e.preventDefault(); close(); });
  showModal('conditions', d, pai);
}

// ---- The week's goals ------------------------------------------------------------------------------------

function openGoals(after) {
  if (open.goals) return;
  const C = words('goals');
  const d = makeDialog('goals', C.title);
  const text = el('textarea', { rows: 10, cols: 36, name: 'goals' });
  text.value = T.goalsText();
  let last = text.value;
  text.addEventListener('input', () => {
    let ok = true;
    host.run(() => { ok = T.goalsCheck(text.value) === 1; });
    if (ok) last = text.value;
    else text.value = last;
  });
  const finish = (store) => host.run(() => {
    if (T.goalsClose(text.value, store ? 1 : 0) !== 1) return;
    if (store) host.persist();
    closed('goals');
    d.remove();
    if (after) after();
  });
  text.addEventListener('keydown', (e) => {
    if (e.key === 'Enter' && e.ctrlKey) {
      e.preventDefault();
      finish(true);
    }
  });
  // "ﾌｫﾝﾄ&F": the goal's size and colour, taken at once.
  const st = host.state();
  const size = el('input', { type: 'number', min: 6, max: 48, name: 'goalSize', value: st.goalFontSize });
  const bgr = st.goalColor;
  const hex2 = (n) => n.toString(16).padStart(2, '0');
  const colour = el('input', { type: 'color', name: 'goalColor', value: `#${hex2(bgr & 255)}${hex2((bgr >> 8) & 255)}${hex2((bgr >> 16) & 255)}` });
  const font = el('div', { class: 'row goalFont', hidden: true }, el('label', {}, '文字の大きさ ', size), el('label', {}, `${C.colour} `, colour));
  const applyFont = () => host.run(() => {
    const c = parseInt(colour.value.slice(1), 16);
    T.goalsFont(Number(size.value), ((c & 255) << 16) | (c & 0xff00) | (c >> 16));
    host.persist();
  });
  size.addEventListener('change', applyFont);
  colour.addEventListener('change', applyFont);
  d.append(text, font, el('menu', {}, captioned(C.decide, () => finish(true)), captioned(C.cancel, () => finish(false)),
    captioned(C.font, () => { font.hidden = !font.hidden; if (!font.hidden) size.focus(); })));
  d.addEventListener('cancel', (e) => { e.preventDefault(); finish(false); });
  showModal('goals', d, text);
}

// ---- The expression editor ----------------------------------------------------------------------------

let editorField = null;
function openEditor(text) {
  if (open.editor) {
    if (text !== undefined) editorTake(text);
    return open.editor.querySelector('input').focus();
  }
  const start = T.editorOpen();
  const C = words('editor');
  const d = makeDialog('editor', C.title);
  const field = editorField = el('input', { type: 'text', name: 'expression', class: 'expr', autocomplete: 'off', spellcheck: false });
  field.value = text !== undefined ? text : start;
  let changed = false;
  field.addEventListener('input', () => { changed = true; });
  const error = el('div', { class: 'toolError' }, C.error);
  const indicator = el('span', { class: 'indicator' });
  const apply = (action) => host.run(() => {
    const o = JSON.parse(T.editor(action, field.value));
    if (o.errorText) error.textContent = o.errorText;
    if (o.setField) {
      if (action === 'insert') insertText(field, o.fieldText);
      else field.value = o.fieldText;
    }
    if (o.done) changed = false;
    if (o.badPos > 0) selectBad(field, o.badPos);
    else field.focus();
  });
  // The key-repurposing indicator: ON in red, OFF in blue.
  const showKeyTenyou = () => {
    const on = !!T.getKeyTenyou();
    indicator.textContent = on ? C.keyTenyouOn : C.keyTenyouOff;
    indicator.classList.toggle('on', on);
  };
  const keyTenyou = () => host.run(() => {
    T.editor('keyTenyou', '');
    showKeyTenyou();
  });
  const close = () => {
    host.run(() => {
      if (T.editorClose(changed ? 1 : 0) !== 1) return;
      closed('editor');
      editorField = null;
      d.remove();
    });
  };
  d.append(
    el('div', { class: 'row' }, el('span', { class: 'navy' }, C.editHere), captioned(C.keyTenyou, keyTenyou), indicator),
    field, error,
    el('div', { class: 'buttons' },
      captioned(C.show, () => apply('show')),
      captioned(C.calculate, () => apply('calculate')),
      captioned(C.close, close)),
    el('div', { class: 'buttons' },
      captioned(C.memo, () => openMemo()),
      captioned(C.substitution, () => openSubstitution(field.value)),
      captioned(C.conditions, () => openConditions()),
      captioned(C.stash, () => apply('stash')),
      captioned(C.insert, () => apply('insert')),
      captioned(C.look, () => apply('look'))));
  showKeyTenyou();
  keypadInto(field);
  toolKeys(0, field, {
    show: () => apply('show'), calculate: () => apply('calculate'), close, picture: () => apply('solve'),
    next: () => (open.memo ? 'memo' : 'substitution'), back: () => 'screen',
  });
  showBeside('editor', d, field);
  d.editorTake = (t) => { field.value = t; changed = true; field.focus(); };
}
function editorTake(text) {
  if (open.editor) open.editor.editorTake(text);
  else openEditor(text);
}

// ---- The expression memo -------------------------------------------------------------------------------

function openMemo() {
  if (open.memo) return open.memo.querySelector('select').focus();
  const C = words('memo');
  const d = makeDialog('memo', C.title);
  const list = el('select', { size: 8, name: 'memo', class: 'memoList' });
  let m = null;
  const render = (r) => {
    m = r;
    list.textContent = '';
    m.entries.forEach((t, i) => list.append(el('option', { value: i }, t)));
    list.value = m.selected >= 0 ? String(m.selected) : '';
  };
  const call = (action, text = '', index = 0) => {
    const r = JSON.parse(T.memo(action, text, index));
    render(r);
    return r;
  };
  call('open');
  list.addEventListener('change', () => host.run(() => call('choose', '', Number(list.value))));
  const change = (action, text) => host.run(() => {
    call(action, text);
    host.persist();
  });
  const close = () => host.run(() => {
    call('close');
    host.persist();
    closed('memo');
    d.remove();
  });
  const selected = () => JSON.parse(T.memo('selected', '', 0)).result;
  list.addEventListener('dblclick', () => { const t = selected(); if (t) editorTake(t); });
  list.addEventListener('keydown', (e) => {
    if (e.key === 'Escape') { e.preventDefault(); close(); return; }
    if (e.key === 'Enter') { e.preventDefault(); const t = selected(); if (t) editorTake(t); return; }
    const k = toVirtualKey(e);
    if (!k || (k[1] & ALT)) return;
    const r = JSON.parse(T.toolKey(1, k[0], k[1]));
    if (r.action === 'focusNext') { e.preventDefault(); focusTool(open.substitution ? 'substitution' : 'editor'); }
    else if (r.action === 'focusBack') { e.preventDefault(); focusTool(open.editor ? 'editor' : 'screen'); }
  });
  d.append(list, el('div', { class: 'buttons' },
    captioned(C.fromEditor, () => {
      if (!editorField) return openEditor();
      change('add', editorField.value);
    }),
    captioned(C.toEditor, () => { const t = selected(); if (t) editorTake(t); }),
    captioned(C.toSubstitution, () => openSubstitution(selected())),
    captioned(C.look, () => host.run(() => call('look')))),
  el('div', { class: 'buttons' },
    captioned(C.delete, () => change('delete')),
    captioned(C.deleteAll, () => change('deleteAll')),
    captioned(C.close, close)));
  d.memoAdd = (t) => change('add', t);
  showBeside('memo', d, list);
}

// ---- The substitution box ------------------------------------------------------------------------------

function openSubstitution(expression) {
  if (open.substitution) {
    const f = open.substitution.querySelector('input.expr');
    if (expression !== undefined) f.value = expression;
    f.focus();
    return;
  }
  const C = words('substitution');
  const d = makeDialog('substitution', C.title);
  const values = ['x', 'y', 'z'].map((n) => el('input', { type: 'text', name: n, class: 'value', autocomplete: 'off', size: 8 }));
  const expr = el('input', { type: 'text', name: 'expression', class: 'expr', autocomplete: 'off', spellcheck: false });
  expr.value = expression || '';
  const call = (action) => JSON.parse(T.dainyuu(action, expr.value, values[0].value, values[1].value, values[2].value));
  const transfer = () => host.run(() => {
    const r = call('substitute');
    if (r.ok) editorTake(r.result);
  });
  const calculate = () => host.run(() => {
    const r = call('calculate');
    if (r.badPos > 0) selectBad(expr, r.badPos);
  });
  const close = () => host.run(() => {
    call('close');
    closed('substitution');
    d.remove();
  });
  const buttons = [
    captioned(C.transfer, transfer), captioned(C.calculate, calculate), captioned(C.look, () => host.run(() => call('look'))),
    captioned(C.memoSave, () => { if (!expr.value) return; openMemo(); open.memo.memoAdd(expr.value); }),
    captioned(C.memoOpen, () => openMemo()), captioned(C.close, close)];
  const update = () => { for (const b of buttons.slice(0, 4)) if (b.dataset.alt !== 'K') b.disabled = !expr.value; };
  expr.addEventListener('input', update);
  update();
  const row = el('div', { class: 'row' }, el('span', { class: 'maroon' }, C.values));
  [C.x, C.y, C.z].forEach((caption, k) => row.append(el('label', { class: 'navy' }, caption, values[k])));
  d.append(row, el('div', { class: 'row' }, el('span', { class: 'navy' }, C.expression), expr), el('div', { class: 'buttons' }, ...buttons));
  for (const f of [...values, expr]) {
    keypadInto(f);
    toolKeys(2, f, {
      show: calculate, calculate, close,
      next: () => (open.editor ? 'editor' : 'memo'), back: () => (open.editor ? 'editor' : 'screen'),
    });
  }
  showBeside('substitution', d, expression ? values[0] : expr);
}

// ---- The version box -------------------------------------------------------------------------------------

function openVersion() {
  if (open.version) return;
  const C = words('version');
  const d = makeDialog('version', C.title);
  const ok = captioned(C.ok, () => { closed('version'); d.remove(); });
  d.append(
    el('div', { class: 'band' },
      el('div', { class: 'fraction' }, el('span', {}, '1'), el('span', { class: 'bar' }), el('span', {}, '2')),
      el('div', {}, el('div', { class: 'v' }, C.version), el('div', { class: 'name' }, C.name),
        el('div', { class: 'sub' }, C.sub))),
    el('div', { class: 'maker' }, el('div', { class: 'stars' }, '★★★★★★★'), el('div', {}, C.maker)),
    el('menu', { class: 'center' }, ok));
  d.addEventListener('cancel', (e) => { e.preventDefault(); ok.click(); });
  showModal('version', d, ok);
}

// ---- The notice box ----------------------------------------------------------------------------------------

let noticeTimer = 0;
// Draws the notice as the desktop's box does (a notice the C++ cannot lay out is not shown).
function showNotice(m) {
  const n = document.getElementById('notice');
  const r = JSON.parse(T.notice(m.text));
  if (r.failed) return true;
  const c = n.querySelector('canvas');
  const dpr = window.devicePixelRatio || 1;
  c.width = Math.round(r.width * dpr);
  c.height = Math.round(r.height * dpr);
  c.style.width = `${r.width}px`;
  c.style.height = `${r.height}px`;
  const g = c.getContext('2d');
  g.fillStyle = 'white';
  g.fillRect(0, 0, c.width, c.height);
  host.drawList(r.ops, g, dpr);
  n.querySelector('.caption').textContent = m.caption;
  n.classList.add('drawn');
  n.hidden = false;
  n.tabIndex = -1;
  const hide = () => { n.hidden = true; clearTimeout(noticeTimer); };
  n.onclick = hide;
  n.onkeydown = (e) => { if (e.key === 'Escape' || e.key === 'Enter') hide(); };
  clearTimeout(noticeTimer);
  noticeTimer = setTimeout(hide, Math.max(800, m.durationMs || 3000));
  return true;
}

// ---- The page's side ------------------------------------------------------------------------------------

const OPENERS = {
  conditions: () => openConditions(), goals: () => openGoals(), editor: () => openEditor(), memo: () => openMemo(),
  substitution: () => openSubstitution(), version: () => openVersion(),
};
// The tool row's buttons: [dialog, caption, tooltip]; a tooltip of a command is the desktop menus' item with
// the browser's key (src/screen/ScreenMenus.h; the binding test holds them to it).
export const TOOL_ROW = [
  ['editor', '式エディタ', '式エディタを開く  Alt+E'], ['memo', '式メモ', '式メモを開く  Alt+M'],
  ['substitution', '代入Box', '代入Boxを開く  Alt+D'], ['conditions', '条件J', '条件設定ボックス表示  Alt+J'],
  ['goals', '今週の目標', '今週の目標を編集する'], ['version', 'バージョン', 'バージョン情報']];

export function installDialogs(h) {
  host = h;
  const M = h.M;
  T = {
    condOpen: M.cwrap('kz_conditions_open', 'string', []),
    condState: M.cwrap('kz_conditions_state', 'string', []),
    condSet: M.cwrap('kz_conditions_set', 'string', ['string', 'number']),
    condPai: M.cwrap('kz_conditions_pai', 'string', ['string', 'number']),
    condClose: M.cwrap('kz_conditions_close', 'string', ['string']),
    goalsText: M.cwrap('kz_goals_text', 'string', []),
    goalsCheck: M.cwrap('kz_goals_check', 'number', ['string']),
    goalsClose: M.cwrap('kz_goals_close', 'number', ['string', 'number']),
    goalsFont: M.cwrap('kz_goals_font', 'number', ['number', 'number']),
    editorOpen: M.cwrap('kz_editor_open', 'string', []),
    editor: M.cwrap('kz_editor', 'string', ['string', 'string']),
    editorClose: M.cwrap('kz_editor_close', 'number', ['number']),
    toolKey: M.cwrap('kz_tool_key', 'string', ['number', 'number', 'number']),
    memo: M.cwrap('kz_memo', 'string', ['string', 'string', 'number']),
    dainyuu: M.cwrap('kz_dainyuu', 'string', ['string', 'string', 'string', 'string', 'string']),
    notice: M.cwrap('kz_notice', 'string', ['string']),
    getKeyTenyou: () => JSON.parse(M.ccall('kz_tool_key', 'string', ['number', 'number', 'number'], [0, 0, 0])).keyTenyou,
    command: (name) => h.command(name),
  };
  const row = document.getElementById('toolRow');
  if (row) {
    for (const [name, caption, title] of TOOL_ROW) {
      const b = el('button', { type: 'button', title }, caption);
      b.dataset.tool = name;
      b.addEventListener('click', () => OPENERS[name]());
      row.append(b);
    }
  }
  return {
    // A page command of the model ("editor", "memo" …): true when a dialog here takes it.
    open(name) {
      const f = OPENERS[name];
      if (!f) return false;
      f();
      return true;
    },
    // The keypad's characters go into the tool field that has the caret.
    keypadChar(text) {
      if (!keypadField || document.activeElement !== keypadField) return false;
      insertText(keypadField, text);
      return true;
    },
    keypadBackspace() {
      const f = keypadField;
      if (!f || document.activeElement !== f) return false;
      const a = f.selectionStart, b = f.selectionEnd;
      if (a !== b) f.value = f.value.slice(0, a) + f.value.slice(b);
      else if (a > 0) {
        f.value = f.value.slice(0, a - 1) + f.value.slice(a);
        f.selectionStart = f.selectionEnd = a - 1;
        return true;
      }
      f.selectionStart = f.selectionEnd = a;
      return true;
    },
    notice: showNotice,
    // The cursor's blink period in milliseconds (CURSOLTEMPO, clamped by the model).
    cursorPeriod: () => JSON.parse(T.condState()).CURSOLTEMPO,
    // Whether a tool dialog beside the keypad has the keyboard (the page then leaves keys alone).
    hasFocus: () => !!document.activeElement && !!document.activeElement.closest('dialog.tool[open]'),
  };
}
