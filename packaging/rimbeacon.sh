#!/bin/sh
# Starts Rimbeacon.exe under Wine on a Linux desktop.
#   rimbeacon.sh        from the release zip (Rimbeacon.exe beside it)
#   rimbeacon           from the Debian package (/usr/lib/rimbeacon)
#
# - Wine prefix: $RIMBEACON_WINEPREFIX, by default
#   ${XDG_DATA_HOME:-~/.local/share}/rimbeacon/wineprefix, made on the first
#   start by rimbeacon-prefix.sh (about 10 s). The user's ~/.wine is never
#   touched.
# - Settings: the program keeps Rimbeacon.ini in its current directory, so
#   it is started in ${XDG_CONFIG_HOME:-~/.config}/rimbeacon, whatever folder
#   this is called from.
# - Locale: the Japanese locale goes to the program only. Wine takes the
#   code page 932 from LC_ALL=ja_JP.UTF-8 even where that locale has not been
#   generated, so nothing else is needed.
# RIMBEACON_EXE names another Rimbeacon.exe (for tests).
set -u
self=$(readlink -f "$0" 2>/dev/null || echo "$0")
here=$(cd "$(dirname "$self")" && pwd)
if [ -f "$here/rimbeacon-prefix.sh" ]; then
    lib="$here"
else
    lib="$here/../lib/rimbeacon"
fi
exe="${RIMBEACON_EXE:-$lib/Rimbeacon.exe}"

fail() {
    echo "rimbeacon: $*" >&2
    exit 1
}

command -v wine >/dev/null 2>&1 || fail "wine is not installed (Debian: sudo apt-get install wine wine64)"
[ -f "$exe" ] || fail "$exe not found"
[ -f "$lib/rimbeacon-prefix.sh" ] || fail "$lib/rimbeacon-prefix.sh not found"
if command -v fc-list >/dev/null 2>&1; then
    fc-list 2>/dev/null | grep -q 'IPAPGothic' || fail "the Japanese font IPA P Gothic is missing (Debian: sudo apt-get install fonts-ipafont-gothic)"
elif [ ! -f /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf ]; then
    fail "the Japanese font IPA P Gothic is missing (Debian: sudo apt-get install fonts-ipafont-gothic)"
fi
[ -n "${HOME:-}" ] || fail "HOME is not set"
# Without an X display Wine starts no window and still exits 0.
[ -n "${DISPLAY:-}" ] || fail "no X display (DISPLAY is not set): start it from a desktop session"

prefix="${RIMBEACON_WINEPREFIX:-${XDG_DATA_HOME:-$HOME/.local/share}/rimbeacon/wineprefix}"
settings="${XDG_CONFIG_HOME:-$HOME/.config}/rimbeacon"
mkdir -p "$settings" || fail "cannot create $settings"
sh "$lib/rimbeacon-prefix.sh" "$prefix" || exit 1
cd "$settings" || fail "cannot enter $settings"
WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 exec wine "$exe"
