#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need,
# when any of them is missing. Sourced by run.sh and test.sh.

kelvara_packages=(
  build-essential cmake ninja-build clang libclang-rt-14-dev
  qt6-base-dev libgl-dev fonts-liberation2 libcanberra-dev libasound2-dev
  libgtest-dev libbenchmark-dev
  python3 python3-dbfread python3-dbf libdbd-xbase-perl gdal-bin python3-gdal
  qt6-translations-l10n qt6-qpa-plugins qt6-wayland weston
  xvfb xauth openbox x11-utils xdotool imagemagick librsvg2-bin sound-theme-freedesktop
  at-spi2-core python3-pyatspi dbus-daemon
  desktop-file-utils appstream dpkg-dev file
  cups cups-daemon cups-core-drivers cups-client libcups2-dev poppler-utils
)

kelvara_install_missing() {
  local missing=()
  for p in "${kelvara_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installiere fehlende Pakete: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

# Configures (once) and builds the project in build/: the targets named, or
# everything when none is named.
kelvara_build() {
  local root
  root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
  if [ ! -f "$root/build/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  fi
  if [ $# -gt 0 ]; then
    cmake --build "$root/build" --target "$@"
  else
    cmake --build "$root/build"
  fi
}
