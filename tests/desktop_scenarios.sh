#!/bin/sh
# Drives the real program as a person would, on an X server of its own under
# the window manager of one desktop (with the XDG_CURRENT_DESKTOP its session
# sets), or under weston: keys and clicks through xdotool, the clipboard
# through xclip; and reads it back as a taskbar (libwnck), a screen reader
# (AT-SPI) and the window manager's own switcher do. Every wait is a bounded
# poll; whatever the scenario started is stopped on the way out.
#
#   desktop_scenarios.sh DESKTOP SCENARIO PROGRAM SCREENSHOT_DIR
#
# tests/desktop-scenarios.list says which scenario runs under which desktop.
set -u
desktop=$1 scenario=$2 program=$3 shots=$4/$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
. "$here/lib.sh"
need xdotool xprop xwininfo xdpyinfo xclip wmctrl xmessage import dbus-daemon dbus-send
# Debian's own Python, with the bindings of the desktop's libraries.
probe="timeout 30 /usr/bin/python3 $here/desktop_probe.py"

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
none_running() { ! running "$@"; }
cleanup() {
    # Wine's server leaves its starter behind, and takes Wine's programs along.
    [ -z "${WINEPREFIX:-}" ] || /usr/lib/wine/wineserver -k 2>/dev/null
    started=$(descendants $$)
    kill $started 2>/dev/null
    poll 5 none_running $started || kill -KILL $started 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 2' INT TERM
# Ends the scenario as skipped (status 77), where the desktop cannot run it.
skip() {
    echo "SKIP ($desktop, $scenario): $*"
    exit 77
}
fail() {
    echo "FAIL ($desktop, $scenario): $*"
    # What the screen showed then, beside the scenario's other pictures.
    mkdir -p "$shots" && import -window root "$shots/failed-$scenario.png" 2>/dev/null
    for log in "$work"/*.log; do
        [ -s "$log" ] && printf '%s\n' "--- ${log##*/}" && tail -n 15 "$log"
    done
    exit 1
}

# The window manager, its name, the modifier to drag windows with, and a panel
# where it needs one (xfwm4 lists its windows only once it manages two).
session="" move_modifier=alt panel=no program_class=morvantel
case $desktop in
openbox) need openbox && wm="openbox" wm_name="Openbox" ;;
wine) need openbox /usr/lib/wine/wine64 /usr/lib/wine/wineserver wrestool strings && wm="openbox" wm_name="Openbox" program_class=morvantel.exe ;;
gnome) need mutter && wm="mutter --replace --x11" wm_name="Mutter" session=GNOME move_modifier=super ;;
kde) need kwin_x11 && wm="kwin_x11 --replace" wm_name="KWin" session=KDE ;;
xfce) need xfwm4 && wm="xfwm4 --replace" wm_name="Xfwm4" session=XFCE panel=yes ;;
mate) need marco && wm="marco --replace" wm_name="Metacity \(Marco\)" session=MATE ;;
flashback) need metacity && wm="metacity --replace" wm_name="Metacity" session=GNOME-Flashback:GNOME ;;
icewm) need icewm && wm="icewm" wm_name="IceWM .*" ;;
fluxbox) need fluxbox && wm="fluxbox" wm_name="Fluxbox" ;;
weston) need weston Xwayland && wm="" wm_name="Weston WM" ;;
gnome-wayland) need gnome-shell Xwayland && wm="" wm_name="GNOME Shell" session=GNOME ;;
kde-wayland) need kwin_wayland Xwayland && wm="" wm_name="KWin" session=KDE ;;
*) fail "unknown desktop" ;;
esac

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
# An X server that took the connection but never answers (XWayland that
# failed to start) would keep an X client waiting for ever.
window_manager_runs() { timeout 5 wmctrl -m 2>/dev/null | grep -q -E "^Name: ($wm_name)\$"; }
window_manager_up() { running "$wm_pid" && window_manager_runs; }
panel_up() { wmctrl -l | grep -q " morvantel-panel$"; }

