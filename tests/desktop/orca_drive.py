#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives glukara with keystrokes only, as a blind student does with the real
Orca screen reader running, and checks what Orca says after each step.
orca_drive.py PROGRAM"""
import os
import re
import sys
import time

from orca_session import Failure, button_said, run_session

NORMAL = "The blood glucose level is within normal limits."
# The band messages by their lowest level, as the tick chooses them.
BANDS = [
    (146, "Blood glucose is far too high."),
    (136, "Blood glucose is too high and cells will be losing water"),
    (101, "Blood glucose is high but still within the acceptable range."),
    (90, NORMAL),
    (71, "Blood glucose is low but still within the acceptable range."),
]
LEVEL = re.compile(r"Blood glucose (\d+) mg per 100 ml")


def band_of(level):
    for lowest, message in BANDS:
        if level >= lowest:
            return message
    return None


def main(program):
    return run_session(run, "Orca says what happens in glukara", program,
                       on_failure=print_program_log)


def program_log(s):
    return os.path.join(s.home, "glukara.log")


def print_program_log(s):
    # Qt warns there when Orca answered a key too late to keep it.
    if os.path.exists(program_log(s)):
        with open(program_log(s), errors="replace") as log:
            print("glukara's messages:\n" + log.read())


def step(s, what, *keys):
    since = s.mark(what)
    s.key(*keys)
    return since


def run(s, program):
    since = s.mark("glukara starts")
    with open(program_log(s), "w") as log:
        s.spawn(program, stderr=log)
    s.wait_for('the window\'s title "Glukara" when it opens',
               lambda t: t.startswith("Glukara"), since, 30)
    s.wait_for("the focused Start button", lambda t: button_said("Start", t), since)
    s.wait_quiet(1)

    since = step(s, "space on Start", "space")
    s.wait_for('"Stop" for the running time', lambda t: "Stop" in t and "Time runs" in t, since)
    s.wait_for("the first band message", lambda t: NORMAL in t, since, 10)
    s.wait_quiet(1.5)

    since = s.mark("five seconds of steady running")
    time.sleep(5)
    steady = s.said_since(since)
    if len(steady) > 2:
        raise Failure(f"{len(steady)} utterances in five seconds of steady running")

    since = step(s, "Tab to Eat a meal, space", "Tab")
    s.wait_for("the focused Eat a meal button", lambda t: button_said("Eat a meal", t), since)
    s.key("space")

    def level_with_its_message(text):
        level = LEVEL.search(text)
        return level and int(level.group(1)) > 100 and band_of(int(level.group(1))) in text

    s.wait_for("the level after the meal with its message", level_with_its_message, since)
    s.wait_quiet(1)

    since = step(s, "Tab four times to the Value box", "Tab", "Tab", "Tab", "Tab")
    s.wait_for("the Value box", lambda t: "Value text" in t, since)
    s.wait_quiet(1)
    value_box = s.said_since(since)
    if "-1 selected." not in value_box or any(t.startswith("- ") for t in value_box):
        raise Failure(f"the Value box was not read whole as '-1': {value_box}")

    since = step(s, "Tab to the Diabetic? box", "Tab")
    s.wait_for("the Diabetic? box", lambda t: "Diabetic?" in t, since)
    s.wait_quiet(1)

    # Asked where a late key is harmless: Qt gives Orca a tenth of a second to
    # take a key for itself and then hands it to the window, where KP_Enter
    # would press a focused button; a check box ignores Enter.
    since = s.mark("Orca+KP_Enter: read the title")
    s.orca_key("KP_Enter")
    s.wait_for('the title "Glukara"', lambda t: "Glukara" in t, since)
    s.wait_quiet(1)

    since = step(s, "Tab, Tab to Secrete Insulin, space", "Tab", "Tab")
    s.wait_for("the focused Secrete Insulin button",
               lambda t: button_said("Secrete Insulin", t), since)
    s.key("space")
    s.wait_for('"Glycogen store 50" after insulin', lambda t: "Glycogen store 50" in t, since)
    s.wait_for("the level after insulin", lambda t: LEVEL.search(t) is not None, since)
    s.wait_quiet(1)

    since = step(s, "Tab four times to Go for a run, space", "Tab", "Tab", "Tab", "Tab")
    s.wait_for("the focused Go for a run button", lambda t: button_said("Go for a run", t),
               since)
    s.key("space")
    s.wait_for('"Take a rest" for the running person',
               lambda t: "running" in t and "Take a rest" in t, since)
    s.wait_quiet(1)

    # On demand: the review of the window from its top line down.
    since = s.mark("Orca+KP_Home, then KP_Page_Up: review the window line by line")
    s.orca_key("KP_Home")
    lines = []
    for _ in range(12):
        s.wait_quiet(0.5)
        lines = s.said_since(since)
        if any("Glycogen store 50" in t for t in lines):
            break
        s.key("KP_Page_Up")
    if not any(LEVEL.search(t) for t in lines):
        raise Failure(f"no line of the review holds the level with its unit: {lines}")
    if not any("Glycogen store 50" in t for t in lines):
        raise Failure(f'no line of the review holds "Glycogen store 50": {lines}')


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
