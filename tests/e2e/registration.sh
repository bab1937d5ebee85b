#!/usr/bin/env bash
# What an installation leaves on the machine: files of several kinds, desktop and
# start-menu shortcuts read back through the shell, shared-file counts (once, and still once
# after a reinstallation), the product's keys, a font, an association with the backup of the
# value it replaced, the uninstall key with every value, the system's list of installed
# programs, Uninstall.DAT and Install.LOG; then an attended run ends with the completion
# message.
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin registration

name="E2E Registration"
project=$work/project
mkdir -p "$project"
cp "$drive_c/windows/system32/notepad.exe" "$project/app.exe"
cp "$drive_c/windows/system32/version.dll" "$project/shared.dll"
printf 'Notes.\r\n' >"$project/notes.txt"
font=$(find /usr/share/fonts /usr/share/wine/fonts -name '*.ttf' 2>/dev/null | head -1)
if [ -n "$font" ]; then cp "$font" "$project/E2ESans.ttf"; else printf 'not a font' >"$project/E2ESans.ttf"; fi
cat >"$project/project.toml" <<'TOML'
[product]
name = "E2E Registration"
version = "2.5"
publisher = "QVIN Tests"
registry_key = 'QvinTests\E2E Registration'

[install]
directory = 'C:\Program Files\E2E Registration'
start_menu_folder = 'QvinTests\E2E Registration'
shared_path = "QvinTests Shared"

[flags]
ask_install_directory = false
always_write_log = true
detailed_log = true
uninstaller_shortcut_in_start_menu = true

[[files]]
source = "app.exe"
desktop_shortcut = true
start_menu_shortcut = true
shortcut_name = "E2E App"
arguments = '--open "%InstallDir%\notes.txt"'
working_directory = "%InstallDir%"

[[files]]
source = "notes.txt"

[[files]]
source = "shared.dll"
kind = "shared"

[[files]]
source = "E2ESans.ttf"
kind = "font"
font_name = "E2E Sans (TrueType)"

[[associations]]
extension = "e2ereg"
file_type = "E2E.Registration"
description = "E2E document"
verb = "open"
verb_text = "&Open"
command = '"%InstallDir%\app.exe" "%1"'
icon = '%InstallDir%\app.exe,0'
default_verb = true

[[uninstall_values]]
name = "HelpLink"
data = "https://example.com/e2e"

[[uninstall_values]]
name = "Readme"
type = "expand-string"
data = '%InstallDir%\notes.txt'
TOML
installer=$work/setup.exe
build_installer "$project/project.toml" "$installer"

dir='C:\Program Files\E2E Registration'
linux_dir="$drive_c/Program Files/E2E Registration"
uninstall_key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$name"
shared_dlls='HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs'
shared_file='C:\Program Files\Common Files\QvinTests Shared\shared.dll'
fonts_key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts'
backup="$name Backup"

# The registry view the stub writes to: a 64-bit program's (the reg tool of this prefix may be
# the 32-bit one, which would see the 32-bit view).
reg_view=/reg:64
case $(basename "$stub") in *x86*) reg_view=/reg:32 ;; esac
machine_reg() { wine reg "$@" "$reg_view"; }

# reg_value KEY NAME: "TYPE DATA" of a value ("" for the default value), or nothing.
reg_value() {
  local option=(/v "$2")
  [ -z "$2" ] && option=(/ve)
  machine_reg query "$1" "${option[@]}" 2>/dev/null | tr -d '\r' |
    sed -n 's/^    \(.*\)    \(REG_[A-Z_]*\)    \(.*\)$/\2 \3/p; s/^    \(.*\)    \(REG_[A-Z_]*\)$/\2 /p' | head -1
}
expect_value() {  # KEY NAME EXPECTED
  local got; got=$(reg_value "$1" "$2")
  [ "$got" = "$3" ] && pass "${1##*\\} ${2:-(default)} = $3" || fail "${1##*\\} ${2:-(default)}: '$got', expected '$3'"
}

clean_machine() {
  rm -rf "$linux_dir" "$drive_c/Program Files/Common Files/QvinTests Shared"
  local key
  for key in "$uninstall_key" 'HKLM\Software\QvinTests' 'HKCU\Software\QvinTests' 'HKCR\.e2ereg' \
    'HKCR\E2E.Registration'; do
    machine_reg delete "$key" /f >/dev/null 2>&1
  done
  machine_reg delete "$shared_dlls" /v "$shared_file" /f >/dev/null 2>&1
  machine_reg delete "$fonts_key" /v "E2E Sans (TrueType)" /f >/dev/null 2>&1
  rm -f "$drive_c/windows/Fonts/E2ESans.ttf"
  find "$drive_c/users" \( -name 'E2E App.LNK' -o -name 'QvinTests' \) -prune -exec rm -rf {} + 2>/dev/null
}
clean_machine
# An extension the machine already knows: its type is saved, not lost.
machine_reg add 'HKCR\.e2ereg' /ve /d Old.Type /f >/dev/null 2>&1

