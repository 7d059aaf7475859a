#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets, from worked examples of each function.

usage: seeds.py OUT_DIR   (one folder per target)
"""
import os
import sys

SEP = b"\xff"


def enc(row, *args, hostility=0):
    out = bytes([row, hostility])
    parts = []
    for a in args:
        if isinstance(a, int):
            parts.append((a & 0xFFFFFFFF).to_bytes(4, "little") if not -128 <= a < 128 else bytes([a & 0xFF]))
        elif isinstance(a, list):  # an array: list of rows of cells (None: no text)
            parts.append(b"\xfd".join(b"\xfc".join(b"\xfe" if c is None else c.encode() for c in r) for r in a))
        elif a is None:
            parts.append(b"\xfe")
        else:
            parts.append(a.encode("latin-1"))
    return out + SEP.join(parts)


ARRAY = [["a", "b"], ["c", None]]
SEEDS = {
    "arrays": [
        enc(0, "a,b,c\r\nd,e,f\r\n", 0), enc(0, '"a,b",c\r\n', 0), enc(0, 'x"y,z",w\r\n', 0),
        enc(0, "   ,b\r\n", 1), enc(0, "a::b\r\n", 0, "::"), enc(0, "a,b\r\n", 0, "", 2, 1),
        enc(0, "a\nb\n", 0), enc(0, 'a,"b,c\r\n12" pipe,5\r\n', 0, ",", -1, -1),
        enc(1, ARRAY), enc(1, ARRAY, ";", 0, 2), enc(1, ARRAY, hostility=0x1C),
        enc(2, ARRAY, "v", 1, 1), enc(2, ARRAY, "v", 2, 2), enc(2, ARRAY, "v", -1, 1),
        enc(2, ARRAY, "v", 0, 2, hostility=0x18),
    ],
    "isbn": [
        enc(0, "0-306-40615-2"), enc(0, "1-2345678X9"), enc(1, "978-0-306-40615-7"),
        enc(1, "978030640x157"), enc(1, "979-10-90636-07-1"), enc(2, "B000123456", 1),
        enc(2, "030640615x", 0), enc(3, "ISBN 0-306-40615-2"),
    ],
    "trim": [enc(0, "  a  ", 0), enc(0, "", 0), enc(0, "\t\n", 0), enc(0, "\ta b\r\n", 5)],
    "constants": [enc(0, "xlDialogPhonetic"), enc(0, " xlX"), enc(0, ""), enc(0, None)],
    "cut": [
        enc(0, "1,3", "a,b,c\r\nd,e,f", "f", ";"), enc(0, "1-3j", "a,b,c,d", "f", ";"),
        enc(0, "3j", "a,b,c,d", "fc", ";"), enc(0, "1-3,5", "abcdefg\r\nhijklmn", "c", "-"),
        enc(0, "2,10", "abc", "cc", "", "", 1), enc(0, "2", "ab\r\n\r\ncd", "c", "-", "", 1),
        enc(0, "10", "abc", "c", "-"), enc(0, "2", "a::b::c", "f", "/", "::"),
        enc(0, "0-4", "abc", "c", "-"), enc(0, "-3", "abc", "c", "-"), enc(0, "x", "abc", "F", "-"),
    ],
    "format": [
        enc(0, "1234567.89", "###,###,###.##"), enc(0, "1234", "(###) ###-####"),
        enc(0, "5", "$###.##"), enc(0, "1234.5", "#,###.##"), enc(0, "", "$#,###.##"),
    ],
    "int64": [
        enc(0, "7", "2"), enc(0, "-9223372036854775808", "-1"), enc(1, "-7", "2"),
        enc(0, "5", " 0 "), enc(2, "12", "10"), enc(3, "-1", "0"), enc(4, "9223372036854775807"),
        enc(0, "99999999999999999999", "0"), enc(0, "42\t ", "+42"), enc(0, "0x1F", "1"),
    ],
}


def main():
    out = sys.argv[1]
    for target, seeds in SEEDS.items():
        folder = os.path.join(out, target)
        os.makedirs(folder, exist_ok=True)
        for i, seed in enumerate(seeds):
            with open(os.path.join(folder, f"seed-{i:02d}"), "wb") as f:
                f.write(seed)


if __name__ == "__main__":
    main()
