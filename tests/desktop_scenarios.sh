#!/bin/sh
# Drives the real program as a person would, under the window manager of one
# desktop (tests/desktop-scenarios.list) or in a Wayland session, and reads it
# back as a taskbar (libwnck), a screen reader (AT-SPI) and a switcher do.
#   desktop_scenarios.sh DESKTOP SCENARIO PROGRAM SCREENSHOT_DIR
set -u
desktop=$1 scenario=$2 program=$3 shots=$4/$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"

# The window manager, its name, the modifier to drag windows with, and a panel
# where it needs one (xfwm4 lists its windows only once it manages two).
session="" move_modifier=alt panel=no program_class=morvantel
case $desktop in
openbox) need openbox && wm="openbox" wm_name="Openbox" ;;
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
*) echo "FAIL ($desktop, $scenario): unknown desktop" && exit 1 ;;
esac

. "$here/desktop_lib.sh"

# A taskbar and pager button ("listed") or none ("skipped"), as libwnck reads it.
taskbar_is() { [ "$($probe taskbar "$1")" = "$2" ]; }
expect_taskbar() { # window listed|skipped
    poll 5 taskbar_is "$1" "$2" || fail "window $1 should be $2 on the taskbar, not $($probe taskbar "$1"): $(xprop -id "$1" _NET_WM_STATE)"
}

# A place in the window switcher ("listed") or none ("skipped"): KWin is asked
# through its scripting, every other manager by Alt+Tab from the newer of two
# other windows, which goes to the window or, where it is skipped, past it.
# IceWM's and fluxbox's switchers leave out only what their users name.
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
    xmessage -name oldest -title oldest -geometry 120x60+0+0 oldest 2>/dev/null & oldest_pid=$!
    xmessage -name newest -title newest -geometry 120x60+0+660 newest 2>/dev/null & newest_pid=$!
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
# The program's window of that title (KWin 6 shows a script no window id),
# from windowList() and /Scripting/Script<N>, or KWin 5's clientList() and /<N>.
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

# Whether the window is in the task list and the switcher ("true true"), as
# KWin's scripting or GNOME Shell's Eval (in its unsafe mode) says.
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

# A drag with the move modifier moves nothing (an answered request: it is over).
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

case $scenario in
window-manager)
    # What the window manager and the desktop's theme decide: borders, centring,
    # taskbar, switcher, focus, Enter, closing and dragging; at 1 and at 2.
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
    mkdir -p "$shots" && import -window "$splash" "$shots/desktop-splash.png"
    # A click leads on to the main window, where Enter translates.
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
    # The manager closes each window; the last one closed ends the program.
    wmctrl -i -c "$main" && wmctrl -i -c "$whatsnew"
    poll 5 gone "$main_title|$whatsnew_title" || fail "the main window or What's New did not close"
    wmctrl -i -c "$about"
    expect_exit

    # Twice the size, as a desktop scaled to 150 % asks with a font DPI of 144.
    echo "Xft.dpi: 144" | xrdb -nocpp -load -
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

    # The splash stays in place (fluxbox lets its user move any window), but
    # the manager offers to close it, which ends the program.
    start_program
    await_splash
    [ "$desktop" = fluxbox ] || expect_fixed_in_place "$splash"
    actions=$(xprop -id "$splash" _NET_WM_ALLOWED_ACTIONS)
    case $actions in *_NET_WM_ACTION_CLOSE*) ;; *) fail "the splash window cannot be closed: $actions" ;; esac
    wmctrl -i -c "$splash"
    expect_exit
    ;;
use-and-read-back)
    # What no window manager changes, as a person uses it and a screen reader reads it.
    need /usr/bin/python3
    start_desktop
    start_program
    await_splash
    leave_splash
    type_text dragon
    keys Return
    expect_text Translation morvantel "\"dragon\" and Enter"
    mkdir -p "$shots" && import -frame -window "$main" "$shots/desktop-main.png"
    keys Tab Tab ctrl+a ctrl+c
    poll 5 clipboard_holds "^morvantel$" || fail "the answer was not copied"
    # A screen reader names every control that takes the focus, no ornaments.
    key_opens F1 "$about_title"
    activate "$main"
    key_opens F12 "$whatsnew_title"
    faults=$($probe audit "$main_title" "$about_title" "$whatsnew_title" 2>&1) ||
        fail "reading the accessibility bus: $faults"
    [ -z "$faults" ] || fail "$faults"
    quit_with_yes
    ;;
