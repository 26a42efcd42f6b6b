// The service worker: keeps every file of the site on the first visit and answers from that copy, so the
// page starts with no network afterwards; a new version of the site replaces the copy when it is fetched.
const VERSION = 'kazoru-@SITE_VERSION@';
const FILES = @SITE_FILES@;
// The program and the page's script are fetched packed (few bytes on a slow line) and kept unpacked: the
// page then takes them from here as they are, and the browser can keep the compiled program.
const UNPACK = typeof DecompressionStream === 'function';
const TYPES = { wasm: 'application/wasm', js: 'text/javascript' };

async function keep(cache, file) {
  if (!UNPACK || !FILES.includes(`${file}.gz`)) return cache.add(file);
  const response = await fetch(`${file}.gz`, { cache: 'no-cache' });
  if (!response.ok) throw new Error(`${file}.gz: HTTP ${response.status}`);
  const bytes = new Uint8Array(await response.arrayBuffer());
  // A server that unpacked it on the way hands over the file itself.
  const body = bytes[0] === 0x1f && bytes[1] === 0x8b
    ? await new Response(new Blob([bytes]).stream().pipeThrough(new DecompressionStream('gzip'))).blob()
    : new Blob([bytes]);
  const type = TYPES[file.split('.').pop()] || 'application/octet-stream';
  return cache.put(file, new Response(body, { headers: { 'Content-Type': type } }));
}

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(VERSION)
    .then((cache) => Promise.all(FILES.filter((f) => !f.endsWith('.gz')).map((f) => keep(cache, f))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((k) => k !== VERSION).map((k) => caches.delete(k))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(VERSION).then(async (cache) => {
    const hit = await cache.match(event.request, { ignoreSearch: true });
    if (hit) return hit;
    const response = await fetch(event.request);
    if (response.ok && new URL(event.request.url).origin === self.location.origin) cache.put(event.request, response.clone());
    return response;
  }));
});
