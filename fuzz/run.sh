#!/usr/bin/env bash
# run.sh TARGET|all [SECONDS]: builds fuzz/TARGET_fuzz.cpp with clang++ and libFuzzer
# (address and undefined-behaviour sanitizers) and fuzzes it for SECONDS (default 60);
# `all` runs every target for SECONDS each. Corpus: build/fuzz/TARGET/corpus;
# crashers: build/fuzz/TARGET/artifacts. Extra arguments go to libFuzzer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
targets=$(cd "$root/fuzz" && ls ./*_fuzz.cpp | sed 's|^\./||; s/_fuzz\.cpp$//' | tr '\n' ' ')
target=${1:?usage: fuzz/run.sh TARGET|all [SECONDS]   (targets: $targets)}
seconds=${2:-60}
if [ "$target" = all ]; then
  for t in $targets; do "$0" "$t" "$seconds" "${@:3}"; done
  exit 0
fi
src="$root/fuzz/${target}_fuzz.cpp"
[ -f "$src" ] || { echo "run.sh: no fuzz target $src (targets: $targets)" >&2; exit 2; }
out="$root/build/fuzz/$target"
mkdir -p "$out/corpus" "$out/artifacts"
# The portable libraries (core without its allocator hooks, archive) and the tool's
# compressor; each target links what it calls.
sources=()
for f in "$root"/src/core/*.cpp "$root"/src/archive/*.cpp; do
  case "$f" in */new_delete.cpp) continue ;; esac
  sources+=("$f")
done
sources+=("$root"/tools/qvin/{compressor,match_finder,optimal_parser,fast_parser,token_stream,large_array}.cpp)
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$root/src" -I"$root/tools" "$src" "${sources[@]}" -o "$out/$target" -pthread -llzma
cd "$out"
echo "fuzzing $target for $seconds s (log: $out/last.log)"
status=0
"./$target" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=4096 -print_final_stats=1 \
  -artifact_prefix="$out/artifacts/" "$out/corpus" "${@:3}" > "$out/last.log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
  tail -n 40 "$out/last.log"
  echo "run.sh: $target failed; the input is in $out/artifacts" >&2
  exit "$status"
fi
grep -aE '^(Done|stat::number_of_executed_units|stat::new_units_added)' "$out/last.log"
