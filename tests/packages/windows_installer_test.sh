#!/usr/bin/env bash
# Installs the Windows installer of a Windows build folder under wine, in a new
# prefix of its own, and checks what a user would: the files, the Start menu
# shortcut and the Apps & features entry are there; the installed
# faultward-cli.exe runs; the installed faultward.exe, whose folder the user
# cannot write, keeps its settings in %APPDATA%\Faultward; uninstalling
# removes every installed file and leaves those settings; the optional
# feature puts the program folder on the user's PATH and takes it off again;
# a later version's installer replaces this one.
# Usage: windows_installer_test.sh BUILD-WIN
set -euo pipefail
build="$(cd "${1:?usage: windows_installer_test.sh BUILD-WIN}" && pwd)"
root="$(cd "$(dirname "$0")/../.." && pwd)"
fail() {
    echo "windows installer: $*" >&2
    exit 1
}

version="$(sed -n 's/^project(Faultward VERSION \([0-9]*\)\.\([0-9]*\)\.[0-9]*\.\([0-9]*\).*/\1.\2.\3/p' \
    "$root/CMakeLists.txt")"
msi="$build/package/faultward-$version-x64.msi"
[ -f "$msi" ] || fail "there is no $msi (scripts/build-windows makes it)"

scratch="$(mktemp -d)"
export WINEPREFIX="$scratch/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Root may write into any folder, so as root wine runs as nobody: an
# installed program folder is then as closed to the program as Program Files
# is to a user on Windows.
if [ "$(id -u)" -eq 0 ]; then
    chown nobody "$scratch"
    as_user() { setpriv --reuid=65534 --regid=65534 --clear-groups env HOME="$scratch" USER=nobody "$@"; }
else
    as_user() { env HOME="$scratch" "$@"; }
fi
cleanup() {
    as_user wineserver -k >/dev/null 2>&1 || true
    rm -rf "$scratch"
}
trap cleanup EXIT
cp "$msi" "$scratch/faultward.msi"
chmod a+r "$scratch/faultward.msi"
wine_() { (cd "$scratch" && as_user wine "$@" </dev/null); }
winmsi="Z:${scratch//\//\\}\\faultward.msi"

# A new prefix with wine's null display driver: the desktop program needs no
# screen. The driver is chosen when the first window process starts, so wine
# starts again after the choice.
(cd "$scratch" && as_user timeout 300 wineboot -i </dev/null >/dev/null 2>&1)
wine_ reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
as_user wineserver -w

installed="$WINEPREFIX/drive_c/Program Files/Faultward"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
user_path() { wine_ reg query 'HKCU\Environment' /v PATH 2>/dev/null || true; }

wine_ msiexec /i "$winmsi" /qn || fail "msiexec /i ended with status $?"
for file in faultward.exe faultward-cli.exe faultwardhelp.html; do
    [ -f "$installed/$file" ] || fail "the install lacks Program Files\\Faultward\\$file"
done
# Every template of the source, and only those: the installer lists its files one by one.
templates="$(cd "$root/resources/templates" && ls)"
[ "$(cd "$installed/templates" && ls)" = "$templates" ] ||
    fail "the installed templates are not those of resources/templates: $(ls "$installed/templates")"
shortcut="$(find "$WINEPREFIX/drive_c" -path '*/Start Menu/Programs/Faultward.lnk')"
[ -n "$shortcut" ] || fail "the install made no Start menu shortcut"
entry="$(wine_ reg query "$uninstall_key" /s 2>/dev/null | tr -d '\r')"
grep -q "DisplayName.*REG_SZ.*Faultward$" <<<"$entry" || fail "no Apps & features entry"
grep -q "DisplayVersion.*REG_SZ.*$version$" <<<"$entry" || fail "the entry lacks the version"
grep -q 'InstallLocation.*REG_SZ.*C:\\Program Files\\Faultward' <<<"$entry" ||
    fail "the entry does not name the program folder: $entry"
# Apps & features takes the icon from the product's published information.
products="$(wine_ reg query 'HKCR\Installer\Products' /s 2>/dev/null || true)"
grep -q 'ProductIcon.*faultward\.ico' <<<"$products" || fail "the product has no icon"
if grep -qi 'Program Files\\Faultward' <<<"$(user_path)"; then
    fail "the PATH feature was installed without being chosen"
fi
installed_files="$(find "$installed" "$shortcut" -type f)"
echo "windows installer: installed $(wc -l <<<"$installed_files") files"

