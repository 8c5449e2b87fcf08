#!/usr/bin/env python3
"""Checks that each given program is a Windows PE file of the expected kind.

--pe32 PATH        a 32-bit program that carries no debugging sections (the release build)
--pe32plus PATH    a 64-bit program that carries none either (the test build, which keeps them
                   in ZQ.debug beside it: inside, they slow every start under Wine)
"""
import struct
import sys

KINDS = {"--pe32": 0x10B, "--pe32plus": 0x20B}


def read_headers(path):
    """The optional header's magic and the section names (long names resolved)."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"MZ":
        raise ValueError("not an MZ executable")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("no PE signature")
    sections, symbols, count, optional_size = struct.unpack_from("<2xHxxxxIIH", data, pe + 4)
    strings = symbols + count * 18
    names = []
    table = pe + 24 + optional_size
    for i in range(sections):
        raw = data[table + 40 * i:table + 40 * i + 8].rstrip(b"\0")
        if raw.startswith(b"/") and raw[1:].isdigit():
            start = strings + int(raw[1:])
            raw = data[start:data.index(b"\0", start)]
        names.append(raw.decode("latin-1"))
    return struct.unpack_from("<H", data, pe + 24)[0], names


def main(argv):
    failures = 0
    for flag, path in zip(argv[1::2], argv[2::2]):
        want = KINDS[flag]
        try:
            got, names = read_headers(path)
        except (OSError, ValueError) as e:
            print(f"{path}: {e}")
            failures += 1
            continue
        problems = [] if got == want else ["expected " + flag[2:]]
        debug = [name for name in names if name.startswith(".debug")]
        if debug:
            problems.append("carries debugging sections " + " ".join(debug))
        print(f"{path}: {'PE32+' if got == 0x20B else 'PE32' if got == 0x10B else hex(got)}"
              f" ({'; '.join(problems) if problems else 'ok'})")
        failures += bool(problems)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
