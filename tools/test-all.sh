#!/usr/bin/env bash
# Sets up what is missing, builds both builds and runs every test: the native build under
# AddressSanitizer and UBSan, the Windows DLL under Wine, then the fuzz targets.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
. tools/i386.sh
jobs=$(nproc)

leaks=ON
sanitized=() # the environment of the sanitized native programs
if i386_emulated; then
  # LeakSanitizer never finishes under qemu-user.
  echo "test-all: 32-bit programs run under emulation: leak detection is off"
  leaks=OFF
  export ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=1
  # AddressSanitizer expects the address space of a 32-bit kernel, not all 4 GiB.
  sanitized=(QEMU_RESERVED_VA=0xc0000000)
  # Long fuzz runs grow a heap on which AddressSanitizer's own checks fail under qemu-user.
  export QV_FUZZ_RUNS=${QV_FUZZ_RUNS:-10000}
fi

cmake --preset native -DQV_DETECT_LEAKS=$leaks
cmake --build build/native -j "$jobs"
env "${sanitized[@]}" ctest --test-dir build/native -j "$jobs" --output-on-failure

cmake --preset win32
cmake --build build/win32 -j "$jobs"
# Wine's server and services end with this script, whatever its end.
trap 'host/wine-run --stop build/win32' EXIT
host/wine-run --start build/win32 # the Wine prefix, server and services, once
ctest --test-dir build/win32 -j "$jobs" --output-on-failure

if [ -x fuzz/run ]; then
  env "${sanitized[@]}" fuzz/run --ci
fi
