// A small static server for the site on 127.0.0.1 (the tests' own; any static server hosts the site).
import http from 'node:http';
import { readFile } from 'node:fs/promises';
import path from 'node:path';

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.mjs': 'text/javascript',
  '.css': 'text/css', '.wasm': 'application/wasm', '.woff2': 'font/woff2', '.svg': 'image/svg+xml',
  '.png': 'image/png', '.webmanifest': 'application/manifest+json', '.txt': 'text/plain; charset=utf-8',
};

// Serves dir on a free port; resolves to { url, close, stats } where stats.requests counts what was asked,
// stats.log lists each request ({ method, url, body: the bytes sent with it }) and stats.offline = true drops
// every connection, as a network that is down.
// `inject`, when given, is HTML put at the start of every page's head, before the page's own scripts.
// `line` ({ latencyMs, bytesPerSecond }) serves as a slow network would: each answer starts latencyMs after
// its request, and the bytes of all answers share one line of that speed. `hold` (a RegExp of paths) keeps
// the requests it matches waiting until stats.release() lets them through or stats.fail() drops them.
export function serve(dir, { inject = '', line = null, hold = null } = {}) {
  const stats = { requests: 0, log: [] };
  const held = [];
  let holding = hold;
  stats.held = () => held.length;
  stats.release = () => { holding = null; for (const go of held.splice(0)) go(true); };
  stats.fail = () => { for (const go of held.splice(0)) go(false); };
  // stats.line = null lifts the slow line (a test that has measured what it wanted).
  stats.line = line;
  const paced = line ? pacedLine(line) : null;
  const server = http.createServer(async (req, res) => {
    stats.requests++;
    const entry = { method: req.method, url: req.url, body: 0, start: Date.now(), end: null, bytes: 0 };
    stats.log.push(entry);
    req.on('data', (d) => { entry.body += d.length; });
    if (holding && holding.test(req.url)) {
      if (!(await new Promise((go) => held.push(go)))) {
        req.socket.destroy();
        return;
      }
    }
    // A network that is down: the connection drops.
    if (stats.offline) {
      req.socket.destroy();
      return;
    }
    let file = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    if (file.endsWith('/')) file += 'index.html';
    const full = path.join(dir, path.normalize(file));
    if (!full.startsWith(dir)) {
      res.writeHead(403).end();
      return;
    }
    try {
      let body = await readFile(full);
      if (inject && full.endsWith('.html')) body = Buffer.from(body.toString('utf8').replace('<head>', `<head>${inject}`));
      const headers = { 'Content-Type': TYPES[path.extname(full)] || 'application/octet-stream' };
      if (paced && stats.line) {
        await paced.wait();
        res.writeHead(200, { ...headers, 'Content-Length': body.length, 'Cache-Control': 'no-store' });
        await paced.send(res, body);
      } else {
        res.writeHead(200, headers);
        res.end(body);
      }
      entry.bytes = body.length;
      entry.end = Date.now();
    } catch {
      if (!res.headersSent) res.writeHead(404).end();
    }
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => {
      resolve({
        url: `http://127.0.0.1:${server.address().port}/`,
        stats,
        close: () => new Promise((r) => { server.closeAllConnections(); server.close(r); }),
      });
    });
  });
}

// One slow line shared by every answer: each waits latencyMs, then its bytes go out in slices of 10 ms of the
// line, the answers taking turns, never faster than bytesPerSecond together. The line keeps its own clock
// while any answer is on it (a timer that fired late is made up by the next slices, as a busy test machine
// fires them late), and starts from now when it was idle.
function pacedLine({ latencyMs, bytesPerSecond }) {
  const SLICE_MS = 10;
  const slice = Math.max(1, Math.round(bytesPerSecond * SLICE_MS / 1000));
  let free = 0;  // when the line can take the next slice
  let sending = 0;
  const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
  return {
    wait: () => sleep(latencyMs),
    async send(res, body) {
      if (!sending++) free = Math.max(free, Date.now());
      try {
        for (let at = 0; at < body.length; at += slice) {
          const part = body.subarray(at, Math.min(body.length, at + slice));
          free += part.length * 1000 / bytesPerSecond;
          const ahead = free - Date.now();
          if (ahead > 0) await sleep(ahead);
          if (res.destroyed) return;
          res.write(part);
        }
        res.end();
      } finally {
        sending--;
      }
    },
  };
}

// `node serve.mjs DIR [PORT]` serves a folder until stopped.
if (import.meta.url === `file://${process.argv[1]}`) {
  const dir = path.resolve(process.argv[2] || '.');
  serve(dir).then(({ url }) => console.log(`serving ${dir} on ${url}`));
}
