#!/usr/bin/env bash
# A file in use that existed before: its replacement is scheduled for the restart (the
# temporary file beside it, in PendingFileRenameOperations), the run asks about a restart
# (answered "no" here, so this prefix lives on), and `wineboot -r` puts the new bytes in
# place with the entry's time.
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin locked_file

project=$work/project
mkdir -p "$project"
printf 'new bytes\n' >"$project/locked.txt"
cat >"$project/project.toml" <<'TOML'
[product]
name = "E2E Locked"

[install]
directory = 'C:\E2E Locked'

[flags]
restart_question_in_automatic_mode = true

[[files]]
source = "locked.txt"
kind = "versioned"
time = 2021-03-04T05:06:07
TOML
installer=$work/setup.exe
build_installer "$project/project.toml" "$installer"

dir=$drive_c/E2E\ Locked
rm -rf "$dir"
mkdir -p "$dir"
printf 'old bytes\n' >"$dir/locked.txt" && touch -d 2020-01-01 "$dir/locked.txt"
session_manager='HKLM\System\CurrentControlSet\Control\Session Manager'
wine reg delete "$session_manager" /v PendingFileRenameOperations /f >/dev/null 2>&1

drive locked <<SCRIPT
hold C:\\E2E Locked\\locked.txt
start $(winpath "$installer") /a
wait-message-box E2E Locked Setup 120000
expect-prefix 65535 Your computer must be restarted
$(screenshot_line locked-restart-question)
click 7
wait-exit 1 120000
SCRIPT

[ "$(cat "$dir/locked.txt")" = "old bytes" ] && pass "the file in use keeps its bytes until the restart" ||
  fail "the locked file changed before the restart: $(cat "$dir/locked.txt")"
pending=$(wine reg query "$session_manager" /v PendingFileRenameOperations 2>/dev/null | tr -d '\r')
if grep -qi 'E2E Locked\\\\*locked.txt\|E2ELOC~1\\\\*locked.txt' <<<"$pending"; then
  pass "the replacement is registered for the restart"
else
  fail "PendingFileRenameOperations does not name locked.txt: $pending"
fi
temporary=$(find "$dir" -maxdepth 1 -type f ! -name locked.txt | head -1)
[ -n "$temporary" ] && cmp -s "$temporary" "$project/locked.txt" &&
  pass "the new bytes wait in a temporary file beside the target" ||
  fail "no temporary file with the new bytes in $dir: $(ls "$dir")"

wine wineboot -r >/dev/null 2>&1
cmp -s "$dir/locked.txt" "$project/locked.txt" && pass "the restart puts the new bytes in place" ||
  fail "after wineboot -r locked.txt holds: $(cat "$dir/locked.txt")"
[ "$(stat -c %Y "$dir/locked.txt")" = "$(date -d '2021-03-04 05:06:07' +%s)" ] &&
  pass "the replacement carries the entry's time" || fail "the replacement's time is $(stat -c %y "$dir/locked.txt")"
# Beside the target (the uninstall directory below it holds the uninstaller and its data).
[ "$(find "$dir" -maxdepth 1 -type f | wc -l)" = 1 ] && pass "no temporary file is left" || fail "left in $dir: $(ls "$dir")"

rm -rf "$dir"
wine reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\E2E Locked' /f /reg:64 >/dev/null 2>&1
e2e_end
