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
export function serve(dir, { inject = '' } = {}) {
  const stats = { requests: 0, log: [] };
  const server = http.createServer(async (req, res) => {
    stats.requests++;
    const entry = { method: req.method, url: req.url, body: 0 };
    stats.log.push(entry);
    req.on('data', (d) => { entry.body += d.length; });
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
      res.writeHead(200, { 'Content-Type': TYPES[path.extname(full)] || 'application/octet-stream' });
      res.end(body);
    } catch {
      res.writeHead(404).end();
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

// `node serve.mjs DIR [PORT]` serves a folder until stopped.
if (import.meta.url === `file://${process.argv[1]}`) {
  const dir = path.resolve(process.argv[2] || '.');
  serve(dir).then(({ url }) => console.log(`serving ${dir} on ${url}`));
}
