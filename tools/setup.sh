#!/usr/bin/env bash
# Installs what the builds and tests need, from Debian's packages. Safe to run again.
set -euo pipefail
need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
sudo_() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  sudo_ dpkg --add-architecture i386
fi
for p in cmake ninja-build python3 g++-multilib lib32asan8 lib32ubsan1 \
         g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev wine wine32:i386 icoutils \
         googletest libgtest-dev:i386 libbenchmark-dev:i386 clang-14 libclang-rt-14-dev; do
  have "$p" || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  sudo_ apt-get update -qq
  sudo_ apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
