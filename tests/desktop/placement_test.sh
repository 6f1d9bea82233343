#!/usr/bin/env bash
# The windows on laptop screens at a desktop scale: starts the real program
# on a virtual X server of 1366 x 768 with QT_SCALE_FACTOR=1.5 and of
# 1920 x 1080 with 2, and once with the scale of 150 % set for the whole
# desktop (Xft.dpi 144), under a window manager, and checks with xwininfo and
# xprop that the main, help and tools windows and the message of a failed
# start open with their whole frame, title bar included, centred in the work
# area, and that the program drew itself as large as fits. Takes a screenshot of each screen.
#
#   placement_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/x11lib.sh"
if [ -z "${SCREEN_FOR_TEST:-}" ]; then
    x11_prepare
    export LANG=de_DE.UTF-8 LANGUAGE=de LC_ALL=
    for setting in 1366x768:1.5:env 1920x1080:2:env 1366x768:1.5:xft; do
        IFS=: read -r SCREEN_FOR_TEST SCALE_FOR_TEST SCALED_BY <<<"$setting"
        export SCREEN_FOR_TEST SCALE_FOR_TEST SCALED_BY
        export KELVARA_GUARD_NAME="kelvara-placement-test-$$-$SCREEN_FOR_TEST-$SCALED_BY"
        x11_run 90 "$SCREEN_FOR_TEST"
    done
    echo "all windows inside their screens"
    exit 0
fi
FAIL_CONTEXT="$SCREEN_FOR_TEST at $SCALE_FOR_TEST by $SCALED_BY"

export LC_ALL=C.UTF-8
# The program on the diary in $1 (default: the fresh one).
program() {
    cd "${1:-$WORK/diary}"
    if [ "$SCALED_BY" = env ]; then
        exec env -u LC_ALL QT_SCALE_FACTOR="$SCALE_FOR_TEST" "$build/ZEB2006.exe"
    fi
    exec env -u LC_ALL "$build/ZEB2006.exe"
}

# Waits for a visible window of the program titled $1 that the window
# manager has framed; prints its id.
framed_window_named() {
    window_named "$1" _NET_FRAME_EXTENTS
}

# "left top width height" of the client area of window $1, in screen pixels.
client() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        /^ *Width:/ {w=$NF} /^ *Height:/ {h=$NF} END {print x, y, w, h}'
}

# Checks that the frame of window $1, titled $2, lies inside the work area,
# centred in it to a pixel or two of rounding, waiting up to a minute for
# the window to stand where the program puts it once it is framed. Prints
# the frame as "left top width height".
check_inside() {
    local id=$1 title=$2 x y w h l r t b left top right bottom off_x off_y
    for _ in $(seq 600); do
        read -r x y w h <<<"$(client "$id")"
        IFS=', ' read -r l r t b <<<"$(property "$id" _NET_FRAME_EXTENTS)"
        left=$((x - l)) top=$((y - t)) right=$((x + w + r)) bottom=$((y + h + b))
        off_x=$((2 * (left - area_x) - (area_w - right + left)))
        off_y=$((2 * (top - area_y) - (area_h - bottom + top)))
        if [ "$left" -ge "$area_x" ] && [ "$top" -ge "$area_y" ] &&
            [ "$right" -le $((area_x + area_w)) ] && [ "$bottom" -le $((area_y + area_h)) ] &&
            [ "${off_x#-}" -le 4 ] && [ "${off_y#-}" -le 4 ]; then
            echo "$left $top $((right - left)) $((bottom - top))"
            return 0
        fi
        sleep 0.1
    done
    fail "the frame of \"$title\" ($left,$top)-($right,$bottom) is not centred inside the work area ${area_w}x${area_h}+${area_x}+${area_y}"
}

start_openbox "$WORK/openbox-$SCREEN_FOR_TEST.log"
# The work area (the screen without panels) is set by the window manager.
area=""
for _ in $(seq 300); do
    area=$(xprop -root _NET_WORKAREA 2>/dev/null | sed -n 's/^[^=]*= //p')
    [ -n "$area" ] && break
    sleep 0.1
done
[ -n "$area" ] || fail "the window manager sets no work area: $(cat "$WORK/openbox-$SCREEN_FOR_TEST.log"; xprop -root | head -30)"
IFS=', ' read -r area_x area_y area_w area_h _ <<<"$area"
if [ "$SCALED_BY" = xft ]; then
    # What the desktop's settings put on the screen for every program.
    xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER \
        "Xft.dpi:	$(awk -v s="$SCALE_FOR_TEST" 'BEGIN {print 96 * s}')"
fi

program &
pids+=($!)
main=$(framed_window_named "Kelvara [1.02f]") || fail "no main window"
read -r _ _ w h <<<"$(client "$main")"
frame=$(check_inside "$main" "Kelvara [1.02f]")
read -r _ _ _ framed_h <<<"$frame"
# The scale the program chose: the client area is 780 x 554 logical pixels.
scale=$(awk -v w="$w" 'BEGIN {printf "%.2f", w / 780}')
awk -v s="$scale" -v want="$SCALE_FOR_TEST" 'BEGIN {exit !(s >= 1 && s <= want)}' ||
    fail "the main window is drawn at $scale"
# As large as fits: another hundredth and a pixel more would not.
awk -v s="$scale" -v h="$h" -v framed="$framed_h" -v area="$area_h" -v want="$SCALE_FOR_TEST" \
    'BEGIN {exit !(s == want || framed - h + 554 * (s + 0.1) > area)}' ||
    fail "the main window ($w x $h at $scale) could be larger in $area_h rows"
echo "ok: main window at scale $scale: client ${w}x${h}, frame $frame on $SCREEN_FOR_TEST at $SCALE_FOR_TEST by $SCALED_BY"

# The help and tools windows, opened with their buttons (client pixels).
click() {
    xdotool mousemove --window "$main" "$(awk -v x="$1" -v s="$scale" 'BEGIN {print int(x * s)}')" \
        "$(awk -v y="$2" -v s="$scale" 'BEGIN {print int(y * s)}')" sleep 0.2 click 1
}
click $((664 + 11 + 24)) $((473 + 19))
help=$(framed_window_named "Hilfe für Kelvara [1.02f]") || fail "no help window"
frame=$(check_inside "$help" "Hilfe für Kelvara [1.02f]")
echo "ok: help window: frame $frame"
click $((664 + 11 + 24)) $((514 + 19))
tools=$(framed_window_named "Tools für Kelvara [1.02f]") || fail "no tools window"
frame=$(check_inside "$tools" "Tools für Kelvara [1.02f]")
echo "ok: tools window: frame $frame"

mkdir -p "$build/screenshots"
import -window root "$build/screenshots/placement-$SCREEN_FOR_TEST-$SCALE_FOR_TEST-$SCALED_BY.png"

# The start-up message of a diary without its settings file, shown before
# the main window was ever placed.
cp -r "$WORK/diary" "$WORK/broken-$SCREEN_FOR_TEST-$SCALED_BY"
rm "$WORK/broken-$SCREEN_FOR_TEST-$SCALED_BY/ZEB_REG.dbf"
KELVARA_GUARD_NAME="$KELVARA_GUARD_NAME-broken" program "$WORK/broken-$SCREEN_FOR_TEST-$SCALED_BY" &
pids+=($!)
box=$(framed_window_named "Kelvara") || fail "no start-up message"
frame=$(check_inside "$box" "Kelvara")
echo "ok: start-up message: frame $frame"
