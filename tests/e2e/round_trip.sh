#!/usr/bin/env bash
# Install and uninstall leave the machine as it was: a rich installation (files of several
# kinds, shortcuts, a shared file, a font, the product's keys, an association) run with /a,
# then removed through its stored uninstall command; the files under drive_c (with their
# sizes) and the registry parts an installation touches are compared before and after.
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin round_trip

name="E2E Round Trip"
project=$work/project
mkdir -p "$project"
cp "$drive_c/windows/system32/notepad.exe" "$project/app.exe"
printf 'Notes.\r\n' >"$project/notes.txt"
printf 'Shared.\r\n' >"$project/shared.dll"
cat >"$project/project.toml" <<'TOML'
[product]
name = "E2E Round Trip"
version = "1.0"
registry_key = 'QvinTests\E2E Round Trip'

[install]
directory = 'C:\E2E Round Trip'
start_menu_folder = 'QvinTests\E2E Round Trip'
shared_path = "QvinTests Round Trip Shared"

[flags]
ask_install_directory = false
uninstaller_shortcut_in_start_menu = true

[[files]]
source = "app.exe"
desktop_shortcut = true
start_menu_shortcut = true

[[files]]
source = "notes.txt"
destination = 'Docs\notes.txt'

[[files]]
source = "shared.dll"
kind = "shared"

[[associations]]
extension = "e2eround"
file_type = "E2E.RoundTrip"
description = "E2E round-trip document"
verb = "open"
verb_text = "&Open"
command = '"%InstallDir%\app.exe" "%1"'
TOML
installer=$work/setup.exe
build_installer "$project/project.toml" "$installer"

# The machine as a text: every file below drive_c with its size (Wine's own temporary and
# cache files left out), and the registry keys an installation writes to.
snapshot() {
  (cd "$drive_c" && find . -path './users/*/Temp' -prune -o -path './users/*/AppData/Local' -prune -o \
    -path './windows/Temp' -prune -o -path './windows/Installer' -prune -o -type f -printf '%p %s\n' -o \
    -type d -printf '%p/\n' | sort)
  local key
  for key in 'HKLM\Software\Classes\.e2eround' 'HKLM\Software\Classes\E2E.RoundTrip' \
    'HKLM\Software\QvinTests' 'HKCU\Software\QvinTests' \
    'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' \
    'HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs'; do
    echo "== $key"
    wine_reg query "$key" /s 2>/dev/null | tr -d '\r'
  done
}

snapshot >"$work/before.txt"
drive install <<SCRIPT
start $(winpath "$installer") /a
wait-exit 1 120000
SCRIPT
snapshot >"$work/installed.txt"
for expected in './E2E Round Trip/app.exe' './E2E Round Trip/Docs/notes.txt' 'HKEY_LOCAL_MACHINE\Software\Classes\.e2eround'; do
  grep -qF "$expected" "$work/installed.txt" || fail "the installation did not make $expected"
done
command=$(reg_query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$name" /v QuietUninstallString 2>/dev/null |
  tr -d '\r' | sed -n 's/^ *QuietUninstallString *REG_SZ *//p')
[ -n "$command" ] || fail "no QuietUninstallString after the installation"
uninstaller=$(sed -n 's/^"\([^"]*\)".*/\1/p' <<<"$command")
drive uninstall <<SCRIPT
start "$uninstaller" /a /u:"$name"
wait-exit 1 120000
SCRIPT
# The self-removal batch ends the run.
for ((i = 0; i < 120 && $(grep -c . <(snapshot | diff "$work/before.txt" - 2>/dev/null)) > 0; i++)); do sleep 0.5; done
snapshot >"$work/after.txt"
if diff "$work/before.txt" "$work/after.txt" >"$work/leftovers.diff"; then
  pass "install and uninstall leave nothing behind"
else
  fail "the round trip left the machine changed:"
  sed 's/^/    /' "$work/leftovers.diff" | head -40
fi
e2e_end
