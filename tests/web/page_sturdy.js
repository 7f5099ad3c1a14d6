// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// glukara's page where a pupil can trip it up, used through its layer of
// elements only, as a keyboard pupil and a screen reader use it: a run-time
// error, also from each picture button's click, a held key, and the Value
// box's pointer, input method and paste.
//   node page_sturdy.js SITE_DIR OUT_DIR
// What is expected comes from the program's rules and the desktop's
// behaviour: the overflow's message, the meal's 40, the start values 100 and
// 40, and the value box's length limit, 32767 characters (QLineEdit's).
'use strict';
const fs = require('fs');
const path = require('path');
const { check, fail, note, finish } = require('./lib/tally.js');
const { screenshot_pause_ms, poll } = require('./lib/wait.js');
const { launch, tree, until, control } = require('./lib/layer_tree.js');
const { decode } = require('./lib/window.js');
const { serve } = require('./lib/serve.js');

const [site, out] = process.argv.slice(2);
fs.mkdirSync(out, { recursive: true });

// The box's message, its line breaks read as a space.
const overflow_message = "Run-time error '6': Overflow";
const value_box_limit = 32767;

// The page's notice, if it shows one instead of the window.
const notice = (page) => page.evaluate(() => {
  const n = document.getElementById('notice');
  return n.hidden ? null : document.getElementById('message').textContent;
});

async function open_page(url) {
  const session = await launch('en-US');
  await session.page.goto(url);
  await until(session.cdp, 'the window in the tree', (s) => s.level === 100 && s.buttons.length === 7);
  return session;
}

// The whole level after the next tick: the tree's level changes.
async function next_tick(cdp, what) {
  const before = (await tree(cdp)).level;
  return (await until(cdp, what, (s) => s.level !== before && !Number.isNaN(s.level) ? s : undefined)).level;
}

// Chooses an entry of the list and types a value into the Value box, by keys.
// The text that choosing in the list puts into the Value box reaches the
// page's field a moment after the choice; on a loaded machine the keys below
// have come before it, and its arrival then took Control+A's selection away
// (the box read -3e380 over a 0). Such a value is typed again.
async function enter_value(page, cdp, downs, option, text) {
  await control(page, 'combobox', 'Variable').focus();
  await page.keyboard.press('Home');
  for (let i = 0; i < downs; ++i)
    await page.keyboard.press('ArrowDown');
  await until(cdp, `"${option}" chosen`, (s) => s.list.value === option);
  for (let attempt = 1; attempt < 3; ++attempt) {
    await control(page, 'textbox', 'Value').focus();
    await page.keyboard.press('Control+A');
    await page.keyboard.type(text);
    const seen = await poll({ check: () => false }, `the Value box reads ${text}`, () => tree(cdp),
                            (s) => s.field.value === text, { wait_ms: 5000 }).catch(() => false);
    if (seen)
      return;
    note(`typed ${text} again: the Value box read ${(await tree(cdp)).field.value}`);
  }
  await until(cdp, `the Value box reads ${text}`, (s) => s.field.value === text);
}

async function start_clock(page, cdp) {
  await control(page, 'button', 'Start').focus();
  await page.keyboard.press('Space');
  await until(cdp, 'the clock runs', (s) => s.buttons[0] === 'Stop');
}

// A meal of 3e38 twice between two ticks overflows single precision; a tick
// between the two would hold the level at 180, so both come right after a
// tick, and again after the next one should a busy machine put a tick between.
async function overflow(page, cdp) {
  await enter_value(page, cdp, 2, 'glucose input from a meal', '3e38');
  await start_clock(page, cdp);
  await control(page, 'button', 'Eat a meal').focus();
  for (let attempt = 1; attempt <= 5; ++attempt) {
    await next_tick(cdp, 'a tick before the meals');
    await page.keyboard.press('Space');
    await page.keyboard.press('Space');
    const seen = await until(cdp, 'the error box or the next tick', (s) =>
      s.dialog || s.level === 180 ? s : undefined);
    if (seen.dialog)
      return seen;
    console.log(`a tick came between the two meals (attempt ${attempt}); once more`);
    await until(cdp, 'the level below 180 again', (s) => s.level < 180);
  }
  throw new Error('the two meals never came between the same two ticks');
}

