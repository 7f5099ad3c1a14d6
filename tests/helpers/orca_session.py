# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""A private desktop session with the real Orca screen reader in it.

Runs inside an X server and a D-Bus session bus of its own (orca_check.sh
starts both). Starts the accessibility bus, openbox, speech-dispatcher on
ALSA's null device and Orca, all with a private HOME, and follows what Orca
says through the utterances in its debug log."""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

# Runs Orca's own launcher with its debug log line-buffered, so that every
# utterance can be read as soon as it is spoken, and without the check for
# other Orcas of this user: each test session has buses of its own.
ORCA_LAUNCHER = r"""
import builtins, importlib.machinery, importlib.util, sys
log = sys.argv[1]
real_open = builtins.open
def line_buffered_open(file, mode="r", buffering=-1, *args, **kwargs):
    if file == log:
        buffering = 1
    return real_open(file, mode, buffering, *args, **kwargs)
builtins.open = line_buffered_open
loader = importlib.machinery.SourceFileLoader("orca_launcher", "/usr/bin/orca")
launcher_module = importlib.util.spec_from_loader("orca_launcher", loader)
launcher = importlib.util.module_from_spec(launcher_module)
loader.exec_module(launcher)
launcher.otherOrcas = lambda: []
sys.argv = ["orca", "-u", sys.argv[2], "--debug-file", log]
sys.exit(launcher.main())
"""

SPEECH = re.compile(r"SPEECH OUTPUT: '(.*)' ?[\[{]")

# Orca's words for a button's role: "push button" in Orca 43 (Debian 12),
# "button" in Orca 48 (Debian 13).
BUTTON_ROLES = ("push button", "button")


def button_said(name, text):
    """Whether text names the button name with its role, in either release's words."""
    return any(f"{name} {role}" in text for role in BUTTON_ROLES)


# Orca's words for a group of controls in a page, as it enters one.
GROUP_ROLES = ("panel", "grouping")


def group_said(name, text):
    """Whether text names the group name with its role."""
    return any(text.startswith(f"{name} {role}") for role in GROUP_ROLES)


class Failure(Exception):
    pass


