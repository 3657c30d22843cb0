#!/bin/sh
# Drives the real program as a person would, on an X server and window manager
# of its own: keys and clicks through xdotool, closing through the window
# manager, the clipboard through xclip, screenshots through ImageMagick; and
# reads it back as a taskbar does (libwnck) and as a screen reader does (AT-SPI).
#
#   desktop_scenarios.sh SCENARIO PROGRAM SCREENSHOT_DIR
#
# Every wait is bounded, and the X server, the window manager and the program
# are stopped on the way out, also when a check fails.
set -u
scenario=$1 program=$2 shots=$3
work=$(mktemp -d)
xvfb="" wm="" app="" helpers=""
convert=/usr/bin/convert
# Debian's own Python, with the bindings of the desktop's libraries.
python=/usr/bin/python3

cleanup() {
    for pid in $app $helpers $wm $xvfb; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 2' INT TERM
fail() {
    echo "FAIL ($scenario): $*"
    exit 1
}
pause() { sleep "${1:-0.4}"; }

start_desktop() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    [ -s "$work/display" ] || fail "Xvfb did not start"
    DISPLAY=:$(cat "$work/display")
    export DISPLAY
    openbox >"$work/openbox.log" 2>&1 &
    wm=$!
    for _ in $(seq 100); do wmctrl -m >/dev/null 2>&1 && break; sleep 0.1; done
    "$program" >"$work/program.log" 2>&1 &
    app=$!
}

# The visible window whose title matches, waiting up to 10 seconds for it.
window() { timeout 10 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
# How many managed windows have a title matching the pattern.
count() { wmctrl -l | grep -c -E "$1"; }
main_title='Tessar Morvantel - English / Kethric Translator V1.2.5 \(Beta\)$'
about_title='Tessar Morvantel Translator$'
whatsnew_title='Whats new in Version 1.2.5$'

splash() {
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | head -n 1)
        [ -n "$id" ] && break
        sleep 0.1
    done
    [ -n "$id" ] || fail "no splash window"
    echo "$id"
}
main_window() {
    id=$(window "^$main_title") || true
    [ -n "$id" ] || fail "the main window did not open"
    timeout 10 xdotool windowactivate --sync "$id" >/dev/null 2>&1
    echo "$id"
}
keys() { xdotool key --clearmodifiers --delay 60 "$@"; pause 0.2; }
type_text() { xdotool type --clearmodifiers --delay 40 "$1"; pause 0.2; }
clipboard() { timeout 5 xclip -o -selection clipboard 2>/dev/null; }

expect_exit() {
    for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$app" 2>/dev/null && fail "the program is still running"
    wait "$app"
    status=$?
    app=""
    [ "$status" -eq 0 ] || fail "exit status $status, not 0"
    [ "$(wmctrl -l | wc -l)" -eq 0 ] || fail "windows left behind: $(wmctrl -l)"
}

# A window has a taskbar button ("listed") or none ("skipped"): in its own
# state, and as libwnck, which taskbars and pagers use, reads it.
expect_taskbar() { # window listed|skipped
    state=$(xprop -id "$1" _NET_WM_STATE)
    case $2 in
    skipped) echo "$state" | grep -q SKIP_TASKBAR && echo "$state" | grep -q SKIP_PAGER ;;
    listed) ! echo "$state" | grep -q SKIP ;;
    esac || fail "window $1 should be $2: $state"
    wnck=$(timeout 10 $python - "$1" <<'PY'
import sys, gi
gi.require_version("Wnck", "3.0")
from gi.repository import Wnck
screen = Wnck.Screen.get_default()
screen.force_update()
window = Wnck.Window.get(int(sys.argv[1]))
print("missing" if window is None else "skipped" if window.is_skip_tasklist() else "listed")
PY
    )
    [ "$wnck" = "$2" ] || fail "libwnck finds window $1 $wnck, not $2"
}

