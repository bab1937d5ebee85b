#!/usr/bin/env bash
# /a runs without a question: no language dialog, no start prompt, no licence, no directory
# dialog, no message box; the run ends by itself with exit code 1. Wine's message-box trace
# shows every message box text, which a run with a bad atom proves.
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin automatic

project=$work/project
make_project "$project" "E2E Auto" "$(cat <<'TOML'
[install]
directory = 'C:\E2E Auto'

[texts]
licence = "licence.txt"

[[languages]]
name = "English"

[[languages]]
name = "Deutsch"
base = "German"
TOML
)"
printf 'Licence.\n' >"$project/licence.txt"
installer=$work/setup.exe
build_installer "$project/project.toml" "$installer"
rm -rf "$drive_c/E2E Auto"

# The trace works: a usage error's message box is in it.
WINEDEBUG=-all,trace+msgbox drive usage-traced <<SCRIPT
start $(winpath "$installer") /a /x
wait-message-box FATAL ERROR 120000
click 1
wait-exit 1 120000
SCRIPT
grep -q 'trace:msgbox.*Illegal command line atom' "$work/usage-traced.out" &&
  pass "the message-box trace shows a message box" ||
  fail "no message-box trace of the usage error: $(head -5 "$work/usage-traced.out")"

WINEDEBUG=-all,trace+msgbox drive automatic <<SCRIPT
start $(winpath "$installer") /a
wait-exit 1 120000
SCRIPT
if grep -q 'trace:msgbox' "$work/automatic.out"; then
  fail "/a showed a message box: $(grep 'trace:msgbox' "$work/automatic.out")"
fi
# Only the background and the progress dialog (captioned with the product) may show. The
# dialog is created visible and captioned right after, so a slow run can catch it without
# its caption yet, and miss it with it; a dialog that waited for an answer would be seen
# with its caption (and a message box is in the trace checked above).
while read -r line; do
  case $line in
    'seen window "" class QVA Window Class' | 'seen window "E2E Auto Setup" class #32770') ;;
    'seen window "" class #32770') ;;
    'seen window '*) fail "/a showed a window: ${line#seen window }" ;;
  esac
done <"$work/automatic.out"
grep '^seen window' "$work/automatic.out" | sed 's/^/    /'
rm -rf "$drive_c/E2E Auto"
e2e_end
