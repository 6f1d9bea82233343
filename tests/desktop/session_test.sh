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
here=$(cd "$(dirname "$0")" && pwd)
source "$here/x11lib.sh"
if [ -z "${DISPLAY_FOR_TEST:-}" ]; then
    x11_prepare
    export DISPLAY_FOR_TEST=1
    export KELVARA_GUARD_NAME="kelvara-session-test-$$"
    status=0
    x11_run 170 1024x768 || status=$?
    exit $status
fi
export LC_ALL=C.UTF-8

# The program may be stopped as a crash would stop it.
cleanup() {
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
}

# The settings field $1 as the file holds it.
setting() {
    /usr/bin/python3 -c 'import sys, dbfread; print(str(list(dbfread.DBF(sys.argv[1]))[0][sys.argv[2]]).strip())' \
        "$WORK/diary/ZEB_REG.dbf" "$1"
}
setting_is() { [ "$(setting "$1")" = "$2" ]; }

# Starts the program and waits until its main window is managed and has the
# keyboard; sets $program and $main.
start() {
    start_program
    main=$(window_named "Kelvara [1.02f]" _NET_WM_ALLOWED_ACTIONS) || fail "no main window managed by the window manager"
    xdotool windowactivate --sync "$main"
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

start_openbox

for signal in TERM HUP; do
    start
    if [ "$signal" = TERM ]; then field=EF; at=("${fat[@]}"); value=85; else field=EP; at=("${protein[@]}"); value=95; fi
    type_goal "${at[@]}" "$value"
    end_program "$signal"
    setting_is "$field" "$value" || fail "after SIG$signal the goal $field is $(setting "$field"), not $value"
    echo "ok: a goal typed is kept when the program gets SIG$signal"
done

start
xdotool mousemove --window "$main" "${sex[@]}" click 1
xdotool key Down Return
wait_for setting_is CBG 1 || fail "the choice of sex was not written; CBG is $(setting CBG)"
end_program KILL
setting_is CBG 1 || fail "CBG is $(setting CBG) after the kill"
setting_is EF 85 || fail "the earlier goal was lost"
echo "ok: a choice of personal data is written at once and survives SIGKILL"
