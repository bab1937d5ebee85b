# shellcheck shell=bash
# Sourced by the end-to-end scripts: building installers with qvin, driving them under Wine
# with the ui-driver, and checking what they left on the machine.
#
# A script calls `e2e_begin NAME` first; it skips (exit 77) when a piece it needs is not
# built or cannot run here, works in $work (build/<preset>/tests/e2e/NAME), and ends with
# `e2e_end`, which exits 1 when any check failed. Checks report and go on, so one run shows
# every fault.
#
# Every script runs twice, once per architecture of the stub: ctest of the win64 preset runs
# it with QVIN_ARCH=x64, that of win32 with QVIN_ARCH=x86 (by hand: QVIN_ARCH=x86
# tests/e2e/NAME.sh; the default is x64). $stub and $driver are that preset's. A 32-bit
# installer under the 64-bit prefix sees the machine as 32-bit programs do, so checks of
# what it did go through these:
#   $arch               x64 or x86
#   $program_files      the Program Files folder of the stub's architecture, as a path below
#                       $drive_c ("Program Files" or "Program Files (x86)");
#   $program_files_win  the same as the installer names it: 'C:\Program Files (x86)'
#   $system_dir         where the installer's files for the system directory land, below
#                       $drive_c: windows/system32, or windows/syswow64 (a 32-bit program
#                       names it system32 and Wine redirects it there)
#   wine_reg OP ARGS... `wine reg OP ARGS...` in the stub's registry view (/reg:64 or
#                       /reg:32: HKLM\Software of a 32-bit program is Wow6432Node)
#   reg_query ARGS...   wine_reg query ARGS...
# A script written for x64 alone is adapted by replacing `wine reg` with `wine_reg`,
# "$drive_c/Program Files" with "$program_files" and 'C:\Program Files' with
# "$program_files_win".
set -uo pipefail

e2e_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
arch=${QVIN_ARCH:-x64}
case $arch in
  x64) e2e_preset=win64 program_files_name='Program Files' system_dir_name=system32 reg_view=/reg:64 ;;
  x86) e2e_preset=win32 program_files_name='Program Files (x86)' system_dir_name=syswow64 reg_view=/reg:32 ;;
  *) echo "lib.sh: QVIN_ARCH is x64 or x86, not $arch" >&2; exit 2 ;;
esac
qvin=${QVIN_TOOL:-$e2e_root/build/host/tools/qvin/qvin}
stub=${QVIN_STUB:-$e2e_root/build/$e2e_preset/src/qvin-stub-$arch.exe}
driver=${QVIN_UI_DRIVER:-$e2e_root/build/$e2e_preset/tests/ui-driver/qvin-ui-driver.exe}
e2e_work_root=${QVIN_E2E_WORK:-$e2e_root/build/$e2e_preset/tests/e2e}
wine_run=$e2e_root/scripts/wine-run
# The x64 run's screenshots in build/screenshots, the x86 run's in build/screenshots/x86.
screenshots=$e2e_root/build/screenshots
[ "$arch" = x64 ] || screenshots=$screenshots/$arch
# shellcheck source=../../scripts/wine-env
. "$e2e_root/scripts/wine-env"
drive_c=$WINEPREFIX/drive_c
# shellcheck disable=SC2034  # for the scripts
program_files=$drive_c/$program_files_name program_files_win="C:\\$program_files_name"
# shellcheck disable=SC2034
system_dir=$drive_c/windows/$system_dir_name
e2e_failures=0

skip() {
  echo "SKIPPED: $*"
  exit 77
}

e2e_begin() {
  e2e_name=$1
  [ -x "$qvin" ] || skip "the qvin tool is not built ($qvin; build the host preset)"
  [ -f "$stub" ] || skip "the installer stub is not built yet ($stub)"
  [ -f "$driver" ] || skip "the ui-driver is not built ($driver)"
  # The driver is of the stub's architecture: when it cannot run, neither can the installers.
  local why
  why=$("$wine_run" --check "$driver" 2>&1) || skip "${why#SKIPPED: }"
  work=$e2e_work_root/$e2e_name
  rm -rf "$work"
  mkdir -p "$work" "$screenshots"
}

e2e_end() {
  if [ "$e2e_failures" -gt 0 ]; then
    echo "$e2e_name: $e2e_failures check(s) failed"
    exit 1
  fi
  echo "$e2e_name: all checks passed"
  exit 0
}

