#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""A German pupil with the real Orca screen reader types a number with a
decimal comma, and hears it written back with a comma: in the Value box after
the list has moved away and back, and in the glycogen store after insulin.
orca_numbers.py PROGRAM"""
import sys

from orca_session import Failure, button_said, run_session

# The window speaks German; Orca itself speaks English, as the session's locale.
GERMAN = {"LC_ALL": "de_DE.UTF-8", "LANG": "de_DE.UTF-8", "LANGUAGE": ""}


def main(program):
    return run_session(run, "Orca hears the German window's numbers with a decimal comma", program)


def value_box(s, since, text):
    """Waits for Orca to name the Value box, "Wert", and to read its text as text."""
    s.wait_for('the Value box, "Wert"', lambda t: "Wert" in t, since)
    s.wait_quiet(1)
    heard = s.said_since(since)
    if f"{text} selected." not in heard:
        raise Failure(f"the Value box was not read as '{text}': {heard}")


def run(s, program):
    since = s.mark("glukara starts in German")
    s.spawn(program, extra_env=GERMAN)
    s.wait_for("the focused Start button", lambda t: button_said("Start", t), since, 30)
    s.wait_quiet(1)

    since = s.mark("Tab five times to the Value box")
    s.key("Tab", "Tab", "Tab", "Tab", "Tab")
    value_box(s, since, "-1")

    since = s.mark("Shift+Tab to the list, Down three times to the effect of insulin")
    s.key("shift+Tab")
    s.wait_for('the list, "Größe"', lambda t: "Größe" in t, since)
    s.key("Down", "Down", "Down")
    s.wait_for("the effect of insulin", lambda t: "Wirkung von Insulin" in t, since)
    s.wait_quiet(1)
    since = s.mark("Tab to the Value box")
    s.key("Tab")
    value_box(s, since, "-10")

    s.mark("type -1,5 over it")
    s.key("ctrl+a", "minus", "1", "comma", "5")
    s.wait_quiet(1)

    since = s.mark("Shift+Tab to the list, Up and Down: away and back")
    s.key("shift+Tab")
    s.wait_for('the list, "Größe"', lambda t: "Größe" in t, since)
    s.key("Up")
    s.wait_for("the meal's input", lambda t: "Glucosezufuhr pro Mahlzeit" in t, since)
    since = s.mark("Down")
    s.key("Down")
    s.wait_for("the effect of insulin again", lambda t: "Wirkung von Insulin" in t, since)
    s.wait_quiet(1)

    since = s.mark("Tab to the Value box")
    s.key("Tab")
    value_box(s, since, "-1,5")

    since = s.mark("Tab five times to Start, space")
    s.key("Tab", "Tab", "Tab", "Tab", "Tab")
    s.wait_for("the focused Start button", lambda t: button_said("Start", t), since)
    s.key("space")
    s.wait_for("time running", lambda t: "Stopp" in t, since)
    s.wait_quiet(1)

    # 40 - (-1,5) moves into the store.
    since = s.mark("Shift+Tab twice to Secrete Insulin, space")
    s.key("shift+Tab", "shift+Tab")
    s.wait_for("the focused Secrete Insulin button",
               lambda t: button_said("Insulin abgeben", t), since)
    s.key("space")
    s.wait_for('"Glykogenspeicher 41,5" after insulin',
               lambda t: "Glykogenspeicher 41,5" in t, since)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
