// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Serves the site and drives glukara's page in Debian's Chromium, headless,
// as a pupil uses it:   node drive_page.js SITE_DIR OUT_DIR
// Everything is read from what the browser shows: the page's elements and the
// pixels of its screenshots. Screenshots go to OUT_DIR.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { chromium } = require('playwright-core');
const { decode } = require('./png.js');
const { serve } = require('./serve.js');

const [site, out] = process.argv.slice(2);
let url;
fs.mkdirSync(out, { recursive: true });

const viewport = { width: 1024, height: 768 };
// The window, 750 x 538, in the frame Qt draws: 4 pixels of border on every
// side and an 18-pixel title bar under the top border.
const client_size = { width: 750, height: 538 };
const frame_size = { width: 758, height: 568 };
const window_background = [239, 239, 239];
const bar_colour = [178, 34, 34];
const page_background = [74, 88, 102];
const deadline_ms = 30000;

// Controls in the window's own pixels: twips of the window's design / 15.
const at = {
  start: [24 + 32, 472 + 24],
  reset: [128 + 32, 472 + 24],
  quit: [224 + 32, 472 + 24],
  meal: [600 + 68, 8 + 56],
  insulin: [600 + 68, 280 + 56],
  combo_text: [336 + 80, 416 + 12],
  value_box: [336 + 32, 480 + 12],
  // A spot of bare window, where the pointer rests between clicks.
  rest: [300, 525],
};
const regions = {
  chart: [16, 8, 281, 441],
  info: [320, 0, 257, 273],
  glycogen: [320, 288, 257, 73],
  settings: [320, 368, 257, 161],
  // Inside the button's edge, where the window draws its focus.
  start: [27, 475, 59, 43],
  meal_caption: [600, 80, 137, 41],
};

let passes = 0, failures = 0;
function check(ok, what, seen) {
  console.log(`${ok ? 'PASS' : 'FAIL'}: ${what}${seen === undefined ? '' : ` (seen: ${seen})`}`);
  if (ok)
    ++passes;
  else
    ++failures;
  return ok;
}

const same = (a, b, tolerance = 0) => a.every((v, i) => Math.abs(v - b[i]) <= tolerance);

async function launch(locale, extra_args = []) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'glukara-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           '--use-angle=swiftshader', '--enable-unsafe-swiftshader', ...extra_args],
    viewport,
    locale,
  });
  const page = context.pages()[0] || (await context.newPage());
  const problems = [];
  page.on('console', (m) => {
    if (m.type() === 'error')
      problems.push(`console error: ${m.text()}`);
  });
  page.on('pageerror', (e) => problems.push(`page error: ${e.message}`));
  page.on('response', (r) => {
    if (r.status() >= 400)
      problems.push(`${r.status()} for ${r.url()}`);
  });
  const close = async () => {
    await context.close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return { page, problems, close };
}

async function look(page, file) {
  const png = await page.screenshot(file ? { path: path.join(out, file) } : {});
  return decode(png);
}

// Waits for `probe` to return something other than undefined, looking again
// at every screenshot until the deadline; says what it last saw otherwise.
async function until(page, what, probe) {
  const end = Date.now() + deadline_ms;
  let last;
  for (;;) {
    const image = await look(page);
    const found = probe(image);
    if (found !== undefined && found !== false)
      return found;
    last = image;
    if (Date.now() > end) {
      check(false, `in time: ${what}`);
      throw new Error(`gave up waiting: ${what}`);
    }
  }
}

// The window's client area in page pixels: the bare window background just
// inside the frame, found along the middle row and column of the canvas.
function client_area(image, canvas) {
  const y = Math.round(canvas.y + canvas.height / 2);
  const x = Math.round(canvas.x + canvas.width / 2);
  const first = (from, to, step, pixel) => {
    for (let i = from; i !== to; i += step)
      if (same(pixel(i), window_background))
        return i;
    return NaN;
  };
  const left = first(canvas.x, canvas.x + canvas.width, 1, (i) => image.pixel(i, y));
  const right = first(canvas.x + canvas.width - 1, canvas.x, -1, (i) => image.pixel(i, y));
  const top = first(canvas.y, canvas.y + canvas.height, 1, (i) => image.pixel(x, i));
  const bottom = first(canvas.y + canvas.height - 1, canvas.y, -1, (i) => image.pixel(x, i));
  return { x: left, y: top, width: right - left + 1, height: bottom - top + 1 };
}

