#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Opens glukara's page in Chromium, with a window and the real Orca screen
reader running, drives it with keystrokes only, as a blind pupil does, and
checks what Orca says after each step.
orca_page.py SITE [LANGUAGE]
SITE is the page's folder, served here on the loopback interface, or its
address; LANGUAGE is Chromium's language, en (the default) or de."""
import functools
import http.server
import os
import re
import sys
import threading

import pyatspi
from gi.repository import GLib

from orca_drive import BANDS
from orca_session import Failure, button_said, group_said, run_session

# What the page says in each language, from the program's translations. Orca
# itself speaks English here, so the roles ("button") stay English.
WORDS = {
    "en": {
        "start": "Start", "meal": "Eat a meal", "run": "Go for a run", "quit": "Quit",
        "variable": "Variable", "first_quantity": "resting glucose use", "value": "Value",
        "diabetic": "Diabetic?", "reset": "Reset", "insulin": "Secrete Insulin",
        "glucagon": "Secrete Glucagon",
        "time_runs": "Time runs. The button now reads Stop.",
        "level": r"Blood glucose (\d+) mg per 100 ml\.",
        "store_after_insulin": "Glycogen store 50.",
        "frames": ["Blood glucose (mg / 100 ml)", "Information", "Glycogen store", "Settings"],
        "licence": "Licence",
        "bands": BANDS,
    },
    "de": {
        "start": "Start", "meal": "Mahlzeit essen", "run": "Laufen gehen", "quit": "Beenden",
        "variable": "Größe", "first_quantity": "Glucoseverbrauch in Ruhe", "value": "Wert",
        "diabetic": "Diabetes", "reset": "Neustart", "insulin": "Insulin abgeben",
        "glucagon": "Glucagon abgeben",
        "time_runs": "Die Zeit läuft. Die Schaltfläche heißt jetzt Stopp.",
        "level": r"Blutzucker (\d+) mg pro 100 ml\.",
        "store_after_insulin": "Glykogenspeicher 50.",
        "frames": ["Blutzucker (mg / 100 ml)", "Information", "Glykogenspeicher", "Einstellungen"],
        "licence": "Lizenz",
        "bands": [
            (146, "Der Blutzucker ist viel zu hoch."),
            (136, "Der Blutzucker ist zu hoch."),
            (101, "Der Blutzucker ist hoch, liegt aber noch im akzeptablen Bereich."),
            (90, "Der Blutzuckerspiegel liegt im Normalbereich."),
            (71, "Der Blutzucker ist niedrig, liegt aber noch im akzeptablen Bereich."),
        ],
    },
}

