#!/bin/sh
# Prepares a Wine prefix for Rimbeacon; every start goes through here, the
# release launcher's as well as the build's, tests' and benchmarks'.
#   rimbeacon-prefix.sh [--unmanaged] DIR
#
# On the first call it creates the prefix (about 10 s) and then:
# - maps the Japanese dialog faces to the IPA fonts, so that "ＭＳ Ｐゴシック"
#   is IPA P Gothic and the dialog units are the same on every machine
#   (Wine's default mapping picks whatever Japanese face fontconfig offers,
#   and the labels' texts then no longer fit);
# - copies Marlett, whose glyphs are the caption buttons, into the prefix's
#   Fonts folder (Debian ships it apart from Wine's own fonts).
#
# Window settings ("X11 Driver"), chosen so that the caption is Wine's own:
# - default, a desktop with a window manager: Managed=Y, Decorated=N. The
#   window manager still manages the window (taskbar entry, Alt+Tab,
#   stacking, focus), but Wine draws the caption and frame itself. With the
#   window manager's decorations a double click on the caption goes to the
#   window manager (which shades or maximises) and never reaches the
#   program, so Rimbeacon's roll-up would be lost.
# - --unmanaged, a bare X display without a window manager (the test lab):
#   Managed=N, Decorated=N. Wine places and draws the windows itself.
# A later call with the other mode switches only these settings.
# Exits non-zero with a one-line message when the prefix cannot be made.
set -u
mode=managed
if [ "${1:-}" = "--unmanaged" ]; then mode=unmanaged; shift; fi
prefix="${1:-}"
[ -n "$prefix" ] || { echo "usage: rimbeacon-prefix.sh [--unmanaged] DIR" >&2; exit 2; }
command -v wine >/dev/null 2>&1 || { echo "rimbeacon: wine is not installed (Debian: apt-get install wine wine64)" >&2; exit 1; }

stamp="$prefix/.rimbeacon-prefix-v4"
[ -f "$stamp" ] && [ "$(cat "$stamp")" = "$mode" ] && exit 0

export WINEPREFIX="$prefix" WINEDEBUG=-all
# No Mono or Gecko: their install dialogs would stop an unattended start.
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$prefix" || { echo "rimbeacon: cannot create the Wine prefix $prefix" >&2; exit 1; }

if [ "$mode" = managed ]; then managed=Y; else managed=N; fi

reg=$(mktemp) || exit 1
trap 'rm -f "$reg" "$reg.utf16"' EXIT
{
    echo 'Windows Registry Editor Version 5.00'
    echo
    echo '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]'
    echo "\"Managed\"=\"$managed\""
    echo '"Decorated"="N"'
} >"$reg"

if [ ! -f "$stamp" ]; then
    echo "rimbeacon: preparing the Wine prefix $prefix (first start only, about 10 s)" >&2
    if ! wineboot -i >/dev/null 2>&1 || [ ! -d "$prefix/drive_c/windows" ]; then
        echo "rimbeacon: wineboot could not create the Wine prefix $prefix" >&2
        exit 1
    fi
    {
        echo
        echo '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]'
        for face in "ＭＳ Ｐゴシック" "MS PGothic" "MS UI Gothic" "MS Shell Dlg" "MS Shell Dlg 2"; do
            echo "\"$face\"=\"IPAPGothic\""
        done
        for face in "ＭＳ ゴシック" "MS Gothic"; do
            echo "\"$face\"=\"IPAGothic\""
        done
    } >>"$reg"
    for font in /usr/share/wine/fonts/marlett.ttf; do
        [ -f "$font" ] && cp "$font" "$prefix/drive_c/windows/Fonts/"
    done
fi

# regedit reads version 5 files as UTF-16 with a byte order mark.
{ printf '\377\376'; sed 's/$/\r/' "$reg" | iconv -f UTF-8 -t UTF-16LE; } >"$reg.utf16" || exit 1
if ! wine regedit /S "$(winepath -w "$reg.utf16" 2>/dev/null)" >/dev/null 2>&1; then
    echo "rimbeacon: could not write the settings of the Wine prefix $prefix" >&2
    exit 1
fi
wineserver -w
printf '%s\n' "$mode" >"$stamp"
