#!/bin/sh
# Drives the real program as a person would, on an X server of its own under
# the window manager of one desktop: keys and clicks through xdotool, closing
# through the window manager, the clipboard through xclip, screenshots through
# ImageMagick; and reads it back as a taskbar does (libwnck), as a screen
# reader does (AT-SPI) and as the window manager's own switcher does.
#
#   desktop_scenarios.sh DESKTOP SCENARIO PROGRAM SCREENSHOT_DIR
#
# DESKTOP is openbox, gnome, kde, xfce, mate, flashback, icewm or fluxbox: the
# window manager of that desktop, with the XDG_CURRENT_DESKTOP its session
# sets. The scenario xwayland runs under weston instead (DESKTOP is weston).
#
# Every wait is a bounded poll for what it waits for. The servers, the window
# manager and the program are stopped on the way out, also when a check fails.
set -u
desktop=$1 scenario=$2 program=$3 shots=$4/$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
convert=/usr/bin/convert
# Debian's own Python, with the bindings of the desktop's libraries.
probe="timeout 30 /usr/bin/python3 $here/desktop_probe.py"

# Every process the scenario started, and every one those started in turn.
descendants() { # pid
    for child in $(ps -o pid= --ppid "$1"); do
        echo "$child"
        descendants "$child"
    done
}
running() { # pid...
    for pid; do kill -0 "$pid" 2>/dev/null && return 0; done
    return 1
}
cleanup() {
    started=$(descendants $$)
    kill $started 2>/dev/null
    # Killed for good where Terminate is not enough.
    poll 5 eval '! running $started' || kill -KILL $started 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 2' INT TERM
fail() {
    echo "FAIL ($desktop, $scenario): $*"
    for log in "$work"/*.log; do
        [ -s "$log" ] && printf '%s\n' "--- ${log##*/}" && tail -n 15 "$log"
    done
    exit 1
}

# Polls until the command succeeds, for at most the given seconds; fails
# (returns 1) if it never does.
poll() { # seconds command...
    deadline=$(($(date +%s) + $1))
    shift
    until "$@"; do
        [ "$(date +%s)" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# The desktop, as its session sets it up: the window manager, the name the
# window manager gives itself, the modifier its users drag windows with, and
# whether a panel is needed. xfwm4 publishes its stacking order, which
# taskbars read, only once it manages two windows; the panel of the Xfce
# session is always one of them.
session="" move_modifier=alt panel=no
case $desktop in
openbox) wm="openbox" wm_name="Openbox" ;;
gnome) wm="mutter --replace --x11" wm_name="Mutter" session=GNOME move_modifier=super ;;
kde) wm="kwin_x11 --replace" wm_name="KWin" session=KDE ;;
xfce) wm="xfwm4 --replace" wm_name="Xfwm4" session=XFCE panel=yes ;;
mate) wm="marco --replace" wm_name="Metacity \(Marco\)" session=MATE ;;
flashback) wm="metacity --replace" wm_name="Metacity" session=GNOME-Flashback:GNOME ;;
icewm) wm="icewm" wm_name="IceWM .*" ;;
fluxbox) wm="fluxbox" wm_name="Fluxbox" ;;
weston) wm="" wm_name="Weston WM" ;;
*) fail "unknown desktop" ;;
esac

# A session of its own: a home, a runtime directory and a session bus, with
# the settings every GNOME program reads kept in memory.
HOME=$work/home XDG_RUNTIME_DIR=$work/runtime XDG_CURRENT_DESKTOP=$session
XDG_SESSION_TYPE=x11 GSETTINGS_BACKEND=memory
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
# fluxbox would set a wallpaper and, without a picture viewer, say so in a window.
mkdir -p "$HOME/.fluxbox" && echo "background: none" >"$HOME/.fluxbox/overlay"
export HOME XDG_RUNTIME_DIR XDG_CURRENT_DESKTOP XDG_SESSION_TYPE GSETTINGS_BACKEND
unset QT_QPA_PLATFORM QT_SCALE_FACTOR WAYLAND_DISPLAY DISPLAY SESSION_MANAGER
start_session_bus() {
    dbus-daemon --session --nofork --print-address=3 3>"$work/bus" 2>"$work/dbus.log" &
    poll 10 test -s "$work/bus" || fail "the session bus did not start"
    DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus")
    export DBUS_SESSION_BUS_ADDRESS
}

