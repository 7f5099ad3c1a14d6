// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Runs a QtTest program built for WebAssembly under Node and ends with its
// exit code: node run_wasm_test.js PROGRAM.js [test arguments...]
'use strict';
const fs = require('fs');
const path = require('path');

const [program, ...args] = process.argv.slice(2);
// Qt's build makes a module factory, to be given its arguments and told
// what to do with its output and its end. This runtime would fetch its
// WebAssembly as from a web server; it is handed the file instead.
const create = require(path.resolve(program));
create({
  wasmBinary: fs.readFileSync(program.replace(/\.js$/, '.wasm')),
  arguments: args,
  print: (text) => console.log(text),
  printErr: (text) => console.error(text),
  quit: (code) => process.exit(code),
  onAbort: (what) => {
    console.error(`aborted: ${what}`);
    process.exit(134);
  },
});
