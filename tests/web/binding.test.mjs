// The page's side of the binding against the C++ it calls, read from the sources (no browser, no build):
// every function the page wraps (cwrap, ccall) is one the program exports, with as many arguments of
// matching kinds; the lists the page indexes by position are the C++ enums in the same order; every
// setting the page reads or writes by name is one the binding knows. A function, an enum value or a
// setting added, removed or moved on one side only fails here. Then, against the desktop build's tables:
// the captions the page has of its own (the menus drawn before the program, the tool row, the dialogs' words)
// are the C++ tables' that the desktop's windows read.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { existsSync, readdirSync, readFileSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { WORDS, TOOL_ROW } from '../../web/dialogs.js';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const NATIVE = process.env.KAZORU_BUILD || path.join(root, 'build');
const read = (file) => readFileSync(path.join(root, file), 'utf8');
const filesOf = (dir, ext) => readdirSync(path.join(root, dir)).filter((f) => f.endsWith(ext)).sort()
  .map((f) => ({ file: `${dir}/${f}`, text: read(`${dir}/${f}`) }));
const pageScripts = () => filesOf('web', '.js');

// The functions the program exports: name → { result: 'void' | 'text' | 'number', params: ['text' | 'number'] }.
// A char pointer is text the page may pass as a string or as the address of bytes it copied in.
function exported() {
  const out = new Map();
  const re = /EMSCRIPTEN_KEEPALIVE\s+([\w\s*:<>]+?)\s*\b(kz_\w+)\s*\(([^)]*)\)/g;
  for (const { text } of filesOf('src/web', '.cpp')) {
    for (const m of text.matchAll(re)) {
      const kind = (type) => (/char\s*\*/.test(type) ? 'text' : 'number');
      const params = m[3].trim() === '' || m[3].trim() === 'void' ? [] : m[3].split(',').map((p) => kind(p));
      out.set(m[2], { result: m[1].trim() === 'void' ? 'void' : kind(m[1]), params });
    }
  }
  return out;
}

// The page's wrappers: [{ file, name, result, params }] with the kinds cwrap and ccall take.
function wrapped() {
  const out = [];
  const kinds = (list) => [...list.matchAll(/'(\w+)'|null/g)].map((k) => k[1] || null);
  const re = /\b(cwrap|ccall)\(\s*'(\w+)'\s*,\s*('\w+'|null)\s*,\s*\[([^\]]*)\]/g;
  for (const { file, text } of pageScripts()) {
    for (const m of text.matchAll(re)) {
      out.push({ file, name: m[2], result: m[3] === 'null' ? null : m[3].slice(1, -1), params: kinds(m[4]) });
    }
  }
  return out;
}

