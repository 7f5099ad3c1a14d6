// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Keeps the site in the browser after the first visit, so that the page opens
// again with no network. The build (finish_site.py) writes in every file of
// the site with the SHA-256 of its contents, and a version made of those: a
// site with any file changed has a worker of other bytes, which the browser
// installs when it is served.
//
// The worker answers for its own files and its own folder only: a school's
// other pages under the same folder, or another copy of glukara there, stay
// the server's. Each copy keeps its versions in caches of its own, named by
// its folder. A new version waits until no page of the one before is open
// (neither skipWaiting nor clients.claim): a page that is still loading never
// gets the rest of its files from another version.
'use strict';

const version = '@VERSION@';
const files = {'@FILES@': ''};

const scope = self.registration.scope;
const own_caches = `glukara ${scope} `;
const cache_name = own_caches + version;
// Each address the worker answers for, and the file that answers it.
const answers = new Map(Object.keys(files).map((name) => [new URL(name, scope).href, name]));
answers.set(scope, 'index.html');

async function sha256(bytes) {
  const digest = new Uint8Array(await crypto.subtle.digest('SHA-256', bytes));
  return Array.from(digest, (b) => b.toString(16).padStart(2, '0')).join('');
}

// Every file as the build made it, or nothing: the browser then keeps the
// version before, and tries this one again at the page's next opening.
async function fetch_checked(name) {
  // Revalidated with the server rather than taken as the browser's HTTP
  // cache holds them, which may still be the last version's.
  const response = await fetch(new Request(name, { cache: 'no-cache' }));
  const body = await response.arrayBuffer();
  if (!response.ok || await sha256(body) !== files[name])
    throw new Error(`${name} is not the file of version ${version} (HTTP ${response.status}, ${body.byteLength} bytes)`);
  return new Response(body, { status: response.status, statusText: response.statusText, headers: response.headers });
}

async function keep_version() {
  const names = Object.keys(files);
  const responses = await Promise.all(names.map(fetch_checked));
  const cache = await caches.open(cache_name);
  try {
    await Promise.all(names.map((name, i) => cache.put(name, responses[i])));
  } catch (error) {
    await caches.delete(cache_name);
    throw error;
  }
}

async function drop_older_versions() {
  const names = await caches.keys();
  await Promise.all(names.filter((name) => name.startsWith(own_caches) && name !== cache_name)
                        .map((name) => caches.delete(name)));
}

self.addEventListener('install', (event) => event.waitUntil(keep_version()));
self.addEventListener('activate', (event) => event.waitUntil(drop_older_versions()));

// Anything but the site's own files goes to the network untouched.
self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET')
    return;
  const url = new URL(request.url);
  url.search = '';
  url.hash = '';
  const name = answers.get(url.href);
  if (name === undefined)
    return;
  event.respondWith(caches.open(cache_name)
                        .then((cache) => cache.match(name))
                        .then((kept) => kept || fetch(request)));
});
