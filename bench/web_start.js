// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The page against the desktop program, in one run:
//   node web_start.js SITE_DIR STARTUP_GLUKARA [ROUNDS] [BEFORE_SITE_DIR]
// - the bytes a browser downloads for the page, as they are and compressed
//   as a web server sends them (gzip at level 6, brotli at its best);
// - from asking Chromium for the page, in a fresh profile with nothing
//   cached, to the first screenshot that shows the painted window, against
//   the desktop program from its start to its first painted frame (on the
//   X server of DISPLAY), taken in turns, and where that time goes: the
//   program's download, its compiling, its instantiation up to the canvas
//   that Qt's loader shows as the program's main() begins, Qt's start up to
//   the window's controls in the page, and the first paint;
// - the same for BEFORE_SITE_DIR, another build of the page (with another
//   Qt, say), taken in turns with the first, so that both meet the same load;
// - the page opened again from the site that the browser keeps, whose
//   worker checks every file it answers with against the build's hash,
//   against the same site with a worker that answers unchecked, in turns.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const zlib = require('zlib');
const { spawn } = require('child_process');
const { chromium } = require('playwright-core');
const { decode } = require('../tests/web/lib/window.js');
const { serve } = require('../tests/web/lib/serve.js');

const [site, startup_glukara, rounds_text, before_site] = process.argv.slice(2);
const rounds = Number(rounds_text || 10);
// The page, its scripts and the program, the last three named by their
// contents' hash, and the icon.
const downloads = (folder) => fs.readdirSync(folder).filter(
    (name) => /^(index\.html|favicon\.ico|(page|qtloader|glukara)-[0-9a-f]{16}\.(js|wasm))$/.test(name));

const kb = (n) => `${(n / 1024).toFixed(0)} KB`;
const median = (v) => {
  const s = [...v].sort((a, b) => a - b);
  return s.length % 2 ? s[(s.length - 1) / 2] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2;
};

function sizes(folder, label) {
  let raw = 0, gzip = 0, brotli = 0;
  const names = downloads(folder);
  for (const name of names) {
    const data = fs.readFileSync(path.join(folder, name));
    raw += data.length;
    gzip += zlib.gzipSync(data, { level: 6 }).length;
    brotli += zlib.brotliCompressSync(data, {
      params: { [zlib.constants.BROTLI_PARAM_QUALITY]: 11, [zlib.constants.BROTLI_PARAM_SIZE_HINT]: data.length },
    }).length;
  }
  console.log(`download${label} (${names.join(', ')}): ${kb(raw)} as they are, ${kb(gzip)} with gzip -6, ${kb(brotli)} with brotli -11`);
}

const window_background = [239, 239, 239];
// The window is painted when the bare window background shows just inside
// the frame at both ends of the canvas's middle row, the one row shot.
function painted(row) {
  const inside = (x) => row.pixel(x, 0).every((v, i) => v === window_background[i]);
  return inside(4) && inside(row.width - 5);
}

async function open_profile() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'glukara-bench-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           '--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
    viewport: { width: 1024, height: 768 },
  });
  await context.addInitScript(phase_marks);
  const page = context.pages()[0] || (await context.newPage());
  const close = async () => {
    await context.close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return { page, close };
}

// Run in the page before its own scripts: notes when the program's code is
// compiled (Qt's loader compiles it as it downloads, where the server names
// it application/wasm), when the loader shows the canvas, as the program's
// runtime is ready and its main() about to run, and when the window's first
// control stands in the page, which the program does as its window shows.
function phase_marks() {
  const marks = (window.glukaraBenchMarks = {});
  const note = (name) => { if (marks[name] === undefined) marks[name] = performance.now(); };
  for (const [call, name] of [['compileStreaming', 'compiled'], ['compile', 'compiled']]) {
    const original = WebAssembly[call];
    if (original)
      WebAssembly[call] = function (...args) {
        const answer = original.apply(this, args);
        answer.then(() => note(name), () => {});
        return answer;
      };
  }
  new MutationObserver(() => {
    const screen = document.getElementById('screen');
    if (screen && !screen.hidden)
      note('shown');
    if (document.getElementById('glukara-cmd_button_0'))
      note('controls');
  }).observe(document, { subtree: true, childList: true, attributes: true, attributeFilter: ['hidden'] });
}

// Where the time to the first window went, in ms: each phase ends where the
// next begins, the first at the request, the last at the painted window.
async function phases(page, painted_at) {
  const page_marks = await page.evaluate(() => {
    const program = performance.getEntriesByType('resource').find((e) => /\.wasm$/.test(e.name));
    return { origin: performance.timeOrigin, downloaded: program && program.responseEnd,
             ...window.glukaraBenchMarks };
  });
  const ends = [page_marks.downloaded, page_marks.compiled, page_marks.shown, page_marks.controls,
                painted_at - page_marks.origin];
  if (ends.some((end) => typeof end !== 'number'))
    throw new Error(`a phase of the start was not seen: ${JSON.stringify(page_marks)}`);
  return ends.map((end, i) => end - (i ? ends[i - 1] : 0));
}

async function page_once(url) {
  const { page, close } = await open_profile();
  const result = await first_window(page, url);
  await close();
  return result;
}

