#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""contrast.py PNG [--message]: WCAG contrast of the texts in a screenshot of
glukara's window (750 x 538, the window's own layout).

Each area holds one text; its ground is its commonest colour and its text the
pixel that stands out most from that (the core of a glyph). Prints every
measure; exits 1 where one is below 4.5 : 1, where the window is not dark,
or, with --message, while the message area holds no text yet."""
import collections
import subprocess
import sys

AREAS = {
    "glycogen_level": (336, 312, 225, 33),
    "info_text": (336, 24, 225, 217),
    "Information caption": (320, 0, 100, 16),
    "Glycogen store caption": (320, 288, 110, 14),
    "Settings caption": (320, 368, 80, 16),
    "Variable label": (336, 392, 57, 17),
    "Value label": (336, 456, 65, 17),
    "Start/Stop button": (28, 476, 57, 41),
    "chart title": (40, 26, 240, 22),
    "chart value labels": (18, 50, 46, 360),
    "chart category": (110, 408, 130, 20),
}


def luminance(c):
    def linear(v):
        s = v / 255
        return s / 12.92 if s <= 0.04045 else ((s + 0.055) / 1.055) ** 2.4
    return 0.2126 * linear(c[0]) + 0.7152 * linear(c[1]) + 0.0722 * linear(c[2])


def contrast(a, b):
    la, lb = luminance(a), luminance(b)
    return (max(la, lb) + 0.05) / (min(la, lb) + 0.05)


def main():
    png = sys.argv[1]
    want_message = "--message" in sys.argv[2:]
    size = subprocess.run(["identify", "-format", "%w %h", png], check=True,
                          capture_output=True, text=True).stdout.split()
    width, height = int(size[0]), int(size[1])
    if (width, height) != (750, 538):
        print(f"FAIL: screenshot is {width} x {height}, not 750 x 538")
        return 1
    raw = subprocess.run(["convert", png, "-depth", "8", "rgb:-"], check=True,
                         capture_output=True).stdout

    def pixel(x, y):
        i = 3 * (y * width + x)
        return raw[i], raw[i + 1], raw[i + 2]

    failed = False
    window = pixel(5, 530)
    print(f"window ground {'#%02x%02x%02x' % window}, luminance {luminance(window):.3f}")
    if luminance(window) >= 0.18:
        print("FAIL: the window is not dark: no dark palette reached the program")
        failed = True
    for name, (x, y, w, h) in AREAS.items():
        counts = collections.Counter(pixel(i, j) for j in range(y, y + h)
                                     for i in range(x, x + w))
        ground = counts.most_common(1)[0][0]
        text = max(counts, key=lambda c: contrast(c, ground))
        ratio = contrast(text, ground)
        print(f"{name}: {ratio:.2f} : 1, text {'#%02x%02x%02x' % text} "
              f"on {'#%02x%02x%02x' % ground}")
        if name == "info_text" and ratio < 1.5:
            print("FAIL: no message yet" if want_message else "(no message)")
            failed = failed or want_message
        elif ratio < 4.5:
            print(f"FAIL: {name} below 4.5 : 1")
            failed = True
    return 1 if failed else 0


sys.exit(main())
