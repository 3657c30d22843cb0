# Sourced by every test script: the tools it calls, a bounded wait, and an X
# server that fails the script loudly. The caller makes and removes $work.

# Ends the script where a tool it calls is missing (listed_tools.sh checks
# that the package lists give every tool named so).
need() { # tool...
    for tool; do
        command -v "$tool" >/dev/null 2>&1 || { echo "FAIL: $tool is not installed; make test installs it"; exit 1; }
    done
}

# Polls until the command succeeds, for at most the given seconds.
poll() { # seconds command...
    deadline=$(($(date +%s) + $1))
    shift
    until "$@"; do
        [ "$(date +%s)" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# Starts Xvfb on a free display, with the arguments given, and exports that
# display; $xvfb is its process. Ends the script when no server comes up.
start_xvfb() { # Xvfb-argument...
    need Xvfb
    rm -f "$work/display"
    Xvfb -displayfd 3 -nolisten tcp "$@" 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb=$!
    poll 10 test -s "$work/display" || {
        echo "FAIL: Xvfb did not start: $(tail -n 5 "$work/xvfb.log")"
        exit 1
    }
    DISPLAY=:$(cat "$work/display")
    export DISPLAY
}
