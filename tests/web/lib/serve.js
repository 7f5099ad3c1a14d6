// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Serves a folder as a plain static web server does: Python's, on the
// loopback interface, at a port the system chooses.
'use strict';
const { spawn } = require('child_process');

// Resolves to { url, stop() } once the server listens; at `port` if given,
// to serve another version of a site at the same address.
function serve(folder, port = 0) {
  return new Promise((resolve, reject) => {
    const server = spawn('python3', ['-u', '-m', 'http.server', String(port), '--bind', '127.0.0.1',
                                     '--directory', folder],
                         { stdio: ['ignore', 'pipe', 'pipe'] });
    let said = '';
    const timer = setTimeout(() => {
      server.kill();
      reject(new Error(`the web server did not start: ${said}`));
    }, 30000);
    server.on('error', reject);
    server.stderr.on('data', () => {});
    server.stdout.on('data', (chunk) => {
      said += chunk;
      const port = /Serving HTTP on 127\.0\.0\.1 port (\d+)/.exec(said);
      if (port) {
        clearTimeout(timer);
        // stop() resolves once the port is free again.
        const stop = () => new Promise((done) => {
          if (server.exitCode !== null || server.signalCode !== null)
            return done();
          server.once('exit', () => done());
          server.kill();
        });
        resolve({ url: `http://127.0.0.1:${port[1]}/`, stop });
      }
    });
  });
}

module.exports = { serve };
