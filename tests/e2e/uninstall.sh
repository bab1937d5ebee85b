#!/usr/bin/env bash
# The uninstaller on an installation seeded by hand: files, directories, a start-menu group,
# an uninstall key with the values an installation writes, "Uninstall.DAT", shared-file
# counts, an association that replaced the user's own, the product's keys, and a copy of
# the stub as the uninstaller in the uninstall directory. Then /u:"name" (automatically,
# attended through the confirmation, and through Wine's own uninstaller) and a look at what
# is left: only what was not the product's, and at last not the uninstaller either.
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin uninstall

product="E2E Uninst"
install_dir="$drive_c/E2E Uninst"
shared_dir="$drive_c/E2E Shared"
target_dir="$drive_c/E2E Link Target"
system_file="$system_dir/qvin-e2e-system.dll"
wine_user=${USER:-$(id -un)}
programs="$drive_c/users/$wine_user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
uninstall_key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product"
shared_key='HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs'

# reg_value KEY NAME: the data of a value ("(Default)": the default one), empty when it is
# missing. The name goes through the environment: awk -v would read its backslashes.
reg_value() {
  local which=(/v "$2")
  [ "$2" = "(Default)" ] && which=(/ve)
  wine_reg query "$1" "${which[@]}" 2>/dev/null | tr -d '\r' |
    RV_NAME=$2 awk '{ p = "    " ENVIRON["RV_NAME"] "    REG_"; if (index($0, p) == 1) {
      s = substr($0, length(p) + 1); sub(/^[A-Z_]*    /, "", s); print s } }'
}
reg_key_exists() { wine_reg query "$1" >/dev/null 2>&1; }

# CRLF text from standard input into a file.
crlf() { sed 's/$/\r/' >"$1"; }

clean_machine() {
  rm -rf "$install_dir" "$shared_dir" "$target_dir" "$programs/E2E Company" "$system_file"
  wine_reg delete "$uninstall_key" /f >/dev/null 2>&1
  for key in 'HKCR\.qve2e' 'HKCR\QvinE2E.Doc' 'HKCR\.qve2eu' 'HKCR\UserE2E.Doc' \
    'HKLM\Software\E2E Company' 'HKCU\Software\E2E Company'; do
    wine_reg delete "$key" /f >/dev/null 2>&1
  done
  for name in mine other uncounted; do
    wine_reg delete "$shared_key" /v "C:\\E2E Shared\\shared-$name.dll" /f >/dev/null 2>&1
  done
}

