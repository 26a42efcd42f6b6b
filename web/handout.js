// 「課題として配る」 of the browser's 問題づくり: the sheet the dialog shows handed to a class. The teacher gives
// the title, the final form asked and when the pupils see the verdicts; the code comes from the same C++ as
// on every edition (kz_ho_*), the link is the site's address with the code in its fragment — this site's
// own, or the school's copy the teacher names, kept with the settings and checked by the same C++ as the
// desktop's — and the page shows it with a copy button and its QR code (the qrcode-generator library the site ships), and
// prints the pupils' sheet with the QR code, the title and the code in text at the head of its first page.
// The QR encoder is asked for when the dialog first opens: the first screen does not wait for it. Its
// address is made at run time, so the page's bundle leaves it a file of the site of its own.

import { el } from './dom.js';

const QR_MODULE = 'lib/qrcode.mjs';
let qrcodeModule = null;
// Named from the page's address: the bundled page script runs from a blob: address of its own.
const loadQr = () => (qrcodeModule ||= import(new URL(QR_MODULE, document.baseURI).href).then((m) => m.default));


// The page's own address: its location without its fragment. The links point here until the teacher names
// another site.
export const siteAddress = () => location.href.split('#')[0];

// The QR code's modules (true: dark) for a text, with the error correction level M (a printed sheet may be
// a little soiled or folded).
export async function qrModules(text) {
  const qrcode = await loadQr();
  const qr = qrcode(0, 'M');
  qr.addData(text, 'Byte');
  qr.make();
  const n = qr.getModuleCount();
  return Array.from({ length: n }, (_, r) => Array.from({ length: n }, (_, c) => qr.isDark(r, c)));
}

// The bundled face first; a title with a character the subset lacks falls back to the system's.
const fontStack = 'KazoruGothic, "IPAGothic", "Hiragino Sans", "BIZ UDGothic", "Yu Gothic", sans-serif';
const QUIET = 4;  // modules of white around the code, as readers expect

// Draws the modules into g at (x, y), size pixels wide including the quiet zone, on white.
export function drawQr(g, modules, x, y, size) {
  const n = modules.length + 2 * QUIET;
  const cell = size / n;
  g.fillStyle = '#ffffff';
  g.fillRect(x, y, size, size);
  g.fillStyle = '#000000';
  modules.forEach((row, r) => row.forEach((dark, c) => {
    // Whole pixels at the cell's edges, so neighbouring modules meet without seams.
    if (!dark) return;
    const x0 = Math.round(x + (c + QUIET) * cell), y0 = Math.round(y + (r + QUIET) * cell);
    g.fillRect(x0, y0, Math.round(x + (c + QUIET + 1) * cell) - x0, Math.round(y + (r + QUIET + 1) * cell) - y0);
  }));
}

