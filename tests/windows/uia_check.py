# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""What a Windows screen reader finds in glukara.exe, read under wine with
the UI Automation client uia_client.exe, as NVDA or Narrator would read it:
every control with its name and control type, no element without a name,
the focus moving in the window's tab order, the new names and texts after
the program changes them, and the live region changes that make a screen
reader speak what happens while time runs; in English and in German.

Runs on an X server with a window manager, in a wine prefix made for it
(uia_check.sh sets both up).
    uia_check.py GLUKARA.exe UIA_CLIENT.exe WORKDIR"""
import os
import re
import subprocess
import sys
import time

GLUKARA, CLIENT, WORK = sys.argv[1:4]

# Where each control sits, what UI Automation calls it and the name a screen
# reader says for it: (parent's name, control type, name). The chart is a
# group named by its title holding a group named by the level; an empty
# message is named by its frame.
START_TREE = {
    "English": [
        ("Glukara", "Button", "Start"),
        ("Glukara", "Button", "Eat a meal"),
        ("Glukara", "Button", "Go for a run"),
        ("Glukara", "Button", "Quit"),
        ("Glukara", "Button", "Reset"),
        ("Glukara", "Button", "Secrete Insulin"),
        ("Glukara", "Button", "Secrete Glucagon"),
        ("Glukara", "Group", "Blood glucose (mg / 100 ml)"),
        ("Blood glucose (mg / 100 ml)", "Group", "Blood glucose 100 mg per 100 ml."),
        ("Glukara", "Group", "Information"),
        ("Information", "Text", "Information"),
        ("Glukara", "Group", "Glycogen store"),
        ("Glycogen store", "Text", "Glycogen store 40"),
        ("Glukara", "Group", "Settings"),
        ("Settings", "Text", "Variable"),
        ("Settings", "ComboBox", "Variable"),
        ("Variable", "Edit", "Variable"),
        ("Settings", "Text", "Value"),
        ("Settings", "Edit", "Value"),
        ("Settings", "CheckBox", "Diabetic?"),
    ],
    "German": [
        ("Glukara", "Button", "Start"),
        ("Glukara", "Button", "Mahlzeit essen"),
        ("Glukara", "Button", "Laufen gehen"),
        ("Glukara", "Button", "Beenden"),
        ("Glukara", "Button", "Neustart"),
        ("Glukara", "Button", "Insulin abgeben"),
        ("Glukara", "Button", "Glucagon abgeben"),
        ("Glukara", "Group", "Blutzucker (mg / 100 ml)"),
        ("Blutzucker (mg / 100 ml)", "Group", "Blutzucker 100 mg pro 100 ml."),
        ("Glukara", "Group", "Information"),
        ("Information", "Text", "Information"),
        ("Glukara", "Group", "Glykogenspeicher"),
        ("Glykogenspeicher", "Text", "Glykogenspeicher 40"),
        ("Glukara", "Group", "Einstellungen"),
        ("Einstellungen", "Text", "Größe"),
        ("Einstellungen", "ComboBox", "Größe"),
        ("Größe", "Edit", "Größe"),
        ("Einstellungen", "Text", "Wert"),
        ("Einstellungen", "Edit", "Wert"),
        ("Einstellungen", "CheckBox", "Diabetes"),
    ],
}

# The controls that take the focus, in tab order from "Start", which has it
# when the window opens; the list's focus is in its text field.
TAB_ORDER = [
    ("Button", "Eat a meal"),
    ("Button", "Go for a run"),
    ("Button", "Quit"),
    ("Edit", "Variable"),
    ("Edit", "Value"),
    ("CheckBox", "Diabetic?"),
    ("Button", "Reset"),
    ("Button", "Secrete Insulin"),
    ("Button", "Secrete Glucagon"),
    ("Button", "Start"),
]

# The glucose bands and their messages.
BANDS = [
    (90, 100, "The blood glucose level is within normal limits."),
    (101, 135, "Blood glucose is high but still within the acceptable range."),
    (71, 89, "Blood glucose is low but still within the acceptable range."),
    (136, 145, "Blood glucose is too high and cells will be losing water due to the low water "
     "potential of the blood plasma."),
    (146, 180, "Blood glucose is far too high. Tissues will be dehydrating and are likely to be "
     "seriously damaged."),
    (65, 70, "Blood glucose is below normal. This is likely to lead to tiredness and lack of "
     "concentration."),
    (40, 64, "Blood glucose is very low. The person will experience slurred speech and blurred "
     "vision."),
    (30, 39, "The person is unconscious.  This is hypoglycaemic coma."),
]

DEADLINE = 60


class Failure(Exception):
    pass


def band_message(level):
    for low, high, message in BANDS:
        if low <= level <= high:
            return message
    raise Failure(f"level {level} is outside the chart")


def wine_env(language):
    env = dict(os.environ, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
    env["LANG"] = language
    env.pop("LC_ALL", None)
    return env


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout.strip()


class Element:
    def __init__(self, depth, kind, name, box, parent):
        self.depth, self.kind, self.name, self.parent = depth, kind, name, parent
        self.box = [int(v) for v in box.split(",")]

    def centre(self):
        left, top, right, bottom = self.box
        return (left + right) // 2, (top + bottom) // 2

    def __str__(self):
        return f'{self.kind} "{self.name}" in "{self.parent}" at {",".join(map(str, self.box))}'


class Window:
    """glukara.exe under wine in one language, with a watcher of its events."""

    def __init__(self, language):
        self.env = wine_env(language)
        self.program = subprocess.Popen(["wine", GLUKARA], env=self.env, stdin=subprocess.DEVNULL,
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.id = self.wait_until("the window \"Glukara\"",
                                  lambda: xdotool("search", "--onlyvisible", "--name", "^Glukara$"))
        self.id = self.id.split()[0]
        self.events_file = os.path.join(WORK, f"events-{language}.txt")
        self.events_out = open(self.events_file, "w")
        self.watcher = subprocess.Popen(["wine", CLIENT, "watch", "3600"], env=self.env,
                                        stdin=subprocess.DEVNULL, stdout=self.events_out,
                                        stderr=subprocess.DEVNULL)
        self.seen = 0
        self.wait_event("the watcher's start", lambda kind, fields: kind == "watching")
        self.last_tree = []
        # The keys go where the focus is, once wine too has the window in front.
        xdotool("windowactivate", "--sync", self.id)
        self.wait_until("window of glukara's in front", self.in_front)

    def in_front(self):
        return subprocess.run(["wine", CLIENT, "foreground"], env=self.env,
                              stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=DEADLINE).returncode == 0

    def close(self):
        subprocess.run(["wineserver", "-k"], env=self.env)
        for process in (self.watcher, self.program):
            try:
                process.wait(timeout=20)
            except subprocess.TimeoutExpired:
                process.kill()
        self.events_out.close()

    def wait_until(self, what, condition, timeout=DEADLINE, seen=lambda: ""):
        end = time.monotonic() + timeout
        while True:
            result = condition()
            if result:
                return result
            if time.monotonic() > end:
                raise Failure(f"no {what} within {timeout} s{seen()}")
            time.sleep(0.1)

    # The events, a line each, as the watcher printed them.
    def events(self):
        with open(self.events_file, encoding="utf-8") as f:
            return [line.rstrip("\n").split("\t") for line in f if line.endswith("\n")]

    def wait_event(self, what, accept):
        """The first event after the last one waited for that accept takes."""

        def found():
            events = self.events()
            for index in range(self.seen, len(events)):
                if accept(events[index][0], events[index][1:]):
                    self.seen = index + 1
                    return events[index]
            return None

        def seen():
            return "; events since the last one awaited:\n" + "\n".join(
                "  " + " | ".join(event) for event in self.events()[self.seen:])

        return self.wait_until(what, found, seen=seen)

    def wait_live(self, text):
        """A live region change whose text begins with text, or matches the
        pattern text: what waited to be said goes out with the next."""
        pattern = text if isinstance(text, re.Pattern) else re.compile(re.escape(text))
        event = self.wait_event(f'live region change "{pattern.pattern}"',
                                lambda kind, fields: kind == "live" and pattern.match(fields[1]))
        return pattern.match(event[2])

    def tree(self):
        # Into a file, not a pipe: wine's server keeps its programs' output open.
        read = os.path.join(WORK, "tree.txt")
        with open(read, "w") as out:
            subprocess.run(["wine", CLIENT, "tree"], env=self.env, stdout=out,
                           stdin=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=DEADLINE)
        with open(read, encoding="utf-8") as f:
            lines = f.read().splitlines()
        elements, parents = [], []
        for line in lines:
            depth, kind, name, box = line.split("\t")
            depth = int(depth)
            del parents[depth:]
            elements.append(Element(depth, kind, name, box, parents[-1] if parents else ""))
            parents.append(name)
        self.last_tree = elements
        for element in elements:
            if not element.name:
                raise Failure(f"an element has no name: {element}")
        return elements

    def find(self, kind, name, parent=None):
        for element in self.tree():
            if element.kind == kind and element.name == name and parent in (None, element.parent):
                return element
        return None

    def wait_for(self, kind, name, parent=None):
        where = f' in "{parent}"' if parent else ""
        return self.wait_until(f'{kind} "{name}"{where}', lambda: self.find(kind, name, parent),
                               seen=self.shown_tree)

    def shown_tree(self):
        return "; the tree last read:\n" + "\n".join(
            "  " * e.depth + f'{e.kind} "{e.name}"' for e in self.last_tree)

    def remember_places(self):
        """Where each control is: the buttons are clicked there, by the
        caption they had at the start, without reading the tree again."""
        self.places = {(e.kind, e.name): e.centre() for e in self.tree()}

    def click(self, name, kind="Button"):
        x, y = self.places[(kind, name)]
        xdotool("mousemove", "--sync", str(x), str(y), "click", "1")

    def key(self, key):
        xdotool("key", key)


def check_start_tree(window, language):
    window.remember_places()
    tree = window.last_tree
    for parent, kind, name in START_TREE[language]:
        if not any(e.parent == parent and e.kind == kind and e.name == name for e in tree):
            raise Failure(f'no {kind} "{name}" in "{parent}"{window.shown_tree()}')
    print(f"PASS: {language}: every control is found with its name and control type, "
          f"and every element has a name")


def check_tab_order(window):
    for direction, key, order in (("Tab", "Tab", TAB_ORDER),
                                  ("Shift+Tab", "shift+Tab", TAB_ORDER[-2::-1] + [TAB_ORDER[-1]])):
        for kind, name in order:
            window.key(key)
            window.wait_event(f'focus event for {kind} "{name}" after {direction}',
                              lambda k, fields: k == "focus" and fields == [kind, name])
        print(f"PASS: {direction} moves the focus through the controls in tab order, "
              f"each focus event naming its control")


def chart_level(window):
    chart = [e for e in window.tree() if e.parent == "Blood glucose (mg / 100 ml)"]
    match = chart and re.match(r"Blood glucose (\d+) mg per 100 ml\.$", chart[0].name)
    if not match:
        raise Failure(f"the chart names no level{window.shown_tree()}")
    return int(match.group(1))


def said_level(window):
    """The next level told with its message, which must be its band's."""
    said = window.wait_live(re.compile(r"Blood glucose (\d+) mg per 100 ml\. (.+)$"))
    level = int(said.group(1))
    if said.group(2) != band_message(level):
        raise Failure(f'at {level} the message told was "{said.group(2)}"')
    return level


