#!/usr/bin/env bash
# The program as the window system shows it: starts the real program on a
# virtual X server with a window manager, reads every window's title and the
# actions the window manager allows with xprop, minimises and restores the
# side windows, and takes screenshots. It
# waits for each state it reads (a window, the window manager's properties),
# up to a minute each, never for a fixed time: a busy machine only makes it
# slower.
#
#   x11_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/x11lib.sh"
if [ -z "${DISPLAY_FOR_TEST:-}" ]; then
    x11_prepare
    export DISPLAY_FOR_TEST=1
    export KELVARA_GUARD_NAME="kelvara-x11-test-$$"
    # German, as the program's users have it; the window tests cover English.
    export LANG=de_DE.UTF-8 LANGUAGE=de LC_ALL=
    status=0
    x11_run 170 1024x768 || status=$?
    exit $status
fi

# The X tools read and match titles in a UTF-8 locale that the machine has;
# the program gets the German one above.
export LC_ALL=C.UTF-8
# Run in the background, the function's subshell becomes the program, so that
# its pid is the program's.
program() {
    cd "$WORK/diary" && exec env -u LC_ALL "$build/ZEB2006.exe"
}

# Checks the title and the allowed actions of window $1 with title $2, once
# the window manager has managed the window and said what it allows.
check_window() {
    local id=$1 title=$2 name actions
    wait_for has_property "$id" _NET_WM_ALLOWED_ACTIONS || fail "the window manager never managed \"$title\""
    name=$(property "$id" _NET_WM_NAME)
    [ "$name" = "\"$title\"" ] || fail "title of \"$title\" is $name"
    actions=$(property "$id" _NET_WM_ALLOWED_ACTIONS)
    case "$actions" in *_NET_WM_ACTION_CLOSE*) ;; *) fail "\"$title\" cannot be closed: $actions" ;; esac
    case "$actions" in *_NET_WM_ACTION_MAXIMIZE*) fail "\"$title\" can be maximised: $actions" ;; esac
    case "$actions" in *_NET_WM_ACTION_RESIZE*) fail "\"$title\" can be resized: $actions" ;; esac
    case "$actions" in *_NET_WM_ACTION_MINIMIZE*) ;; *) fail "\"$title\" cannot be minimised: $actions" ;; esac
    # What the program asks of the window manager: the decorations named
    # (flag 2) without the maximise button (0x40), and no maximise function
    # (0x10) among the functions (flag 1).
    local flags functions decorations
    IFS=', ' read -r flags functions decorations _ <<<"$(property "$id" _MOTIF_WM_HINTS)"
    ((flags & 2)) || fail "\"$title\" leaves its decorations to the window manager"
    ((decorations & 0x40)) && fail "\"$title\" asks for a maximise button"
    ((flags & 1)) && ((functions & 0x10)) && fail "\"$title\" asks for maximising"
    echo "ok: \"$title\": $actions"
}

# Clicks at client point ($2, $3) of window $1 with button $4.
click() {
    xdotool mousemove --window "$1" "$2" "$3" sleep 0.2 click "${4:-1}"
}

start_openbox

shots="$build/screenshots"
mkdir -p "$shots"

program &
pids+=($!)
main=$(window_named "Kelvara [1.02f]") || fail "no main window titled \"Kelvara [1.02f]\""
check_window "$main" "Kelvara [1.02f]"
property "$main" WM_CLASS
sleep 0.5
import -window "$main" -frame "$shots/x11-main.png"

# Openbox draws its maximise button on every framed window whatever the
# program asks for; with maximising not allowed the button must do nothing,
# and neither must a double click into the title bar.
absolute() {
    xwininfo -id "$1" | sed -n "s/^ *Absolute upper-left $2: *//p"
}
check_not_maximised() {
    local state size
    state=$(property "$main" _NET_WM_STATE)
    case "$state" in *MAXIMIZED*) fail "the main window was maximised by $1: $state" ;; esac
    size=$(xwininfo -id "$main" | sed -n 's/^ *-geometry \([0-9]*x[0-9]*\).*/\1/p')
    [ "$size" = 780x554 ] || fail "the main window became $size by $1"
}
left=$(absolute "$main" X)
top=$(absolute "$main" Y)
xdotool mousemove $((left + 780 - 28)) $((top - 10)) sleep 0.2 click 1 sleep 0.5
check_not_maximised "the title bar's buttons"
xdotool mousemove $((left + 300)) $((top - 10)) sleep 0.2 click --repeat 2 --delay 80 1 sleep 0.5
check_not_maximised "a double click into the title bar"
echo "ok: the main window cannot be maximised"

