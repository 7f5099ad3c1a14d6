// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// glukara's page on a phone, upright and on its side, in Debian's Chromium
// emulating one (touch, 3 device pixels to the CSS pixel), on a desktop, and
// in a small browser window driven with the mouse:
//     node phone.js SITE_DIR OUT_DIR
// The window must stand whole in the viewport, scaled down to the largest
// size that fits and never up, centred, drawn at the device's pixels; taps
// and clicks must reach the control under them; turning the phone must fit
// the window again without touching the simulation. Everything is read from
// the page's elements and the pixels of its screenshots, left in OUT_DIR.
'use strict';
const fs = require('fs');
const path = require('path');
const { open_chromium } = require('./engines/chromium.js');
const { check, fail, note, finish } = require('./lib/tally.js');
const { deadline_ms, screenshot_pause_ms, poll } = require('./lib/wait.js');
const { client_size, frame, frame_size, page_background, controls, at, same, decode, client_area,
        bar, level_of } = require('./lib/window.js');
const { serve } = require('./lib/serve.js');

const [site, out] = process.argv.slice(2);
let url;
fs.mkdirSync(out, { recursive: true });

// A scale this much larger than the window's must not fit the viewport.
const larger = 1.03;

async function canvas_state(page) {
  return page.evaluate(() => {
    const canvas = document.getElementById('screen');
    const r = canvas.getBoundingClientRect();
    const root = document.documentElement;
    return {
      hidden: canvas.hidden,
      x: r.x, y: r.y, width: r.width, height: r.height,
      // The canvas's own pixels, which Qt draws into.
      pixels: { width: canvas.width, height: canvas.height },
      ratio: devicePixelRatio,
      scrolls: root.scrollWidth > root.clientWidth || root.scrollHeight > root.clientHeight,
    };
  });
}

// A screenshot of the whole viewport at the device's pixels.
async function look(page, file) {
  const png = await page.screenshot(file ? { path: path.join(out, file) } : {});
  return decode(png);
}

// The bar's height in the chart's middle column, in screenshot pixels.
const bar_height = (image, place) => bar(image, place).height;

// Waits for `probe(screenshot, when it was asked for)` to give a `value`,
// looking again at every screenshot until the deadline; at the deadline,
// says what it last `saw`.
const until = (page, what, probe) =>
  poll({ check }, what, async () => {
    const taken = Date.now();
    return probe(await look(page), taken);
  }, (found) => found.value, { describe: (found) => found.seen, pause_ms: screenshot_pause_ms })
    .then((value) => value);

