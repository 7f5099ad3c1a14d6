#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Turns the class guides into web pages for reading and printing:

    guide_html.py OUT_DIR GUIDE.md...

Each guide.LANGUAGE.md becomes OUT_DIR/guide.LANGUAGE.html, converted by
Python-Markdown, with its pictures inside it, so that a guide is one file
that opens offline wherever it is copied: beside glukara.exe, in a zip, in
/usr/share/doc. The links between the guides lead to their pages. The same
guides give the same bytes."""
import base64
import html
import os
import re
import sys

import markdown
from markdown.extensions.toc import TocExtension, slugify_unicode

# Readable on a screen of any width, with links tall enough for a finger;
# printed on A4 without a table, a picture or a heading cut from what
# follows it.
STYLE = """
body { font-family: "Liberation Sans", Arial, sans-serif; line-height: 1.5;
       max-width: 46em; margin: 0 auto; padding: 1em; color: #111; background: #fff; }
h1, h2, h3 { line-height: 1.2; }
img { max-width: 100%; height: auto; border: 1px solid #999; }
table { border-collapse: collapse; margin: 0.8em 0; }
th, td { border: 1px solid #888; padding: 0.2em 0.45em; text-align: left; vertical-align: top; }
th { background: #eee; }
code, pre { font-family: "Liberation Mono", monospace; }
li { margin: 0.25em 0; }
@media print {
  @page { size: A4; margin: 15mm; }
  body { max-width: none; padding: 0; font-size: 10.5pt; }
  h1, h2, h3 { break-after: avoid; page-break-after: avoid; }
  table, tr, img, pre { break-inside: avoid; page-break-inside: avoid; }
  p:has(> img) { break-inside: avoid; }
  a { color: inherit; text-decoration: none; }
}
"""

PAGE = """<!DOCTYPE html>
<html lang="{language}">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>{title}</title>
<style>{style}</style>
</head>
<body>
<main>
{body}
</main>
</body>
</html>
"""


# The mark of the rows that a picture shows, drawn, since not every computer
# has a font with the camera of the source's mark; named by that mark.
CAMERA = ('<svg role="img" aria-label="\U0001F4F7" width="1.1em" height="0.9em" viewBox="0 0 22 18">'
          '<path d="M2 5h5l2-3h4l2 3h5v11H2z" fill="none" stroke="currentColor" stroke-width="2"/>'
          '<circle cx="11" cy="10" r="3.5" fill="none" stroke="currentColor" stroke-width="2"/></svg>')


def language_of(path):
    parts = os.path.basename(path).split('.')
    return parts[1] if len(parts) == 3 else 'en'


def picture(folder, source):
    with open(os.path.join(folder, source), 'rb') as f:
        return 'data:image/png;base64,' + base64.b64encode(f.read()).decode('ascii')


def convert(path):
    with open(path, encoding='utf-8') as f:
        text = f.read()
    # The comments at the top (the licence and the words of the tables) are
    # for the source only.
    text = re.sub(r'\A(\s*<!--.*?-->\s*)+', '', text, flags=re.S)
    title = re.search(r'^# (.+)$', text, flags=re.M).group(1)
    converter = markdown.Markdown(extensions=[
        'tables', 'fenced_code', TocExtension(slugify=slugify_unicode, toc_depth='2-6')])
    body = converter.convert(text)
    folder = os.path.dirname(path)
    body = re.sub(r'src="(guide/[^"]+\.png)"',
                  lambda m: 'src="%s"' % picture(folder, m.group(1)), body)
    body = re.sub(r'href="(guide(?:\.[a-z]{2})?)\.md"', r'href="\1.html"', body)
    body = body.replace('\U0001F4F7', CAMERA)
    return PAGE.format(language=language_of(path), title=html.escape(title),
                       style=STYLE, body=body)


def main():
    out, guides = sys.argv[1], sys.argv[2:]
    os.makedirs(out, exist_ok=True)
    for path in sorted(guides):
        name = os.path.basename(path)[:-len('.md')] + '.html'
        with open(os.path.join(out, name), 'w', encoding='utf-8', newline='\n') as f:
            f.write(convert(path))


if __name__ == '__main__':
    main()
