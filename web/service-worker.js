// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Keeps the site in the browser after the first visit, so that the page opens
// again with no network. The build (finish_site.py) writes in the files kept
// and a hash of their contents: a site with any file changed has a worker of
// other bytes, which the browser installs when it is served; that worker
// takes over at once and drops the caches of the versions before it, and the
// new version shows from the next opening of the page.
'use strict';

const cache_name = 'glukara-@VERSION@-@HASH@';
const files = ['@FILES@'];

self.addEventListener('install', (event) => {
  // Revalidated with the server rather than taken as the browser's HTTP
  // cache holds them, which may still be the last version's.
  const requests = files.map((file) => new Request(file, { cache: 'no-cache' }));
  event.waitUntil(caches.open(cache_name)
                      .then((cache) => cache.addAll(requests))
                      .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
                      .then((names) => Promise.all(
                          names.filter((name) => name.startsWith('glukara-') && name !== cache_name)
                              .map((name) => caches.delete(name))))
                      .then(() => self.clients.claim()));
});

// Every file from this version's cache, so that the page never mixes two
// versions; the site's folder itself is its index.html.
self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET')
    return;
  const wanted = request.mode === 'navigate' && new URL(request.url).pathname.endsWith('/')
                     ? 'index.html' : request;
  event.respondWith(caches.open(cache_name)
                        .then((cache) => cache.match(wanted, { ignoreSearch: true }))
                        .then((kept) => kept || fetch(request)));
});
