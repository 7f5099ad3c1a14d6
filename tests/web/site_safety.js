// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The page where others share its place, in one browser engine:
//   node site_safety.js ENGINE SITE_DIR OUT_DIR
// - glukara.html with a script and a picture from a server put into it, as a
//   learning platform could serve it: opened as a file and served from
//   another address, the program runs, the put-in script does not, and
//   nothing is fetched (every engine);
// - the site in /glukara/ on a server that also has a page of someone else's,
//   which forges glukara's cached index.html: glukara's worker never serves
//   the forged file, with the server gone or there, and keeps the whole
//   version again (Chromium and Firefox, whose workers the drivers reach);
// - the site withdrawn as docs/security.md says: afterwards its address gives
//   the server's own page, and offline no glukara (Chromium and Firefox).
'use strict';
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const { pathToFileURL } = require('url');
const { check, fail, note, finish } = require('./lib/tally.js');
const { start_deadline_ms, deadline_ms, poll } = require('./lib/wait.js');
const { serve } = require('./lib/serve.js');

const engines = ['chromium', 'firefox', 'webkit'];
const [engine_name, site, out] = process.argv.slice(2);
if (!engines.includes(engine_name) || !site || !out) {
  console.error(`usage: node site_safety.js ${engines.join('|')} SITE_DIR OUT_DIR`);
  process.exit(2);
}
const engine = require(`./engines/${engine_name}.js`);
fs.mkdirSync(out, { recursive: true });
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'glukara-safety-'));
process.on('exit', () => fs.rmSync(scratch, { recursive: true, force: true }));

// What the page at hand is: glukara (with its window shown or not), the
// forged page, or something else, such as the server's or the browser's
// error page. Asked while a page may be loading, so a failure is an answer.
const what_shows = (browser) => browser.evaluate(() => {
  if (document.title === 'Forged')
    return 'forged';
  if (document.querySelector('meta[name="glukara-program"]') === null)
    return `other: ${document.title} ${(document.body && document.body.innerText || '').slice(0, 80)}`;
  const screen = document.getElementById('screen');
  return screen && !screen.hidden ? 'glukara window' : 'glukara page';
}).catch((e) => `nothing: ${e.message.split('\n')[0]}`);

async function wait_for(browser, what, probe, wait_ms = deadline_ms) {
  return poll({ check }, what, () => what_shows(browser), probe, { wait_ms })
    .then(() => true, () => false);
}

// A navigation that the browser cannot complete, with the server gone, is an
// answer too: what shows afterwards says what it was.
const go = (browser, url) => browser.goto(url).catch(() => {});

// A server that counts every request it gets: nothing of the page may reach it.
function beacon() {
  return new Promise((resolve) => {
    const seen = [];
    const server = http.createServer((request, response) => {
      seen.push(request.url);
      response.writeHead(404);
      response.end();
    });
    server.listen(0, '127.0.0.1', () => resolve({
      url: `http://127.0.0.1:${server.address().port}/`, seen,
      stop: () => new Promise((done) => server.close(done)),
    }));
  });
}

async function one_file_policy() {
  const listener = await beacon();
  const folder = path.join(scratch, 'platform');
  fs.mkdirSync(folder);
  const page = fs.readFileSync(path.join(site, 'glukara.html'), 'utf8');
  const tampered = page.replace('</body>', '<script>window.glukara_put_in = "ran";</script>\n' +
                                `<img src="${listener.url}picture.png" alt="">\n</body>`);
  check(tampered !== page, 'a script and a picture from a server are put into glukara.html');
  fs.writeFileSync(path.join(folder, 'glukara.html'), tampered);
  const platform = await serve(folder);
  const browser = await engine.launch({ language: 'en-US' });
  try {
    for (const [where, url] of [['opened as a file', pathToFileURL(path.join(folder, 'glukara.html')).href],
                                ['served from another address', `${platform.url}glukara.html`]]) {
      await go(browser, url);
      const ran = await wait_for(browser, `${where}, the program shows its window`,
                                 (seen) => seen === 'glukara window', start_deadline_ms);
      check(ran, `${where}, the program runs under the file's policy`);
      const policy = await browser.evaluate(() => {
        const meta = document.querySelector('meta[http-equiv="Content-Security-Policy"]');
        return meta && meta.content;
      });
      check(/default-src 'none'/.test(policy) && /script-src 'sha256-[^']+' 'sha256-[^']+' 'unsafe-eval';/.test(policy),
            `${where}, the file carries its own policy: nothing from any address, its own scripts by their hashes`,
            policy);
      const put_in = await browser.evaluate(() => window.glukara_put_in === undefined ? 'did not run' : 'ran');
      check(put_in === 'did not run', `${where}, the script put into the file does not run`, put_in);
      check(listener.seen.length === 0, `${where}, nothing is fetched from another server`,
            listener.seen.join(', ') || 'no request');
    }
  } finally {
    await browser.close();
    await platform.stop();
    await listener.stop();
  }
}

