#!/usr/bin/env bash
# The program in a Wayland session: starts a headless Weston compositor and
# the real program on it through Qt's Wayland plugin, waits until the main
# window is on the compositor (its title set and a picture committed), ends
# the program as a logout does and checks that it ended cleanly and wrote
# its settings. Then, on a virtual X server, a Wayland platform that cannot
# be had (no compositor; a plugin that is not installed) must not abort the
# program: it comes up through X11. Waits for states, never for a time.
#
#   wayland_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/x11lib.sh"
if [ -z "${DISPLAY_FOR_TEST:-}" ]; then
    x11_prepare
    export DISPLAY_FOR_TEST=1
    export LANG=de_DE.UTF-8 LANGUAGE=de LC_ALL=
    status=0
    x11_run 170 1024x768 || status=$?
    exit $status
fi
export LC_ALL=C.UTF-8

# The compositor, with a runtime folder of its own.
export XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston --backend=headless-backend.so --socket=kelvara-test --idle-time=0 >"$WORK/weston.log" 2>&1 &
pids+=($!)
wait_for test -S "$XDG_RUNTIME_DIR/kelvara-test" || fail "weston did not start: $(cat "$WORK/weston.log")"

# Starts the program on the diary with the environment given; its standard
# error goes to $WORK/$1.log, its pid to $program.
start() {
    local log=$1
    shift
    (cd "$WORK/diary" && exec env -u LC_ALL "$@" "$build/ZEB2006.exe") 2>"$WORK/$log.log" &
    program=$!
    pids+=("$program")
}
# Ends the program as a logout does and checks that it ended cleanly.
end() {
    kill -TERM "$program"
    local status=0
    wait "$program" || status=$?
    [ "$status" -eq 0 ] || fail "$1: the program ended with $status: $(tail -5 "$WORK/$2.log")"
}
logged() {
    grep -q "$2" "$WORK/$1.log"
}

# The settings are written at the end: the file's time tells.
touch -d '2001-01-02' "$WORK/diary/ZEB_REG.dbf"
start native QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=kelvara-test WAYLAND_DEBUG=client \
    KELVARA_GUARD_NAME="kelvara-wayland-test-$$"
wait_for logged native 'xdg_toplevel@[0-9]*\.set_title("Kelvara \[1\.02f\]")' ||
    fail "no main window on the compositor: $(tail -5 "$WORK/native.log")"
wait_for logged native 'wl_surface@[0-9]*\.attach(wl_buffer@' || fail "the main window draws nothing"
end "natively on Wayland" native
logged native 'Could not' && fail "$(grep -m1 'Could not' "$WORK/native.log")"
[ "$(stat -c %Y "$WORK/diary/ZEB_REG.dbf")" -gt "$(date -d 2001-01-03 +%s)" ] ||
    fail "the settings were not written at the end"
echo "ok: natively on Wayland, ended cleanly with the settings written"

for platform in "wayland WAYLAND_DISPLAY=no-compositor-here" "wayland-kelvara-missing-plugin"; do
    read -r name display <<<"$platform"
    start fallback QT_QPA_PLATFORM="$name" ${display:+"$display"} KELVARA_GUARD_NAME="kelvara-wayland-test-$$"
    window_named "Kelvara [1.02f]" >/dev/null || fail "$name: no main window on X11: $(tail -5 "$WORK/fallback.log")"
    end "$name falling back to X11" fallback
    echo "ok: QT_QPA_PLATFORM=$name falls back to X11"
done
