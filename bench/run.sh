#!/usr/bin/env bash
# run.sh [--app]: builds the benchmarks with plain g++ -O2, makes the corpus under
# build/corpus when it is missing, then prints decode throughput and compression
# figures side by side with zlib, gzip, xz and zstd. --app adds the 130 MB payload
# to the decode benchmark (the compression benchmark always runs both payloads).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
make -s -C "$root/bench" all
corpus="$root/build/corpus"
[ -f "$corpus/app.tar" ] || /work/shared/bench/make-corpus.sh "$corpus"
"$root/build/bench/decode_bench" "$corpus" "$@"
"$root/build/bench/compress_bench" "$corpus"
