# Shared by the tests that start the real program on a virtual X server:
# sourced by each of them. A script calls x11_prepare first; once it has
# re-executed itself under xvfb-run, it uses the functions below.

# Lays out a diary (ZEBInstall with the arguments given, for example --demo)
# and a home folder in a temporary folder $WORK that is removed at the end,
# and leaves the program to the X server that the script starts next.
x11_prepare() {
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    mkdir -p "$work/home" "$work/diary"
    "$build/ZEBInstall" "$@" "$work/diary" >/dev/null
    export HOME="$work/home" WORK="$work"
    unset QT_QPA_PLATFORM
}

# Runs this script again, for at most $1 seconds, on a virtual X server with
# a screen of $2 pixels (WIDTHxHEIGHT), behind the command words that follow
# (such as dbus-run-session --); returns its status.
x11_run() {
    local limit=$1 screen=$2
    shift 2
    timeout -k 5 "$limit" xvfb-run -a -s "-screen 0 ${screen}x24 -nolisten tcp" "$@" "$0" "$build"
}

fail() {
    echo "FAIL${FAIL_CONTEXT:+ ($FAIL_CONTEXT)}: $*" >&2
    exit 1
}

# The processes started in the background, ended at the end.
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
}
trap cleanup EXIT

# Runs "$@" every tenth of a second until it succeeds, for up to a minute.
wait_for() {
    local deadline=$((SECONDS + 60))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# The property $2 of window $1 as xprop prints it after " = ".
property() {
    xprop -id "$1" "$2" | sed -n 's/^[^=]*= //p'
}

# True once the window manager has set the property $2 of window $1.
has_property() {
    [ -n "$(property "$1" "$2")" ]
}

# True for a window that the window manager leaves alone: menus and other
# pop-ups (Qt gives them the application's name as their title).
popup() {
    xwininfo -id "$1" | grep -q 'Override Redirect State: yes'
}

# Prints the id of a visible window of the program whose title, as the
# window manager reads it (_NET_WM_NAME), is exactly $1 and, when $2 names a
# property, for which the window manager has set it.
visible_window_named() {
    local id
    for id in $(xdotool search --onlyvisible --class '^Kelvara$' 2>/dev/null); do
        popup "$id" && continue
        if [ "$(property "$id" _NET_WM_NAME)" = "\"$1\"" ] && { [ -z "${2:-}" ] || has_property "$id" "$2"; }; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

# Waits for the window titled $1 (with the property $2 set, if given) and
# prints its id.
window_named() {
    wait_for visible_window_named "$@"
}

# Starts the program on the diary in the background, with the environment
# settings given; sets $program to its pid.
start_program() {
    (cd "$WORK/diary" && exec env -u LC_ALL "$@" "$build/ZEB2006.exe") &
    program=$!
    pids+=("$program")
}

# Ends the program with signal $1 and waits for it; fails unless it ended by
# itself with status 0 (a signal it does not handle ends it with 128 + n).
end_program() {
    kill -"$1" "$program"
    local status=0
    wait "$program" || status=$?
    [ "$1" = KILL ] || [ "$status" -eq 0 ] || fail "the program ended with status $status on SIG$1"
}

# Starts openbox, logging to $1 (default: nowhere), and waits until it runs.
start_openbox() {
    openbox --sm-disable >"${1:-/dev/null}" 2>&1 &
    pids+=($!)
    wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
    wait_for wm_running || fail "openbox did not start"
}