// The bar's top and bottom rows in the chart's middle column.
function bar(image, origin) {
  const [cx, cy, cw, ch] = regions.chart;
  const x = origin.x + cx + Math.round(cw / 2) + 16;
  let top = NaN, bottom = NaN;
  for (let y = origin.y + cy; y < origin.y + cy + ch; ++y)
    if (same(image.pixel(x, y), bar_colour, 8)) {
      if (Number.isNaN(top))
        top = y;
      bottom = y;
    }
  return { top, bottom, height: bottom - top + 1 };
}

function region_pixels(image, origin, [rx, ry, rw, rh]) {
  const values = [];
  for (let y = origin.y + ry; y < origin.y + ry + rh; ++y)
    for (let x = origin.x + rx; x < origin.x + rx + rw; ++x)
      values.push(image.pixel(x, y).join(','));
  return values;
}

function differing(a, b, origin, region) {
  const pa = region_pixels(a, origin, region), pb = region_pixels(b, origin, region);
  return pa.filter((v, i) => v !== pb[i]).length;
}

async function canvas_box(page) {
  return page.evaluate(() => {
    const canvas = document.getElementById('screen');
    if (canvas.hidden)
      return null;
    const r = canvas.getBoundingClientRect();
    return { x: r.x, y: r.y, width: r.width, height: r.height };
  });
}

// Waits for the window to be painted: the canvas shown, with the bare window
// background inside the frame, 750 x 538.
async function wait_for_window(page) {
  const end = Date.now() + deadline_ms;
  await page.waitForFunction(() => !document.getElementById('screen').hidden, null,
                             { timeout: deadline_ms });
  const canvas = await canvas_box(page);
  for (;;) {
    const image = await look(page);
    const client = client_area(image, canvas);
    if (client.width === client_size.width && client.height === client_size.height)
      return { canvas, client, image };
    if (Date.now() > end) {
      check(false, 'the window is painted at 750 x 538', `${client.width} x ${client.height}`);
      throw new Error('no window');
    }
  }
}

async function click(page, origin, [x, y]) {
  await page.mouse.click(origin.x + x, origin.y + y);
  await page.mouse.move(origin.x + at.rest[0], origin.y + at.rest[1]);
}

async function notice_text(page) {
  return page.evaluate(() => {
    const notice = document.getElementById('notice');
    return notice.hidden ? null : document.getElementById('message').textContent;
  });
}

async function wait_for_notice(page, expected) {
  try {
    await page.waitForFunction((text) => !document.getElementById('notice').hidden &&
                                   document.getElementById('message').textContent === text,
                               expected, { timeout: deadline_ms });
    return true;
  } catch (e) {
    return check(false, `the page says "${expected}"`, await notice_text(page));
  }
}

// A level on the chart from a bar's height, given the bar of a known level:
// the bar stands on the scale's floor, 30.
const level_of = (height, known) => 30 + (height * (known.level - 30)) / known.height;