def check_changes(window):
    window.click("Start")
    window.wait_live("Time runs. The button now reads Stop.")
    window.wait_for("Button", "Stop")
    first = said_level(window)
    print(f"PASS: Start is told with the button's new caption, which the window reads, and the "
          f"first message with its level ({first})")

    # Insulin and a meal act while time runs.
    window.click("Secrete Insulin")
    window.wait_live("Glycogen store 50.")
    window.click("Eat a meal")
    fed = said_level(window)
    window.wait_for("Text", "Glycogen store 50", "Glycogen store")
    if not first < fed < first + 30:
        raise Failure(f"{fed} was told after insulin (-10) and a meal (+40) from {first}")
    print(f"PASS: Secrete Insulin is told with the new store, which the window reads, and after a "
          f"meal the level ({fed}) with its message")

    window.click("Start")
    window.wait_live("Time stands still. The button now reads Start.")
    window.wait_for("Button", "Start", "Glukara")
    level = chart_level(window)
    if level > fed:
        raise Failure(f"the chart reads {level} after {fed} was told")
    window.wait_for("Text", band_message(level), "Information")
    print(f"PASS: Stop is told, and the chart and the message read the last tick's level ({level}) "
          f"and its band's message")

    window.click("Reset")
    window.wait_live("Start values restored. Time stands still. Glycogen store 40. "
                     "Blood glucose 100 mg per 100 ml.")
    for kind, name, parent in (("Group", "Blood glucose 100 mg per 100 ml.", None),
                               ("Text", "Glycogen store 40", "Glycogen store"),
                               ("Text", "Information", "Information"),
                               ("Button", "Start", "Glukara")):
        window.wait_for(kind, name, parent)
    print("PASS: Reset is told with the start values, and the window reads them again")


