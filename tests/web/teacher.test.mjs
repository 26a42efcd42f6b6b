// The teacher's side of assignments in the browser: 「課題として配る」 in 問題づくり gives the same code and link
// as kazoru-cli (the desktop's and the node build's) for the same choices, with a QR code that reads back
// as the link and a printed sheet that carries it; the class summary, opened from the フォーム menu, sums a
// class of result files (picked, dropped or given) with the cells, counts, supersede and skipped files
// the batch tool gives, and within its time on a class and on a school year's grade.
import { describe, test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { forEachBrowser, startSession, BROWSERS, SIZES, CPU_SLOWDOWN } from './driver.mjs';
import { openNotebook } from './notebook-helpers.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.resolve(here, '../..');
const WEB = process.env.KAZORU_WEB_BUILD || path.join(root, 'build-web');
const NATIVE = process.env.KAZORU_BUILD || path.join(root, 'build');
const FIXTURES = path.join(root, 'tests/data/classroom');
const CLIS = [[path.join(NATIVE, 'kazoru-cli')], [process.execPath, path.join(WEB, 'kazoru-cli.js')]];

function cli(command, args) {
  const r = spawnSync(command[0], [...command.slice(1), ...args], { encoding: 'utf8', timeout: 120000 });
  return { out: r.stdout, err: r.stderr, code: r.status };
}
const jsonLines = (text) => text.split('\n').filter(Boolean).map((l) => JSON.parse(l));

// The dialog's fields and the batch tool's options for the same sheet and hand-out.
const HAND_OUTS = [
  { fields: { count: '6', seed: '42' }, title: '5年2組 分数のたし算', final: 'mixed', feedback: 'end',
    args: ['--skill', 'sum-unlike', '--count', '6', '--seed', '42'] },
  { fields: { count: '12', seed: '901', maxDen: '16', reduce: '1', version: '67' }, title: 'テスト 1/2', final: 'either',
    feedback: 'none', args: ['--skill', 'sum-unlike', '--count', '12', '--seed', '901', '--max-den', '16',
      '--reduce', 'yes', '--version', 'C'] },
  { fields: { count: '20', seed: '7', mixed: false }, title: '仮分数で答える', final: 'improper', feedback: 'now',
    args: ['--skill', 'sum-unlike', '--count', '20', '--seed', '7', '--mixed', 'no'] },
];

async function openHandOut(page) {
  await openNotebook(page);
  await page.click('[data-note="sheetMaker"]');
  await page.waitForSelector('#sheetMaker[open]');
}

// The fields a case does not name keep the dialog's first values.
const FIELD_DEFAULTS = { maxDen: '12', terms: '2', reduce: '0', maxAnswer: '0', mixed: true, version: '65' };

async function fill(page, c) {
  await page.evaluate((fields) => {
    for (const [name, v] of Object.entries(fields)) {
      const f = document.querySelector(`#sheetMaker [name="${name}"]`);
      if (f.type === 'checkbox') f.checked = v;
      else f.value = v;
      f.dispatchEvent(new Event('input', { bubbles: true }));
    }
  }, { ...FIELD_DEFAULTS, ...c.fields });
  if (!(await page.evaluate(() => document.getElementById('handOut')?.open))) await page.click('#sheetMaker .sm-handOut');
  await page.waitForSelector('#handOut[open]');
  await page.evaluate((h) => {
    const set = (name, v) => {
      const f = document.querySelector(`#handOut [name="${name}"]`);
      f.value = v;
      f.dispatchEvent(new Event('input', { bubbles: true }));
    };
    set('hoTitle', h.title);
    set('hoFinal', h.final);
    set('hoFeedback', h.feedback);
  }, { title: c.title, final: c.final, feedback: c.feedback });
  return handOutState(page, c);
}

// The dialog's state once it has caught up with its fields (the QR code comes a moment after the code).
async function handOutState(page, { title, final, feedback }) {
  await page.waitFor((want) => {
    const s = window.kazoru.sheetMaker.handOut.state;
    return !!s && s.title === want.title && s.final === want.final && s.feedback === want.feedback;
  }, { title, final, feedback });
  return page.evaluate(() => window.kazoru.sheetMaker.handOut.state);
}

// The QR code of the dialog's canvas as zbarimg reads it.
async function scanQr(page, dir) {
  const data = await page.evaluate(() => document.querySelector('#handOut .hoQr').toDataURL('image/png'));
  const file = path.join(dir, 'qr.png');
  writeFileSync(file, Buffer.from(data.split(',')[1], 'base64'));
  const r = spawnSync('zbarimg', ['--quiet', '--raw', file], { encoding: 'utf8' });
  assert.equal(r.status, 0, `zbarimg reads the QR code: ${r.stderr}`);
  return r.stdout.trim();
}

// A result file as a pupil's tablet writes it.
function resultFile(code, number, problems, { name = `生徒${number}`, handedIn = '2026-05-12T10:50:00+09:00' } = {}) {
  return `${JSON.stringify({
    format: 'kazoru-result', version: 1, code, class: '5年2組', number, name,
    started: '2026-05-12T10:30:00+09:00', handedIn,
    problems: problems.map(([problem, working]) => ({
      problem, working, answer: working.length ? working[working.length - 1] : '', seconds: 30,
    })),
  }, null, 1)}\n`;
}

// The working of one problem in one of four ways: right at once, a wrong step before the right answer,
// the numerators and denominators added across, nothing.
function working(expr, answer, way) {
  if (way === 0) return [answer];
  if (way === 1) return ['1b1', answer];
  if (way === 2) {
    const m = /^(\d+)b(\d+)\+(\d+)b(\d+)$/.exec(expr);
    return [m ? `${+m[1] + +m[3]}b${+m[2] + +m[4]}` : '1b1'];
  }
  return [];
}

// A class of pupils × the assignment's problems, each pupil's problems cycling through the four ways.
function makeClass(assignment, pupils) {
  return Array.from({ length: pupils }, (_, k) => ({
    name: `5年2組-${k + 1}.kazoru`,
    text: resultFile(assignment.code, k + 1,
      assignment.problems.map((p, i) => [p.expr, working(p.expr, p.answer, (i + k) % 4)])),
  }));
}

const marks = (pupil) => pupil.cells.map((c) => c.mark).join('');
const cliMarks = (pupil) => pupil.problems.map((p) => ({ right: '○', 'right-answer-wrong-step': '△', wrong: '×', 'not-done': '—' })[p.verdict]).join('');

async function openSummary(page) {
  await page.click('#menus details:first-of-type summary');
  await page.click('[data-act="classSummary"]');
  await page.waitForSelector('#classSummary[open]');
}

const fixtureFiles = () => readdirSync(FIXTURES).sort().map((name) => ({ name, text: readFileSync(path.join(FIXTURES, name), 'utf8') }));

forEachBrowser({ describe, before, after }, (b) => {
  test('課題として配る gives kazoru-cli\'s code and link, a QR code of the link and a sheet that carries it', async () => {
    const dir = mkdtempSync(path.join(os.tmpdir(), 'kazoru-handout-'));
    const page = await b.session.open({ width: 1024, height: 768 });
    await openHandOut(page);
    const site = await page.evaluate(() => location.href.split('#')[0]);
    for (const c of HAND_OUTS) {
      const s = await fill(page, c);
      assert.equal(s.message, '', c.title);
      const args = ['assign', '--json', ...c.args, '--title', c.title, '--final', c.final, '--feedback', c.feedback,
        '--site', site];
      for (const command of CLIS) {
        const r = cli(command, args);
        assert.equal(r.code, 0, `${command.join(' ')}: ${r.err}`);
        const want = jsonLines(r.out)[0];
        assert.equal(s.code, want.code, `${c.title}: the code of ${path.basename(command.at(-1))}`);
        assert.equal(s.link, want.link);
      }
      assert.equal(s.link, `${site}#kadai=${s.code}`);
      assert.equal(s.grouped.replaceAll('-', ''), s.code);
      assert.equal(await page.$eval('#handOut .hoLink', (e) => e.value), s.link);
      assert.equal(await scanQr(page, dir), s.link, `${c.title}: the QR code reads as the link`);
    }
    await page.click('#handOut .hoCopy');
    await page.waitFor(() => document.querySelector('#handOut .hoCopied').textContent !== '');
    assert.equal(await page.$eval('#handOut .hoCopied', (e) => e.textContent), 'リンクをコピーしました。');
    await page.screenshot('handout.png');

    // The printed sheet: the pupils' pages, the first with the head that carries the QR code.
    const pages = await page.evaluate(() => window.kazoru.sheetMaker.handOut.preparePrint());
    assert.ok(pages >= 1);
    const first = await page.evaluate(() => document.querySelector('#notePrint img').src);
    // Kept beside the screenshots when they are kept, to be looked at.
    const sheet = path.join(process.env.KAZORU_WEB_SHOTS || dir, `${b.name}-handout-sheet.png`);
    writeFileSync(sheet, Buffer.from(first.split(',')[1], 'base64'));
    const read = spawnSync('zbarimg', ['--quiet', '--raw', sheet], { encoding: 'utf8' });
    assert.equal(read.stdout.trim(), (await page.evaluate(() => window.kazoru.sheetMaker.handOut.state)).link,
      'the printed sheet\'s QR code reads as the link');
    await page.evaluate(() => document.body.classList.remove('printNote'));

    // No title, no code: the dialog says why and nothing can be printed or copied.
    await page.evaluate(() => {
      const t = document.querySelector('#handOut [name="hoTitle"]');
      t.value = '';
      t.dispatchEvent(new Event('input', { bubbles: true }));
    });
    const none = await handOutState(page, { ...HAND_OUTS.at(-1), title: '' });
    assert.equal(none.code, '');
    assert.match(none.message, /課題名/);
    assert.ok(await page.$eval('#handOut .ho-print', (e) => e.disabled));
    assert.ok(await page.$eval('#handOut .hoCopy', (e) => e.disabled));
    assert.deepEqual(await page.errors(), []);
    await page.close();
    rmSync(dir, { recursive: true, force: true });
  });

  test('the links point to the school\'s copy of the site the teacher names, kept with the settings; no web address is refused', async () => {
    const dir = mkdtempSync(path.join(os.tmpdir(), 'kazoru-site-'));
    const page = await b.session.open({ width: 1024, height: 768 });
    await openHandOut(page);
    const own = await page.evaluate(() => location.href.split('#')[0]);
    const c = HAND_OUTS[0];
    let s = await fill(page, c);
    assert.equal(await page.$eval('#handOut [name="hoSite"]', (e) => e.value), own);
    assert.equal(s.link, `${own}#kadai=${s.code}`);
    const typeSite = async (site) => {
      await page.evaluate((v) => {
        const f = document.querySelector('#handOut [name="hoSite"]');
        f.value = v;
        f.dispatchEvent(new Event('input', { bubbles: true }));
      }, site);
      await page.waitFor(() => {
        const st = window.kazoru.sheetMaker.handOut.state;
        return !!st && st.site === document.querySelector('#handOut [name="hoSite"]').value.trim();
      });
      return page.evaluate(() => window.kazoru.sheetMaker.handOut.state);
    };

    // Addresses the links cannot start with: the reason the desktop gives, no code, nothing to copy or print.
    for (const [site, reason] of [['ftp://school.example.ed.jp/kazoru/', 'https:// か http:// で始めて'],
      ['school.example.ed.jp/kazoru/', 'https:// か http:// で始めて'], ['https://学校.jp/', '全角'], ['', '入れてください']]) {
      s = await typeSite(site);
      assert.equal(s.code, '', site);
      assert.ok(s.message.includes(reason), `${site}: ${s.message}`);
      assert.equal(await page.$eval('#handOut .hoMessage', (e) => e.textContent), s.message);
      assert.ok(await page.$eval('#handOut .ho-print', (e) => e.disabled));
      assert.ok(await page.$eval('#handOut .hoCopy', (e) => e.disabled));
    }
    await page.screenshot('handout-site-refused.png');

    // The school's copy: the link the batch tool makes for that site, its QR code, and the choice kept.
    const school = 'https://www.school.example.ed.jp/kazoru/';
    s = await typeSite(school);
    assert.equal(s.message, '');
    const want = jsonLines(cli(CLIS[0], ['assign', '--json', ...c.args, '--title', c.title, '--final', c.final,
      '--feedback', c.feedback, '--site', school]).out)[0];
    assert.equal(s.link, want.link);
    assert.ok(s.link.startsWith(`${school}#kadai=`));
    assert.equal(await scanQr(page, dir), s.link);
    await page.screenshot('handout-site.png');
    await page.reload();
    await page.ready();
    await openHandOut(page);
    s = await fill(page, c);
    assert.equal(await page.$eval('#handOut [name="hoSite"]', (e) => e.value), school);
    assert.equal(s.link, want.link);
    // Set back to this site's own address, the links follow the page again wherever it is served from.
    s = await typeSite(own);
    assert.equal(s.link, `${own}#kadai=${s.code}`);
    assert.deepEqual(await page.errors(), []);
    await page.close();
    rmSync(dir, { recursive: true, force: true });
  });

  for (const [size, [width, height]] of Object.entries(SIZES).filter(([s]) => s !== 'phone')) {
    test(`the class summary at ${width}×${height}: the checked-in class with its cells, counts and files`, async () => {
      const page = await b.session.open({ width, height });
      await openSummary(page);
      const files = fixtureFiles();
      // A file cut short in the middle, as a broken transfer leaves it.
      const whole = files.find((f) => f.name.includes('上田'));
      files.push({ name: 'cut.kazoru', text: whole.text.slice(0, whole.text.length / 2) });
      const d = await page.evaluate((f) => window.kazoru.classSummary.summariseTexts(f).then(() => window.kazoru.classSummary.data), files);
      assert.equal(d.assignments.length, 1);
      const a = d.assignments[0];
      assert.equal(a.title, '5年2組 分数のたし算');
      assert.deepEqual(a.pupils.map(marks), ['○○○○', '△×△—', '×○——']);
      assert.deepEqual(a.pupils.map((p) => p.score), [4, 0, 1]);
      assert.deepEqual(a.problems.map((p) => p.right), [1, 2, 1, 1]);
      assert.equal(a.mistakes[0].id, 'add-across');
      assert.equal(a.mistakes[0].pupils, 2);
      assert.equal(a.superseded.length, 1);
      assert.deepEqual(d.skipped.map((s) => s.file).sort(), ['cut.kazoru', 'notes.kazoru']);

      // What the page shows: the cells with the mistake's name, the counts, the advice, the files.
      const rows = await page.$$eval('#classSummary .csTable tbody tr', (trs) => trs.map((tr) => [...tr.cells].map((c) => c.textContent)));
      assert.deepEqual(rows[1].slice(0, 9), ['5年2組', '2', '石井 "ゆい", A', '0/4', '1分00秒', '△', '× 分母どうし・分子どうしをたした', '△', '—']);
      const right = await page.$$eval('#classSummary .csTable tfoot tr:first-child td', (tds) => tds.map((t) => t.textContent));
      assert.deepEqual(right.slice(0, 4), ['1/3', '2/3', '1/3', '1/3']);
      const text = await page.$eval('#classSummary', (e) => e.textContent);
      assert.match(text, /出し直した.*分数のたし算 \(1\)\.kazoru/s);
      assert.match(text, /読めなかったファイル/);
      assert.match(text, /cut\.kazoru/);
      assert.match(text, /一人ひとりのまちがいと助言/);
      // The chart is drawn: bars of its colour on the canvas.
      const bars = await page.$eval('#classSummary canvas.csChart', (c) => {
        const px = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
        let n = 0;
        for (let i = 0; i < px.length; i += 4) n += px[i] === 70 && px[i + 1] === 110 && px[i + 2] === 190;
        return n;
      });
      assert.ok(bars > 100, `bars drawn (${bars} pixels)`);
      // Nothing of the dialog reaches past the window's right edge but the table's own scroll.
      const overflow = await page.evaluate(() => document.getElementById('classSummary').getBoundingClientRect().right - innerWidth);
      assert.ok(overflow <= 0, `inside the window (${overflow})`);
      await page.screenshot(`class-summary-${size}.png`);

      // Sorted by score, highest first; by the verdict of the second problem.
      await page.select('#classSummary select[name="csOrder"]', 'scoreDown');
      assert.deepEqual((await page.evaluate(() => window.kazoru.classSummary.data)).assignments[0].pupils.map((p) => p.number), [1, 3, 2]);
      await page.select('#classSummary select[name="csOrder"]', 'problem');
      await page.select('#classSummary select[name="csProblem"]', '2');
      assert.deepEqual((await page.evaluate(() => window.kazoru.classSummary.data)).assignments[0].pupils.map(marks),
        ['○○○○', '△×△—', '×○——']);
      await page.select('#classSummary select[name="csOrder"]', 'number');

      // The CSV: UTF-8 with a byte order mark, the name with a comma and quotes quoted.
      await page.click('#classSummary .cs-csv');
      const [csv] = await page.downloads();
      assert.match(csv.name, /\.csv$/);
      assert.deepEqual([...csv.bytes.subarray(0, 3)], [0xEF, 0xBB, 0xBF]);
      assert.ok(csv.bytes.toString('utf8').includes('5年2組,2,"石井 ""ゆい"", A",0,1分00秒,△,× 分母どうし・分子どうしをたした,△,—,'));

      // The printout: A4 landscape pages drawn by the shared layout.
      const printed = await page.evaluate(() => window.kazoru.classSummary.preparePrint());
      assert.ok(printed >= 1);
      const ratio = await page.evaluate(() => new Promise((resolve) => {
        const img = document.querySelector('#classPrint img');
        const done = () => resolve(img.naturalWidth / img.naturalHeight);
        if (img.complete) done(); else img.onload = done;
      }));
      assert.ok(Math.abs(ratio - 297 / 210) < 0.01, `landscape page (${ratio})`);
      if (process.env.KAZORU_WEB_SHOTS && size === 'desktop') {
        const src = await page.evaluate(() => document.querySelector('#classPrint img').src);
        writeFileSync(path.join(process.env.KAZORU_WEB_SHOTS, `${b.name}-class-summary-print.png`), Buffer.from(src.split(',')[1], 'base64'));
      }
      assert.deepEqual(await page.errors(), []);
      await page.close();
    });
  }

  test('keys typed while the class summary\'s script is still coming wait for it and never reach the line behind', async () => {
    const page = await b.session.open({ width: 1024, height: 768, server: { hold: /kazoru-views/ } });
    const line = (await page.state()).line;
    await page.click('#menus details:first-of-type summary');
    await page.click('[data-act="classSummary"]');
    for (const deadline = Date.now() + 20000; !page.origin.stats.held(); await new Promise((r) => setTimeout(r, 20))) {
      if (Date.now() > deadline) throw new Error('the page never asked for the views\' script');
    }
    assert.equal(await page.evaluate(() => !!window.kazoru.classSummary), false);
    await page.type('12');
    page.origin.stats.release();
    await page.waitForSelector('#classSummary[open]');
    assert.equal((await page.state()).line, line);
    assert.deepEqual(await page.errors(), []);
    await page.close();
  });

  test('result files dropped on the summary are read, a pupil\'s name shown as text', async () => {
    const page = await b.session.open({ width: 1024, height: 768 });
    await openSummary(page);
    const files = fixtureFiles();
    // A fourth pupil whose name is markup: the page shows it as the name, never as markup.
    const marked = JSON.parse(files.find((f) => f.name.includes('上田')).text);
    Object.assign(marked, { number: 4, name: '<img src=x onerror=__owned=1>&amp;' });
    files.push({ name: '4.kazoru', text: JSON.stringify(marked) });
    await page.evaluate((list) => {
      const dt = new DataTransfer();
      for (const f of list) dt.items.add(new File([f.text], f.name));
      document.getElementById('classSummary').dispatchEvent(new DragEvent('drop', { dataTransfer: dt, bubbles: true, cancelable: true }));
    }, files);
    await page.waitFor(() => window.kazoru.classSummary.data && window.kazoru.classSummary.data.assignments.length === 1);
    const d = await page.evaluate(() => window.kazoru.classSummary.data);
    assert.deepEqual(d.assignments[0].pupils.map(marks), ['○○○○', '△×△—', '×○——', '×○——']);
    assert.equal(d.skipped.length, 1);
    assert.match(await page.$eval('#classSummary .csStatus', (e) => e.textContent), /4 人分/);
    const names = await page.$$eval('#classSummary .csTable tbody tr td:nth-child(3)', (tds) => tds.map((t) => t.textContent));
    assert.equal(names[3], marked.name);
    assert.equal(await page.evaluate(() => document.querySelectorAll('#classSummary img').length), 0);
    assert.equal(await page.evaluate(() => typeof window.__owned), 'undefined');
    await page.close();
  });
});

// Chromium alone: its DevTools protocol sets a file input's files (a folder too) and gives the main
// thread's CPU time.
(BROWSERS.includes('chromium') ? describe : describe.skip)('the class summary against the batch tool, and its speed', () => {
  let b;
  before(async () => { b = { name: 'chromium', session: await startSession('chromium') }; });
  after(async () => { await b.session?.close(); });

  test('the picker takes many files at once, the folder picker a folder\'s result files', async () => {
    const page = await b.session.open({ width: 1024, height: 768 });
    await openSummary(page);
    const names = readdirSync(FIXTURES).sort();
    const picked = await page.page.$('#classSummary input[type="file"]:not([webkitdirectory])');
    await picked.uploadFile(...names.map((n) => path.join(FIXTURES, n)));
    await page.waitFor(() => window.kazoru.classSummary.data?.assignments.length === 1);
    let d = await page.evaluate(() => window.kazoru.classSummary.data);
    assert.deepEqual(d.assignments[0].pupils.map(marks), ['○○○○', '△×△—', '×○——']);
    assert.deepEqual(d.skipped.map((s) => s.file), ['notes.kazoru']);

    await page.evaluate(() => { window.kazoru.classSummary.data = null; });
    const folder = await page.page.$('#classSummary input[webkitdirectory]');
    await folder.uploadFile(FIXTURES);
    await page.waitFor(() => window.kazoru.classSummary.data?.assignments.length === 1);
    d = await page.evaluate(() => window.kazoru.classSummary.data);
    assert.deepEqual(d.assignments[0].pupils.map(marks), ['○○○○', '△×△—', '×○——']);
    // The folder's files keep their path in the folder.
    assert.ok(d.skipped[0].file.endsWith('classroom/notes.kazoru'), d.skipped[0].file);
    await page.close();
  });

  test('a generated class of 40 is summarised as kazoru-cli class does, within 0.5 s; 1,000 files within 5 s', async () => {
    const made = cli(CLIS[0], ['assign', '--json', '--skill', 'sum-unlike', '--count', '20', '--seed', '7', '--title',
      '5年1組 20問', '--final', 'mixed', '--feedback', 'now']);
    assert.equal(made.code, 0, made.err);
    const assignment = jsonLines(made.out)[0];
    const files = makeClass(assignment, 40);
    const dir = mkdtempSync(path.join(os.tmpdir(), 'kazoru-class-'));
    for (const f of files) writeFileSync(path.join(dir, f.name), f.text);
    const batch = jsonLines(cli(CLIS[0], ['class', '--json', dir]).out)[0];

    const page = await b.session.open({ width: 1024, height: 768 });
    await openSummary(page);
    // The main thread's CPU time (where the page and the WebAssembly run) is the figure held: on a machine
    // shared with other builds the wall time is an upper bound, held to the budget only where
    // KAZORU_LOAD_BUDGETS is set (a quiet machine), as the load figures are.
    const cdp = await page.cdp();
    await cdp.send('Performance.enable');
    const cpu = async () => (await cdp.send('Performance.getMetrics')).metrics.find((m) => m.name === 'ThreadTime').value * 1000;
    const timed = async (list) => {
      const before = await cpu();
      const data = await page.evaluate((f) => window.kazoru.classSummary.summariseTexts(f), list);
      const cpuMs = await cpu() - before;
      const { lastMs, parts } = await page.evaluate(() => window.kazoru.classSummary);
      return { data, cpuMs, wallMs: lastMs, parts };
    };
    // The first run warms the page up (the sheet's skills and the font's measures); the second is timed.
    await timed(files);
    const t40 = await timed(files);
    const a = t40.data.assignments[0];
    assert.equal(a.pupils.length, 40);
    assert.deepEqual(a.pupils.map(marks), batch.pupils.map(cliMarks));
    assert.deepEqual(a.pupils.map((p) => p.score), batch.pupils.map((p) => p.score));
    assert.deepEqual(a.problems.map((p) => p.right), batch.problems.map((p) => p.right));
    assert.deepEqual(a.mistakes.map((m) => [m.id, m.pupils]), batch.mistakes.map((m) => [m.id, m.pupils]));
    // The four ways come out as they were written: ○, △, ×, —.
    assert.equal(marks(a.pupils[0]).slice(0, 4), '○△×—');

    const t1000 = await timed(makeClass(assignment, 1000));
    assert.equal(t1000.data.assignments[0].pupils.length, 1000);
    const parts = (p) => Object.entries(p).map(([k, v]) => `${k} ${v.toFixed(0)}`).join(', ');
    for (const [n, t] of [[40, t40], [1000, t1000]]) {
      console.log(`class summary in Chromium, ${n} files of 20 problems: main thread CPU ${t.cpuMs.toFixed(0)} ms, `
        + `wall ${t.wallMs.toFixed(0)} ms (${parts(t.parts)})`);
    }
    // The budgets are a laptop's; a CPU slowed n times (KAZORU_CPU_SLOWDOWN) is given n times as long.
    assert.ok(t40.cpuMs <= 500 * CPU_SLOWDOWN, `40 files: ${t40.cpuMs.toFixed(0)} ms of CPU`);
    assert.ok(t1000.cpuMs <= 5000 * CPU_SLOWDOWN, `1,000 files: ${t1000.cpuMs.toFixed(0)} ms of CPU`);
    if (process.env.KAZORU_LOAD_BUDGETS) {
      assert.ok(t40.wallMs <= 500, `40 files in ${t40.wallMs.toFixed(0)} ms`);
      assert.ok(t1000.wallMs <= 5000, `1,000 files in ${t1000.wallMs.toFixed(0)} ms`);
    }
    await page.close();
    rmSync(dir, { recursive: true, force: true });
  });
});

