import { startSession } from './session.mjs';
import { openPage } from './notebook-helpers.mjs';
const s = await startSession();
const page = await openPage(s.browser, s.server, { width: 1024, height: 768 });
await page.focus('#page');
await page.keyboard.down('Alt'); await page.keyboard.press('KeyE'); await page.keyboard.up('Alt');
await page.waitForSelector('#tool-editor[open]');
await page.click('#tool-editor button[data-caption="式ﾒﾓ &M"]');
await page.waitForSelector('#tool-memo[open]');
await page.click('#tool-editor button[data-caption="代入箱 &S"]');
await page.waitForSelector('#tool-substitution[open]');
console.log(await page.evaluate(() => ['editor', 'memo', 'substitution'].map((n) => {
  const r = document.getElementById(`tool-${n}`).getBoundingClientRect();
  return `${n} ${Math.round(r.left)},${Math.round(r.top)} ${Math.round(r.width)}x${Math.round(r.height)} scrollH=${document.getElementById(`tool-${n}`).scrollHeight}`;
}).join('\n') + '\npanel ' + JSON.stringify(document.getElementById('panel').getBoundingClientRect())));
await page.screenshot({ path: '/tmp/webnote/tools-before.png' });
await s.close();