# An X server that outlives its clients, the buses, the window manager (KWin's
# scripts print into its log) and the panel.
start_desktop() { # [screen size]
    start_xvfb -screen 0 "${1:-1024x768}x24" -noreset
    start_buses
    QT_LOGGING_RULES=kwin_scripting.debug=true $wm >"$work/window-manager.log" 2>&1 &
    wm_pid=$!
    poll 30 window_manager_up || fail "the window manager ($wm) did not come up"
    [ "$panel" = no ] || xmessage -name morvantel-panel -title morvantel-panel -geometry 200x40+800+0 panel &
    [ "$panel" = no ] || poll 10 panel_up || fail "the panel did not come up"
}
start_program() {
    "$program" >"$work/program.log" 2>&1 &
    app=$!
}

main_title='Tessar Morvantel - English / Kethric Translator V1.2.5 \(Beta\)$'
about_title='Tessar Morvantel Translator$'
whatsnew_title='Whats new in Version 1.2.5$'
question_title='Tessar Morvantel$'

# A window by its title and its client's class (the program's, unless named):
# a window manager's frame may carry the title too (mutter 44 and later frame
# windows in a client of their own).
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
pointer_free() { [ "$($probe pointer)" = free ]; }
is_viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
above_all() { xprop -id "$1" _NET_WM_STATE | grep -q ABOVE; }
# To the front through the window manager, and where that leaves the keys in
# the manager's own window (xfwm4, at times), as a click would.
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
open_main() {
    start_program
    await_splash
    leave_splash
}
# File › Exit answered Yes, its buttons Yes before No under every theme
# (which a screen reader reads, but for Wine's windows).
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

# A taskbar and pager button ("listed") or none ("skipped"), as libwnck reads it.
taskbar_is() { [ "$($probe taskbar "$1")" = "$2" ]; }
expect_taskbar() { # window listed|skipped
    poll 5 taskbar_is "$1" "$2" || fail "window $1 should be $2 on the taskbar, not $($probe taskbar "$1"): $(xprop -id "$1" _NET_WM_STATE)"
}

# A place in the window switcher ("listed") or none ("skipped"). KWin is asked
# through its scripting; every other manager by Alt+Tab itself, from the
# newer of two other windows: it goes to the window where the switcher holds
# it, and past it to the older where not. IceWM's and fluxbox's switchers
# leave out only what their users name, or what takes no focus.
switched_to_either() { is_active "$subject" || is_active "$oldest"; }
helpers_gone() { gone '^[^ ]+ +[0-9-]+ +[^ ]+ (oldest|newest)$'; }
expect_switcher() { # window listed|skipped
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
    await_window 'oldest$' Xmessage && oldest=$found && await_window 'newest$' Xmessage && newest=$found ||
        fail "the switcher's helper windows did not open"
    activate "$oldest"
    activate "$1"
    activate "$newest"
    # Alt held as a person holds it, for managers that grab the keyboard first.
    xdotool keydown alt sleep 0.2 key Tab sleep 0.2 keyup alt
    subject=$1
    poll 5 switched_to_either || fail "Alt+Tab went to $(xdotool getactivewindow), not to $1 nor past it to $oldest"
    [ "$2" = listed ] && wanted=$1 || wanted=$oldest
    is_active "$wanted" || fail "the window switcher should have window $1 $2"
    kill "$oldest_pid" "$newest_pid"
    poll 5 helpers_gone || fail "the switcher's helper windows did not close"
    activate "$before"
}
# The window is the program's of its title: KWin 6 shows a script no window id.
# KWin 6 lists windows in windowList() and puts a script at /Scripting/Script<N>,
# KWin 5 in clientList() and at /<N>.
kwin_reads() { # window property: in $kwin_value, read by a script KWin runs
    script=$work/kwin-$1-$2.js
    caption=$(caption_of "$1")
    echo "const windows = workspace.windowList ? workspace.windowList() : workspace.clientList();
        for (const w of windows) if (w.pid == $app && w.caption == '$caption') print('probe $1 $2', w.$2);" >"$script"
    number=$(dbus-send --session --print-reply=literal --dest=org.kde.KWin /Scripting \
        org.kde.kwin.Scripting.loadScript string:"$script" string:"probe-$1-$2" | awk '{print $2}')
    for path in "/Scripting/Script$number" "/$number"; do
        dbus-send --session --print-reply --dest=org.kde.KWin "$path" org.kde.kwin.Script.run >/dev/null 2>&1 && break
    done
    poll 5 grep -q "probe $1 $2 " "$work/window-manager.log" || fail "KWin's script did not answer"
    dbus-send --session --print-reply --dest=org.kde.KWin /Scripting org.kde.kwin.Scripting.unloadScript string:"probe-$1-$2" >/dev/null
    kwin_value=$(sed -n "s/.*probe $1 $2 //p" "$work/window-manager.log" | tail -n 1)
}

