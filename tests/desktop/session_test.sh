#!/usr/bin/env bash
# Goals and personal data survive an end that is not the end button: the
# real program on a virtual X server, driven with xdotool. A goal typed and
# not yet left is saved when the program gets SIGTERM or SIGHUP (a logout,
# `kill`); a choice of personal data is in the file at once, so that it
# survives even SIGKILL (a crash). The files are read with dbfread, as the
# next start reads them.
#
#   session_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
if [ -z "${DISPLAY_FOR_TEST:-}" ]; then
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    mkdir -p "$work/home" "$work/diary"
    "$build/ZEBInstall" "$work/diary" >/dev/null
    export HOME="$work/home" WORK="$work" DISPLAY_FOR_TEST=1
    export KELVARA_GUARD_NAME="kelvara-session-test-$$"
    unset QT_QPA_PLATFORM
    exec timeout -k 5 170 xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$build"
fi

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
export LC_ALL=C.UTF-8

pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
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

# The settings field $1 as the file holds it.
setting() {
    /usr/bin/python3 -c 'import sys, dbfread; print(str(list(dbfread.DBF(sys.argv[1]))[0][sys.argv[2]]).strip())' \
        "$WORK/diary/ZEB_REG.dbf" "$1"
}
setting_is() { [ "$(setting "$1")" = "$2" ]; }

main_window() {
    local id
    for id in $(xdotool search --onlyvisible --class '^Kelvara$' 2>/dev/null); do
        [ "$(xprop -id "$id" _NET_WM_NAME | sed -n 's/^[^=]*= //p')" = '"Kelvara [1.02f]"' ] && echo "$id" && return 0
    done
    return 1
}
managed() { xprop -id "$1" _NET_WM_ALLOWED_ACTIONS | grep -q ' = '; }

# Starts the program and waits until its main window is managed and has the
# keyboard; sets $program and $main.
start() {
    (cd "$WORK/diary" && exec "$build/ZEB2006.exe") &
    program=$!
    pids+=("$program")
    main=$(wait_for main_window) || fail "no main window"
    wait_for managed "$main" || fail "the window manager never managed the main window"
    xdotool windowactivate --sync "$main"
}

# Ends the program with signal $1 and waits for it; fails unless it ended
# by itself with status 0 (a signal it does not handle ends it with 128 + n).
end_with() {
    kill -"$1" "$program"
    local status=0
    wait "$program" || status=$?
    [ "$1" = KILL ] || [ "$status" -eq 0 ] || fail "the program ended with status $status on SIG$1"
}

# Client coordinates of the goal fields and the sex combo on the goals
# folder, which is in front at start: the folder at (112, 3), the goals box
# at (12, 236) in it, the fields' column at 441; the personal data box at
# (12, 12), the combo at (136, 18).
fat=(595 349)
protein=(595 385)
sex=(335 45)

# Types $3 over the goal field at ($1, $2), without leaving it.
type_goal() {
    xdotool mousemove --window "$main" "$1" "$2" click 1
    xdotool key --window "$main" ctrl+a
    xdotool type --window "$main" "$3"
}

openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_for wm_running || fail "openbox did not start"

for signal in TERM HUP; do
    start
    if [ "$signal" = TERM ]; then field=EF; at=("${fat[@]}"); value=85; else field=EP; at=("${protein[@]}"); value=95; fi
    type_goal "${at[@]}" "$value"
    end_with "$signal"
    setting_is "$field" "$value" || fail "after SIG$signal the goal $field is $(setting "$field"), not $value"
    echo "ok: a goal typed is kept when the program gets SIG$signal"
done

start
xdotool mousemove --window "$main" "${sex[@]}" click 1
xdotool key Down Return
wait_for setting_is CBG 1 || fail "the choice of sex was not written; CBG is $(setting CBG)"
end_with KILL
setting_is CBG 1 || fail "CBG is $(setting CBG) after the kill"
setting_is EF 85 || fail "the earlier goal was lost"
echo "ok: a choice of personal data is written at once and survives SIGKILL"
