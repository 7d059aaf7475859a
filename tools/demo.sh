#!/usr/bin/env bash
# Sets up what is missing, builds the Windows DLL and shows a few script calls through the
# runner under Wine. Exits non-zero when the runner cannot be started; a call that ends with a
# negative status is part of the show.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake --preset win32 >/dev/null
cmake --build build/win32 -j "$(nproc)" --target qvPalvek qvhost
out=$(mktemp -d)
trap 'host/wine-run --stop build/win32; rm -rf "$out"' EXIT
host/wine-run --start build/win32

# One call a line, its arguments separated by tabs.
t=$'\t'
calls=(
  "--info"
  "--list"
  "pkArrayFromStrCSV${t}a,b,c\r\nd,e,f\r\n${t}0"
  "pkArrayFromStrCSV${t}name,\"Smith, John\"\r\n${t}0"
  "pkArrayToStrCSV${t}{a|b;c|d}${t};${t}0${t}2"
  "pkISBN10To13${t}0-306-40615-2"
  "pkStrProper${t}-9223372036854775808${t}-1"
  "pkStrCut${t}1,3${t}a,b,c\r\nd,e,f${t}f${t};"
  "pkFormatNumber${t}1234567.89${t}###,###,###.##"
  "pkGetConstants${t}xlDialogPhonetic"
  "pkGetConstants${t}NoSuchConstant"
)
args_of() { IFS=$t read -r -a args <<<"${calls[$1]}"; }

# The calls run side by side (each Wine start is slow under emulation), shown in order.
for i in "${!calls[@]}"; do
  args_of "$i"
  (
    rc=0
    host/qvhost-wine "${args[@]}" </dev/null >"$out/$i" 2>&1 || rc=$?
    echo "$rc" >"$out/$i.rc"
  ) &
done
wait
for i in "${!calls[@]}"; do
  args_of "$i"
  echo "\$ qvhost ${args[*]}"
  cat "$out/$i"
  rc=$(cat "$out/$i.rc")
  # The runner's own statuses: 0 success, 1 a negative status; anything else, or no output at
  # all, means it never ran.
  if [ ! -s "$out/$i" ]; then
    echo "demo: the runner printed nothing under Wine (exit status $rc)" >&2
    exit 1
  elif [ "$rc" != 0 ] && [ "$rc" != 1 ]; then
    echo "demo: the runner could not be started under Wine (exit status $rc)" >&2
    exit 1
  fi
  echo
done
