#!/usr/bin/env bash
# A fuzzing campaign on the table, index and settings/notes readers.
#
#   scripts/fuzz.sh [MINUTES]
#
# Builds the fuzz targets with AddressSanitizer and UndefinedBehaviorSanitizer
# (clang's libFuzzer), runs each for MINUTES (default 10) with the damaged
# files of tests/store/corpus as seeds and the dictionary of the format's
# magic values, and keeps the inputs it finds in a corpus folder outside the
# source tree, so that the next campaign goes on from there. At the end it
# prints executions, coverage and findings per target.
#
# Environment: KELVARA_FUZZ_HOME (default ~/.cache/kelvara-fuzz) holds the
# corpus and the findings (and the build unless KELVARA_FUZZ_BUILD names
# another one); KELVARA_FUZZ_TARGETS picks targets.
# A finding is copied into tests/store/corpus by hand, with a test.
set -euo pipefail

minutes="${1:-10}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
home="${KELVARA_FUZZ_HOME:-${XDG_CACHE_HOME:-$HOME/.cache}/kelvara-fuzz}"
build="${KELVARA_FUZZ_BUILD:-$home/build}"
read -r -a targets <<< "${KELVARA_FUZZ_TARGETS:-table_fuzz index_fuzz settings_fuzz}"

mkdir -p "$home"
if [ ! -f "$build/build.ninja" ]; then
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
fi
cmake --build "$build" --target "${targets[@]}"

# The targets write their scratch tables to the temporary folder: a memory
# file system keeps the disk out of the measurement.
[ -d /dev/shm ] && [ -w /dev/shm ] && export TMPDIR=/dev/shm
export ASAN_OPTIONS="detect_leaks=0:quarantine_size_mb=16:malloc_context_size=5:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"

summary=()
for target in "${targets[@]}"; do
  corpus="$home/corpus/$target"
  findings="$home/findings/$target"
  log="$home/$target.log"
  mkdir -p "$corpus" "$findings"
  # An index of a few pages reaches every path of its reader; longer
  # inputs only cost time.
  extra=()
  [ "$target" = index_fuzz ] && extra=(-max_len=4096)
  echo "== $target: $minutes min, corpus $corpus"
  set +e
  "$build/tests/fuzz/$target" "${extra[@]}" -max_total_time=$((minutes * 60)) -timeout=10 -rss_limit_mb=2048 \
    -dict="$root/tests/fuzz/dbase.dict" -artifact_prefix="$findings/" -print_final_stats=1 \
    "$corpus" "$root/tests/store/corpus" >"$log" 2>&1
  status=$?
  set -e
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | tail -1 | grep -o '[0-9]*$' || echo 0)
  cov=$(grep -oE '(DONE|pulse|NEW|REDUCE|INITED) +cov: [0-9]+ ft: [0-9]+' "$log" | tail -1 | grep -oE 'cov: [0-9]+ ft: [0-9]+' || echo "cov: ?")
  found=$(find "$findings" -type f | wc -l)
  summary+=("$target: $runs executions, $cov, corpus $(find "$corpus" -type f | wc -l) inputs, findings $found, exit $status")
done

echo
echo "Fuzzing summary ($minutes min per target):"
printf '  %s\n' "${summary[@]}"