// Waits until the page shows the window fitted to `viewport`: the framed
// window inside the viewport, as large as fits (a scale a few per cent
// larger would not) and never above its own size, and painted at that
// scale. Returns where the window is, in CSS and screenshot pixels.
async function wait_for_fit(page, viewport, name) {
  const fits = (width, height) => width <= viewport.width && height <= viewport.height;
  await page.waitForFunction(() => !document.getElementById('screen').hidden, null,
                             { timeout: deadline_ms });
  const place = await until(page, `the window fitted to ${viewport.width} x ${viewport.height}`,
                            async (image) => {
    const canvas = await canvas_state(page);
    const client = client_area(image, canvas);
    const r = canvas.ratio;
    // The window's scale, from the canvas less the frame.
    const scale = (canvas.width - frame.left - frame.right) / client_size.width;
    const seen = `canvas ${canvas.width} x ${canvas.height} at ${canvas.x}, ${canvas.y}; ` +
                 `window ${client.width} x ${client.height} screenshot pixels`;
    const inside = canvas.x >= 0 && canvas.y >= 0 && fits(canvas.x + canvas.width, canvas.y + canvas.height);
    const largest = scale === 1 ||
                    !fits(client_size.width * scale * larger + frame.left + frame.right,
                          client_size.height * scale * larger + frame.top + frame.bottom);
    const painted_at_scale = Math.abs(client.width - client_size.width * scale * r) <= 2 * r &&
                             Math.abs(client.height - client_size.height * scale * r) <= 2 * r;
    const place = { canvas, client, scale, pixel_scale: scale * r };
    // Painted at the new scale: the chart shows its bar.
    const painted = inside && largest && painted_at_scale && bar_height(image, place) > 0;
    return { seen, value: painted ? place : undefined };
  });
  const image = await look(page, name);
  const { canvas, client } = place;
  const r = canvas.ratio;
  note(`${viewport.width} x ${viewport.height}: the canvas is ${canvas.width} x ${canvas.height}, ` +
       `the window scaled by ${place.scale.toFixed(4)}`);
  check(canvas.x >= 0 && canvas.y >= 0 && canvas.x + canvas.width <= viewport.width &&
            canvas.y + canvas.height <= viewport.height,
        'the framed window lies inside the viewport',
        `${canvas.x}, ${canvas.y}, ${canvas.width} x ${canvas.height}`);
  const grown = { width: client_size.width * place.scale * larger + frame.left + frame.right,
                  height: client_size.height * place.scale * larger + frame.top + frame.bottom };
  check(place.scale === 1 || grown.width > viewport.width || grown.height > viewport.height,
        `the window is at its own size, or ${Math.round((larger - 1) * 100)} % larger it would not fit`,
        `scale ${place.scale.toFixed(4)}, ${grown.width.toFixed(1)} x ${grown.height.toFixed(1)} larger`);
  check(place.scale <= 1, 'the window is never scaled above its own size', place.scale.toFixed(4));
  check(Math.abs(canvas.x - (viewport.width - canvas.width) / 2) <= 1 &&
            Math.abs(canvas.y - (viewport.height - canvas.height) / 2) <= 1,
        'the window is centred', `${canvas.x}, ${canvas.y}`);
  check(!canvas.scrolls, 'the page does not scroll');
  check(canvas.pixels.width === Math.round(canvas.width * r) &&
            canvas.pixels.height === Math.round(canvas.height * r),
        `the canvas is drawn at the device's pixels, ${r} to the CSS pixel`,
        `${canvas.pixels.width} x ${canvas.pixels.height}`);
  // The frame's four corners are drawn, and the page shows beside them
  // wherever the viewport leaves room.
  const corners = [[0, 0], [1, 0], [0, 1], [1, 1]].map(([cx, cy]) => [
    Math.round((canvas.x + cx * canvas.width) * r) - cx,
    Math.round((canvas.y + cy * canvas.height) * r) - cy]);
  check(corners.every(([x, y]) => !same(image.pixel(x, y), page_background)),
        "the frame's corners are inside the screenshot",
        corners.map(([x, y]) => image.pixel(x, y).join(',')).join('; '));
  const beside = [[corners[0][0] - 1, corners[0][1] + 2 * r], [corners[3][0] + 1, corners[3][1] - 2 * r],
                  [corners[0][0] + 2 * r, corners[0][1] - 1], [corners[3][0] - 2 * r, corners[3][1] + 1]]
    .filter(([x, y]) => x >= 0 && y >= 0 && x < image.width && y < image.height);
  check(beside.every(([x, y]) => same(image.pixel(x, y), page_background)),
        'the frame ends at the canvas', `${beside.length} points beside it`);
  check(Math.abs(client.x - Math.round((canvas.x + frame.left) * r)) <= r &&
            Math.abs(client.y - Math.round((canvas.y + frame.top) * r)) <= r,
        'the window stands inside its frame', `${client.x}, ${client.y}`);
  return place;
}

// A point of the window, in CSS pixels of the page.
function page_point(place, [x, y]) {
  const { canvas } = place;
  const scale = place.pixel_scale / canvas.ratio;
  return [canvas.x + frame.left + x * scale, canvas.y + frame.top + y * scale];
}

// Waits for the bar to differ from `height` in the direction `sign`, then
// gives its level, and when the screenshot that showed it was asked for.
async function bar_moves(page, place, known, height, sign, what) {
  const moved = await until(page, what, async (image, taken) => {
    const h = bar_height(image, place);
    return { seen: h, value: (h - height) * sign > 0 ? { height: h, taken } : undefined };
  });
  return { ...moved, level: level_of(moved.height, known) };
}

// The most ticks that can have come since `since` (Date.now()): one a
// second, and one more that may have been on its way.
const ticks_since = (since) => Math.ceil((Date.now() - since) / 1000) + 1;

// The level at the start, read on the chart's axis: 100.
async function start_level(page, place) {
  const start = bar(await look(page), place);
  check(Math.abs(start.level - 100) <= 1.5, 'the bar stands at 100 on the axis at the start',
        start.level.toFixed(2));
  return { level: 100, height: start.height };
}

// A whole level after one action of `change`, with at least one tick since
// and at most `most`: a busy machine takes its screenshots slowly. Measured
// at another scale than the start bar, the level is known to a pixel of
// that bar less closely: `tolerance` allows for it.
function after_change(seen, before, change, most, tolerance = 0.6) {
  const ticks = Math.round(before + change - seen);
  return Math.abs(before + change - ticks - seen) <= tolerance && ticks >= 1 && ticks <= most;
}

