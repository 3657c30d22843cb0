# Sourced after lib.sh by the scripts that drive the real program on a desktop,
# which set desktop, scenario, program, shots, here, wm, wm_name, session,
# move_modifier, panel and program_class. Stops all it started on the way out.
work=$(mktemp -d)
need xdotool xprop xwininfo xdpyinfo xclip wmctrl xmessage import dbus-daemon dbus-send
# Debian's own Python, with the bindings of the desktop's libraries.
probe="timeout 30 /usr/bin/python3 $here/desktop_probe.py"

descendants() { for child in $(ps -o pid= --ppid "$1"); do echo "$child" && descendants "$child"; done; }
running() { for pid; do kill -0 "$pid" 2>/dev/null && return 0; done; return 1; }
none_running() { ! running "$@"; }
cleanup() {
    [ -z "${WINEPREFIX:-}" ] || /usr/lib/wine/wineserver -k 2>/dev/null
    started=$(descendants $$)
    kill $started 2>/dev/null
    poll 5 none_running $started || kill -KILL $started 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 2' INT TERM
# Ends the scenario as skipped (status 77), where the desktop cannot run it.
skip() { echo "SKIP ($desktop, $scenario): $*" && exit 77; }
fail() {
    echo "FAIL ($desktop, $scenario): $*"
    # What the screen showed then, beside the scenario's other pictures.
    mkdir -p "$shots" && import -window root "$shots/failed-$scenario.png" 2>/dev/null
    for log in "$work"/*.log; do
        [ -s "$log" ] && printf '%s\n' "--- ${log##*/}" && tail -n 15 "$log"
    done
    exit 1
}

# A session of its own; fluxbox without a wallpaper, which it cannot show.
HOME=$work/home XDG_RUNTIME_DIR=$work/runtime XDG_CURRENT_DESKTOP=$session
XDG_SESSION_TYPE=x11 GSETTINGS_BACKEND=memory
mkdir -p "$HOME/.fluxbox" && mkdir -m 700 "$XDG_RUNTIME_DIR"
echo "background: none" >"$HOME/.fluxbox/overlay"
export HOME XDG_RUNTIME_DIR XDG_CURRENT_DESKTOP XDG_SESSION_TYPE GSETTINGS_BACKEND
unset QT_QPA_PLATFORM QT_SCALE_FACTOR WAYLAND_DISPLAY DISPLAY SESSION_MANAGER
start_session_bus() {
    dbus-daemon --session --nofork --print-address=3 3>"$work/bus" 2>"$work/dbus.log" &
    poll 10 test -s "$work/bus" || fail "the session bus did not start"
    DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus")
    export DBUS_SESSION_BUS_ADDRESS
}
# The session bus, and the accessibility bus the program speaks to always.
start_buses() {
    start_session_bus
    /usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/at-spi.log" 2>&1 &
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}
# Bounded: an X server that never answers (a failed XWayland) would block.
window_manager_runs() { timeout 5 wmctrl -m 2>/dev/null | grep -q -E "^Name: ($wm_name)\$"; }
window_manager_up() { running "$wm_pid" && window_manager_runs; }
panel_up() { wmctrl -l | grep -q " morvantel-panel$"; }

# An X server that outlives its clients, the buses, the manager and a panel.
start_desktop() { # [screen size]
    start_xvfb -screen 0 "${1:-1024x768}x24" -noreset
    start_buses
    QT_LOGGING_RULES=kwin_scripting.debug=true $wm >"$work/window-manager.log" 2>&1 &
    wm_pid=$!
    poll 30 window_manager_up || fail "the window manager ($wm) did not come up"
    [ "$panel" = no ] || xmessage -name morvantel-panel -title morvantel-panel -geometry 200x40+800+0 panel &
    [ "$panel" = no ] || poll 10 panel_up || fail "the panel did not come up"
}
start_program() { "$program" >"$work/program.log" 2>&1 & app=$!; }

main_title='Tessar Morvantel - English / Kethric Translator V1.2.5 \(Beta\)$'
about_title='Tessar Morvantel Translator$'
whatsnew_title='Whats new in Version 1.2.5$'
question_title='Tessar Morvantel$'

