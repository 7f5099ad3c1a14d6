// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The road a pupil takes through glukara's page, the same in every browser
// engine: everything is read from what the browser shows, the page's
// elements and the pixels of its screenshots, and every action is a click or
// a key press at the place a person would make it. An engine comes as a
// `launch({ language, without })` that resolves to a session with:
//   goto(url), screenshot() -> PNG bytes of the viewport,
//   click(x, y), move(x, y) in viewport pixels,
//   press(key) with keys named as in 'ArrowDown' or 'Control+A', type(text),
//   evaluate(fn, arg) -> fn(arg) run in the page,
//   problems: the console errors, page errors and failed requests seen,
//   close().
// `without` names a thing the browser is to go without ('webgl' or
// 'webassembly'); launch resolves to null where the engine cannot.
'use strict';
const fs = require('fs');
const path = require('path');
const { tally } = require('./lib/tally.js');
const { deadline_ms, start_deadline_ms, screenshot_pause_ms, poll } = require('./lib/wait.js');
const { client_size, frame_size, page_background, at, regions, same, decode, canvas_rect,
        client_area, place_of, bar, differing, level_of, whole_level } = require('./lib/window.js');

// Drives the page at `url` in one engine; screenshots go to `out`. Resolves
// to { passes, failures }.
async function drive(engine, url, out) {
  fs.mkdirSync(out, { recursive: true });
  const { counts, check, fail, note } = tally(engine.name);

  // A screenshot, decoded, with the times at which it was asked for and
  // came back: what it shows was on the screen at some moment between.
  async function look(page, file) {
    const asked = Date.now();
    const png = await page.screenshot();
    const image = decode(png);
    image.png = png;
    image.asked = asked;
    image.returned = Date.now();
    if (file)
      fs.writeFileSync(path.join(out, file), png);
    return image;
  }

  // Waits for `probe` to find what it looks for; at the deadline, keeps the
  // last screenshot it looked at.
  let gave_up = 0;
  const keep_last = (seen) => {
    if (seen && seen.png) {
      const file = path.join(out, `gave-up-${++gave_up}.png`);
      fs.writeFileSync(file, seen.png);
      note(`what it last saw is ${file}`);
    }
  };
  const until = (page, what, probe, describe = () => undefined, wait_ms = deadline_ms) =>
    poll({ check }, what, () => look(page), probe,
         { describe, wait_ms, pause_ms: screenshot_pause_ms, gave_up: keep_last });

  // The same, asking the page's elements; a page that is being loaded anew
  // cannot answer yet.
  const until_page = (page, what, fn, arg, wait_ms = deadline_ms) =>
    poll({ check }, what, () => page.evaluate(fn, arg).catch((e) => ({ unanswered: e.message })),
         (v) => v && !v.unanswered && v, { wait_ms });

  // Waits for the window to be painted: the canvas shown, with the bare
  // window background inside the frame, 750 x 538. `asked` is when the
  // page was asked for.
  async function wait_for_window(page, asked) {
    const canvas = await until_page(page, 'the canvas is shown', canvas_rect, undefined,
                                    start_deadline_ms).catch(async (e) => {
      note(`the page says: ${await notice_text(page)}`);
      throw e;
    });
    const painted = await until(page, 'the window is painted at 750 x 538', (image) => {
      const client = client_area(image, canvas);
      return client.width === client_size.width && client.height === client_size.height
                 ? { canvas, client, image } : undefined;
    }, (image) => JSON.stringify({ canvas, client: client_area(image, canvas) }), start_deadline_ms);
    note(`window painted ${Date.now() - asked} ms after the page was asked for`);
    return painted;
  }

  async function click(page, origin, [x, y]) {
    await page.click(origin.x + x, origin.y + y);
    await page.move(origin.x + at.rest[0], origin.y + at.rest[1]);
  }

  const notice_text = (page) => page.evaluate(() => {
    const notice = document.getElementById('notice');
    return !notice || notice.hidden ? null : document.getElementById('message').textContent;
  });

  // Waits for the page's notice to read `expected`: the check `what`.
  async function wait_for_notice(page, expected, what) {
    const seen = await poll({ check: () => false }, what, () => notice_text(page),
                            (text) => text === expected, { describe: (text) => text })
      .catch(() => false);
    return check(seen, `${what}: the page says "${expected}"`,
                 seen ? undefined : await notice_text(page));
  }

  // Chooses the quantity two entries down the list, the meal's input, and
  // types text over its value, as a pupil does with the mouse and keys;
  // before is the screen the settings are compared with.
  async function type_meal_input(page, origin, before, text, chosen_what) {
    await click(page, origin, at.combo_text);
    await page.press('ArrowDown');
    await page.press('ArrowDown');
    const chosen = await until(page, chosen_what, (image) =>
      differing(before, image, origin, regions.settings) > 0 ? image : undefined);
    await click(page, origin, at.value_box);
    await page.press('Control+A');
    await page.type(text);
    await until(page, `the typed ${text} shows`, (image) =>
      differing(chosen, image, origin, regions.settings) > 0 ? image : undefined);
  }

  // Clicks the middle of an element of the page, where a person would.
  async function click_element(page, selector) {
    const box = await page.evaluate((s) => {
      const r = document.querySelector(s).getBoundingClientRect();
      return { x: r.x + r.width / 2, y: r.y + r.height / 2 };
    }, selector);
    await page.click(box.x, box.y);
  }

  async function english_session() {
    const page = await engine.launch({ language: 'en-US' });
    try {
      const asked = Date.now();
      await page.goto(url);
      const { canvas, client, image: first } = await wait_for_window(page, asked);
      await look(page, 'glukara-web.png');
      const title = await page.evaluate(() => document.title);
      check(title === 'Glukara', 'the page is titled "Glukara"', title);
      if (!url.startsWith('file:')) {
        // Asked for by the page as it opens and again by Qt's loader: a
        // browser that took the two requests for different ones would
        // download the program twice.
        const fetched = await page.evaluate(() => performance.getEntriesByType('resource')
            .map((entry) => new URL(entry.name).pathname.split('/').pop())
            .filter((name) => /^glukara-[0-9a-f]{16}\.(js|wasm)$/.test(name)));
        check(fetched.length === 2 && fetched.some((name) => name.endsWith('.wasm')) &&
                  fetched.some((name) => name.endsWith('.js')),
              'the program\'s two files are downloaded once each', fetched.join(', '));
      }

      check(canvas.width === frame_size.width && canvas.height === frame_size.height,
            'the framed window fills the canvas', `${canvas.width} x ${canvas.height}`);
      const viewport = await page.evaluate(() => ({
        width: document.documentElement.clientWidth,
        height: document.documentElement.clientHeight,
      }));
      const centre_x = (viewport.width - frame_size.width) / 2;
      const centre_y = (viewport.height - frame_size.height) / 2;
      check(Math.abs(canvas.x - centre_x) <= 1 && Math.abs(canvas.y - centre_y) <= 1,
            'the window is centred in the viewport',
            `${canvas.x}, ${canvas.y} in ${viewport.width} x ${viewport.height}`);
      const cx = Math.round(canvas.x), cy = Math.round(canvas.y);
      check(same(first.pixel(cx - 1, cy + 200), page_background) &&
                !same(first.pixel(cx, cy + 200), page_background) &&
                !same(first.pixel(cx + canvas.width - 1, cy + canvas.height - 1),
                      page_background),
            'the frame reaches the canvas edges and no further',
            `${first.pixel(cx - 1, cy + 200)} | ${first.pixel(cx, cy + 200)} | ${
                first.pixel(cx + canvas.width - 1, cy + canvas.height - 1)}`);
      check(client.width === 750 && client.height === 538, 'the window is 750 x 538',
            `${client.width} x ${client.height}`);
      const origin = { x: client.x, y: client.y };
      const place = place_of(origin);

      const start_bar = bar(first, place);
      const known = { level: 100, height: start_bar.height };
      check(Math.abs(start_bar.level - 100) <= 1.5, 'the bar stands at 100 on the axis at the start',
            JSON.stringify(start_bar));
      const bar_seen = (image) => JSON.stringify(bar(image, place));

      // Levels are whole numbers here, and every tick, once a second, takes
      // 1 away. A screenshot may come late on a busy machine, so a level
      // seen after some action is the level before it, changed by the
      // action, less the ticks since, as many as the time between the two
      // screenshots holds: Qt's timers may fire up to 5 % early.
      const ticks_within = (from, image) => Math.floor((image.returned - from) / 950);
      const level_seen = (b) => level_of(b.height, known);

      // Start, and the first tick: 100 falls to 99.
      const started_clock = Date.now();
      await click(page, origin, at.start);
      const ticked = await until(page, 'a tick lowers the bar', (image) => {
        const b = bar(image, place);
        return b.height < start_bar.height ? { image, b } : undefined;
      }, bar_seen);
      const after_tick = level_seen(ticked.b);
      const first_ticks = Math.round(100 - after_tick);
      const first_most = ticks_within(started_clock, ticked.image);
      check(whole_level(after_tick) && first_ticks >= 1 && first_ticks <= first_most,
            `a tick takes 1: from 100 to 100 - ${first_ticks} after ${first_ticks} tick(s), ` +
                `at most ${first_most} in the time`,
            after_tick.toFixed(2));
      check(differing(first, ticked.image, origin, regions.start) > 0, 'Start has become Stop');
      check(differing(first, ticked.image, origin, regions.info) > 0, 'the message has appeared');

      // An action's change, seen in `after` at the earliest tick after `before`:
      // the level is before + change - n for n ticks, 1 <= n <= what the time holds.
      function changed_by(what, before, change, after) {
        const from = Math.round(level_seen(before.b));
        const seen = level_seen(after.b);
        const ticks = Math.round(from + change - seen);
        const most = ticks_within(before.image.asked, after.image) + 1;
        return check(whole_level(seen) && ticks >= 1 && ticks <= most,
                     `${what}: ${from} to ${from} ${change < 0 ? '-' : '+'} ${Math.abs(change)} - ` +
                         `${ticks} tick(s), at most ${most} in the time`,
                     seen.toFixed(2));
      }

      // A meal of 40 shows at the next tick.
      await click(page, origin, at.meal);
      const fed = await until(page, 'the bar rises after a meal', (image) => {
        const b = bar(image, place);
        return b.height > ticked.b.height ? { image, b } : undefined;
      }, bar_seen);
      changed_by(`the bar rises ${ticked.b.top - fed.b.top} pixels after a meal`, ticked, 40, fed);

      // Insulin moves 10 from the blood to the store at once: 40 becomes 50.
      await click(page, origin, at.insulin);
      await until(page, 'the glycogen store changes', (image) =>
        differing(first, image, origin, regions.glycogen) > 0 ? image : undefined);
      note('the glycogen number changes after Secrete Insulin');
      const before_insulin = Math.round(level_seen(fed.b));
      const lowered = await until(page, 'the bar shows the insulin', (image) => {
        const b = bar(image, place);
        return level_of(b.height, known) < before_insulin - 9.5 ? { image, b } : undefined;
      }, bar_seen);
      changed_by('insulin takes 10 from the blood', fed, -10, lowered);

      // Stop; then the settings: the meal's input becomes -60.
      await click(page, origin, at.start);
      const stopped = await until(page, 'Stop becomes Start', (image) =>
        differing(first, image, origin, regions.start) === 0 ? image : undefined);
      const level_stopped = Math.round(level_of(bar(stopped, place).height, known));
      await type_meal_input(page, origin, stopped, '-60', 'the settings show another quantity');
      const restarted = Date.now();
      await click(page, origin, at.start);
      await click(page, origin, at.meal);
      const typed = await until(page, 'the bar shows the changed meal', (image) => {
        const level = level_of(bar(image, place).height, known);
        return level < level_stopped - 30 ? { image, level } : undefined;
      }, bar_seen);
      const typed_ticks = Math.round(level_stopped - 60 - typed.level);
      const typed_most = ticks_within(restarted, typed.image);
      check(whole_level(typed.level) && typed_ticks >= 1 && typed_ticks <= typed_most,
            `a meal of -60 takes ${level_stopped} to ${level_stopped} - 60 - ${typed_ticks} tick(s), ` +
                `at most ${typed_most} in the time`,
            typed.level.toFixed(2));

      // Reset: the clock stops, and every value is as at the start.
      await click(page, origin, at.reset);
      await until(page, 'the bar is back at 100', (image) =>
        bar(image, place).height === start_bar.height ? image : undefined, bar_seen);
      const reset = await until(page, 'the window shows its start values', (image) =>
        ['chart', 'info', 'glycogen', 'settings'].every(
            (name) => differing(first, image, origin, regions[name]) === 0) ? image : undefined,
        (image) => ['chart', 'info', 'glycogen', 'settings'].map(
            (name) => `${name}: ${differing(first, image, origin, regions[name])} pixels differ`).join(', '));
      check(differing(first, reset, origin, regions.start) === 0, 'Reset leaves Start reading Start');
      note('Reset brings back the chart, the message, the store and the settings as at the start');

      // Quit: the page says that the program has ended and offers a new start.
      await click(page, origin, at.quit);
      await wait_for_notice(page, 'Glukara has ended.', 'Quit ends the program in the page');
      const again_shown = await page.evaluate(() => {
        const again = document.getElementById('again');
        return !again.hidden && again.getBoundingClientRect().width > 0;
      });
      check(again_shown, 'the page offers to start again');
      check(page.problems.length === 0, 'no errors in the console', page.problems.join('; '));
      if (!url.startsWith('file:')) {
        // The site's page runs under a policy of its own, which refuses
        // scripts written into the page: the whole road above ran under it.
        // Last, as the refusal is an error in the console.
        const policy = await page.evaluate(() => {
          const meta = document.querySelector('meta[http-equiv="Content-Security-Policy"]');
          const probe = document.createElement('script');
          probe.textContent = 'window.glukara_inline_ran = true;';
          document.head.appendChild(probe);
          return { given: meta !== null, inline_ran: window.glukara_inline_ran === true };
        });
        check(policy.given && !policy.inline_ran,
              'the page runs under its Content-Security-Policy, which refuses inline scripts',
              JSON.stringify(policy));
      }
      return first;
    } finally {
      await page.close();
    }
  }

  async function german_session(english) {
    const page = await engine.launch({ language: 'de-DE' });
    try {
      const asked = Date.now();
      await page.goto(url);
      const { client, image } = await wait_for_window(page, asked);
      await look(page, 'glukara-web-de.png');
      const origin = { x: client.x, y: client.y };
      const lang = await page.evaluate(() => document.documentElement.lang);
      check(lang === 'de', 'the page is German', lang);
      const licence = await page.evaluate(() => document.querySelector('#licence a').textContent);
      check(licence === 'Lizenz', 'the licence link reads "Lizenz"', licence);
      // The class guide in the page's language, which only the site has
      // beside it.
      // Asked without a promise, which WebDriver's scripts cannot return.
      const guide = await page.evaluate(() => {
        const link = document.querySelector('#guide');
        if (!link)
          return null;
        const request = new XMLHttpRequest();
        request.open('HEAD', link.href, false);
        request.send();
        return { text: link.textContent, href: link.getAttribute('href'), answer: request.status };
      });
      if (url.endsWith('glukara.html'))
        check(guide === null, 'the one-file page has no link to a guide', JSON.stringify(guide));
      else
        check(guide && guide.text === 'Leitfaden' && guide.href === 'guide.de.html' && guide.answer === 200,
              'the guide link reads "Leitfaden" and leads to the German guide', JSON.stringify(guide));
      check(differing(english, image, origin, regions.meal_caption) > 0 &&
                differing(english, image, origin, regions.chart) > 0,
            'the window\'s captions and chart are not the English ones');

      // Numbers with a decimal comma: a resting use of 0,5 raises the level
      // by a half at every tick, and the window writes it with a comma.
      await click(page, origin, at.value_box);
      await page.press('Control+A');
      await page.type('0,5');
      await until_page(page, 'the typed 0,5 in the Value box', () =>
        document.getElementById('glukara-value_inputbox').value === '0,5');
      await click(page, origin, at.combo_text);
      await page.press('ArrowDown');
      await until_page(page, 'the running use, -5, in the Value box', () =>
        document.getElementById('glukara-value_inputbox').value === '-5');
      await page.press('ArrowUp');
      const back = await until_page(page, 'the resting use in the Value box again', () => {
        const value = document.getElementById('glukara-value_inputbox').value;
        return value !== '-5' && { value };
      });
      check(back.value === '0,5', 'the Value box shows 0,5 after the list moves away and back',
            back.value);
      const start_bar = bar(image, place_of(origin));
      const started = Date.now();
      await click(page, origin, at.start);
      // Every other tick leaves a half: 100,5, then 101,5 and so on.
      const said = await until_page(page, 'a level with a half, written with a comma', () => {
        const text = document.getElementById('glukara-glucose_chart').textContent;
        const level = /^Blutzucker (\d+),5 mg pro 100 ml\.$/.exec(text);
        return level && { text, level: Number(level[1]) + 0.5 };
      });
      const halves = (said.level - 100) / 0.5;
      const most = Math.floor((Date.now() - started) / 950);
      check(Number.isInteger(halves) && halves % 2 === 1 && halves <= most,
            `the level gains 0,5 at each tick: "${said.text}" after ${halves} tick(s), ` +
                `at most ${most} in the time`, said.text);
      await until(page, 'the bar rises as the level gains a half at each tick', (seen) =>
        bar(seen, place_of(origin)).height > start_bar.height ? seen : undefined,
        (seen) => JSON.stringify(bar(seen, place_of(origin))));
      note('the bar rises with a resting use of 0,5');

      // The window's close box ends it as Quit does; the page starts it anew.
      const canvas = await page.evaluate(canvas_rect);
      await page.click(canvas.x + canvas.width - 14, canvas.y + 12);
      await wait_for_notice(page, 'Glukara ist beendet.',
                            'closing the window ends the program in the page');
      const again = Date.now();
      await click_element(page, '#again');
      await wait_for_window(page, again);
      note('Neu starten brings the window back');
      check(page.problems.length === 0, 'no errors in the console', page.problems.join('; '));
    } finally {
      await page.close();
    }
  }

  // A run-time error: two meals of 3e38 between the same two ticks overflow
  // single precision. The window shows its error box, a click on its OK
  // closes it, and the program goes on.
  async function overflow_session() {
    const page = await engine.launch({ language: 'en-US' });
    try {
      const asked = Date.now();
      await page.goto(url);
      const { client, image: first } = await wait_for_window(page, asked);
      const origin = { x: client.x, y: client.y };
      const place = place_of(origin);
      const start_bar = bar(first, place);
      const known = { level: 100, height: start_bar.height };
      const level = (image) => Math.round(level_of(bar(image, place).height, known));
      const bar_seen = (image) => JSON.stringify(bar(image, place));

      await type_meal_input(page, origin, first, '3e38', 'the settings show the meal\'s input');
      await click(page, origin, at.start);

      // The box as the page's layer of elements has it, in viewport pixels.
      const box_rect = () => {
        const box = document.querySelector('#glukara-layer [role=alertdialog]');
        if (!box)
          return null;
        const r = box.getBoundingClientRect();
        return { x: r.x, y: r.y, width: r.width, height: r.height, text: box.textContent };
      };
      // Both meals right after a tick: a tick between them holds the level at
      // 180 and overflows nothing, so then once more after the next one.
      let opened = null;
      for (let attempt = 1; attempt <= 5 && !opened; ++attempt) {
        const resting = level(await look(page));
        await until(page, 'a tick before the meals', (image) =>
          level(image) !== resting ? image : undefined, bar_seen);
        await page.click(origin.x + at.meal[0], origin.y + at.meal[1]);
        await page.click(origin.x + at.meal[0], origin.y + at.meal[1]);
        const seen = await poll({ check }, 'the error box or the ceiling',
                                async () => ({ box: await page.evaluate(box_rect), image: await look(page) }),
                                (v) => v.box || level(v.image) >= 180 ? v : undefined,
                                { describe: (v) => JSON.stringify(v.box) + ' ' + bar_seen(v.image),
                                  pause_ms: screenshot_pause_ms });
        if (seen.box)
          opened = seen;
        else {
          note(`a tick came between the two meals (attempt ${attempt}); once more`);
          await until(page, 'the level below 180 again', (image) => level(image) < 180 ? image : undefined,
                      bar_seen);
        }
      }
      if (!check(opened !== null, 'two meals of 3e38 between two ticks open the error box'))
        return;
      // Its message's line breaks read as a space.
      const message = opened.box.text.replace(/\s+/g, ' ');
      check(message.includes("Run-time error '6': Overflow"),
            'the box says "Run-time error \'6\': Overflow"', message);
      const shot = await look(page, 'glukara-web-error.png');
      const r = opened.box;
      let changed = 0, total = 0;
      for (let y = Math.round(r.y) + 2; y < r.y + r.height - 2; y += 2)
        for (let x = Math.round(r.x) + 2; x < r.x + r.width - 2; x += 2, ++total)
          if (!same(shot.pixel(x, y), first.pixel(x, y)))
            ++changed;
      check(changed > total / 4, 'the box is seen in the window', `${changed} of ${total} pixels changed`);

      // OK, clicked where it is drawn.
      await click_element(page, '#glukara-layer [role=alertdialog] button');
      await until_page(page, 'the box closed by a click on OK', (s) => !document.querySelector(s),
                       '#glukara-layer [role=alertdialog]');
      note('a click on OK closes the box');
      // The first meal lands at the ceiling of 180 at the tick after the
      // meals, which may come before or after the box has closed; from there
      // each tick lowers the level by 1.
      const closed = level(await look(page));
      const ticked = level(await until(page, 'a tick after the box', (image) =>
        level(image) !== closed ? image : undefined, bar_seen));
      const lowered = level(await until(page, 'the tick after', (image) =>
        level(image) !== ticked ? image : undefined, bar_seen));
      check(ticked <= 180 && ticked - lowered >= 1 && ticked - lowered <= 3,
            'the clock ticks on afterwards, below the ceiling of 180', `${closed} -> ${ticked} -> ${lowered}`);
      await click(page, origin, at.reset);
      await until(page, 'the bar is back at 100 after Reset', (image) =>
        bar(image, place).height === start_bar.height ? image : undefined, bar_seen);
      note('Reset brings back 100 after the error');
      const said = await notice_text(page);
      check(said === null, 'the page never says it stopped', said);
      check(page.problems.length === 0, 'the error box: no errors in the console', page.problems.join('; '));
    } finally {
      await page.close();
    }
  }

  async function lacking(what, expected) {
    const page = await engine.launch({ language: 'en-US', without: what });
    if (!page) {
      note(`cannot be made to go without ${what}; not tried`);
      return;
    }
    try {
      await page.goto(url);
      await wait_for_notice(page, expected, `without ${what} the page says so`);
    } finally {
      await page.close();
    }
  }

  try {
    const english = await english_session();
    await german_session(english);
    await overflow_session();
    await lacking('webgl',
                  'Glukara cannot run in this browser: it needs WebGL, which this browser lacks or has turned off.');
    await lacking('webassembly',
                  'Glukara cannot run in this browser: it needs WebAssembly, which this browser lacks or has turned off.');
  } catch (e) {
    fail(e.stack);
  }
  return counts;
}

module.exports = { drive };
