// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Uses glukara's page as a pupil with a screen reader does, through nothing
// but what Chromium's accessibility tree offers (the tree that ChromeVox, Orca,
// NVDA and VoiceOver read), and as a pupil with a tablet does, by touch.
//   node page_layer.js SITE_DIR OUT_DIR
// What is expected comes from the program's rules: the start values, the
// meal's 40, insulin's 10 moved into the store, and the band messages.
'use strict';
const fs = require('fs');
const path = require('path');
const { launch, tree, until, control } = require('./lib/layer_tree.js');
const { check, fail, note, finish } = require('./lib/tally.js');
const { controls, decode, place_of, bar } = require('./lib/window.js');
const { serve } = require('./lib/serve.js');

const [site, out] = process.argv.slice(2);
fs.mkdirSync(out, { recursive: true });

// The program's texts in the two languages tried.
const languages = {
  en: {
    locale: 'en-US',
    buttons: ['Start', 'Eat a meal', 'Go for a run', 'Quit', 'Reset', 'Secrete Insulin',
              'Secrete Glucagon'],
    stop: 'Stop',
    list: 'Variable',
    options: ['resting glucose use', 'glucose use when running', 'glucose input from a meal',
              'effect of insulin', 'effect of glucagon', 'glycogen store'],
    field: 'Value',
    check: 'Diabetic?',
    frames: ['Blood glucose (mg / 100 ml)', 'Information', 'Glycogen store', 'Settings'],
    level: (n) => `Blood glucose ${n} mg per 100 ml.`,
    store: (n) => `Glycogen store ${n}`,
    time_runs: 'Time runs. The button now reads Stop.',
    reset: 'Start values restored. Time stands still. Glycogen store 40. Blood glucose 100 mg per 100 ml.',
  },
  de: {
    locale: 'de-DE',
    buttons: ['Start', 'Mahlzeit essen', 'Laufen gehen', 'Beenden', 'Neustart', 'Insulin abgeben',
              'Glucagon abgeben'],
    stop: 'Stopp',
    list: 'Größe',
    options: ['Glucoseverbrauch in Ruhe', 'Glucoseverbrauch beim Laufen', 'Glucosezufuhr pro Mahlzeit',
              'Wirkung von Insulin', 'Wirkung von Glucagon', 'Glykogenspeicher'],
    field: 'Wert',
    check: 'Diabetes',
    frames: ['Blutzucker (mg / 100 ml)', 'Information', 'Glykogenspeicher', 'Einstellungen'],
    level: (n) => `Blutzucker ${n} mg pro 100 ml.`,
    store: (n) => `Glykogenspeicher ${n}`,
    time_runs: 'Die Zeit läuft. Die Schaltfläche heißt jetzt Stopp.',
  },
};

// The window's tab order: the page's Tab must follow it.
const tab_order = [0, 1, 2, 3, 'list', 'field', 'check', 4, 5, 6];

// The band table: the message for a whole level.
function band_message(level) {
  if (level >= 90 && level <= 100)
    return 'The blood glucose level is within normal limits.';
  if (level >= 101 && level <= 135)
    return 'Blood glucose is high but still within the acceptable range.';
  if (level >= 71 && level <= 89)
    return 'Blood glucose is low but still within the acceptable range.';
  if (level >= 136 && level <= 145)
    return 'Blood glucose is too high and cells will be losing water due to the low water potential of the blood plasma.';
  if (level >= 146)
    return 'Blood glucose is far too high. Tissues will be dehydrating and are likely to be seriously damaged.';
  if (level >= 65)
    return 'Blood glucose is below normal. This is likely to lead to tiredness and lack of concentration.';
  if (level >= 40)
    return 'Blood glucose is very low. The person will experience slurred speech and blurred vision.';
  return 'The person is unconscious.  This is hypoglycaemic coma.';
}


