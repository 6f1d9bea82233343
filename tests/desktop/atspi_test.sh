#!/usr/bin/env bash
# The program as a screen reader reads it: starts the real program on a
# virtual X server with a window manager and a private D-Bus session, with
# the AT-SPI bridge switched on, and reads it with pyatspi (atspi_check.py).
#
#   atspi_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${ATSPI_SESSION:-}" ]; then
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    mkdir -p "$work/home" "$work/diary"
    chmod 700 "$work/home"
    "$build/ZEBInstall" --demo "$work/diary" >/dev/null
    export HOME="$work/home" WORK="$work" ATSPI_SESSION=1
    export XDG_RUNTIME_DIR="$work/home"
    export KELVARA_GUARD_NAME="kelvara-atspi-test-$$"
    export LANG=de_DE.UTF-8 LANGUAGE=de LC_ALL=
    unset QT_QPA_PLATFORM
    timeout -k 5 120 xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
        dbus-run-session -- "$0" "$build"
    exit
fi

pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
}
trap cleanup EXIT

openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done

# The diary opens on the latest day a start allows, 29.12.2012, whatever the
# clock says (the demo diary runs to 28.12.2012).
(cd "$WORK/diary" && exec env -u LC_ALL QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$build/ZEB2006.exe") &
pids+=($!)

LC_ALL=C.UTF-8 /usr/bin/python3 "$here/atspi_check.py"