async function english_session() {
  const { page, problems, close } = await launch('en-US');
  const started = Date.now();
  await page.goto(url);
  const { canvas, client, image: first } = await wait_for_window(page);
  console.log(`window painted ${Date.now() - started} ms after the page was asked for`);
  await look(page, 'glukara-web.png');
  check(await page.title() === 'Glukara', 'the page is titled "Glukara"', await page.title());

  check(canvas.width === frame_size.width && canvas.height === frame_size.height,
        'the framed window fills the canvas', `${canvas.width} x ${canvas.height}`);
  const centre_x = (viewport.width - frame_size.width) / 2;
  const centre_y = (viewport.height - frame_size.height) / 2;
  check(Math.abs(canvas.x - centre_x) <= 1 && Math.abs(canvas.y - centre_y) <= 1,
        'the window is centred in the viewport', `${canvas.x}, ${canvas.y}`);
  check(same(first.pixel(canvas.x - 1, canvas.y + 200), page_background) &&
            !same(first.pixel(canvas.x, canvas.y + 200), page_background) &&
            !same(first.pixel(canvas.x + canvas.width - 1, canvas.y + canvas.height - 1),
                  page_background),
        'the frame reaches the canvas edges and no further');
  check(client.width === 750 && client.height === 538, 'the window is 750 x 538',
        `${client.width} x ${client.height}`);
  const origin = { x: client.x, y: client.y };

  const start_bar = bar(first, origin);
  const known = { level: 100, height: start_bar.height };
  check(start_bar.height > 100, 'the bar stands at 100 at the start', JSON.stringify(start_bar));

  // Start, and the first tick: 100 falls to 99.
  await click(page, origin, at.start);
  const ticked = await until(page, 'a tick lowers the bar', (image) => {
    const b = bar(image, origin);
    return b.height < start_bar.height ? { image, b } : undefined;
  });
  const after_tick = level_of(ticked.b.height, known);
  check(Math.abs(after_tick - 99) < 0.5, 'a tick takes the level from 100 to 99', after_tick.toFixed(2));
  check(differing(first, ticked.image, origin, regions.start) > 0, 'Start has become Stop');
  check(differing(first, ticked.image, origin, regions.info) > 0, 'the message has appeared');

  // Levels are whole numbers here, and every tick takes 1 away: a level
  // seen after some action is the level before it, changed by the action,
  // less the ticks since, which a busy machine may make more than one.
  const ticks_since = (before, change, seen) => Math.round(before + change - seen);
  const whole = (v) => Math.abs(v - Math.round(v)) < 0.5;

  // A meal of 40 shows at the next tick.
  await click(page, origin, at.meal);
  const fed = await until(page, 'the bar rises after a meal', (image) => {
    const b = bar(image, origin);
    return b.height > ticked.b.height ? { image, b } : undefined;
  });
  const after_meal = level_of(fed.b.height, known);
  const meal_ticks = ticks_since(99, 40, after_meal);
  check(whole(after_meal) && meal_ticks >= 1 && meal_ticks <= 3,
        `the bar rises ${ticked.b.top - fed.b.top} pixels, from 99 to 99 + 40 - ${meal_ticks} after a meal`,
        after_meal.toFixed(2));

  // Insulin moves 10 from the blood to the store at once: 40 becomes 50.
  const before_insulin = Math.round(after_meal);
  await click(page, origin, at.insulin);
  await until(page, 'the glycogen store changes', (image) =>
    differing(first, image, origin, regions.glycogen) > 0 ? image : undefined);
  check(true, 'the glycogen number changes after Secrete Insulin');
  const lowered = await until(page, 'the bar shows the insulin', (image) => {
    const level = level_of(bar(image, origin).height, known);
    return level < before_insulin - 9.5 ? level : undefined;
  });
  const insulin_ticks = ticks_since(before_insulin, -10, lowered);
  check(whole(lowered) && insulin_ticks >= 1 && insulin_ticks <= 3,
        `insulin takes 10 from the blood: ${before_insulin} to ${before_insulin} - 10 - ${insulin_ticks}`,
        lowered.toFixed(2));

  // Stop; then the settings: the meal's input becomes -60.
  await click(page, origin, at.start);
  const stopped = await until(page, 'Stop becomes Start', (image) =>
    differing(first, image, origin, regions.start) === 0 ? image : undefined);
  const level_stopped = Math.round(level_of(bar(stopped, origin).height, known));
  await click(page, origin, at.combo_text);
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ArrowDown');
  const chosen = await until(page, 'the settings show another quantity', (image) =>
    differing(stopped, image, origin, regions.settings) > 0 ? image : undefined);
  await click(page, origin, at.value_box);
  await page.keyboard.press('Control+A');
  await page.keyboard.type('-60');
  await until(page, 'the typed value shows', (image) =>
    differing(chosen, image, origin, regions.settings) > 0 ? image : undefined);
  await click(page, origin, at.start);
  await click(page, origin, at.meal);
  const typed = await until(page, 'the bar shows the changed meal', (image) => {
    const level = level_of(bar(image, origin).height, known);
    return level < level_stopped - 30 ? level : undefined;
  });
  const typed_ticks = ticks_since(level_stopped, -60, typed);
  check(whole(typed) && typed_ticks >= 1 && typed_ticks <= 3,
        `a meal of -60 takes ${level_stopped} to ${level_stopped} - 60 - ${typed_ticks}`,
        typed.toFixed(2));

  // Reset: the clock stops, and every value is as at the start.
  await click(page, origin, at.reset);
  await until(page, 'the bar is back at 100', (image) =>
    bar(image, origin).height === start_bar.height ? image : undefined);
  const reset = await until(page, 'the window shows its start values', (image) =>
    ['chart', 'info', 'glycogen', 'settings'].every(
        (name) => differing(first, image, origin, regions[name]) === 0) ? image : undefined);
  check(differing(first, reset, origin, regions.start) === 0, 'Reset leaves Start reading Start');
  check(true, 'Reset brings back the chart, the message, the store and the settings as at the start');

  // Quit: the page says that the program has ended and offers a new start.
  await click(page, origin, at.quit);
  if (await wait_for_notice(page, 'Glukara has ended.'))
    check(true, 'Quit ends the program in the page');
  check(await page.isVisible('#again'), 'the page offers to start again');
  check(problems.length === 0, 'no errors in the console', problems.join('; '));
  await close();
  return first;
}

