#!/usr/bin/env bash
# run.sh [--app]: builds the benchmarks (targets of the host preset), makes the corpus
# under build/corpus when it is missing, then prints decode throughput and compression
# figures side by side with zlib, gzip, xz and zstd. --app adds the 130 MB payload to the
# decode benchmark (the compression benchmark always runs both payloads).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
[ -f build/host/build.ninja ] || cmake --preset host >/dev/null
cmake --build --preset host --target decode_bench compress_bench
corpus="$root/build/corpus"
# The corpus script is shared by every clone of the project, one level up.
make_corpus="$root/../shared/bench/make-corpus.sh"
if [ ! -f "$corpus/app.tar" ]; then
  [ -x "$make_corpus" ] || { echo "run.sh: no corpus script at $make_corpus" >&2; exit 1; }
  "$make_corpus" "$corpus"
fi
"$root/build/host/bench/decode_bench" "$corpus" "$@"
"$root/build/host/bench/compress_bench" "$corpus"
