#!/bin/sh
# Started where its display cannot be reached, the program says why in one line
# of its own and ends with status 1, where Qt would abort with advice to
# reinstall it.
set -u
program=$1
work=$(mktemp -d)
xvfb=
trap '[ -z "$xvfb" ] || kill $xvfb 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
failures=0

# A display number no server listens on.
free=400
while [ -e /tmp/.X11-unix/X$free ] || [ -e /tmp/.X$free-lock ]; do free=$((free + 1)); done

# An X server that lets in only those who know its cookie, as the display of
# another user is to a program started with su or sudo.
xauth -q -f "$work/cookie" add :0 . "$(od -An -tx1 -N16 /dev/urandom | tr -d ' \n')"
Xvfb -displayfd 3 -auth "$work/cookie" -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "FAIL: Xvfb did not start"; exit 1; }
locked=:$(cat "$work/display")

# The line the program must end with, then its environment. Before it only
# the X server may have said why it refused.
expect() {
    said=$1
    shift
    env -i "$@" timeout 10 "$program" >"$work/out" 2>&1
    status=$?
    if [ $status = 1 ] && [ "$(tail -n 1 "$work/out")" = "$said" ] &&
        ! grep -q -i 'qt\|reinstall' "$work/out"; then
        echo "ok: $*"
    else
        echo "FAIL: $*: status $status, expected 1 and \"$said\"; said:"
        cat "$work/out"
        failures=$((failures + 1))
    fi
}

expect "morvantel: no display to show its windows on (DISPLAY is not set)"
expect "morvantel: cannot open the display :$free" DISPLAY=:$free
expect "morvantel: cannot open the display $locked" DISPLAY=$locked XAUTHORITY="$work/none"
expect "morvantel: cannot open the display (DISPLAY is not set)" QT_QPA_PLATFORM=xcb
expect "morvantel: cannot open the Wayland display gone" \
    WAYLAND_DISPLAY=gone XDG_RUNTIME_DIR="$work"
expect "morvantel: cannot open the Wayland display wayland-0" \
    QT_QPA_PLATFORM=wayland XDG_RUNTIME_DIR="$work"
expect "morvantel: cannot open the display :$free" \
    DISPLAY=:$free WAYLAND_DISPLAY=gone XDG_RUNTIME_DIR="$work"
expect "morvantel: no display platform named bogus is installed" QT_QPA_PLATFORM=bogus
exit $((failures > 0))
