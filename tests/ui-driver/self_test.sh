#!/usr/bin/env bash
# The ui-driver against its sample dialog: reading, selecting, typing, clicking, message
# boxes, full exit codes, screenshots, and the report of a failed expectation.
# Usage: self_test.sh DRIVER.exe SAMPLE.exe WORK_DIR
set -uo pipefail
driver=$1 sample=$2 work=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
run="$here/../../scripts/wine-run"
"$run" --check "$driver" || exit 77
mkdir -p "$work"
exe="Z:$(tr / '\\' <<<"$sample")"
shot="Z:$(tr / '\\' <<<"$work/sample.bmp")"
failures=0

# drive NAME EXPECTED_STATUS: runs the script on stdin, keeps its output in WORK_DIR/NAME.out
drive() {
  local name=$1 expected=$2 status
  "$run" "$driver" >"$work/$name.out" 2>&1
  status=$?
  if [ "$status" -ne "$expected" ]; then
    echo "FAIL $name: driver exit status $status, expected $expected"
    sed 's/^/    /' "$work/$name.out"
    failures=$((failures + 1))
    return 1
  fi
  echo "ok   $name"
}

# output_has NAME TEXT: the driver's output of NAME holds TEXT
output_has() {
  if ! grep -qF -- "$2" "$work/$1.out"; then
    echo "FAIL $1: output lacks: $2"
    sed 's/^/    /' "$work/$1.out"
    failures=$((failures + 1))
  fi
}

rm -f "$work/sample.bmp"
drive choose 0 <<SCRIPT
start $exe
wait-window sample dialog 20000
expect-text window Sample Dialog
expect-text 1009 Pick one:
list 1017
select 1017 2
expect-text 1001 Take Cherry
type 1015 two  words
screenshot $shot
click 1001
wait-close
wait-message-box Sample Question
expect-text 65535 You chose:\r\nCherry\r\nNote:\ttwo  words
click 6
wait-exit 40
SCRIPT
output_has choose "*Apple"
output_has choose " Cherry"
if [ "$(head -c 2 "$work/sample.bmp" 2>/dev/null)" != BM ]; then
  echo "FAIL choose: no bitmap file written"
  failures=$((failures + 1))
fi

# Exit codes above 255 reach the driver whole.
drive cancel 0 <<SCRIPT
start $exe
wait-window Sample Dialog 20000
click 1003
wait-exit 65538
SCRIPT

# A wrong text: what was expected, what was there, and every control of the window.
drive wrong_text 1 <<SCRIPT
start $exe
wait-window Sample Dialog 20000
expect-text 1009 Pick two:
SCRIPT
output_has wrong_text 'expected "Pick two:"'
output_has wrong_text 'found    "Pick one:"'
output_has wrong_text 'control 1017 ListBox'
output_has wrong_text '*[0] "Apple"'
output_has wrong_text 'the program is still running; ending it'

# The program's window is up first (a 32-bit program may take longer than 300 ms to start).
drive no_window 1 <<SCRIPT
start $exe
wait-window Sample Dialog 20000
wait-window Nothing Like This 300
SCRIPT
output_has no_window 'expected a window matching "Nothing Like This" within 300 ms'
output_has no_window 'window "Sample Dialog" class #32770'

drive bad_script 2 <<SCRIPT
frobnicate 12
SCRIPT
output_has bad_script 'unknown command'

exit $((failures > 0))
