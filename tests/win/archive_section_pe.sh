#!/usr/bin/env bash
# archive_section_pe.sh PROBE.exe SECTION_TOOL.exe WORKDIR
# A real Windows program carries the archive section and still runs; the uninstaller cut
# out of it runs and equals the program; both are well-formed for objdump; a signed
# installer verifies, reads back whole and gives the same unsigned uninstaller.
set -euo pipefail
probe=$1 tool=$2 work=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
"$root/scripts/wine-run" --check "$probe" || exit 77
# The x86_64 objdump reads both formats; it prints 64-bit addresses for 64-bit programs only.
objdump=x86_64-w64-mingw32-objdump
case $("$objdump" -f "$probe") in
  *pei-i386*) no_certificate='Entry 4 00000000 00000000' ;;
  *) no_certificate='Entry 4 0000000000000000 00000000' ;;
esac
rm -rf "$work" && mkdir -p "$work"
cp "$probe" "$work/stub.exe"
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
winpath() { printf 'Z:%s' "${1//\//\\}"; }
# expect CODE PROGRAM ARGS...: runs a Windows program under Wine, checks its exit code.
expect() {
  local want=$1 status=0
  shift
  "$root/scripts/wine-run" "$@" || status=$?
  [ "$status" = "$want" ] || fail "$(basename "$1") ${*:2} exited $status, expected $want"
}
tool() { expect 0 "$tool" "$@"; }
# sections FILE: the section names objdump sees, one line; fails on a file it cannot parse.
sections() { "$objdump" -h "$1" | awk '/^ *[0-9]+ /{print $2}' | tr '\n' ' '; }
# check_headers FILE: objdump parses the headers; SizeOfImage is the end of the last section.
check_headers() {
  local dump
  dump=$("$objdump" -p "$1") || { fail "objdump cannot read $1"; return; }
  local size_of_image=$((16#$(awk '/^SizeOfImage/{print $2}' <<<"$dump")))
  local alignment=$((16#$(awk '/^SectionAlignment/{print $2}' <<<"$dump")))
  local base=$((16#$(awk '/^ImageBase/{print $2}' <<<"$dump")))
  local end=0 size vma last
  while read -r _ _ size vma _; do
    last=$((16#$vma - base + (16#$size + alignment - 1) / alignment * alignment))
    if ((last > end)); then end=$last; fi
  done < <("$objdump" -h "$1" | awk '/^ *[0-9]+ /')
  [ "$end" = "$size_of_image" ] || fail "$1: SizeOfImage $size_of_image, sections end at $end"
}

stub_sections=$(sections "$work/stub.exe")
expect 42 "$work/stub.exe"

# Data wholly in the section, and data split over volumes of 128 KiB.
for variant in whole:0:200000 volumes:131072:400000; do
  IFS=: read -r name volume_size data_size <<<"$variant"
  installer="$work/$name.exe" uninstaller="$work/$name-uninstall.exe"
  tool build "$(winpath "$work/stub.exe")" "$(winpath "$installer")" "$volume_size" "$data_size"
  [ "$(sections "$installer")" = "$stub_sections.qvin " ] || fail "$name: sections $(sections "$installer")"
  # Whole outputs into variables: `grep -q` stopping early must not fail the pipeline.
  headers=$("$objdump" -h "$installer")
  grep -A1 ' \.qvin ' <<<"$headers" | grep -q 'CONTENTS, ALLOC, LOAD, READONLY, DATA' ||
    fail "$name: .qvin is not read-only initialised data"
  check_headers "$installer"
  expect 43 "$installer"
  for placement in image file; do
    tool read "$(winpath "$installer")" "$placement" "$data_size"
  done
  tool cut "$(winpath "$installer")" "$(winpath "$uninstaller")"
  [ "$(sections "$uninstaller")" = "$stub_sections" ] || fail "$name: uninstaller sections $(sections "$uninstaller")"
  check_headers "$uninstaller"
  expect 42 "$uninstaller"
  cmp -s "$work/stub.exe" "$uninstaller" || fail "$name: the uninstaller differs from the program"
done
ls "$work"/volumes*.QVA >/dev/null || fail "no volume files written"

# Signing: a self-signed certificate made for this run.
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" -days 2 \
  -subj "/CN=qvin test signer" >/dev/null 2>&1
for name in whole volumes; do
  signed="$work/signed-$name.exe"
  osslsigncode sign -certs "$work/cert.pem" -key "$work/key.pem" -n "qvin test" -in "$work/$name.exe" \
    -out "$signed" >/dev/null || fail "$name: signing failed"
  osslsigncode verify -CAfile "$work/cert.pem" -in "$signed" >/dev/null 2>&1 || fail "$name: signature does not verify"
  for volume in "$work/$name"*.QVA; do
    if [ -e "$volume" ]; then cp "$volume" "$work/signed-$(basename "$volume")"; fi
  done
  expect 43 "$signed"
  data_size=200000
  [ "$name" = volumes ] && data_size=400000
  for placement in image file; do
    tool read "$(winpath "$signed")" "$placement" "$data_size"
  done
  tool cut "$(winpath "$signed")" "$(winpath "$work/signed-$name-uninstall.exe")"
  cmp -s "$work/stub.exe" "$work/signed-$name-uninstall.exe" || fail "$name: signed installer's uninstaller differs"
  headers=$("$objdump" -p "$work/signed-$name-uninstall.exe")
  grep -q "$no_certificate" <<<"$headers" || fail "$name: the uninstaller still names a certificate table"
  expect 42 "$work/signed-$name-uninstall.exe"
done

[ "$failures" = 0 ] && echo "archive section under Wine: all checks passed"
exit $((failures > 0))