# Whether the window is in the task list and in the window switcher ("true
# true", "false false"), as the compositor of a Wayland session says: KWin's
# scripting, or GNOME Shell's Eval, which answers in its unsafe mode.
compositor_lists() { # window
    if [ "$desktop" = kde-wayland ]; then
        kwin_reads "$1" skipTaskbar
        taskbar=$kwin_value
        kwin_reads "$1" skipSwitcher
        echo "$([ "$taskbar" = false ] && echo true || echo false) $([ "$kwin_value" = false ] && echo true || echo false)"
        return
    fi
    caption=$(caption_of "$1")
    dbus-send --session --print-reply=literal --dest=org.gnome.Shell /org/gnome/Shell org.gnome.Shell.Eval \
        string:"const w = global.display.list_all_windows().find(w => w.get_wm_class() == '$program_class' &&
            (w.get_title() || '') == '$caption');
            w ? [!w.skip_taskbar, global.display.get_tab_list(0, null).includes(w)].join(' ') : 'missing'" |
        sed -n 's/^ *"\(.*\)"$/\1/p'
}
expect_listed() { # window listed|skipped
    wanted=$([ "$2" = listed ] && echo "true true" || echo "false false")
    poll 5 listed_as "$1" "$wanted" || fail "window $1 should be $2 in the task list and switcher, not: $(compositor_lists "$1")"
}
listed_as() { [ "$(compositor_lists "$1")" = "$2" ]; }

# The client area's place and size, and the window manager's border around it.
geometry() { # window
    eval "$(xwininfo -id "$1" | awk '/Absolute upper-left X/ {print "x=" $4} /Absolute upper-left Y/ {print "y=" $4}
        /Width:/ {print "w=" $2} /Height:/ {print "h=" $2}')"
    set -- $(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ,) 0 0 0 0
    left=$1 right=$2 top=$3 bottom=$4
}
# The whole window, border and all, centred within 2 pixels (as twice the
# centres, so that every figure stays whole).
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
# A drag with the move modifier from outside the frame does not move the
# window; a request the manager answers shows that the drag is over.
expect_fixed_in_place() { # window
    geometry "$1"
    placed="$x,$y"
    xdotool mousemove --sync $((x + 4)) $((y + 200)) keydown $move_modifier sleep 0.1 mousedown 1 sleep 0.1 \
        mousemove --sync $((x + 60)) $((y + 240)) sleep 0.1 mousemove --sync $((x + 120)) $((y + 280)) \
        sleep 0.1 mouseup 1 keyup $move_modifier
    wmctrl -i -r "$1" -b add,above
    poll 5 above_all "$1" || fail "the window manager did not answer"
    geometry "$1"
    [ "$x,$y" = "$placed" ] || fail "a drag moved window $1 from $placed to $x,$y"
}

# The X resources a desktop's settings daemon sets, the font DPI among them.
set_desktop_resources() { # dpi
    xrdb -nocpp -load <<RESOURCES
! Set by the settings daemon
*customization:	-color
Xcursor.size:	24
Xcursor.theme:	Adwaita
Xft.antialias:	1
Xft.hinting:	1
Xft.hintstyle:	hintslight
Xft.rgba:	rgb
Xft.dpi:	$1
XTerm*faceName:	Monospace
*background:	#ffffff
RESOURCES
}