// Every control and text as the rules say they stand, from one look at the
// tree: one table of expectations per state of the window.
function expect_state(seen, texts, state, where) {
  const [b0, b1, b2, b3, b4, b5, b6] = texts.buttons;
  const rows = [
    ['buttons', [state.running ? texts.stop : b0, b1, b2, b3, b4, b5, b6], seen.buttons],
    ['list name', texts.list, seen.list && seen.list.name],
    ['list entries', texts.options, seen.list && seen.list.options],
    ['chosen quantity', texts.options[state.chosen], seen.list && seen.list.value],
    ['value box name', texts.field, seen.field && seen.field.name],
    ['value box text', state.value, seen.field && seen.field.value],
    ['check box name', texts.check, seen.check && seen.check.name],
    ['check box state', state.diabetic ? 'true' : 'false', seen.check && String(seen.check.checked)],
    ['glycogen store', true, seen.texts.includes(texts.store(state.store))],
  ];
  if (state.level !== undefined)
    rows.push(['blood glucose', true, seen.texts.includes(texts.level(state.level))]);
  for (const [what, expected, got] of rows)
    check(JSON.stringify(expected) === JSON.stringify(got), `${where}: ${what}`, JSON.stringify(got));
}

// The bar in a screenshot, found from the element that stands over the
// chart, at the window's own size.
async function bar_seen(page) {
  const box = await page.locator('#glukara-glucose_chart').boundingBox();
  const [x, y] = controls['glukara-glucose_chart'];
  return bar(decode(await page.screenshot()), place_of({ x: box.x - x, y: box.y - y }));
}

// Levels are whole here and every tick takes 1 away: a level seen after an
// action is the level before it, changed by the action, less the ticks since,
// which a busy machine may make more than one.
function after_ticks(before, change, seen, what) {
  const ticks = before + change - seen;
  return check(Number.isInteger(seen) && ticks >= 1 && ticks <= 3,
               `${what}: ${before} ${change >= 0 ? '+' : '-'} ${Math.abs(change)} less ${ticks} tick(s)`,
               seen);
}