# The whole window, border and title bar included, is centred on the screen.
expect_centred() { # window
    eval "$(xwininfo -id "$1" | awk '/Absolute upper-left X/ {print "x=" $4} /Absolute upper-left Y/ {print "y=" $4}
        /Width:/ {print "w=" $2} /Height:/ {print "h=" $2}')"
    set -- $(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    # Twice the centre, so that every figure stays whole.
    across=$((2 * (x - $1) + $1 + w + $2 - 1024))
    down=$((2 * (y - $3) + $3 + h + $4 - 768))
    [ "${across#-}" -le 4 ] && [ "${down#-}" -le 4 ] ||
        fail "not centred: client ${w}x$h at $x,$y, frame $*"
}

# Counts pixels of a colour class inside a rectangle of a screenshot.
pixels() { # image WxH+X+Y condition
    $convert "$1" -crop "$2" +repage -fx "$3 ? 1 : 0" -format '%[fx:round(mean*w*h)]' info:
}
red='r > 0.7 && g < 0.3 && b < 0.3'
not_black='r + g + b > 0.1'
dark='r + g + b < 0.6'

case $scenario in
translate-and-copy)
    start_desktop
    id=$(splash)
    [ "$(wmctrl -l | wc -l)" -eq 1 ] || fail "more windows than the splash: $(wmctrl -l)"
    [ "$(xprop -id "$id" _NET_FRAME_EXTENTS)" = "_NET_FRAME_EXTENTS(CARDINAL) = 0, 0, 0, 0" ] ||
        fail "the splash window has a frame: $(xprop -id "$id" _NET_FRAME_EXTENTS)"
    # Untitled, so nameless in window lists and Alt+Tab.
    [ "$(xprop -id "$id" WM_NAME _NET_WM_NAME | sed 's/^[^=]*= *//' | tr -d '"\n')" = "" ] ||
        fail "the splash window has a name: $(xprop -id "$id" WM_NAME _NET_WM_NAME)"
    expect_taskbar "$id" skipped
    mkdir -p "$shots" && import -window "$id" "$shots/desktop-splash.png"
    timeout 10 xdotool windowactivate --sync "$id" >/dev/null 2>&1
    keys k
    main=$(main_window)
    [ "$(count "$main_title")" -eq 1 ] || fail "expected one main window"
    expect_taskbar "$main" listed
    expect_centred "$main"
    xwininfo -id "$id" >/dev/null 2>&1 && fail "the splash window is still there"
    # The focus is in the word box, where each word is typed.
    for pair in above:svern morvantel:dragon xyzzy:Unknown_Word Above:Unknown_Word; do
        word=${pair%%:*}
        answer=$(echo "${pair#*:}" | tr _ ' ')
        keys ctrl+a
        type_text "$word"
        keys Return Tab Tab ctrl+c
        [ "$(clipboard)" = "$answer" ] || fail "\"$word\" gave \"$(clipboard)\", not \"$answer\""
        keys shift+Tab shift+Tab
    done
    # A line copied with its line break pastes as the word alone.
    printf 'dragon\r\n' | xclip -quiet -i -selection clipboard >/dev/null 2>&1 &
    helpers="$helpers $!"
    pause
    keys ctrl+a ctrl+v Return Tab Tab ctrl+c
    [ "$(clipboard)" = "morvantel" ] || fail "a pasted line gave \"$(clipboard)\", not \"morvantel\""
    ;;
splash-closed-by-window-manager)
    # At a fractional scale the program draws at the nearest whole one.
    QT_SCALE_FACTOR=1.5 start_desktop
    id=$(splash)
    eval "$(xdotool getwindowgeometry --shell "$id")"
    [ "${WIDTH}x$HEIGHT" = 976x556 ] || fail "the splash window is ${WIDTH}x$HEIGHT at scale 1.5"
    expect_centred "$id"
    # Alt+drag, the window manager's move, from the margin outside the frame.
    placed="$X,$Y"
    xdotool mousemove --sync $((X + 4)) $((Y + 200)) keydown alt sleep 0.1 mousedown 1 sleep 0.1 \
        mousemove --sync $((X + 60)) $((Y + 240)) sleep 0.1 mousemove --sync $((X + 120)) $((Y + 280)) \
        sleep 0.1 mouseup 1 keyup alt
    pause
    eval "$(xdotool getwindowgeometry --shell "$id")"
    [ "$X,$Y" = "$placed" ] || fail "Alt+drag moved the splash window from $placed to $X,$Y"
    [ "$(count "$main_title")" -eq 0 ] || fail "the drag left the splash window"
    wmctrl -i -c "$id"
    expect_exit
    ;;
clear-and-exit)
    start_desktop
    timeout 10 xdotool windowactivate --sync "$(splash)" >/dev/null 2>&1
    keys space
    id=$(main_window)
    type_text "dragon"
    keys Return
    pause 0.3
    import -window "$id" "$work/main.png"
    menu=$(($(identify -format %h "$work/main.png") - 286))
    [ "$(pixels "$work/main.png" "281x27+72+$((menu + 224))" "$red")" -gt 20 ] ||
        fail "no red answer in the output box"
    [ "$(pixels "$work/main.png" "20x70+0+$menu" "$not_black")" -eq 0 ] ||
        fail "the background outside the frame is not black"
    mkdir -p "$shots" && import -frame -window "$id" "$shots/desktop-main.png"

    keys Escape
    import -window "$id" "$work/cleared.png"
    [ "$(pixels "$work/cleared.png" "273x19+76+$((menu + 228))" "$red")" -eq 0 ] ||
        fail "Esc left the answer in the output box"
    [ "$(pixels "$work/cleared.png" "273x19+76+$((menu + 148))" "$dark")" -eq 0 ] ||
        fail "Esc left the word in the input box"

    type_text "nemir"
    keys ctrl+x
    box=$(window '^Tessar Morvantel$') || true
    [ -n "$box" ] || fail "Ctrl+X did not ask"
    keys Escape
    pause 0.5
    [ "$(count '^[^ ]+ +[0-9-]+ +[^ ]+ Tessar Morvantel$')" -eq 1 ] || fail "Esc closed the question"
    keys Tab space
    pause 0.5
    [ "$(count '^[^ ]+ +[0-9-]+ +[^ ]+ Tessar Morvantel$')" -eq 0 ] || fail "No did not close the question"
    keys ctrl+a ctrl+c
    [ "$(clipboard)" = "nemir" ] || fail "the typed word did not survive No: \"$(clipboard)\""

    keys ctrl+x
    [ -n "$(window '^Tessar Morvantel$')" ] || fail "Ctrl+X did not ask again"
    keys Return
    expect_exit
    ;;
