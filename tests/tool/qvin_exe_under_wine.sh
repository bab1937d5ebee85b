#!/usr/bin/env bash
# qvin.exe under Wine against the Linux qvin: a small project (files in a subdirectory,
# non-ASCII names in the project's folder, its files and the output) built by both gives
# the same installer byte for byte, once with each codec; qvin.exe verifies and lists it,
# and its exit codes tell success from a damaged installer.
# Usage: qvin_exe_under_wine.sh QVIN_EXE STUB HOST_QVIN WORK_DIR
set -uo pipefail
qvin_exe=$1 stub=$2 host_qvin=$3 work=$4
scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts" && pwd)
if [ ! -x "$host_qvin" ]; then
  echo "SKIPPED: no Linux qvin at $host_qvin (build the host preset)"
  exit 77
fi
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -rf "$work" && mkdir -p "$work"
project=$work/projet-été
mkdir -p "$project/data/docs"
printf 'readme\r\n' >"$project/README.txt"
printf 'résumé\n' >"$project/résumé.txt"
head -c 20000 /dev/zero | tr '\0' 'q' >"$project/data/big.bin"
printf 'manual\n' >"$project/data/docs/manuel-ü.txt"
touch -d '2024-05-01 12:00:00 UTC' "$project/README.txt" "$project/résumé.txt" "$project/data/big.bin" \
  "$project/data/docs/manuel-ü.txt"

write_project() {  # CODEC
  cat >"$project/app.toml" <<TOML
[product]
name = "Wine check"
version = "1.0"

[archive]
compression = "$1"

[[files]]
source = ["README.txt", "résumé.txt"]

[[files]]
source = "data"
recursive = true
subdirectory = "données"
TOML
}

# A Linux path as Wine sees it (drive Z: is the root).
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

run_exe() { "$scripts/wine-run" "$qvin_exe" "$@" 2>&1 | tr -d '\r'; return "${PIPESTATUS[0]}"; }

export SOURCE_DATE_EPOCH=1714564800
for codec in qvin lzma; do
  write_project "$codec"
  # The same name in two folders: the name is stored (the volume files' base name).
  linux_out=$project/linux/$codec-é.exe wine_out=$project/wine/$codec-é.exe
  mkdir -p "$project/linux" "$project/wine"
  "$host_qvin" build "$project/app.toml" --stub "$stub" -o "$linux_out" --quiet >/dev/null ||
    fail "$codec: the Linux build failed"
  output=$(run_exe build "$(windows_path "$project/app.toml")" --stub "$(windows_path "$stub")" \
    -o "$(windows_path "$wine_out")" --quiet)
  status=$?
  [ $status -eq 0 ] || fail "$codec: qvin.exe build exited $status: $output"
  cmp -s "$linux_out" "$wine_out" || fail "$codec: the installers differ: $(cmp "$linux_out" "$wine_out" 2>&1)"

  output=$(run_exe verify "$(windows_path "$wine_out")")
  status=$?
  [ $status -eq 0 ] || fail "$codec: qvin.exe verify exited $status: $output"

  listing=$(run_exe list "$(windows_path "$wine_out")")
  status=$?
  [ $status -eq 0 ] || fail "$codec: qvin.exe list exited $status: $listing"
  [ "$listing" = "$("$host_qvin" list "$linux_out")" ] ||
    fail "$codec: the listings differ: $listing"
  for name in 'README.txt' 'résumé.txt' 'données\big.bin' 'données\docs\manuel-ü.txt'; do
    grep -qF -- "$name" <<<"$listing" || fail "$codec: $name is not listed: $listing"
  done
  [ $failures -eq 0 ] && echo "ok   $codec: byte-identical, verified and listed"
done

# A damaged installer (a byte of its header block changed): qvin.exe says so with exit
# code 1, as the Linux qvin does.
damaged=$project/damaged.exe
cp "$project/wine/lzma-é.exe" "$damaged"
section=$("$host_qvin" info "$damaged" | sed -n 's/.* at offset \([0-9]*\) .*/\1/p')
printf '\x5a' | dd of="$damaged" bs=1 seek=$((section + 200)) conv=notrunc status=none
"$host_qvin" verify "$damaged" >/dev/null 2>&1
linux_status=$?
output=$(run_exe verify "$(windows_path "$damaged")")
status=$?
[ $linux_status -eq 1 ] || fail "the Linux qvin's verify of a damaged installer exited $linux_status"
[ $status -eq 1 ] || fail "qvin.exe verify of a damaged installer exited $status: $output"
[ $failures -eq 0 ] && echo "ok   damaged installer: exit code 1 from both"

exit $((failures > 0))
