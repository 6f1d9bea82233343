#!/usr/bin/env bash
# ./run.sh [DIR]: builds Kelvara (the program and the installer only; the
# tests are built by ./test.sh), lays out a new diary from 1 January of the
# current year in DIR (default ~/Kelvara) when DIR holds none, and starts the
# program there.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
source "$root/scripts/setup.sh"
kelvara_install_missing
kelvara_build ZEB2006.exe ZEBInstall

dir="${1:-$HOME/Kelvara}"
mkdir -p "$dir"
shopt -s nocaseglob nullglob
existing=("$dir"/zeb_*.dbf "$dir"/*name.ndx)
shopt -u nocaseglob nullglob
if [ ${#existing[@]} -eq 0 ]; then
  "$root/build/ZEBInstall" --first-year "$(date +%Y)" "$dir"
fi

cd "$dir"
exec "$root/build/ZEB2006.exe"
