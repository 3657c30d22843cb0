#!/bin/sh
# Where its display cannot be reached, or does not answer, the program says
# why in one line and ends with status 1, where Qt would abort or wait.
set -u
program=$1
work=$(mktemp -d)
xvfb= stopped=
trap 'kill -CONT $stopped 2>/dev/null; kill $xvfb $stopped 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
. "$(dirname "$0")/lib.sh"
need xauth
failures=0

# A display number no server listens on.
free=400
while [ -e /tmp/.X11-unix/X$free ] || [ -e /tmp/.X$free-lock ]; do free=$((free + 1)); done

# A server that takes the connection and never answers, as a stopped one.
start_xvfb
stopped=$xvfb silent=$DISPLAY
kill -STOP "$stopped"
# A server that wants a cookie, as another user's display after su or sudo.
xauth -q -f "$work/cookie" add :0 . "$(od -An -tx1 -N16 /dev/urandom | tr -d ' \n')"
start_xvfb -auth "$work/cookie"
locked=$DISPLAY

# The line the program must end with there; before it only the X server's words.
expect() {
    said=$1 && shift
    env -i "$@" timeout 10 "$program" >"$work/out" 2>&1
    status=$?
    # The test's own folder, whose random name may hold "qt", is no word of Qt's.
    if [ $status = 1 ] && [ "$(tail -n 1 "$work/out")" = "$said" ] &&
        ! sed "s|$work||g" "$work/out" | grep -q -i 'qt\|reinstall'; then
        echo "ok: $*"
    else
        echo "FAIL: $*: status $status, expected 1 and \"$said\"; said: $(cat "$work/out")"
        failures=$((failures + 1))
    fi
}

expect "morvantel: no display to show its windows on (DISPLAY is not set)"
expect "morvantel: cannot open the display :$free" DISPLAY=:$free
expect "morvantel: cannot open the display $locked" DISPLAY=$locked XAUTHORITY="$work/none"
expect "morvantel: the display $silent does not answer" DISPLAY=$silent
expect "morvantel: cannot open the display (DISPLAY is not set)" QT_QPA_PLATFORM=xcb
expect "morvantel: cannot open the Wayland display gone" WAYLAND_DISPLAY=gone XDG_RUNTIME_DIR="$work"
expect "morvantel: cannot open the Wayland display wayland-0" WAYLAND_DISPLAY=wayland-0
expect "morvantel: cannot open the Wayland display $work/gone" WAYLAND_DISPLAY="$work/gone"
expect "morvantel: cannot open the Wayland display wayland-0" QT_QPA_PLATFORM=wayland XDG_RUNTIME_DIR="$work"
expect "morvantel: cannot open the Wayland display wayland-0" QT_QPA_PLATFORM=wayland-egl XDG_RUNTIME_DIR="$work"
expect "morvantel: cannot open the display :$free" DISPLAY=:$free WAYLAND_DISPLAY=gone XDG_RUNTIME_DIR="$work"
expect "morvantel: no display platform named bogus is installed" QT_QPA_PLATFORM=bogus
exit $((failures > 0))
