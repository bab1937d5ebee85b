#!/usr/bin/env bash
# Installers that cannot run: damaged ones, the bare stub, a wrong command line. Each shows
# one message box (caption and text checked) and ends with exit code 1.
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin fatal_messages

# The corrupt-installer message: built in before the language tables are read, the
# installer's own English text (localised text 13) after.
builtin_corrupt='This installation program is corrupt.  This is usually caused by a faulty download, but it can also be caused by a virus on your computer.  The installation cannot proceed.\r\n\r\nDelete the corrupted installer (to prevent caching), then re-download it.  If the problem persists, check your system for viruses.\r\n\r\nError code: '
localised_corrupt='This installation program is corrupt. This is usually caused by a faulty download, but it can also be caused by a virus on your computer. The installation cannot proceed.\r\n\r\nDelete the corrupted installer, then download it again. If the problem persists, check your computer for viruses.\r\n\r\nError code: '
no_archive='This program performs installations and uninstallations.\r\nThere is no installation archive present.\r\nNo Uninstallation parameters were specified.\r\n\r\nYou should not delete this program or execute it directly.'
usage='\r\n\r\nUsage:\r\nsetup.exe [/a] [/b1:"commands"] [/b2:"commands"] [/b3:"commands"] [/d:"dir"] [/n:"name"] [/u:"name"] [/r:"program"]\r\n\r\n/a                  \tAutomatic mode.\r\n/d:"dir"        \tOverride installation directory.\r\n/b1:"commands"\tAdd commands to the end of the Pre-Installation Batch.\r\n/b2:"commands"\tAdd commands to the end of the Post-Installation Batch.\r\n/b3:"commands"\tAdd commands to the end of the Installation-Exit Batch.\r\n/n:"name"\tOverride product name.\r\n/u:"name"\tUninstall product by name.\r\n/r:"program"\tRun the specified program after a successful installation.'

# One installer with some data to damage; it installs into a folder of its own.
project=$work/project
make_project "$project" "E2E Fatal"
head -c 20000 /dev/urandom >"$project/payload.bin"
printf '\n[[files]]\nsource = "payload.bin"\n' >>"$project/project.toml"
installer=$work/installer.exe
build_installer "$project/project.toml" "$installer"
section=$(layout "$installer" section_offset)
files=$(layout "$installer" file_count)
block=$(layout "$installer" block_size)
data_length=$(layout "$installer" data_length)
block_start=$((section + 36 + 4 * files))
data_start=$((block_start + block))
target_dir='C:\e2e-fatal'
target_linux=$drive_c/e2e-fatal

# Each row: label | how to damage setup.exe | arguments | caption | accepted texts (|-separated).
# Damage: "magic", "block", "data", "program", "stub" (the bare stub) or "none".
cases=(
  "wrong magic|magic||FATAL ERROR|${builtin_corrupt}20"
  "header block byte|block||FATAL ERROR|${builtin_corrupt}25|${builtin_corrupt}47"
  "data byte|data|/a /d:\"$target_dir\"|FATAL ERROR|${localised_corrupt}55"
  "program byte|program||FATAL ERROR|${localised_corrupt}40"
  "bare stub|stub||FATAL ERROR|$no_archive"
  "illegal atom|none|/x|FATAL ERROR|Illegal command line atom:\\nx$usage"
  "unexpected parameter|none|word|FATAL ERROR|Unexpected command line parameter:\\nword$usage"
)

for row in "${cases[@]}"; do
  IFS="|" read -r label damage arguments caption _ <<<"$row"
  accepted=${row#*|*|*|*|}
  slug=$(tr ' ' - <<<"$label")
  dir=$work/$slug
  mkdir -p "$dir"
  exe=$dir/setup.exe
  cp "$installer" "$exe"
  case $damage in
    magic) flip_byte "$exe" "$section" ;;
    block) flip_byte "$exe" $((block_start + block / 2)) ;;
    data) flip_byte "$exe" $((data_start + data_length / 2)) ;;
    program) flip_byte "$exe" $((0x50)) ;;  # inside the DOS stub's message: Windows never reads it
    stub) cp "$stub" "$exe" ;;
  esac
  rm -rf "$target_linux"
  drive "$slug" <<SCRIPT
start $(winpath "$exe") $arguments
wait-message-box FATAL ERROR 120000
text window
text 65535
$(screenshot_line "e2e-fatal-$slug")
click 1
wait-exit 1 120000
SCRIPT
  [ $? -eq 0 ] || continue
  mapfile -t shown <"$work/$slug.out"
  [ "${shown[0]}" = "$caption" ] || fail "$label: caption \"${shown[0]}\", expected \"$caption\""
  match=no
  IFS='|' read -ra texts <<<"$accepted"
  for text in "${texts[@]}"; do [ "${shown[1]}" = "$text" ] && match=yes; done
  if [ $match = yes ]; then
    pass "$label: $(grep -o 'Error code: [0-9]*' <<<"${shown[1]}" || head -c 40 <<<"${shown[1]}")"
  else
    fail "$label: the message reads\n    ${shown[1]}\n  expected one of\n    $accepted"
  fi
done
rm -rf "$target_linux"

e2e_end