async function german_session(english) {
  const { page, problems, close } = await launch('de-DE');
  await page.goto(url);
  const { client, image } = await wait_for_window(page);
  await look(page, 'glukara-web-de.png');
  const origin = { x: client.x, y: client.y };
  check(await page.evaluate(() => document.documentElement.lang) === 'de', 'the page is German');
  check(await page.textContent('#licence a') === 'Lizenz', 'the licence link reads "Lizenz"');
  check(differing(english, image, origin, regions.meal_caption) > 0 &&
            differing(english, image, origin, regions.chart) > 0,
        'the window\'s captions and chart are not the English ones');

  // The window's close box ends it as Quit does; the page starts it anew.
  const canvas = await canvas_box(page);
  await page.mouse.click(canvas.x + canvas.width - 14, canvas.y + 12);
  if (await wait_for_notice(page, 'Glukara ist beendet.'))
    check(true, 'closing the window ends the program in the page');
  await page.click('#again');
  await wait_for_window(page);
  check(true, 'Neu starten brings the window back');
  check(problems.length === 0, 'no errors in the console', problems.join('; '));
  await close();
}

async function lacking(what, args, expected, before_page) {
  const { page, close } = await launch('en-US', args);
  if (before_page)
    await page.addInitScript(before_page);
  await page.goto(url);
  if (await wait_for_notice(page, expected))
    check(true, `without ${what} the page says so`);
  await close();
}

(async () => {
  const server = await serve(site);
  url = server.url;
  try {
    const english = await english_session();
    await german_session(english);
    await lacking('WebGL', ['--disable-webgl', '--disable-3d-apis'],
                  'Glukara cannot run in this browser: it needs WebGL, which this browser lacks or has turned off.');
    // Chromium cannot be told to go without WebAssembly: the page is
    // shown one that has none.
    await lacking('WebAssembly', [],
                  'Glukara cannot run in this browser: it needs WebAssembly, which this browser lacks or has turned off.',
                  () => delete window.WebAssembly);
  } catch (e) {
    console.log(`FAIL: ${e.message}`);
    ++failures;
  }
  server.stop();
  console.log(`Totals: ${passes} passed, ${failures} failed`);
  process.exit(failures === 0 ? 0 : 1);
})();
