#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Finishes the site that the build installed, from the files it holds:

- glukara.html, the whole page in one file that a browser opens from a
  folder, a USB stick or a learning platform, with no web server: the program,
  the loader, the page's script, the icon and the licences inside, nothing to
  fetch;
- the scripts and the program named by their contents' hash, which index.html
  names, so that no cache can pair the files of two builds;
- service-worker.js, from the one in WEB_SOURCE_DIR, with every file of the
  site and the SHA-256 of its contents, and a version made of glukara's own
  (from the site's manifest) and a hash of those.

    finish_site.py SITE_DIR WEB_SOURCE_DIR

The names and the version come from the contents alone: the same files give
the same site.
"""

import base64
import hashlib
import html
import json
import re
import sys
from pathlib import Path

ONE_FILE = 'glukara.html'
WORKER = 'service-worker.js'
# What a school puts in the worker's place to take the site away again.
WITHDRAWING_WORKER = 'withdraw-service-worker.js'
PROGRAM = ('glukara.js', 'glukara.wasm')
SCRIPTS = ('qtloader.js', 'page.js')
# Of a hash's 64 hex digits, enough that two builds never share a name.
HASH_LENGTH = 16
# Browsers let a script element's text run up to the first "</script", and
# treat "<!--" in it specially: the files put inside one must hold neither.
SCRIPT_HAZARDS = ('</script', '<!--')


# The class guides, pages of their own that the page only links to: kept
# offline, they would add 2.4 MB to what every pupil's browser downloads and
# stores, for pages that teachers have in every download.
GUIDE = re.compile(r'guide(\.[a-z]{2})?\.html')


def kept_files(site):
    """Everything the page may ask for: the site but the workers, the
    one-file page, which carries the rest again, and the guides."""
    names = sorted(p.name for p in site.iterdir()
                   if p.name not in (ONE_FILE, WORKER, WITHDRAWING_WORKER)
                   and not GUIDE.fullmatch(p.name))
    for name in names:
        if not (site / name).is_file():
            sys.exit(f'finish_site.py: {site / name} is not a file; the site is one flat folder')
    return names


def write_worker(site, source):
    """Records every file of the site with its hash, which the worker checks
    before it keeps a version: a file cut short by an upload, or a proxy's
    page in its place, is never kept. Run again on a site with a file
    changed, it records that site as a new version."""
    hashes = {name: sha256((site / name).read_bytes()) for name in kept_files(site)}
    release = json.loads((site / 'manifest.webmanifest').read_text())['version']
    version = release + '-' + sha256(json.dumps(hashes, sort_keys=True).encode())[:HASH_LENGTH]
    worker = (source / WORKER).read_text()
    worker = replace_once(worker, '@VERSION@', version)
    worker = replace_once(worker, "{'@FILES@': ''}", json.dumps(hashes, indent=2, sort_keys=True))
    (site / WORKER).write_text(worker)


def sha256(data):
    return hashlib.sha256(data).hexdigest()


def name_by_content(site):
    """Gives the program and the page's scripts names that say their
    contents, and index.html those names. The program's two files share one
    name, which Qt's loader takes, from the hash of both: a new glukara.js
    never meets an old glukara.wasm."""
    program = sha256(b''.join(sha256((site / name).read_bytes()).encode()
                              for name in PROGRAM))[:HASH_LENGTH]
    for name in PROGRAM:
        (site / name).rename(site / name.replace('glukara.', f'glukara-{program}.'))
    page = (site / 'index.html').read_text()
    page = replace_once(page, '<meta name="glukara-program" content="glukara">',
                        f'<meta name="glukara-program" content="glukara-{program}">')
    for name in SCRIPTS:
        hashed = name.replace('.js', f'-{sha256((site / name).read_bytes())[:HASH_LENGTH]}.js')
        (site / name).rename(site / hashed)
        page = replace_once(page, f'<script src="{name}"></script>', f'<script src="{hashed}"></script>')
    (site / 'index.html').write_text(page)


def replace_once(text, old, new):
    if text.count(old) != 1:
        sys.exit(f'finish_site.py: expected "{old}" once, found it {text.count(old)} times')
    return text.replace(old, new)


def inline_script(site, name, hashes):
    """The script element that carries NAME, whose text's hash goes into
    HASHES for the page's policy."""
    text = (site / name).read_text()
    for hazard in SCRIPT_HAZARDS:
        if hazard in text.lower():
            sys.exit(f'finish_site.py: {name} holds "{hazard}" and cannot go inside a script element')
    text = f'\n{text}\n'
    hashes.append(base64.b64encode(hashlib.sha256(text.encode()).digest()).decode('ascii'))
    return f'<script>{text}</script>'


def one_file_policy(hashes):
    """The one file's own Content-Security-Policy: only the scripts it carries
    run, known by their hashes, and it loads nothing from any address. A
    learning platform may serve the file under its own address, beside its
    users' sessions; a script put into the file there does not run.
    'unsafe-eval' is for Qt's loader, which starts the program it is given
    with eval and compiles WebAssembly; the icon is a data: address. A policy
    in the page cannot say who may frame it (frame-ancestors): that is the
    serving platform's header."""
    scripts = ' '.join(f"'sha256-{h}'" for h in hashes)
    return (f"default-src 'none'; script-src {scripts} 'unsafe-eval'; style-src 'unsafe-inline'; "
            "img-src data:; object-src 'none'; base-uri 'none'; form-action 'none'")


def carried(site, name):
    data = base64.b64encode((site / name).read_bytes()).decode('ascii')
    return f'<script id="carried-{name}" type="application/octet-stream">{data}</script>'


def write_one_file(site):
    page = (site / 'index.html').read_text()
    # The site's policy lets the site's own files run, which this page
    # carries inside it instead: it gets a policy of its own below.
    page, found = re.subn(r'  <meta http-equiv="Content-Security-Policy" content="[^"]*">\n',
                          '  @POLICY@\n', page)
    if found != 1:
        sys.exit(f'finish_site.py: expected the page\'s Content-Security-Policy once, found it {found} times')
    hashes = []
    icon = base64.b64encode((site / 'favicon.ico').read_bytes()).decode('ascii')
    page = replace_once(page, '<link rel="icon" href="favicon.ico">',
                        f'<link rel="icon" href="data:image/x-icon;base64,{icon}">')
    # A page opened as a file is no web app: there is nothing to install.
    page = replace_once(page, '  <link rel="manifest" href="manifest.webmanifest">\n', '')
    # This page is the one that the site's page, opened as a file, points to.
    page = replace_once(page, '    <p id="one-file" hidden><a href="glukara.html">glukara.html</a></p>\n', '')
    # Opened from a learning platform or a USB stick, this file has no
    # guides beside it to link to; they are downloads of their own.
    page = replace_once(page, ' <a id="guide" href="guide.html">Guide</a>', '')
    page = replace_once(page, '<script src="qtloader.js"></script>',
                        '\n  '.join([carried(site, 'glukara.js'), carried(site, 'glukara.wasm'),
                                     inline_script(site, 'qtloader.js', hashes)]))
    page = replace_once(page, '<script src="page.js"></script>', inline_script(site, 'page.js', hashes))
    page = replace_once(page, '@POLICY@', '<meta http-equiv="Content-Security-Policy" content="'
                        f'{one_file_policy(hashes)}">')

    # The licences, which stand beside the site's page as files, are shown
    # within this one over the window.
    licences = ''.join(
        f'<h2>{name}</h2>\n<pre>{html.escape((site / name).read_text())}</pre>\n'
        for name in ('licence.txt', 'COPYING.txt', 'LiberationSans-LICENCE.txt',
                     'THIRD-PARTY-NOTICES.txt'))
    page = replace_once(page, '<a href="licence.txt">', '<a href="#licences">')
    page = replace_once(page, '  </style>', '''    #licences { position: fixed; inset: 0; overflow: auto; padding: 0 2em;
                background: #fff; color: #000; }
    #licences:not(:target) { display: none; }
    #licences a { color: #00e; }
  </style>''')
    page = replace_once(page, '</body>', f'''<section id="licences">
<p><a href="#">Back to Glukara</a></p>
{licences}</section>
</body>''')
    (site / ONE_FILE).write_text(page)


def main():
    if len(sys.argv) != 3:
        sys.exit('usage: finish_site.py SITE_DIR WEB_SOURCE_DIR')
    site, source = Path(sys.argv[1]), Path(sys.argv[2])
    write_one_file(site)
    name_by_content(site)
    write_worker(site, source)


if __name__ == '__main__':
    main()