# seed [FLAGS]: the installation, with "ProductFlags" FLAGS (default 0).
seed() {
  local flags=${1:-0}
  clean_machine
  mkdir -p "$install_dir/Uninst" "$install_dir/Data/Cache" "$install_dir/Docs" "$shared_dir" "$target_dir" \
    "$programs/E2E Company/E2E Uninst"
  cp "$stub" "$install_dir/Uninst/uninstall.exe"
  echo app >"$install_dir/app.exe"
  echo cache >"$install_dir/Data/Cache/cache.bin"
  echo doc >"$install_dir/Docs/manual.txt"
  echo mine >"$install_dir/Data/user-notes.txt"  # the user's, never recorded
  echo system >"$system_file"
  echo link >"$programs/E2E Company/E2E Uninst/E2E Uninst.lnk"
  echo log >"$install_dir/Uninst/Install.LOG"
  for name in mine other uncounted; do echo "$name" >"$shared_dir/shared-$name.dll"; done
  # A link that the installation's directory list names: removing it must not reach its
  # (empty) target.
  ln -s "$target_dir" "$install_dir/Link"

  crlf "$install_dir/Uninst/Uninstall.DAT" <<DAT
C:\\E2E Uninst\\app.exe
~C:\\E2E Uninst\\Data
~C:\\E2E Uninst\\Data\\Cache
C:\\E2E Uninst\\Data\\Cache\\cache.bin
~C:\\E2E Uninst\\Docs
C:\\E2E Uninst\\Docs\\manual.txt
~C:\\E2E Uninst\\Link
C:\\users\\$wine_user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\E2E Company\\E2E Uninst\\E2E Uninst.lnk
C:\\windows\\system32\\qvin-e2e-system.dll
relative\\file.txt
!CLSID
!

[Strings]
~10
Some items could not be removed:\r\n%s
~15
Uninstall Complete
~20
Uninstall Problems
~34
E2E Uninst was removed.
~53
Remove E2E Uninst and all of its components?
~55
E2E Uninst Uninstall
~58
Could not delete:


[Associations]
.qve2e~!~QvinE2E.Doc~!~open
.qve2eu~!~UserE2E.Doc~!~open
DAT

  crlf "$work/seed.reg" <<REG
REGEDIT4

[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product]
"UninstallString"="\\"C:\\\\E2E Uninst\\\\Uninst\\\\uninstall.exe\\" /u:\\"$product\\""
"QuietUninstallString"="\\"C:\\\\E2E Uninst\\\\Uninst\\\\uninstall.exe\\" /a /u:\\"$product\\""
"DisplayName"="$product"
"ProductRegistry"="E2E Company\\\\E2E Uninst"
"ProductStartMenu"="E2E Company\\\\E2E Uninst"
"SharedPath"="C:\\\\E2E Shared"
"ProductFlags"="$flags"
"SharedFiles"="\\"C:\\\\E2E Shared\\\\shared-mine.dll\\";\\"C:\\\\E2E Shared\\\\shared-other.dll\\";\\"C:\\\\E2E Shared\\\\shared-uncounted.dll\\""
"UninstallSubdir"="Uninst"
"DisplayTitle"="E2E Uninst"
"InstallLocation"="C:\\\\E2E Uninst"

[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs]
"C:\\\\E2E Shared\\\\shared-mine.dll"=dword:00000001
"C:\\\\E2E Shared\\\\shared-other.dll"=dword:00000002

[HKEY_CLASSES_ROOT\\.qve2e]
@="QvinE2E.Doc"
[HKEY_CLASSES_ROOT\\QvinE2E.Doc]
@="E2E document"
[HKEY_CLASSES_ROOT\\QvinE2E.Doc\\DefaultIcon]
@="C:\\\\E2E Uninst\\\\app.exe,0"
[HKEY_CLASSES_ROOT\\QvinE2E.Doc\\shell\\open\\command]
@="\\"C:\\\\E2E Uninst\\\\app.exe\\" \\"%1\\""

[HKEY_CLASSES_ROOT\\.qve2eu]
@="UserE2E.Doc"
"Content Type"="text/x-e2e"
[HKEY_CLASSES_ROOT\\UserE2E.Doc]
@="E2E document"
"$product Backup"="The user's document"
[HKEY_CLASSES_ROOT\\UserE2E.Doc\\shell\\open\\command]
@="\\"C:\\\\E2E Uninst\\\\app.exe\\" \\"%1\\""
"$product Backup"="notepad.exe \\"%1\\""
[HKEY_CLASSES_ROOT\\UserE2E.Doc\\shell\\edit\\command]
@="notepad.exe \\"%1\\""

[HKEY_LOCAL_MACHINE\\Software\\E2E Company\\E2E Uninst\\Settings]
"Value"="1"
[HKEY_CURRENT_USER\\Software\\E2E Company\\E2E Uninst]
"Value"="1"
[HKEY_CURRENT_USER\\Software\\E2E Company\\Other Product]
"Value"="1"
REG
  wine_reg import "$(winpath "$work/seed.reg")" >/dev/null 2>&1 || fail "the seed does not import"
  reg_key_exists "$uninstall_key" || fail "the seeded uninstall key is missing"
}

# wait_gone PATH SECONDS: true once PATH is gone.
wait_gone() {
  local path=$1 seconds=$2
  for ((i = 0; i < seconds * 2; i++)); do
    [ -e "$path" ] || return 0
    sleep 0.5
  done
  return 1
}

