// Decode throughput: fast decoder, reference decoder and zlib inflate on the same data.
// Usage: decode_bench [CORPUS_DIR] [--app] [--smoke]   (CORPUS_DIR from make-corpus.sh; default
// build/corpus). --smoke: one quick pass over a little text, no corpus, to show it works.
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "archive/decompress.h"
#include "archive/decompress_reference.h"
#include "bench_data.h"
#include "qvin/compressor/compressor.h"

namespace {

using Clock = std::chrono::steady_clock;

// Best of several timed rounds (each at least ~0.3 s) of `run`, in output MB/s.
// 0 in a smoke run: every round runs once.
double g_min_seconds = 0.3;

double throughput(size_t output_bytes, const std::function<bool()>& run, double min_seconds = g_min_seconds) {
  double best = 0;
  for (int round = 0; round < 3; ++round) {
    int reps = 0;
    const auto start = Clock::now();
    double elapsed = 0;
    do {
      if (!run()) {
        std::fprintf(stderr, "decode failed\n");
        std::exit(1);
      }
      ++reps;
      elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < min_seconds);
    best = std::max(best, static_cast<double>(output_bytes) * reps / elapsed / 1e6);
  }
  return best;
}

void measure(const char* name, const std::vector<uint8_t>& input) {
  const std::vector<uint8_t> block = qvin::compress_block(input, qvin::CompressionLevel::Strong);
  uLongf zsize = compressBound(static_cast<uLong>(input.size()));
  std::vector<uint8_t> zblock(zsize);
  compress2(zblock.data(), &zsize, input.data(), static_cast<uLong>(input.size()), 9);
  zblock.resize(zsize);

  std::vector<uint8_t> out(input.size());
  const int block_len = static_cast<int>(block.size());
  const int out_len = static_cast<int>(out.size());
  if (!archive::decompress_into(block.data(), block_len, out.data(), out_len) || out != input) {
    std::fprintf(stderr, "%s: round trip failed\n", name);
    std::exit(1);
  }
  const double fast =
      throughput(input.size(), [&] { return archive::decompress_into(block.data(), block_len, out.data(), out_len); });
  const double fast_alloc = throughput(input.size(), [&] {
    uint8_t* p;
    int n;
    const bool ok = archive::decompress(block.data(), block_len, &p, &n);
    archive::free_decompressed(p);
    return ok;
  });
  const double reference = throughput(
      input.size(),
      [&] {
        uint8_t* p;
        int n;
        const bool ok = archive::decompress_reference(block.data(), block_len, &p, &n);
        archive::free_decompressed(p);
        return ok;
      },
      g_min_seconds / 3);
  const double inflate = throughput(input.size(), [&] {
    uLongf n = static_cast<uLongf>(out.size());
    return uncompress(out.data(), &n, zblock.data(), static_cast<uLong>(zblock.size())) == Z_OK;
  });
  std::printf("%-10s %10zu %10zu %10zu | %9.1f %9.1f %9.1f %9.1f | %6.2fx %6.1fx\n", name, input.size(), block.size(),
              zblock.size(), fast, fast_alloc, reference, inflate, fast / inflate, fast / reference);
}

}  // namespace

int main(int argc, char** argv) {
  std::string dir = "build/corpus";
  bool app = false;
  bool smoke = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--app") == 0) {
      app = true;
    } else if (std::strcmp(argv[i], "--smoke") == 0) {
      smoke = true;
      g_min_seconds = 0;
    } else {
      dir = argv[i];
    }
  }
  std::printf("decode throughput, output MB/s (best of 3); block = strong level, zlib = level 9\n");
  std::printf("%-10s %10s %10s %10s | %9s %9s %9s %9s | %7s %7s\n", "data", "bytes", "block", "zlib", "fast",
              "fast+alloc", "reference", "inflate", "fast/inf", "fast/ref");
  if (smoke) {
    measure("text", bench::synthetic_text(64u << 10));
    return 0;
  }
  const std::vector<uint8_t> small = bench::read_file(dir + "/small.tar");
  if (small.empty()) {
    std::fprintf(stderr, "no %s/small.tar: run ../shared/bench/make-corpus.sh %s\n", dir.c_str(), dir.c_str());
  } else {
    measure("small", small);
  }
  measure("text", bench::synthetic_text(8u << 20));
  if (app) {
    const std::vector<uint8_t> big = bench::read_file(dir + "/app.tar");
    if (!big.empty()) measure("app", big);
  }
  return 0;
}