# Loading and compiling the program takes a while on a busy machine.
PAGE_READY_TIMEOUT = 180


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(folder):
    """Serves folder on the loopback interface, at a port the system chooses;
    returns its address."""
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(QuietHandler, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return f"http://127.0.0.1:{server.server_address[1]}/"


def start_chromium(s, url, language):
    log = open(os.path.join(s.home, "chromium.log"), "w")
    # --test-type keeps the infobar about --no-sandbox off the window, out of
    # the pupil's Tab cycle. Chromium takes its language on Linux from the
    # environment, not from --lang. ACCESSIBILITY_ENABLED spares it asking the
    # desktop's settings whether to join the AT-SPI bus, which on a busy
    # machine once kept it off the bus.
    s.spawn("chromium", "--force-renderer-accessibility", "--no-sandbox", "--test-type",
            "--no-first-run", "--no-default-browser-check", "--disable-background-networking",
            "--disable-component-update", "--disable-sync", "--password-store=basic",
            "--user-data-dir=" + os.path.join(s.home, "chromium"),
            "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
            "--window-position=0,0", "--window-size=1024,768", url,
            extra_env={"LANGUAGE": language, "ACCESSIBILITY_ENABLED": "1"}, stdout=log,
            stderr=log)


def chromium_on_atspi():
    for app in pyatspi.Registry.getDesktop(0):
        try:
            if app is not None and app.name == "Chromium":
                return app
        except (GLib.GError, LookupError):
            pass  # an application that has just left the bus
    return None


def focused_button(app, name):
    """The push button named name that has the focus in app, if there is one."""
    collection = app.queryCollection()
    states = pyatspi.StateSet()
    states.add(pyatspi.STATE_FOCUSED)
    rule = collection.createMatchRule(states.raw(), collection.MATCH_ALL, "",
                                      collection.MATCH_NONE, [pyatspi.ROLE_PUSH_BUTTON],
                                      collection.MATCH_ANY, "", collection.MATCH_NONE, False)
    try:
        found = collection.getMatches(rule, collection.SORT_ORDER_CANONICAL, 0, True)
        return next((button for button in found if button.name == name), None)
    except (GLib.GError, LookupError):
        return None  # the page's tree changing under the query


def page_loaded(app):
    """The page's document, once Chromium no longer marks it busy loading."""
    collection = app.queryCollection()
    rule = collection.createMatchRule(pyatspi.StateSet().raw(), collection.MATCH_NONE, "",
                                      collection.MATCH_NONE, [pyatspi.ROLE_DOCUMENT_WEB],
                                      collection.MATCH_ANY, "", collection.MATCH_NONE, False)
    try:
        found = collection.getMatches(rule, collection.SORT_ORDER_CANONICAL, 0, True)
        return next((document for document in found
                     if not document.getState().contains(pyatspi.STATE_BUSY)), None)
    except (GLib.GError, LookupError):
        return None  # the page's tree changing under the query


def main(site, language="en"):
    words = WORDS[language]
    url = site if re.match(r"https?://", site) else serve(site)
    # Orca reads a page through when it has loaded, and moves the focus along
    # as it reads; on a busy machine it may come to that when the page's
    # controls are already there, and leave the focus anywhere. The road
    # starts where the page puts the focus.
    return run_session(run, f"Orca reads glukara's page in Chromium ({language})", url, language,
                       words, orca_settings={"sayAllOnLoad": False}, on_failure=chromium_said)


def chromium_said(s):
    log = os.path.join(s.home, "chromium.log")
    if os.path.exists(log):
        with open(log, errors="replace") as f:
            print("Chromium's last output:\n" + "".join(f.readlines()[-20:]))


def tab_to(s, what, heard):
    """Presses Tab and waits for Orca to say the newly focused control."""
    since = s.mark(f"Tab to {what}")
    s.key("Tab")
    s.wait_for(f'"{heard}"', lambda t: heard in t, since)
    return since


def tab_to_button(s, name):
    """Presses Tab and waits for Orca to say the button name with its role."""
    since = s.mark(f"Tab to {name}")
    s.key("Tab")
    s.wait_for(f'the button "{name}"', lambda t: button_said(name, t), since)
    return since


def run(s, url, language, words):
    level_of = re.compile(words["level"])

    def band_of(level):
        return next(message for lowest, message in words["bands"] if level >= lowest)

    s.mark(f"Chromium opens {url} in language {language}")
    start_chromium(s, url, language)
    app = s.wait_until("Chromium's registration on the AT-SPI bus", chromium_on_atspi, 60)
    s.mark("Chromium is on the AT-SPI bus")
    s.wait_until(f'the focus on the page\'s "{words["start"]}" button',
                 lambda: focused_button(app, words["start"]), PAGE_READY_TIMEOUT)
    s.mark(f'"{words["start"]}" has the focus on the AT-SPI bus')
    # Orca says "Finished loading" only when the load ends before the focus
    # reaches one of the page's controls; the document's busy state tells
    # either way.
    s.wait_until("the page's document loaded", lambda: page_loaded(app), PAGE_READY_TIMEOUT)
    s.mark("the page's document is loaded")
    s.wait_quiet(1)

    # Only keys that Orca passes on to the page: when Orca is slow to answer,
    # the key goes to the page, and one of Orca's own there, such as KP_Enter
    # for "where am I", would press the focused button. Orca says nothing of
    # the first focus it takes in from the page, the page's own or, when Orca
    # is slow, that of the first Tab: the Tab is followed on the bus, the
    # Shift+Tab back to Start heard.
    s.mark(f'Tab to {words["meal"]}')
    s.key("Tab")
    s.wait_until(f'the focus on "{words["meal"]}"', lambda: focused_button(app, words["meal"]), 15)
    since = s.mark(f'Shift+Tab back to {words["start"]}')
    s.key("shift+Tab")
    s.wait_for(f'the button "{words["start"]}"', lambda t: button_said(words["start"], t), since)
    s.wait_quiet(1)

    since = s.mark(f"space on {words['start']}")
    s.key("space")
    s.wait_for(f'"{words["time_runs"]}"', lambda t: words["time_runs"] in t, since)

    # The level waits until "Time runs" has had time to be said, as on the
    # desktop: then it is 100 less the seconds gone by, 99 at the most.
    def first_level(text):
        level = level_of.search(text)
        return level and 90 <= int(level.group(1)) <= 99 and band_of(int(level.group(1))) in text

    s.wait_for("the first level, 99 or less, with its message", first_level, since)
    s.wait_quiet(1)

    since = tab_to_button(s, words["meal"])
    s.key("space")

    def level_after_meal(text):
        # The meal's 40 on top of at most 99, less the second's use.
        level = level_of.search(text)
        return level and 100 < int(level.group(1)) <= 139 and band_of(int(level.group(1))) in text

    after_meal = s.wait_for("the level after the meal with its message", level_after_meal, since)
    meal_level = int(level_of.search(after_meal).group(1))
    s.wait_quiet(1)

    tab_to_button(s, words["run"])
    tab_to_button(s, words["quit"])
    since = tab_to(s, words["variable"], f'{words["variable"]} combo box')
    s.wait_for(f'the chosen quantity "{words["first_quantity"]}"',
               lambda t: words["first_quantity"] in t, since)
    since = tab_to(s, words["value"], f'{words["value"]} entry')
    s.wait_for("the value -1", lambda t: re.search(r"(^|\s)-1\b", t), since)
    tab_to(s, words["diabetic"], f'{words["diabetic"]} check box not checked')
    tab_to_button(s, words["reset"])
    tab_to_button(s, words["insulin"])
    s.wait_quiet(0.5)

    since = s.mark(f"space on {words['insulin']}")
    s.key("space")
    s.wait_for(f'"{words["store_after_insulin"]}"', lambda t: words["store_after_insulin"] in t,
               since)

    def level_after_insulin(text):
        # Insulin's 10 less than after the meal, and the seconds' use since.
        level = level_of.search(text)
        return level and int(level.group(1)) <= meal_level - 10

    s.wait_for("the level after insulin", level_after_insulin, since)
    s.wait_quiet(1)

    tab_to_button(s, words["glucagon"])
    if language == "en":
        overflow_heard(s, words)
    structure_heard(s, words)


def structure_heard(s, words):
    """Browse mode, as a pupil finds the way round a page: H to the window's
    heading, the Down arrow through its frames, each named as Orca enters it,
    and M from landmark to landmark."""
    since = s.mark("h: the next heading")
    s.key("h")
    s.wait_for('the heading "Glukara", level 1', lambda t: "Glukara heading level 1" in t, since)
    s.wait_quiet(1)
    since = s.mark("Down through the window")
    last = words["frames"][-1]
    for _ in range(15):
        s.key("Down")
        s.wait_quiet(0.8)
        if any(group_said(last, t) for t in s.said_since(since)):
            break
    heard = s.said_since(since)
    entered = [frame for t in heard for frame in words["frames"] if group_said(frame, t)]
    if entered != words["frames"]:
        raise Failure(f"the frames were not named as Orca entered them, in order: {heard}")
    after_settings = heard[next(i for i, t in enumerate(heard) if group_said(last, t)):]
    if not any(f'{words["variable"]} combo box' in t for t in after_settings):
        raise Failure(f'no "{words["variable"]}" inside "{last}": {after_settings}')
    s.wait_quiet(1)
    since = s.mark("m: the next landmark, the licence's")
    s.key("m")
    s.wait_for(f'the link "{words["licence"]}"', lambda t: f'{words["licence"]} link' in t, since)
    s.wait_quiet(1)
    since = s.mark("m: the next landmark, the window's")
    s.key("m")
    s.wait_for('the main landmark "Glukara" with its heading',
               lambda t: "Glukara heading level 1" in t, since)


def back_to(s, what, accept):
    """Presses Shift+Tab and waits for Orca to say the newly focused control."""
    since = s.mark(f"Shift+Tab to {what}")
    s.key("shift+Tab")
    s.wait_for(f'the control "{what}"', accept, since)
    return since


def overflow_heard(s, words):
    """A meal of 3e38 twice between two ticks: Orca says the error box's
    message, and Enter closes the box, back on the meal's button."""
    # Back past Secrete Insulin, Reset, Diabetic? and Value.
    s.key(*["shift+Tab"] * 4)
    back_to(s, words["variable"], lambda t: f'{words["variable"]} combo box' in t)
    since = s.mark("two entries down: the meal's input")
    s.key("Down", "Down")
    s.wait_for('"glucose input from a meal"', lambda t: "glucose input from a meal" in t, since)
    tab_to(s, words["value"], f'{words["value"]} entry')
    since = s.mark("3e38 typed over the value")
    s.key("ctrl+a", "3", "e", "3", "8")
    s.wait_for('"8"', lambda t: "8" in t, since)
    s.wait_quiet(0.5)
    # Back past the list, Quit and Go for a run.
    s.key(*["shift+Tab"] * 3)
    back_to(s, words["meal"], lambda t: button_said(words["meal"], t))
    # The clock runs since the road's start: both meals come right after a
    # level is said; a tick between them holds the level at 180 instead.
    for attempt in range(5):
        since = s.mark("a tick")
        s.wait_for("a level", lambda t: "Blood glucose" in t, since, timeout=30)
        since = s.mark(f"space twice on {words['meal']} (attempt {attempt + 1})")
        s.key("space", "space")
        said = s.wait_for('"Overflow" or the held level',
                          lambda t: "Overflow" in t or "Blood glucose 180" in t, since, timeout=30)
        if "Overflow" in said:
            break
        s.wait_quiet(1)
    else:
        raise Failure("the two meals never came between the same two ticks")
    s.mark(f'Orca said the error box: "{said}"')
    s.wait_quiet(1)
    since = s.mark("Enter on OK")
    s.key("Return")
    s.wait_for(f'the button "{words["meal"]}"', lambda t: button_said(words["meal"], t), since)


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
