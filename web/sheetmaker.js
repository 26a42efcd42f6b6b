// The dialog 「問題づくり」 of the browser notebook, as the desktop's: the skills with their examples drawn in
// school notation, the controls of the sheet, a preview of its first problems, and the buttons that put the
// problems on the notebook's page and print the pupils' sheet and the answer key on A4. The sheet is made,
// checked and laid out by the same C++ as on the desktop (kz_sh_*); this file builds the dialog and shows
// what it returns. Its controls are finger-sized; on a narrow screen the list stands above the controls.

import { installHandOut } from './handout.js';
import { el } from './dom.js';


const CONTROL_MAX_DEN = 1, CONTROL_REDUCE = 4, CONTROL_MAX_ANSWER = 8, CONTROL_MIXED = 16;
const randomSeed = () => String(Math.floor(Math.random() * 1000000));

export function installSheetMaker({ M, run, persist, drawList, notebook }) {
  const S = {
    skills: M.cwrap('kz_sh_skills', 'string', []),
    make: M.cwrap('kz_sh_make', 'string',
      ['string', 'number', 'number', 'number', 'number', 'number', 'number', 'string', 'number']),
    rows: M.cwrap('kz_sh_rows', 'string', ['number']),
    rowHeight: M.cwrap('kz_sh_row_height', 'number', []),
    toPage: M.cwrap('kz_sh_to_page', 'number', []),
    print: M.cwrap('kz_sh_print', 'string', ['number', 'number']),
  };
  const skills = JSON.parse(S.skills());
  const rowHeight = S.rowHeight();
  const maker = window.kazoru.sheetMaker = { S, sheet: null, skills };

  const number = (name, min, max, value) => el('input', { type: 'number', name, min, max, value, inputMode: 'numeric' });
  const field = (caption, input, ...more) => el('label', { class: 'smField' }, el('span', {}, caption), input, ...more);

  const list = el('div', { class: 'smSkills', role: 'radiogroup', 'aria-label': '問題の種類' });
  skills.forEach((k, i) => {
    const radio = el('input', { type: 'radio', name: 'skill', value: k.id });
    const example = el('canvas', { class: 'smExample', width: 240, height: rowHeight, 'aria-label': `例 ${k.example}` });
    list.append(el('label', { class: 'smSkill' }, radio, el('span', { class: 'smName' }, k.name), example));
    example.dataset.index = i;
  });
  const count = number('count', 1, 50, 20);
  const maxDen = number('maxDen', 2, 99, 12);
  const terms = number('terms', 1, 4, 2);
  const reduce = el('select', { name: 'reduce' },
    ...['どちらでも', '約分する答え', '約分しない答え'].map((t, i) => el('option', { value: i }, t)));
  const maxAnswer = number('maxAnswer', 0, 1000000, 0);
  const mixed = el('input', { type: 'checkbox', name: 'mixed', checked: true });
  const seed = el('input', { type: 'text', name: 'seed', inputMode: 'numeric', autocomplete: 'off', size: 10, value: randomSeed() });
  const newSeed = el('button', { type: 'button', class: 'smNewSeed' }, '新しいシード');
  const version = el('select', { name: 'version' },
    ...Array.from({ length: 26 }, (_, i) => el('option', { value: 65 + i }, String.fromCharCode(65 + i))));
  const advice = el('input', { type: 'checkbox', name: 'advice' });
  const preview = el('canvas', { class: 'smPreview', width: 440, height: 5 * rowHeight + 12, 'aria-label': 'はじめの問題' });
  const message = el('p', { class: 'smMessage', role: 'status', 'aria-live': 'polite' });
  const cmd = (name, caption) => el('button', { type: 'button', value: name, class: `sm-${name}` }, caption);
  const buttons = el('menu', { class: 'smButtons' }, cmd('make', 'ノートに作る'), cmd('printSheet', '問題用紙を印刷'),
    cmd('printKey', '解答を印刷'), cmd('handOut', '課題として配る'), cmd('close', '閉じる'));
  const controls = el('div', { class: 'smControls' },
    field('問題の数', count), field('いちばん大きい分母', maxDen), field('項の数', terms), field('約分', reduce),
    field('答えの上限（0はなし）', maxAnswer), field('帯分数の答え', mixed, el('span', {}, '帯分数の答えも出す')),
    field('シード', seed, newSeed), field('版', version), field('', advice, el('span', {}, '解答に助言も付ける')));
  const left = el('div', { class: 'smLeft' }, list, el('h3', {}, 'はじめの問題'), preview, message);
  // The buttons stay in sight under the scrolling parts.
  const dlg = el('dialog', { id: 'sheetMaker', 'aria-label': '問題づくり' },
    el('h2', {}, '問題づくり'), el('div', { class: 'smBody' }, left, controls), buttons);
  document.body.append(dlg);

  function draw(canvas, listText) {
    const dpr = window.devicePixelRatio || 1;
    const w = canvas.width / (canvas.dataset.dpr || 1), h = canvas.height / (canvas.dataset.dpr || 1);
    canvas.style.width = `${w}px`;
    canvas.style.height = `${h}px`;
    canvas.width = Math.round(w * dpr);
    canvas.height = Math.round(h * dpr);
    canvas.dataset.dpr = dpr;
    const g = canvas.getContext('2d');
    g.setTransform(1, 0, 0, 1, 0, 0);
    g.fillStyle = '#ffffff';
    g.fillRect(0, 0, canvas.width, canvas.height);
    drawList(listText, g, dpr);
  }

  const chosen = () => skills.find((k) => k.id === (list.querySelector('input:checked') || {}).value) || skills[0];

  // The controls the skill takes are open; the others keep their neutral values, as on the desktop.
  function skillChanged() {
    const k = chosen();
    maxDen.disabled = !(k.controls & CONTROL_MAX_DEN);
    terms.disabled = k.minTerms === k.maxTerms;
    terms.min = k.minTerms;
    terms.max = k.maxTerms;
    if (+terms.value < k.minTerms || +terms.value > k.maxTerms) terms.value = k.minTerms;
    reduce.disabled = !(k.controls & CONTROL_REDUCE);
    if (reduce.disabled) reduce.value = '0';
    maxAnswer.disabled = !(k.controls & CONTROL_MAX_ANSWER);
    if (maxAnswer.disabled) maxAnswer.value = '0';
    mixed.disabled = !(k.controls & CONTROL_MIXED);
    if (mixed.disabled) mixed.checked = true;
    for (const l of list.children) l.classList.toggle('chosen', l.querySelector('input').checked);
    makePreview();
  }

  function makePreview() {
    const k = chosen();
    maker.sheet = JSON.parse(S.make(k.id, +count.value || 0, +maxDen.value || 0, +terms.value || 0, +reduce.value,
      +maxAnswer.value || 0, mixed.checked ? 1 : 0, seed.value, +version.value));
    message.textContent = maker.sheet.message;
    draw(preview, S.rows(-1));
  }

  // The pages as pictures in the print-only element, then the browser's print dialog (A4, no margins).
  function preparePrint(key) {
    const holder = document.getElementById('notePrint');
    holder.textContent = '';
    const w = notebook.K.sheetWidth(), h = notebook.K.sheetHeight();
    const scale = 3;
    for (const page of S.print(key ? 1 : 0, advice.checked ? 1 : 0).split('P\n').slice(0, -1)) {
      const c = document.createElement('canvas');
      c.width = w * scale;
      c.height = h * scale;
      const g = c.getContext('2d');
      g.fillStyle = '#ffffff';
      g.fillRect(0, 0, c.width, c.height);
      drawList(page, g, scale);
      holder.appendChild(el('img', { src: c.toDataURL('image/png'), alt: key ? '解答' : '問題用紙' }));
    }
    document.body.classList.add('printNote');
    return holder.children.length;
  }

  // Asked about an edited page, the action runs again with the pupil's answer.
  function makePage() {
    run(() => {
      if (!S.toPage()) return;
      dlg.close();
      notebook.scroll = 0;
    });
  }

  buttons.addEventListener('click', (e) => {
    const b = e.target.closest('button');
    if (!b) return;
    if (b.value === 'make') makePage();
    else if (b.value === 'close') dlg.close();
    else if (b.value === 'handOut') handOut.open();
    else if (maker.sheet && maker.sheet.problems.length) {
      preparePrint(b.value === 'printKey');
      window.print();
    }
  });
  list.addEventListener('change', skillChanged);
  for (const f of [count, maxDen, terms, reduce, maxAnswer, mixed, seed, version]) f.addEventListener('input', makePreview);
  newSeed.addEventListener('click', () => { seed.value = randomSeed(); makePreview(); });
  // The close event comes a task later: a dialog opened meanwhile (a key typed at once) keeps the caret.
  dlg.addEventListener('close', () => {
    if (notebook.shown && !document.querySelector('dialog[open]')) document.getElementById('noteSheet').focus();
  });

  function open() {
    if (!list.querySelector('input:checked')) {
      // Sums with unlike denominators, the first thing a class practises.
      const first = list.querySelector('input[value="sum-unlike"]') || list.querySelector('input');
      first.checked = true;
      for (const c of list.querySelectorAll('canvas')) draw(c, S.rows(+c.dataset.index));
    }
    skillChanged();
    dlg.showModal();
    list.querySelector('input:checked').focus();
  }
  Object.assign(maker, { open, preparePrint, makePage, dialog: dlg, mixedAnswers: () => mixed.checked });
  // 「課題として配る」: the sheet shown handed to a class as a link and a QR code.
  const handOut = maker.handOut = installHandOut({ M, maker, persist, drawList,
    sheetWidth: () => notebook.K.sheetWidth(), sheetHeight: () => notebook.K.sheetHeight() });
  return maker;
}