// Start, a tick, a meal at the next tick: the actions of a pupil on the
// window by `press`, with the levels written from the rules.
async function start_and_eat(page, place, press, how) {
  const known = await start_level(page, place);
  const pressed = Date.now();
  await press(at.start);
  const ticked = await bar_moves(page, place, known, known.height, -1,
                                 `a ${how} on Start lets time run`);
  check(after_change(ticked.level, 100, 0, ticks_since(pressed)),
        `a ${how} on Start lets the clock tick: 100 less a tick each second`,
        ticked.level.toFixed(2));
  await press(at.meal);
  const fed = await bar_moves(page, place, known, ticked.height, 1,
                              `a ${how} on Eat a meal raises the bar`);
  check(after_change(fed.level, Math.round(ticked.level), 40, ticks_since(ticked.taken)),
        `a ${how} on Eat a meal raises the bar once, by 40 less the ticks since`,
        fed.level.toFixed(2));
  return { known, fed };
}

// Turns the page while time runs; the window must fit the new viewport and
// go on from where it was.
async function turn(page, viewport, name, known_before, level_before, measured_at) {
  await page.setViewportSize(viewport);
  const place = await wait_for_fit(page, viewport, name);
  // The start bar's height, at the new scale.
  const known = { level: 100,
                  height: known_before.height * place.pixel_scale / known_before.pixel_scale };
  // Asked for before it is taken: the screenshot may come back after a tick.
  const looked = Date.now();
  const height = bar_height(await look(page), place);
  const level = level_of(height, known);
  const ticks = ticks_since(measured_at);
  check(level <= level_before + 1.5 && level >= level_before - ticks - 1.5,
        `turned, the window keeps its level, less at most ${ticks} ticks since`,
        `${level.toFixed(2)} after ${level_before.toFixed(2)}`);
  const later = await bar_moves(page, place, known, height, -1, 'turned, the clock runs on');
  check(after_change(later.level, Math.round(level), 0, ticks_since(looked), 1.5),
        'turned, the clock runs on: the bar falls by whole ticks of 1', later.level.toFixed(2));
  return { place, known, later };
}

// Every element of the accessible layer lies over its control as the window
// is drawn at this scale, within 2 CSS pixels.
async function layer_over_controls(page, place, where) {
  const boxes = await page.evaluate((ids) => ids.map((id) => {
    const e = document.getElementById(id);
    if (!e)
      return null;
    const r = e.getBoundingClientRect();
    return [r.x, r.y, r.width, r.height];
  }), Object.keys(controls));
  const off = [];
  Object.entries(controls).forEach(([id, [x, y, w, h]], i) => {
    const [left, top] = page_point(place, [x, y]);
    const [right, bottom] = page_point(place, [x + w, y + h]);
    const want = [left, top, right - left, bottom - top];
    const seen = boxes[i];
    if (!seen || seen.some((v, k) => Math.abs(v - want[k]) > 2))
      off.push(`${id} at ${seen && seen.map((v) => v.toFixed(1))} for ${want.map((v) => v.toFixed(1))}`);
  });
  check(off.length === 0, `${where}: every element of the accessible layer lies over its control`,
        off.join('; '));
}

async function phone_session(first, second, names) {
  const { page, problems, close } = await open_chromium({
    viewport: first, deviceScaleFactor: 3, hasTouch: true, isMobile: true });
  await page.goto(url);
  let place = await wait_for_fit(page, first, names[0]);
  const tap = async (point) => {
    const [x, y] = page_point(place, point);
    await page.touchscreen.tap(x, y);
  };
  const { known, fed } = await start_and_eat(page, place, tap, 'tap');
  known.pixel_scale = place.pixel_scale;

  await layer_over_controls(page, place, `${first.width} x ${first.height}`);

  const turned = await turn(page, second, names[1], known, fed.level, fed.taken);
  place = turned.place;
  await layer_over_controls(page, place, `turned to ${second.width} x ${second.height}`);
  // Taps land on the controls at the new scale too.
  const before = Math.round(turned.later.level);
  await tap(at.meal);
  const fed_again = await bar_moves(page, place, turned.known, turned.later.height, 1,
                                    'turned, a tap on Eat a meal raises the bar');
  check(after_change(fed_again.level, before, 40, ticks_since(turned.later.taken), 1.5),
        'turned, a tap on Eat a meal raises the bar once, by 40 less the ticks since',
        fed_again.level.toFixed(2));

  // A tap on the Value box gives the text field over it the focus, which is
  // what brings up a tablet's keyboard. Upright, the keyboard then takes the
  // lower half of the screen, and the page is laid out in the half above it:
  // the window fits again there, with the Value box in view and still
  // focused.
  await tap(at.value_box);
  const focused = () => page.evaluate(() => document.activeElement.id);
  check(await focused() === 'glukara-value_inputbox', 'a tap on the Value box focuses its text field',
        await focused());
  if (second.height > second.width) {
    const above_keyboard = { width: second.width, height: Math.round(second.height / 2) };
    await page.setViewportSize(above_keyboard);
    place = await wait_for_fit(page, above_keyboard, 'phone-upright-keyboard.png');
    await layer_over_controls(page, place, 'above an on-screen keyboard');
    const field = await page.locator('#glukara-value_inputbox').boundingBox();
    check(field.y >= 0 && field.y + field.height <= above_keyboard.height &&
              await focused() === 'glukara-value_inputbox',
          'above an on-screen keyboard, the focused Value box stays in view',
          `${JSON.stringify(field)}, focus on ${await focused()}`);
  }
  check(problems.length === 0, 'no errors in the console', problems.join('; '));
  await close();
}