install_automatic() {  # NAME [ARGUMENTS...]
  local name=$1
  shift
  drive "$name" <<SCRIPT
start $(winpath "$installer") /a $*
wait-exit 1 120000
SCRIPT
}

check_machine() {  # RUN ("first" or "again")
  local run=$1
  for file in app.exe notes.txt Uninstall/Uninstall.exe Uninstall/Uninstall.DAT Uninstall/Install.LOG; do
    [ -f "$linux_dir/$file" ] || fail "$run: $file was not installed"
  done
  expect_value "$shared_dlls" "$shared_file" "REG_DWORD 0x1"
  expect_value "$fonts_key" "E2E Sans (TrueType)" 'REG_SZ C:\windows\Fonts\E2ESans.ttf'
  machine_reg query 'HKLM\Software\QvinTests\E2E Registration' >/dev/null 2>&1 || fail "$run: no product key in HKLM"
  machine_reg query 'HKCU\Software\QvinTests\E2E Registration' >/dev/null 2>&1 || fail "$run: no product key in HKCU"
  expect_value 'HKCR\.e2ereg' "" "REG_SZ E2E.Registration"
  expect_value 'HKCR\.e2ereg' "$backup" "REG_SZ Old.Type"
  expect_value 'HKCR\E2E.Registration' "" "REG_SZ E2E document"
  expect_value 'HKCR\E2E.Registration\DefaultIcon' "" "REG_SZ $dir\\app.exe,0"
  expect_value 'HKCR\E2E.Registration\shell' "" "REG_SZ open"
  expect_value 'HKCR\E2E.Registration\shell\open' "" "REG_SZ &Open"
  expect_value 'HKCR\E2E.Registration\shell\open\command' "" "REG_SZ \"$dir\\app.exe\" \"%1\""

  local uninstaller="$dir\\Uninstall\\Uninstall.exe"
  expect_value "$uninstall_key" UninstallString "REG_SZ \"$uninstaller\" /u:\"$name\""
  expect_value "$uninstall_key" QuietUninstallString "REG_SZ \"$uninstaller\" /a /u:\"$name\""
  expect_value "$uninstall_key" DisplayName "REG_SZ $name"
  expect_value "$uninstall_key" InstallSource "REG_SZ $(winpath "$installer")"
  expect_value "$uninstall_key" DisplayVersion "REG_SZ 2.5"
  expect_value "$uninstall_key" Publisher "REG_SZ QVIN Tests"
  expect_value "$uninstall_key" VersionMajor "REG_DWORD 0x2"
  expect_value "$uninstall_key" VersionMinor "REG_DWORD 0x5"
  expect_value "$uninstall_key" ProductRegistry 'REG_SZ QvinTests\E2E Registration'
  expect_value "$uninstall_key" ProductStartMenu 'REG_SZ QvinTests\E2E Registration'
  expect_value "$uninstall_key" SharedPath 'REG_SZ C:\Program Files\Common Files\QvinTests Shared'
  # The file table lists a font only when it writes it: a reinstallation finds it up to date.
  [ "$run" = first ] &&
    expect_value "$uninstall_key" ProductFonts 'REG_SZ "E2E Sans (TrueType)" "C:\windows\Fonts\E2ESans.ttf" '
  expect_value "$uninstall_key" SharedFiles "REG_SZ \"$shared_file\""
  expect_value "$uninstall_key" UninstallSubdir "REG_SZ Uninstall"
  expect_value "$uninstall_key" ShortcutMode ""
  expect_value "$uninstall_key" DisplayTitle "REG_SZ $name Setup"
  expect_value "$uninstall_key" TitleColor "REG_DWORD 0xffffff"
  expect_value "$uninstall_key" TopColor "REG_DWORD 0xff0000"
  expect_value "$uninstall_key" BottomColor "REG_DWORD 0x0"
  expect_value "$uninstall_key" MonoColor "REG_DWORD 0x0"
  expect_value "$uninstall_key" TitleFont "REG_SZ Times New Roman Bold Italic"
  expect_value "$uninstall_key" HelpLink "REG_SZ https://example.com/e2e"
  expect_value "$uninstall_key" Readme "REG_EXPAND_SZ $dir\\notes.txt"
  expect_value "$uninstall_key" InstallLocation "REG_SZ $dir"
  local flags; flags=$(reg_value "$uninstall_key" ProductFlags)
  [[ $flags =~ ^REG_SZ\ [0-9]+$ ]] && pass "ProductFlags is a decimal number ($flags)" || fail "ProductFlags: '$flags'"
  [[ $(reg_value "$uninstall_key" InstallDate) =~ ^REG_SZ\ [0-9]+/[0-9]+/[0-9]+\ [0-9]+:[0-9]+:[0-9]+[ap]$ ]] ||
    fail "InstallDate: '$(reg_value "$uninstall_key" InstallDate)'"
  wine uninstaller --list 2>/dev/null | tr -d '\r' | grep -qF "|||$name" &&
    pass "the system's list of programs shows $name" || fail "wine uninstaller --list lacks $name"

  # The shortcuts as the shell reads them.
  local desktop menu
  desktop=$(find "$drive_c/users" -path '*/Desktop/E2E App.LNK' | head -1)
  menu=$(find "$drive_c/users" -path '*/Programs/QvinTests/E2E Registration' | head -1)
  if [ -z "$desktop" ] || [ -z "$menu" ]; then
    fail "$run: shortcuts missing (desktop '$desktop', start menu '$menu')"
  else
    drive "$run-links" <<SCRIPT
link $(winpath "$desktop")
link $(winpath "$menu/E2E App.LNK")
link $(winpath "$menu/Uninstall $name.LNK")
SCRIPT
    local app_link="target: $dir\\app.exe
arguments: --open \"$dir\\notes.txt\"
working-directory: $dir
icon: $dir\\app.exe,0"
    local expected="$app_link
$app_link
target: $uninstaller
arguments: /u:\"$name\"
working-directory: 
icon: $uninstaller,0"
    [ "$(tr -d '\r' <"$work/$run-links.out")" = "$expected" ] && pass "$run: the shortcuts read back" ||
      fail "$run: the shortcuts read back as:
$(cat "$work/$run-links.out")
expected:
$expected"
  fi

  local data="$linux_dir/Uninstall/Uninstall.DAT" line
  for line in "$dir\\app.exe" "$dir\\notes.txt" "${desktop:+E2E App.LNK}" '[Strings]' '~34' \
    "$name has been removed from your computer." '[Associations]' '.e2ereg~!~E2E.Registration~!~open'; do
    [ -z "$line" ] && continue
    grep -qF -- "$line" "$data" || fail "$run: Uninstall.DAT lacks '$line'"
  done
}

