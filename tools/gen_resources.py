#!/usr/bin/env python3
"""Turns the resource sources (messages.tsv, version.tsv) into what each build needs.

  gen_resources.py ids RESOURCES_DIR OUT.h        message numbers for the code
  gen_resources.py rc RESOURCES_DIR OUT.rc        windres input (string table, version, manifest)
  gen_resources.py native RESOURCES_DIR OUT.cpp   tables for the native platform layer
"""
import os
import sys


def read_tsv(path):
    rows = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line and not line.startswith("#"):
                rows.append(line.split("\t"))
    return rows


def c_string(text):
    out = []
    for ch in text:
        if ch in '\\"':
            out.append("\\" + ch)
        elif ch == "\n":
            out.append("\\n")
        elif ch == "\t":
            out.append("\\t")
        else:
            out.append(ch)
    return '"' + "".join(out) + '"'


def rc_string(text):
    return '"' + text.replace('"', '""') + '"'


def check_text(text):
    # Both builds must carry the same bytes: plain ASCII, no escapes.
    if not text.isascii() or "\\" in text:
        sys.exit(f"resource text must be ASCII without backslashes: {text!r}")
    return text


def load(res_dir):
    messages = [(int(n), name, check_text(text))
                for n, name, text in read_tsv(os.path.join(res_dir, "messages.tsv"))]
    fixed, strings = {}, []
    for key, value in read_tsv(os.path.join(res_dir, "version.tsv")):
        if key.startswith("."):
            fixed[key[1:]] = value
        else:
            strings.append((key, check_text(value)))
    return messages, fixed, strings


def gen_ids(messages):
    lines = ["// Generated from resources/messages.tsv.", "#pragma once", "", "enum {"]
    lines += [f"    {name} = {n}," for n, name, _ in messages]
    lines += ["};", ""]
    return "\n".join(lines)


def gen_rc(res_dir, messages, fixed, strings):
    lang, codepage = int(fixed["LANGUAGE"], 0), int(fixed["CODEPAGE"], 0)
    block = f"{lang:04x}{codepage:04x}"
    manifest = os.path.abspath(os.path.join(res_dir, "qvPalvek.manifest")).replace("\\", "/")
    out = ["// Generated from resources/messages.tsv and resources/version.tsv.", "",
           "LANGUAGE 9, 1", "STRINGTABLE", "BEGIN"]
    out += [f"    {n}, {rc_string(text)}" for n, _, text in messages]
    out += ["END", "",
            "1 VERSIONINFO",
            f"FILEVERSION {fixed['FILEVERSION']}",
            f"PRODUCTVERSION {fixed['PRODUCTVERSION']}",
            f"FILEFLAGSMASK {fixed['FILEFLAGSMASK']}",
            f"FILEFLAGS {fixed['FILEFLAGS']}",
            f"FILEOS {fixed['FILEOS']}",
            f"FILETYPE {fixed['FILETYPE']}",
            f"FILESUBTYPE {fixed['FILESUBTYPE']}",
            "BEGIN", '    BLOCK "StringFileInfo"', "    BEGIN", f'        BLOCK "{block}"', "        BEGIN"]
    out += [f'            VALUE "{key}", {rc_string(value)}' for key, value in strings]
    out += ["        END", "    END", '    BLOCK "VarFileInfo"', "    BEGIN",
            f'        VALUE "Translation", 0x{lang:04x}, {codepage}', "    END", "END", "",
            f'2 24 "{manifest}"', ""]
    return "\n".join(out)


def gen_native(messages, fixed, strings):
    lang, codepage = int(fixed["LANGUAGE"], 0), int(fixed["CODEPAGE"], 0)
    out = ["// Generated from resources/messages.tsv and resources/version.tsv.",
           '#include "ResourceData.h"', "", "const ResourceString g_aStringTable[] = {"]
    out += [f"    {{{n}, {c_string(text)}}}," for n, _, text in messages]
    out += ["};", f"const unsigned g_nStringTableSize = {len(messages)};", "",
            "const VersionString g_aVersionStrings[] = {"]
    out += [f"    {{{c_string(key)}, {c_string(value)}}}," for key, value in strings]
    out += ["};", f"const unsigned g_nVersionStrings = {len(strings)};",
            f"const uint32_t g_dwVersionTranslation = 0x{(codepage << 16) | lang:08x}u;", ""]
    return "\n".join(out)


def main():
    kind, res_dir, out_path = sys.argv[1:4]
    messages, fixed, strings = load(res_dir)
    if kind == "ids":
        text = gen_ids(messages)
    elif kind == "rc":
        text = gen_rc(res_dir, messages, fixed, strings)
    elif kind == "native":
        text = gen_native(messages, fixed, strings)
    else:
        sys.exit(f"unknown output kind {kind}")
    with open(out_path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


if __name__ == "__main__":
    main()