window_manager_runs() { wmctrl -m 2>/dev/null | grep -q -E "^Name: ($wm_name)\$"; }

# The accessibility bus, on which screen readers find the program.
start_accessibility_bus() {
    /usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/at-spi.log" 2>&1 &
}

screen_size=1024x768
start_desktop() {
    # -noreset: the server outlives the clients that come and go.
    Xvfb -displayfd 3 -screen 0 "${screen_size}x24" -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
    poll 10 test -s "$work/display" || fail "Xvfb did not start"
    DISPLAY=:$(cat "$work/display")
    export DISPLAY
    # The bus starts the services it is asked for on this display.
    start_session_bus
    # What KWin's scripts print, in its log.
    QT_LOGGING_RULES=kwin_scripting.debug=true $wm >"$work/window-manager.log" 2>&1 &
    wm_pid=$!
    poll 30 eval 'running $wm_pid || fail "the window manager ($wm) ended"; window_manager_runs' ||
        fail "the window manager ($wm) did not come up"
    if [ "$panel" = yes ]; then
        /usr/bin/python3 "$here/desktop_probe.py" panel >"$work/panel.log" 2>&1 &
        poll 10 eval 'wmctrl -l | grep -q " morvantel-panel$"' || fail "the panel did not come up"
    fi
}

start_program() {
    "$program" >"$work/program.log" 2>&1 &
    app=$!
}

# The visible window whose title matches, in $found, waiting up to 10
# seconds for it.
await_window() { # pattern
    pattern=$1
    poll 10 eval 'found=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1); [ -n "$found" ]'
}
# How many managed windows have a title matching the pattern, the panel aside.
count() { wmctrl -l | grep -v ' morvantel-panel$' | grep -c -E "$1"; }
main_title='Tessar Morvantel - English / Kethric Translator V1.2.5 \(Beta\)$'
about_title='Tessar Morvantel Translator$'
whatsnew_title='Whats new in Version 1.2.5$'
box_title='^[^ ]+ +[0-9-]+ +[^ ]+ Tessar Morvantel$'

# How many windows have a title matching the pattern, compared: "titled
# PATTERN -eq 1".
titled() { [ "$(count "$1")" "$2" "$3" ]; }
# Active as the window manager says, and where the keys go.
is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ] && [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
is_viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
has_state() { xprop -id "$1" _NET_WM_STATE | grep -q "$2"; }
# Brings a window to the front to type into, as a user does: through the
# window manager, and where that leaves the keys with the window manager's
# own window (xfwm4 after another program's window closed), by giving it
# the keyboard focus as a click would.
activate() {
    timeout 10 xdotool windowactivate --sync "$1" >/dev/null 2>&1
    poll 3 is_active "$1" || xdotool windowfocus --sync "$1"
    poll 10 is_active "$1" ||
        fail "window $1 did not become active: $(xdotool getactivewindow) is active, $(xdotool getwindowfocus) has the focus"
}
# The program's first window, in $splash.
await_splash() {
    poll 10 eval 'splash=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | head -n 1); [ -n "$splash" ]' ||
        fail "no splash window"
}
# Presses a key and waits for the window it opens, in $found; where it opens
# none, fails with the words given.
key_opens() { # key pattern failure
    keys "$1"
    await_window "$2" || fail "$3"
}
# The main window, in $main, made the active window.
await_main() {
    await_window "^$main_title" || fail "the main window did not open"
    main=$found
    activate "$main"
}
keys() { xdotool key --clearmodifiers --delay 60 "$@"; }
type_text() { xdotool type --clearmodifiers --delay 40 "$1"; }
clipboard_is() { [ "$(timeout 5 xclip -o -selection clipboard 2>/dev/null)" = "$1" ]; }
expect_clipboard() { # text what
    poll 5 clipboard_is "$1" || fail "$2 gave \"$(timeout 5 xclip -o -selection clipboard 2>/dev/null)\", not \"$1\""
}

expect_exit() {
    poll 10 eval '! kill -0 "$app" 2>/dev/null' || fail "the program is still running"
    wait "$app"
    status=$?
    [ "$status" -eq 0 ] || fail "exit status $status, not 0"
    poll 5 titled . -eq 0 || fail "windows left behind: $(wmctrl -l)"
}

# A window has a taskbar button ("listed") or none ("skipped"): in its state as
# the window manager keeps it, and as libwnck, which taskbars use, reads it.
taskbar_is() { # window listed|skipped
    state=$(xprop -id "$1" _NET_WM_STATE)
    case $2 in
    skipped) echo "$state" | grep -q SKIP_TASKBAR && echo "$state" | grep -q SKIP_PAGER ;;
    listed) ! echo "$state" | grep -q SKIP ;;
    esac && [ "$($probe taskbar "$1")" = "$2" ]
}
expect_taskbar() { # window listed|skipped
    poll 5 taskbar_is "$1" "$2" ||
        fail "window $1 should be $2 on the taskbar: $(xprop -id "$1" _NET_WM_STATE), libwnck: $($probe taskbar "$1")"
}

