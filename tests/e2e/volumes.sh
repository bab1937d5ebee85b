#!/usr/bin/env bash
# Archive data split into volume files: read from beside the installer; a damaged volume is
# a corrupt installer; a missing one is asked for (and read once supplied); a wrong one is
# asked for with the wrong-volume line first; cancelling the request asks to confirm.
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin volumes

project=$work/project
# The installer holds its program and the first 120000 bytes of data; the rest, stored
# uncompressed, makes two volumes and part of a third.
volume_size=$(($(stat -c %s "$stub") + 120000))
make_project "$project" "E2E Volumes" "$(printf '[archive]\ncompression_level = 0\nvolume_size = %d' "$volume_size")"
head -c $((2 * volume_size + 80000)) /dev/urandom >"$project/payload.bin"
printf '\n[[files]]\nsource = "payload.bin"\n' >>"$project/project.toml"
built=$work/built
mkdir -p "$built"
build_installer "$project/project.toml" "$built/setup.exe"
[ -f "$built/setup3.QVA" ] || { fail "expected at least three volume files: $(ls "$built")"; e2e_end; }
target='C:\E2E Volumes'

localised_corrupt='This installation program is corrupt. This is usually caused by a faulty download, but it can also be caused by a virus on your computer. The installation cannot proceed.\r\n\r\nDelete the corrupted installer, then download it again. If the problem persists, check your computer for viruses.\r\n\r\nError code: '
insert='Please make volume 2 available in drive Z: and click OK.'
wrong='That is not the right volume, or it could not be read.\r\n\r\n'

# prepare NAME: a fresh copy of the installer and its volumes in WORK/NAME; prints the folder
prepare() {
  rm -rf "${work:?}/$1"
  cp -r "$built" "$work/$1"
  printf '%s' "$work/$1"
}

dir=$(prepare all-present)
drive all-present <<SCRIPT
start $(winpath "$dir/setup.exe") /a /d:"$target"
wait-exit 1 120000
SCRIPT
grep -q 'Next Volume\|FATAL' "$work/all-present.out" && fail "all volumes present, yet: $(grep seen "$work/all-present.out")"

dir=$(prepare damaged)
flip_byte "$dir/setup2.QVA" 100
drive damaged <<SCRIPT
start $(winpath "$dir/setup.exe") /a /d:"$target"
wait-message-box FATAL ERROR 120000
expect-text 65535 ${localised_corrupt}55
click 1
wait-exit 1 120000
SCRIPT

dir=$(prepare missing)
mv "$dir/setup2.QVA" "$dir/setup2.QVA.away"
drive missing <<SCRIPT
start $(winpath "$dir/setup.exe") /a /d:"$target"
wait-message-box Next Volume 120000
expect-text 65535 $insert
$(screenshot_line e2e-volume-prompt) screen
copy $(winpath "$dir/setup2.QVA.away") $(winpath "$dir/setup2.QVA")
click 1
wait-exit 1 120000
SCRIPT

dir=$(prepare wrong)
cp "$dir/setup3.QVA" "$dir/setup2.QVA"
drive wrong <<SCRIPT
start $(winpath "$dir/setup.exe") /a /d:"$target"
wait-message-box Next Volume 120000
expect-text 65535 ${wrong}${insert}
click 2
wait-close
wait-message-box E2E Volumes Setup
expect-text 65535 Do you really want to cancel the installation?
click 6
wait-exit 1 120000
SCRIPT

rm -rf "$drive_c/E2E Volumes"
forget_product "E2E Volumes"
e2e_end
