#!/usr/bin/env bash
# run.sh [--app]: builds the benchmarks (targets of the host preset), makes the corpus
# under build/corpus when it is missing, then prints decode throughput and compression
# figures side by side with zlib, gzip, xz and zstd. --app adds the 130 MB payload to the
# decode benchmark (the compression benchmark always runs both payloads). Then the
# installation benchmark under Wine against NSIS (install_bench.sh; INSTALL_PAYLOADS
# chooses its payloads, "small app" by default, RUNS its repetitions).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
[ -f build/host/build.ninja ] || cmake --preset host >/dev/null
cmake --build --preset host --target decode_bench compress_bench qvin
corpus="$root/build/corpus"
# The corpus script is shared by every clone of the project, one level up.
make_corpus="$root/../shared/bench/make-corpus.sh"
if [ ! -f "$corpus/app.tar" ]; then
  [ -x "$make_corpus" ] || { echo "run.sh: no corpus script at $make_corpus" >&2; exit 1; }
  "$make_corpus" "$corpus"
fi
"$root/build/host/bench/decode_bench" "$corpus" "$@"
"$root/build/host/bench/compress_bench" "$corpus"
[ -f build/win64/build.ninja ] || cmake --preset win64 >/dev/null
cmake --build --preset win64 --target qvin_stub
# shellcheck disable=SC2086
"$root/bench/install_bench.sh" ${INSTALL_PAYLOADS:-small app}