# A window has a place in the window switcher ("listed") or none ("skipped").
# KWin's switcher is asked through KWin's own scripting. Every other window
# manager is asked by Alt+Tab itself, between two windows of another program:
# from the newest, Alt+Tab goes to the window if the switcher holds it, and
# past it to the oldest if not.
expect_switcher() { # window listed|skipped
    # IceWM's and fluxbox's switchers leave out only windows that their users
    # name in their own settings, or that take no focus, as the splash must.
    case $desktop:$2 in icewm:skipped | fluxbox:skipped) return ;; esac
    if [ "$desktop" = kde ]; then
        kwin_reads "$1" skipSwitcher
        [ "$kwin_value" = "$([ "$2" = skipped ] && echo true || echo false)" ] ||
            fail "KWin's switcher should have window $1 $2"
        return
    fi
    before=$(xdotool getactivewindow)
    xmessage -name oldest -title oldest -geometry 120x60+0+0 oldest 2>/dev/null &
    oldest_pid=$!
    xmessage -name newest -title newest -geometry 120x60+0+660 newest 2>/dev/null &
    newest_pid=$!
    await_window '^oldest$' && oldest=$found && await_window '^newest$' && newest=$found ||
        fail "the switcher's helper windows did not open"
    activate "$oldest"
    activate "$1"
    activate "$newest"
    # Alt held as a person holds it while Tab is pressed: window managers
    # that draw a switcher take the keyboard first, and would miss both keys
    # pressed at once.
    xdotool keydown alt sleep 0.2 key Tab sleep 0.2 keyup alt
    subject=$1
    poll 5 eval 'is_active "$subject" || is_active "$oldest"' ||
        fail "Alt+Tab went to $(xdotool getactivewindow), neither to window $1 nor past it to $oldest (newest $newest)"
    [ "$2" = listed ] && wanted=$1 || wanted=$oldest
    is_active "$wanted" || fail "the window switcher should have window $1 $2"
    kill "$oldest_pid" "$newest_pid"
    poll 5 titled '^[^ ]+ +[0-9-]+ +[^ ]+ (oldest|newest)$' -eq 0 || fail "the switcher's helper windows did not close"
    activate "$before"
}

# What KWin holds of a window, read by a script KWin runs, in $kwin_value.
kwin_reads() { # window property
    script=$work/kwin-$1-$2.js
    echo "for (const w of workspace.clientList()) if (w.windowId == $1) print('probe $1 $2', w.$2);" >"$script"
    number=$(dbus-send --session --print-reply=literal --dest=org.kde.KWin /Scripting \
        org.kde.kwin.Scripting.loadScript string:"$script" string:"probe-$1-$2" | awk '{print $2}')
    dbus-send --session --print-reply --dest=org.kde.KWin "/$number" org.kde.kwin.Script.run >/dev/null
    poll 5 grep -q "probe $1 $2 " "$work/window-manager.log" || fail "KWin's script did not answer"
    dbus-send --session --print-reply --dest=org.kde.KWin /Scripting org.kde.kwin.Scripting.unloadScript string:"probe-$1-$2" >/dev/null
    kwin_value=$(sed -n "s/.*probe $1 $2 //p" "$work/window-manager.log" | tail -n 1)
}