class Session:
    def __init__(self, orca_settings=None):
        """orca_settings: Orca's settings that differ from its defaults, by name."""
        self.home = tempfile.mkdtemp(prefix="glukara-orca-")
        self.log = os.path.join(self.home, "orca-debug.out")
        self.processes = []
        self.utterances = []  # (seconds since start, text)
        self.notes = []  # (seconds since start, what the driver did)
        self.lock = threading.Condition()
        self.start = time.monotonic()
        runtime = os.path.join(self.home, "runtime")
        os.mkdir(runtime, 0o700)
        self.env = dict(os.environ, HOME=self.home, XDG_RUNTIME_DIR=runtime,
                        XDG_CONFIG_HOME=os.path.join(self.home, ".config"),
                        XDG_CACHE_HOME=os.path.join(self.home, ".cache"),
                        XDG_DATA_HOME=os.path.join(self.home, ".local", "share"),
                        QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", GTK_MODULES="",
                        LC_ALL="C.UTF-8", LANG="C.UTF-8", LANGUAGE="")
        self.env.pop("QT_QPA_PLATFORM", None)
        self._configure_speech()
        with open(os.path.join(self.home, "orca", "orca-customizations.py"), "w") as f:
            f.write("from orca import settings\n")
            for name, value in (orca_settings or {}).items():
                f.write(f"settings.{name} = {value!r}\n")

    def _configure_speech(self):
        # Without a sound device speech-dispatcher blocks Orca after a few
        # utterances; ALSA's null device takes the sound and throws it away.
        conf = os.path.join(self.home, ".config", "speech-dispatcher")
        shutil.copytree("/etc/speech-dispatcher", conf)
        with open(os.path.join(conf, "speechd.conf"), "a") as f:
            f.write('\nAudioOutputMethod "alsa"\nAudioALSADevice "null"\n'
                    'DefaultModule espeak-ng\n')
        os.makedirs(os.path.join(self.home, "orca"))

    def spawn(self, *command, extra_env=None, **kwargs):
        env = dict(self.env, **(extra_env or {}))
        p = subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL,
                             stdout=kwargs.pop("stdout", subprocess.DEVNULL),
                             stderr=kwargs.pop("stderr", subprocess.DEVNULL), **kwargs)
        self.processes.append(p)
        return p

    def run(self, *command):
        subprocess.run(command, env=self.env, check=True, timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def elapsed(self):
        return time.monotonic() - self.start

    def start_desktop(self):
        self.spawn("/usr/libexec/at-spi-bus-launcher", "--launch-immediately")
        subprocess.run(["gsettings", "set", "org.gnome.desktop.interface",
                        "toolkit-accessibility", "true"], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.spawn("openbox")
        self.spawn("speech-dispatcher", "--run-single", "--timeout", "0")
        self.orca = self.spawn("/usr/bin/python3", "-c", ORCA_LAUNCHER, self.log,
                               os.path.join(self.home, "orca"))
        threading.Thread(target=self._follow_log, daemon=True).start()
        self.wait_for("Orca to start", lambda t: "Screen reader on" in t, since=0,
                      timeout=60)

    def _follow_log(self):
        while not os.path.exists(self.log):
            time.sleep(0.05)
        with open(self.log, errors="replace") as f:
            partial = ""
            while True:
                chunk = f.readline()
                if not chunk:
                    time.sleep(0.02)
                    continue
                partial += chunk
                if not partial.endswith("\n"):
                    continue
                match = SPEECH.search(partial)
                partial = ""
                if match:
                    with self.lock:
                        self.utterances.append((self.elapsed(), match.group(1)))
                        self.lock.notify_all()

    def mark(self, what):
        """Notes a step of the driver in the transcript; returns the number of
        utterances so far, from which the step's own utterances count."""
        with self.lock:
            self.notes.append((self.elapsed(), what))
            return len(self.utterances)

    def said_since(self, since):
        with self.lock:
            return [text for _, text in self.utterances[since:]]

    def wait_for(self, what, accept, since, timeout=15):
        """Waits until an utterance after index since satisfies accept; returns it."""
        end = time.monotonic() + timeout
        with self.lock:
            while True:
                for _, text in self.utterances[since:]:
                    if accept(text):
                        return text
                left = end - time.monotonic()
                if left <= 0:
                    raise Failure(f"Orca did not say {what} within {timeout} s")
                self.lock.wait(left)

    def wait_until(self, what, condition, timeout):
        """Asks condition every tenth of a second until it answers something
        true, and returns that."""
        end = time.monotonic() + timeout
        while True:
            answer = condition()
            if answer:
                return answer
            if time.monotonic() >= end:
                raise Failure(f"{what} did not happen within {timeout} s")
            time.sleep(0.1)

    def wait_quiet(self, seconds, timeout=20):
        """Waits until Orca has said nothing for the given time."""
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            with self.lock:
                last = self.utterances[-1][0] if self.utterances else 0
            if self.elapsed() - last >= seconds:
                return
            time.sleep(0.05)
        raise Failure(f"Orca did not fall quiet for {seconds} s within {timeout} s")

    def key(self, *keys):
        self.run("xdotool", "key", "--delay", "60", *keys)

    def orca_key(self, key):
        # Insert is the Orca modifier of the desktop layout.
        self.run("xdotool", "keydown", "Insert", "key", key, "keyup", "Insert")

    def transcript(self):
        events = [(t, "  step: " + what) for t, what in self.notes]
        events += [(t, "  Orca: " + text) for t, text in self.utterances]
        return "\n".join(f"{t:7.2f} {line}" for t, line in sorted(events, key=lambda e: e[0]))

    def close(self):
        for p in reversed(self.processes):
            if p.poll() is None:
                p.terminate()
        for p in reversed(self.processes):
            try:
                p.wait(5)
            except subprocess.TimeoutExpired:
                p.kill()
                p.wait()
        shutil.rmtree(self.home, ignore_errors=True)


def run_session(run, passed, *args, orca_settings=None, on_failure=None):
    """Runs run(session, *args) in a new session with the desktop started, and
    prints Orca's transcript with PASS: passed, or FAIL and the reason; after
    a failure, on_failure(session) may print more. Returns the exit status."""
    s = Session(orca_settings)
    try:
        s.start_desktop()
        run(s, *args)
        print(s.transcript())
        print(f"PASS: {passed}")
    except Failure as failure:
        print(s.transcript())
        if on_failure:
            on_failure(s)
        print(f"FAIL: {failure}")
        return 1
    finally:
        s.close()
    return 0