async function screen_reader_road(url, texts) {
  const { page, cdp, problems, close } = await launch(texts.locale);
  await page.goto(url);
  const first = await until(cdp, 'the window\'s controls in the tree', (s) =>
    s.buttons.length === 7 && s.level === 100 ? s : undefined);
  expect_state(first, texts, { running: false, chosen: 0, value: '-1', diabetic: false, store: 40,
                               level: 100 }, 'at the start');
  check(first.focused === texts.buttons[0], 'the focus starts on Start', first.focused);
  // The page's structure, as a screen reader moves through it by heading,
  // landmark and group: the window's title, then its frames by their captions.
  check(JSON.stringify(first.heading) === JSON.stringify({ name: 'Glukara', level: 1 }),
        'the window\'s title is the page\'s heading, at level one', JSON.stringify(first.heading));
  const frames = first.groups.map((g) => g.name);
  check(JSON.stringify(frames) === JSON.stringify(texts.frames),
        'the window\'s frames are groups named by their captions, in the window\'s order',
        JSON.stringify(frames));
  const held = (frame) => JSON.stringify((first.groups.find((g) => g.name === frame) || {}).members);
  for (const [frame, members] of [[texts.frames[0], [texts.level(100)]],
                                  [texts.frames[2], [texts.store(40)]],
                                  [texts.frames[3], [texts.list, texts.field, texts.check]]])
    check(held(frame) === JSON.stringify(members), `the group "${frame}" holds ${members.join(', ')}`,
          held(frame));
  // The band messages are known here in English.
  if (texts.locale === 'en-US')
    check(!first.texts.some((t) => /normal limits|acceptable|too high|low|unconscious/.test(t)),
          'no message before the first tick', JSON.stringify(first.texts));

  // Tab walks the controls in the window's order, and the window shows the
  // focus on the same control.
  const order = tab_order.map((i) => typeof i === 'number' ? texts.buttons[i]
                                     : { list: texts.list, field: texts.field, check: texts.check }[i]);
  const tabbed = [first.focused];
  for (let i = 1; i < order.length; ++i) {
    await page.keyboard.press('Tab');
    tabbed.push((await until(cdp, `Tab number ${i}`, (s) => s.focused !== tabbed[i - 1] ? s : undefined)).focused);
  }
  check(JSON.stringify(tabbed) === JSON.stringify(order), 'Tab follows the window\'s tab order',
        JSON.stringify(tabbed));
  check(JSON.stringify(first.focusable) === JSON.stringify(order),
        'the tree holds the controls in the window\'s tab order', JSON.stringify(first.focusable));
  await page.keyboard.press('Shift+Tab');
  const focused_in_window = await page.evaluate(() => document.activeElement.id);
  await page.screenshot({ path: path.join(out, `glukara-web-focus-${texts.locale}.png`) });
  check(focused_in_window === 'glukara-cmd_button_5', 'Shift+Tab goes back to Secrete Insulin',
        focused_in_window);

  // Start with the keyboard: Space on the focused Start.
  await control(page, 'button', texts.buttons[0]).focus();
  const at_100 = await bar_seen(page);
  check(Math.abs(at_100.level - 100) <= 1.5, 'the bar stands at 100 on the axis at the start',
        at_100.level.toFixed(2));
  const pressed = Date.now();
  await page.keyboard.press('Space');
  const ticked = await until(cdp, 'a tick', (s) => s.level < 100 ? s : undefined);
  // A busy machine may read the tree only after a second tick: every tick
  // takes 1, and no more ticks than the time holds (Qt's timers may fire up
  // to 5 % early).
  const first_most = Math.floor((Date.now() - pressed) / 950);
  check(Number.isInteger(ticked.level) && 100 - ticked.level >= 1 && 100 - ticked.level <= first_most,
        `a tick takes 1: 100 less ${100 - ticked.level} tick(s), at most ${first_most} in the time`,
        ticked.level);
  expect_state(ticked, texts, { running: true, chosen: 0, value: '-1', diabetic: false, store: 40 },
               'after Start and a tick');
  if (texts.locale === 'en-US')
    check(ticked.texts.includes(band_message(ticked.level)), 'the message of the band shows',
          JSON.stringify(ticked.texts));
  const spoken = await until(cdp, 'the level said', (s) => {
    const m = new RegExp(`^${texts.level('(\\d+)').replace(/\./g, '\\.')}`).exec(s.status);
    return m ? { level: Number(m[1]), status: s.status, lines: s.lines } : undefined;
  });
  // The region keeps its last lines: Start's is among them, before the level's.
  check(spoken.lines.slice(0, -1).some((line) => line.includes(texts.time_runs)),
        `the live region says "${texts.time_runs}"`, JSON.stringify(spoken.lines));
  check(spoken.level <= 99 && spoken.level >= 90, `the live region says the level: "${spoken.status}"`);
  if (texts.locale !== 'en-US') {
    await close();
    return;
  }
  check(spoken.status.endsWith(band_message(spoken.level)), 'with its message', spoken.status);

  // A meal, pressed as a screen reader presses: the element's own action.
  const before_meal = (await tree(cdp)).level;
  await control(page, 'button', 'Eat a meal').dispatchEvent('click');
  const fed = await until(cdp, 'the meal shows', (s) => s.level > before_meal ? s : undefined);
  after_ticks(before_meal, 40, fed.level, 'a meal');
  check(fed.texts.includes(band_message(fed.level)), 'the message of the meal\'s band',
        JSON.stringify(fed.texts));
  const fed_seen = Date.now();
  const bar_fed = await bar_seen(page);
  // Read on the axis, within 1.5; a tick a second may have come since.
  const ticks = Math.ceil((Date.now() - fed_seen) / 1000) + 1;
  check(bar_fed.level <= fed.level + 1.5 && bar_fed.level >= fed.level - ticks - 1.5,
        `the bar in the window stands at the meal's ${fed.level}, less at most ${ticks} tick(s)`,
        bar_fed.level.toFixed(2));
  // Said once the last utterance has had time to be heard: the level of
  // that moment, with its message.
  const meal_said = await until(cdp, 'the meal\'s level said', (s) => {
    const m = /^Blood glucose (\d+) mg per 100 ml\. (.*)$/.exec(s.status);
    return m && Number(m[1]) <= fed.level && Number(m[1]) > fed.level - 15 ? m : undefined;
  });
  check(meal_said[2] === band_message(Number(meal_said[1])),
        `the live region says the meal's level: "${meal_said[0]}"`);

  // Insulin: the store at once, and said; the level at the next tick.
  const before_insulin = (await tree(cdp)).level;
  await control(page, 'button', 'Secrete Insulin').dispatchEvent('click');
  const stored = await until(cdp, 'the store after insulin', (s) =>
    s.texts.includes(texts.store(50)) ? s : undefined);
  note('Secrete Insulin: "Glycogen store 50"');
  await until(cdp, 'the store said', (s) => s.status.includes('Glycogen store 50.') ? s : undefined);
  note('the live region says "Glycogen store 50."');
  const lowered = await until(cdp, 'the level after insulin', (s) =>
    s.level < before_insulin - 9 ? s : undefined);
  after_ticks(before_insulin, -10, lowered.level, 'insulin');

  // Stop; a quantity chosen in the list, and a value typed.
  await control(page, 'button', 'Stop').dispatchEvent('click');
  const stopped = await until(cdp, 'Stop reads Start', (s) => s.buttons[0] === 'Start' ? s : undefined);
  await control(page, 'combobox', 'Variable').focus();
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ArrowDown');
  const chosen = await until(cdp, 'the meal\'s input chosen', (s) =>
    s.field.value === '40' && s.list.value === 'glucose input from a meal' ? s : undefined);
  expect_state(chosen, texts, { running: false, chosen: 2, value: '40', diabetic: false, store: 50,
                                level: stopped.level }, 'after choosing the meal\'s input');
  await control(page, 'textbox', 'Value').focus();
  await page.keyboard.press('Control+A');
  await page.keyboard.type('-60');
  const typed = await until(cdp, 'the typed value', (s) => s.field.value === '-60' ? s : undefined);
  note('the value box reads -60');
  // Enter moves the focus to the list, as on the desktop.
  await page.keyboard.press('Enter');
  await until(cdp, 'Enter moves the focus to the list', (s) => s.focused === 'Variable' ? s : undefined);
  note('Enter in the value box moves the focus to the list');
  await control(page, 'button', 'Start').dispatchEvent('click');
  await until(cdp, 'the clock runs again', (s) => s.buttons[0] === 'Stop' ? s : undefined);
  await control(page, 'button', 'Eat a meal').dispatchEvent('click');
  const starved = await until(cdp, 'the meal of -60', (s) => s.level < typed.level - 30 ? s : undefined);
  after_ticks(typed.level, -60, starved.level, 'a meal of -60');

  // "Diabetic?" blocks insulin.
  await control(page, 'checkbox', 'Diabetic?').focus();
  await page.keyboard.press('Space');
  const diabetic = await until(cdp, 'Diabetic? checked', (s) => s.check.checked === 'true' ? s : undefined);
  note('Space checks "Diabetic?"');
  const before_blocked = diabetic.level;
  await control(page, 'button', 'Secrete Insulin').dispatchEvent('click');
  const blocked = await until(cdp, 'two ticks', (s) => s.level <= before_blocked - 2 ? s : undefined);
  check(blocked.texts.includes(texts.store(50)) && blocked.level >= before_blocked - 4,
        'insulin does nothing while "Diabetic?" is checked', JSON.stringify(blocked.texts));

  // Reset: the start values, said; "Diabetic?" stays as it was.
  await control(page, 'button', 'Reset').dispatchEvent('click');
  const reset = await until(cdp, 'the start values', (s) =>
    s.level === 100 && s.buttons[0] === 'Start' ? s : undefined);
  expect_state(reset, texts, { running: false, chosen: 0, value: '-1', diabetic: true, store: 40,
                               level: 100 }, 'after Reset');
  await until(cdp, 'Reset said', (s) => s.status === texts.reset ? s : undefined);
  note(`the live region says "${texts.reset}"`);
  const bar_reset = await bar_seen(page);
  check(bar_reset.height === at_100.height, 'the bar in the window stands at 100 again',
        `${at_100.height} vs ${bar_reset.height} pixels`);

  check(problems.length === 0, 'no errors in the console', problems.join('; '));
  await close();
}

