#!/usr/bin/env bash
# The program as a screen reader reads it: starts the real program on a
# virtual X server with a window manager and a private D-Bus session, with
# the AT-SPI bridge switched on, and reads it with pyatspi (atspi_check.py).
#
#   atspi_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/x11lib.sh"
if [ -z "${ATSPI_SESSION:-}" ]; then
    x11_prepare --demo
    chmod 700 "$WORK/home"
    export ATSPI_SESSION=1 XDG_RUNTIME_DIR="$WORK/home"
    export KELVARA_GUARD_NAME="kelvara-atspi-test-$$"
    export LANG=de_DE.UTF-8 LANGUAGE=de LC_ALL=
    status=0
    x11_run 120 1024x768 dbus-run-session -- || status=$?
    exit $status
fi

start_openbox

# The diary opens on the latest day a start allows, 29.12.2012, whatever the
# clock says (the demo diary runs to 28.12.2012).
(cd "$WORK/diary" && exec env -u LC_ALL QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$build/ZEB2006.exe") &
pids+=($!)

LC_ALL=C.UTF-8 /usr/bin/python3 "$here/atspi_check.py"
