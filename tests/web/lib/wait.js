// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Waiting for the change a test expects, with a deadline and never for a
// fixed time, so that a busy machine only slows the tests down.
'use strict';

// How long a change may take to show: a tick, a press, a redraw.
const deadline_ms = 30000;
// Starting the page compiles its WebAssembly, which a loaded machine's
// WebKitGTK has been seen to take 48 s for, with both cores busy.
const start_deadline_ms = 180000;
// Between two looks that take screenshots: on two busy cores, back-to-back
// screenshots starve the page that is to change.
const screenshot_pause_ms = 100;
// Between two looks that only ask the page or the browser.
const question_pause_ms = 50;

const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Asks `ask()` again until `probe(answer)` gives something other than
// undefined, null or false, and returns that. At the deadline it counts a
// failure with `tally`, saying what it last saw (`describe(answer)`), calls
// `gave_up(answer)` if given, and throws.
async function poll(tally, what, ask, probe, { describe = (v) => JSON.stringify(v),
                                             wait_ms = deadline_ms,
                                             pause_ms = question_pause_ms,
                                             gave_up } = {}) {
  const end = Date.now() + wait_ms;
  for (;;) {
    const seen = await ask();
    const found = await probe(seen);
    if (found !== undefined && found !== null && found !== false)
      return found;
    if (Date.now() > end) {
      tally.check(false, `in time: ${what}`, describe(seen));
      if (gave_up)
        gave_up(seen);
      throw new Error(`gave up waiting: ${what}`);
    }
    await pause(pause_ms);
  }
}

module.exports = { deadline_ms, start_deadline_ms, screenshot_pause_ms, question_pause_ms, pause,
                   poll };
