#!/usr/bin/env python3
"""Checks the built DLL's binary interface: exports and ordinals, imports, and resources
(string table, version block, manifest) against the resource sources.

usage: check_binary.py QVPALVEK.DLL RESOURCES_DIR
"""
import re
import struct
import subprocess
import sys

ALLOWED_IMPORTS = {"kernel32.dll", "user32.dll", "version.dll", "msvcrt.dll", "advapi32.dll",
                   "ntdll.dll"}
EXPECTED_EXPORTS = {"_KELExtender2@40": 1, "_KELExtenderQuery@12": 2}
failures = []


def fail(message):
    failures.append(message)


def run(*args, binary=False):
    return subprocess.run(args, check=True, capture_output=True, text=not binary).stdout


def read_tsv(path):
    with open(path, encoding="utf-8") as f:
        return [l.rstrip("\n").split("\t") for l in f if l.strip() and not l.startswith("#")]


def check_exports_and_imports(dll):
    dump = run("i686-w64-mingw32-objdump", "-p", dll)
    base = int(re.search(r"Export Address Table -- Ordinal Base (\d+)", dump).group(1))
    table = dump.split("[Ordinal/Name Pointer] Table", 1)[1].split("\n\n", 1)[0]
    exports = {m.group(2): int(m.group(1)) + base for m in re.finditer(r"\[\s*(\d+)\]\s+(\S+)", table)}
    if exports != EXPECTED_EXPORTS:
        fail(f"exports {exports}, expected {EXPECTED_EXPORTS}")
    imports = {m.group(1).lower() for m in re.finditer(r"DLL Name: (\S+)", dump)}
    if not imports <= ALLOWED_IMPORTS:
        fail(f"imports beyond the system DLLs: {sorted(imports - ALLOWED_IMPORTS)}")


def resource(dll, rtype, name):
    return run("wrestool", "-x", "--raw", f"--type={rtype}", f"--name={name}", dll, binary=True)


def check_string_table(dll, res_dir):
    listing = run("wrestool", "-l", dll)
    entries = re.findall(r"--type=(\d+) --name=(\d+) --language=(\d+)", listing)
    strings = {}
    for rtype, name, lang in entries:
        if rtype != "6":
            continue
        if lang != "1033":
            fail(f"string block {name} has language {lang}")
        data, pos = resource(dll, 6, name), 0
        for i in range(16):
            (length,) = struct.unpack_from("<H", data, pos)
            pos += 2
            if length:
                strings[(int(name) - 1) * 16 + i] = data[pos:pos + 2 * length].decode("utf-16-le")
            pos += 2 * length
    expected = {int(n): text for n, _, text in read_tsv(f"{res_dir}/messages.tsv")}
    if strings != expected:
        fail(f"string table differs: {sorted(set(strings.items()) ^ set(expected.items()))}")
    manifests = [e for e in entries if e[0] == "24"]
    if [m[1] for m in manifests] != ["2"]:
        fail(f"manifests {manifests}, expected one with id 2")
    else:
        text = resource(dll, 24, 2).decode("utf-8", "replace")
        if 'level="asInvoker"' not in text or 'uiAccess="false"' not in text:
            fail("manifest does not request asInvoker without UI access")


def parse_block(data, pos):
    """One version-resource node: (key, value bytes, children, end)."""
    length, value_length, vtype = struct.unpack_from("<HHH", data, pos)
    end = pos + length
    key_end = pos + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[pos + 6:key_end].decode("utf-16-le")
    cur = (key_end + 2 + 3) & ~3
    size = value_length * 2 if vtype == 1 else value_length
    value = data[cur:cur + size]
    cur = (cur + size + 3) & ~3
    children = []
    while cur < end:
        child = parse_block(data, cur)
        children.append(child)
        cur = (child[3] + 3) & ~3
    return key, value, children, end


def check_version(dll, res_dir):
    data = resource(dll, 16, 1)
    key, value, children, _ = parse_block(data, 0)
    fixed = {k[1:]: v for k, v in read_tsv(f"{res_dir}/version.tsv") if k.startswith(".")}
    strings = {k: v for k, v in read_tsv(f"{res_dir}/version.tsv") if not k.startswith(".")}
    fields = struct.unpack_from("<13I", value)
    if fields[0] != 0xFEEF04BD:
        fail("no fixed version part")
    def version(text):
        a, b, c, d = (int(x) for x in text.split(","))
        return (a << 16 | b, c << 16 | d)
    got = {"FILEVERSION": fields[2:4], "PRODUCTVERSION": fields[4:6], "FILEFLAGSMASK": fields[6],
           "FILEFLAGS": fields[7], "FILEOS": fields[8], "FILETYPE": fields[9], "FILESUBTYPE": fields[10]}
    for name, actual in got.items():
        want = version(fixed[name]) if "VERSION" in name else int(fixed[name], 0)
        if tuple(actual) != tuple(want) if isinstance(want, tuple) else actual != want:
            fail(f"fixed part {name} is {actual}, expected {want}")
    block = f"{int(fixed['LANGUAGE'], 0):04x}{int(fixed['CODEPAGE'], 0):04x}"
    found = {}
    for node in children:
        if node[0] == "StringFileInfo":
            for table in node[2]:
                if table[0].lower() == block:
                    found = {k: v.decode("utf-16-le").rstrip("\0") for k, v, _, _ in table[2]}
        if node[0] == "VarFileInfo":
            translation = struct.unpack_from("<HH", node[2][0][1])
            if translation != (int(fixed["LANGUAGE"], 0), int(fixed["CODEPAGE"], 0)):
                fail(f"translation {translation}")
    if found != strings:
        fail(f"version strings {found}, expected {strings}")


def main():
    dll, res_dir = sys.argv[1:3]
    check_exports_and_imports(dll)
    check_string_table(dll, res_dir)
    check_version(dll, res_dir)
    for f in failures:
        print("FAIL:", f)
    print(f"{0 if failures else 1} passed, {len(failures)} failed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
