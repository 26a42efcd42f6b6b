// Evaluation in the browser build against the desktop: the same lines evaluated the same number of times
// by the desktop build (bench/web_eval_native) and by the WebAssembly build under node's V8, the engine of
// Chromium (kz_evaluate loops inside the module, so no text crosses to JavaScript per evaluation).
//   node bench/bench_web.mjs [BUILD] [WEB_BUILD]
import { spawnSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';

const build = path.resolve(process.argv[2] || 'build');
const webBuild = path.resolve(process.argv[3] || 'build-web');
const LINES = ['1k3b2*3+4b1-2b1', '(2b1+3b1)/5b4', '0.1@6+1b3*2^3', '[3+1B2]*4+5C2', '12b7-3k5b2*2', '2^10/3b4+7!'];
const REPEAT = 20000;

function nativeUs() {
  const r = spawnSync(path.join(build, 'bench', 'web_eval_native'), [String(REPEAT), ...LINES], { encoding: 'utf8' });
  if (r.status !== 0) throw new Error(r.stderr);
  return Number(r.stdout.split(' ')[0]);
}

const factory = createRequire(import.meta.url)(path.join(webBuild, 'site', 'kazoru.js'));
const M = await factory({ wasmBinary: readFileSync(path.join(webBuild, 'site', 'kazoru.wasm')),
  kazoruMeasure: { width: () => 0, height: () => 0 } });
const evaluate = M.cwrap('kz_evaluate', 'string', ['string', 'number', 'number']);
function webUs() {
  evaluate(LINES[0], 6, 1000);  // warm-up: the tiers of V8's compiler
  const t0 = performance.now();
  for (const line of LINES) evaluate(line, 6, REPEAT);
  return (performance.now() - t0) * 1000 / (REPEAT * LINES.length);
}

let n = Infinity, w = Infinity;
for (let i = 0; i < 3; i++) {
  n = Math.min(n, nativeUs());
  w = Math.min(w, webUs());
}
console.log(`native ${n.toFixed(2)} µs per evaluation, wasm ${w.toFixed(2)} µs, ratio ${(w / n).toFixed(2)}`);
