// The input panel as a touch keypad: the desktop panel's buttons, each at least 44 px, handing a character
// or a command to the line.
const ROWS = [
  // [caption, what, hint, wide]
  [['帯T', { command: 'ToMixed' }, '単項式の答を帯分数で表示する'],
    ['仮K', { command: 'ToImproper' }, '単項式の答を仮分数で表示する'],
    ['小S', { command: 'ToSyousuu' }, '単項式の答を小数で表示する'],
    ['消D', { clear: true }, '式をぜんぶ消す'],
    ['復H', { restore: true }, '消去した式を(＝の前まで)復活する']],
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

export function buildPanel(root, act) {
  root.textContent = '';
  const title = document.createElement('div');
  title.className = 'panelTitle';
  title.textContent = '<数式操作パネル>▼Ｆ８▲';
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

function makeKey([caption, what, hint, wide], act) {
  const b = document.createElement('button');
  b.type = 'button';
  b.textContent = caption;
  b.dataset.caption = caption;
  if (hint) b.title = hint;
  if (wide) b.classList.add('wide');
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
  return b;
}