async function error_box_run(url, closing_key) {
  const { page, cdp, problems, close } = await open_page(url);
  try {
    const where = `closed with ${closing_key}`;
    const before = decode(await page.screenshot());
    const opened = await overflow(page, cdp);
    check(opened.dialog.name === 'Glukara', `${where}: an alert dialog named by the box's title`,
          JSON.stringify(opened.dialog));
    check(opened.dialog.description === overflow_message,
          `${where}: the dialog is described by the box's message`,
          JSON.stringify(opened.dialog.description));
    check(JSON.stringify(opened.dialog.buttons) === '["OK"]', `${where}: with its OK button`,
          JSON.stringify(opened.dialog.buttons));
    await until(cdp, 'the focus on OK', (s) => s.focused === 'OK' ? s : undefined);
    note(`${where}: the focus moves to OK`);

    // The box in the window: the canvas under the dialog's element is no
    // longer what it was before the meals.
    const shot = await page.screenshot({ path: path.join(out, `glukara-web-error-${closing_key}.png`) });
    const box = await page.locator('#glukara-layer [role=alertdialog]').boundingBox();
    const after = decode(shot);
    let differing = 0, total = 0;
    for (let y = Math.round(box.y) + 2; y < box.y + box.height - 2; y += 2)
      for (let x = Math.round(box.x) + 2; x < box.x + box.width - 2; x += 2, ++total)
        if (after.pixel(x, y).join() !== before.pixel(x, y).join())
          ++differing;
    check(differing > total / 4, `${where}: the box is seen in the window`, `${differing} of ${total} pixels changed`);

    // The thirteen controls and texts, and the four frames' groups round them.
    const inert = await page.evaluate(() =>
      [...document.querySelectorAll('#glukara-layer [data-control]')]
          .filter((e) => !e.closest('[role=alertdialog]'))
          .map((e) => `${e.id}:${e.inert}`));
    check(inert.length === 17 && inert.every((e) => e.endsWith(':true')),
          `${where}: the layer's other elements are inert`, inert.join(' '));
    // Not even an action sent to an element behind the box reaches its control,
    // nor a click on the window behind it, which leaves the focus on OK.
    await page.locator('#glukara-cmd_button_4').dispatchEvent('click');
    await page.locator('#glukara-cmd_button_0').dispatchEvent('click');
    const stop = await page.locator('#glukara-cmd_button_0').boundingBox();
    await page.mouse.click(stop.x + stop.width / 2, stop.y + stop.height / 2);
    const kept = await tree(cdp);
    check(kept.dialog && kept.focused === 'OK', `${where}: a click behind the box leaves it open, focused on OK`,
          JSON.stringify({ dialog: kept.dialog, focused: kept.focused }));
    await page.keyboard.press(closing_key);
    const closed = await until(cdp, `the box closed by ${closing_key}`, (s) =>
      !s.dialog && s.focused ? s : undefined);
    note(`${where}: ${closing_key} closes the box`);
    check(closed.focused === 'Eat a meal', `${where}: the focus returns to Eat a meal`, closed.focused);
    check(closed.buttons[0] === 'Stop', `${where}: the elements behind the box pressed nothing`,
          closed.buttons[0]);

    // The program goes on: the clock ticks. The first meal lands at the
    // ceiling of 180 at the tick after the meals, which may come before or
    // after the box has closed; from there each tick lowers the level by 1.
    const closed_at = closed.level;
    const ticked = await until(cdp, 'a tick after closing', (s) => s.level !== closed_at ? s : undefined);
    const lowered = await until(cdp, 'the tick after', (s) => s.level !== ticked.level ? s : undefined);
    check(ticked.level <= 180 && ticked.level - lowered.level >= 1 && ticked.level - lowered.level <= 3,
          `${where}: the clock ticks on afterwards, below the ceiling of 180`,
          `${closed_at} -> ${ticked.level} -> ${lowered.level}`);
    await control(page, 'button', 'Reset').focus();
    await page.keyboard.press('Space');
    const reset = await until(cdp, 'the start values', (s) =>
      s.level === 100 && s.buttons[0] === 'Start' ? s : undefined);
    check(reset.field.value === '-1', `${where}: Reset brings back 100`, reset.level);
    await control(page, 'combobox', 'Variable').focus();
    await page.keyboard.press('ArrowDown');
    await page.keyboard.press('ArrowDown');
    await until(cdp, 'the meal\'s input 40', (s) =>
      s.list.value === 'glucose input from a meal' && s.field.value === '40');
    note(`${where}: and the meal's input 40`);
    const said = await notice(page);
    check(said === null, `${where}: the page never says it stopped`, said);
    check(problems.length === 0, `${where}: no errors in the console`, problems.join('; '));
  } finally {
    await close();
  }
}

