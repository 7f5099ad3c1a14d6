// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The page without a web server and without a network, in Debian's Chromium:
//   node offline_page.js SITE_DIR WEB_SOURCE_DIR OUT_DIR
// - glukara.html opened as a file: the window, Start, a tick, a meal, its
//   licences, nothing fetched; the site's index.html opened as a file points
//   to it;
// - the site served: Chromium finds it installable, it opens again with the
//   network off and the server stopped, and a new version served replaces
//   the old one.
// The site is served from a copy, which the last test changes.
'use strict';
const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { pathToFileURL } = require('url');
const { open_chromium } = require('./engines/chromium.js');
const { decode, client_area, bar, client_size, deadline_ms } = require('./road.js');
const { check, fail, finish } = require('./checks.js');
const { serve } = require('./serve.js');

const [site, web_source, out] = process.argv.slice(2);
fs.mkdirSync(out, { recursive: true });

const viewport = { width: 1024, height: 768 };
// Start and Eat a meal, in the window's own pixels (twips of the window's
// design / 15).
const at = { start: [24 + 32, 472 + 24], meal: [600 + 68, 8 + 56], rest: [300, 525] };
const one_file_limit = 20 * 1000 * 1000;



// Chromium, where a request that fails is a fault too: the one file must
// ask for nothing, and the offline site must answer everything itself.
async function launch() {
  const opened = await open_chromium({ viewport });
  opened.page.on('requestfailed',
                 (r) => opened.problems.push(`failed: ${r.url()} (${r.failure().errorText})`));
  return opened;
}

async function look(page, file) {
  return decode(await page.screenshot(file ? { path: path.join(out, file) } : {}));
}

// Waits for `probe` to return something other than undefined or false,
// looking again at every screenshot until the deadline.
async function until(page, what, probe) {
  const end = Date.now() + deadline_ms;
  for (;;) {
    const found = probe(await look(page));
    if (found !== undefined && found !== false)
      return found;
    if (Date.now() > end) {
      check(false, `in time: ${what}`);
      throw new Error(`gave up waiting: ${what}`);
    }
  }
}

