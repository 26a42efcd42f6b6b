// The service worker: keeps every file of the site on the first visit and answers from that copy, so the
// page starts with no network afterwards; a new version of the site replaces the copy when it is fetched.
const VERSION = 'kazoru-@SITE_VERSION@';
const FILES = @SITE_FILES@;
// The program is kept in the one form this browser's page fetches (packed where it can unpack it).
const UNUSED = typeof DecompressionStream === 'function' ? 'kazoru.wasm' : 'kazoru.wasm.gz';

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(VERSION).then((cache) => cache.addAll(FILES.filter((f) => f !== UNUSED)))
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
