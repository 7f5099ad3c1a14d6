// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Debian's Chromium, headless, through playwright-core, with WebGL drawn in
// software by SwiftShader.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { chromium } = require('playwright-core');

const viewport = { width: 1024, height: 768 };

// Starts Chromium with a fresh profile and its first page, collecting what
// goes wrong in the page: console errors, uncaught errors, refused requests.
// `options` go to playwright's persistent context (locale, viewport, touch).
async function open_chromium(options = {}, extra_args = []) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'glukara-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           '--use-angle=swiftshader', '--enable-unsafe-swiftshader', ...extra_args],
    viewport,
    locale: 'en-US',
    ...options,
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
  return { context, page, problems, close };
}

async function launch({ language, without }) {
  const extra = without === 'webgl' ? ['--disable-webgl', '--disable-3d-apis'] : [];
  const { page, problems, close } = await open_chromium({ locale: language }, extra);
  // Chromium cannot be told to go without WebAssembly: the page is shown
  // one that has none.
  if (without === 'webassembly')
    await page.addInitScript(() => delete window.WebAssembly);
  return {
    problems,
    goto: (url) => page.goto(url),
    screenshot: () => page.screenshot(),
    click: (x, y) => page.mouse.click(x, y),
    move: (x, y) => page.mouse.move(x, y),
    press: (key) => page.keyboard.press(key),
    type: (text) => page.keyboard.type(text),
    evaluate: (fn, arg) => page.evaluate(fn, arg),
    close,
  };
}

module.exports = { name: 'Chromium', launch, open_chromium };
