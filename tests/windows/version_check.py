#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Reads glukara.exe's version record, icon group and imported DLLs back
from the file, field by field, against the values the program is given.

version_check.py GLUKARA.EXE
"""
import struct
import sys

import pefile

# Every Windows 10 and 11 has these; a Qt or compiler DLL among the imports
# would have to travel beside glukara.exe.
SYSTEM_DLLS = {
    "advapi32.dll", "authz.dll", "comdlg32.dll", "d3d11.dll", "d3d9.dll", "dwmapi.dll",
    "dxgi.dll", "gdi32.dll", "imm32.dll", "kernel32.dll", "msvcrt.dll", "netapi32.dll",
    "ole32.dll", "oleaut32.dll", "shcore.dll", "shell32.dll", "shlwapi.dll", "user32.dll",
    "userenv.dll", "uxtheme.dll", "version.dll", "winmm.dll", "ws2_32.dll", "wtsapi32.dll",
    "api-ms-win-core-winrt-l1-1-0.dll", "api-ms-win-core-winrt-string-l1-1-0.dll",
    "api-ms-win-core-synch-l1-2-0.dll",
}

failures = []


def check(what, seen, expected):
    ok = seen == expected
    print(f"{'ok  ' if ok else 'FAIL'} {what}: {seen!r}" + ("" if ok else f", expected {expected!r}"))
    if not ok:
        failures.append(what)


pe = pefile.PE(sys.argv[1])
check("machine", hex(pe.FILE_HEADER.Machine), hex(pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"]))
check("subsystem", pe.OPTIONAL_HEADER.Subsystem, pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"])
# A link time would make two builds of one commit differ.
check("link time", pe.FILE_HEADER.TimeDateStamp, 0)

fixed = pe.VS_FIXEDFILEINFO[0]
check("fixed file version", (fixed.FileVersionMS, fixed.FileVersionLS), (0x00010000, 0))
check("fixed product version", (fixed.ProductVersionMS, fixed.ProductVersionLS), (0x00010000, 0))
check("file type", fixed.FileType, 1)  # VFT_APP
check("file OS", fixed.FileOS, 0x4)  # VOS__WINDOWS32

strings = {}
translations = []
for info in pe.FileInfo[0]:
    if info.Key == b"StringFileInfo":
        for table in info.StringTable:
            strings[table.LangID.decode()] = {
                k.decode(): v.decode() for k, v in table.entries.items()}
    elif info.Key == b"VarFileInfo":
        for var in info.Var:
            translations.extend(var.entry.values())
check("string tables", sorted(strings), ["040904B0"])
table = strings.get("040904B0", {})
for key, value in [("FileVersion", "1.00"), ("ProductVersion", "1.00"),
                   ("ProductName", "glukara"), ("InternalName", "glukara"),
                   ("OriginalFilename", "glukara.exe")]:
    check(key, table.get(key), value)
check("translation", translations, ["0x0409 0x04b0"])

groups = [e for e in pe.DIRECTORY_ENTRY_RESOURCE.entries
          if e.id == pefile.RESOURCE_TYPE["RT_GROUP_ICON"]]
check("icon groups", len(groups), 1)
if groups:
    resource = groups[0].directory.entries[0].directory.entries[0].data.struct
    data = pe.get_data(resource.OffsetToData, resource.Size)
    _, kind, count = struct.unpack_from("<HHH", data)
    images = []
    for i in range(count):
        w, h, colours, _, _, bits, _, _ = struct.unpack_from("<BBBBHHIH", data, 6 + 14 * i)
        images.append((w or 256, h or 256, 2 ** bits))
    check("icon images (width, height, colours)", images, [(32, 32, 16), (16, 16, 16), (32, 32, 2)])

dlls = sorted(entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT)
print(f"     imported DLLs: {' '.join(dlls)}")
check("DLLs that Windows lacks", [d for d in dlls if d not in SYSTEM_DLLS], [])

sys.exit(1 if failures else 0)