case $scenario in
window-manager)
    # What the window manager and the desktop's theme decide: borders,
    # centring, taskbar, switcher, focus, Enter, closing and dragging; at the
    # design's size and at twice it.
    need xrdb /usr/bin/python3
    start_desktop
    start_program
    await_splash
    geometry "$splash"
    [ "$left$right$top$bottom" = 0000 ] || fail "the window manager framed the splash window: $left,$right,$top,$bottom"
    [ "${w}x$h" = 494x284 ] || fail "the splash window is ${w}x$h, not 494x284"
    expect_no_name "$splash"
    expect_centred "$splash"
    expect_taskbar "$splash" skipped
    expect_switcher "$splash" skipped
    # fluxbox lets its user move any window, whatever the window asks for.
    [ "$desktop" = fluxbox ] || expect_fixed_in_place "$splash"
    mkdir -p "$shots" && import -window "$splash" "$shots/desktop-splash.png"
    # A click leads on to the main window, where Enter translates; once the
    # window manager has let go of the pointer it held through the drag, which
    # mutter does only when its compositor next handles input.
    poll 10 pointer_free || fail "the window manager kept the pointer after the drag"
    geometry "$splash"
    xdotool mousemove $((x + w / 2)) $((y + 20)) click 1
    await_window "$main_title" || fail "a click on the splash window opened no main window"
    main=$found
    activate "$main"
    expect_centred "$main"
    expect_taskbar "$main" listed
    expect_switcher "$main" listed
    type_text dragon
    keys Return
    expect_text Translation morvantel "\"dragon\" and Enter"

    key_opens F1 "$about_title"
    about=$found
    poll 5 is_active "$about" || fail "About is not the active window"
    import -frame -window "$about" "$shots/desktop-about.png"
    geometry "$about"
    [ "$x,$y" = "156,129" ] || fail "About's client area is at $x,$y, not at its place, 156,129"
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
    key_opens F12 "$whatsnew_title"
    whatsnew=$found
    import -frame -window "$whatsnew" "$shots/desktop-whatsnew.png"
    expect_taskbar "$whatsnew" skipped
    expect_switcher "$whatsnew" skipped
    # With the main window closed by the manager, What's New's About button
    # still works; the manager closes the last window, ending the program.
    wmctrl -c "Tessar Morvantel - English"
    poll 5 gone "$main_title" || fail "the main window did not close"
    activate "$whatsnew"
    keys Tab Tab space
    poll 5 gone "$whatsnew_title" || fail "What's New's About button left it open"
    activate "$about"
    wmctrl -i -c "$about"
    expect_exit

    # Twice the size, as a desktop scaled to 150 % asks with a font DPI of 144.
    set_desktop_resources 144
    start_program
    await_splash
    geometry "$splash"
    [ "${w}x$h" = 988x568 ] || fail "the splash window is ${w}x$h at 144 dpi"
    expect_centred "$splash"
    leave_splash
    geometry "$main"
    [ "$w" = 830 ] || fail "the main window is ${w}x$h at 144 dpi"
    expect_centred "$main"
    quit_with_yes
    ;;