// Each picture button pressed through its element where its own sum
// overflows single precision: a meal of 3e38 twice, clicked in one go so
// that no tick comes between; insulin or glucagon with an effect of -3e38 on
// a store of 3e38, which takes the store to 6e38. The error box opens while
// the window handles the element's click, and the layer adds the box's three
// elements to its thirteen then, and takes them away while the box's OK
// handles its own.
const picture_buttons = [
  { caption: 'Eat a meal', id: 'glukara-cmd_button_1', clicks: 2,
    values: [[2, 'glucose input from a meal', '3e38']] },
  { caption: 'Secrete Insulin', id: 'glukara-cmd_button_5', clicks: 1,
    values: [[3, 'effect of insulin', '-3e38'], [5, 'glycogen store', '3e38']] },
  { caption: 'Secrete Glucagon', id: 'glukara-cmd_button_6', clicks: 1,
    values: [[4, 'effect of glucagon', '-3e38'], [5, 'glycogen store', '3e38']] },
];

async function picture_button_errors(url) {
  const { page, cdp, problems, close } = await open_page(url);
  try {
    for (const { caption, id, clicks, values } of picture_buttons) {
      for (const [downs, option, text] of values)
        await enter_value(page, cdp, downs, option, text);
      await start_clock(page, cdp);
      await control(page, 'button', caption).focus();
      const layer = await page.evaluate(({ id, clicks }) => {
        const button = document.getElementById(id);
        for (let i = 0; i < clicks; ++i)
          button.click();
        const dialog = document.querySelector('#glukara-layer [role=alertdialog]');
        return { dialog: dialog !== null, inside: dialog ? dialog.children.length : 0,
                 elements: document.querySelectorAll('#glukara-layer [data-control]').length };
      }, { id, clicks });
      check(layer.dialog && layer.inside === 2 && layer.elements === 20,
            `${caption}: its click opens the error box, whose dialog, message and OK join the layer's ` +
                '13 elements and the 4 groups of its frames',
            JSON.stringify(layer));
      const opened = await until(cdp, `the error box after ${caption}`, (s) =>
        s.dialog && s.focused === 'OK' ? s : undefined);
      check(opened.dialog.description === overflow_message && JSON.stringify(opened.dialog.buttons) === '["OK"]',
            `${caption}: the box tells of the overflow, with its OK button focused`,
            JSON.stringify(opened.dialog));
      await page.keyboard.press('Enter');
      const closed = await until(cdp, `the box closed after ${caption}`, (s) =>
        !s.dialog && s.focused ? s : undefined);
      const left = await page.evaluate(() => document.querySelectorAll('#glukara-layer [data-control]').length);
      check(left === 17 && closed.focused === caption,
            `${caption}: OK closes the box, its elements go and the focus returns to ${caption}`,
            JSON.stringify({ elements: left, focused: closed.focused }));
      check(closed.buttons[0] === 'Stop', `${caption}: the clock still runs`, closed.buttons[0]);
      await control(page, 'button', 'Reset').focus();
      await page.keyboard.press('Space');
      await until(cdp, 'the start values', (s) => s.level === 100 && s.buttons[0] === 'Start' ? s : undefined);
    }
    const said = await notice(page);
    check(said === null, 'picture buttons: the page never says it stopped', said);
    check(problems.length === 0, 'picture buttons: no errors in the console', problems.join('; '));
  } finally {
    await close();
  }
}

