"use strict";
// Keeps every file of the site, so that after one visit the page loads and runs offline. A
// new build names a new cache (the build writes its files' digest below) and drops the old;
// the build writes the list of the site's files too, separated by spaces.
//
// One visit runs one version's files, never a mix. Online, every file comes from the server
// as it is now: the browser's own cache is used only once the server confirms its copy
// ("no-cache"), however old the files look, so a visit after a new version is deployed runs
// the new files. Offline, every file comes from this cache, which the install fills whole
// from the server, past the browser's cache ("reload"), with the files of the version whose
// digest names it.
const CACHE = "quorvel-@SITE_VERSION@";
const FILES = ["./", ..."@SITE_FILES@".split(" ")];

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(CACHE)
    .then((cache) => cache.addAll(FILES.map((file) => new Request(file, { cache: "reload" }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((n) => n !== CACHE).map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

// The site's own files from the server, else from the cache; the address's query does not
// name another file.
self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET" || new URL(event.request.url).origin !== location.origin) return;
  event.respondWith(fetch(event.request, { cache: "no-cache" }).catch(() =>
    caches.open(CACHE).then((cache) => cache.match(event.request, { ignoreSearch: true }))
      .then((hit) => hit || Response.error())));
});
