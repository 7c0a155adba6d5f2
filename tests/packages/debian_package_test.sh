#!/usr/bin/env bash
# Builds the Debian package from a Linux build folder with its programs built
# and checks it without installing it: its fields and files (every template,
# the manual pages, the help among the shared files), lintian without a
# warning, the hardening of its programs, and its faultward-cli run from the
# unpacked package. Usage: debian_package_test.sh BUILD
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
for file in usr/bin/faultward usr/bin/faultward-cli usr/share/faultward/faultwardhelp.html \
    usr/share/man/man1/faultward.1.gz usr/share/man/man1/faultward-cli.1.gz \
    usr/share/applications/faultward.desktop \
    usr/share/icons/hicolor/32x32/apps/faultward.png \
    usr/share/icons/hicolor/16x16/apps/faultward.png \
    usr/share/doc/faultward/copyright usr/share/doc/faultward/changelog.gz; do
    grep -qx "\./$file" <<<"$contents" || fail "lacks /$file"
done
# Every template of the source, and only those.
templates="$(sed -n 's|^\./usr/share/faultward/templates/\(..*\)|\1|p' <<<"$contents" | LC_ALL=C sort)"
[ "$templates" = "$(cd "$root/resources/templates" && ls | LC_ALL=C sort)" ] ||
    fail "the templates are not those of resources/templates: $templates"
# Nothing from the build folder or the tests.
if grep -v -e '^\./usr/$' -e '^\./usr/bin/' -e '^\./usr/share/' -e '^\./$' <<<"$contents"; then
    fail "holds files outside /usr/bin and /usr/share"
fi

# lintian's warnings fail the run as its errors do; so does any hardening it
# finds missing, though it counts some of that (bind now, fortified calls) as
# mere information.
lintian --fail-on error,warning --tag-display-limit 0 "$deb" || fail "lintian reports warnings"
lintian --tags hardening-no-relro,hardening-no-bindnow,hardening-no-fortify-functions,hardening-no-pie \
    --display-info --fail-on error,warning,info --tag-display-limit 0 "$deb" ||
    fail "the programs lack hardening"

unpacked="$(mktemp -d)"
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
grep -qx 'Exec="/usr/bin/faultward"' "$unpacked/usr/share/applications/faultward.desktop" ||
    fail "the desktop entry does not start /usr/bin/faultward"
# The manual page is the program's own --help: every option it names.
page="$(man -l "$unpacked/usr/share/man/man1/faultward-cli.1.gz" 2>/dev/null)"
for option in $("$unpacked/usr/bin/faultward-cli" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
    grep -q -- "$option" <<<"$page" || fail "the manual page of faultward-cli lacks $option"
done
[ "$("$unpacked/usr/bin/faultward-cli" --version)" = "faultward-cli $version" ] ||
    fail "the unpacked faultward-cli --version says '$("$unpacked/usr/bin/faultward-cli" --version)'"
cp -r "$root/examples" "$unpacked/examples"
project="$unpacked/examples/sample/Sample.vbp"
"$unpacked/usr/bin/faultward-cli" insert --mode 1 "$project" >/dev/null 2>&1 ||
    fail "the unpacked faultward-cli could not insert handlers into $project"
grep -rqF "'~Faultward~" "$unpacked/examples" || fail "the unpacked faultward-cli inserted nothing"
echo "debian package: $deb, $(stat -c %s "$deb") bytes"
