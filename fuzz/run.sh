#!/usr/bin/env bash
# run.sh TARGET [SECONDS]: builds fuzz/TARGET_fuzz.cpp with clang++ and libFuzzer
# (address and undefined-behaviour sanitizers) and fuzzes it for SECONDS (default 60).
# Corpus: build/fuzz/TARGET/corpus; crashers: build/fuzz/TARGET/artifacts.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
target=${1:?usage: fuzz/run.sh TARGET [SECONDS]   (targets: $(cd "$root/fuzz" && ls *_fuzz.cpp | sed 's/_fuzz.cpp//' | tr '\n' ' '))}
seconds=${2:-60}
src="$root/fuzz/${target}_fuzz.cpp"
[ -f "$src" ] || { echo "run.sh: no fuzz target $src" >&2; exit 2; }
out="$root/build/fuzz/$target"
mkdir -p "$out/corpus" "$out/artifacts"
# The block codec only: the targets need nothing else of the archive library.
codec=("$root"/src/archive/{decompress,decompress_reference,block_encoder}.cpp)
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$root/src" "$src" "${codec[@]}" -o "$out/$target"
cd "$out"
exec "./$target" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=4096 -print_final_stats=1 \
  -artifact_prefix="$out/artifacts/" "$out/corpus" "${@:3}"
