#!/bin/sh
# Starts Rimbeacon.exe under Wine with the Japanese locale (ANSI code page
# 932), so its texts and settings file read as intended. The settings file
# Rimbeacon.ini is kept in the current directory.
#   rimbeacon.sh            (Rimbeacon.exe beside this script)
# Needs: wine (wine64), the ja_JP.UTF-8 locale and a Japanese font such as
# fonts-ipafont-gothic.
here=$(cd "$(dirname "$0")" && pwd)
exe="$here/Rimbeacon.exe"
[ -f "$exe" ] || { echo "rimbeacon.sh: $exe not found" >&2; exit 1; }
command -v wine >/dev/null || { echo "rimbeacon.sh: wine is not installed" >&2; exit 1; }
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    echo "rimbeacon.sh: the ja_JP.UTF-8 locale is missing; texts may not show correctly" >&2
fi
LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDEBUG=-all exec wine "$exe"