# The client area's place and size, and the border the window manager put
# around it (none where it sets no _NET_FRAME_EXTENTS).
geometry() { # window
    eval "$(xwininfo -id "$1" | awk '/Absolute upper-left X/ {print "x=" $4} /Absolute upper-left Y/ {print "y=" $4}
        /Width:/ {print "w=" $2} /Height:/ {print "h=" $2}')"
    set -- $(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ,) 0 0 0 0
    left=$1 right=$2 top=$3 bottom=$4
}
# The whole window, border and title bar included, is centred on the screen,
# within 2 pixels: the window manager may move it once its border is known.
centred() {
    geometry "$1"
    # Twice the centre, so that every figure stays whole.
    across=$((2 * (x - left) + left + w + right - 1024))
    down=$((2 * (y - top) + top + h + bottom - 768))
    [ "${across#-}" -le 4 ] && [ "${down#-}" -le 4 ]
}
expect_centred() {
    poll 5 centred "$1" || fail "window $1 is not centred: client ${w}x$h at $x,$y, border $left,$right,$top,$bottom"
}

# Counts pixels of a colour class inside a rectangle of a screenshot.
pixels() { # image WxH+X+Y condition
    $convert "$1" -crop "$2" +repage -fx "$3 ? 1 : 0" -format '%[fx:round(mean*w*h)]' info:
}
red='r > 0.7 && g < 0.3 && b < 0.3'
not_black='r + g + b > 0.1'
dark='r + g + b < 0.6'
light='r + g + b > 1.5'
dialog_frame_drawn() { # window
    import -window "$1" "$work/splash.png" &&
        [ "$(pixels "$work/splash.png" "493x1+0+0" "$light")" -eq 493 ] &&
        [ "$(pixels "$work/splash.png" "1x283+0+0" "$light")" -eq 283 ] &&
        [ "$(pixels "$work/splash.png" "1x280+492+2" "$not_black")" -eq 280 ]
}
red_answer_shown() { # window
    import -window "$1" "$work/main.png" && [ "$(pixels "$work/main.png" "281x27+72+$((menu + 224))" "$red")" -gt 20 ]
}
boxes_cleared() { # window
    import -window "$1" "$work/cleared.png" &&
        [ "$(pixels "$work/cleared.png" "273x19+76+$((menu + 228))" "$red")" -eq 0 ] &&
        [ "$(pixels "$work/cleared.png" "273x19+76+$((menu + 148))" "$dark")" -eq 0 ]
}

# A screenshot of a window's client area once it has settled: taken until
# two in a row are alike.
shoot() { # window file
    shot_window=$1 shot_file=$2
    import -window "$shot_window" "$shot_file"
    poll 5 eval 'mv "$shot_file" "$shot_file.last" && import -window "$shot_window" "$shot_file" &&
        compare -metric AE "$shot_file" "$shot_file.last" null: 2>/dev/null' ||
        fail "window $shot_window did not settle for a screenshot"
}
alike() { compare -metric AE "$1" "$2" null: 2>/dev/null; }

