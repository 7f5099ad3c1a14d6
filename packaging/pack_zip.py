#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Packs FILEs, named relative to DIR, into ZIP, the same bytes from the same
files: in name order, every one dated SOURCE_DATE_EPOCH (the commit's time,
for a release) or else now, .exe files executable and the rest not, with no
owner and none of the access and change times that other zip writers take
from the disk, and which differ on every build.

    pack_zip.py ZIP DIR FILE...
"""
import os
import sys
import time
import zipfile

DOS_EPOCH = 315532800  # 1980-01-01, the earliest date a zip can hold


def main():
    zip_path, folder, names = sys.argv[1], sys.argv[2], sorted(sys.argv[3:])
    epoch = int(os.environ.get('SOURCE_DATE_EPOCH', time.time()))
    stamp = time.gmtime(max(epoch, DOS_EPOCH))[:6]
    with zipfile.ZipFile(zip_path + '.new', 'w') as archive:
        for name in names:
            info = zipfile.ZipInfo(name, stamp)
            info.create_system = 3  # Unix, whose modes unzip then applies
            info.external_attr = (0o100755 if name.endswith('.exe') else 0o100644) << 16
            with open(os.path.join(folder, name), 'rb') as source:
                archive.writestr(info, source.read(), zipfile.ZIP_DEFLATED, 9)
    os.replace(zip_path + '.new', zip_path)


if __name__ == '__main__':
    main()
