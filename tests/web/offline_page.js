// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The page without a web server and without a network, in Debian's Chromium:
//   node offline_page.js SITE_DIR WEB_SOURCE_DIR OUT_DIR
// - glukara.html opened as a file: the window, Start, a tick, a meal, its
//   licences, nothing fetched; the site's index.html opened as a file points
//   to it;
// - the site served: Chromium finds it installable, it opens again with the
//   network off and the server stopped, and a new version served replaces
//   the old one once no page of the old one is open;
// - the site on a school's server: at its root beside the school's own pages,
//   which stay the server's; two versions in two folders, both kept offline;
//   a new version with its program cut short by the upload, which leaves the
//   version before offline and working.
// The site is served from copies, which the tests change.
'use strict';
const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { pathToFileURL } = require('url');
const { open_chromium } = require('./engines/chromium.js');
const { check, fail, note, finish } = require('./lib/tally.js');
const { deadline_ms, screenshot_pause_ms, poll } = require('./lib/wait.js');
const { client_size, at, decode, canvas_rect, client_area, place_of, bar,
        level_of, whole_level } = require('./lib/window.js');
const { serve } = require('./lib/serve.js');

const [site, web_source, out] = process.argv.slice(2);
fs.mkdirSync(out, { recursive: true });

const viewport = { width: 1024, height: 768 };
const one_file_limit = 20 * 1000 * 1000;



// Chromium, where a request that fails is a fault too: the one file must
// ask for nothing, and the offline site must answer everything itself.
async function launch() {
  const opened = await open_chromium({ viewport });
  opened.page.on('requestfailed',
                 (r) => opened.problems.push(`failed: ${r.url()} (${r.failure().errorText})`));
  return opened;
}

// A screenshot, decoded, with the time it was asked for: what it shows was on
// the screen at that moment or later.
async function look(page, file) {
  const asked = Date.now();
  const image = decode(await page.screenshot(file ? { path: path.join(out, file) } : {}));
  image.asked = asked;
  return image;
}

// Waits for `probe` to return something other than undefined or false,
// looking again at every screenshot until the deadline.
const until = (page, what, probe) =>
  poll({ check }, what, () => look(page), probe,
       { describe: () => undefined, pause_ms: screenshot_pause_ms });

// Waits for the canvas to show the window, 750 x 538; gives its origin.
async function wait_for_window(page, file) {
  await page.waitForFunction(() => !document.getElementById('screen').hidden, null,
                             { timeout: deadline_ms })
      .catch(async () => {
        check(false, 'the page shows its window in time',
              await page.evaluate(() => document.body.innerText).catch((e) => e.message));
        throw new Error('no window');
      });
  const canvas = await page.evaluate(canvas_rect);
  const { image, client } = await until(page, 'the window is painted at 750 x 538', (image) => {
    const client = client_area(image, canvas);
    return client.width === client_size.width && client.height === client_size.height
               ? { image, client } : undefined;
  });
  if (file)
    await look(page, file);
  return { origin: { x: client.x, y: client.y }, image };
}

async function click(page, origin, [x, y]) {
  await page.mouse.click(origin.x + x, origin.y + y);
  await page.mouse.move(origin.x + at.rest[0], origin.y + at.rest[1]);
}


// Start: every tick takes 1 from the level, from 100. A busy machine may let
// more than one tick pass between two screenshots, so the levels are watched
// until a tick is seen alone; every level seen is 100 less whole ticks. With
// `meal`, a meal then adds 40, shown at the next tick, counted the same way.
async function start_and_tick(page, origin, first, meal) {
  const place = place_of(origin);
  const start_bar = bar(first, place);
  check(Math.abs(start_bar.level - 100) <= 1.5, 'the bar stands at 100 on the axis at the start',
        start_bar.level.toFixed(2));
  const start = { level: 100, height: start_bar.height };
  await click(page, origin, at.start);
  const levels = [100];
  let seen_at = 0;
  const single = await until(page, 'a tick seen alone', (image) => {
    seen_at = image.asked;
    const level = level_of(bar(image, place).height, start);
    const last = levels[levels.length - 1];
    if (Math.abs(level - last) < 0.5)
      return undefined;
    levels.push(level);
    if (!whole_level(level) || level > last)
      return 'wrong';
    return Math.abs(last - level - 1) < 0.5 ? 'alone' : undefined;
  });
  const seen = levels.map((v) => v.toFixed(2)).join(' -> ');
  check(single === 'alone', 'a tick takes 1 from the level (100 to 99 when the first is seen alone)', seen);
  if (!meal)
    return;
  const before = Math.round(levels[levels.length - 1]);
  await click(page, origin, at.meal);
  const fed = await until(page, 'the bar rises after a meal', (image) => {
    const level = level_of(bar(image, place).height, start);
    return level > before + 0.5 ? level : undefined;
  });
  // As many ticks as the time since the level before was on the screen
  // holds, on a busy machine more than one (Qt's timers may fire up to 5 %
  // early). A screenshot can come back after the next tick, so the time is
  // counted from when it was asked for.
  const most = Math.floor((Date.now() - seen_at) / 950) + 1;
  const ticks = Math.round(before + 40 - fed);
  check(whole_level(fed) && ticks >= 1 && ticks <= most,
        `a meal takes ${before} to ${before} + 40 - ${ticks}, at most ${most} tick(s) in the time`,
        fed.toFixed(2));
}