// A key held down: the browser sends keydowns with `repeat` set until the
// key comes up.
async function hold(page, key) {
  await page.keyboard.down(key);
  for (let i = 0; i < 15; ++i)
    await page.keyboard.down(key);
  await page.keyboard.up(key);
}

async function held_keys(url) {
  const { page, cdp, problems, close } = await open_page(url);
  try {
    await start_clock(page, cdp);
    await control(page, 'button', 'Eat a meal').focus();
    for (const key of ['Enter', 'Space']) {
      const before = await next_tick(cdp, `a tick before ${key} is held`);
      await hold(page, key);
      const fed = await until(cdp, `the meal of a held ${key}`, (s) => s.level > before ? s : undefined);
      // One meal, 40, less the ticks since: 1 to 3 on a busy machine.
      const ticks = before + 40 - fed.level;
      check(ticks >= 1 && ticks <= 3 && fed.level < 180,
            `${key} held on Eat a meal: one meal, ${before} + 40 less ${ticks} tick(s)`, fed.level);
    }
    await control(page, 'checkbox', 'Diabetic?').focus();
    await hold(page, 'Space');
    const checked = await until(cdp, 'Diabetic? checked', (s) => s.check.checked === 'true' ? s : undefined);
    await next_tick(cdp, 'a tick after the held Space');
    const still = await tree(cdp);
    check(checked && still.check.checked === 'true', 'Space held on Diabetic?: checked once, not back',
          still.check.checked);
    check(problems.length === 0, 'held keys: no errors in the console', problems.join('; '));
  } finally {
    await close();
  }
}

// Columns of the Value box in the window where its text is drawn dark.
async function text_columns(page) {
  const box = await page.locator('#glukara-value_inputbox').boundingBox();
  const image = decode(await page.screenshot());
  const columns = [];
  for (let x = Math.round(box.x) + 3; x < box.x + box.width - 3; ++x)
    for (let y = Math.round(box.y) + 3; y < box.y + box.height - 3; ++y)
      if (image.pixel(x, y).every((v) => v < 100)) {
        columns.push(x);
        break;
      }
  return { box, columns };
}

