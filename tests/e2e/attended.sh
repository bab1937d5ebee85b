#!/usr/bin/env bash
# The whole attended flow: language, start prompt, licence, readme and directory answered
# as a user would; then the progress dialog loads and checks the data and the run ends by
# itself with exit code 1. The installation directory is created on the way (and removed
# again at the end while the installation leaves it empty).
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
wait-exit 1 120000
SCRIPT

cmp -s "$drive_c/E2E Attended/Here/readme-file.txt" "$project/readme-file.txt" &&
  pass "the file is installed in the chosen directory" || fail "no readme-file.txt in $target"
rm -rf "$drive_c/E2E Attended"
e2e_end