// The centre of the element that stands over a control: where the control is.
async function centre(page, id) {
  const box = await page.locator(`#${id}`).boundingBox();
  return { x: box.x + box.width / 2, y: box.y + box.height / 2 };
}

async function touch_road(url) {
  const { page, cdp, problems, close } = await launch('en-US', { hasTouch: true });
  await page.goto(url);
  await until(cdp, 'the window\'s controls in the tree', (s) => s.level === 100 ? s : undefined);
  const tap = async (id) => {
    const { x, y } = await centre(page, id);
    await page.touchscreen.tap(x, y);
  };
  await tap('glukara-cmd_button_0');
  const ticked = await until(cdp, 'a tick after a tap on Start', (s) => s.level < 100 ? s : undefined);
  check(ticked.buttons[0] === 'Stop', 'one tap on Start starts the clock', ticked.buttons[0]);
  const before_meal = ticked.level;
  await tap('glukara-cmd_button_1');
  const fed = await until(cdp, 'the meal after a tap', (s) => s.level > before_meal ? s : undefined);
  after_ticks(before_meal, 40, fed.level, 'one tap on Eat a meal, one meal');

  // The value box: a tap gives a real text field the focus, which brings up
  // a tablet's keyboard; what it types reaches the window.
  await tap('glukara-value_inputbox');
  const focused = await page.evaluate(() => [document.activeElement.tagName,
                                             document.activeElement.type,
                                             document.activeElement.id].join(' '));
  check(focused === 'INPUT text glukara-value_inputbox', 'a tap on the Value box focuses a text field',
        focused);
  // As an on-screen keyboard edits: the text's end, two deletions, and
  // inserted text.
  await page.evaluate(() => {
    const field = document.activeElement;
    field.setSelectionRange(field.value.length, field.value.length);
  });
  await page.keyboard.press('Backspace');
  await page.keyboard.press('Backspace');
  await page.keyboard.insertText('-3');
  const typed = await until(cdp, 'the typed resting use', (s) => s.field.value === '-3' ? s : undefined);
  check(typed.list.value === 'resting glucose use', 'the tapped text went to the resting use',
        typed.list.value);
  // The resting use is now 3 a tick.
  const a = (await until(cdp, 'a tick', (s) => s.level < typed.level ? s : undefined)).level;
  const b = (await until(cdp, 'another tick', (s) => s.level < a ? s : undefined)).level;
  check((a - b) % 3 === 0 && a - b >= 3, 'each tick now takes 3', `${a} -> ${b}`);
  await page.screenshot({ path: path.join(out, 'glukara-web-touch.png') });
  check(problems.length === 0, 'no errors in the console', problems.join('; '));
  await close();
}

(async () => {
  const server = await serve(site);
  try {
    await screen_reader_road(server.url, languages.en);
    await screen_reader_road(server.url, languages.de);
    await touch_road(server.url);
  } catch (e) {
    fail(e.message);
  }
  server.stop();
  finish();
})();
