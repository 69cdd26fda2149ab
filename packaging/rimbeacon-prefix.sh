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
#
# Screen resolution, on every call, and only where Wine scales a program that
# is not DPI-aware as a whole (Wine 10 and later, as Windows does): the
# prefix's HKCU\Control Panel\Desktop\LogPixels follows the desktop's own
# setting, so that the window comes up at the size of the user's other
# programs on a high-DPI screen. Wine 8 and 9 would only grow the dialog's
# controls and leave the picture and the diagram at 1x, so there the prefix
# stays at 96.
# - The desktop's setting is Xft.dpi from the X resources (xrdb -query),
#   rounded to the nearest of 96, 120, 144, 168, 192, 240 and 288 (a tie goes
#   to the smaller); 96 without it; RIMBEACON_DPI overrides both.
# - Nothing is scaled twice. GNOME and KDE Plasma on X11 write the desktop's
#   scale into Xft.dpi (96 times the scale and text factor). On Wayland both
#   let the compositor scale X11 windows by default and then leave Xft.dpi at
#   96 (unscaled, so a program's own scaling and the compositor's do not add
#   up); only where X11 programs are told to scale themselves (Plasma's
#   "Apply scaling themselves", GNOME's xwayland-native-scaling) is Xft.dpi
#   raised with it, and then the compositor does not scale them.
# - A value the user set in this prefix (winecfg's Graphics tab) is kept:
#   beside each LogPixels it writes, this script writes the same number as
#   RimbeaconLogPixels. A LogPixels without that mark, or one that differs
#   from it, is the user's; the mark is then removed and the value never
#   touched again. The values are read from the prefix's user.reg, without
#   starting Wine; Wine runs only to write a new value. (Wine saves user.reg
#   when its session ends, a few seconds after the last program: a change
#   made in winecfg and followed at once by a start can be missed then.)
# Exits non-zero with a one-line message when the prefix cannot be made.
set -u
mode=managed
if [ "${1:-}" = "--unmanaged" ]; then mode=unmanaged; shift; fi
prefix="${1:-}"
[ -n "$prefix" ] || { echo "usage: rimbeacon-prefix.sh [--unmanaged] DIR" >&2; exit 2; }
command -v wine >/dev/null 2>&1 || { echo "rimbeacon: wine is not installed (Debian: apt-get install wine wine64)" >&2; exit 1; }

stamp="$prefix/.rimbeacon-prefix-v4"

export WINEPREFIX="$prefix" WINEDEBUG=-all
# No Mono or Gecko: their install dialogs would stop an unattended start.
export WINEDLLOVERRIDES="mscoree,mshtml="

# The DWORD value NAME of [Control Panel\Desktop] in the prefix's user.reg,
# in decimal; empty when it is not there.
desktop_value() {  # name
    [ -f "$prefix/user.reg" ] || return 0
    awk -v name="\"$1\"=dword:" '
        /^\[/ { inside = ($0 ~ /^\[Control Panel\\\\Desktop\]/) }
        inside && index($0, name) == 1 { print substr($0, length(name) + 1); exit }
    ' "$prefix/user.reg" | { read -r hex && printf '%d\n' "0x$hex"; }
}

# The resolution the desktop asks for: RIMBEACON_DPI, else Xft.dpi rounded
# to a step Windows offers, else 96.
wanted_dpi() {
    dpi=${RIMBEACON_DPI:-}
    if [ -z "$dpi" ] && command -v xrdb >/dev/null 2>&1; then
        dpi=$(xrdb -query 2>/dev/null | sed -n 's/^Xft\.dpi:[[:space:]]*\([0-9.]*\).*/\1/p' | head -n 1)
    fi
    echo "${dpi:-96}" | awk '{
        n = split("96 120 144 168 192 240 288", steps, " "); best = 96
        if ($1 + 0 > 0) for (i = 1; i <= n; i++) {
            d = steps[i] - $1; if (d < 0) d = -d
            b = best - $1; if (b < 0) b = -b
            if (d < b) best = steps[i]
        }
        print best }'
}

# The major version of Wine, 0 when it cannot be told.
wine_major() {
    wine --version 2>/dev/null | sed -n 's/^wine-\([0-9]*\).*/\1/p' | head -n 1 | grep . || echo 0
}

# Writes a registry file (version 5) into the prefix: regedit reads it as
# UTF-16 with a byte order mark.
import_reg() {  # file
    { printf '\377\376'; sed 's/$/\r/' "$1" | iconv -f UTF-8 -t UTF-16LE; } >"$1.utf16" || return 1
    wine regedit /S "$(winepath -w "$1.utf16" 2>/dev/null)" >/dev/null 2>&1
}

# Writes the given value lines into [HKEY_CURRENT_USER\Control Panel\Desktop].
set_desktop_values() {  # "name"=value ...
    dpireg=$(mktemp) || return 1
    {
        echo 'Windows Registry Editor Version 5.00'
        echo
        echo '[HKEY_CURRENT_USER\Control Panel\Desktop]'
        printf '%s\n' "$@"
    } >"$dpireg"
    import_reg "$dpireg"
    status=$?
    rm -f "$dpireg" "$dpireg.utf16"
    [ $status -eq 0 ] || echo "rimbeacon: could not set the screen resolution of the Wine prefix $prefix" >&2
    return $status
}

# LogPixels as the desktop asks for it, on Wine 10 and later, unless the
# user chose it. Run after the prefix is ready.
apply_dpi() {
    [ "$(wine_major)" -ge 10 ] || return 0
    current=$(desktop_value LogPixels)
    mark=$(desktop_value RimbeaconLogPixels)
    if [ -n "$current" ] && [ "$current" != "$mark" ]; then
        # The user's value: keep it, and drop a stale mark once.
        [ -z "$mark" ] || set_desktop_values '"RimbeaconLogPixels"=-'
        return 0
    fi
    want=$(wanted_dpi)
    [ "${current:-96}" = "$want" ] && return 0
    hex=$(printf '%08x' "$want")
    set_desktop_values "\"LogPixels\"=dword:$hex" "\"RimbeaconLogPixels\"=dword:$hex" || return 0
    # Wine takes the resolution when its session starts: wait for the session
    # that regedit began to end (a few seconds), so that the program starts
    # a new one at the new resolution. While a Rimbeacon is open its session
    # goes on; then the new resolution waits for the next session rather
    # than this start for the open window.
    if ! pgrep -u "$(id -u)" -f 'Rimbeacon\.exe' >/dev/null 2>&1; then
        wineserver -w
    fi
}

if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$mode" ]; then
    apply_dpi
    exit 0
fi
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

if ! import_reg "$reg"; then
    echo "rimbeacon: could not write the settings of the Wine prefix $prefix" >&2
    exit 1
fi
wineserver -w
apply_dpi
printf '%s\n' "$mode" >"$stamp"