async function value_box(url) {
  const { page, cdp, problems, close } = await open_page(url);
  try {
    // The start's "-1", centred in the box: a click just right of its "1"
    // puts the caret after it, and one in the gap between "-" and "1" between them.
    const { box, columns } = await text_columns(page);
    const runs = columns.reduce((r, x) => {
      if (r.length && x === r[r.length - 1].to + 1)
        r[r.length - 1].to = x;
      else
        r.push({ from: x, to: x });
      return r;
    }, []);
    check(runs.length === 2, 'the window draws "-" and "1" in the Value box', JSON.stringify(runs));
    const y = box.y + box.height / 2;
    await page.mouse.click(runs[1].to + 2, y);
    await page.keyboard.type('5');
    const end = await until(cdp, 'a typed 5', (s) => s.field.value !== '-1' ? s : undefined);
    check(end.field.value === '-15', 'a click at the right end of "-1", then 5: "-15"', end.field.value);
    await page.keyboard.press('Backspace');
    await until(cdp, 'the 5 deleted', (s) => s.field.value === '-1');
    // The window places the caret by what it has drawn, as on the desktop; on
    // a busy machine it draws "-1" again some frames after the field has it.
    await poll({ check }, 'the window draws "-1" again', () => text_columns(page),
               (drawn) => drawn.columns.join() === columns.join(),
               { describe: (drawn) => drawn.columns.join(), pause_ms: screenshot_pause_ms });
    await page.mouse.click((runs[0].to + runs[1].from) / 2 + 0.5, y);
    const caret = await page.evaluate(() => [document.activeElement.selectionStart, document.activeElement.selectionEnd].join());
    await page.keyboard.type('5');
    const middle = await until(cdp, 'a typed 5', (s) => s.field.value !== '-1' ? s : undefined);
    check(middle.field.value === '-51', 'a click between "-" and "1", then 5: "-51"',
          `${middle.field.value}, caret at ${caret}`);
    const shown = await text_columns(page);
    check(shown.columns.length > columns.length, 'the window shows the longer text');

    // An input method's composition, held across two ticks, arrives whole
    // once committed.
    await start_clock(page, cdp);
    await control(page, 'textbox', 'Value').focus();
    await page.keyboard.press('Control+A');
    await cdp.send('Input.imeSetComposition', { text: '1', selectionStart: 1, selectionEnd: 1 });
    await next_tick(cdp, 'a tick while composing');
    await cdp.send('Input.imeSetComposition', { text: '12', selectionStart: 2, selectionEnd: 2 });
    await next_tick(cdp, 'another tick while composing');
    const composing = await page.evaluate(() => document.activeElement.value);
    check(composing === '12', 'the composition stands through the ticks', composing);
    await cdp.send('Input.insertText', { text: '12' });
    const committed = await until(cdp, 'the committed text', (s) => s.field.value === '12' ? s : undefined);
    // The resting use is now +12 a tick.
    const a = await next_tick(cdp, 'a tick after the commit');
    const b = await next_tick(cdp, 'the tick after');
    check(committed && (b - a) % 12 === 0 && b - a >= 12, 'the composed 12 reached the model: +12 a tick',
          `${a} -> ${b}`);

    // A paste of 100,000 characters: one change, cut to the box's length,
    // and the page answers at once.
    await control(page, 'button', 'Stop').focus();
    await page.keyboard.press('Space');
    await until(cdp, 'the clock stopped', (s) => s.buttons[0] === 'Start');
    const pasted = '-2' + 'x'.repeat(99998);
    await page.evaluate((text) => navigator.clipboard.writeText(text), pasted);
    await control(page, 'textbox', 'Value').focus();
    await page.keyboard.press('Control+A');
    // Timed from the moment the paste reaches the page: Chromium takes its
    // own while to read a clipboard of that size, longer while its
    // accessibility tree is being read.
    await page.evaluate(() => document.addEventListener('beforeinput', () => {
      window.paste_arrived = performance.now();
    }, { capture: true, once: true }));
    const asked = Date.now();
    await page.keyboard.press('Control+V');
    const answer = await page.waitForFunction(
      () => document.activeElement.value.length > 2 && performance.now() - window.paste_arrived,
      null, { timeout: 30000, polling: 'raf' });
    const answered = Math.round(await answer.jsonValue());
    console.log(`the paste reached the page ${Date.now() - asked - answered} ms after Control+V`);
    const held = (await tree(cdp)).field.value;
    check(held === pasted.slice(0, value_box_limit),
          `the Value box holds the first ${value_box_limit} characters of the paste`,
          `${held.length} characters, starting ${JSON.stringify(held.slice(0, 5))}`);
    check(answered < 1000, 'the page answers the paste within a second', `${answered} ms`);
    await control(page, 'button', 'Start').focus();
    await page.keyboard.press('Space');
    const c = await next_tick(cdp, 'a tick after the paste');
    const d = await next_tick(cdp, 'the tick after');
    check(c - d === 2, 'the pasted -2 reached the model: 2 a tick', `${c} -> ${d}`);
    check(problems.length === 0, 'Value box: no errors in the console', problems.join('; '));
  } finally {
    await close();
  }
}

(async () => {
  const server = await serve(site);
  for (const road of [() => error_box_run(server.url, 'Enter'), () => error_box_run(server.url, 'Escape'),
                      () => picture_button_errors(server.url), () => held_keys(server.url),
                      () => value_box(server.url)]) {
    try {
      await road();
    } catch (e) {
      fail(e.message);
    }
  }
  server.stop();
  finish();
})();