case $scenario in
same-at-every-font-dpi)
    # The font DPI set as a desktop sets it, among the X server's resources:
    # 120 shows what 96 shows, pixel for pixel, and 144 what 192 shows, at
    # twice the size. Each window is shot as it opens, the main window with
    # the focus on Translate, where no caret blinks.
    screen_size=2048x1536 start_desktop
    for dpi in 96 120 144 192; do
        echo "Xft.dpi: $dpi" | xrdb -merge
        start_program
        await_splash
        activate "$splash"
        shoot "$splash" "$work/splash-$dpi.png"
        keys k
        await_main
        keys Tab
        shoot "$main" "$work/main-$dpi.png"
        key_opens F1 "^$about_title" "F1 did not open About"
        shoot "$found" "$work/about-$dpi.png"
        activate "$main"
        key_opens F12 "^$whatsnew_title" "F12 did not open What's New"
        shoot "$found" "$work/whatsnew-$dpi.png"
        activate "$main"
        key_opens ctrl+x '^Tessar Morvantel$' "Ctrl+X did not ask"
        activate "$found"
        shoot "$found" "$work/question-$dpi.png"
        keys Return
        expect_exit
    done
    # With Qt's scaling turned off by the user, 192 shows what 96 shows.
    QT_ENABLE_HIGHDPI_SCALING=0 start_program
    await_splash
    shoot "$splash" "$work/splash-unscaled.png"
    alike "$work/splash-96.png" "$work/splash-unscaled.png" ||
        fail "the splash window differs at 192 dpi without Qt's scaling from 96 dpi"
    kill "$app"
    for window in splash main about whatsnew question; do
        alike "$work/$window-96.png" "$work/$window-120.png" ||
            fail "the $window window differs at 120 dpi from 96 dpi"
        alike "$work/$window-192.png" "$work/$window-144.png" ||
            fail "the $window window differs at 144 dpi from 192 dpi"
        [ "$(identify -format '%[fx:2*w]x%[fx:2*h]' "$work/$window-96.png")" = \
            "$(identify -format %wx%h "$work/$window-144.png")" ] ||
            fail "the $window window is $(identify -format %wx%h "$work/$window-144.png") at 144 dpi," \
                "$(identify -format %wx%h "$work/$window-96.png") at 96"
    done
    ;;
nonsense-scale-factors)
    # Factors that are no scale at all count as unset: the windows show at
    # the design's size, and work.
    start_desktop
    for factor in 0 nan inf 1e9 -2; do
        QT_SCALE_FACTOR=$factor start_program
        await_splash
        geometry "$splash"
        [ "${w}x$h" = 494x284 ] || fail "the splash window is ${w}x$h at QT_SCALE_FACTOR=$factor"
        activate "$splash"
        keys k
        await_main
        key_opens F1 "^$about_title" "F1 did not open About at QT_SCALE_FACTOR=$factor"
        activate "$main"
        key_opens ctrl+x '^Tessar Morvantel$' "Ctrl+X did not ask at QT_SCALE_FACTOR=$factor"
        activate "$found"
        keys Return
        expect_exit
    done
    ;;