// A school's server: glukara in /glukara/, someone else's page in /news/
// that forges glukara's cached index.html under the cache name it is given,
// and a copy of glukara in /gone/ that the school withdraws.
function school_server() {
  const root = path.join(scratch, 'school');
  for (const folder of ['glukara', 'gone'])
    fs.cpSync(site, path.join(root, folder), { recursive: true });
  fs.mkdirSync(path.join(root, 'news'));
  fs.writeFileSync(path.join(root, 'news', 'page.html'), `<!doctype html>
<html lang="en"><head><meta charset="utf-8"><title>News</title></head>
<body><p>News of the school</p>
<script>
(async () => {
  const glukara = new URL('/glukara/', location.href).href;
  const forged = new Response('<!doctype html><title>Forged</title><p>Not glukara</p><script>document.title = "Forged"</' + 'script>',
                              { headers: { 'Content-Type': 'text/html' } });
  const cache = await caches.open(decodeURIComponent(location.hash.slice(1)));
  await cache.put(glukara + 'index.html', forged.clone());
  await cache.put(glukara, forged);
  document.title = 'Forged it';
})();
</script></body></html>
`);
  return root;
}

// Every file that the worker keeps: the site but the workers, the one file
// and the class guides, which the page only links to.
const kept_files = fs.readdirSync(site).filter(
    (name) => !['glukara.html', 'service-worker.js', 'withdraw-service-worker.js'].includes(name) &&
              !/^guide(\.[a-z]{2})?\.html$/.test(name)).length;

// The name of the cache of the site at `scope` once it holds every file of
// a version, glukara's own index.html among them.
const whole_cache = (browser, scope) => browser.evaluate(async ([scope, count]) => {
  const names = (await caches.keys()).filter((name) => name.startsWith(`glukara ${scope} `));
  if (names.length !== 1)
    return undefined;
  const cache = await caches.open(names[0]);
  const index = await cache.match(new URL('index.html', scope).href);
  const whole = (await cache.keys()).length === count && index &&
                (await index.text()).includes('glukara-program');
  return whole ? names[0] : undefined;
}, [scope, kept_files]).catch(() => undefined);

// The page at `url` is glukara's, kept by its worker, and controlled by it.
async function kept_and_controlled(browser, url) {
  await go(browser, url);
  await wait_for(browser, `${url} shows the window`, (seen) => seen === 'glukara window', start_deadline_ms);
  const name = await poll({ check }, `${url} is kept whole in its cache`, () => whole_cache(browser, url),
                          (name) => name, { describe: () => 'no whole cache' }).catch(() => undefined);
  await go(browser, url);
  const controlled = await poll({ check }, `${url} is controlled by its worker`,
                                () => browser.evaluate(() => navigator.serviceWorker.controller !== null)
                                             .catch(() => false), (yes) => yes).catch(() => false);
  check(name !== undefined && controlled, `the site at ${url} is kept in the browser and served by its worker`);
  return name;
}

async function forge(browser, server, cache_name) {
  await go(browser, `${server.url}news/page.html#${encodeURIComponent(cache_name)}`);
  const forged = await poll({ check }, 'the news page forges glukara\'s cached index.html',
                            () => browser.evaluate(() => document.title).catch(() => ''),
                            (title) => title === 'Forged it').catch(() => false);
  check(forged !== false, 'a page elsewhere on the host puts its own index.html into glukara\'s cache');
}

