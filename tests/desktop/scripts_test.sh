#!/usr/bin/env bash
# The newcomer's scripts: ./run.sh builds only the program and the installer
# before the window appears, ./test.sh builds everything and runs ctest.
# They run in a copy of the scripts with stand-ins for cmake, ctest,
# dpkg-query and the two programs, which write down how they were called.
#
#   scripts_test.sh SOURCE_DIR
set -euo pipefail
source_dir=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

root="$work/root"
mkdir -p "$root/scripts" "$root/build" "$work/bin"
cp "$source_dir/run.sh" "$source_dir/test.sh" "$root/"
cp "$source_dir/scripts/setup.sh" "$root/scripts/"
touch "$root/build/build.ninja"
calls="$work/calls"
: >"$calls"
stand_in() { # path, what it writes down
    printf '#!/usr/bin/env bash\nline="%s $*"\necho "${line%% }" >>"%s"\n' "$2" "$calls" >"$1"
    chmod +x "$1"
}
stand_in "$work/bin/cmake" cmake
stand_in "$work/bin/ctest" ctest
stand_in "$root/build/ZEBInstall" ZEBInstall
stand_in "$root/build/ZEB2006.exe" 'ZEB2006.exe in $PWD'
printf '#!/bin/sh\necho 2031\n' >"$work/bin/date" && chmod +x "$work/bin/date" # the clock says 2031
# Every package counts as installed.
printf '#!/bin/sh\nprintf "install ok installed"\n' >"$work/bin/dpkg-query"
chmod +x "$work/bin/dpkg-query"
export PATH="$work/bin:$PATH"

HOME="$work" "$root/run.sh" "$work/diary"
expected="cmake --build $root/build --target ZEB2006.exe ZEBInstall
ZEBInstall --first-year 2031 $work/diary
ZEB2006.exe in $work/diary"
[ "$(cat "$calls")" = "$expected" ] || fail "run.sh called:
$(cat "$calls")
expected:
$expected"
echo "ok: run.sh builds the program and the installer only"

: >"$calls"
"$root/test.sh"
expected="cmake --build $root/build
ctest --output-on-failure -j $(nproc)"
[ "$(cat "$calls")" = "$expected" ] || fail "test.sh called:
$(cat "$calls")
expected:
$expected"
echo "ok: test.sh builds everything and runs ctest"
