#!/usr/bin/env bash
# The directory dialog refuses what cannot be an installation directory, says why, and asks
# again: each refused entry below is typed, confirmed, its message checked and dismissed,
# and the dialog must come back. Cancelling at the end installs nothing.
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin directory_checks

invalid='This is not a valid installation folder. Please enter a full path:\r\n'
cant_create='Could not create the folder\r\n'

# One row: installer @@ typed directory @@ message box caption @@ = exact or ^ beginning @@
# text (in the driver's escaped form).
rows=(
  "plain@@C:\\a|b@@Error@@=@@${invalid}$(esc 'C:\a|b')"
  "plain@@relative\\folder@@Error@@=@@${invalid}$(esc 'relative\folder')"
  "plain@@Q:\\Test@@Error@@=@@Drive Q: does not exist. Please choose another folder."
  "plain@@C:\\@@Error@@=@@Please choose a folder, not the root of a drive."
  "plain@@$program_files_win@@Error@@=@@$(esc "Please choose a folder inside $program_files_win, not that folder itself.")"
  "plain@@${program_files_win,,}\\@@Error@@=@@$(esc "Please choose a folder inside $program_files_win, not that folder itself.")"
  # A network path is allowed; under Wine no share answers, so creating it fails.
  "plain@@\\\\e2e-server\\share\\E2E@@Error@@^@@${cant_create}$(esc '\\e2e-server\share\E2E')\\r\\n\\r\\n"
  "refuse@@\\\\e2e-server\\share\\E2E@@Error@@=@@Network folders cannot be used. Please choose a folder on a local drive."
  "space@@C:\\E2E Space@@E2E Dirs Setup@@^@@The installation needs "
)

# Installers: the same product, plain, refusing network directories, and one whose file
# sizes claim more than the drive has free (the sizes in the archive header are what the
# check adds up; nothing is read before the question).
make_project "$work/plain" "E2E Dirs"
make_project "$work/refuse" "E2E Dirs" $'[flags]\nrefuse_network_directory = true'
make_project "$work/space" "E2E Dirs"
free=$(df -B1 --output=avail "$drive_c" | tail -1 | tr -d ' ')
claimed_files=$((free / 0x40000000 + 3))
if [ "$claimed_files" -le 4000 ]; then
  mkdir -p "$work/space/many"
  for i in $(seq 2 "$claimed_files"); do : >"$work/space/many/f$i"; done
  printf '\n[[files]]\nsource = "many/*"\n' >>"$work/space/project.toml"
fi
for kind in plain refuse space; do
  build_installer "$work/$kind/project.toml" "$work/$kind/setup.exe"
done
if [ "$claimed_files" -le 4000 ]; then
  section=$(layout "$work/space/setup.exe" section_offset)
  count=$(layout "$work/space/setup.exe" file_count)
  for _ in $(seq "$count"); do printf '\x00\x00\x00\x40'; done |
    dd of="$work/space/setup.exe" bs=1 seek=$((section + 36)) conv=notrunc status=none
else
  echo "note: $free bytes free would take $claimed_files files of 1 GiB; the disk-space row is left out"
fi

for kind in plain refuse space; do
  [ "$kind" = space ] && [ "$claimed_files" -gt 4000 ] && continue
  script="start $(winpath "$work/$kind/setup.exe")
wait-message-box E2E Dirs Setup 120000
click 6
wait-close
wait-window Installation Folder"
  for row in "${rows[@]}"; do
    fields=()
    rest=$row
    while [[ $rest == *@@* ]]; do fields+=("${rest%%@@*}"); rest=${rest#*@@}; done
    fields+=("$rest")
    [ "${fields[0]}" = "$kind" ] || continue
    typed=${fields[1]} caption=${fields[2]} mode=${fields[3]} text=${fields[4]}
    expect=expect-text
    [ "$mode" = "^" ] && expect=expect-prefix
    answer=1
    [ "$caption" = Error ] || answer=7
    shot=e2e-directory-$kind-$(tr -c 'A-Za-z0-9\n' - <<<"$typed" | tr -s - | sed 's/-$//')
    script+="
type 1015 $(esc "$typed")
click 1001
wait-close
wait-message-box $caption 120000
$expect 65535 $text
text 65535
$(screenshot_line "$shot")
click $answer
wait-close
wait-window Installation Folder 120000"
  done
  script+="
click 1003
wait-exit 1 120000"
  drive "directories-$kind" <<<"$script"
done

# The disk-space question names the need, the drive and its free space.
if [ -f "$work/directories-space.out" ]; then
  question=$(grep '^The installation needs' "$work/directories-space.out")
  pattern='^The installation needs .+ of disk space, but drive C: has only .+ free\.\\r\\n\\r\\nDo you want to install anyway\?$'
  if [[ "$question" =~ $pattern ]]; then pass "disk-space question: $question"; else fail "disk-space question: $question"; fi
fi
nothing_installed "E2E Dirs" "$program_files/E2E Dirs"
[ -e "$drive_c/E2E Space" ] && fail "C:\\E2E Space was created after the disk-space question was answered no"
e2e_end
