// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Debian's Firefox ESR through puppeteer-core over WebDriver BiDi. It draws
// WebGL only with an X display: run it under Xvfb.
'use strict';
const puppeteer = require('puppeteer-core');

const viewport = { width: 1024, height: 768 };

async function launch({ language, without }) {
  const prefs = { 'intl.accept_languages': language };
  if (without === 'webgl')
    prefs['webgl.disabled'] = true;
  if (without === 'webassembly')
    prefs['javascript.options.wasm'] = false;
  const browser = await puppeteer.launch({
    browser: 'firefox',
    executablePath: '/usr/bin/firefox-esr',
    headless: true,
    extraPrefsFirefox: prefs,
  });
  const page = (await browser.pages())[0] || (await browser.newPage());
  await page.setViewport(viewport);
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
  return {
    problems,
    goto: (url) => page.goto(url),
    screenshot: () => page.screenshot(),
    click: (x, y) => page.mouse.click(x, y),
    move: (x, y) => page.mouse.move(x, y),
    // 'Control+A': the modifiers held while the last key is pressed, a
    // letter as it comes without Shift.
    press: async (keys) => {
      const [key, ...held] = keys.split('+').reverse();
      for (const k of held)
        await page.keyboard.down(k);
      await page.keyboard.press(key.length === 1 ? key.toLowerCase() : key);
      for (const k of held)
        await page.keyboard.up(k);
    },
    type: (text) => page.keyboard.type(text),
    evaluate: (fn, arg) => page.evaluate(fn, arg),
    close: () => browser.close(),
  };
}

module.exports = { name: 'Firefox', launch };
