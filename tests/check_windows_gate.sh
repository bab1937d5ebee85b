#!/usr/bin/env bash
# Checks the one-gate rule for Win32 headers: only src/core/win/windows.h includes
# <windows.h>; portable code (core outside win/, archive, the host tool and its tests)
# includes no Win32 header and no Windows-only header of ours.
# Usage: check_windows_gate.sh [SOURCE_ROOT]
set -u
root=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
cd "$root" || exit 2

sources() {  # C and C++ files below those of the given folders that exist
  local dirs=() d
  for d in "$@"; do [ -d "$d" ] && dirs+=("$d"); done
  [ ${#dirs[@]} -eq 0 ] && return 0
  find "${dirs[@]}" -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.c' -o -name '*.cpp' -o -name '*.inc' \) | sort
}

status=0

# 1. <windows.h> itself only through the gate.
windows_include='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]windows\.h[>"]'
for file in $(sources src tools); do
  [ "$file" = src/core/win/windows.h ] && continue
  if hits=$(grep -inE "$windows_include" "$file"); then
    echo "$file: includes <windows.h> directly, use \"core/win/windows.h\": $hits"
    status=1
  fi
done

# 2. Portable code: no Win32 header of any kind and no Windows-only header of ours.
#    A header of app/, ui/, install/ or uninstall/ counts as portable when it, and everything it
#    includes of ours, passes this same check: the pure rules of those folders are tested
#    natively.
win32_headers='windows|windef|winbase|winuser|wingdi|winreg|winnt|winver|winerror|shlobj|shellapi|shlwapi|objbase|ole2|oleauto|commctrl|commdlg|objidl|shobjidl'
system_include="^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"](${win32_headers})\\.h[>\"]"
windows_only_include='^[[:space:]]*#[[:space:]]*include[[:space:]]*"core/win/'
rules_include='^[[:space:]]*#[[:space:]]*include[[:space:]]*"(app|ui|install|uninstall)/[^"]*"'

# Prints the offending include lines of FILE, following our app/, ui/, install/ and uninstall/
# headers.
windows_includes() {
  local file=$1 seen=$2 header
  grep -inE "$system_include|$windows_only_include" "$file"
  for header in $(grep -oE "$rules_include" "$file" | sed -E 's/.*"([^"]*)"/\1/'); do
    case " $seen " in *" $header "*) continue ;; esac
    if [ ! -f "src/$header" ]; then
      echo "$header: not found"
    elif [ -n "$(windows_includes "src/$header" "$seen $header")" ]; then
      echo "$header: includes a Windows header"
    fi
  done
}

for file in $(sources src/core src/archive tools tests/host tests/tool); do
  # src/core/*_win.cpp: the Windows half of a portable concept (e.g. the clock), compiled
  # only under _WIN32 into the portable library so that portable tests link it under Wine.
  # tools/qvin/platform/*_win.inc: the same for the tool, included only under _WIN32.
  case "$file" in src/core/win/* | src/core/*_win.cpp | tools/qvin/platform/*_win.inc) continue ;; esac
  if hits=$(windows_includes "$file" "") && [ -n "$hits" ]; then
    echo "$file: portable code includes a Windows header: $hits"
    status=1
  fi
done

[ $status -eq 0 ] && echo "Win32 header gate: fine"
exit $status
