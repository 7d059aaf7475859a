#!/usr/bin/env bash
# Sets up what is missing, builds both builds and runs every test: the native build under
# AddressSanitizer and UBSan, the Windows DLL under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
jobs=$(nproc)

cmake --preset native
cmake --build build/native -j "$jobs"
ctest --test-dir build/native -j "$jobs" --output-on-failure

cmake --preset win32
cmake --build build/win32 -j "$jobs"
host/wine-run build/win32/qvhost.exe --info >/dev/null # makes the Wine prefix once
ctest --test-dir build/win32 -j "$jobs" --output-on-failure

if [ -x fuzz/run ]; then
  fuzz/run --ci
fi