async function one_file_page() {
  const file = path.join(site, 'glukara.html');
  const size = fs.statSync(file).size;
  console.log(`glukara.html is ${size} bytes`);
  check(size < one_file_limit, `glukara.html is under ${one_file_limit} bytes`, size);

  const { page, problems, close } = await launch();
  const asked = [];
  page.on('request', (r) => asked.push(r.url()));
  const started = Date.now();
  await page.goto(pathToFileURL(file).href);
  const { origin, image } = await wait_for_window(page, 'glukara-file.png');
  console.log(`window painted ${Date.now() - started} ms after the file was opened`);
  check(await page.title() === 'Glukara', 'the file page is titled "Glukara"', await page.title());
  await start_and_tick(page, origin, image, true);

  await page.click('#licence a');
  const licences = await page.waitForFunction(() => {
    const section = document.getElementById('licences');
    return getComputedStyle(section).display !== 'none' && section.textContent;
  }, null, { timeout: deadline_ms });
  const text = await licences.jsonValue();
  check(text.includes('GNU GENERAL PUBLIC LICENSE') && text.includes('SIL Open Font License'),
        'the licence link shows the GPL and the font\'s licence within the file');
  check(text.includes('The FreeType Project LICENSE') && /glukara-[0-9.]+-source\.tar\.gz/.test(text),
        'the licences within the file carry the built-in parts\' notices and say where the source is');
  await page.click('#licences a');
  const closed = await page.waitForFunction(
      () => getComputedStyle(document.getElementById('licences')).display === 'none', null,
      { timeout: deadline_ms }).then(() => true, () => false);
  check(closed, 'the licences close again');

  const elsewhere = asked.filter((u) => u !== pathToFileURL(file).href && !u.startsWith('data:') &&
                                        !u.startsWith('blob:') && !u.includes('#'));
  check(elsewhere.length === 0, 'the file page asks for nothing else', elsewhere.join(', '));
  check(problems.length === 0, 'no errors in the console of the file page', problems.join('; '));
  await close();
}

async function site_as_file() {
  const { page, close } = await launch();
  await page.goto(pathToFileURL(path.join(site, 'index.html')).href);
  const expected = 'To start Glukara from a file, open glukara.html, which lies beside this page:';
  try {
    await page.waitForFunction((text) => document.getElementById('message').textContent === text &&
                                   !document.getElementById('one-file').hidden,
                               expected, { timeout: deadline_ms });
    check(true, 'the site\'s index.html opened as a file points to glukara.html');
  } catch (e) {
    check(false, 'the site\'s index.html opened as a file points to glukara.html',
          await page.textContent('#notice'));
  }
  await page.click('#one-file a');
  await page.waitForURL(/glukara\.html$/, { timeout: deadline_ms });
  await wait_for_window(page);
  note('its link opens glukara.html, which shows the window');
  await close();
}

// The service workers as Chromium's DevTools see them, for every site of the
// browser: each version's status by its id, and each registration's scope.
// Watched from a blank page of their own, which outlives the site's pages and
// holds no site open.
async function watch_workers(context) {
  const cdp = await context.newCDPSession(await context.newPage());
  const versions = new Map();
  const scopes = new Map();
  cdp.on('ServiceWorker.workerVersionUpdated', (event) => {
    for (const v of event.versions)
      versions.set(v.versionId, v);
  });
  cdp.on('ServiceWorker.workerRegistrationUpdated', (event) => {
    for (const r of event.registrations)
      scopes.set(r.registrationId, r.scopeURL);
  });
  await cdp.send('ServiceWorker.enable');
  const of_scope = (scope) => [...versions.values()].filter((v) => scopes.get(v.registrationId) === scope);
  const seen = () => JSON.stringify([...versions.values()].map(
      (v) => `${scopes.get(v.registrationId)} #${v.versionId} ${v.status}`));
  // Checks that `probe(versions of the scope)` gives something other than
  // undefined or false before the deadline, and returns it; the road cannot
  // go on without it.
  const until = async (what, scope, probe) => {
    const found = await poll({ check: () => false }, what, () => of_scope(scope), probe)
      .catch(() => false);
    check(found !== false, what, found === false ? seen() : undefined);
    if (found === false)
      throw new Error(`gave up waiting: ${what}`);
    return found;
  };
  // The version that runs the site in `scope`, once it is activated.
  const activated = (scope) => until(`a worker activated for ${scope}`, scope,
                                     (all) => all.find((v) => v.status === 'activated'));
  return { until, activated, seen };
}