translate-and-copy)
    start_desktop
    start_program
    await_splash
    id=$splash
    [ "$(count .)" -eq 1 ] || fail "more windows than the splash: $(wmctrl -l)"
    geometry "$id"
    [ "$left$right$top$bottom" = 0000 ] || fail "the window manager framed the splash window: $left,$right,$top,$bottom"
    # Its own fixed dialog frame, light at the top and left, on any desktop.
    [ "${w}x$h" = 494x284 ] || fail "the splash window is ${w}x$h, not 494x284"
    poll 5 dialog_frame_drawn "$id" || fail "the splash window has no dialog frame"
    # Untitled, so nameless in window lists.
    [ "$(xprop -id "$id" WM_NAME _NET_WM_NAME | sed 's/^[^=]*= *//' | tr -d '"\n')" = "" ] ||
        fail "the splash window has a name: $(xprop -id "$id" WM_NAME _NET_WM_NAME)"
    expect_centred "$id"
    expect_taskbar "$id" skipped
    expect_switcher "$id" skipped
    mkdir -p "$shots" && import -window "$id" "$shots/desktop-splash.png"
    activate "$id"
    keys k
    await_main
    [ "$(count "$main_title")" -eq 1 ] || fail "expected one main window"
    expect_centred "$main"
    expect_taskbar "$main" listed
    expect_switcher "$main" listed
    xwininfo -id "$id" >/dev/null 2>&1 && fail "the splash window is still there"
    # The focus is in the word box, where each word is typed; Enter translates.
    for pair in above:svern morvantel:dragon xyzzy:Unknown_Word Above:Unknown_Word; do
        word=${pair%%:*}
        answer=$(echo "${pair#*:}" | tr _ ' ')
        keys ctrl+a
        type_text "$word"
        keys Return Tab Tab ctrl+c
        expect_clipboard "$answer" "\"$word\""
        keys shift+Tab shift+Tab
    done
    # Enter in the output box translates the word too.
    keys ctrl+a
    type_text "svern"
    keys Tab Tab Return ctrl+a ctrl+c
    expect_clipboard "above" "Enter in the output box"
    # A line copied with its line break pastes as the word alone.
    keys shift+Tab shift+Tab
    printf 'dragon\r\n' | xclip -quiet -i -selection clipboard >/dev/null 2>&1 &
    poll 5 eval 'timeout 5 xclip -o -selection clipboard | grep -q dragon' || fail "xclip did not take the clipboard"
    keys ctrl+a ctrl+v Return Tab Tab ctrl+c
    expect_clipboard "morvantel" "a pasted line"
    ;;
splash-closed-by-window-manager)
    start_desktop
    # At a fractional scale the program draws at the nearest whole one.
    QT_SCALE_FACTOR=1.5 start_program
    await_splash
    id=$splash
    geometry "$id"
    [ "${w}x$h" = 988x568 ] || fail "the splash window is ${w}x$h at scale 1.5"
    expect_centred "$id"
    if [ "$desktop" = fluxbox ]; then
        : # fluxbox lets its user move any window, whatever the window asks for.
    else
        # A drag with the window manager's move modifier, from the margin
        # outside the frame; then a request the window manager answers after
        # the drag, so that a move would have shown by then.
        placed="$x,$y"
        xdotool mousemove --sync $((x + 4)) $((y + 200)) keydown $move_modifier sleep 0.1 mousedown 1 sleep 0.1 \
            mousemove --sync $((x + 60)) $((y + 240)) sleep 0.1 mousemove --sync $((x + 120)) $((y + 280)) \
            sleep 0.1 mouseup 1 keyup $move_modifier
        wmctrl -i -r "$id" -b add,above
        poll 5 has_state "$id" ABOVE || fail "the window manager did not answer"
        geometry "$id"
        [ "$x,$y" = "$placed" ] || fail "a drag moved the splash window from $placed to $x,$y"
        [ "$(count "$main_title")" -eq 0 ] || fail "the drag left the splash window"
    fi
    wmctrl -i -c "$id"
    expect_exit
    ;;
clear-and-exit)
    start_desktop
    start_accessibility_bus
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 start_program
    await_splash
    activate "$splash"
    keys space
    await_main
    id=$main
    type_text "dragon"
    keys Return
    geometry "$id"
    menu=$((h - 286))
    poll 5 red_answer_shown "$id" || fail "no red answer in the output box"
    [ "$(pixels "$work/main.png" "20x70+0+$menu" "$not_black")" -eq 0 ] ||
        fail "the background outside the frame is not black"
    mkdir -p "$shots" && import -frame -window "$id" "$shots/desktop-main.png"
    keys Escape
    poll 5 boxes_cleared "$id" || fail "Esc left the word or the answer"

    type_text "nemir"
    key_opens ctrl+x '^Tessar Morvantel$' "Ctrl+X did not ask"
    activate "$found"
    buttons=$($probe buttons '^Tessar Morvantel$')
    [ "$buttons" = "Yes No" ] || fail "the question's buttons are \"$buttons\", not \"Yes No\""
    # Esc does not answer: Tab then reaches No, and the typed word survives it.
    keys Escape Tab space
    poll 5 titled "$box_title" -eq 0 || fail "No did not close the question"
    activate "$id"
    keys ctrl+a ctrl+c
    expect_clipboard "nemir" "the word typed before No"

    key_opens ctrl+x '^Tessar Morvantel$' "Ctrl+X did not ask again"
    activate "$found"
    keys Return
    expect_exit
    ;;
