// The page's service worker: once the page has loaded, its files are kept
// so that it starts again without a network. A new build (another version
// below, written by stage_site.py) replaces them whole.
'use strict';

var VERSION = '@MAISON_SITE_VERSION@';
var CACHE = 'maison-' + VERSION;
var FILES = [
  './', 'index.html', 'page.js', 'page.css', 'maison.js', 'maison.wasm', 'manifest.webmanifest',
  'icon.svg', 'icon-192.png', 'icon-512.png',
];

self.addEventListener('install', function(event) {
  event.waitUntil(caches.open(CACHE)
                      .then(function(cache) {
                        return cache.addAll(FILES);
                      })
                      .then(function() {
                        return self.skipWaiting();
                      }));
});

self.addEventListener('activate', function(event) {
  event.waitUntil(caches.keys()
                      .then(function(names) {
                        return Promise.all(names.filter(function(name) {
                          return name.indexOf('maison-') === 0 && name !== CACHE;
                        }).map(function(name) {
                          return caches.delete(name);
                        }));
                      })
                      .then(function() {
                        return self.clients.claim();
                      }));
});

// The kept files first (the page's address may carry ?code=...), the
// network for anything else.
self.addEventListener('fetch', function(event) {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(CACHE).then(function(cache) {
    return cache.match(event.request, {ignoreSearch: true}).then(function(kept) {
      return kept || fetch(event.request);
    });
  }));
});