# The help and tools windows, opened with their buttons.
click "$main" $((664 + 11 + 24)) $((473 + 19))
help=$(window_named "Hilfe für Kelvara [1.02f]") || fail "no help window titled \"Hilfe für Kelvara [1.02f]\""
check_window "$help" "Hilfe für Kelvara [1.02f]"
click "$main" $((664 + 11 + 24)) $((514 + 19))
tools=$(window_named "Tools für Kelvara [1.02f]") || fail "no tools window titled \"Tools für Kelvara [1.02f]\""
check_window "$tools" "Tools für Kelvara [1.02f]"

# The weight field's context menu in German, once it is on the screen.
click "$main" $((664 + 38 + 20)) $((24 + 11)) 3
visible_popup() {
    local id
    for id in $(xdotool search --onlyvisible --class '^Kelvara$' 2>/dev/null); do
        popup "$id" && echo "$id" && return 0
    done
    return 1
}
menu=$(wait_for visible_popup) || fail "a right click into the weight field opens no menu"
sleep 0.3
right=$(($(absolute "$menu" X) + $(xwininfo -id "$menu" | sed -n 's/^ *Width: *//p') + 10))
[ "$right" -le 1024 ] || right=1024
import -window root -crop "$((right - left - 380))x260+$((left + 380))+$((top - 30))" "$shots/context-menu.png"
xdotool key Escape
sleep 0.3
echo "ok: the weight field's context menu"

# Minimising a side window makes the window manager activate the main
# window, which is no return of the user's: the tools window stays with what
# was typed into it. A click into the main window closes it.
wm_state() { xprop -id "$1" WM_STATE | sed -n 's/^[[:space:]]*window state: //p'; }
in_state() { [ "$(wm_state "$1")" = "$2" ]; }
active_is() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
place() { xwininfo -id "$1" | grep 'Absolute upper-left'; }
# All the window system sent before has been handled once the menu of a
# right click into a text field of window $1 at ($2, $3) shows.
handled() {
    click "$1" "$2" "$3" 3
    wait_for visible_popup >/dev/null || fail "the program no longer answers"
    xdotool key Escape
    wait_for eval '! visible_popup >/dev/null'
}
name_field=($((6 + 4 + 1 + 12 + 100)) $((6 + 28 + 48 + 10)))
click "$main" $((664 + 11 + 24)) $((514 + 19))
tools=$(window_named "Tools für Kelvara [1.02f]") && wait_for active_is "$tools" || fail "the tools window is not active"
click "$tools" "${name_field[@]}"
xdotool type --delay 30 "Minimierbrot" && xdotool key Return && xdotool type --delay 30 "850"
placed=$(place "$tools")
xdotool windowminimize "$tools"
wait_for in_state "$tools" Iconic && wait_for active_is "$main" || fail "the tools window was not minimised"
handled "$main" $((664 + 38 + 20)) $((24 + 11))
in_state "$tools" Iconic || fail "minimising the tools window closed it: $(wm_state "$tools")"
xdotool windowactivate "$tools"
# The window manager may show the restoring as a movement.
wait_for active_is "$tools" && wait_for eval '[ "$(place "$tools")" = "$placed" ]' || fail "the tools window was not restored"
handled "$tools" "${name_field[@]}"
click "$tools" $((6 + 4 + 1 + 508 + 34)) $((6 + 28 + 47 + 11))
stored() {
    /usr/bin/python3 -c 'import sys, dbfread
sys.exit(not any(r["NRGNAME"] == "Minimierbrot" and r["NRGENERGIE"] == 850
                 for r in dbfread.DBF(sys.argv[1], encoding="cp850")))' "$WORK/diary/ZEB_NRG.dbf"
}
wait_for stored || fail "the restored tools window lost what was typed"
xdotool windowactivate "$help" && wait_for active_is "$help" && xdotool windowminimize "$help"
wait_for in_state "$help" Iconic || fail "the help window was not minimised"
handled "$tools" "${name_field[@]}"
in_state "$tools" Normal || fail "minimising the help window closed the tools window: $(wm_state "$tools")"
click "$main" 720 465
wait_for eval '! in_state "$tools" Normal' || fail "a click into the main window leaves the tools window open"
echo "ok: minimised side windows stay; a click into the main window closes the tools window"

# A second copy shows its message with the caption "Kelvara".
program &
pids+=($!)
box=$(window_named "Kelvara") || fail "no message box titled \"Kelvara\""
name=$(property "$box" _NET_WM_NAME)
[ "$name" = '"Kelvara"' ] || fail "message box title is $name"
echo "ok: message box \"Kelvara\""
echo "all windows as expected"
