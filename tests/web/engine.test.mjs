// The engine is one: the browser build's page records equal the desktop's operation for operation, and
// kazoru-cli under node answers every run of a table exactly as the desktop's kazoru-cli does.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { readFileSync, existsSync, mkdtempSync, writeFileSync, statSync, rmSync } from 'node:fs';
import os from 'node:os';
import { createRequire } from 'node:module';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.resolve(here, '../..');
const WEB = process.env.KAZORU_WEB_BUILD || path.join(root, 'build-web');
const NATIVE = process.env.KAZORU_BUILD || path.join(root, 'build');

// Lines of the page: every answer form, processes with advice, special modes and conversions. Each is
// [settings file text, keys].
const SETTINGS_ADVICE = '[▼過程表示▼]\nPROCDSP=1\nADVICEDSP=1\n';
const SETTINGS_BOTH = '[▼答の表示▼]\nANSSYU=2\nSYOUDSP=1\n';
const PAGE_LINES = [
  ['', '2b1+3b1'], ['', '1k3b2*3'], ['', '0.1@6+1'], ['', '2^3+5!'], ['', '5P2+5C2'], ['', '[3+1B2]*4'],
  ['', '4:6'], ['', '2*x+1=7{Ctrl+Q}'], ['', '7/0'], ['', '9223372036854775807*2'],
  [SETTINGS_BOTH, '7/2'], [SETTINGS_BOTH, '1b3'], [SETTINGS_BOTH, '3k4b1-2k3b2'],
  [SETTINGS_ADVICE, '2b1+3b1'], [SETTINGS_ADVICE, '3b2*4b3'], [SETTINGS_ADVICE, '3-4b1'],
  [SETTINGS_ADVICE, '3-4b1={F6}'], [SETTINGS_ADVICE, '1k2b1+2k3b1'], [SETTINGS_ADVICE, '6b4{Ctrl+Y}'],
  [SETTINGS_ADVICE, '2b7={Ctrl+T}'], [SETTINGS_ADVICE, '3k2b1={Ctrl+K}'], [SETTINGS_ADVICE, '0.1@6{Shift+R}'],
  ['', '12{Shift+S}'], ['', '360{Shift+S}'], ['', '7b1={Ctrl+S}'], ['', '0.25{Ctrl+B}'],
  ['', '{Shift+N}1232(8='], ['', '2b1+3b1={Ctrl+C}{Back}1+{Ctrl+P}='], ['', '++'],
];

function loadModule() {
  const require = createRequire(import.meta.url);
  const factory = require(path.join(WEB, 'site', 'kazoru.js'));
  const wasmBinary = readFileSync(path.join(WEB, 'site', 'kazoru.wasm'));
  return factory({ wasmBinary, kazoruMeasure: { width: () => 0, height: () => 0 } });
}

test('the browser build draws every line of the table as the desktop does', async () => {
  const recorder = path.join(NATIVE, 'tests', 'PageRecord');
  assert.ok(existsSync(recorder), `${recorder} is built`);
  const input = PAGE_LINES.map(([s, k]) => `${s.replaceAll('\n', '|')}\t${k}`).join('\n') + '\n';
  const native = spawnSync(recorder, [], { input, encoding: 'utf8' });
  assert.equal(native.status, 0, native.stderr);
  const nativePages = native.stdout.split('--\n').slice(0, -1);
  assert.equal(nativePages.length, PAGE_LINES.length);

  const M = await loadModule();
  const record = M.cwrap('kz_record_page', 'string', ['string', 'string', 'number', 'number']);
  PAGE_LINES.forEach(([settings, keys], i) => {
    const web = record(keys, settings, 800, 1200);
    assert.ok(web.split('\n').length > 3 && !web.startsWith('error'), `${keys}: the page has a drawing`);
    assert.equal(web, nativePages[i], `page of ${keys}`);
  });
});

function runCli(command, args) {
  const r = spawnSync(command[0], [...command.slice(1), ...args], { encoding: 'utf8', timeout: 60000 });
  return { out: r.stdout, err: r.stderr, code: r.status };
}

test('kazoru-cli under node answers as the desktop one on the table of runs', () => {
  const cases = readFileSync(path.join(here, 'cli-cases.txt'), 'utf8').split('\n')
    .filter((l) => l && !l.startsWith('#'));
  const nativeCli = [path.join(NATIVE, 'kazoru-cli')];
  const webCli = [process.execPath, path.join(WEB, 'kazoru-cli.js')];
  assert.ok(existsSync(webCli[1]), `${webCli[1]} is built`);
  // Runs with the same options go as one batch over standard input ("-"), as a batch check of the
  // engine would run them; a run alone keeps its argument on the command line.
  const groups = new Map();
  for (const line of cases) {
    const args = line.split(' ').map((a) => a.replaceAll('|', ' '));
    const key = args.slice(0, -1).join('\u0000');
    groups.set(key, [...(groups.get(key) || []), args]);
  }
  for (const runs of groups.values()) {
    if (runs.length === 1) {
      const args = runs[0];
      assert.deepEqual(runCli(webCli, args), runCli(nativeCli, args), `kazoru-cli ${args.join(' ')}`);
      continue;
    }
    const args = [...runs[0].slice(0, -1), '-'];
    const input = runs.map((r) => r.at(-1)).join('\n') + '\n';
    const want = spawnSync(nativeCli[0], args, { input, encoding: 'utf8' });
    const got = spawnSync(webCli[0], [webCli[1], ...args], { input, encoding: 'utf8' });
    assert.ok(want.stdout.length > 0, `kazoru-cli ${args.join(' ')} answers`);
    assert.equal(got.stdout, want.stdout, `kazoru-cli ${args.join(' ')} on ${input}`);
    assert.equal(got.stderr, want.stderr, `messages of kazoru-cli ${args.join(' ')}`);
    assert.equal(got.status, want.status);
  }
});

test('a file the node kazoru-cli writes is an ordinary file, byte-equal to the desktop one', () => {
  const dir = mkdtempSync(path.join(os.tmpdir(), 'kazoru-web-'));
  try {
    // "#練習" and five lines in CP932, one refused by the checker and one that cannot be computed.
    const page = Buffer.from('#\x97\xfb\x8f\x4b\r\n1b2+3b1=\r\n1+*2\r\n\r\n2x+1=5\r\n4:6\r\n1/0=\r\n', 'latin1');
    writeFileSync(path.join(dir, 'page.siki'), page);
    const web = spawnSync(process.execPath, [path.join(WEB, 'kazoru-cli.js'), 'notebook', 'calc',
      path.join(dir, 'page.siki'), '-o', path.join(dir, 'web.siki')], { encoding: 'utf8' });
    const native = spawnSync(path.join(NATIVE, 'kazoru-cli'), ['notebook', 'calc', path.join(dir, 'page.siki'),
      '-o', path.join(dir, 'native.siki')], { encoding: 'utf8' });
    assert.equal(web.status, native.status);
    assert.deepEqual(readFileSync(path.join(dir, 'web.siki')), readFileSync(path.join(dir, 'native.siki')));
    assert.equal(statSync(path.join(dir, 'web.siki')).mode & 0o777, statSync(path.join(dir, 'native.siki')).mode & 0o777);
  } finally {
    rmSync(dir, { recursive: true, force: true });
  }
});