cli_version="$(wine_ 'C:\Program Files\Faultward\faultward-cli.exe' --version | tr -d '\r')"
[ "$cli_version" = "faultward-cli $version" ] || fail "the installed faultward-cli.exe --version said '$cli_version'"

# The desktop program keeps its settings when its window is closed; taskkill
# without /f closes the window as a user would.
chmod -R a-w "$installed"
(cd "$scratch" && as_user wine 'C:\Program Files\Faultward\faultward.exe' </dev/null >/dev/null 2>&1) &
program=$!
for _ in $(seq 60); do
    sleep 1
    wine_ taskkill /im faultward.exe >/dev/null 2>&1 || true
    kill -0 "$program" 2>/dev/null || break
done
kill -0 "$program" 2>/dev/null && fail "the installed faultward.exe did not end when its window was closed"
settings="$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Roaming/Faultward/ERRH.ini')"
[ -n "$settings" ] || fail "the installed faultward.exe kept no settings in %APPDATA%\\Faultward"
[ ! -e "$installed/ERRH.ini" ] || fail "the installed faultward.exe wrote ERRH.ini into its own folder"
grep -q '^Error_Flag=' "$settings" || fail "the settings lack the mode: $(cat "$settings")"
echo "windows installer: faultward.exe kept its settings in ${settings#"$WINEPREFIX/"}"
# Uninstalling takes the rights of an administrator on Windows.
chmod -R u+w "$installed"

wine_ msiexec /x "$winmsi" /qn || fail "msiexec /x ended with status $?"
while IFS= read -r file; do
    [ ! -e "$file" ] || fail "msiexec /x left ${file#"$WINEPREFIX/"}"
done <<<"$installed_files"
[ ! -e "$installed" ] || fail "msiexec /x left the folder Program Files\\Faultward"
entry="$(wine_ reg query "$uninstall_key" /s 2>/dev/null | tr -d '\r' || true)"
if grep -q 'DisplayName.*Faultward' <<<"$entry"; then
    fail "msiexec /x left the Apps & features entry"
fi
[ -f "$settings" ] || fail "msiexec /x removed the user's settings"
echo "windows installer: msiexec /x removed every installed file and kept the settings"

# The optional feature, chosen by name as the user's tick would.
wine_ msiexec /i "$winmsi" ADDLOCAL=ALL /qn || fail "msiexec /i ADDLOCAL=ALL ended with status $?"
grep -qi 'C:\\Program Files\\Faultward' <<<"$(user_path)" ||
    fail "the PATH feature did not put the program folder on the user's PATH: $(user_path)"
wine_ msiexec /x "$winmsi" /qn || fail "msiexec /x ended with status $?"
if grep -qi 'Program Files\\Faultward' <<<"$(user_path)"; then
    fail "msiexec /x left the program folder on the user's PATH: $(user_path)"
fi
echo "windows installer: the PATH feature adds the program folder to the user's PATH, msiexec /x takes it out"

# A later version's installer replaces this one.
later="${version%.*}.$((${version##*.} + 1))"
cmake -DWIXL="$(command -v wixl)" -DMSIBUILD="$(command -v msibuild)" -DBUILD_DIR="$build" \
    -DSOURCE="$root/resources/windows/faultward.wxs" \
    -DICON="$build/src/win/resources/faultward.ico" -DVERSION="$later" \
    -DOUTPUT="$scratch/later.msi" -P "$root/cmake/build_windows_installer.cmake" >/dev/null
chmod a+r "$scratch/later.msi"
wine_ msiexec /i "$winmsi" /qn || fail "msiexec /i ended with status $?"
wine_ msiexec /i "Z:${scratch//\//\\}\\later.msi" /qn || fail "the later installer ended with status $?"
entry="$(wine_ reg query "$uninstall_key" /s 2>/dev/null | tr -d '\r' || true)"
[ "$(grep -c 'DisplayName.*Faultward$' <<<"$entry")" = 1 ] ||
    fail "Apps & features does not hold one Faultward after the later version: $entry"
grep -q "DisplayVersion.*REG_SZ.*$later$" <<<"$entry" || fail "the later version did not replace $version"
[ -f "$installed/faultward-cli.exe" ] || fail "the later version left no faultward-cli.exe"
wine_ msiexec /x "Z:${scratch//\//\\}\\later.msi" /qn || fail "msiexec /x ended with status $?"
[ ! -e "$installed" ] || fail "msiexec /x of the later version left Program Files\\Faultward"
echo "windows installer: $later replaced $version, one entry in Apps & features"
echo "windows installer: $msi, $(stat -c %s "$msi") bytes"
