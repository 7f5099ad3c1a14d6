// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The tally of a page test: each check printed as it is made, with what was
// seen, and the totals with the exit code at the end.
'use strict';

let passes = 0, failures = 0;

function check(ok, what, seen) {
  console.log(`${ok ? 'PASS' : 'FAIL'}: ${what}${seen === undefined ? '' : ` (seen: ${seen})`}`);
  if (ok)
    ++passes;
  else
    ++failures;
  return ok;
}

// A road that could not go on: what stopped it.
function fail(what) {
  console.log(`FAIL: ${what}`);
  ++failures;
}

function finish() {
  console.log(`Totals: ${passes} passed, ${failures} failed`);
  process.exit(failures === 0 ? 0 : 1);
}

module.exports = { check, fail, finish };
