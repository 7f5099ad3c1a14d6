// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Drives glukara's page as a pupil uses it, in one browser engine:
//   node drive_page.js ENGINE SITE OUT_DIR
// ENGINE is chromium, firefox or webkit (the last two want an X display).
// SITE is a folder, served here on the loopback interface and opened at its
// index.html, or an address to open as it is (http:, https: or file:, such
// as a page of one file). Screenshots go to OUT_DIR.
'use strict';
const fs = require('fs');
const path = require('path');
const { drive } = require('./road.js');
const { serve } = require('./lib/serve.js');

const engines = ['chromium', 'firefox', 'webkit'];
const [engine_name, site, out] = process.argv.slice(2);
if (!engines.includes(engine_name) || !site || !out) {
  console.error(`usage: node drive_page.js ${engines.join('|')} SITE_DIR|URL OUT_DIR`);
  process.exit(2);
}

(async () => {
  const engine = require(`./engines/${engine_name}.js`);
  const is_folder = fs.existsSync(site) && fs.statSync(site).isDirectory();
  const server = is_folder ? await serve(path.resolve(site)) : null;
  const url = server ? server.url : site;
  let result;
  try {
    console.log(`${engine.name}: ${url}`);
    result = await drive(engine, url, out);
  } finally {
    if (server)
      server.stop();
  }
  console.log(`${engine.name}: ${result.passes} passed, ${result.failures} failed`);
  process.exit(result.failures === 0 ? 0 : 1);
})().catch((e) => {
  console.log(`FAIL: ${e.stack}`);
  process.exit(1);
});
