#!/usr/bin/env python3
"""Turns constants/table.tsv (name TAB value per line) into read-only data of the module:
one blob of names and an array of (offset, length, value), in the table's order."""
import sys


def c_chunk(names):
    return '"' + "".join(n + "\\0" for n in names) + '"'


def main():
    src, out = sys.argv[1:3]
    entries = []
    with open(src, encoding="ascii") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line:
                continue
            name, value = line.split("\t")
            if not name.replace("_", "a").isalnum():
                sys.exit(f"{src}:{number}: bad name {name!r}")
            entries.append((name, int(value)))
    lines = ["// Generated from constants/table.tsv.", '#include "ConstantsData.h"', "",
             "const char g_achConstantNames[] ="]
    for i in range(0, len(entries), 8):
        lines.append("    " + c_chunk([n for n, _ in entries[i:i + 8]]))
    lines[-1] += ";"
    lines += ["", "const ConstantEntry g_aConstantEntries[] = {"]
    offset = 0
    for name, value in entries:
        lines.append(f"    {{{offset}u, {len(name)}u, {value}}},"
                     if value != -2147483648 else f"    {{{offset}u, {len(name)}u, INT32_MIN}},")
        offset += len(name) + 1
    lines += ["};", f"const uint32_t g_nConstantEntries = {len(entries)}u;", ""]
    with open(out, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(lines))


if __name__ == "__main__":
    main()
