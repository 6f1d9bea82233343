#!/usr/bin/env bash
# ./test.sh: builds Kelvara with all its tests, fuzzers and benchmarks and
# runs every test headless; exits non-zero on any failure.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
source "$root/scripts/setup.sh"
kelvara_install_missing
kelvara_build
export QT_QPA_PLATFORM=offscreen
cd "$root/build"
ctest --output-on-failure -j "$(nproc)"
