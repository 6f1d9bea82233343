#!/usr/bin/env bash
# The build's layer check (cmake/layers.cmake) on a copy of the sources: it
# passes them as they are, and refuses one include added that points up,
# one across the windows and one from the installer into a window.
#
#   layers_test.sh SOURCE_DIR
set -euo pipefail
source_dir=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$source_dir"
cp -r --parents cmake store diary controls main tools help install res app "$work"

check() { cmake -DKELVARA_SOURCE_DIR="$work" -DKELVARA_STAMP="$work/stamp" -P "$work/cmake/layers.cmake"; }

check >/dev/null || { echo "FAIL: the sources as they are" >&2; exit 1; }
for wrong in 'controls/stringgrid.cpp main/zeb6.h' 'help/zebhelp.cpp tools/zebtool.h' \
    'install/installer.cpp main/diary/rules/bookingpanel.h' 'diary/rules/numbers.cpp controls/platform.h'; do
    set -- $wrong
    cp "$work/$1" "$work/saved"
    sed -i "1a #include \"$2\"" "$work/$1"
    if out=$(check 2>&1); then
        echo "FAIL: $1 including $2 passed" >&2
        exit 1
    fi
    grep -q "$1 (.*) includes \"$2\"" <<<"$out" || { echo "FAIL: not named: $out" >&2; exit 1; }
    cp "$work/saved" "$work/$1"
done
echo "ok"
