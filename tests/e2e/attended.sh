#!/usr/bin/env bash
# The whole attended flow: language, start prompt, licence, readme and directory answered
# as a user would; then the progress dialog loads and checks the data, the files are
# installed, the completion message is answered and the run ends with exit code 1.
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin attended

project=$work/project
make_project "$project" "E2E Attended" "$(printf '[install]\nmin_status_time = 1500\n\n'; wizard_toml)"
wizard_texts "$project"
head -c 300000 /dev/urandom >"$project/payload.bin"
printf '\n[[files]]\nsource = "payload.bin"\n' >>"$project/project.toml"
installer=$work/setup.exe
build_installer "$project/project.toml" "$installer"
target='C:\E2E Attended\Here'
rm -rf "$drive_c/E2E Attended"

drive attended <<SCRIPT
start $(winpath "$installer")
wait-window Choose Your Language 120000
click 1001
wait-close
wait-message-box E2E Attended Setup 120000
click 6
wait-close
wait-window Licence Agreement 120000
click 1001
wait-close
wait-window Read Me 120000
click 1001
wait-close
wait-window Installation Folder 120000
type 1015 $target
click 1001
wait-close
wait-window E2E Attended Setup 120000
expect-text 1009 Installing E2E Attended...
$(screenshot_line e2e-progress)
wait-message-box Installation Complete 120000
expect-text 65535 E2E Attended has been installed successfully.
click 1
wait-exit 1 120000
SCRIPT

cmp -s "$drive_c/E2E Attended/Here/readme-file.txt" "$project/readme-file.txt" &&
  pass "the file is installed in the chosen directory" || fail "no readme-file.txt in $target"
cmp -s "$project/payload.bin" "$drive_c/E2E Attended/Here/payload.bin" && pass "the data arrived in the chosen directory" ||
  fail "payload.bin is not in $target"
rm -rf "$drive_c/E2E Attended"
wine reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\E2E Attended' /f /reg:64 >/dev/null 2>&1
e2e_end
