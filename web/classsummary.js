// The class summary in the browser: the teacher opens the pupils' result files (.kazoru) — many at once
// with the file picker, a folder where the browser offers one, or dropped on the page — and reads, per
// assignment, the table of pupils × problems (○ / △ / × with the mistake / —), how many were right and the
// most frequent mistakes per problem, each pupil's score, time and mistakes with the advice, and the bar
// chart of mistakes; prints it on A4 landscape and saves it as CSV. Everything is computed by the same C++
// summary as the desktop's and the batch tool's (kz_cs_*); this file reads the files and shows the result.

import { el } from './dom.js';
import { withBytes } from './wasm.js';

const RESULT_EXTENSION = '.kazoru';
const TOP_MISTAKES = 2;  // mistakes named under each problem
const LARGE_CLASS = 200;  // pupils of a table laid out by fixed column widths, in bands
const BAND_ROWS = 50;
// A4 landscape at 96 pixels per inch, the resolution the printed pages are laid out at.
const A4_LANDSCAPE = [1123, 794];
const ORDERS = [['number', '番号順'], ['scoreDown', '点数の高い順'], ['scoreUp', '点数の低い順'], ['problem', '問題の結果順']];

const esc = (t) => String(t).replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;').replace(/"/g, '&quot;');
const isResult = (name) => name.toLowerCase().endsWith(RESULT_EXTENSION);

