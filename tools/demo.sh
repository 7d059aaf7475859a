#!/usr/bin/env bash
# Sets up what is missing, builds the Windows DLL and shows a few script calls through the
# runner under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake --preset win32 >/dev/null
cmake --build build/win32 -j "$(nproc)" --target qvPalvek qvhost
run() { echo "\$ qvhost $*"; host/qvhost-wine "$@" || true; echo; }
run --info
run --list
run pkArrayFromStrCSV 'a,b,c\r\nd,e,f\r\n' 0
run pkArrayToStrCSV '{a|b;c|d}' ';' 0 2
run pkISBN10To13 0-306-40615-2
run pkStrProper -9223372036854775808 -1
run pkStrCut 1,3 'a,b,c\r\nd,e,f' f ';'
run pkFormatNumber 1234567.89 '###,###,###.##'
run pkGetConstants xlDialogPhonetic
run pkGetConstants NoSuchConstant