async function forged_cache(root) {
  let server = await serve(root);
  const port = new URL(server.url).port;
  const glukara = `${server.url}glukara/`;
  const browser = await engine.launch({ language: 'en-US' });
  try {
    const cache_name = await kept_and_controlled(browser, glukara);
    if (cache_name === undefined)
      throw new Error('the site was never kept: the rest cannot be tried');

    // With the server gone, the forged file is all the browser has.
    await forge(browser, server, cache_name);
    await server.stop();
    await go(browser, glukara);
    // Whatever the browser shows instead, it settles on it: the error page.
    await wait_for(browser, 'offline, the browser settles on a page', (seen) => !seen.startsWith('nothing'));
    const offline = await what_shows(browser);
    check(offline !== 'forged', 'offline, the forged index.html is never served', offline);

    // With the server there again: glukara from the server, and its version
    // kept again whole.
    server = await serve(root, port);
    await forge(browser, server, cache_name);
    await go(browser, glukara);
    await wait_for(browser, 'online, glukara shows', (seen) => seen === 'glukara window', start_deadline_ms);
    const online = await what_shows(browser);
    check(online === 'glukara window', 'online, glukara is served instead of the forged index.html', online);
    const again = await poll({ check }, 'the version is kept again', () => whole_cache(browser, glukara),
                             (name) => name, { describe: () => 'no whole cache' }).catch(() => undefined);
    check(again === cache_name, 'the worker keeps its whole version again, checked', again);
    await server.stop();
    await go(browser, glukara);
    await wait_for(browser, 'offline again, glukara shows', (seen) => seen === 'glukara window', start_deadline_ms);
    const kept = await what_shows(browser);
    check(kept === 'glukara window', 'offline again, glukara opens from the version kept again', kept);
  } finally {
    await server.stop();
    await browser.close();
  }
}

async function withdrawn(root) {
  let server = await serve(root);
  const port = new URL(server.url).port;
  const gone = `${server.url}gone/`;
  const browser = await engine.launch({ language: 'en-US' });
  try {
    if (await kept_and_controlled(browser, gone) === undefined)
      throw new Error('the site was never kept: the rest cannot be tried');

    // The school's steps: the withdrawing worker in the worker's place, and
    // nothing else of glukara left in the folder; here a page of the
    // school's own says where it went.
    const folder = path.join(root, 'gone');
    const retiring = fs.readFileSync(path.join(folder, 'withdraw-service-worker.js'));
    fs.rmSync(folder, { recursive: true });
    fs.mkdirSync(folder);
    fs.writeFileSync(path.join(folder, 'service-worker.js'), retiring);
    fs.writeFileSync(path.join(folder, 'index.html'),
                     '<!doctype html><html lang="en"><head><meta charset="utf-8"><title>Moved</title></head>' +
                     '<body><p>Glukara is no longer here.</p></body></html>\n');

    // A pupil opens the address again: the kept page first, then the
    // server's answer once the withdrawing worker has taken over. The address
    // is opened again while the old page still shows, in case the browser
    // looked for a new worker before the folder changed.
    let opened = 0;
    const answer = await poll({ check }, 'the address gives the school\'s page',
                              async () => {
                                const seen = await what_shows(browser);
                                if (seen.startsWith('glukara') && Date.now() - opened > 5000) {
                                  opened = Date.now();
                                  await go(browser, gone);
                                }
                                return seen;
                              },
                              (seen) => seen.startsWith('other: Moved') && seen, { wait_ms: 2 * deadline_ms })
      .catch(() => undefined);
    check(answer !== undefined, 'once withdrawn, the address gives the school\'s page from the server', answer);
    // The withdrawing worker unregisters itself; a browser may keep the
    // registration a moment longer, while it still controls the page it
    // reloads, as Firefox did once on a loaded machine.
    let left;
    await poll({ check }, 'the withdrawn worker and cache gone',
               async () => (left = await browser.evaluate(async (scope) => ({
                 workers: (await navigator.serviceWorker.getRegistrations()).filter((r) => r.scope === scope).length,
                 caches: (await caches.keys()).filter((name) => name.startsWith(`glukara ${scope} `)).length,
               }), gone).catch((e) => ({ error: e.message }))),
               (seen) => seen.workers === 0 && seen.caches === 0)
      .catch(() => undefined);
    check(left.workers === 0 && left.caches === 0, 'no worker and no cache of the site is left',
          JSON.stringify(left));

    await server.stop();
    await go(browser, gone);
    await wait_for(browser, 'offline, the browser settles on a page', (seen) => !seen.startsWith('nothing'));
    const offline = await what_shows(browser);
    check(!offline.startsWith('glukara'), 'offline, the withdrawn site no longer opens', offline);
    server = await serve(root, port);
    await go(browser, gone);
    const back = await what_shows(browser);
    check(back.startsWith('other: Moved'), 'online again, the address gives the school\'s page', back);
  } finally {
    await server.stop();
    await browser.close();
  }
}

(async () => {
  const tests = [one_file_policy];
  if (engine_name !== 'webkit') {
    const root = school_server();
    tests.push(() => forged_cache(root), () => withdrawn(root));
  }
  for (const test of tests) {
    try {
      await test();
    } catch (e) {
      fail(`${engine.name}: ${e.message}`);
    }
  }
  note(`${engine.name}: the page where others share its place`);
  finish();
})();