# A window by its title and its client's class (the program's, unless named):
# mutter 44 and later frame windows in a client of their own, of that title.
window_titled() { # title [class]: in $found
    for found in $(xdotool search --onlyvisible --class "^${2:-$program_class}\$" 2>/dev/null); do
        xdotool getwindowname "$found" 2>/dev/null | grep -q -E "^$1" && return 0
    done
    return 1
}
await_window() { poll 10 window_titled "$@"; }
count() { wmctrl -l | grep -v ' morvantel-panel$' | grep -c -E "$1"; }
gone() { [ "$(count "$1")" -eq 0 ]; }
# Active as the window manager says, and where the keys go.
is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ] && has_focus "$1"; }
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
# The name window lists and tools show, WM_NAME and its UTF-8 twin, is empty.
expect_no_name() { # window
    [ "$(xprop -id "$1" WM_NAME _NET_WM_NAME | sed 's/^[^=]*= *//' | tr -d '"\n')" = "" ] ||
        fail "window $1 has a name for window lists: $(xprop -id "$1" WM_NAME _NET_WM_NAME)"
}
# The window's title as window lists show it (_NET_WM_NAME).
caption_of() { xprop -id "$1" _NET_WM_NAME | sed -n 's/^[^=]*= "\(.*\)"$/\1/p'; }
is_viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
above_all() { xprop -id "$1" _NET_WM_STATE | grep -q ABOVE; }
# To the front through the manager, and the keys after them where the manager
# keeps them (xfwm4, at times), as a click would.
activate() {
    timeout 10 xdotool windowactivate --sync "$1" >/dev/null 2>&1
    poll 3 is_active "$1" || xdotool windowfocus --sync "$1"
    poll 10 is_active "$1" ||
        fail "window $1 did not become active: $(xdotool getactivewindow) is active, $(xdotool getwindowfocus) has the focus"
}
keys() { xdotool key --clearmodifiers --delay 60 "$@"; }
type_text() { xdotool type --clearmodifiers --delay 40 "$1"; }

# The program's visible windows (under Wine, those of the Windows program).
program_windows() { xdotool search --onlyvisible --class "^$program_class\$" 2>/dev/null; }
splash_shown() { splash=$(program_windows | head -n 1) && [ -n "$splash" ]; }
await_splash() { poll 10 splash_shown || fail "no splash window"; }
key_opens() { # key title: the window opened, in $found
    keys "$1"
    await_window "$2" || fail "$1 opened no window \"$2\""
}
# Past the splash window with a key, to the main window, in $main, active.
leave_splash() {
    activate "$splash"
    keys space
    await_window "$main_title" || fail "the main window did not open"
    main=$found
    activate "$main"
}
# File › Exit answered Yes, its buttons Yes before No under every theme.
quit_with_yes() {
    activate "$main"
    key_opens ctrl+x "$question_title"
    activate "$found"
    buttons=$([ "$desktop" = wine ] && echo "Yes No" || $probe buttons "$question_title")
    [ "$buttons" = "Yes No" ] || fail "the question's buttons are \"$buttons\", not \"Yes No\""
    keys Return
    expect_exit
}
program_ended() { ! kill -0 "$app" 2>/dev/null; }
expect_exit() {
    poll 10 program_ended || fail "the program is still running"
    wait "$app"
    status=$?
    [ "$status" -eq 0 ] || fail "exit status $status, not 0"
    poll 5 gone . || fail "windows left behind: $(wmctrl -l)"
}

text_is() { [ "$($probe text "$main_title" "$1" 2>&1)" = "$2" ]; }
expect_text() { # box text what
    poll 5 text_is "$1" "$2" || fail "$3 left \"$($probe text "$main_title" "$1" 2>&1)\" in $1, not \"$2\""
}
clipboard_holds() { timeout 5 xclip -o -selection clipboard 2>/dev/null | grep -q "$1"; }


# The client area's place and size, and the window manager's border around it.
geometry() { # window
    eval "$(xwininfo -id "$1" | awk '/Absolute upper-left X/ {print "x=" $4} /Absolute upper-left Y/ {print "y=" $4}
        /Width:/ {print "w=" $2} /Height:/ {print "h=" $2}')"
    set -- $(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ,) 0 0 0 0
    left=$1 right=$2 top=$3 bottom=$4
}
# The whole window, border and all, centred within 2 pixels (twice the centres).
centred() {
    geometry "$1"
    eval "$(xwininfo -root | awk '/Width:/ {print "screen_w=" $2} /Height:/ {print "screen_h=" $2}')"
    across=$((2 * (x - left) + left + w + right - screen_w))
    down=$((2 * (y - top) + top + h + bottom - screen_h))
    [ "${across#-}" -le 4 ] && [ "${down#-}" -le 4 ]
}
expect_centred() {
    poll 5 centred "$1" || fail "window $1 is not centred on ${screen_w}x$screen_h: client ${w}x$h at $x,$y, border $left,$right,$top,$bottom"
}