async function desktop_session() {
  const viewport = { width: 1280, height: 900 };
  const { page, problems, close } = await open_chromium({ viewport });
  await page.goto(url);
  const place = await wait_for_fit(page, viewport, 'desktop-1280x900.png');
  await layer_over_controls(page, place, '1280 x 900');
  check(place.canvas.width === frame_size.width && place.canvas.height === frame_size.height &&
            Math.abs(place.client.width - client_size.width) <= 1 &&
            Math.abs(place.client.height - client_size.height) <= 1,
        'a desktop viewport shows the window at its own size, 750 x 538',
        `${place.client.width} x ${place.client.height}`);
  check(problems.length === 0, 'no errors in the console', problems.join('; '));
  await close();
}

// A small browser window on a desktop of 2 device pixels to the CSS pixel
// scales the window too; the mouse must then reach the controls right at
// their edges, where Qt's own reckoning of the pointer in a scaled window
// would miss them.
async function small_window_session() {
  const viewport = { width: 420, height: 330 };
  const { page, problems, close } = await open_chromium({ viewport, deviceScaleFactor: 2 });
  await page.goto(url);
  const place = await wait_for_fit(page, viewport, 'small-window-420x330.png');
  const click = async (point) => {
    const [x, y] = page_point(place, point);
    await page.mouse.click(x, y);
    await page.mouse.move(place.canvas.x + place.canvas.width / 2, place.canvas.y + 1);
  };
  const known = await start_level(page, place);
  await click(at.start_top);
  const ticked = await bar_moves(page, place, known, known.height, -1,
                                 'a click at the top of Start lets time run');
  await click(at.meal_top);
  const fed = await bar_moves(page, place, known, ticked.height, 1,
                              'a click at the top of Eat a meal raises the bar');
  check(after_change(fed.level, Math.round(ticked.level), 40, ticks_since(ticked.taken)),
        'clicks at the top edges of Start and Eat a meal reach them in a scaled window',
        fed.level.toFixed(2));
  check(problems.length === 0, 'no errors in the console', problems.join('; '));
  await close();
}

// With one device pixel to the CSS pixel the window is not scaled below its
// own size, which Qt 6.4's widgets cannot draw: the page scrolls instead.
async function small_plain_window_session() {
  const viewport = { width: 640, height: 480 };
  const { page, problems, close } = await open_chromium({ viewport });
  await page.goto(url);
  await page.waitForFunction(() => !document.getElementById('screen').hidden, null,
                             { timeout: deadline_ms });
  // The whole page, beyond the viewport.
  let state, client;
  const painted = await poll({ check: () => false }, 'the window painted at its own size', async () => {
    const image = decode(await page.screenshot({ fullPage: true }));
    state = await canvas_state(page);
    client = client_area(image, state);
    return client;
  }, (c) => c.width === client_size.width && c.height === client_size.height,
  { pause_ms: screenshot_pause_ms }).catch(() => false);
  check(painted, 'in a small window at one device pixel, the window is painted at 750 x 538',
        `${client.width} x ${client.height}`);
  check(state.width === frame_size.width && state.height === frame_size.height && state.scrolls,
        'at one device pixel to the CSS pixel, a viewport of 640 x 480 shows the window at its ' +
        'own size, and scrolls', `${state.width} x ${state.height}, scrolls: ${state.scrolls}`);
  check(problems.length === 0, 'no errors in the console', problems.join('; '));
  await close();
}

(async () => {
  const server = await serve(site);
  url = server.url;
  const upright = { width: 390, height: 844 }, side = { width: 844, height: 390 };
  try {
    await phone_session(upright, side, ['phone-upright.png', 'phone-turned-on-side.png']);
    await phone_session(side, upright, ['phone-on-side.png', 'phone-turned-upright.png']);
    await desktop_session();
    await small_window_session();
    await small_plain_window_session();
  } catch (e) {
    fail(e.message);
  }
  server.stop();
  finish();
})();
