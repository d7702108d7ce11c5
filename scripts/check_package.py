#!/usr/bin/env python3
"""Checks a Talvenor release zip: the pilot unzips it into X-Plane's Resources/plugins/ and must get exactly
Talvenor/ with the two plugin libraries where X-Plane looks for them, the settings file and the install text,
and TalvenorUDP/ with its two libraries and its settings file.

Usage: check_package.py ZIP [--files DIR]
  --files DIR: the zip's files must also be byte for byte those under DIR (the assembled dist/ folder).
"""

import argparse
import struct
import sys
import zipfile
from pathlib import Path

EXPECTED = [
    "Talvenor/INSTALL.txt",
    "Talvenor/Talvenor.ini",
    "Talvenor/lin_x64/Talvenor.xpl",
    "Talvenor/win_x64/Talvenor.xpl",
    "TalvenorUDP/TalvenorUDP.ini",
    "TalvenorUDP/lin_x64/TalvenorUDP.xpl",
    "TalvenorUDP/win_x64/TalvenorUDP.xpl",
]
LIBRARIES = [name for name in EXPECTED if name.endswith(".xpl")]
TEXTS = [name for name in EXPECTED if not name.endswith(".xpl")]


def is_windows_x64_dll(data: bytes) -> bool:
    if len(data) < 0x40 or data[:2] != b"MZ":
        return False
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if len(data) < pe + 24 or data[pe : pe + 4] != b"PE\0\0":
        return False
    machine, = struct.unpack_from("<H", data, pe + 4)
    characteristics, = struct.unpack_from("<H", data, pe + 22)
    return machine == 0x8664 and characteristics & 0x2000 != 0  # x86-64, IMAGE_FILE_DLL


def is_linux_x64_shared_object(data: bytes) -> bool:
    if len(data) < 20 or data[:4] != b"\x7fELF" or data[4] != 2 or data[5] != 1:  # 64-bit, little-endian
        return False
    e_type, e_machine = struct.unpack_from("<HH", data, 16)
    return e_type == 3 and e_machine == 62  # ET_DYN, EM_X86_64


def check(zip_path: Path, files: Path | None) -> list[str]:
    try:
        archive = zipfile.ZipFile(zip_path)
    except (OSError, zipfile.BadZipFile) as error:
        return [f"cannot read {zip_path}: {error}"]
    with archive:
        names = archive.namelist()
        problems = []
        if sorted(names) != EXPECTED:
            extra = sorted(set(names) - set(EXPECTED))
            missing = sorted(set(EXPECTED) - set(names))
            if extra:
                problems.append("entries that do not belong: " + ", ".join(extra))
            if missing:
                problems.append("missing: " + ", ".join(missing))
            if len(names) != len(set(names)):
                problems.append("entries given twice")
        contents = {name: archive.read(name) for name in set(names) & set(EXPECTED)}
    for name in LIBRARIES:
        data = contents.get(name)
        if data is None:
            continue
        if "/win_x64/" in name and not is_windows_x64_dll(data):
            problems.append(f"{name} is not a 64-bit Windows DLL")
        if "/lin_x64/" in name and not is_linux_x64_shared_object(data):
            problems.append(f"{name} is not a 64-bit Linux shared object")
    for name in TEXTS:
        if name in contents and not contents[name].strip():
            problems.append(f"{name} is empty")
    if files is not None:
        for name, data in sorted(contents.items()):
            source = files / name
            if not source.is_file() or source.read_bytes() != data:
                problems.append(f"{name} differs from {source}")
    return problems


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("zip", type=Path)
    parser.add_argument("--files", type=Path)
    arguments = parser.parse_args()
    problems = check(arguments.zip, arguments.files)
    for problem in problems:
        print(f"FAIL: {arguments.zip}: {problem}")
    if not problems:
        print(f"{arguments.zip}: exactly {', '.join(EXPECTED)}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
