// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// axe-core, the rule engine of Lighthouse and of Deque's own checkers, on the
// page as a screen reader's pupil meets it in Chromium: the WCAG 2.2 A and AA
// rules and the best practices, in every state the page takes: at the start,
// while time runs after a meal, with the run-time error box open, after Quit,
// in German, and as the one file glukara.html.
//   node axe_page.js SITE_DIR
'use strict';
const fs = require('fs');
const path = require('path');
const { open_chromium } = require('./engines/chromium.js');
const { check, fail, note, finish } = require('./lib/tally.js');
const { start_deadline_ms, poll } = require('./lib/wait.js');
const { serve } = require('./lib/serve.js');

const [site] = process.argv.slice(2);
const axe_source = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');
const rules = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22a', 'wcag22aa', 'best-practice',
               'glukara'];

// No rule of axe's own asks a group for a name, yet a group without one
// tells a screen reader's pupil nothing on the way in: the window's frames
// must be named, with axe's own checks for an accessible name.
const frame_rule = {
  id: 'glukara-frame-named',
  selector: '#glukara-layer [role=group]',
  any: ['aria-label', 'aria-labelledby', 'non-empty-title'],
  tags: ['glukara'],
  metadata: { impact: 'serious', help: 'A frame\'s group must have a name',
              description: 'Each of the window\'s frames is a group named by its caption' },
};

// Runs axe on the page as it stands; one check per state, failing with every
// violation's rule, impact and elements.
async function audit(page, where) {
  // Evaluated through the browser's debugging protocol, which the page's own
  // Content-Security-Policy does not govern.
  if (!await page.evaluate(() => typeof window.axe === 'object')) {
    await page.evaluate(axe_source);
    await page.evaluate((rule) => window.axe.configure({ rules: [rule] }), frame_rule);
  }
  const result = await page.evaluate((tags) =>
    window.axe.run(document, { runOnly: { type: 'tag', values: tags }, resultTypes: ['violations'] })
        .then((r) => r.violations.map((v) => ({
          id: v.id, impact: v.impact, help: v.help,
          nodes: v.nodes.map((n) => n.target.join(' ')),
        }))), rules);
  const described = result.map((v) => `${v.id} (${v.impact}): ${v.help} at ${v.nodes.join(', ')}`);
  check(result.length === 0, `${where}: no violation of WCAG 2.2 A/AA or best practice`,
        described.length ? described.join('; ') : undefined);
}

const until = (page, what, fn, arg, wait_ms) =>
  poll({ check }, what, () => page.evaluate(fn, arg).catch(() => undefined), (v) => v, { wait_ms });

async function window_shown(page) {
  await until(page, 'the window\'s controls in the page', () =>
    document.querySelectorAll('#glukara-layer button').length === 7 &&
        !document.getElementById('glukara-layer').hidden, undefined, start_deadline_ms);
}

// The layer's elements stand for the window's controls: a click on one is a
// click on its control.
const press = (page, id) => page.evaluate((i) => document.getElementById(i).click(), id);

async function served(url) {
  const { page, problems, close } = await open_chromium({ locale: 'en-US' });
  try {
    await page.goto(url);
    await window_shown(page);
    await audit(page, 'at the start');

    await press(page, 'glukara-cmd_button_0');
    await press(page, 'glukara-cmd_button_1');
    await until(page, 'a message after the first tick', () =>
      /normal limits|acceptable|too high/.test(document.getElementById('glukara-info_text_0').textContent));
    await audit(page, 'while time runs after a meal');

    // Two meals of 3e38 between the same two ticks overflow single precision.
    await page.selectOption('#glukara-variable_combo', { index: 2 });
    await until(page, 'the meal\'s input in the Value box', () =>
      document.getElementById('glukara-value_inputbox').value === '40');
    await page.fill('#glukara-value_inputbox', '3e38');
    await page.evaluate(() => {
      document.getElementById('glukara-cmd_button_1').click();
      document.getElementById('glukara-cmd_button_1').click();
    });
    await until(page, 'the run-time error box', () =>
      document.querySelector('#glukara-layer [role=alertdialog]') !== null);
    await audit(page, 'with the run-time error box open');
    await page.evaluate(() =>
      document.querySelector('#glukara-layer [role=alertdialog] button').click());
    await until(page, 'the box closed', () =>
      document.querySelector('#glukara-layer [role=alertdialog]') === null);

    await press(page, 'glukara-cmd_button_3');
    await until(page, 'the notice after Quit', () =>
      !document.getElementById('notice').hidden &&
          document.getElementById('message').textContent === 'Glukara has ended.');
    await audit(page, 'after Quit');
    check(problems.length === 0, 'no errors in the console', problems.join('; ') || undefined);
  } finally {
    await close();
  }
}

async function in_language(url, locale, where) {
  const { page, close } = await open_chromium({ locale });
  try {
    await page.goto(url);
    await window_shown(page);
    await audit(page, where);
  } finally {
    await close();
  }
}

(async () => {
  const server = await serve(site);
  try {
    await served(server.url);
    await in_language(server.url, 'de-DE', 'in German');
    await in_language('file://' + path.resolve(site, 'glukara.html'), 'en-US', 'glukara.html');
  } catch (e) {
    fail(e.stack);
  } finally {
    await server.stop();
  }
  note('axe-core ' + JSON.parse(fs.readFileSync(require.resolve('axe-core/package.json'))).version);
  finish();
})();
