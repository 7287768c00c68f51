"use strict";
// Keeps every file of the site, so that after one visit the page loads and runs offline. A
// new build names a new cache (the build writes its files' digest below) and drops the old;
// the build writes the list of the site's files too, separated by spaces.
const CACHE = "quorvel-@SITE_VERSION@";
const FILES = ["./", ..."@SITE_FILES@".split(" ")];

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((n) => n !== CACHE).map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

// The site's own files from the cache first; the address's query does not name another file.
self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET" || new URL(event.request.url).origin !== location.origin) return;
  event.respondWith(caches.open(CACHE).then((cache) =>
    cache.match(event.request, { ignoreSearch: true }).then((hit) => hit || fetch(event.request))));
});
