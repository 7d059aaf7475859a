#!/usr/bin/env bash
# pkStrCut against GNU cut on the same 16 MB of comma-separated text (lines of about 80
# characters, CR LF). Prints 'cut-field-vs-gnu: <ratio>' and 'cut-char-vs-gnu: <ratio>', each
# pkStrCut's time over GNU cut's; both are the best of several runs.
# pkStrCut is timed in qvbench, through the entry point on text the caller holds (no process
# start-up); GNU cut reads the file and writes to /dev/null. A comment line also gives the time
# through the stand-in host, which copies the 16 MB argument before every call.
set -euo pipefail
build=${1:?usage: cut_vs_gnu.sh BUILD_FOLDER}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
text=$tmp/cut.csv

python3 - "$text" <<'PY'
import sys
n, lines, size = 12345, [], 0
while size < 16 << 20:
    fields = []
    for _ in range(14):
        n = (n * 1103515245 + 12345) % 2**32
        fields.append(str(n % 100000))
    line = ",".join(fields) + "\r\n"
    lines.append(line)
    size += len(line)
open(sys.argv[1], "w", newline="").write("".join(lines))
PY

QV_CUT_TEXT=$text "$build/qvbench" --benchmark_filter='BM_StrCutText/' \
  --benchmark_repetitions=5 --benchmark_format=json >"$tmp/cut.json" 2>/dev/null

LC_ALL=C python3 - "$text" "$tmp/cut.json" <<'PY'
import json, subprocess, sys, time
text, report = sys.argv[1], sys.argv[2]

def gnu_ms(args):
    best = float("inf")
    with open("/dev/null", "wb") as sink:
        for _ in range(10):
            start = time.perf_counter()
            subprocess.run(["cut", *args, text], stdout=sink, check=True)
            best = min(best, time.perf_counter() - start)
    return best * 1e3

units = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}
ours = {}
for b in json.load(open(report))["benchmarks"]:
    if b.get("run_type") == "aggregate":
        continue
    name = b["run_name"].split("/")[-1]
    ms = b["real_time"] * units[b.get("time_unit", "ns")]
    ours[name] = min(ours.get(name, float("inf")), ms)

for name, args in (("field", ["-d,", "-f1,3"]), ("char", ["-c1-10,20"])):
    gnu = gnu_ms(args)
    host = ours[name + "-host"]
    print(f"# cut-{name}: pkStrCut {ours[name]:.1f} ms ({16 * 1.048576e3 / ours[name]:.0f} MB/s), "
          f"through the stand-in host {host:.1f} ms (ratio {host / gnu:.2f}), GNU cut {gnu:.1f} ms")
    print(f"cut-{name}-vs-gnu: {ours[name] / gnu:.2f}")
PY