use-and-read-back)
    # What no window manager changes, as a person uses it and a screen reader reads it.
    need /usr/bin/python3
    start_desktop
    open_main
    for pair in above:svern morvantel:dragon xyzzy:Unknown_Word Above:Unknown_Word; do
        keys ctrl+a
        type_text "${pair%%:*}"
        keys Return
        expect_text Translation "$(echo "${pair#*:}" | tr _ ' ')" "\"${pair%%:*}\" and Enter"
    done
    mkdir -p "$shots" && import -frame -window "$main" "$shots/desktop-main.png"
    keys Tab Tab ctrl+a ctrl+c
    poll 5 clipboard_holds "^Unknown Word$" || fail "the answer was not copied"
    keys shift+Tab shift+Tab ctrl+a
    type_text "svern"
    keys Tab Tab Return
    expect_text Translation "above" "Enter in the output box"
    # A line copied with its line break pastes as the word alone.
    keys shift+Tab shift+Tab
    printf 'dragon\r\n' | xclip -quiet -i -selection clipboard >/dev/null 2>&1 &
    poll 5 clipboard_holds dragon || fail "xclip did not take the clipboard"
    keys ctrl+a ctrl+v Return
    expect_text Word "dragon" "a pasted line"
    expect_text Translation "morvantel" "a pasted line"
    keys Escape
    expect_text Word "" "Esc"
    expect_text Translation "" "Esc"
    # What a screen reader announces: every control that takes the focus by a
    # name, and no name with the frame's ornaments.
    key_opens F1 "$about_title"
    activate "$main"
    key_opens F12 "$whatsnew_title"
    faults=$($probe audit "$main_title" "$about_title" "$whatsnew_title" 2>&1) ||
        fail "reading the accessibility bus: $faults"
    [ -z "$faults" ] || fail "$faults"
    # Esc does not answer the exit question; No keeps the typed word.
    activate "$main"
    type_text "nemir"
    key_opens ctrl+x "$question_title"
    activate "$found"
    keys Escape Tab space
    poll 5 gone "^[^ ]+ +[0-9-]+ +[^ ]+ $question_title" || fail "No did not close the question"
    expect_text Word "nemir" "No"
    quit_with_yes
    ;;
installed)
    # The Windows build under Wine, as a user of Windows meets it, in a prefix
    # that reaches nothing of this machine: no Unix drive, no library path,
    # the installer and the zip copied in. Installed silently, started from
    # its Start-menu entry at 100 %, 125 % and 150 %, used, ended with
    # File › Exit; reinstalled where the user deleted its folder and where
    # they chose another; uninstalled, not while it runs. Its licences, and
    # the source of its Qt. PROGRAM is the installer; the zip and the source
    # zip lie beside it.
    need unzip x86_64-w64-mingw32-objdump
    export WINEPREFIX=$work/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    unset WINEPATH
    wine=/usr/lib/wine/wine64
    skips_taskbar() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR; }
    drive=$WINEPREFIX/drive_c
    folder=$drive/Program\ Files/Translator
    entry="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Translator/Translator.lnk"
    uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Translator'
    # A screen that holds About at its place at 150 %, where Wine 10 would
    # push a window that reaches past the edge back onto the screen.
    start_desktop 1280x1024
    # Wine draws Windows' own frames, at the desktop's DPI, as Windows does:
    # the same border on three sides, and the title bar.
    $wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 || fail "Wine does not start"
    rm "$WINEPREFIX/dosdevices/z:" || fail "the prefix has no Unix drive to remove"
    cp "$program" "$drive/setup.exe" && unzip -q "${program%.exe}.zip" -d "$drive/unpacked" || fail "no installer or zip"
    client_place() { # window client_width client_height: in $x,$y
        geometry "$1"
        side=$(((w - $2) / 2))
        x=$((x + side)) y=$((y + h - $3 - side))
    }
    # What a distributor hands out: every library named with its licence in
    # the folder's notices, the source of Qt they name beside the installer
    # as its Debian source package lists it, and the program's terms on the
    # installer's licence page, as in the folder.
    unpacked=$drive/unpacked/${program##*/} unpacked=${unpacked%.exe}
    notices=$(tr '\r\n' '  ' <"$unpacked/LICENSE.txt" | tr -s ' ')
    for library in $(cd "$unpacked" && find . -name '*.dll' | cut -c 3- | tr / '\\'); do
        case $notices in *"$library"*) ;; *) fail "LICENSE.txt does not name $library" ;; esac
        grep -a '^=== ' "$unpacked/licences/THIRD-PARTY-NOTICES.txt" | grep -q -F "$library" ||
            fail "THIRD-PARTY-NOTICES.txt has no notice for $library"
    done
    source_zip=${program%.exe}-source.zip
    unzip -q "$source_zip" -d "$work/source" || fail "no source zip beside the installer"
    source=$work/source/$(basename "$source_zip" .zip)
    dsc=$(echo "$source"/qt6-base_*.dsc)
    case $notices in *"qt6-base $(sed -n 's/^Version: //p' "$dsc") source package"*"${source_zip##*/}"*) ;;
    *) fail "LICENSE.txt names another Qt source than ${dsc##*/} in ${source_zip##*/}" ;; esac
    sed -n '/^Checksums-Sha256:/,/^[^ C]/s/^ \([0-9a-f]\{64\}\) [0-9]* \(.*\)/\1  \2/p' "$dsc" >"$work/sums"
    [ "$(wc -l <"$work/sums")" -eq 2 ] && (cd "$source" && sha256sum -c --quiet "$work/sums") &&
        [ -f "$source/tools/build-qt-windows" ] ||
        fail "the source zip lacks what ${dsc##*/} lists, or the script that built Qt"
    # Whoever builds Qt again from the zip needs every file that script calls.
    for called in $(grep -o '$here/[A-Za-z0-9_./-]*' "$source/tools/build-qt-windows" | cut -c 7- | sort -u); do
        [ -f "$source/$called" ] || fail "the source zip lacks $called, which tools/build-qt-windows calls"
    done
    licence_copied() { # from a click into the licence page's text, which leaves the welcome page alone
        geometry "$setup_window"
        xdotool mousemove $((x + 250)) $((y + 180)) click 1
        keys ctrl+a ctrl+c
        clipboard_holds Copyright
    }
    $wine 'C:\setup.exe' >"$work/setup.log" 2>&1 &
    setup=$!
    await_window 'Translator Setup$' setup.exe || fail "the installer showed no window"
    setup_window=$found
    activate "$setup_window"
    keys Return
    poll 10 licence_copied ||
        fail "the licence page does not show the program's terms: $(timeout 5 xclip -o -selection clipboard | head -n 3)"
    timeout 5 xclip -o -selection clipboard | tr -d '\r' >"$work/licence-page.txt"
    tr -d '\r' <"$unpacked/LICENSE.txt" | cmp -s - "$work/licence-page.txt" ||
        fail "the licence page shows: $(head -n 5 "$work/licence-page.txt")"
    kill "$setup"
    poll 10 gone 'Translator Setup$' || fail "the installer did not close"
    install() { # [/D=FOLDER]: silently, within a minute
        timeout 60 $wine 'C:\setup.exe' /S "$@" >"$work/install.log" 2>&1 || fail "the installer ended with status $? ($*)"
    }
    uninstall() { # uninstaller: silently, in place, and waited for
        timeout 60 $wine "$1" /S "_?=${1%\\Uninstall.exe}" >"$work/uninstall.log" 2>&1
    }
    # The entry among the installed programs, its values as Windows reads them.
    entry_values() {
        $wine reg query "$uninstall_key" 2>/dev/null | tr -d '\r' | awk 'NF >= 3 {$1 = $1; print}' |
            grep -E '^(DisplayName|DisplayVersion|Publisher|DisplayIcon|URLInfoAbout|NoModify|NoRepair|EstimatedSize) ' | sort
    }
    install
    [ -f "$folder/morvantel.exe" ] && [ -f "$entry" ] || fail "no program or no Start-menu entry installed"
    size=$(du -sk "$folder" | cut -f 1)
    values=$(entry_values | sed 's/^\(EstimatedSize REG_DWORD\) 0x[0-9a-f]*$/\1/')
    [ "$values" = 'DisplayIcon REG_SZ C:\Program Files\Translator\morvantel.exe
DisplayName REG_SZ Translator
DisplayVersion REG_SZ 1.00
EstimatedSize REG_DWORD
NoModify REG_DWORD 0x1
NoRepair REG_DWORD 0x1
Publisher REG_SZ Tessar Morvantel
URLInfoAbout REG_SZ https://tessarmorvantel.net/translator' ] || fail "the entry among the installed programs holds: $values"
    estimated=$(($(entry_values | sed -n 's/^EstimatedSize REG_DWORD //p')))
    [ $((estimated * 10)) -ge $((size * 9)) ] && [ $((estimated * 10)) -le $((size * 11)) ] ||
        fail "the entry estimates ${estimated} KiB for a folder of ${size} KiB"
    # A program with windows, which Windows starts without a console.
    x86_64-w64-mingw32-objdump -p "$folder/morvantel.exe" | grep -q '^Subsystem.*(Windows GUI)' ||
        fail "morvantel.exe is not a Windows GUI program"
    # The program's icon and version block, as Windows' Explorer shows them.
    icon=$here/../resources/morvantel.ico
    wrestool -x --type=group_icon "$folder/morvantel.exe" | head -c "$(wc -c <"$icon")" | cmp -s - "$icon" ||
        fail "the program's icon is not morvantel.ico"
    version=$(wrestool -x --raw --type=16 "$folder/morvantel.exe" | strings -el -n 3 | tr '\n' ' ')
    [ "$version" = "VS_VERSION_INFO StringFileInfo 040904B0 CompanyName N/A ProductName Translator FileVersion \
1.00 ProductVersion 1.00 InternalName morvantel OriginalFilename morvantel.exe VarFileInfo Translation " ] ||
        fail "the version block holds: $version"
    # The Start-menu entry starts the installed program in its folder; it is
    # started here as the entry says, since Wine 10 waits for nothing it
    # opens through a shortcut, and gives no exit status.
    app_folder='C:\Program Files\Translator'
    strings "$entry" | grep -qxF "$app_folder\\morvantel.exe" && strings -el "$entry" | grep -qxF "$app_folder" ||
        fail "the Start-menu entry does not start $app_folder\\morvantel.exe in its folder"
    for dpi in 96 120 144; do
        $wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1
        $wine start /wait /d "$app_folder" "$app_folder\\morvantel.exe" >"$work/program.log" 2>&1 &
        app=$!
        await_splash
        geometry "$splash"
        [ "${w}x$h" = "$([ $dpi = 144 ] && echo 988x568 || echo 494x284)" ] || fail "the splash window is ${w}x$h at $dpi dpi"
        skips_taskbar "$splash" || fail "the splash window has a taskbar button"
        expect_no_name "$splash"
        expect_centred "$splash"
        leave_splash
        ! skips_taskbar "$main" || fail "the main window has no taskbar button"
        expect_centred "$main"
        [ $dpi = 144 ] && break
        quit_with_yes
    done
    type_text dragon
    keys Return Tab Tab ctrl+a ctrl+c
    poll 5 clipboard_holds "^morvantel$" || fail "the answer to \"dragon\" was not copied"
    mkdir -p "$shots" && import -frame -window "$main" "$shots/wine-main.png"
    key_opens F1 "$about_title"
    skips_taskbar "$found" || fail "About has a taskbar button"
    # At 150 %, drawn at twice the design's size, twice its place.
    client_place "$found" 764 472
    [ "$x,$y" = "312,258" ] || fail "About's client area is at $x,$y, not at twice its place, 312,258"
    import -frame -window "$found" "$shots/wine-about.png"
    activate "$main"
    key_opens F12 "$whatsnew_title"
    skips_taskbar "$found" || fail "What's New has a taskbar button"
    # While it runs, the uninstaller says so and leaves it installed.
    uninstall 'C:\Program Files\Translator\Uninstall.exe'
    [ -f "$folder/morvantel.exe" ] && [ -n "$(entry_values)" ] || fail "the uninstaller took part of the running program"
    quit_with_yes
    # The unpacked zip runs from its own folder.
    app_folder='C:\unpacked\morvantel-1.0.0.0-win64'
    $wine start /wait /d "$app_folder" "$app_folder\\morvantel.exe" >"$work/program.log" 2>&1 &
    app=$!
    await_splash
    leave_splash
    quit_with_yes
    # The user deleted the folder; a reinstall puts it back, without a question.
    rm -rf "$folder"
    install
    [ -f "$folder/morvantel.exe" ] || fail "the reinstall did not put the program back"
    uninstall 'C:\Program Files\Translator\Uninstall.exe' || fail "the uninstaller ended with status $?"
    # A folder the user chose (/D=, last) is where a reinstall goes.
    install '/D=C:\Apps\Translator'
    install
    [ -f "$drive/Apps/Translator/morvantel.exe" ] && [ ! -e "$folder" ] ||
        fail "the reinstall did not go to the folder the first install chose"
    # Another program of the same publisher keeps its settings.
    $wine reg add 'HKLM\Software\Tessar Morvantel\Atlas' /v Kept /d 1 /f >/dev/null 2>&1 ||
        fail "Wine did not take the other program's key"
    # The uninstaller as Windows starts it: from a copy of itself, which finishes on its own.
    $wine 'C:\Apps\Translator\Uninstall.exe' /S >"$work/uninstall.log" 2>&1 || fail "the uninstaller failed"
    poll 20 test ! -e "$drive/Apps/Translator" || fail "files left behind: $(find "$drive/Apps")"
    poll 20 test ! -e "$entry" || fail "the Start-menu entry is left behind"
    [ -z "$(entry_values)" ] || fail "the entry among the installed programs is left behind"
    ! $wine reg query 'HKLM\Software\Tessar Morvantel\Translator' >/dev/null 2>&1 || fail "the program's key is left behind"
    $wine reg query 'HKLM\Software\Tessar Morvantel\Atlas' /v Kept >/dev/null 2>&1 ||
        fail "the uninstaller deleted another program's key of the same publisher"
    ;;
xwayland)
    # A Wayland session with an X server beside it, as GNOME and KDE run on
    # Wayland: the windows land on the X server, which alone lets them be
    # placed and kept off the taskbar, and Qt says nothing about it.
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
    # A platform the user sets still wins: Wayland itself, its display by path.
    QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY WAYLAND_DEBUG=client start_program
    poll 20 grep -q "xdg_toplevel[@#]" "$work/program.log" || fail "QT_QPA_PLATFORM=wayland did not show a Wayland window"
    [ -z "$(xdotool search --pid "$app" 2>/dev/null)" ] || fail "QT_QPA_PLATFORM=wayland showed an X window"
    ;;
