#!/usr/bin/env bash
# LZMA-coded data: an installer built with compression = "lzma" (format 13.3), in one file
# and split into volumes, installs every file byte for byte.
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin lzma

project=$work/project
mkdir -p "$project/tree/docs"
# Real programs and texts: what installers carry.
for f in notepad.exe regedit.exe kernel32.dll; do cp "$drive_c/windows/system32/$f" "$project/tree/$f"; done
cp "$e2e_root/docs/project-file.md" "$project/tree/docs/"
head -c 3000 /dev/urandom >"$project/tree/random.bin"
: >"$project/tree/empty.txt"
write_project() {  # write_project EXTRA_ARCHIVE_LINES
  cat >"$project/project.toml" <<TOML
[product]
name = "E2E Lzma"

[install]
directory = 'C:\\E2E Lzma'

[archive]
compression = "lzma"
$1

[[files]]
source = "tree/*"
recursive = true
TOML
}

dir=$drive_c/E2E\ Lzma
for variant in single volumes; do
  [ $variant = volumes ] && write_project 'volume_size = "300K"' || write_project ''
  installer=$work/$variant/setup.exe
  mkdir -p "$work/$variant"
  build_installer "$project/project.toml" "$installer"
  "$qvin" info "$installer" | grep -q 'format 13.30' && pass "$variant: the installer says format 13.3" ||
    fail "$variant: not format 13.3: $("$qvin" info "$installer" | head -2)"
  "$qvin" verify "$installer" >/dev/null && pass "$variant: qvin verify decodes it" || fail "$variant: qvin verify"
  rm -rf "$dir"
  drive "install-$variant" <<SCRIPT
start $(winpath "$installer") /a
wait-exit 1 120000
SCRIPT
  if diff -r "$project/tree" "$dir" -x Uninstall >/dev/null; then
    pass "$variant: every file is installed byte for byte"
  else
    fail "$variant: the installed tree differs: $(diff -rq "$project/tree" "$dir" -x Uninstall | head -3)"
  fi
done
[ "$(ls "$work/volumes" | grep -c '\.QVA$')" -ge 1 ] && pass "the stream is split into volume files" ||
  fail "no volume file: $(ls "$work/volumes")"

rm -rf "$dir"
forget_product "E2E Lzma"
e2e_end