fail() {
  echo "FAIL: $*"
  e2e_failures=$((e2e_failures + 1))
}

pass() { echo "ok   $*"; }

# esc TEXT: text as the driver reads and expects it: backslashes doubled (write the escapes
# \r \n \t after it).
esc() { sed 's/\\/\\\\/g' <<<"$1"; }

# The Windows name of a Linux path (Wine's drive Z: is the root).
winpath() { printf 'Z:%s' "$(tr / '\\' <<<"$1")"; }

# make_project DIR NAME [EXTRA_TOML]: a project with one small file; EXTRA_TOML (flags,
# texts, languages...) is appended. Prints nothing; the project is DIR/project.toml.
make_project() {
  local dir=$1 name=$2 extra=${3:-}
  mkdir -p "$dir"
  printf 'Hello from %s\n' "$name" >"$dir/readme-file.txt"
  {
    printf '[product]\nname = "%s"\n\n' "$name"
    printf '%s\n\n' "$extra"
    printf '[[files]]\nsource = "readme-file.txt"\n'
  } >"$dir/project.toml"
}

# The wizard most scenarios walk through: a licence, a readme, English and German.
# wizard_toml prints the project's part; wizard_texts DIR writes the two texts.
wizard_toml() {
  cat <<'TOML'
[texts]
licence = "licence.txt"
readme = "readme.txt"

[[languages]]
name = "English"

[[languages]]
name = "Deutsch"
base = "German"
TOML
}
wizard_texts() {
  printf 'Licence.\n' >"$1/licence.txt"
  printf 'Read me.\n' >"$1/readme.txt"
}

# build_installer PROJECT OUT: qvin build with our stub; a failed build fails the script.
build_installer() {
  if ! "$qvin" build "$1" --stub "$stub" -o "$2" --quiet >"$work/build.log" 2>&1; then
    cat "$work/build.log"
    fail "qvin build $1"
    e2e_end
  fi
}

# layout INSTALLER KEY: a number from `qvin info --json`'s layout (section_offset, block_size...).
layout() {
  "$qvin" info "$1" --json | grep -o "\"$2\": [0-9]*" | head -1 | grep -o '[0-9]*$'
}

# flip_byte FILE OFFSET: inverts the bits of one byte in place.
flip_byte() {
  local value
  value=$(od -An -tu1 -j"$2" -N1 "$1" | tr -d ' ')
  printf "$(printf '\\%03o' $((value ^ 0xFF)))" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}

# drive NAME: runs the ui-driver with the script on standard input; its output goes to
# WORK/NAME.out and is shown when the driver fails. Returns the driver's status. Scripts
# are written in UTF-8; the installer's texts are Windows-1252, so both ways are converted.
drive() {
  local name=$1 status
  iconv -f UTF-8 -t CP1252 | "$wine_run" "$driver" 2>&1 | iconv -f CP1252 -t UTF-8 >"$work/$name.out"
  status=${PIPESTATUS[1]}
  if [ "$status" -ne 0 ]; then
    fail "$name: the ui-driver reports a failure (status $status)"
    sed 's/^/    /' "$work/$name.out"
  else
    pass "$name"
  fi
  return "$status"
}

# screenshot_line NAME: the driver command that saves build/screenshots/NAME.bmp.
screenshot_line() { printf 'screenshot %s' "$(winpath "$screenshots/$1.bmp")"; }

# wine_reg OP ARGS...: `wine reg` in the registry view of the stub's architecture.
wine_reg() { wine reg "$@" "$reg_view"; }
reg_query() { wine_reg query "$@"; }

# The product's uninstall registration, in either hive.
uninstall_key_exists() {
  local hive
  for hive in HKLM HKCU; do
    if reg_query "$hive\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$1" >/dev/null 2>&1; then
      return 0
    fi
  done
  return 1
}

# nothing_installed NAME DIR: no installation directory (a Linux path below drive_c) and no
# uninstall registration.
nothing_installed() {
  local name=$1 dir=$2
  if [ -e "$dir" ]; then
    fail "$name: $dir was created: $(find "$dir" | head -5 | tr '\n' ' ')"
  fi
  if uninstall_key_exists "$name"; then
    fail "$name: an uninstall registration was written"
  fi
}
