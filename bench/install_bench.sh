#!/usr/bin/env bash
# install_bench.sh [PAYLOAD...]: installation and uninstallation time, installer size and
# peak memory under Wine, side by side in one Wine session: qvin at the fast (6) and the
# strong (9) level and with LZMA-coded data, NSIS (64-bit, as our x64 stub) with /SOLID zlib
# and /SOLID lzma (when makensis is installed), and
# the write floor (a program writing the same tree from memory). Payloads: small and app
# from the shared corpus script (default: both). Each variant installs and uninstalls
# alternately RUNS times (default 3) into fresh directories; the table gives medians with
# minimum and maximum, and ratios to NSIS zlib.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
payloads=("${@:-small}")
[ $# -gt 0 ] || payloads=(small app)
runs=${RUNS:-3}
qvin=$root/build/host/tools/qvin/qvin
stub=$root/build/win64/src/qvin-stub-x64.exe
[ -x "$qvin" ] && [ -f "$stub" ] || { echo "install_bench: build the host and win64 presets first (make build)" >&2; exit 2; }
work=$root/build/bench/install
mkdir -p "$work"
corpus=$root/build/corpus
corpus_script=$root/../shared/bench/make-corpus.sh  # shared by every clone, one level up
[ -f "$corpus/app.tar" ] || "$corpus_script" "$corpus" >/dev/null

# The bench has a prefix of its own, so that the tests' prefix keeps its state.
export QVIN_WINEPREFIX=$root/build/bench/wine-prefix
"$root/scripts/wine-session" start >/dev/null
trap '"$root/scripts/wine-session" stop >/dev/null 2>&1 || true' EXIT
# shellcheck source=../scripts/wine-env
. "$root/scripts/wine-env"
drive_c=$WINEPREFIX/drive_c
runner=$work/install_runner.exe
x86_64-w64-mingw32-g++-posix -std=c++17 -O2 -static -o "$runner" "$root/bench/install_runner.cpp" -lpsapi
winpath() { printf 'Z:%s' "$(tr / '\\' <<<"$1")"; }
now() { date +%s.%N; }
# run_timed PROGRAM ARGS...: "ms peak" of one run inside Wine.
run_timed() {
  local out
  out=$(timeout 600 wine "$runner" run "$@" 2>/dev/null | tr -d '\r')
  echo "$(sed -n 's/.*ms=\([0-9.]*\).*/\1/p' <<<"$out") $(sed -n 's/.*peak=\([0-9]*\).*/\1/p' <<<"$out")"
}
stats() {  # numbers on stdin -> "median min max"
  sort -n | awk '{v[NR]=$1} END {if (NR==0) {print "- - -"; exit} printf "%.0f %.0f %.0f\n", v[int((NR+1)/2)], v[1], v[NR]}'
}

makensis=$(command -v makensis || true)
printf '%-8s %-12s %11s %8s %22s %22s %9s %9s\n' payload variant size build_s "install_ms(med,min,max)" \
  "uninstall_ms(med,min,max)" peak_MiB vs_nsis
for payload in "${payloads[@]}"; do
  src=$corpus/$payload
  expanded=$(du -sb --apparent-size "$src" | cut -f1)
  dir=$work/$payload
  rm -rf "$dir"
  mkdir -p "$dir"
  name="Bench $payload"
  cat >"$dir/project.toml" <<TOML
[product]
name = "$name"

[install]
directory = 'C:\\bench'

[[files]]
source = "$src/*"
recursive = true
TOML
  # The same project with LZMA-coded data.
  sed 's/^\[\[files\]\]$/[archive]\ncompression = "lzma"\n\n[[files]]/' "$dir/project.toml" >"$dir/project-lzma.toml"
  declare -A size build install uninstall peak
  for v in qvin-6 qvin-9 qvin-lzma; do
    case $v in
      qvin-lzma) toml=$dir/project-lzma.toml level=9 ;;
      *) toml=$dir/project.toml level=${v#qvin-} ;;
    esac
    start=$(now)
    "$qvin" build "$toml" --stub "$stub" -o "$dir/$v.exe" -l "$level" -q
    build[$v]=$(printf '%.2f' "$(echo "$(now) - $start" | bc)")
    size[$v]=$(stat -c %s "$dir/$v.exe")
  done
  stored=$("$qvin" info "$dir/qvin-6.exe" --json | grep -o '"data_length": [0-9]*' | grep -o '[0-9]*$')
  variants=(qvin-6 qvin-9 qvin-lzma)
  if [ -n "$makensis" ]; then
    for codec in zlib lzma; do
      v=nsis-$codec
      {
        printf 'Target amd64-unicode\nName "%s"\nOutFile "%s"\nSetCompressor /SOLID %s\n' "$name" "$dir/$v.exe" "$codec"
        printf 'InstallDir "C:\\bench"\nRequestExecutionLevel admin\n'
        printf 'Section\nSetOutPath "$INSTDIR"\nFile /r "%s/*"\nWriteUninstaller "$INSTDIR\\uninst.exe"\nSectionEnd\n' "$src"
        # The uninstaller removes what was installed, file by file, as ours does.
        printf 'Section "Uninstall"\n'
        (cd "$src" && find . -type f | sed 's|^\./||' | sort) | while read -r f; do
          printf 'Delete "$INSTDIR\\%s"\n' "${f//\//\\}"
        done
        (cd "$src" && find . -mindepth 1 -type d | sed 's|^\./||' | sort -r) | while read -r d; do
          printf 'RMDir "$INSTDIR\\%s"\n' "${d//\//\\}"
        done
        printf 'Delete "$INSTDIR\\uninst.exe"\nRMDir "$INSTDIR"\nSectionEnd\n'
      } >"$dir/$v.nsi"
      start=$(now)
      "$makensis" -V1 "$dir/$v.nsi" >/dev/null
      build[$v]=$(printf '%.2f' "$(echo "$(now) - $start" | bc)")
      size[$v]=$(stat -c %s "$dir/$v.exe")
      variants+=("$v")
    done
  fi
  # A first installation warms Wine (its first window starts the desktop) and the file
  # cache; it is not counted.
  run_timed "$(winpath "$dir/qvin-6.exe")" /a '/d:C:\bench\warm-up' >/dev/null
  rm -rf "$drive_c/bench/warm-up"
  for ((r = 1; r <= runs; r++)); do
    for v in "${variants[@]}"; do
      target="C:\\bench\\$v-$r"
      rm -rf "$drive_c/bench/$v-$r"
      case $v in
        qvin-*)
          read -r ms pk < <(run_timed "$(winpath "$dir/$v.exe")" /a "/d:$target")
          uninstaller=$drive_c/bench/$v-$r/Uninstall/Uninstall.exe
          if [ -f "$uninstaller" ]; then
            read -r ums _ < <(run_timed "$target\\Uninstall\\Uninstall.exe" /a "/u:\"$name\"")
          else
            ums=
          fi ;;
        nsis-*)
          read -r ms pk < <(run_timed "$(winpath "$dir/$v.exe")" /S "/D=$target")
          read -r ums _ < <(run_timed "$target\\uninst.exe" /S "_?=$target") ;;
      esac
      install[$v]+="$ms "
      [ -n "$ums" ] && uninstall[$v]+="$ums "
      [ "${peak[$v]:-0}" -lt "${pk:-0}" ] && peak[$v]=$pk
      rm -rf "$drive_c/bench/$v-$r"
    done
    rm -rf "$drive_c/bench/floor-$r"
    floor_ms=$(wine "$runner" floor "$(winpath "$src")" "C:\\bench\\floor-$r" | tr -d '\r' | sed -n 's/ms=//p')
    install[floor]+="$floor_ms "
    rm -rf "$drive_c/bench/floor-$r"
  done
  read -r base _ _ < <(tr ' ' '\n' <<<"${install[nsis-zlib]:-}" | grep . | stats)
  for v in "${variants[@]}" floor; do
    read -r med lo hi < <(tr ' ' '\n' <<<"${install[$v]}" | grep . | stats)
    read -r umed ulo uhi < <(tr ' ' '\n' <<<"${uninstall[$v]:-}" | grep . | stats)
    ratio=-
    [ -n "$base" ] && [ "$base" != - ] && ratio=$(printf '%.2f' "$(echo "scale=3; $med / $base" | bc)")
    printf '%-8s %-12s %11s %8s %22s %22s %9s %9s\n' "$payload" "$v" "${size[$v]:--}" "${build[$v]:--}" \
      "$med,$lo,$hi" "$umed,$ulo,$uhi" "$( [ -n "${peak[$v]:-}" ] && echo "scale=1; ${peak[$v]} / 1048576" | bc || echo -)" "$ratio"
  done
  echo "$payload: M (stored data) $stored bytes, E (expanded) $expanded bytes; peak memory target M + E + 8 MiB = $(( (stored + expanded) / 1048576 + 8 )) MiB"
  [ -n "$makensis" ] || echo "$payload: NSIS not installed (apt-get install nsis): its columns are missing"
  unset size build install uninstall peak
done