xwayland)
    # Wayland with an X server beside it: the windows land on the X server,
    # which alone lets them be placed and kept off the taskbar, silently.
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
    # The Wayland sessions GNOME and KDE start by default: the program on their
    # XWayland, centred, its windows but the main one kept out of the task list
    # and the switcher as the compositor itself says, used with keys, ended.
    XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=wayland-morvantel
    export XDG_SESSION_TYPE WAYLAND_DISPLAY
    start_buses
    if [ "$desktop" = gnome-wayland ]; then
        # GNOME Shell 43 (Debian 12) runs JavaScript in the child it forks
        # for ibus-daemon, which at times hangs it; 48 (Debian 13) does not.
        shell=$(gnome-shell --version | sed -n 's/^GNOME Shell \([0-9]*\).*/\1/p')
        [ "${shell:-0}" -ge 48 ] || skip "GNOME Shell ${shell:-?} hangs at times as it starts, so its session is tried from 48 on"
        # It asks the system bus for its seat; its log names its X server.
        dbus-daemon --session --nofork --address="unix:path=$work/system-bus" >"$work/system-bus.log" 2>&1 &
        DBUS_SYSTEM_BUS_ADDRESS=unix:path=$work/system-bus
        export DBUS_SYSTEM_BUS_ADDRESS
        poll 10 test -S "$work/system-bus" || fail "the system bus did not start"
        # The X sockets' folder as made at boot, which mutter 48 wants open to all.
        [ -d /tmp/.X11-unix ] || mkdir -m 1777 /tmp/.X11-unix 2>/dev/null
        gnome-shell --wayland --headless --unsafe-mode --virtual-monitor 1024x768 \
            --wayland-display "$WAYLAND_DISPLAY" >"$work/window-manager.log" 2>&1 &
        wm_pid=$!
        poll 60 grep -q "Using public X11 display" "$work/window-manager.log" || fail "GNOME Shell started no X server"
        DISPLAY=$(sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$work/window-manager.log" | head -n 1)
        XAUTHORITY=$(ls "$XDG_RUNTIME_DIR"/.mutter-Xwaylandauth.* 2>/dev/null | head -n 1)
    else
        # A copy of KWin, without the capability a container may refuse; the
        # program it starts says where its X server is.
        cp "$(command -v kwin_wayland)" "$work/kwin_wayland"
        QT_LOGGING_RULES=kwin_scripting.debug=true "$work/kwin_wayland" --virtual --xwayland --width 1024 \
            --height 768 --socket "$WAYLAND_DISPLAY" "sh -c 'echo \$DISPLAY \${XAUTHORITY:-} >$work/x-server'" \
            >"$work/window-manager.log" 2>&1 &
        wm_pid=$!
        poll 60 test -s "$work/x-server" || fail "KWin started no X server"
        read -r DISPLAY XAUTHORITY <"$work/x-server"
    fi
    export DISPLAY XAUTHORITY
    # The compositor starts its X server for the first client, which must wait.
    timeout 60 xdpyinfo >/dev/null 2>&1 || fail "the session's X server $DISPLAY does not answer"
    poll 30 window_manager_up || fail "the compositor manages no X windows"
    start_program
    await_splash
    expect_centred "$splash"
    expect_listed "$splash" skipped
    leave_splash
    expect_centred "$main"
    expect_listed "$main" listed
    key_opens F1 "$about_title"
    geometry "$found"
    [ "$x,$y" = "156,129" ] || fail "About's client area is at $x,$y, not at its place, 156,129"
    expect_listed "$found" skipped
    if [ "$desktop" = gnome-wayland ]; then
        # GNOME's XWayland loses the modifiers of keys xdotool presses on the X
        # server, so no Ctrl+X: the session closes the windows instead.
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
