// Decode throughput: fast decoder, reference decoder and zlib inflate on the same data;
// then the runtime's LZMA decoder against liblzma's on the stream the tool stores.
// Usage: decode_bench [CORPUS_DIR] [--app] [--smoke]   (CORPUS_DIR from make-corpus.sh; default
// build/corpus). --smoke: one quick pass over a little text, no corpus, to show it works.
#include <lzma.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "archive/decompress.h"
#include "archive/decompress_reference.h"
#include "archive/lzma_data.h"
#include "bench_data.h"
#include "qvin/compressor/compressor.h"
#include "qvin/compressor/lzma_encoder.h"

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

// liblzma's raw decoder over the stream behind the 13-byte header, into `out`.
bool liblzma_decode(const std::vector<uint8_t>& data, std::vector<uint8_t>& out) {
  archive::LzmaProperties properties;
  if (!archive::read_lzma_properties(data.data(), properties)) return false;
  lzma_options_lzma options = {};
  options.dict_size = properties.dictionary_size;
  options.lc = properties.literal_context_bits;
  options.lp = properties.literal_position_bits;
  options.pb = properties.position_bits;
  const lzma_filter filters[2] = {{LZMA_FILTER_LZMA1, &options}, {LZMA_VLI_UNKNOWN, nullptr}};
  size_t in_pos = archive::kLzmaDataHeaderSize, out_pos = 0;
  const lzma_ret ret =
      lzma_raw_buffer_decode(filters, nullptr, data.data(), &in_pos, data.size(), out.data(), &out_pos, out.size());
  // The stream ends with its marker after the last byte: liblzma stops at the full buffer.
  return (ret == LZMA_OK || ret == LZMA_STREAM_END || ret == LZMA_BUF_ERROR) && out_pos == out.size();
}

void measure_lzma(const char* name, const std::vector<uint8_t>& input) {
  const std::vector<uint8_t> data = qvin::lzma_encode_data(input, qvin::CompressionLevel::Strong);
  std::vector<uint8_t> out(input.size());
  const auto ours = [&] {
    return archive::decode_lzma_data(data.data(), static_cast<int64_t>(data.size()), out.data(),
                                     static_cast<int64_t>(out.size()));
  };
  if (!ours() || out != input || !liblzma_decode(data, out) || out != input) {
    std::fprintf(stderr, "%s: LZMA round trip failed\n", name);
    std::exit(1);
  }
  const double own = throughput(input.size(), ours);
  const double peer = throughput(input.size(), [&] { return liblzma_decode(data, out); });
  std::printf("%-10s %10zu %10zu | %9.1f %9.1f | %7.2fx\n", name, input.size(), data.size(), own, peer, own / peer);
}

void measure_all(const std::string& dir, bool app, void (*measure_one)(const char*, const std::vector<uint8_t>&)) {
  const std::vector<uint8_t> small = bench::read_file(dir + "/small.tar");
  if (small.empty()) {
    std::fprintf(stderr, "no %s/small.tar: run ../shared/bench/make-corpus.sh %s\n", dir.c_str(), dir.c_str());
  } else {
    measure_one("small", small);
  }
  measure_one("text", bench::synthetic_text(8u << 20));
  if (app) {
    const std::vector<uint8_t> big = bench::read_file(dir + "/app.tar");
    if (!big.empty()) measure_one("app", big);
  }
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
  const auto lzma_heading = [] {
    std::printf("\nLZMA decode throughput, output MB/s (best of 3); data = the tool's strong level\n");
    std::printf("%-10s %10s %10s | %9s %9s | %8s\n", "data", "bytes", "lzma", "runtime", "liblzma", "rt/lib");
  };
  if (smoke) {
    measure("text", bench::synthetic_text(64u << 10));
    lzma_heading();
    measure_lzma("text", bench::synthetic_text(64u << 10));
    return 0;
  }
  measure_all(dir, app, measure);
  lzma_heading();
  measure_all(dir, app, measure_lzma);
  return 0;
}