// Waits for the canvas to show the window, 750 x 538; gives its origin.
async function wait_for_window(page, file) {
  await page.waitForFunction(() => !document.getElementById('screen').hidden, null,
                             { timeout: deadline_ms })
      .catch(async () => {
        check(false, 'the page shows its window in time',
              await page.evaluate(() => document.body.innerText).catch((e) => e.message));
        throw new Error('no window');
      });
  const canvas = await page.evaluate(() => {
    const r = document.getElementById('screen').getBoundingClientRect();
    return { x: r.x, y: r.y, width: r.width, height: r.height };
  });
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

// A level on the chart from the bar's height, given the bar at the start, 100;
// the bar stands on the scale's floor, 30.
const level_of = (height, start_height) => 30 + (height * (100 - 30)) / start_height;

// Start: every tick takes 1 from the level, from 100. A busy machine may let
// more than one tick pass between two screenshots, so the levels are watched
// until a tick is seen alone; every level seen is 100 less whole ticks. With
// `meal`, a meal then adds 40, shown at the next tick, counted the same way.
async function start_and_tick(page, origin, first, meal) {
  const start = bar(first, origin).height;
  check(start > 100, 'the bar stands at 100 at the start', start);
  await click(page, origin, at.start);
  const levels = [100];
  const whole = (v) => Math.abs(v - Math.round(v)) < 0.5;
  const single = await until(page, 'a tick seen alone', (image) => {
    const level = level_of(bar(image, origin).height, start);
    const last = levels[levels.length - 1];
    if (Math.abs(level - last) < 0.5)
      return undefined;
    levels.push(level);
    if (!whole(level) || level > last)
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
    const level = level_of(bar(image, origin).height, start);
    return level > before + 0.5 ? level : undefined;
  });
  const ticks = Math.round(before + 40 - fed);
  check(whole(fed) && ticks >= 1 && ticks <= 3, `a meal takes ${before} to ${before} + 40 - ${ticks}`,
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
  await page.waitForFunction(() => getComputedStyle(document.getElementById('licences')).display === 'none',
                             null, { timeout: deadline_ms });
  check(true, 'the licences close again');

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
  check(true, 'its link opens glukara.html, which shows the window');
  await close();
}

// What the page's service worker keeps: the names of the caches, once the
// worker controls the page.
async function kept(page) {
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null, null,
                             { timeout: deadline_ms })
      .catch(async () => {
        check(false, 'a service worker controls the page in time', await worker_state(page));
        throw new Error('no service worker');
      });
  return page.evaluate(() => caches.keys());
}

async function worker_state(page) {
  return page.evaluate(async () => {
    const registration = await navigator.serviceWorker.getRegistration();
    const state = (worker) => worker ? worker.state : 'none';
    return JSON.stringify({
      registered: registration !== undefined,
      installing: registration && state(registration.installing),
      waiting: registration && state(registration.waiting),
      active: registration && state(registration.active),
      controller: navigator.serviceWorker.controller !== null,
      caches: await caches.keys(),
    });
  });
}

async function served_site() {
  const copy = fs.mkdtempSync(path.join(os.tmpdir(), 'glukara-site-'));
  fs.cpSync(site, copy, { recursive: true });
  let server = await serve(copy);
  const { context, page, problems, close } = await launch();
  try {
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

    const first_caches = await kept(page);
    check(first_caches.length === 1, 'after the first visit the site is kept in one cache',
          first_caches.join(', '));

    // No network at all: the browser offline, and the server gone.
    await context.setOffline(true);
    await server.stop();
    await page.reload().catch((e) => problems.push(`offline reload: ${e.message}`));
    const { origin, image } = await wait_for_window(page, 'glukara-offline.png');
    check(true, 'with no network the page opens again and paints the window');
    await start_and_tick(page, origin, image, false);

    // A new version of the site, made as the build makes one, served at the
    // same address.
    const marker = '<meta name="glukara-check" content="second version">';
    const index = path.join(copy, 'index.html');
    fs.writeFileSync(index, fs.readFileSync(index, 'utf8').replace('<head>', `<head>\n  ${marker}`));
    execFileSync('python3', [path.join(web_source, 'finish_site.py'), copy, web_source]);
    server = await serve(copy, new URL(server.url).port);
    await context.setOffline(false);
    // The worker that takes over from the next version on.
    await page.addInitScript(() => {
      window.controller_changes = 0;
      navigator.serviceWorker.addEventListener('controllerchange', () => ++window.controller_changes);
    });
    await page.reload();
    await wait_for_window(page);
    // Its activation, done, has dropped the old caches.
    await page.waitForFunction(() => window.controller_changes > 0 &&
                                   navigator.serviceWorker.controller.state === 'activated',
                               null, { timeout: deadline_ms })
        .catch(async () => check(false, 'a new worker takes over in time', await worker_state(page)));
    const names = await page.evaluate(() => caches.keys());
    check(names.length === 1 && names[0] !== first_caches[0],
          'the new version\'s worker replaces the old version\'s cache with its own', names.join(', '));
    await page.reload();
    const marked = await page.locator('meta[name="glukara-check"]').count();
    check(marked === 1, 'the page opened after that is the new version', await worker_state(page));
    await wait_for_window(page);
    check(true, 'the new version shows the window');
    check(problems.length === 0, 'no errors in the console of the served page', problems.join('; '));
  } finally {
    await server.stop();
    await close();
    fs.rmSync(copy, { recursive: true, force: true });
  }
}

(async () => {
  for (const test of [one_file_page, site_as_file, served_site]) {
    try {
      await test();
    } catch (e) {
      fail(`${test.name}: ${e.message}`);
    }
  }
  finish();
})();