// A copy of the site, with `marker` in its page, recorded anew as the build
// records a site (finish_site.py's write_worker): another version.
function version_of(folder, marker) {
  fs.cpSync(site, folder, { recursive: true });
  if (!marker)
    return;
  const index = path.join(folder, 'index.html');
  fs.writeFileSync(index, fs.readFileSync(index, 'utf8').replace(
      '<head>', `<head>\n  <meta name="glukara-check" content="${marker}">`));
  execFileSync('python3', ['-c', 'import sys; from pathlib import Path; import finish_site; ' +
                           'finish_site.write_worker(Path(sys.argv[1]), Path(sys.argv[2]))',
                           folder, web_source],
               { env: { ...process.env, PYTHONPATH: web_source } });
}

// The marker of the version the page shows, or null for the built one.
const marker_of = (page) => page.evaluate(() => {
  const meta = document.querySelector('meta[name="glukara-check"]');
  return meta === null ? null : meta.content;
});

async function served_site() {
  const copy = fs.mkdtempSync(path.join(os.tmpdir(), 'glukara-site-'));
  version_of(copy);
  let server = await serve(copy);
  const { context, page, problems, close } = await launch();
  try {
    await page.addInitScript(() => {
      window.persist_asked = 0;
      const persist = navigator.storage.persist.bind(navigator.storage);
      navigator.storage.persist = () => {
        ++window.persist_asked;
        return persist();
      };
    });
    const workers = await watch_workers(context);
    await page.goto(server.url);
    await wait_for_window(page);
    const cdp = await context.newCDPSession(page);
    const manifest = await cdp.send('Page.getAppManifest');
    check(manifest.url.endsWith('/manifest.webmanifest') && manifest.errors.length === 0,
          'the page names its manifest, which Chromium reads without errors',
          `${manifest.url} ${JSON.stringify(manifest.errors)}`);
    const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
    check(installabilityErrors.length === 0, 'Chromium finds the page installable',
          JSON.stringify(installabilityErrors));

    const first = await workers.activated(server.url);
    const first_caches = await page.evaluate(() => caches.keys());
    check(first_caches.length === 1 && first_caches[0].startsWith(`glukara ${server.url} `),
          'after the first visit the site is kept in one cache, named by its folder', first_caches.join(', '));
    await page.waitForFunction(() => window.persist_asked > 0, null, { timeout: deadline_ms })
        .then(() => check(true, 'the page asks the browser to keep its storage'))
        .catch(() => check(false, 'the page asks the browser to keep its storage'));

    // No network at all: the browser offline, and the server gone.
    await context.setOffline(true);
    await server.stop();
    const offline = await page.reload().catch((e) => {
      problems.push(`offline reload: ${e.message}`);
      return null;
    });
    check(offline && offline.fromServiceWorker(), 'offline, the page comes from the service worker');
    const { origin, image } = await wait_for_window(page, 'glukara-offline.png');
    note('with no network the page opens again and paints the window');
    await start_and_tick(page, origin, image, false);

    // A new version of the site, made as the build makes one, served at the
    // same address.
    version_of(copy, 'second version');
    server = await serve(copy, new URL(server.url).port);
    await context.setOffline(false);
    await page.reload();
    await wait_for_window(page);
    await workers.until('the new version is installed and waits', server.url,
                        (all) => all.find((v) => v.versionId !== first.versionId && v.status === 'installed'));
    // The page itself has the old version still, from the cache it keeps.
    await page.reload();
    await wait_for_window(page);
    check(await marker_of(page) === null, 'a page reloaded while it is open keeps its version',
          await marker_of(page));

    // Closing the last page of the old version lets the new one take over.
    const next = await context.newPage();
    await page.close();
    await workers.until('with no page of the old version open, the new one is activated', server.url,
                        (all) => all.find((v) => v.versionId !== first.versionId && v.status === 'activated'));
    await next.goto(server.url);
    await wait_for_window(next);
    check(await marker_of(next) === 'second version', 'the page opened after that is the new version');
    const names = await next.evaluate(() => caches.keys());
    check(names.length === 1 && names[0] !== first_caches[0],
          'the new version\'s worker replaces the old version\'s cache with its own', names.join(', '));
    check(problems.length === 0, 'no errors in the console of the served page', problems.join('; '));
  } finally {
    await server.stop();
    await close();
    fs.rmSync(copy, { recursive: true, force: true });
  }
}