install_automatic first-install
check_machine first
log="$linux_dir/Uninstall/Install.LOG"
for line in "Installation log for: $name" "Install type: New" "Install location: $dir" "Installer version: 13.2" \
  "Product version: 2.5" "Desktop Shortcut(E2E App) -> " "Uninstaller Shortcut -> " "Installation Complete"; do
  grep -qF -- "$line" "$log" || fail "Install.LOG lacks '$line'"
done

# A reinstallation releases the earlier count before it counts again. The run had no
# errors, so the program to run after it starts.
ran="$drive_c/e2e-registration-ran.txt"
rm -f "$ran"
install_automatic reinstall '/r:"cmd.exe /c echo ran>C:\e2e-registration-ran.txt"'
check_machine again
for _ in $(seq 50); do [ -f "$ran" ] && break; sleep 0.2; done
[ -f "$ran" ] && pass "the run-after program started" || fail "the run-after program did not start"
rm -f "$ran"
[ "$(grep -c 'Install type: Reinstall' "$log")" = 1 ] && pass "Install.LOG grows by a reinstall block" ||
  fail "Install.LOG has no reinstall block: $(grep 'Install type' "$log")"

# Attended: the start prompt, the question about the existing installation, then the
# completion message.
drive attended-finish <<SCRIPT
start $(winpath "$installer")
wait-message-box $name Setup 120000
click 6
wait-close
wait-message-box Is Already Installed 120000
click 6
wait-close
wait-message-box Installation Complete 120000
expect-text 65535 $name has been installed successfully.
$(screenshot_line e2e-completion)
click 1
wait-exit 1 120000
SCRIPT
clean_machine

# A run with a failure offers the log instead (answered "no"); the log holds the failure.
problems=$work/problems
make_project "$problems" "E2E Problems" "$(cat <<'TOML'
[install]
directory = 'C:\E2E Problems'

[flags]
ask_install_directory = false

[[associations]]
extension = ".e2enone"
verb = "open"
TOML
)"
build_installer "$problems/project.toml" "$work/problems.exe"
rm -rf "$drive_c/E2E Problems"
drive attended-problems <<SCRIPT
start $(winpath "$work/problems.exe")
wait-message-box E2E Problems Setup 120000
click 6
wait-close
wait-message-box Installation Problems 120000
expect-text 65535 Some parts of the installation did not succeed. The details are in C:\\\\E2E Problems\\\\Uninstall\\\\Install.LOG.\r\n\r\nDo you want to view them now?
$(screenshot_line e2e-problems)
click 7
wait-exit 1 120000
SCRIPT
grep -qF 'Association failed/key inaccessible:  ".e2enone".' "$drive_c/E2E Problems/Uninstall/Install.LOG" &&
  pass "Install.LOG names the failed association" || fail "Install.LOG lacks the association failure"
rm -rf "$drive_c/E2E Problems"
machine_reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\E2E Problems' /f >/dev/null 2>&1
e2e_end
