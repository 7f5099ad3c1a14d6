// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The tally of a page test: each check printed as it is made, with what was
// seen, and the totals. A check asserts what its label says; what a test
// only reports (a wait that ended, a time it measured) is a note, printed
// and not counted.
'use strict';

// A tally whose lines begin with `prefix` (an engine's name), if given.
function tally(prefix) {
  const lead = prefix ? `${prefix}: ` : '';
  const counts = { passes: 0, failures: 0 };
  return {
    counts,
    check(ok, what, seen) {
      console.log(`${ok ? 'PASS' : 'FAIL'}: ${lead}${what}${seen === undefined ? '' : ` (seen: ${seen})`}`);
      if (ok)
        ++counts.passes;
      else
        ++counts.failures;
      return ok;
    },
    // A road that could not go on: what stopped it.
    fail(what) {
      console.log(`FAIL: ${lead}${what}`);
      ++counts.failures;
    },
    note(what) {
      console.log(`${lead}${what}`);
    },
  };
}

// The tally of a test that runs as a program of its own.
const own = tally();

function finish() {
  console.log(`Totals: ${own.counts.passes} passed, ${own.counts.failures} failed`);
  process.exit(own.counts.failures === 0 ? 0 : 1);
}

module.exports = { tally, check: own.check, fail: own.fail, note: own.note, finish };
