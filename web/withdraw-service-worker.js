// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Takes glukara off a school's server and out of its pupils' browsers. A
// browser keeps the site's worker, and with it the site, after the site's
// folder is gone: a worker script that the server no longer has is not a
// reason for the browser to drop it. So this one takes its place: left alone
// in glukara's folder under the name service-worker.js, it is installed by
// every browser that opens the address again, at once, and it deletes this
// copy's caches, unregisters itself and reloads the copy's open pages, which
// then get the server's answer, as they do offline from then on.
'use strict';

const scope = self.registration.scope;

self.addEventListener('install', () => self.skipWaiting());

self.addEventListener('activate', (event) => event.waitUntil((async () => {
  const names = await caches.keys();
  await Promise.all(names.filter((name) => name.startsWith(`glukara ${scope} `))
                        .map((name) => caches.delete(name)));
  await self.registration.unregister();
  const pages = await self.clients.matchAll({ type: 'window' });
  await Promise.all(pages.map((page) => page.navigate(page.url).catch(() => {})));
})()));