about-and-whats-new)
    start_desktop
    start_program
    await_splash
    geometry "$splash"
    xdotool mousemove $((x + w / 2)) $((y + 20)) click 1
    await_main
    key_opens F1 "^$about_title" "F1 did not open About"
    about=$found
    mkdir -p "$shots" && import -frame -window "$about" "$shots/desktop-about.png"
    geometry "$about"
    [ "$x,$y" = "156,129" ] || fail "About's client area is at $x,$y, not 156,129"
    expect_taskbar "$about" skipped
    expect_switcher "$about" skipped

    # F1 brings a minimised About window back, and opens no second one.
    xdotool windowminimize --sync "$about"
    activate "$main"
    keys F1
    poll 5 is_viewable "$about" || fail "About stayed minimised"
    poll 5 is_active "$about" || fail "About is not the active window"
    [ "$(count "$about_title")" -eq 1 ] || fail "expected one About window: $(wmctrl -l)"

    activate "$main"
    key_opens F12 "^$whatsnew_title" "F12 did not open What's New"
    whatsnew=$found
    [ "$(count "$about_title|$whatsnew_title|$main_title")" -eq 3 ] || fail "three windows expected"
    import -frame -window "$whatsnew" "$shots/desktop-whatsnew.png"
    expect_taskbar "$whatsnew" skipped
    expect_switcher "$whatsnew" skipped

    # What's New › About, then About › Whats New, each closing its own window.
    activate "$whatsnew"
    keys Tab Tab space
    poll 5 eval 'titled "$whatsnew_title" -eq 0 && titled "$about_title" -eq 1' || fail "About button: $(wmctrl -l)"
    await_window "^$about_title" || fail "What's New's About button opened no About window"
    activate "$found"
    keys Tab Tab space
    poll 5 eval 'titled "$about_title" -eq 0 && titled "$whatsnew_title" -eq 1' || fail "Whats New button: $(wmctrl -l)"

    # Closing the main window leaves What's New working: its About button
    # still leads on to About.
    wmctrl -c "Tessar Morvantel - English"
    poll 5 titled "$main_title" -eq 0 || fail "the main window did not close"
    await_window "^$whatsnew_title" || fail "What's New closed with the main window"
    activate "$found"
    keys Tab Tab space
    await_window "^$about_title" || fail "What's New no longer works after the main window closed"
    wmctrl -i -c "$found"
    expect_exit
    ;;
screen-reader)
    start_desktop
    start_accessibility_bus
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 start_program
    await_splash
    activate "$splash"
    keys space
    await_main
    key_opens F1 "^$about_title" "F1 did not open About"
    activate "$main"
    key_opens F12 "^$whatsnew_title" "F12 did not open What's New"
    # What a screen reader announces: every control that takes the focus by a
    # name, and no name with the frame's ornaments.
    faults=$($probe audit "$main_title" "$about_title" "$whatsnew_title" 2>&1) ||
        fail "reading the accessibility bus: $faults"
    [ -z "$faults" ] || fail "$faults"
    ;;
xwayland)
    # A Wayland session with an X server beside it, as GNOME and KDE run on
    # Wayland: the program's windows land on the X server, which alone lets
    # them be placed and kept off the taskbar, and Qt says nothing about it.
    XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=wayland-morvantel
    export XDG_SESSION_TYPE WAYLAND_DISPLAY
    weston --backend=headless-backend.so --xwayland --socket="$WAYLAND_DISPLAY" --idle-time=0 \
        >"$work/weston.log" 2>&1 &
    # weston takes the first free X display; its log says which.
    poll 20 grep -q "xserver listening on display" "$work/weston.log" || fail "weston did not start XWayland"
    DISPLAY=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$work/weston.log" | head -n 1)
    export DISPLAY
    start_session_bus
    XDG_CURRENT_DESKTOP=GNOME start_program
    await_splash
    poll 20 window_manager_runs || fail "no window manager on XWayland"
    is_viewable "$splash" || fail "the splash window is not shown on XWayland"
    [ ! -s "$work/program.log" ] || fail "the program said: $(cat "$work/program.log")"
    kill "$app"
    wait "$app" 2>/dev/null
    # A platform the user sets still wins: here, Wayland itself.
    QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client start_program
    poll 20 grep -q "xdg_toplevel@" "$work/program.log" || fail "QT_QPA_PLATFORM=wayland did not show a Wayland window"
    [ -z "$(xdotool search --pid "$app" 2>/dev/null)" ] || fail "QT_QPA_PLATFORM=wayland showed an X window"
    ;;
*)
    fail "unknown scenario"
    ;;
esac
echo "PASS ($desktop, $scenario)"
