#!/usr/bin/env bash
# The side windows as a window manager treats them: starts the real program
# on a virtual X server under openbox, types into the tools window and
# minimises it, which makes the window manager activate the main window; the
# tools window must stay, and restored it still holds what was typed (the
# entry it then inserts is in the food catalogue). Minimising the help
# window keeps the tools window open too; a click into the main window, the
# user's own return to it, closes the tools window. Waits for each state.
#
#   sidewindows_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/x11lib.sh"
if [ -z "${DISPLAY_FOR_TEST:-}" ]; then
    x11_prepare
    export DISPLAY_FOR_TEST=1
    export KELVARA_GUARD_NAME="kelvara-sidewindows-test-$$"
    export LANG=de_DE.UTF-8 LANGUAGE=de LC_ALL=
    status=0
    x11_run 170 1024x768 || status=$?
    exit $status
fi

export LC_ALL=C.UTF-8
program() {
    cd "$WORK/diary" && exec env -u LC_ALL "$build/ZEB2006.exe"
}

# Clicks at client point ($2, $3) of window $1 with button $4.
click() {
    xdotool mousemove --window "$1" "$2" "$3" sleep 0.2 click "${4:-1}"
}
# "x y" of the client area of window $1 on the screen.
place() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}'
}
at() {
    [ "$(place "$1")" = "$2" ]
}

# The ICCCM state of window $1: Normal, Iconic or Withdrawn.
wm_state() {
    xprop -id "$1" WM_STATE 2>/dev/null | sed -n 's/^[[:space:]]*window state: //p'
}
in_state() {
    [ "$(wm_state "$1")" = "$2" ]
}
active_is() {
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]
}

# Everything the window system sent the program before now has been handled
# once the pop-up menu it opens on a right click into a text field of window
# $1 at client point ($2, $3) shows.
handled() {
    click "$1" "$2" "$3" 3
    visible_popup() {
        local id
        for id in $(xdotool search --onlyvisible --class '^Kelvara$' 2>/dev/null); do
            popup "$id" && return 0
        done
        return 1
    }
    wait_for visible_popup || fail "the program no longer answers"
    xdotool key Escape
    wait_for eval '! visible_popup'
}

start_openbox

program &
pids+=($!)
main=$(window_named "Kelvara [1.02f]" _NET_WM_ALLOWED_ACTIONS) || fail "no main window"
click "$main" $((664 + 11 + 24)) $((473 + 19))
help=$(window_named "Hilfe für Kelvara [1.02f]" _NET_WM_ALLOWED_ACTIONS) || fail "no help window"
click "$main" $((664 + 11 + 24)) $((514 + 19))
tools=$(window_named "Tools für Kelvara [1.02f]" _NET_WM_ALLOWED_ACTIONS) || fail "no tools window"
wait_for active_is "$tools" || fail "the tools window is not active"

# A name and an energy typed into "Daten einfügen" (tab and panel offsets of
# the name field and the insert button, in client pixels).
click "$tools" $((6 + 4 + 1 + 12 + 100)) $((6 + 28 + 48 + 10))
xdotool type --delay 30 "Minimierbrot"
xdotool key Return
xdotool type --delay 30 "850"

placed=$(place "$tools")
xdotool windowminimize "$tools"
wait_for in_state "$tools" Iconic || fail "the tools window was not minimised: $(wm_state "$tools")"
wait_for active_is "$main" || fail "the window manager did not activate the main window"
handled "$main" $((664 + 38 + 20)) $((24 + 11))
in_state "$tools" Iconic || fail "minimising the tools window closed it: $(wm_state "$tools")"
echo "ok: the minimised tools window stays"

xdotool windowactivate "$tools"
wait_for in_state "$tools" Normal || fail "the tools window was not restored"
wait_for active_is "$tools" || fail "the restored tools window is not active"
# The window manager may show the restoring as a movement.
wait_for at "$tools" "$placed" || fail "the restored tools window is not where it was"
handled "$tools" $((6 + 4 + 1 + 12 + 100)) $((6 + 28 + 48 + 10))
click "$tools" $((6 + 4 + 1 + 508 + 34)) $((6 + 28 + 47 + 11))
stored() {
    /usr/bin/python3 -c 'import sys, dbfread
sys.exit(0 if any(r["NRGNAME"] == "Minimierbrot" and r["NRGENERGIE"] == 850
                  for r in dbfread.DBF(sys.argv[1], encoding="cp850")) else 1)' "$WORK/diary/ZEB_NRG.dbf"
}
wait_for stored || fail "the restored tools window lost what was typed"
echo "ok: restored, the tools window inserts what was typed before"

xdotool windowactivate "$help"
wait_for active_is "$help" || fail "the help window is not active"
xdotool windowminimize "$help"
wait_for in_state "$help" Iconic || fail "the help window was not minimised"
wait_for eval '! active_is "$help"' || fail "the help window stays active"
handled "$tools" $((6 + 4 + 1 + 12 + 100)) $((6 + 28 + 48 + 10))
in_state "$tools" Normal || fail "minimising the help window closed the tools window: $(wm_state "$tools")"
echo "ok: minimising the help window keeps the tools window"

xdotool windowactivate --sync "$tools"
wait_for active_is "$tools" || fail "the tools window is not active"
click "$main" 720 465
wait_for eval '! in_state "$tools" Normal' || fail "a click into the main window leaves the tools window open"
echo "ok: the user's return to the main window closes the tools window"
