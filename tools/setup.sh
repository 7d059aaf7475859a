#!/usr/bin/env bash
# Installs what the builds and tests need, from Debian's packages. Safe to run again.
# Where this machine cannot start 32-bit x86 programs (or QV_EMULATE_I386=1 asks for it), they
# are run under qemu-user instead, registered through binfmt_misc, with a 64-bit Wine serving
# the 32-bit one.
set -euo pipefail
. "$(dirname "$0")/i386.sh"
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
sudo_() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }
install_missing() { # package ...
  local need=() p
  for p in "$@"; do
    have "$p" || need+=("$p")
  done
  if [ ${#need[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    sudo_ apt-get update -qq
    sudo_ apt-get install -y -qq --no-install-recommends "${need[@]}"
  fi
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  sudo_ dpkg --add-architecture i386
fi
install_missing cmake ninja-build python3 g++-multilib lib32asan8 lib32ubsan1 \
  g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev wine wine32:i386 icoutils \
  googletest libgtest-dev:i386 libbenchmark-dev:i386 clang-14 libclang-rt-14-dev

emulate=${QV_EMULATE_I386:-0}
if i386_emulated; then
  emulate=1
elif [ "$emulate" != 1 ]; then
  rc=0
  i386_runs || rc=$?
  [ "$rc" -ne 2 ] || { echo "setup: the multilib compiler cannot build a 32-bit program" >&2; exit 1; }
  [ "$rc" -eq 0 ] || emulate=1
fi
if [ "$emulate" = 1 ]; then
  install_missing qemu-user wine64
  if ! i386_emulated; then
    [ "$(id -u)" = 0 ] || {
      echo "setup: 32-bit programs do not start here; registering qemu-i386 for them" \
        "through binfmt_misc needs root: run tools/setup.sh as root" >&2
      exit 1
    }
    i386_register
  fi
  i386_runs || {
    echo "setup: 32-bit programs do not start even under qemu-i386" \
      "($i386_binfmt/$i386_handler); this machine cannot build or test the module" >&2
    exit 1
  }
  echo "setup: 32-bit x86 programs run here under emulation (qemu-i386): slower, leak checks off"
fi
