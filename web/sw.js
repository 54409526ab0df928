// The service worker that keeps the game for offline play, registered by
// page.js. The build (cmake/web/stamp_service_worker.cmake) writes in the
// version, a digest of every file, and the files' names. Each version keeps
// its files in a cache of its own, all fetched before it takes over, and
// answers only from it: a page never mixes two versions' files. A newer
// version on the server makes this file differ, so the browser installs it
// beside the old one; the page lets it take over before the game starts.
'use strict';

var VERSION = '@WEB_VERSION@';
var FILES = [@WEB_FILES@];
// Named by the folder too: a site may host two copies of the game, and
// each drops only its own old versions.
var PREFIX = 'tarvellion ' + self.registration.scope + ' ';
var CACHE = PREFIX + VERSION;

// Past the browser's HTTP cache, so the files are this version's.
self.addEventListener('install', function(event) {
    event.waitUntil(caches.open(CACHE).then(function(cache) {
        return cache.addAll(FILES.map(function(name) {
            return new Request(name, { cache: 'no-cache' });
        }));
    }));
});

self.addEventListener('message', function(event) {
    if (event.data === 'take over')
        self.skipWaiting();
});

self.addEventListener('activate', function(event) {
    event.waitUntil(caches.keys().then(function(names) {
        return Promise.all(names.filter(function(name) {
            return name.indexOf(PREFIX) === 0 && name !== CACHE;
        }).map(function(name) {
            return caches.delete(name);
        }));
    }));
});

// The folder's address is its index.html. Anything not kept goes to the
// network as if no worker were there.
self.addEventListener('fetch', function(event) {
    var request = event.request;
    if (request.method !== 'GET')
        return;
    var url = new URL(request.url);
    url.search = '';
    if (request.mode === 'navigate' && url.pathname.slice(-1) === '/')
        url.pathname += 'index.html';
    event.respondWith(caches.open(CACHE).then(function(cache) {
        return cache.match(url.href);
    }).then(function(kept) {
        return kept || fetch(request);
    }));
});
