#!/usr/bin/env python3
"""Checks that each given program is a Windows PE file of the expected kind."""
import struct
import sys

KINDS = {"--pe32": 0x10B, "--pe32plus": 0x20B}


def optional_header_magic(path):
    with open(path, "rb") as f:
        data = f.read(4096)
    if data[:2] != b"MZ":
        raise ValueError("not an MZ executable")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("no PE signature")
    return struct.unpack_from("<H", data, pe + 24)[0]


def main(argv):
    failures = 0
    for flag, path in zip(argv[1::2], argv[2::2]):
        want = KINDS[flag]
        try:
            got = optional_header_magic(path)
        except (OSError, ValueError) as e:
            print(f"{path}: {e}")
            failures += 1
            continue
        ok = got == want
        print(f"{path}: {'PE32+' if got == 0x20B else 'PE32' if got == 0x10B else hex(got)}"
              f" ({'ok' if ok else 'expected ' + flag[2:]})")
        failures += not ok
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
