#!/usr/bin/env bash
# The Debian package, built into a temporary folder (nothing is installed on
# the machine): its file list, its dependencies from the libraries linked,
# and the desktop entry and AppStream metadata it carries, validated.
#
#   package_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
# Any other command that fails says so before the test ends.
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(ls "$work"/out/*.deb)
[ "$(basename "$deb")" = kelvara_1.02f_amd64.deb ] || [ "$(basename "$deb")" = "kelvara_1.02f_$(dpkg --print-architecture).deb" ] ||
    fail "package named $(basename "$deb")"

dpkg-deb --info "$deb" >/dev/null || fail "dpkg-deb cannot read the package"
dpkg-deb --contents "$deb" | awk '{print $1, $NF}' >"$work/list"
for entry in \
    "-rwxr-xr-x ./usr/bin/kelvara" \
    "-rwxr-xr-x ./usr/libexec/kelvara/ZEB2006.exe" \
    "-rwxr-xr-x ./usr/libexec/kelvara/ZEBInstall" \
    "-rw-r--r-- ./usr/share/applications/org.kelvara.Kelvara.desktop" \
    "-rw-r--r-- ./usr/share/metainfo/org.kelvara.Kelvara.metainfo.xml" \
    "-rw-r--r-- ./usr/share/icons/hicolor/scalable/apps/kelvara.svg" \
    "-rw-r--r-- ./usr/share/doc/kelvara/README.md"; do
    grep -qxF -- "$entry" "$work/list" || fail "package lacks $entry"
done
for size in 16 22 24 32 48 64 128 256; do
    grep -qxF -- "-rw-r--r-- ./usr/share/icons/hicolor/${size}x${size}/apps/kelvara.png" "$work/list" ||
        fail "package lacks the ${size} pixel icon"
done
# Nothing from the build tree (tests, benchmarks, libraries) comes along.
if grep -E 'test|bench|\.a$|\.so|/include/' "$work/list"; then fail "package carries build files"; fi

depends=$(dpkg-deb --field "$deb" Depends)
echo "Depends: $depends"
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libcanberra0 \
    qt6-qpa-plugins qt6-wayland qt6-translations-l10n fonts-liberation2; do
    sed 's/, */\n/g; s/ *([^)]*)//g' <<<"$depends" | grep -qxF -- "$package" || fail "Depends lacks $package"
done
[ "$(dpkg-deb --field "$deb" Package)" = kelvara ] || fail "package name"
[ "$(dpkg-deb --field "$deb" Version)" = 1.02f ] || fail "package version"

dpkg-deb --extract "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/org.kelvara.Kelvara.desktop"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/org.kelvara.Kelvara.metainfo.xml"
grep -qx 'Exec=kelvara' "$work/root/usr/share/applications/org.kelvara.Kelvara.desktop" || fail "Exec is not the launcher"
grep -qx 'Icon=kelvara' "$work/root/usr/share/applications/org.kelvara.Kelvara.desktop" || fail "Icon is not ours"
file "$work/root/usr/libexec/kelvara/ZEB2006.exe" | grep -q ', stripped' || fail "the program is not stripped"
sh -n "$work/root/usr/bin/kelvara" || fail "the launcher is not a shell script"

# Installed and removed with dpkg in a private root and database: every file
# is registered, and removing leaves nothing behind.
admin="$work/admin"
mkdir -p "$admin/info" "$admin/updates" "$admin/triggers" "$work/instdir"
touch "$admin/status" "$admin/available"
private_dpkg() { dpkg --admindir="$admin" --instdir="$work/instdir" --force-depends --force-not-root "$@"; }
private_dpkg --install "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg cannot install the package"; }
[ -x "$work/instdir/usr/bin/kelvara" ] || fail "the installed launcher is missing"
dpkg --admindir="$admin" --listfiles kelvara | grep -qx /usr/libexec/kelvara/ZEB2006.exe || fail "the program is not registered"
private_dpkg --remove kelvara >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg cannot remove the package"; }
left=$(find "$work/instdir" -mindepth 1)
[ -z "$left" ] || fail "removing left $left"

# On this machine, set up by scripts/setup.sh, the dependencies are met: apt
# would install the package alone. It is asked twice, against copies of the
# machine's package database, so that a copy of the package installed
# system-wide changes nothing: once without the package (apt installs it and
# nothing else) and once with this version installed (apt has nothing to do).
# Prints the packages apt would install given the dpkg status file $1.
apt_would_install() {
    apt-get -o Dir::State::status="$1" install --simulate "$deb" >"$work/apt.log" 2>&1 ||
        { cat "$work/apt.log" >&2; fail "apt cannot resolve the dependencies"; }
    { grep '^Inst ' "$work/apt.log" || true; } | cut -d' ' -f2 | tr '\n' ' '
}
without_kelvara() { awk 'BEGIN { RS = ""; ORS = "\n\n" } !/(^|\n)Package: kelvara\n/' /var/lib/dpkg/status; }
without_kelvara >"$work/status-without"
{
    without_kelvara
    dpkg-deb --field "$deb" | sed '/^$/d'
    echo "Status: install ok installed"
} >"$work/status-with"
installs=$(apt_would_install "$work/status-without")
[ "$installs" = "kelvara " ] || fail "apt would install: $installs"
installs=$(apt_would_install "$work/status-with")
[ -z "$installs" ] || fail "with the package installed, apt would install: $installs"
grep -q 'kelvara is already the newest version' "$work/apt.log" || { cat "$work/apt.log"; fail "apt does not see the installed package"; }

echo "ok: $(basename "$deb"), $(wc -l <"$work/list") entries, installs and removes cleanly"
