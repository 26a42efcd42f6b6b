// The settings file's bytes kept in the browser's storage (localStorage), with export and import of
// Kazoru1.ini. Storage that is blocked or full leaves the page working with the settings it has; the pupil
// is told once.
const KEY = 'Kazoru1.ini';
let toldOnce = false;
let lastBytes = new Uint8Array(0);

const NOTE_BLOCKED = 'このブラウザでは設定を保存できません。\n初期の設定で計算します（設定は次回まで残りません）。';
const NOTE_FULL = 'ブラウザの保存領域がいっぱいなので、設定を保存できませんでした。';
const NOTE_BAD_FILE = '設定ファイルを読めませんでした。\n初期の設定で計算します。';

const toBase64 = (bytes) => {
  let s = '';
  for (const b of bytes) s += String.fromCharCode(b);
  return btoa(s);
};
const fromBase64 = (text) => Uint8Array.from(atob(text), (c) => c.charCodeAt(0));

function once(note) {
  if (toldOnce) return null;
  toldOnce = true;
  return note;
}

// The stored bytes (null: none) and a note for the pupil, if any.
export function loadSettings() {
  try {
    const text = window.localStorage.getItem(KEY);
    if (text === null) return { bytes: null, note: null };
    try {
      lastBytes = fromBase64(text);
      return { bytes: lastBytes, note: null };
    } catch {
      return { bytes: null, note: NOTE_BAD_FILE };
    }
  } catch {
    return { bytes: null, note: once(NOTE_BLOCKED) };
  }
}

// Stores the bytes make(oldBytes) gives; returns a note for the pupil when storing failed (once a run).
export function saveSettings(make) {
  const bytes = make(lastBytes);
  lastBytes = bytes;
  try {
    window.localStorage.setItem(KEY, toBase64(bytes));
    return null;
  } catch (e) {
    return once(e && e.name === 'QuotaExceededError' ? NOTE_FULL : NOTE_BLOCKED);
  }
}

// Offers the stored bytes as a download named Kazoru1.ini.
export function exportSettings() {
  const url = URL.createObjectURL(new Blob([lastBytes], { type: 'application/octet-stream' }));
  const a = document.createElement('a');
  a.href = url;
  a.download = KEY;
  document.body.appendChild(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}

// Takes the bytes of an imported file as the old file; a file that is no settings file at all (no section
// of ours) is refused with a note and the settings stay.
export function importSettings(bytes) {
  const head = String.fromCharCode(...bytes.slice(0, 4096));
  if (!/\[[^\]\n]+\]/.test(head)) return NOTE_BAD_FILE;
  lastBytes = bytes;
  return null;
}