test('every function the page wraps is exported, with its arguments\' number and kinds', () => {
  const cpp = exported();
  const js = wrapped();
  assert.ok(cpp.size > 0 && js.length > 0, 'the sources were read');
  // Every call is read: one written another way would go unchecked.
  const calls = pageScripts().reduce((n, { text }) => n + [...text.matchAll(/\b(?:cwrap|ccall)\(/g)].length, 0);
  assert.equal(js.length, calls, 'every cwrap and ccall is written as cwrap(\'kz_…\', result, [arguments])');
  const faults = [];
  for (const w of js) {
    const c = cpp.get(w.name);
    if (!c) {
      faults.push(`${w.file}: ${w.name} is not exported`);
      continue;
    }
    if (w.params.length !== c.params.length) {
      faults.push(`${w.file}: ${w.name} takes ${c.params.length} arguments, wrapped with ${w.params.length}`);
    }
    w.params.forEach((k, i) => {
      // A number may stand for a char pointer (bytes the page copied in); a string never for a number.
      if (k === 'string' && c.params[i] !== 'text') faults.push(`${w.file}: ${w.name}'s argument ${i + 1} is a number`);
    });
    if (w.result === 'string' && c.result !== 'text') faults.push(`${w.file}: ${w.name} returns no text`);
    if (w.result === 'number' && c.result === 'void') faults.push(`${w.file}: ${w.name} returns nothing`);
  }
  assert.deepEqual(faults, []);
});

// The first array literal assigned to a name in a page script, as values.
function pageList(file, name) {
  const m = new RegExp(`const ${name} = (\\[[^\\]]*\\])`).exec(read(file));
  assert.ok(m, `${name} in ${file}`);
  return JSON.parse(m[1].replace(/'/g, '"'));
}
// The names of a C++ enum class, in order, up to its COUNT.
function cppEnum(file, name) {
  const m = new RegExp(`enum class ${name}\\s*(?::\\s*\\w+\\s*)?\\{([^}]*)\\}`).exec(read(file));
  assert.ok(m, `${name} in ${file}`);
  const names = m[1].replace(/\/\/.*$/gm, '').split(',').map((s) => s.trim().split(/\s*=/)[0]).filter(Boolean);
  return names.filter((n) => n !== 'COUNT');
}

test('the lists the page indexes by position are the C++ enums, in order', () => {
  for (const [file, list, cppFile, enumName] of [
    ['web/app.js', 'COMMANDS', 'src/screen/sikiInp.h', 'ScreenCommand'],
    ['web/notebook.js', 'NOTE_COMMANDS', 'src/web/WebNotebook.cpp', 'WebNoteCommand'],
  ]) {
    assert.deepEqual(pageList(file, list), cppEnum(cppFile, enumName), `${file}'s ${list}`);
  }
});

test('every setting the page reads or writes by name is one the binding knows', () => {
  const known = new Set([...read('src/web/WebMain.cpp').matchAll(/\{"([A-Z_0-9]+)", &/g)].map((m) => m[1]));
  assert.ok(known.size > 0);
  const used = new Set();
  for (const { text } of [...pageScripts(), { text: read('web/index.html') }]) {
    for (const m of text.matchAll(/(?:[gs]etSetting\(|data-setting=)['"]([A-Z_0-9]+)['"]/g)) used.add(m[1]);
  }
  assert.ok(used.size > 0);
  assert.deepEqual([...used].filter((n) => !known.has(n)), []);
});

// The page's menus as web/index.html draws them: the menus' words in order, and each item by the name the
// page knows it by (data-cmd, data-act, data-setting or data-item) with its words and key hint.
function pageMenus() {
  const nav = /<nav id="menus"[^>]*>([\s\S]*?)<\/nav>/.exec(read('web/index.html'));
  assert.ok(nav, 'the menus in web/index.html');
  const titles = [...nav[1].matchAll(/<summary>([^<]*)<\/summary>/g)].map((m) => m[1]);
  const items = new Map();
  for (const m of nav[1].matchAll(/<button ([^>]*)>([^<]*?)\s*(?:<kbd>([^<]*)<\/kbd>)?<\/button>/g)) {
    const name = /data-(?:cmd|act|setting|item)="([^"]+)"/.exec(m[1]);
    if (name) items.set(name[1], { caption: m[2], key: m[3] || '' });
  }
  return { titles, items };
}

// The C++ tables of the captions both editions show (tests/web/CaptionTables.cpp, built with the desktop).
function cppCaptions() {
  const helper = path.join(NATIVE, 'tests', 'CaptionTables');
  assert.ok(existsSync(helper), `${helper} is built`);
  const r = spawnSync(helper, [], { encoding: 'utf8' });
  assert.equal(r.status, 0, r.stderr);
  return JSON.parse(r.stdout);
}

test('the page\'s menus and tool row show the captions and keys of the C++ menus table', () => {
  const cpp = cppCaptions().menus;
  const page = pageMenus();
  const shown = cpp.items.filter((i) => i.menu);
  assert.ok(shown.length > 0);
  const faults = [];
  if (page.titles.join() !== cpp.titles.join()) faults.push(`menus: the page's ${page.titles}, the table's ${cpp.titles}`);
  for (const { name, caption, key } of shown) {
    const item = page.items.get(name);
    if (!item) faults.push(`${name}: no item of the page's menus`);
    else if (item.caption !== caption || item.key !== key) {
      faults.push(`${name}: the page shows "${item.caption}" [${item.key}], the table "${caption}" [${key}]`);
    }
  }
  // The tool row's tooltips of commands: the item's words, two spaces and the browser's key.
  const tips = new Set(TOOL_ROW.map(([, , tip]) => tip));
  for (const { name, caption, key } of cpp.items.filter((i) => i.toolRow)) {
    const tip = key ? `${caption}  ${key}` : caption;
    if (!tips.has(tip)) faults.push(`${name}: no tool row button with the tooltip "${tip}"`);
  }
  assert.deepEqual(faults, []);
});

test('the page\'s tool dialogs have the words of the C++ tool windows\' tables', () => {
  const cpp = cppCaptions().tools;
  const page = Object.fromEntries(Object.entries(WORDS).map(([window, words]) => [window,
    Object.fromEntries(Object.entries(words).map(([name, w]) => [name, Array.isArray(w) ? w : [w, '']]))]));
  assert.ok(Object.keys(cpp).length > 0);
  assert.deepEqual(page, cpp);
});

// A constant's text: a C++ `inline constexpr const char* NAME = "…";` or a page's `const NAME = '…';`.
function cppText(file, name) {
  const m = new RegExp(`inline constexpr const char\\* ${name} =\\s*("(?:[^"\\\\]|\\\\.)*");`).exec(read(file));
  assert.ok(m, `${name} in ${file}`);
  return JSON.parse(m[1]);
}
function pageText(file, name) {
  const m = new RegExp(`const ${name} = '([^'\\\\]*)';`).exec(read(file));
  assert.ok(m, `${name} in ${file}`);
  return m[1];
}

test('the messages the page words itself are the C++ ones the desktop shows', () => {
  for (const [file, name, cppFile, cppName] of [
    ['web/app.js', 'NOTHING_TO_READ', 'src/screen/ReadAloud.h', 'NOTHING_TO_READ_STATUS'],
  ]) {
    assert.equal(pageText(file, name), cppText(cppFile, cppName), `${file}'s ${name}`);
  }
});
