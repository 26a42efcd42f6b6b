// Keyboard events of the browser to the Windows virtual-key codes and the {Shift, Alt, Ctrl} bits that the
// calculation line's key map speaks, as the desktop maps its toolkit's keys.
export const SHIFT = 1, ALT = 2, CTRL = 4;

export const VK = {
  BACK: 0x08, TAB: 0x09, RETURN: 0x0d, ESCAPE: 0x1b, SPACE: 0x20, PRIOR: 0x21, NEXT: 0x22, END: 0x23,
  HOME: 0x24, LEFT: 0x25, UP: 0x26, RIGHT: 0x27, DOWN: 0x28, INSERT: 0x2d, DELETE: 0x2e,
  NUMPAD0: 0x60, MULTIPLY: 0x6a, ADD: 0x6b, SUBTRACT: 0x6d, DECIMAL: 0x6e, DIVIDE: 0x6f, F1: 0x70,
  OEM_1: 0xba, OEM_PLUS: 0xbb, OEM_COMMA: 0xbc, OEM_MINUS: 0xbd, OEM_PERIOD: 0xbe, OEM_2: 0xbf,
  OEM_3: 0xc0, OEM_4: 0xdb, OEM_5: 0xdc, OEM_6: 0xdd, OEM_7: 0xde, OEM_102: 0xe2,
};

// The virtual key of a letter or digit key ('A'…'Z', '0'…'9'): its character's code.
export const letterKey = (c) => c.charCodeAt(0);

// Printable characters outside letters and digits, on the keys of a Japanese keyboard: [key, shifted].
// The character decides, not the Shift key of the pupil's layout.
const CHAR_KEYS = {
  '!': ['1', true], '"': ['2', true], '#': ['3', true], '$': ['4', true], '%': ['5', true],
  '&': ['6', true], "'": ['7', true], '(': ['8', true], ')': ['9', true],
  '-': [VK.OEM_MINUS, false], '=': [VK.OEM_MINUS, true], '^': [VK.OEM_7, false], '~': [VK.OEM_7, true],
  '¥': [VK.OEM_5, false], '|': [VK.OEM_5, true], '\\': [VK.OEM_5, false], '@': [VK.OEM_3, false],
  '`': [VK.OEM_3, true], '[': [VK.OEM_4, false], '{': [VK.OEM_4, true], ']': [VK.OEM_6, false],
  '}': [VK.OEM_6, true], ';': [VK.OEM_PLUS, false], '+': [VK.OEM_PLUS, true], ':': [VK.OEM_1, false],
  '*': [VK.OEM_1, true], ',': [VK.OEM_COMMA, false], '<': [VK.OEM_COMMA, true],
  '.': [VK.OEM_PERIOD, false], '>': [VK.OEM_PERIOD, true], '/': [VK.OEM_2, false], '?': [VK.OEM_2, true],
  '_': [VK.OEM_102, true],
};

const NAMED_KEYS = {
  Backspace: VK.BACK, Tab: VK.TAB, Enter: VK.RETURN, Escape: VK.ESCAPE, ' ': VK.SPACE,
  PageUp: VK.PRIOR, PageDown: VK.NEXT, End: VK.END, Home: VK.HOME, ArrowLeft: VK.LEFT, ArrowUp: VK.UP,
  ArrowRight: VK.RIGHT, ArrowDown: VK.DOWN, Insert: VK.INSERT, Delete: VK.DELETE,
};

const NUMPAD = {
  NumpadAdd: VK.ADD, NumpadSubtract: VK.SUBTRACT, NumpadMultiply: VK.MULTIPLY, NumpadDivide: VK.DIVIDE,
  NumpadDecimal: VK.DECIMAL, NumpadComma: VK.DECIMAL, NumpadEnter: VK.RETURN,
};

// [vk, shift] of a KeyboardEvent-like object ({key, code, shiftKey, altKey, ctrlKey}), or null.
export function toVirtualKey(e) {
  let shift = 0;
  if (e.altKey) shift |= ALT;
  if (e.ctrlKey) shift |= CTRL;
  const held = e.shiftKey ? SHIFT : 0;
  const code = e.code || '';
  if (/^Numpad[0-9]$/.test(code) && /^[0-9]$/.test(e.key)) return [VK.NUMPAD0 + Number(code.slice(6)), shift | held];
  if (NUMPAD[code]) return [NUMPAD[code], shift | held];
  const key = e.key || '';
  if (/^F([1-9]|1[0-2])$/.test(key)) return [VK.F1 + Number(key.slice(1)) - 1, shift | held];
  if (key in NAMED_KEYS) return [NAMED_KEYS[key], shift | held];
  if (key.length === 1) {
    if (/^[a-zA-Z0-9]$/.test(key)) return [letterKey(key.toUpperCase()), shift | held];
    const c = CHAR_KEYS[key];
    if (c) return [typeof c[0] === 'string' ? c[0].charCodeAt(0) : c[0], shift | (c[1] ? SHIFT : 0)];
  }
  // With Ctrl or Alt held a letter may arrive as another character: the physical key tells.
  if (/^Key[A-Z]$/.test(code)) return [code.charCodeAt(3), shift | held];
  if (/^Digit[0-9]$/.test(code)) return [code.charCodeAt(5), shift | held];
  return null;
}
