#!/usr/bin/env bash
# scripts/screenshots.sh: builds the test programs and writes the pictures to
# look at into build/screenshots/: every folder of the main window on the
# demo diary, the scale, the chart's series, the tools and help windows,
# printed pages from real jobs, and the drawn pictures at 1x, 1.25x, 1.5x and
# 2x under light and dark palettes.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/setup.sh"
kelvara_install_missing
kelvara_build window_tests print_tests picture_tests
export QT_QPA_PLATFORM=offscreen
cd "$root/build"
tests/window_tests --gtest_filter='*Screenshot*'
tests/print_tests --gtest_filter='*Screenshot*'
tests/picture_tests
echo "Bilder in $root/build/screenshots/"
