#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""markdown_links.py SOURCE_DIR

Every relative link and picture in the tracked Markdown files points at a
file that exists and, where it names an #anchor, at a heading of that file,
with the anchors GitHub gives headings. Prints each broken link with its file
and line, and exits with 1 if there is one."""

import collections
import os
import re
import subprocess
import sys
import unicodedata

LINK = re.compile(r"!?\[(?:[^\]\\]|\\.)*\]\(\s*<?([^)\s>]*)>?(?:\s+\"[^\"]*\")?\s*\)")
HEADING = re.compile(r"^ {0,3}(#{1,6})\s+(.*?)\s*#*\s*$")
FENCE = re.compile(r"^ {0,3}(```|~~~)")


def lines_outside_code(text):
    """The file's lines with their numbers, leaving out fenced code blocks,
    and inline code spans blanked, where nothing is a link."""
    fenced = False
    for number, line in enumerate(text.splitlines(), 1):
        if FENCE.match(line):
            fenced = not fenced
            continue
        if not fenced:
            yield number, re.sub(r"`[^`]*`", lambda m: " " * len(m.group(0)), line)


def slug(heading):
    """The anchor GitHub gives a heading: its text as shown, in lower case,
    without punctuation but hyphens and underscores, spaces as hyphens."""
    text = re.sub(r"!?\[([^\]]*)\]\([^)]*\)", r"\1", heading)
    text = text.replace("`", "").lower()
    kept = []
    for c in text:
        category = unicodedata.category(c)
        if c in "-_" or c == " " or category[0] in "LNM":
            kept.append("-" if c == " " else c)
    return "".join(kept)


def anchors(path, cache={}):
    if path not in cache:
        seen = collections.Counter()
        found = set()
        with open(path, encoding="utf-8") as f:
            text = f.read()
        fenced = False
        for line in text.splitlines():
            if FENCE.match(line):
                fenced = not fenced
                continue
            match = None if fenced else HEADING.match(line)
            if match:
                base = slug(match.group(2))
                found.add(base if seen[base] == 0 else f"{base}-{seen[base]}")
                seen[base] += 1
        cache[path] = found
    return cache[path]


def main():
    root = os.path.abspath(sys.argv[1])
    files = subprocess.run(["git", "-C", root, "ls-files", "*.md"], check=True,
                           capture_output=True, text=True).stdout.split()
    if not files:
        print("no Markdown files found")
        return 1
    broken = 0
    links = 0
    for name in files:
        path = os.path.join(root, name)
        with open(path, encoding="utf-8") as f:
            text = f.read()
        for number, line in lines_outside_code(text):
            for match in LINK.finditer(line):
                target = match.group(1)
                if not target or re.match(r"^[a-z][a-z0-9+.-]*:", target, re.I):
                    continue
                links += 1
                file_part, _, anchor = target.partition("#")
                linked = os.path.normpath(os.path.join(os.path.dirname(path), file_part)) \
                    if file_part else path
                problem = None
                if not os.path.exists(linked):
                    problem = "no such file"
                elif anchor and linked.endswith(".md") and anchor not in anchors(linked):
                    problem = f"no heading with the anchor #{anchor}"
                if problem:
                    broken += 1
                    print(f"{name}:{number}: {target}: {problem}")
    print(f"{links} relative links in {len(files)} Markdown files, {broken} broken")
    return 1 if broken else 0


if __name__ == "__main__":
    sys.exit(main())
