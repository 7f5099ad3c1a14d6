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
//
// The browser's cache storage belongs to the whole host, not to a folder: any
// other page on the same server can open glukara's caches and put files of
// its own there. So every answer is checked against the build's hash, as
// each file was checked when the version was kept; a file that differs is
// never served, the version's cache is dropped, and the version is fetched
// and kept again, whole and checked, from the server.
'use strict';

const version = '@VERSION@';
const files = {'@FILES@': ''};

const scope = self.registration.scope;
const own_caches = `glukara ${scope} `;
const cache_name = own_caches + version;
// What each kind of file is served as: the type is the worker's, not one
// kept in the cache beside the bytes. Of the server's headers only those
// that can only forbid are passed on, such as a school's frame-ancestors.
const passed_headers = ['Content-Security-Policy', 'X-Frame-Options'];
const types = {
  html: 'text/html; charset=utf-8', js: 'text/javascript', wasm: 'application/wasm',
  ico: 'image/x-icon', png: 'image/png', txt: 'text/plain; charset=utf-8',
  webmanifest: 'application/manifest+json',
};
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

// The file as this version has it, or undefined where the cache lacks it or
// holds other bytes; those drop the version's cache, which is then kept
// anew from the server for the next answers.
async function kept_file(name, event) {
  const kept = await caches.match(name, { cacheName: cache_name });
  const body = kept && await kept.arrayBuffer();
  if (body && await sha256(body) === files[name]) {
    const headers = new Headers({ 'Content-Type': types[name.split('.').pop()] });
    for (const header of passed_headers) {
      if (kept.headers.has(header))
        headers.set(header, kept.headers.get(header));
    }
    return new Response(body, { headers });
  }
  if (kept)
    console.warn(`Glukara: ${name} in the cache is not the file of version ${version}; fetching the version again`);
  event.waitUntil(keep_again());
  return undefined;
}

// One renewal at a time, however many answers find the cache wanting.
let renewal = null;
function keep_again() {
  if (renewal === null)
    renewal = caches.delete(cache_name).then(keep_version).catch(() => {}).finally(() => {
      renewal = null;
    });
  return renewal;
}

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
  event.respondWith(kept_file(name, event).then((kept) => kept || fetch(request)));
});
