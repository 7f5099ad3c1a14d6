// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// WebKitGTK, Safari's engine, through Debian's WebKitWebDriver, which speaks
// the W3C WebDriver protocol over HTTP and opens its MiniBrowser on the X
// display: run it under Xvfb.
'use strict';
const { spawn, execFileSync } = require('child_process');
const fs = require('fs');
const net = require('net');
const os = require('os');
const path = require('path');
const { deadline_ms, pause, screenshot_pause_ms } = require('../lib/wait.js');

// WebKitGTK takes the browser's language from the locale it runs in, which
// must exist: compiled here from Debian's locale sources into a folder of
// our own rather than into the system's.
const locales = fs.mkdtempSync(path.join(os.tmpdir(), 'glukara-locales-'));
process.on('exit', () => fs.rmSync(locales, { recursive: true, force: true }));
function locale_for(language) {
  const name = `${language.replace('-', '_')}.UTF-8`;
  if (!fs.existsSync(path.join(locales, name)))
    execFileSync('localedef', ['-i', language.replace('-', '_'), '-f', 'UTF-8',
                               path.join(locales, name)]);
  return name;
}

function free_port() {
  return new Promise((resolve, reject) => {
    const server = net.createServer();
    server.on('error', reject);
    server.listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

// WebDriver's codes for the keys that are not characters.
const key_codes = { ArrowDown: '\uE015', ArrowUp: '\uE013', Control: '\uE009', Shift: '\uE008' };
const key_of = (name) => key_codes[name] || (name.length === 1 ? name.toLowerCase() : undefined);

// Console errors and uncaught errors in the page, kept from the first
// script that the driver runs in each document: WebDriver over HTTP gives no
// access to the console itself.
const watch = `
  if (!window.glukaraSeenProblems) {
    const seen = window.glukaraSeenProblems = [];
    const error = console.error;
    console.error = (...parts) => {
      seen.push('console error: ' + parts.join(' '));
      error.apply(console, parts);
    };
    window.addEventListener('error', (e) => seen.push(
        'page error: ' + e.message + ' at ' + e.filename + ':' + e.lineno + ':' + e.colno +
        (e.error && e.error.stack ? ' (' + e.error.stack + ')' : '')));
    window.addEventListener('unhandledrejection', (e) => seen.push(
        'unhandled rejection: ' + e.reason + (e.reason && e.reason.stack ? ' (' + e.reason.stack + ')' : '')));
  }`;

async function launch({ language, without }) {
  // WebKitGTK has a setting for WebGL, which the MiniBrowser takes from its
  // command line, and none for WebAssembly; nor can a script be given to run
  // before the page's own over WebDriver.
  if (without === 'webassembly')
    return null;
  const settings = without === 'webgl' ? ['--enable-webgl=false'] : [];
  const port = await free_port();
  const locale = locale_for(language);
  const driver = spawn('WebKitWebDriver', [`--port=${port}`], {
    stdio: ['ignore', 'pipe', 'pipe'],
    env: { ...process.env, LOCPATH: locales, LANG: locale, LC_ALL: locale, LANGUAGE: '' },
  });
  let said = '';
  driver.stdout.on('data', (d) => { said += d; });
  driver.stderr.on('data', (d) => { said += d; });
  const ended = new Promise((resolve) => driver.on('exit', resolve));
  const base = `http://127.0.0.1:${port}`;

  async function call(method, url, body) {
    const response = await fetch(base + url, {
      method,
      headers: { 'Content-Type': 'application/json' },
      body: body === undefined ? undefined : JSON.stringify(body),
    });
    const answer = await response.json();
    if (!response.ok)
      throw Object.assign(new Error(`WebDriver ${method} ${url}: ${JSON.stringify(answer.value)}`),
                          { answer: answer.value });
    return answer.value;
  }

  const end = Date.now() + 30000;
  for (;;) {
    try {
      if ((await call('GET', '/status')).ready)
        break;
    } catch (e) {
      if (Date.now() > end) {
        driver.kill();
        throw new Error(`WebKitWebDriver did not answer: ${e.message}; it said: ${said}`);
      }
      await new Promise((resolve) => setTimeout(resolve, 100));
    }
  }
  const session = await call('POST', '/session', {
    capabilities: { alwaysMatch: { 'webkitgtk:browserOptions': { args: ['--automation', ...settings] } } },
  });
  const at = `/session/${session.sessionId}`;
  await call('POST', `${at}/window/rect`, { width: 1024, height: 800 });

  // The page's problems are read from where the last answer left off, not
  // taken out of the page, so that an answer lost on the way loses none.
  const problems = [];
  let problems_read = 0;
  let document_seen = null;
  async function evaluate(fn, arg) {
    const ask = () => call('POST', `${at}/execute/sync`, {
      script: `${watch}
               if (!window.glukaraDocument)
                 window.glukaraDocument = String(Math.random());
               const value = (${fn}).apply(null, arguments[0]);
               const glukaraPage = window.glukaraDocument;
               return { value, document: glukaraPage,
                        problems: window.glukaraSeenProblems.slice(glukaraPage === arguments[1] ? arguments[2] : 0) };`,
      args: [arg === undefined ? [] : [arg], document_seen, problems_read],
    });
    // Now and then, on a loaded machine, WebKitWebDriver cannot parse the
    // answer of a script that ran; the scripts that the tests run only read
    // the page or do what may be done twice, so asking again is safe.
    let answer;
    for (let attempt = 1; ; ++attempt) {
      try {
        answer = await ask();
        break;
      } catch (e) {
        if (attempt === 3 || !/Could not parse script result/.test(e.message))
          throw e;
        console.error(`WebKitWebDriver could not parse a script's answer; asked again (${attempt})`);
      }
    }
    if (answer.document !== document_seen) {
      document_seen = answer.document;
      problems_read = 0;
    }
    problems.push(...answer.problems);
    problems_read += answer.problems.length;
    return answer.value;
  }
  const actions = (list) => call('POST', `${at}/actions`, { actions: list });
  const keys = (list) => actions([{ type: 'key', id: 'keyboard', actions: list }]);
  const pointer = (list) => actions([{
    type: 'pointer', id: 'mouse', parameters: { pointerType: 'mouse' }, actions: list,
  }]);
  const move_to = (x, y) => ({ type: 'pointerMove', origin: 'viewport', duration: 0,
                               x: Math.round(x), y: Math.round(y) });

  return {
    problems,
    goto: async (url) => {
      await call('POST', `${at}/url`, { url });
      await evaluate(() => null);
    },
    // On two busy cores WebKitGTK has answered a screenshot just after the
    // page loaded with an "unknown error" and no message, as its driver does
    // when its snapshot of the view comes back empty. That is asked again, up
    // to the deadline of a change; any other failure stands at once.
    screenshot: async () => {
      const end = Date.now() + deadline_ms;
      for (;;) {
        try {
          return Buffer.from(await call('GET', `${at}/screenshot`), 'base64');
        } catch (e) {
          const empty_unknown = e.answer?.error === 'unknown error' && !e.answer.message;
          if (!empty_unknown || Date.now() > end)
            throw e;
          await pause(screenshot_pause_ms);
        }
      }
    },
    click: (x, y) => pointer([move_to(x, y), { type: 'pointerDown', button: 0 },
                              { type: 'pointerUp', button: 0 }]),
    move: (x, y) => pointer([move_to(x, y)]),
    // 'Control+A': the modifiers held while the last key is pressed.
    press: (combination) => {
      const named = combination.split('+').map(key_of);
      return keys([...named.map((value) => ({ type: 'keyDown', value })),
                   ...named.reverse().map((value) => ({ type: 'keyUp', value }))]);
    },
    type: (text) => keys([...text].flatMap((value) => [{ type: 'keyDown', value },
                                                       { type: 'keyUp', value }])),
    evaluate,
    close: async () => {
      try {
        await call('DELETE', at);
      } finally {
        driver.kill();
        await ended;
      }
    },
  };
}

module.exports = { name: 'WebKitGTK', launch };