def check_error_box(window):
    # An effect of insulin of -3e38 twice overflows the store.
    window.click("Value", "Edit")
    window.key("shift+Tab")
    window.wait_event("focus on the list", lambda k, fields: k == "focus" and fields[1] == "Variable")
    for _ in range(3):
        window.key("Down")
    window.key("Tab")
    window.wait_event("focus on the value", lambda k, fields: k == "focus" and fields[1] == "Value")
    window.key("ctrl+a")
    xdotool("type", "--", "-3e38")
    window.click("Start")
    window.wait_live("Time runs.")
    window.click("Secrete Insulin")
    window.wait_live("Glycogen store 3")
    window.click("Secrete Insulin")
    window.wait_event("focus on the error box's OK",
                      lambda k, fields: k == "focus" and fields == ["Button", "OK"])
    # The focus enters the group named by the error on its way to OK.
    window.wait_for("Button", "OK", "Run-time error '6': Overflow")
    window.wait_for("Text", "Run-time error '6':  Overflow", "Glukara")
    print("PASS: the run-time error box takes the focus on its OK, in a group named by the "
          "error, and every part of it has a name")


def check_german(window):
    window.click("Start")
    window.wait_live("Die Zeit läuft. Die Schaltfläche heißt jetzt Stopp.")
    window.wait_for("Button", "Stopp")
    window.click("Insulin abgeben")
    window.wait_live("Glykogenspeicher 50.")
    window.wait_for("Text", "Glykogenspeicher 50", "Glykogenspeicher")
    window.click("Start")
    window.wait_live("Die Zeit steht still. Die Schaltfläche heißt jetzt Start.")
    print("PASS: German: Start, Secrete Insulin and Stop are told in German, "
          "and the window reads the new caption and store")


def main():
    failed = False
    for language, checks in (("English", [check_tab_order, check_changes, check_error_box]),
                             ("German", [check_german])):
        locale = "de_DE.UTF-8" if language == "German" else "en_GB.UTF-8"
        window = Window(locale)
        try:
            check_start_tree(window, language)
            for check in checks:
                check(window)
        except Failure as failure:
            print(f"FAIL: {language}: {failure}")
            failed = True
        finally:
            window.close()
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