// The files of a dropped folder, deep, with their paths; a folder with no result file is said so.
async function filesOfEntry(entry, out, folders) {
  if (entry.isFile) {
    const file = await new Promise((resolve) => entry.file(resolve, () => resolve(null)));
    out.push({ name: entry.fullPath.replace(/^\//, ''), file, error: file ? '' : 'ファイルを読めません。' });
    return;
  }
  const reader = entry.createReader();
  const all = [];
  for (;;) {
    const batch = await new Promise((resolve) => reader.readEntries(resolve, () => resolve([])));
    if (!batch.length) break;
    all.push(...batch);
  }
  all.sort((a, b) => (a.name < b.name ? -1 : a.name > b.name ? 1 : 0));
  const before = out.length;
  for (const e of all) {
    // A folder stands for its result files, as on the desktop.
    if (e.isDirectory) await filesOfEntry(e, out, folders);
    else if (isResult(e.name)) await filesOfEntry(e, out, folders);
  }
  if (out.length === before) folders.push(entry.fullPath.replace(/^\//, ''));
}

export function installClassSummary({ M, drawList }) {
  // The teacher's dialogs have a style sheet of their own, asked for once the program runs: the first
  // screen does not wait for it.
  if (!document.querySelector('link[href="classroom.css"]')) {
    document.head.append(el('link', { rel: 'stylesheet', href: 'classroom.css' }));
  }
  const C = {
    clear: M.cwrap('kz_cs_clear', null, []),
    add: M.cwrap('kz_cs_add', null, ['string', 'number', 'number', 'number', 'string']),
    maxBytes: M.cwrap('kz_cs_max_bytes', 'number', []),
    summarise: M.cwrap('kz_cs_summarise', 'string', []),
    sort: M.cwrap('kz_cs_sort', 'string', ['number', 'number', 'number']),
    chartHeight: M.cwrap('kz_cs_chart_height', 'number', ['number']),
    chart: M.cwrap('kz_cs_chart', 'string', ['number', 'number', 'number']),
    print: M.cwrap('kz_cs_print', 'string', ['number', 'number']),
    csv: M.cwrap('kz_cs_csv', 'number', []),
    csvBytes: M.cwrap('kz_cs_csv_bytes', 'number', []),
  };
  const maxBytes = C.maxBytes();
  const summary = { C, data: null, lastMs: 0 };

  const picker = el('input', { type: 'file', multiple: true, accept: `${RESULT_EXTENSION},application/json`, hidden: true });
  const folderPicker = el('input', { type: 'file', multiple: true, hidden: true });
  const folders = 'webkitdirectory' in folderPicker;
  if (folders) folderPicker.webkitdirectory = true;
  const cmd = (name, caption) => el('button', { type: 'button', value: name, class: `cs-${name}` }, caption);
  const tools = el('menu', { class: 'csTools' }, cmd('open', 'ファイルを開く'),
    ...(folders ? [cmd('folder', 'フォルダーを開く')] : []), cmd('print', '印刷'), cmd('csv', 'CSVで保存'),
    cmd('close', '閉じる'));
  const status = el('p', { class: 'csStatus', role: 'status', 'aria-live': 'polite' },
    '提出された結果のファイル（.kazoru）を開くか、ここにドロップしてください。まとめて開けます。');
  const body = el('div', { class: 'csBody' });
  const dlg = el('dialog', { id: 'classSummary', 'aria-label': 'クラスのまとめ' },
    el('header', { class: 'csHead' }, el('h2', {}, 'クラスのまとめ'), tools), status, body, picker, folderPicker);
  document.body.append(dlg);
  const printHolder = el('div', { id: 'classPrint', 'aria-hidden': 'true' });
  document.body.append(printHolder);

  // Hands the files to the summary and shows it: [{ name, file (a File or Blob), error }], and the folders
  // that had no result file.
  async function summarise(list, emptyFolders = []) {
    const t0 = performance.now();
    status.textContent = `${list.length} 個のファイルを読んでいます…`;
    const read = await Promise.all(list.map(async (f) => {
      if (f.error || !f.file) return { ...f, bytes: null };
      if (f.file.size > maxBytes) return { ...f, bytes: null };
      try {
        return { ...f, bytes: new Uint8Array(await f.file.arrayBuffer()) };
      } catch {
        return { ...f, bytes: null, error: 'ファイルを読めません。' };
      }
    }));
    C.clear();
    for (const f of read) {
      const size = f.file ? f.file.size : 0;
      if (!f.bytes || !f.bytes.length) {
        C.add(f.name, size, 0, 0, f.error || '');
        continue;
      }
      withBytes(M, f.bytes, (p, n) => C.add(f.name, size, p, n, ''));
    }
    for (const name of emptyFolders) C.add(name, 0, 0, 0, 'このフォルダーには結果のファイル（.kazoru）がありません。');
    const t1 = performance.now();
    summary.data = JSON.parse(C.summarise());
    C.clear();
    const t2 = performance.now();
    summary.sort = summary.data.assignments.map(() => ({ order: 'number', problem: 0 }));
    show();
    // The time the teacher waits: until the table is laid out and painted.
    await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));
    const t3 = performance.now();
    summary.lastMs = t3 - t0;
    // Where the time went: reading the files, the C++ summary, the table and chart laid out and painted.
    summary.parts = { read: t1 - t0, summarise: t2 - t1, show: t3 - t2 };
    return summary.data;
  }

  function show() {
    const d = summary.data;
    body.textContent = '';
    if (!d) return;
    const pupils = d.assignments.reduce((n, a) => n + a.pupils.length, 0);
    status.textContent = d.assignments.length
      ? `課題 ${d.assignments.length} 件、${pupils} 人分をまとめました。` +
        (d.skipped.length ? `読めなかったファイルが ${d.skipped.length} 個あります（下にあります）。` : '')
      : 'まとめられる結果のファイルがありません。';
    d.assignments.forEach((a, i) => body.append(assignmentSection(a, i)));
    if (d.skipped.length) {
      body.append(el('section', { class: 'csSkipped' }, el('h3', {}, '読めなかったファイル'),
        el('table', {}, el('thead', {}, el('tr', {}, el('th', {}, 'ファイル'), el('th', {}, 'わけ'))),
          el('tbody', {}, ...d.skipped.map((s) => el('tr', {}, el('td', {}, s.file), el('td', {}, s.reason)))))));
    }
    drawCharts();
  }

  function assignmentSection(a, index) {
    const n = a.problems.length;
    const sort = summary.sort[index];
    const order = el('select', { name: 'csOrder', 'aria-label': '並べ方' },
      ...ORDERS.map(([id, name]) => el('option', { value: id }, name)));
    order.value = sort.order;
    const problem = el('select', { name: 'csProblem', 'aria-label': '問題', hidden: sort.order !== 'problem' },
      ...a.problems.map((p, k) => el('option', { value: k }, `問${k + 1}`)));
    problem.value = String(sort.problem);
    const resort = () => {
      summary.sort[index] = { order: order.value, problem: +problem.value };
      summary.data = JSON.parse(C.sort(index, ORDERS.findIndex(([id]) => id === order.value), +problem.value));
      show();
      const again = body.querySelectorAll('section.csAssignment')[index];
      if (again) again.querySelector('select[name="csOrder"]').focus();
    };
    order.addEventListener('change', resort);
    problem.addEventListener('change', resort);

    // A grade's thousand pupils make tens of thousands of cells: the table and the advice are written as
    // one text each (every value escaped), which the browser builds far faster than element by element.
    const head = `<tr><th>組</th><th>番号</th><th>名前</th><th>点数</th><th>時間</th>${
      a.problems.map((p, k) => `<th class="csProblemHead" title="${esc(`${p.text} = ${p.answer}`)}">問${k + 1}<br>`
        + `<span class="csExpr">${esc(p.text)}</span></th>`).join('')}<th>まちがい</th></tr>`;
    const row = (p) => `<tr${p.tampered ? ' class="csTampered"' : ''}><td>${esc(p.class)}</td>`
      + `<td class="csNum">${p.number}</td><td>${esc(p.name)}</td><td class="csNum">${p.score}/${n}</td>`
      + `<td class="csNum">${esc(p.time)}</td>${p.cells.map((c) => `<td class="csCell cs-${c.verdict}"`
        + `${c.mistakes.length ? ` title="${esc(c.mistakes.join('、'))}"` : ''}>${esc(c.text)}</td>`).join('')}`
      + `<td>${esc(p.mistakes.map((m) => m.name).join('、'))}</td></tr>`;
    const right = `<tr class="csFoot"><th colspan="5">正しくできた人数</th>${
      a.problems.map((p) => `<td class="csNum">${p.right}/${a.pupils.length}</td>`).join('')}<td></td></tr>`;
    const often = `<tr class="csFoot"><th colspan="5">よくあるまちがい</th>${a.problems.map((p) => `<td class="csOften">${
      esc(p.mistakes.slice(0, TOP_MISTAKES).map((m) => `${m.name}（${m.count}人）`).join('、'))}</td>`).join('')}<td></td></tr>`;
    // A long table (a grade's pupils) has columns of fixed widths and comes in bands of rows, each its own
    // table with the same columns: the browser lays out only the bands in sight (content-visibility), so
    // a thousand pupils show as fast as a class.
    const table = el('div', { class: 'csScroll' });
    if (a.pupils.length <= LARGE_CLASS) {
      table.innerHTML = `<table class="csTable"><thead>${head}</thead><tbody>${a.pupils.map(row).join('')}</tbody>`
        + `<tfoot>${right}${often}</tfoot></table>`;
    } else {
      const widths = [5, 3, 8, 4, 5.5, ...a.problems.map(() => 6), 14];
      const open = `<table class="csTable csLarge" style="width:${widths.reduce((x, y) => x + y, 0)}em"><colgroup>${
        widths.map((w) => `<col style="width:${w}em">`).join('')}</colgroup>`;
      const bands = [];
      for (let k = 0; k < a.pupils.length; k += BAND_ROWS) {
        const band = a.pupils.slice(k, k + BAND_ROWS);
        const last = k + BAND_ROWS >= a.pupils.length;
        bands.push(`<div class="csBand" style="contain-intrinsic-size:auto ${band.length * 2}em">${open}`
          + `${k === 0 ? `<thead>${head}</thead>` : ''}<tbody>${band.map(row).join('')}</tbody>`
          + `${last ? `<tfoot>${right}${often}</tfoot>` : ''}</table></div>`);
      }
      table.innerHTML = bands.join('');
    }
    const withMistakes = a.pupils.filter((p) => p.mistakes.length);
    const advice = el('ul', { class: 'csAdvice' });
    advice.innerHTML = withMistakes.map((p) => `<li><b>${esc(`${p.class} ${p.number} ${p.name}`)}</b><ul>${
      p.mistakes.map((m) => `<li><span class="csMistake">${esc(m.name)}</span>　${esc(m.advice)}</li>`).join('')}</ul></li>`)
      .join('');
    const notes = [];
    if (a.superseded.length) {
      notes.push(el('p', { class: 'csNote' }, '同じ人があとから出し直したので、次のファイルは数えていません（あとのものを数えています）：',
        el('ul', {}, ...a.superseded.map((f) => el('li', {}, f)))));
    }
    if (a.tampered.length) {
      notes.push(el('p', { class: 'csNote csWarn' }, '問題の式が課題と合わないファイルがあります（書きかえられています）：',
        el('ul', {}, ...a.tampered.map((f) => el('li', {}, f)))));
    }
    const chart = el('canvas', { class: 'csChart', role: 'img', 'aria-label': 'まちがいごとの人数' });
    chart.dataset.index = index;
    return el('section', { class: 'csAssignment' },
      el('h3', {}, a.title, el('span', { class: 'csCode' }, `（${a.code}）`)),
      el('p', { class: 'csMeta' }, `答えの形：${a.final}　結果の見せ方：${a.feedback}　${a.pupils.length} 人`),
      el('div', { class: 'csSortRow' }, el('label', {}, '並べ方 ', order), problem),
      table, ...notes,
      el('div', { class: 'csChartBox' }, chart),
      ...(withMistakes.length ? [el('h4', {}, '一人ひとりのまちがいと助言'), advice] : []));
  }

  // The bar charts, drawn by the shared C++ at the width the page gives them.
  function drawCharts() {
    const dpr = window.devicePixelRatio || 1;
    for (const canvas of body.querySelectorAll('canvas.csChart')) {
      const i = +canvas.dataset.index;
      const w = Math.max(320, Math.floor(canvas.parentElement.clientWidth || 640));
      const h = C.chartHeight(i);
      canvas.style.width = `${w}px`;
      canvas.style.height = `${h}px`;
      canvas.width = Math.round(w * dpr);
      canvas.height = Math.round(h * dpr);
      const g = canvas.getContext('2d');
      g.setTransform(1, 0, 0, 1, 0, 0);
      g.fillStyle = '#ffffff';
      g.fillRect(0, 0, canvas.width, canvas.height);
      drawList(C.chart(i, w, h), g, dpr);
    }
  }

  // The printout: the shared layout's A4 landscape pages as pictures, then the browser's print dialog.
  function preparePrint() {
    printHolder.textContent = '';
    if (!summary.data) return 0;
    const [w, h] = A4_LANDSCAPE;
    const scale = 3;
    for (const page of C.print(w, h).split('P\n').slice(0, -1)) {
      const c = document.createElement('canvas');
      c.width = w * scale;
      c.height = h * scale;
      const g = c.getContext('2d');
      g.fillStyle = '#ffffff';
      g.fillRect(0, 0, c.width, c.height);
      drawList(page, g, scale);
      printHolder.appendChild(el('img', { src: c.toDataURL('image/png'), alt: 'クラスのまとめ' }));
    }
    document.body.classList.add('printClass');
    return printHolder.children.length;
  }
  window.addEventListener('afterprint', () => document.body.classList.remove('printClass'));

  function saveCsv() {
    if (!summary.data) return;
    // The bytes as the C++ wrote them, the byte order mark first.
    const length = C.csv();
    const p = C.csvBytes();
    const blob = new Blob([M.HEAPU8.slice(p, p + length)], { type: 'text/csv;charset=utf-8' });
    const a = document.createElement('a');
    const first = summary.data.assignments[0];
    // A file name takes no path character and no control character.
    // eslint-disable-next-line no-control-regex
    a.download = `${first ? first.title.replace(/[\\/:*?"<>|\u0000-\u001f]/g, '_') : 'クラス'}-まとめ.csv`;
    a.href = URL.createObjectURL(blob);
    a.click();
    setTimeout(() => URL.revokeObjectURL(a.href), 60000);
  }

  const fromInput = (input) => {
    const files = [...input.files];
    input.value = '';
    return files;
  };
  picker.addEventListener('change', () => {
    const files = fromInput(picker);
    if (files.length) summarise(files.map((file) => ({ name: file.name, file })));
  });
  folderPicker.addEventListener('change', () => {
    const files = fromInput(folderPicker);
    const results = files.filter((f) => isResult(f.name))
      .map((file) => ({ name: file.webkitRelativePath || file.name, file }))
      .sort((a, b) => (a.name < b.name ? -1 : a.name > b.name ? 1 : 0));
    if (files.length) summarise(results, results.length ? [] : [(files[0].webkitRelativePath || '').split('/')[0]]);
  });
  tools.addEventListener('click', (e) => {
    const b = e.target.closest('button');
    if (!b) return;
    if (b.value === 'open') picker.click();
    else if (b.value === 'folder') folderPicker.click();
    else if (b.value === 'print') { if (preparePrint()) window.print(); }
    else if (b.value === 'csv') saveCsv();
    else if (b.value === 'close') dlg.close();
  });
  dlg.addEventListener('dragover', (e) => {
    e.preventDefault();
    if (e.dataTransfer) e.dataTransfer.dropEffect = 'copy';
    dlg.classList.add('csDropping');
  });
  dlg.addEventListener('dragleave', () => dlg.classList.remove('csDropping'));
  dlg.addEventListener('drop', async (e) => {
    e.preventDefault();
    dlg.classList.remove('csDropping');
    if (!e.dataTransfer) return;
    // The drop's items are taken at once (they are gone after the handler's first wait): a folder as an
    // entry to walk, a file as itself.
    const dropped = [...(e.dataTransfer.items || [])].filter((it) => it.kind === 'file').map((it) => {
      const entry = it.webkitGetAsEntry ? it.webkitGetAsEntry() : null;
      return entry && entry.isDirectory ? { entry } : { file: it.getAsFile() };
    });
    if (!dropped.length) for (const file of e.dataTransfer.files) dropped.push({ file });
    const list = [], empty = [];
    for (const d of dropped) {
      if (d.entry) await filesOfEntry(d.entry, list, empty);
      else if (d.file) list.push({ name: d.file.name, file: d.file });
    }
    if (list.length || empty.length) summarise(list, empty);
  });
  let resizeTimer = 0;
  window.addEventListener('resize', () => {
    clearTimeout(resizeTimer);
    resizeTimer = setTimeout(() => { if (dlg.open) drawCharts(); }, 100);
  });

  function open() {
    dlg.showModal();
    tools.querySelector('button').focus();
    drawCharts();
  }
  // The files given as texts, for the tests and the speed figure: [{ name, text }].
  const summariseTexts = (files) => summarise(files.map((f) => ({ name: f.name, file: new Blob([f.text]) })));
  Object.assign(summary, { open, summarise, summariseTexts, preparePrint, saveCsv, dialog: dlg });
  return summary;
}
