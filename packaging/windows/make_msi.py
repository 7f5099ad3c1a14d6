#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Makes the Windows Installer package from its WiX source with Debian's wixl,
the same bytes from the same files:

    make_msi.py WXS MSI DIR FILE...

The FILEs, named relative to DIR as the WiX source names them (or given
whole, such as the icon, and named by their last part), are copied into a
folder of their own, dated SOURCE_DATE_EPOCH (the commit's time, for
a release) or else now, since the package's cabinet records each file's
time. wixl and msibuild run with the clock stopped at that time (faketime),
since the package records when it was made and saved. The package code,
which wixl draws at random, is then set from the contents: the same source
and files give the same code, and any change gives another.
"""
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
import time
import uuid

# The package codes' own namespace, so that they meet no other name-based UUID.
PACKAGE_CODES = uuid.UUID('5d0b8f0e-5a39-4a8e-9a53-2f3c0b6f1d27')


def summary(msi):
    """The summary information, a field a line, as msiinfo prints it."""
    text = subprocess.run(['msiinfo', 'suminfo', msi], check=True, capture_output=True, text=True).stdout
    return dict(line.split(': ', 1) for line in text.splitlines() if ': ' in line)


def main():
    wxs, msi, folder, names = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
    epoch = int(os.environ.get('SOURCE_DATE_EPOCH', time.time()))
    clock = time.strftime('%Y-%m-%d %H:%M:%S', time.gmtime(epoch))
    stopped = ['faketime', '-f', clock]
    contents = hashlib.sha256()
    with open(wxs, 'rb') as source:
        contents.update(source.read())
    with tempfile.TemporaryDirectory() as staging:
        for path in sorted(names):
            name = os.path.basename(path) if os.path.isabs(path) else path
            copy = os.path.join(staging, name)
            os.makedirs(os.path.dirname(copy), exist_ok=True)
            shutil.copyfile(os.path.join(folder, path), copy)
            os.utime(copy, (epoch, epoch))
            with open(copy, 'rb') as data:
                contents.update(name.encode() + b'\0' + data.read())
        shutil.copyfile(wxs, os.path.join(staging, 'package.wxs'))
        made = os.path.join(staging, 'package.msi')
        env = dict(os.environ, TZ='UTC')
        subprocess.run(stopped + ['wixl', '-a', 'x64', '-o', made, 'package.wxs'],
                       check=True, cwd=staging, env=env)
        fields = summary(made)
        code = '{' + str(uuid.uuid5(PACKAGE_CODES, contents.hexdigest())).upper() + '}'
        subprocess.run(stopped + ['msibuild', made, '-s', fields['Title'], fields['Author'],
                                  fields['Template'], code], check=True, env=env)
        if summary(made)['Revision number (UUID)'] != code:
            sys.exit(f'make_msi.py: msibuild did not set the package code {code}')
        shutil.copyfile(made, msi + '.new')
    os.replace(msi + '.new', msi)


if __name__ == '__main__':
    main()
