#!/usr/bin/env bash
# Builds the Debian package from a Linux build folder with its programs built
# and checks it without installing it: its fields and files, lintian, and its
# faultward-cli run from the unpacked package. Usage: debian_package_test.sh BUILD
set -euo pipefail
build="$(cd "${1:?usage: debian_package_test.sh BUILD}" && pwd)"
root="$(cd "$(dirname "$0")/../.." && pwd)"
fail() {
    echo "debian package: $*" >&2
    exit 1
}

rm -rf "$build/package"
cpack -G DEB --config "$build/CPackConfig.cmake" >/dev/null
version="$(sed -n 's/^project(Faultward VERSION \([0-9]*\)\.\([0-9]*\)\.[0-9]*\.\([0-9]*\).*/\1.\2.\3/p' \
    "$root/CMakeLists.txt")"
deb="$build/package/faultward_${version}_amd64.deb"
[ -f "$deb" ] || fail "cpack made no $deb"

info="$(dpkg-deb --info "$deb")"
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = faultward ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)'"
[ "$(field Architecture)" = amd64 ] || fail "Architecture is '$(field Architecture)'"
[ "$(field Section)" = devel ] || fail "Section is '$(field Section)'"
# The desktop program's Qt and the C library, from the programs themselves.
for library in libqt6widgets6 libqt6multimedia6 libc6; do
    grep -q "\b$library\b" <<<"$(field Depends)" || fail "Depends lacks $library: $(field Depends)"
done
grep -q "^ Description: adds and removes error handlers" <<<"$info" || fail "no description"

contents="$(dpkg-deb --contents "$deb" | awk '{print $NF}')"
for file in usr/bin/faultward usr/bin/faultward-cli usr/bin/faultwardhelp.html \
    usr/share/faultward/templates/mode0-message-box.txt \
    usr/share/faultward/templates/mode1-resume-next.txt \
    usr/share/faultward/templates/mode2-central-handler.txt \
    usr/share/applications/faultward.desktop \
    usr/share/icons/hicolor/32x32/apps/faultward.png \
    usr/share/icons/hicolor/16x16/apps/faultward.png \
    usr/share/doc/faultward/copyright usr/share/doc/faultward/changelog.gz; do
    grep -qx "\./$file" <<<"$contents" || fail "lacks /$file"
done
# Nothing from the build folder or the tests.
if grep -v -e '^\./usr/$' -e '^\./usr/bin/' -e '^\./usr/share/' -e '^\./$' <<<"$contents"; then
    fail "holds files outside /usr/bin and /usr/share"
fi

# lintian's errors fail the run; its warnings are shown.
lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports errors"

unpacked="$(mktemp -d)"
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
grep -qx 'Exec="/usr/bin/faultward"' "$unpacked/usr/share/applications/faultward.desktop" ||
    fail "the desktop entry does not start /usr/bin/faultward"
[ "$("$unpacked/usr/bin/faultward-cli" --version)" = "faultward-cli $version" ] ||
    fail "the unpacked faultward-cli --version says '$("$unpacked/usr/bin/faultward-cli" --version)'"
cp -r "$root/examples" "$unpacked/examples"
project="$unpacked/examples/sample/Sample.vbp"
"$unpacked/usr/bin/faultward-cli" insert --mode 1 "$project" >/dev/null 2>&1 ||
    fail "the unpacked faultward-cli could not insert handlers into $project"
grep -rqF "'~Faultward~" "$unpacked/examples" || fail "the unpacked faultward-cli inserted nothing"
echo "debian package: $deb, $(stat -c %s "$deb") bytes"
