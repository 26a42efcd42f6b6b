// The input panel as a touch keypad: the desktop panel's buttons, each at least 44 px, handing a character
// or a command to the line.
const ROWS = [
  // [caption, what, hint, wide]
  [['帯T', { command: 'ToMixed' }, '単項式の答を帯分数で表示する。<Alt+T>'],
    ['仮K', { command: 'ToImproper' }, '単項式の答を仮分数で表示する。<Ctrl+K>'],
    ['小S', { command: 'ToSyousuu' }, '単項式の答を小数で表示する。<Ctrl+S>'],
    ['消D', { clear: true }, '式をぜんぶ消す。<Ctrl+D>'],
    ['復H', { restore: true }, '消去した式を(＝の前まで)復活する。<Ctrl+H>']],
  [['←', { backspace: true }, '字を一つ消して前にもどる'], ['(', { char: '(' }], [')', { char: ')' }],
    ['∧', { char: '^' }], ['[', { char: '[' }, '式分数の入力を開始する'], [']', { char: ']' }, '式分数の入力を終了する']],
  [['７', { char: '7' }], ['８', { char: '8' }], ['９', { char: '9' }], ['×', { char: '*' }], ['÷', { char: '/' }]],
  [['４', { char: '4' }], ['５', { char: '5' }], ['６', { char: '6' }], ['＋', { char: '+' }], ['－', { char: '-' }]],
  [['１', { char: '1' }], ['２', { char: '2' }], ['３', { char: '3' }], ['と(K)', { char: 'k' }, '', 2]],
  [['０', { char: '0' }], ['．', { char: '.' }], ['＝', { char: '=' }], ['分の(B)', { char: 'b' }, '', 2]],
  [['ｘ', { char: 'x' }], ['＜', { char: '<' }], ['≦', { chars: '<=' }], ['＞', { char: '>' }], ['≧', { chars: '>=' }],
    ['：', { char: ':' }]],
  [['解', { command: 'SolveLine' }, '方程式・不等式を解く。<Ctrl+Return>'], ['！', { char: '!' }, '階乗の！'],
    ['?', { command: 'BaseConvert' }, 'ｎ進法の変換'], ['P', { char: 'P' }, '順列のＰ'], ['C', { char: 'C' }, '組合せのＣ']],
  [['条件J', { command: 'OpenConditions' }, '各種条件を設定する', 2],
    ['詳細A', { command: 'OpenProcessSettings' }, '詳細設定', 2],
    ['読R', { read: true }, '式を読み上げる。もう一度押すと止まる。<Ctrl+R>']],
];

const TITLE = '<数式操作パネル>▼Ｆ８▲';
const escape = (t) => String(t).replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;').replace(/"/g, '&quot;');

// The keypad as HTML, written into the page when the site is put together, so that it shows before the
// program has arrived.
export function panelHtml() {
  const rows = ROWS.map((row) => `<div class="row">${row.map(([caption, , hint, wide]) =>
    `<button type="button" data-caption="${escape(caption)}"${hint ? ` title="${escape(hint)}"` : ''}${wide ? ' class="wide"' : ''}>${escape(caption)}</button>`).join('')}</div>`);
  return `<div class="panelTitle" elementtiming="keypad">${escape(TITLE)}</div><div class="keys">${rows.join('')}</div>`;
}

// Gives the keypad its actions: the buttons the page already holds, else new ones.
export function buildPanel(root, act) {
  const keys = ROWS.flat();
  const held = [...root.querySelectorAll('.keys button')];
  if (held.length === keys.length && held.every((b, i) => b.dataset.caption === keys[i][0])) {
    held.forEach((b, i) => bindKey(b, keys[i], act));
    return;
  }
  root.textContent = '';
  const title = document.createElement('div');
  title.className = 'panelTitle';
  title.textContent = TITLE;
  root.appendChild(title);
  const grid = document.createElement('div');
  grid.className = 'keys';
  for (const row of ROWS) {
    const line = document.createElement('div');
    line.className = 'row';
    grid.appendChild(line);
    for (const key of row) line.appendChild(makeKey(key, act));
  }
  root.appendChild(grid);
}

function makeKey(key, act) {
  const [caption, , hint, wide] = key;
  const b = document.createElement('button');
  b.type = 'button';
  b.textContent = caption;
  b.dataset.caption = caption;
  if (hint) b.title = hint;
  if (wide) b.classList.add('wide');
  bindKey(b, key, act);
  return b;
}

function bindKey(b, [, what], act) {
  // The keypad never takes the keyboard: keys stay with the page.
  b.addEventListener('mousedown', (e) => e.preventDefault());
  b.addEventListener('click', () => {
    if (what.char) act.char(what.char);
    else if (what.chars) act.chars(what.chars);
    else if (what.command) act.command(what.command);
    else if (what.clear) act.clear();
    else if (what.restore) act.restore();
    else if (what.backspace) act.backspace();
    else if (what.read) act.read();
  });
}
