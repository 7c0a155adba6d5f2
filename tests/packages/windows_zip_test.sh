#!/usr/bin/env bash
# Unpacks the Windows zip of a Windows build folder and checks what a user
# would: both programs, the help, the README and every template are in it, and
# the faultward-cli.exe in it runs under wine. Usage: windows_zip_test.sh BUILD-WIN
set -euo pipefail
build="$(cd "${1:?usage: windows_zip_test.sh BUILD-WIN}" && pwd)"
root="$(cd "$(dirname "$0")/../.." && pwd)"
fail() {
    echo "windows zip: $*" >&2
    exit 1
}

zip="$(ls "$build"/package/faultward-*-win64.zip)"
unpacked="$(mktemp -d)"
trap 'rm -rf "$unpacked"' EXIT
unzip -q "$zip" -d "$unpacked"
folder="$(echo "$unpacked"/*)"
for file in faultward.exe faultward-cli.exe faultwardhelp.html README.txt; do
    [ -f "$folder/$file" ] || fail "$zip lacks $file"
done
# Every template of the source, and only those.
[ "$(cd "$folder/templates" && ls)" = "$(cd "$root/resources/templates" && ls)" ] ||
    fail "the templates in $zip are not those of resources/templates: $(ls "$folder/templates")"
"$build/wine-run" "$folder/faultward-cli.exe" --version >/dev/null ||
    fail "the faultward-cli.exe in $zip does not run"
echo "windows zip: $zip, $(stat -c %s "$zip") bytes"
