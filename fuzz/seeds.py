#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets, from worked examples of each function.

usage: seeds.py OUT_DIR   (one folder per target)
"""
import os
import sys

SEP = b"\xff"
ESCAPE = 0xFB


def esc(data):
    """Escapes the bytes that mark pieces (0xFB to 0xFF) inside one piece."""
    return b"".join(bytes([ESCAPE, c]) if c >= ESCAPE else bytes([c]) for c in data)


def integer(n):
    if -128 <= n < 128:
        return esc(bytes([n & 0xFF]))  # one byte is signed
    return esc((n & 0xFFFFFFFF).to_bytes(4, "little"))


def text(t):
    return b"\xfe" if t is None else esc(t.encode("latin-1"))


def enc(row, *args, hostility=0):
    out = bytes([row, hostility])
    parts = []
    for a in args:
        if isinstance(a, int):
            parts.append(integer(a))
        elif isinstance(a, list):  # an array: list of rows of cells (None: no text)
            parts.append(b"\xfd".join(b"\xfc".join(text(c) for c in r) for r in a))
        else:
            parts.append(text(a))
    return out + SEP.join(parts)


ARRAY = [["a", "b"], ["c", None]]


def dims(n):
    """The hostility byte for the n-th hostile dimension answer of the target (1 to 8)."""
    return n << 2


NULL_TEXTS, REFUSE_CREATE = 1, 2
BIG = 2147483647
SEEDS = {
    "arrays": [
        enc(0, "a,b,c\r\nd,e,f\r\n", 0), enc(0, "a,b\r\nc,d", 0), enc(0, "a,b,c", 0),
        enc(0, '"a,b",c\r\n', 0), enc(0, 'x"y,z",w\r\n', 0), enc(0, "   ,b\r\n", 0),
        enc(0, "   ,b\r\n", 1), enc(0, "a,\r\n\r\n", 0), enc(0, "a::b\r\n", 0, "::"),
        enc(0, "a,b\r\n", 0, "", 2, 0), enc(0, "a,b\r\n", 0, "", 2, 1), enc(0, "a\nb\n", 0),
        enc(0, 'a,"b,c\r\n12" pipe,5\r\n', 0, ",", -1, -1), enc(0, "a\rb\r\nc,d,e\r\n", 0),
        enc(0, None, 0, None), enc(0, "a,b\r\n", 0, None, BIG, 1),
        enc(0, "a,b\r\n", 0, "", -BIG - 1, -5), enc(0, "aa;aab;ab\r\n", 0, "aab"),
        enc(0, "a,b\r\n", 0, hostility=REFUSE_CREATE),
        enc(1, ARRAY), enc(1, ARRAY, ";", 0, 2), enc(1, ARRAY, None), enc(1, [['say "hi"']]),
        enc(1, [["", ""], [""]], "", 0, 3), enc(1, ARRAY, hostility=NULL_TEXTS),
        enc(2, ARRAY, "v", 1, 1), enc(2, ARRAY, "v", 2, 2), enc(2, ARRAY, "v", -1, 1),
        enc(2, ARRAY, "v", 0, 3), enc(2, ARRAY, None, 1, 2), enc(2, ARRAY, "v", BIG, 1),
    ]
    # Every hostile dimension answer, for the two functions that ask.
    + [enc(1, ARRAY, ",", 0, q, hostility=dims(n)) for n in range(1, 9) for q in (0, 2)]
    + [enc(2, ARRAY, "v", i, m, hostility=dims(n)) for n in range(1, 9) for i in (0, 1, BIG - 1)
       for m in (1, 2)],
    "isbn": [
        enc(0, "0-306-40615-2"), enc(0, "1-2345678X9"), enc(0, "123456789X"), enc(0, ""),
        enc(1, "978-0-306-40615-7"), enc(1, "978030640x157"), enc(1, "979-10-90636-07-1"),
        enc(1, "9780306406157"), enc(2, "B000123456", 1), enc(2, "B000123456", 0),
        enc(2, "030640615x", 0), enc(2, "979-10-90636-07-1", 0), enc(2, "977-0-306-40615-7"),
        enc(3, "ISBN 0-306-40615-2"), enc(3, "xxxxxxxxxX12"), enc(3, None),
    ],
    "trim": [
        enc(0, "  a  ", 0), enc(0, "", 0), enc(0, "\t\n", 0), enc(0, "\ta b\r\n", 5),
        enc(0, "   ", 0), enc(0, "x", 0), enc(0, "\x0b a \x0c\xa0", 0), enc(0, None, 0),
    ],
    "constants": [
        enc(0, "xlDialogPhonetic"), enc(0, "_xlDialogPhonetic"), enc(0, " xlX"), enc(0, "xlX"),
        enc(0, "OM"), enc(0, "WS_POPUP"), enc(0, "BoolValue_Max"), enc(0, "@dbVersion"),
        enc(0, "xldialogphonetic"), enc(0, ""), enc(0, None),
    ],
    "cut": [
        enc(0, "1,3", "a,b,c\r\nd,e,f", "f", ";"), enc(0, "1-3j", "a,b,c,d", "f", ";"),
        enc(0, "3j", "a,b,c,d", "fc", ";"), enc(0, "1-3,5", "abcdefg\r\nhijklmn", "c", "-"),
        enc(0, "2,10", "abc", "cc", "", "", 1), enc(0, "2", "ab\r\n\r\ncd", "c", "-", "", 1),
        enc(0, "10", "abc", "c", "-"), enc(0, "2", "a::b::c", "f", "/", "::"),
        enc(0, "0-4", "abc", "c", "-"), enc(0, "-3", "abc", "c", "-"), enc(0, "x", "abc", "F", "-"),
        enc(0, "3-3", "abcd", "c", "-"), enc(0, "3-", "abcd", "c", "-"), enc(0, "0", "ab", "c", "-"),
        enc(0, "1,", "ab", "c", "-"), enc(0, " 1 - 2 ", "abc", "c", "-"), enc(0, "2x", "abc", "c", ""),
        enc(0, "1-3-5", "abcdef", "c", ""), enc(0, "1J", "a,b", "f", ";"),
        enc(0, "3,3", "a,b,c", "f", ";"), enc(0, "2", "a,b,c", "fc", ";"), enc(0, "", "a,b", "f", ";"),
        enc(0, "", "ab\r\ncd", "cc", ""), enc(0, "200", "ab", "cc", "", "", 1),
        enc(0, "5", "ab", "c", "", "", 2), enc(0, "1", "ab", "fx", ";"), enc(0, "1", "ab", "", ";"),
        enc(0, ",,1", "ab", "c", ""), enc(0, "99999999999", "ab", "f", ""),
        enc(0, "1-2", "a\nb\nc", "c", "+", None), enc(0, None, None, None, None, None),
    ],
    "format": [
        enc(0, "1234567.89", "###,###,###.##"), enc(0, "1234567890", "(###) ###-####"),
        enc(0, "1234", "(###) ###-####"), enc(0, "1234", "##,###"), enc(0, "123", "#,###"),
        enc(0, "3.14", "#####"), enc(0, "3.14159", "#.##"), enc(0, "-42", "####"),
        enc(0, "4a2", "###"), enc(0, "42", "##-##"), enc(0, "5", "$###.##"), enc(0, "5", "0###"),
        enc(0, "12.50", "$##.##"), enc(0, "-12.50", "$##.##"), enc(0, "1234.5", "#,###.##"),
        enc(0, ".5", "#.#"), enc(0, "12.", "##.#"), enc(0, "12,34", "#,###"), enc(0, "", ""),
        enc(0, "", "$#,###.##"), enc(0, "abc", "$#"), enc(0, None, None),
    ],
    "int64": [
        enc(0, "7", "2"), enc(0, "-9223372036854775808", "-1"), enc(1, "-7", "2"),
        enc(1, "-9223372036854775808", "-1"), enc(0, "5", " 0 "), enc(0, "abc", "0"),
        enc(2, "12", "10"), enc(2, "-1", "255"), enc(3, "-1", "0"), enc(4, "9223372036854775807"),
        enc(4, "0"), enc(0, "99999999999999999999", "0"), enc(0, "42\t ", "+42"),
        enc(0, " \n42", "0042"), enc(0, "0x1F", "1"), enc(0, "1e3", "1.5"), enc(0, "1,000", "+ 4"),
        enc(0, "42\n", "42\r"), enc(0, "9223372036854775808", "-9223372036854775809"),
        enc(0, "99999999999999999999x", "1"), enc(0, "-0", "--4"), enc(0, None, None),
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
