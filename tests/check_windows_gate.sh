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
win32_headers='windows|windef|winbase|winuser|wingdi|winreg|winnt|winver|winerror|shlobj|shellapi|shlwapi|objbase|ole2|oleauto|commctrl|commdlg|objidl|shobjidl'
portable_include="^[[:space:]]*#[[:space:]]*include[[:space:]]*([<\"](${win32_headers})\\.h[>\"]|\"(core/win|install|uninstall|ui|app)/)"
for file in $(sources src/core src/archive tools tests/host tests/tool); do
  # src/core/*_win.cpp: the Windows half of a portable concept (e.g. the clock), compiled
  # only under _WIN32 into the portable library so that portable tests link it under Wine.
  case "$file" in src/core/win/* | src/core/*_win.cpp) continue ;; esac
  if hits=$(grep -inE "$portable_include" "$file"); then
    echo "$file: portable code includes a Windows header: $hits"
    status=1
  fi
done

[ $status -eq 0 ] && echo "Win32 header gate: fine"
exit $status
