// The page's service worker: once the page has loaded, its files are kept
// so that it starts again without a network. A new build (another version
// below, written by stage_site.py) replaces them whole.
'use strict';

var VERSION = '@MAISON_SITE_VERSION@';
var CACHE = 'maison-' + VERSION;
var FILES = [
  'index.html', 'page.js', 'page.css', 'maison.js', 'maison.wasm', 'manifest.webmanifest',
  'icon.svg', 'icon-192.png', 'icon-512.png',
];

self.addEventListener('install', function(event) {
  event.waitUntil(caches.open(CACHE)
                      .then(function(cache) {
                        // Checked with the server, not downloaded again: the
                        // page has just loaded them into the browser's cache.
                        return cache.addAll(FILES.map(function(file) {
                          return new Request(file, {cache: 'no-cache'});
                        }));
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

// The kept files first, the network for anything else. The page itself is
// index.html whatever its address says (the folder, ?code=...).
self.addEventListener('fetch', function(event) {
  var request = event.request;
  if (request.method !== 'GET') return;
  var scope = self.registration.scope;
  var path = request.url.split(/[?#]/)[0];
  var page = request.mode === 'navigate' && (path === scope || path === scope + 'index.html');
  event.respondWith(caches.open(CACHE).then(function(cache) {
    return cache.match(page ? 'index.html' : request, {ignoreSearch: true}).then(function(kept) {
      return kept || fetch(request);
    });
  }));
});