wayland-session)
    # The Wayland sessions GNOME and KDE start by default, each compositor
    # on a screen of its own: the program on their X server, XWayland,
    # centred with its frames, its windows but the main one kept out of the
    # task list and the switcher as the compositor itself says, used with
    # keys, and ended.
    XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=wayland-morvantel
    export XDG_SESSION_TYPE WAYLAND_DISPLAY
    start_buses
    if [ "$desktop" = gnome-wayland ]; then
        # GNOME Shell 43 (Debian 12) starts ibus-daemon with a callback of
        # its JavaScript run in the forked child, which at times hangs it for
        # good; GNOME Shell 48 (Debian 13) spawns without.
        shell=$(gnome-shell --version | sed -n 's/^GNOME Shell \([0-9]*\).*/\1/p')
        [ "${shell:-0}" -ge 48 ] || skip "GNOME Shell ${shell:-?} hangs at times as it starts, so its session is tried from 48 on"
        # GNOME Shell asks the system bus for the seat where systemd runs; it
        # names its X server in its log and puts that server's key beside.
        dbus-daemon --session --nofork --address="unix:path=$work/system-bus" >"$work/system-bus.log" 2>&1 &
        DBUS_SYSTEM_BUS_ADDRESS=unix:path=$work/system-bus
        export DBUS_SYSTEM_BUS_ADDRESS
        poll 10 test -S "$work/system-bus" || fail "the system bus did not start"
        # The folder of X sockets as systemd-tmpfiles makes it at boot, which
        # mutter 48 wants open to all and would make only for itself.
        [ -d /tmp/.X11-unix ] || mkdir -m 1777 /tmp/.X11-unix 2>/dev/null
        gnome-shell --wayland --headless --unsafe-mode --virtual-monitor 1024x768 \
            --wayland-display "$WAYLAND_DISPLAY" >"$work/window-manager.log" 2>&1 &
        wm_pid=$!
        poll 60 grep -q "Using public X11 display" "$work/window-manager.log" || fail "GNOME Shell started no X server"
        DISPLAY=$(sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$work/window-manager.log" | head -n 1)
        XAUTHORITY=$(ls "$XDG_RUNTIME_DIR"/.mutter-Xwaylandauth.* 2>/dev/null | head -n 1)
    else
        # A copy of KWin, without the right to raise its limits that the
        # installed one asks for and a container may refuse; it starts a
        # program once its X server runs, which says where that is.
        cp "$(command -v kwin_wayland)" "$work/kwin_wayland"
        QT_LOGGING_RULES=kwin_scripting.debug=true "$work/kwin_wayland" --virtual --xwayland --width 1024 \
            --height 768 --socket "$WAYLAND_DISPLAY" "sh -c 'echo \$DISPLAY \${XAUTHORITY:-} >$work/x-server'" \
            >"$work/window-manager.log" 2>&1 &
        wm_pid=$!
        poll 60 test -s "$work/x-server" || fail "KWin started no X server"
        read -r DISPLAY XAUTHORITY <"$work/x-server"
    fi
    export DISPLAY XAUTHORITY
    # The compositor starts its X server when a client first connects; a
    # client that gave up on it then would leave it unstarted.
    timeout 60 xdpyinfo >/dev/null 2>&1 || fail "the session's X server $DISPLAY does not answer"
    poll 30 window_manager_up || fail "the compositor manages no X windows"
    start_program
    await_splash
    expect_centred "$splash"
    expect_listed "$splash" skipped
    leave_splash
    expect_centred "$main"
    expect_listed "$main" listed
    type_text dragon
    keys Return
    expect_text Translation morvantel "\"dragon\" and Enter"
    key_opens F1 "$about_title"
    geometry "$found"
    [ "$x,$y" = "156,129" ] || fail "About's client area is at $x,$y, not at its place, 156,129"
    expect_listed "$found" skipped
    if [ "$desktop" = gnome-wayland ]; then
        # GNOME's XWayland loses the modifiers of keys pressed on the X server
        # itself, as xdotool presses them, so Ctrl+X cannot be pressed there:
        # the session closes the windows instead, and the last one ends the
        # program.
        wmctrl -i -c "$found"
        poll 5 gone "$about_title" || fail "About did not close"
        wmctrl -i -c "$main"
        expect_exit
    else
        quit_with_yes
    fi
    ;;
*)
    fail "unknown scenario"
    ;;
esac
echo "PASS ($desktop, $scenario)"
