#!/bin/sh
# Runs a Windows test program under Wine, in the prefix and with the library
# path CTest gives: without a display platform, offscreen, or on Windows' own
# under openbox, at the DPI LOGPIXELS gives (96), the colours COLOURS changes
# ("MenuText=255 0 0;..."), in dark mode where DARK_MODE is 1. Qt Test writes
# nothing to a pipe under Wine, so its log comes through a file.
#   [LOGPIXELS=DPI] [COLOURS=NAME=R G B;...] [DARK_MODE=1] wine.sh none|offscreen|windows PROGRAM.exe [ARGUMENT...]
set -u
platform=$1 program=$2 && shift 2
work=$(mktemp -d)
xvfb= wm=
trap 'kill $wm $xvfb 2>/dev/null; /usr/lib/wine/wineserver -k 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
. "$(dirname "$0")/lib.sh"
need /usr/lib/wine/wine64 /usr/lib/wine/wineserver openbox xprop
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
window_manager_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
if [ "$platform" = windows ]; then
    # -noreset: a client that leaves, as a probe does, would reset the server under the next.
    start_xvfb -screen 0 2048x1536x24 -noreset
    openbox >"$work/openbox.log" 2>&1 &
    wm=$!
    poll 20 window_manager_up || { echo "FAIL: openbox did not come up: $(cat "$work/openbox.log")"; exit 1; }
fi
# A new prefix is made in full first: a value written while Wine still makes
# it may be lost, or refused.
if [ ! -d "$WINEPREFIX" ]; then
    timeout 120 /usr/lib/wine/wine64 wineboot --init >"$work/wineboot.log" 2>&1 && timeout 60 /usr/lib/wine/wineserver -w ||
        { echo "FAIL: Wine did not make its prefix: $(tail -n 5 "$work/wineboot.log")"; exit 1; }
fi
reg_add() { # key name type value: ends the script where Wine refuses it
    /usr/lib/wine/wine64 reg add "$1" /v "$2" /t "$3" /d "$4" /f >"$work/reg.log" 2>&1 ||
        { echo "FAIL: Wine did not take $2: $(tr -d '\r' <"$work/reg.log" | tail -n 3)"; exit 1; }
}
# A Wine session keeps the colours it started with.
if [ -n "${COLOURS:-}" ]; then
    echo "$COLOURS" | tr ';' '\n' | {
        while IFS='=' read -r name rgb; do reg_add 'HKCU\Control Panel\Colors' "$name" REG_SZ "$rgb"; done
    } || exit 1
    /usr/lib/wine/wineserver -k 2>/dev/null
    /usr/lib/wine/wineserver -w
fi
if [ "${DARK_MODE:-}" = 1 ]; then
    for name in AppsUseLightTheme SystemUsesLightTheme; do
        reg_add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize' $name REG_DWORD 0
    done
fi
# Wine's first program starts its desktop, which must find the X server.
reg_add 'HKCU\Control Panel\Desktop' LogPixels REG_DWORD "${LOGPIXELS:-96}"
[ "$platform" = none ] || set -- -platform "$platform" "$@"
/usr/lib/wine/wine64 "$program" -o "Z:$work/log.txt,txt" "$@"
status=$?
[ -s "$work/log.txt" ] || { echo "FAIL: $program wrote no log (status $status)"; exit 1; }
cat "$work/log.txt"
exit $status
