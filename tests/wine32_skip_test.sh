#!/usr/bin/env bash
# Where the Wine session found that 32-bit programs do not run, everything that runs an x86
# program reports itself skipped (77) and never starts it: wine-run and its --check, the
# end-to-end scripts, the ui-driver's test and the archive-section test. 64-bit programs
# still run. The session is a made-up one (its record file and a `wine` in front of PATH
# that notes each call), so no Wine starts.
# Usage: wine32_skip_test.sh SOURCE_DIR WORK_DIR
set -uo pipefail
root=$1 work=$2
rm -rf "$work" && mkdir -p "$work/bin"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

printf '#!/usr/bin/env bash\necho "$*" >>"%s/wine-calls"\nexit 5\n' "$work" >"$work/bin/wine"
chmod +x "$work/bin/wine"
# The smallest files wine-run takes for programs: the PE offset, the signature, the machine.
make_pe() { { head -c 60 /dev/zero; printf '\x40\0\0\0PE\0\0'; printf "$2"; } >"$1"; }
make_pe "$work/x86.exe" '\x4c\x01'
make_pe "$work/x64.exe" '\x64\x86'

# session WINE32: the record a session leaves, alive as long as this script runs.
session() {
  printf 'export DISPLAY=:99\nQVIN_XVFB_PID=%s\nQVIN_WINE32=%s\n' $$ "$1" >"$work/prefix.session"
}
export QVIN_WINEPREFIX=$work/prefix PATH="$work/bin:$PATH"
export QVIN_TOOL=/bin/true QVIN_STUB=$work/x86.exe QVIN_UI_DRIVER=$work/x86.exe QVIN_E2E_WORK=$work/e2e

# One row: label | 32-bit programs run (yes/no) | exit status | whether wine ran | command.
rows=(
  "wine-run skips an x86 program|no|77|no|scripts/wine-run $work/x86.exe"
  "wine-run --check says so|no|77|no|scripts/wine-run --check $work/x86.exe"
  "an end-to-end script skips|no|77|no|env QVIN_ARCH=x86 tests/e2e/automatic.sh"
  "the ui-driver's test skips|no|77|no|tests/ui-driver/self_test.sh $work/x86.exe $work/x86.exe $work/self"
  "the archive-section test skips|no|77|no|tests/win/archive_section_pe.sh $work/x86.exe $work/x86.exe $work/section"
  "an x64 program still runs|no|5|yes|scripts/wine-run $work/x64.exe"
  "wine-run --check passes an x64 program|no|0|no|scripts/wine-run --check $work/x64.exe"
  "with 32-bit Wine the x86 program runs|yes|5|yes|scripts/wine-run $work/x86.exe"
)
for row in "${rows[@]}"; do
  IFS='|' read -r label wine32 expected ran command <<<"$row"
  session "$wine32"
  before=$failures
  rm -f "$work/wine-calls"
  # shellcheck disable=SC2086
  output=$(cd "$root" && $command 2>&1)
  status=$?
  [ "$status" = "$expected" ] || fail "$label: exit status $status, expected $expected: $output"
  if [ "$expected" = 77 ]; then
    grep -q 'SKIPPED: .*32-bit' <<<"$output" || fail "$label: no skip message: $output"
  fi
  if [ "$ran" = yes ] && [ ! -f "$work/wine-calls" ]; then fail "$label: wine did not run"; fi
  if [ "$ran" = no ] && [ -f "$work/wine-calls" ]; then fail "$label: wine ran: $(cat "$work/wine-calls")"; fi
  [ $failures -eq "$before" ] && echo "ok   $label"
done
exit $((failures > 0))
