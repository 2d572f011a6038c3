// Fotonar offline: the program's own files, cached at the first visit and served from the
// cache from then on. A new version of the program is a new cache, filled before it replaces
// the old one; a reload then shows it.
'use strict';

const CACHE = '@CACHE@';
const FILES = @FILES@;

self.addEventListener('install', (event) => {
    event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
    event.waitUntil(caches.keys()
        .then((keys) => Promise.all(keys.filter((key) => key.startsWith('fotonar-') && key !== CACHE)
            .map((key) => caches.delete(key))))
        .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
    const request = event.request;
    if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin)
        return;
    event.respondWith(caches.open(CACHE)
        .then((cache) => cache.match(request, {ignoreSearch: true}))
        .then((cached) => cached || fetch(request)));
});