export function installHandOut({ M, maker, persist, drawList, sheetWidth, sheetHeight }) {
  const H = {
    choices: M.cwrap('kz_ho_choices', 'string', []),
    make: M.cwrap('kz_ho_make', 'string', ['string', 'string', 'string', 'string', 'string']),
    site: M.cwrap('kz_ho_site', 'string', ['string']),
  };
  const choices = JSON.parse(H.choices());
  const handOut = { H, state: null };

  const title = el('input', { type: 'text', name: 'hoTitle', autocomplete: 'off', maxLength: 80 });
  const select = (name, list) => el('select', { name }, ...list.map((c) => el('option', { value: c.id }, c.name)));
  const finalForm = select('hoFinal', choices.final);
  const feedback = select('hoFeedback', choices.feedback);
  const site = el('input', { type: 'url', name: 'hoSite', autocomplete: 'off', spellcheck: false, maxLength: 400,
    title: '学校のサイトにおいた Kazoru のアドレス。一度決めると次からも使います。' });
  const field = (caption, input) => el('label', { class: 'hoField' }, el('span', {}, caption), input);
  const message = el('p', { class: 'hoMessage', role: 'status', 'aria-live': 'polite' });
  const code = el('output', { class: 'hoCode', 'aria-label': '課題のコード' });
  const link = el('input', { type: 'text', class: 'hoLink', readOnly: true, 'aria-label': '課題のリンク' });
  const copied = el('span', { class: 'hoCopied', role: 'status' });
  const copy = el('button', { type: 'button', class: 'hoCopy' }, 'リンクをコピー');
  const qr = el('canvas', { class: 'hoQr', width: 220, height: 220, role: 'img', 'aria-label': '課題のリンクのQRコード' });
  const cmd = (name, caption) => el('button', { type: 'button', value: name, class: `ho-${name}` }, caption);
  const buttons = el('menu', { class: 'smButtons' }, cmd('print', '課題の用紙を印刷'), cmd('close', '閉じる'));
  const dlg = el('dialog', { id: 'handOut', 'aria-label': '課題として配る' },
    el('h2', {}, '課題として配る'),
    el('div', { class: 'hoBody' },
      el('div', { class: 'hoFields' },
        field('課題名', title), field('答えの形', finalForm), field('結果の見せ方', feedback),
        el('p', { class: 'hoNote' }, '「すぐに」は一問ごとに○×と助言を、「提出のあとで」は提出してから見せます。「見せない」はテスト向けです。'),
        field('サイトのアドレス', site),
        message,
        el('div', { class: 'hoCodeRow' }, el('span', {}, 'コード'), code),
        el('div', { class: 'hoLinkRow' }, link, copy), copied),
      qr),
    buttons);
  document.body.append(dlg);

  // The code and link of the fields now; the QR code follows when the encoder is there. A later change
  // wins over an earlier one still waiting for it.
  let made = 0;
  async function update() {
    const r = JSON.parse(H.make(title.value, finalForm.value, feedback.value, site.value.trim(), siteAddress()));
    const turn = ++made;
    if (r.siteChanged) persist();
    message.textContent = r.message;
    code.textContent = r.grouped;
    link.value = r.link;
    copied.textContent = '';
    buttons.querySelector('.ho-print').disabled = true;
    copy.disabled = !r.link;
    let modules = null;
    try {
      modules = r.link ? await qrModules(r.link) : null;
    } catch {
      // The encoder could not be loaded (an old cache offline): the link and the code still serve.
      message.textContent = 'QRコードを作れませんでした。リンクとコードを使ってください。';
    }
    if (turn !== made) return;
    const g = qr.getContext('2d');
    g.setTransform(1, 0, 0, 1, 0, 0);
    g.clearRect(0, 0, qr.width, qr.height);
    if (modules) drawQr(g, modules, 0, 0, qr.width);
    qr.hidden = !modules;
    buttons.querySelector('.ho-print').disabled = !r.code || !modules;
    handOut.state = { ...r, title: title.value, final: finalForm.value, feedback: feedback.value, site: site.value.trim(),
      modules };
  }

  async function copyLink() {
    try {
      await navigator.clipboard.writeText(link.value);
    } catch {
      // Without the clipboard interface (an older browser, or no permission) the field's own copy.
      link.select();
      document.execCommand('copy');
    }
    copied.textContent = 'リンクをコピーしました。';
  }

  // The pupils' sheet from 問題づくり with a head on its first page: the QR code of the link, the title and
  // the code to type where a camera cannot read the QR code. The page keeps its proportions; the head's
  // room is taken from its height.
  function preparePrint() {
    const s = handOut.state;
    if (!s || !s.code) return 0;
    const pages = maker.S.print(0, 0).split('P\n').slice(0, -1);
    if (!pages.length) return 0;
    const holder = document.getElementById('notePrint');
    holder.textContent = '';
    const w = sheetWidth(), h = sheetHeight();
    const scale = 3;
    const head = Math.round(h * 0.15);  // about 44 mm of the A4 page
    pages.forEach((list, i) => {
      const c = document.createElement('canvas');
      c.width = w * scale;
      c.height = h * scale;
      const g = c.getContext('2d');
      g.fillStyle = '#ffffff';
      g.fillRect(0, 0, c.width, c.height);
      if (i === 0) {
        const page = document.createElement('canvas');
        page.width = c.width;
        page.height = c.height;
        const pg = page.getContext('2d');
        pg.fillStyle = '#ffffff';
        pg.fillRect(0, 0, page.width, page.height);
        drawList(list, pg, scale);
        const f = (h - head) / h;
        g.drawImage(page, (c.width * (1 - f)) / 2, head * scale, c.width * f, c.height * f);
        drawHead(g, s, w * scale, head * scale, scale);
      } else {
        drawList(list, g, scale);
      }
      holder.appendChild(el('img', { src: c.toDataURL('image/png'), alt: i ? '問題用紙' : '課題の用紙' }));
    });
    document.body.classList.add('printNote');
    return holder.children.length;
  }

  function drawHead(g, s, width, height, scale) {
    const margin = 14 * scale;
    const size = height - 2 * margin;
    drawQr(g, s.modules, margin, margin, size);
    const x = margin * 2 + size;
    const right = width - margin;
    g.fillStyle = '#000000';
    g.textBaseline = 'top';
    g.font = `bold ${20 * scale}px ${fontStack}`;
    g.fillText(s.title, x, margin, right - x);
    g.font = `${12 * scale}px ${fontStack}`;
    g.fillText('タブレットのカメラでQRコードを読むと、課題が開きます。', x, margin + 32 * scale, right - x);
    g.fillText('QRコードが読めないときは、このコードを入れてください。', x, margin + 50 * scale, right - x);
    g.font = `bold ${13 * scale}px ${fontStack}`;
    g.fillText(s.grouped, x, margin + 70 * scale, right - x);
    g.strokeStyle = '#000000';
    g.lineWidth = scale;
    g.beginPath();
    g.moveTo(0, height - scale / 2);
    g.lineTo(width, height - scale / 2);
    g.stroke();
  }

  for (const f of [title, finalForm, feedback, site]) f.addEventListener('input', update);
  copy.addEventListener('click', copyLink);
  buttons.addEventListener('click', (e) => {
    const b = e.target.closest('button');
    if (!b) return;
    if (b.value === 'close') dlg.close();
    else if (b.value === 'print' && preparePrint()) window.print();
  });

  // Opened over 問題づくり for the sheet it shows; the title starts as the sheet's own, the final form as the
  // sheet's answers are (mixed numbers when the sheet gives them).
  function open() {
    if (!title.value) title.value = (maker.sheet && maker.sheet.title) || '';
    if (!handOut.opened) finalForm.value = maker.mixedAnswers() ? 'mixed' : 'improper';
    site.value = H.site(siteAddress());
    handOut.opened = true;
    handOut.state = null;
    update();
    dlg.showModal();
    title.focus();
  }
  Object.assign(handOut, { open, update, preparePrint, dialog: dlg });
  return handOut;
}