about-and-whats-new)
    start_desktop
    id=$(splash)
    eval "$(xdotool getwindowgeometry --shell "$id")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + 20)) click 1
    main=$(main_window)
    keys F1
    about=$(window "^$about_title") || true
    [ -n "$about" ] || fail "F1 did not open About"
    pause 0.3
    mkdir -p "$shots" && import -frame -window "$about" "$shots/desktop-about.png"
    expect_taskbar "$about" skipped

    # F1 brings a minimised About window back, and opens no second one.
    xdotool windowminimize --sync "$about"
    timeout 10 xdotool windowactivate --sync "$main" >/dev/null 2>&1
    keys F1
    pause
    xwininfo -id "$about" | grep -q "Map State: IsViewable" || fail "About stayed minimised"
    [ "$(xdotool getactivewindow)" = "$about" ] || fail "About is not the active window"
    [ "$(count "$about_title")" -eq 1 ] || fail "expected one About window: $(wmctrl -l)"

    timeout 10 xdotool windowactivate --sync "$main" >/dev/null 2>&1
    keys F12
    whatsnew=$(window "^$whatsnew_title") || true
    [ -n "$whatsnew" ] || fail "F12 did not open What's New"
    [ "$(count "$about_title|$whatsnew_title|$main_title")" -eq 3 ] || fail "three windows expected"
    import -frame -window "$whatsnew" "$shots/desktop-whatsnew.png"
    expect_taskbar "$whatsnew" skipped

    # What's New › About, then About › Whats New, each closing its own window.
    timeout 10 xdotool windowactivate --sync "$whatsnew" >/dev/null 2>&1
    keys Tab Tab space
    pause 0.5
    [ "$(count "$whatsnew_title")" -eq 0 ] && [ "$(count "$about_title")" -eq 1 ] ||
        fail "About button: $(wmctrl -l)"
    timeout 10 xdotool windowactivate --sync "$(window "^$about_title")" >/dev/null 2>&1
    keys Tab Tab space
    pause 0.5
    [ "$(count "$about_title")" -eq 0 ] && [ "$(count "$whatsnew_title")" -eq 1 ] ||
        fail "Whats New button: $(wmctrl -l)"

    wmctrl -c "Tessar Morvantel - English"
    pause 0.7
    kill -0 "$app" 2>/dev/null || fail "closing the main window ended the program"
    [ "$(count "$main_title")" -eq 0 ] || fail "the main window did not close"
    [ "$(count "$whatsnew_title")" -eq 1 ] || fail "What's New closed with the main window"
    wmctrl -c "Whats new in Version 1.2.5"
    expect_exit
    ;;
screen-reader)
    # A session bus with the accessibility bus on it, as a desktop session has.
    dbus-daemon --session --nofork --print-address=3 3>"$work/bus" 2>/dev/null &
    helpers=$!
    for _ in $(seq 100); do [ -s "$work/bus" ] && break; sleep 0.1; done
    DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus")
    export DBUS_SESSION_BUS_ADDRESS
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
    helpers="$! $helpers"
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 start_desktop
    timeout 10 xdotool windowactivate --sync "$(splash)" >/dev/null 2>&1
    keys space
    main=$(main_window)
    keys F1
    [ -n "$(window "^$about_title")" ] || fail "F1 did not open About"
    timeout 10 xdotool windowactivate --sync "$main" >/dev/null 2>&1
    keys F12
    [ -n "$(window "^$whatsnew_title")" ] || fail "F12 did not open What's New"

    # What a screen reader announces: every control that takes the focus by a
    # name, and no name with the frame's ornaments.
    faults=$(timeout 30 $python - "$main_title" "$about_title" "$whatsnew_title" <<'PY' 2>&1
import re, sys
import pyatspi

def walk(node, found):
    states = node.getState()
    if states.contains(pyatspi.STATE_SHOWING):
        found.append(node.name)
        role = node.getRoleName()
        if states.contains(pyatspi.STATE_FOCUSABLE) and not node.name.strip():
            print(f"a focusable {role} without a name")
        if re.search("[\u00ab\u00a4\u00bb]", node.name):
            print(f"a {role} announced as {node.name!r}")
    for child in node:
        walk(child, found)

found = []
for app in pyatspi.Registry.getDesktop(0):
    if app is not None and app.name == "morvantel":
        walk(app, found)
for title in sys.argv[1:]:
    if not any(re.fullmatch(title, name) for name in found):
        print(f"no window {title!r} on the accessibility bus")
PY
    ) || fail "reading the accessibility bus: $faults"
    [ -z "$faults" ] || fail "$faults"
    ;;
*)
    fail "unknown scenario"
    ;;
esac
echo "PASS ($scenario)"
