#!/usr/bin/env python3
"""Runs the command-line runner and checks what it prints and its exit status.

usage: check_runner.py [WRAPPER ...] RUNNER
  (WRAPPER runs a Windows runner, e.g. host/wine-run --again; output that a crash of Wine cut
  short and a second run repeated still has the lines in order)
"""
import os
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor

USAGE = ("usage: qvhost --info | --list | FUNCTION [ARG ...]   (texts: \\r \\n \\t \\\\; "
         "--file=PATH; arrays: {RxC} or {a|b;c|d})")

CASES = [
    # arguments, exit status, lines that must appear in order
    (["--info"], 0, ["description: qvPalvek KEL Extender.", "version: 44001"]),
    (["--list"], 0, ["0\tfunction\tpkarrayfromstrcsv\t2 required, 3 optional\t"
                     "string, integer, string, integer, integer",
                     "17\tconstant\t@easteregg\t= 42"]),
    (["PKGETCONSTANTS", "xlDialogPhonetic"], 0,
     ["variable: xlDialogPhonetic = 656", "status: 0", "result: 656"]),
    (["pkGetConstants", "nothing here"], 1,
     ['detail: "nothing here Constant Not Found."', "status: -3",
      'result: "20002: Constant Not Found."']),
    (["--help"], 0, [USAGE]),
    (["-h"], 0, [USAGE]),
    ([], 2, []),
    (["--bogus"], 2, []),
    (["pkNoSuchFunction"], 2, []),
    (["pkGetConstants"], 2, []),                 # too few arguments
    (["pkStrTrim", "a", "one"], 2, []),          # not an integer
    (["pkStrTrim", "a\\q", "0"], 2, []),         # unknown escape
    (["pkArrayToStrCSV", "{a|b"], 2, []),        # unfinished array
    (["pkArrInitialize", "{65536x65537}", "x", "0", "0"], 2, []),  # more cells than a host holds
    (["pkArrayToStrCSV", "{a|b;c|\\N}", ";", "0", "2"], 0, ['result: "a;b\\r\\nc;\\r\\n"']),
]


def check(runner, case):
    """Runs one case; returns its failure report, or None."""
    args, status, lines = case
    proc = subprocess.run(runner + args, capture_output=True, text=True, stdin=subprocess.DEVNULL)
    out = proc.stdout.splitlines()
    pos, ok = 0, proc.returncode == status
    for line in lines:
        while pos < len(out) and out[pos] != line:
            pos += 1
        ok = ok and pos < len(out)
    if status == 2 and not proc.stderr.strip():
        ok = False
    if ok:
        return None
    return f"FAIL {args}: exit {proc.returncode} (want {status})\n{proc.stdout}{proc.stderr}"


def main():
    runner = sys.argv[1:]
    # Cases run side by side: a runner under Wine can take a minute to start.
    with ThreadPoolExecutor(max_workers=os.cpu_count() or 4) as pool:
        reports = [r for r in pool.map(lambda case: check(runner, case), CASES) if r]
    for report in reports:
        print(report)
    print(f"{len(CASES) - len(reports)} passed, {len(reports)} failed")
    sys.exit(1 if reports else 0)


if __name__ == "__main__":
    main()
