#!/usr/bin/env bash
# The program in a Wayland session: on a headless Weston compositor, through
# Qt's Wayland plugin, it shows its main window (the title set, a picture
# committed) and ends cleanly at a logout. On a virtual X server a Wayland
# platform that cannot be had (no compositor, no plugin) brings it up
# through X11 instead of aborting it. Waits for states, never for a time.
#
#   wayland_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/x11lib.sh"
if [ -z "${DISPLAY_FOR_TEST:-}" ]; then
    x11_prepare
    export DISPLAY_FOR_TEST=1 KELVARA_GUARD_NAME="kelvara-wayland-test-$$"
    export LANG=de_DE.UTF-8 LANGUAGE=de LC_ALL=
    status=0
    x11_run 170 1024x768 || status=$?
    exit $status
fi
export LC_ALL=C.UTF-8 XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston --backend=headless-backend.so --socket=kelvara-test --idle-time=0 >"$WORK/weston.log" 2>&1 &
pids+=($!)
wait_for test -S "$XDG_RUNTIME_DIR/kelvara-test" || fail "weston did not start: $(cat "$WORK/weston.log")"
logged() { grep -q "$1" "$WORK/program.log"; }

start_program QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=kelvara-test WAYLAND_DEBUG=client 2>"$WORK/program.log"
wait_for logged 'xdg_toplevel@[0-9]*\.set_title("Kelvara \[1\.02f\]")' ||
    fail "no main window on the compositor: $(tail -5 "$WORK/program.log")"
wait_for logged 'wl_surface@[0-9]*\.attach(wl_buffer@' || fail "the main window draws nothing"
end_program TERM
! logged 'Could not' || fail "$(grep -m1 'Could not' "$WORK/program.log")"
echo "ok: natively on Wayland, ended cleanly"

for platform in "wayland WAYLAND_DISPLAY=no-compositor-here" wayland-kelvara-missing-plugin; do
    read -r name display <<<"$platform"
    start_program QT_QPA_PLATFORM="$name" ${display:+"$display"}
    window_named "Kelvara [1.02f]" >/dev/null || fail "$name: no main window on X11"
    end_program TERM
    echo "ok: QT_QPA_PLATFORM=$name falls back to X11"
done
