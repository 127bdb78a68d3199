// Keeps the page and the engine in the browser's cache, so that the page opens and converts
// with the network off after the first visit. The list and the version are written when the
// site is put together; a new version replaces the old cache.
const VERSION = "@TAVIMOR_SITE_VERSION@";
const CACHE = `tavimor-${VERSION}`;
const FILES = [
  "./",
@TAVIMOR_SITE_FILES@];

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((k) => k.startsWith("tavimor-") && k !== CACHE)
      .map((k) => caches.delete(k))))
    .then(() => self.clients.claim()));
});

// The cache first: every file of the site is in it; the address's "#..." is no part of a
// request. Anything else goes to the network as usual.
self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET") return;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((hit) => hit ?? fetch(event.request)));
});