// From asking for the page to the first screenshot that shows the painted
// window; and how often the screenshots came.
async function first_window(page, url) {
  const asked = performance.now();
  const asked_wall = performance.timeOrigin + asked;
  await page.goto(url);
  await page.waitForFunction(() => !document.getElementById('screen').hidden, null, { timeout: 60000 });
  const canvas = await page.evaluate(() => {
    const r = document.getElementById('screen').getBoundingClientRect();
    return { x: r.x, y: r.y, width: r.width, height: r.height };
  });
  let found;
  for (;;) {
    const taken = performance.now();
    const row = decode(await page.screenshot({
      clip: { x: canvas.x, y: Math.round(canvas.y + canvas.height / 2), width: canvas.width, height: 1 },
    }));
    if (painted(row)) {
      found = taken - asked;
      break;
    }
    if (taken - asked > 60000)
      throw new Error('the window was not painted within a minute');
  }
  const interval = performance.now() - asked - found;
  return { ms: found, shot_ms: interval, split: await phases(page, asked_wall + found) };
}

// The page opened again, `rounds` times, once the browser keeps the site and
// its worker answers.
async function kept_site(url) {
  const { page, close } = await open_profile();
  const opening = [];
  try {
    await first_window(page, url);
    // Kept, and the worker active: a page opened while the worker is still
    // being installed is not its.
    await page.waitForFunction(async () => {
      const names = await caches.keys();
      const registration = await navigator.serviceWorker.getRegistration();
      return names.length === 1 && (await (await caches.open(names[0])).keys()).length > 10 &&
             registration !== undefined && registration.active !== null &&
             registration.active.state === 'activated';
    }, null, { timeout: 60000, polling: 100 });
    for (let i = 0; i < rounds; ++i) {
      opening.push((await first_window(page, url)).ms);
      if (!(await page.evaluate(() => navigator.serviceWorker.controller !== null)))
        throw new Error('the page opened again is not the worker\'s');
    }
  } finally {
    await close();
  }
  return median(opening);
}

// A copy of the site whose worker answers from its cache unchecked.
function unchecked_copy() {
  const copy = fs.mkdtempSync(path.join(os.tmpdir(), 'glukara-unchecked-'));
  fs.cpSync(site, copy, { recursive: true });
  const worker = path.join(copy, 'service-worker.js');
  const checked = 'if (body && await sha256(body) === files[name]) {';
  const text = fs.readFileSync(worker, 'utf8');
  if (!text.includes(checked))
    throw new Error(`the worker has no "${checked}" to take out`);
  fs.writeFileSync(worker, text.replace(checked, 'if (body) {'));
  return copy;
}

function desktop_once() {
  return new Promise((resolve, reject) => {
    const started = process.hrtime.bigint();
    const child = spawn(startup_glukara, [], { stdio: ['ignore', 'pipe', 'inherit'] });
    let text = '';
    child.stdout.on('data', (d) => (text += d));
    child.on('error', reject);
    child.on('close', (code) => {
      if (code !== 0 || !text.trim())
        return reject(new Error(`${startup_glukara} did not report its first frame`));
      // Both clocks are CLOCK_MONOTONIC.
      resolve(Number(BigInt(text.trim()) - started) / 1e6);
    });
  });
}

const phase_names = ['download', 'compiling', 'instantiating', 'Qt\'s start', 'first paint'];

(async () => {
  const pages = [{ folder: site, label: '' }];
  if (before_site)
    pages.push({ folder: before_site, label: ` before (${before_site})` });
  for (const { folder, label } of pages)
    sizes(folder, label);
  for (const p of pages)
    Object.assign(p, { server: await serve(p.folder), ms: [], shot: [], split: [] });
  const desktop = [];
  try {
    for (let i = 0; i < rounds; ++i) {
      desktop.push(await desktop_once());
      for (const p of pages) {
        const once = await page_once(p.server.url);
        p.ms.push(once.ms);
        p.shot.push(once.shot_ms);
        p.split.push(once.split);
      }
    }
  } finally {
    for (const p of pages)
      await p.server.stop();
  }
  for (const { label, ms, shot, split } of pages) {
    console.log(`page${label} asked for to first painted window (median of ${rounds}, fresh profile): ${median(ms).toFixed(0)} ms ` +
                `(screenshots taken every ${median(shot).toFixed(0)} ms), min ${Math.min(...ms).toFixed(0)}, max ${Math.max(...ms).toFixed(0)}`);
    console.log(`  of which (medians): ` +
                phase_names.map((name, i) => `${name} ${median(split.map((s) => s[i])).toFixed(0)} ms`).join(', '));
  }
  console.log(`desktop glukara, start to first frame (median of ${rounds}, same run): ${median(desktop).toFixed(1)} ms`);
  const unchecked = unchecked_copy();
  const [checked_server, unchecked_server] = [await serve(site), await serve(unchecked)];
  try {
    const checked_ms = await kept_site(checked_server.url);
    const unchecked_ms = await kept_site(unchecked_server.url);
    console.log(`opened again from the kept site (median of ${rounds}): ${checked_ms.toFixed(0)} ms with ` +
                `every file checked, ${unchecked_ms.toFixed(0)} ms unchecked (same run): ` +
                `x${(checked_ms / unchecked_ms).toFixed(2)}`);
  } finally {
    checked_server.stop();
    unchecked_server.stop();
    fs.rmSync(unchecked, { recursive: true, force: true });
  }
})().catch((e) => {
  console.error(e.message);
  process.exit(1);
});