# The machine after a complete removal.
check_removed() {
  local label=$1 failures_before=$e2e_failures
  if ! wait_gone "$install_dir/Uninst/uninstall.exe" 60; then
    fail "$label: the self-removal batch left the uninstaller"
  fi
  wait_gone "$install_dir/Uninst" 10 || fail "$label: the emptied uninstall directory stayed"
  for gone in app.exe Data/Cache Docs Uninst/Uninstall.DAT Uninst/Install.LOG; do
    [ -e "$install_dir/$gone" ] && fail "$label: $gone was not removed"
  done
  [ -f "$install_dir/Data/user-notes.txt" ] || fail "$label: the user's file in a recorded directory was removed"
  [ -d "$target_dir" ] || fail "$label: removing a link removed the directory it points to"
  [ -f "$system_file" ] || fail "$label: a system file named by Uninstall.DAT was deleted"
  reg_key_exists 'HKCR\CLSID' || fail "$label: !CLSID deleted the shared CLSID key"
  [ -e "$programs/E2E Company" ] && fail "$label: the start-menu group or its emptied parent stayed"
  [ -d "$programs" ] || fail "$label: the programs folder was removed"
  reg_key_exists "$uninstall_key" && fail "$label: the uninstall key stayed"

  [ -e "$shared_dir/shared-mine.dll" ] && fail "$label: a shared file whose count reached 0 stayed"
  [ -f "$shared_dir/shared-other.dll" ] || fail "$label: a shared file counted by another product was deleted"
  [ -f "$shared_dir/shared-uncounted.dll" ] || fail "$label: a shared file without a count was deleted"
  [ "$(reg_value "$shared_key" 'C:\E2E Shared\shared-other.dll')" = 0x1 ] ||
    fail "$label: the other product's count is not 1: $(reg_value "$shared_key" 'C:\E2E Shared\shared-other.dll')"
  [ -z "$(reg_value "$shared_key" 'C:\E2E Shared\shared-mine.dll')" ] || fail "$label: the released count stayed"

  reg_key_exists 'HKCR\.qve2e' && fail "$label: the product's extension stayed"
  reg_key_exists 'HKCR\QvinE2E.Doc' && fail "$label: the product's file type stayed"
  [ "$(reg_value 'HKCR\.qve2eu' 'Content Type')" = text/x-e2e ] || fail "$label: the user's extension lost a value"
  [ "$(reg_value 'HKCR\UserE2E.Doc' '(Default)')" = "The user's document" ] ||
    fail "$label: the user's file type was not restored: $(wine_reg query 'HKCR\UserE2E.Doc' 2>&1 | tr -d '\r')"
  [ "$(reg_value 'HKCR\UserE2E.Doc\shell\open\command' '(Default)')" = 'notepad.exe "%1"' ] ||
    fail "$label: the user's command was not restored"
  reg_key_exists 'HKCR\UserE2E.Doc\shell\edit' || fail "$label: the user's other verb was removed"

  reg_key_exists 'HKLM\Software\E2E Company' && fail "$label: the emptied company key stayed in HKLM"
  reg_key_exists 'HKCU\Software\E2E Company\E2E Uninst' && fail "$label: the product key stayed in HKCU"
  reg_key_exists 'HKCU\Software\E2E Company\Other Product' || fail "$label: another product's key was removed"
  [ "$e2e_failures" -eq "$failures_before" ] && pass "$label: the product is gone and everything else stayed"
}

# Started by its name on drive Z:, which is drive C: seen from elsewhere: still the
# installed uninstaller.
uninstaller=$(winpath "$install_dir/Uninst/uninstall.exe")

# Automatic: no question, no summary.
seed
WINEDEBUG=-all,trace+msgbox drive automatic <<SCRIPT
start "$uninstaller" /u:"$product" /a
wait-exit 1 120000
SCRIPT
grep -q 'trace:msgbox' "$work/automatic.out" && fail "/a showed a message box: $(grep 'trace:msgbox' "$work/automatic.out")"
check_removed automatic

# Attended: "no" leaves everything, "yes" removes it and shows the summary.
seed
drive declined <<SCRIPT
start "$uninstaller" /u:"$product"
wait-message-box E2E Uninst Uninstall 120000
expect-text 65535 Remove E2E Uninst and all of its components?
$(screenshot_line uninstall-confirmation)
click 7
wait-exit 1 60000
SCRIPT
reg_key_exists "$uninstall_key" && [ -f "$install_dir/app.exe" ] && [ -f "$install_dir/Uninst/uninstall.exe" ] &&
  [ -f "$shared_dir/shared-mine.dll" ] && reg_key_exists 'HKCR\.qve2e' ||
  fail "declined: something was removed"
drive accepted <<SCRIPT
start "$uninstaller" /u:"$product"
wait-message-box E2E Uninst Uninstall 120000
click 6
wait-message-box Uninstall Complete 120000
expect-text 65535 E2E Uninst was removed.
click 1
wait-exit 1 60000
SCRIPT
check_removed attended

# Wine's list of installed programs runs the stored command ("ProductFlags" 512: the
# product's uninstallation asks nothing).
seed 512
wine uninstaller --list 2>/dev/null | grep -q "$product" || fail "wine uninstaller does not list the product"
wine uninstaller --remove "$product" >"$work/wine-uninstaller.out" 2>&1
check_removed "wine uninstaller"

# A setup program started with /u is the user's file: the batch never deletes it.
seed 512
cp "$stub" "$work/setup-copy.exe"
drive foreign-uninstaller <<SCRIPT
start "$(winpath "$work/setup-copy.exe")" /u:"$product"
wait-exit 1 120000
SCRIPT
reg_key_exists "$uninstall_key" && fail "foreign uninstaller: the uninstall key stayed"
sleep 5
[ -f "$work/setup-copy.exe" ] || fail "the self-removal batch deleted a program outside the uninstall directory"

clean_machine
rm -f "$install_dir/Link"
e2e_end