// A page of the school's own, and what it says.
function school_page(folder, title) {
  fs.mkdirSync(folder, { recursive: true });
  fs.writeFileSync(path.join(folder, 'index.html'),
                   `<!doctype html><html lang="en"><head><meta charset="utf-8"><title>${title}</title></head>` +
                   `<body><p>${title}</p></body></html>\n`);
}

async function school_server() {
  const root = fs.mkdtempSync(path.join(os.tmpdir(), 'glukara-school-'));
  version_of(root);
  school_page(path.join(root, 'news'), 'News of the school');
  school_page(path.join(root, 'other'), 'Another page of the school');
  version_of(path.join(root, 'a'));
  version_of(path.join(root, 'b'), 'b');
  const server = await serve(root);
  const url = (folder) => new URL(folder, server.url).href;
  const { context, page, close } = await launch();
  try {
    const workers = await watch_workers(context);

    // The site at the root: once its worker controls the page, the school's
    // own pages under the same folder are still the server's.
    await page.goto(server.url);
    await wait_for_window(page);
    await workers.activated(server.url);
    const controlled = await page.reload();
    check(controlled.fromServiceWorker(), 'the site at the root comes from its worker');
    for (const [address, title] of [['news/', 'News of the school'],
                                    ['other/index.html', 'Another page of the school']]) {
      const response = await page.goto(url(address));
      const seen = `${await page.title()}, ${response.status()}, ` +
                   `${response.fromServiceWorker() ? 'from the worker' : 'from the server'}`;
      check(await page.title() === title && !response.fromServiceWorker(),
            `/${address} is the school's page, from the server`, seen);
    }

    // Two versions in two folders: each keeps its own.
    for (const folder of ['a/', 'b/']) {
      await page.goto(url(folder));
      await wait_for_window(page);
      await workers.activated(url(folder));
    }
    const names = await page.evaluate(() => caches.keys());
    check(['', 'a/', 'b/'].every((folder) => names.filter((n) => n.startsWith(`glukara ${url(folder)} `)).length === 1),
          'the root, a/ and b/ each keep one cache of their own', names.join(', '));
    await context.setOffline(true);
    for (const [folder, marker] of [['a/', null], ['b/', 'b']]) {
      await page.goto(url(folder));
      const { origin, image } = await wait_for_window(page);
      check(await marker_of(page) === marker, `offline, /${folder} opens its own version`, await marker_of(page));
      await start_and_tick(page, origin, image, false);
    }
    await context.setOffline(false);

    // A new version in a/ whose program the upload cut in half: its worker
    // is refused, and the version before stays.
    const a = path.join(root, 'a');
    const before = await workers.activated(url('a/'));
    fs.rmSync(a, { recursive: true });
    version_of(a, 'cut');
    const wasm = fs.readdirSync(a).find((name) => name.endsWith('.wasm'));
    const whole = fs.readFileSync(path.join(a, wasm));
    fs.writeFileSync(path.join(a, wasm), whole.subarray(0, whole.length / 2));
    await page.goto(url('a/'));
    await wait_for_window(page);
    await workers.until('the cut version refused', url('a/'),
                        (all) => all.find((v) => v.versionId !== before.versionId && v.status === 'redundant'));
    const kept_on = await workers.activated(url('a/'));
    check(kept_on.versionId === before.versionId, 'the cut version is refused and the one before stays active',
          workers.seen());
    await context.setOffline(true);
    await server.stop();
    await page.goto(url('a/'));
    const { origin, image } = await wait_for_window(page, 'glukara-after-cut-upload.png');
    check(await marker_of(page) === null, 'offline, /a/ opens the version before the cut one',
          await marker_of(page));
    await start_and_tick(page, origin, image, true);
  } finally {
    await server.stop();
    await close();
    fs.rmSync(root, { recursive: true, force: true });
  }
}

(async () => {
  for (const test of [one_file_page, site_as_file, served_site, school_server]) {
    try {
      await test();
    } catch (e) {
      fail(`${test.name}: ${e.message}`);
    }
  }
  finish();
})();
