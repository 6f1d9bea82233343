#!/usr/bin/env bash
# The launcher `kelvara` as installed by `cmake --install`: it lays out a
# fresh diary in ~/Kelvara (or the folder given) the first time, leaves an
# existing diary alone, and starts the program with the folder as its
# working folder.
#
#   launcher_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cmake --install "$build" --prefix "$work/prefix" >/dev/null
launcher="$work/prefix/bin/kelvara"
[ -x "$launcher" ] || fail "no launcher in bin/"

export HOME="$work/home"
mkdir -p "$HOME"
export QT_QPA_PLATFORM=offscreen
export KELVARA_GUARD_NAME="kelvara-launcher-test-$$"

diary_files="ZEB_NRG.dbf ZEB_AKT.dbf ZEB_NTB.DBF ZEB_FTB.dbf ZEB_ZEB.dbf ZEB_XTB.dbf ZEB_REG.dbf NRGNAME.NDX AKTNAME.NDX"

# Starts the launcher with the given arguments and waits until the program
# runs in $expected; leaves its pid in $started.
start_in() {
    local expected=$1
    shift
    "$launcher" "$@" &
    started=$!
    pids+=("$started")
    for _ in $(seq 100); do
        exe=$(readlink "/proc/$started/exe" 2>/dev/null || true)
        if [ "${exe##*/}" = ZEB2006.exe ]; then
            cwd=$(readlink "/proc/$started/cwd")
            [ "$cwd" = "$(readlink -f "$expected")" ] || fail "the program runs in $cwd, not in $expected"
            return 0
        fi
        kill -0 "$started" 2>/dev/null || fail "the launcher ended before the program ran"
        sleep 0.1
    done
    fail "the program did not start"
}

stop() {
    kill -9 "$started"
    wait "$started" 2>/dev/null || true
}

# First start, in 2031 by the clock: a fresh diary of 2031 to 2041 in ~/Kelvara.
mkdir -p "$work/clock" && printf '#!/bin/sh\necho 2031\n' >"$work/clock/date" && chmod +x "$work/clock/date"
PATH="$work/clock:$PATH" start_in "$HOME/Kelvara"
for f in $diary_files; do
    [ -s "$HOME/Kelvara/$f" ] || fail "~/Kelvara/$f was not laid out"
done
stop
first=$(/usr/bin/python3 -c 'import dbfread; print(next(iter(dbfread.DBF("'"$HOME/Kelvara/ZEB_ZEB.dbf"'")))["ZEBDATUM"])')
[ "$first" = 2031-01-01 ] || fail "the new diary starts on $first"
echo "ok: fresh diary in ~/Kelvara"

# Second start: the diary is kept as it is.
stamp() { stat -c '%i %Y %s' "$HOME/Kelvara/ZEB_NRG.dbf" "$HOME/Kelvara/ZEB_ZEB.dbf"; }
before=$(stamp)
sleep 1.1
start_in "$HOME/Kelvara"
stop
[ "$(stamp)" = "$before" ] || fail "an existing diary was laid out again"
echo "ok: existing diary kept"

# A folder of one's own, with a blank in its name, created on the way.
own="$work/Meine Daten/Tagebuch 2008"
start_in "$own" "$own"
for f in $diary_files; do
    [ -s "$own/$f" ] || fail "$own/$f was not laid out"
done
stop
echo "ok: diary in a folder given"

# A folder that holds part of a diary is not overwritten: the program reports it.
part="$work/teil"
mkdir -p "$part"
printf 'x' >"$part/zeb_zeb.dbf"
start_in "$part" "$part"
stop
[ "$(cat "$part/zeb_zeb.dbf")" = x ] || fail "a partial diary was overwritten"
[ ! -e "$part/ZEB_REG.dbf" ] || fail "files were added to a partial diary"
echo "ok: partial diary left alone"

# Refusals: two folders, a folder that cannot be created.
set +e
"$launcher" a b 2>"$work/err"
rc=$?
set -e
[ $rc -eq 2 ] && grep -q "Aufruf: kelvara" "$work/err" || fail "two arguments: exit $rc, $(cat "$work/err")"
printf 'x' >"$work/datei"
set +e
"$launcher" "$work/datei/unter" 2>"$work/err"
rc=$?
set -e
[ $rc -eq 1 ] && grep -q "kann nicht angelegt werden" "$work/err" || fail "no folder: exit $rc, $(cat "$work/err")"
echo "ok: refusals"

# Started as the menu starts it: the desktop entry's command, found on the path.
command=$(sed -n 's/^Exec=//p' "$work/prefix/share/applications/org.kelvara.Kelvara.desktop")
[ "$command" = kelvara ] || fail "the menu runs \"$command\""
rm -rf "$HOME/Kelvara"
PATH="$work/prefix/bin:$PATH"
launcher=$command
start_in "$HOME/Kelvara"
stop
[ -s "$HOME/Kelvara/ZEB_REG.dbf" ] || fail "the menu's start laid out no diary"
echo "ok: as the menu starts it"

# Started through a link, as a user's own bin folder may do.
mkdir -p "$work/links"
ln -s "$work/prefix/bin/kelvara" "$work/links/kelvara"
launcher="$work/links/kelvara"
PATH="/usr/bin:/bin"
start_in "$HOME/Kelvara"
stop
echo "ok: through a link"
