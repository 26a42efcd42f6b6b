// 問題づくり in the browser notebook: the dialog lists every skill with its example, makes the sheet from
// its controls with the desktop's generator (the same seed and version give the same problems), previews
// it, puts it on the notebook's page (asking before edited lines are replaced), prints the pupils' sheet
// and the key on A4, and fits a tablet held upright with finger-sized controls; in each browser (driver.mjs).
import { describe, test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { forEachBrowser } from './driver.mjs';
import { openNotebook, noteState, answer, setLines } from './notebook-helpers.mjs';

forEachBrowser({ describe, before, after }, (b) => {

  async function openMaker(page, tap = false) {
    if (tap) await page.tap('[data-note="sheetMaker"]');
    else await page.click('[data-note="sheetMaker"]');
    await page.waitForSelector('#sheetMaker[open]');
  }

  const sheet = (page) => page.evaluate(() => window.kazoru.sheetMaker.sheet);

  async function setField(page, name, value) {
    await page.$eval(`#sheetMaker [name="${name}"]`, (f, v) => {
      f.value = v;
      f.dispatchEvent(new Event('input', { bubbles: true }));
    }, value);
  }

  // Every part of the dialog lies inside the window and every button is finger-sized.
  async function fits(page) {
    return page.evaluate(() => {
      const d = document.getElementById('sheetMaker').getBoundingClientRect();
      const buttons = [...document.querySelectorAll('#sheetMaker button')].map((b) => b.getBoundingClientRect());
      return {
        inside: d.left >= 0 && d.top >= 0 && d.right <= innerWidth && d.bottom <= innerHeight,
        smallest: Math.min(...buttons.map((r) => r.height)),
        offRight: buttons.filter((r) => r.right > d.right).length,
        // The dialog's own buttons are in sight without scrolling.
        commandsHidden: [...document.querySelectorAll('#sheetMaker .smButtons button')].map((b) => b.getBoundingClientRect())
          .filter((r) => r.top < d.top || r.bottom > Math.min(d.bottom, innerHeight)).length,
      };
    });
  }

  test('the dialog lists the skills with examples, previews the sheet and repeats it from its seed', async () => {
    const page = await b.session.open({ width: 1024, height: 768 });
    await openNotebook(page);
    await openMaker(page);
    const skills = await page.evaluate(() => window.kazoru.sheetMaker.skills.length);
    assert.equal(await page.$$eval('#sheetMaker .smSkill canvas', (c) => c.length), skills);
    assert.equal(await page.$eval('#sheetMaker input[name="skill"]:checked', (r) => r.value), 'sum-unlike');
    // The example of a skill is drawn: ink on its white row.
    const inked = await page.$eval('#sheetMaker .smSkill canvas', (c) => {
      const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
      let n = 0;
      for (let i = 0; i < d.length; i += 4) n += d[i] < 128;
      return n;
    });
    assert.ok(inked > 20, `example drawn (${inked} dark pixels)`);
    let s = await sheet(page);
    assert.equal(s.message, '');
    assert.equal(s.problems.length, 20);

    await setField(page, 'count', '6');
    await setField(page, 'seed', '42');
    const a = await sheet(page);
    assert.equal(a.problems.length, 6);
    assert.match(a.title, /A版.*42/);
    await setField(page, 'version', '66');
    const other = await sheet(page);
    assert.notDeepEqual(other.problems, a.problems);
    await setField(page, 'version', '65');
    assert.deepEqual((await sheet(page)).problems, a.problems);
    // A seed that does not read is told by name; nothing is made.
    await setField(page, 'seed', 'abc');
    s = await sheet(page);
    assert.equal(s.problems.length, 0);
    assert.match(await page.$eval('#sheetMaker .smMessage', (m) => m.textContent), /シード/);
    await setField(page, 'seed', '42');

    const f = await fits(page);
    assert.deepEqual([f.inside, f.offRight, f.commandsHidden], [true, 0, 0]);
    assert.ok(f.smallest >= 44);
    await page.screenshot('sheetmaker-1024.png');

    // ノートに作る on a page with nothing edited: the problems and the title become the page.
    await page.click('#sheetMaker button[value="make"]');
    await page.waitFor(() => !document.getElementById('sheetMaker').open);
    const n = await noteState(page);
    assert.deepEqual(n.lines, a.problems.map((p) => p.expr));
    assert.equal(n.title, a.title);
    await page.screenshot('sheetmaker-page.png');
    await page.close();
  });

  test('making the page asks before edited lines are replaced; Cancel keeps them', async () => {
    const page = await b.session.open({ width: 1024, height: 768 });
    await openNotebook(page);
    await setLines(page, ['1b1+2b1']);
    await openMaker(page);
    await page.click('#sheetMaker button[value="make"]');
    const asked = await answer(page, 1);
    assert.match(asked.text, /作った問題で置きかえますか/);
    assert.deepEqual((await noteState(page)).lines, ['1b1+2b1']);
    assert.ok(await page.exists('#sheetMaker[open]'), 'the dialog stays open');
    await page.click('#sheetMaker button[value="make"]');
    await answer(page, 0);
    await page.waitFor(() => !document.getElementById('sheetMaker').open);
    const s = await sheet(page);
    assert.deepEqual((await noteState(page)).lines, s.problems.map((p) => p.expr));
    await page.close();
  });

  test('the pupils\' sheet and the key print on A4 pages', async () => {
    const page = await b.session.open({ width: 1024, height: 768 });
    await openNotebook(page);
    await openMaker(page);
    await setField(page, 'count', '12');
    const sheetPages = await page.evaluate(() => window.kazoru.sheetMaker.preparePrint(false));
    assert.equal(sheetPages, 1);
    const keyPages = await page.evaluate(() => window.kazoru.sheetMaker.preparePrint(true));
    assert.ok(keyPages >= 2, `the key's processes take ${keyPages} pages`);
    await page.waitFor(() => [...document.querySelectorAll('#notePrint img')].every((i) => i.complete));
    const ratio = await page.$eval('#notePrint img', (i) => i.naturalHeight / i.naturalWidth);
    assert.ok(Math.abs(ratio - 297 / 210) < 0.02, `A4 pages (${ratio})`);
    await page.evaluate(() => window.kazoru.sheetMaker.preparePrint(false));
    await page.waitFor(() => [...document.querySelectorAll('#notePrint img')].every((i) => i.complete));
    if (b.features.cdp) {
      await (await page.cdp()).send('Emulation.setEmulatedMedia', { media: 'print' });
      await page.setViewport(794, 1123);
      // Only the sheet is printed: nothing of the screen or the dialog shows.
      const shown = await page.evaluate(() => [...document.body.children]
        .filter((e) => e.id !== 'notePrint' && getComputedStyle(e).display !== 'none' && e.getBoundingClientRect().height > 0)
        .map((e) => e.id || e.tagName));
      assert.deepEqual(shown, []);
    }
    await page.screenshot('sheetmaker-print.png');
    await page.close();
  });

  test('on a tablet held upright the dialog fits, taps choose a skill and its controls follow it', async () => {
    const page = await b.session.open({ width: 820, height: 1180, touch: true });
    await openNotebook(page);
    await openMaker(page, true);
    const f = await fits(page);
    assert.deepEqual([f.inside, f.offRight, f.commandsHidden], [true, 0, 0]);
    assert.ok(f.smallest >= 44);
    await page.tap('#sheetMaker input[value="improper-to-mixed"]');
    await page.waitFor(() => window.kazoru.sheetMaker.sheet.title.length > 0
      && document.querySelector('#sheetMaker input[value="improper-to-mixed"]').checked);
    const disabled = await page.$$eval('#sheetMaker .smControls [name]', (fs) => fs.filter((x) => x.disabled).map((x) => x.name));
    assert.ok(disabled.includes('terms'), disabled.join());
    const s = await sheet(page);
    assert.equal(s.message, '');
    assert.ok(s.problems.every((p) => /^\d+b\d+$/.test(p.expr)), s.problems.map((p) => p.expr).join());
    await page.screenshot('sheetmaker-820.png');
    await page.close();
  });
});
