// The offline copy. This worker only caches: on install it stores every
// file of its version in a cache of its own (all or nothing), and it
// answers the page's requests from that cache, falling back to the
// network. A new version waits until the page asks it to take over, then
// removes the older caches, so a page is always served one version's files.
// tools/web build writes the version and the file list in.
// @ts-check
/// <reference lib="webworker" />
const worker = /** @type {ServiceWorkerGlobalScope} */ (/** @type {unknown} */ (self));
const VERSION = '@VERSION@';
const FILES = ['@FILES@'];
const CACHE = `rimbeacon-${VERSION}`;

worker.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)));
});

worker.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys().then((names) => Promise.all(
    names.filter((name) => name.startsWith('rimbeacon-') && name !== CACHE).map((name) => caches.delete(name)))));
});

worker.addEventListener('message', (event) => {
  if (event.data === 'take-over') worker.skipWaiting();
});

worker.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== worker.location.origin) return;
  // A page opened at any address of the app (a share link's fragment never
  // reaches here) is the one page.
  const key = request.mode === 'navigate' ? './' : request;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(key, { ignoreSearch: request.mode === 'navigate' }))
    .then((cached) => cached || fetch(request)));
});
