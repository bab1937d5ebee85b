// Compression size and time: our fast and strong levels against gzip, xz and zstd.
// Usage: compress_bench [CORPUS_DIR] [PAYLOAD...] [--smoke]   (default build/corpus, payloads
// small app). Each payload is CORPUS_DIR/PAYLOAD.tar, the solid stream of its files.
// --smoke: only a little synthetic text, written to CORPUS_DIR/text.tar, to show it works.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "archive/decompress.h"
#include "bench_data.h"
#include "qvin/compressor/compressor.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Row {
  std::string name;
  size_t size;
  double seconds;
};

double since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

Row ours(const char* name, const std::vector<uint8_t>& input, qvin::CompressionLevel level) {
  const auto start = Clock::now();
  const std::vector<uint8_t> block = qvin::compress_block(input, level);
  const double seconds = since(start);
  std::vector<uint8_t> out(input.size());
  if (!archive::decompress_into(block.data(), static_cast<int>(block.size()), out.data(),
                                static_cast<int>(out.size())) ||
      out != input) {
    std::fprintf(stderr, "%s: the block does not decode to its input\n", name);
    std::exit(1);
  }
  return Row{name, block.size(), seconds};
}

// Runs `command` with the payload on stdin; the size of what it writes.
Row peer(const std::string& command, const std::string& path) {
  const std::string out = path + ".peer";
  const std::string line = command + " < '" + path + "' > " + out;
  const auto start = Clock::now();
  if (std::system(line.c_str()) != 0) {
    std::fprintf(stderr, "failed: %s\n", line.c_str());
    return Row{command + " (failed)", 0, 0};
  }
  const double seconds = since(start);
  const size_t size = bench::read_file(out).size();
  std::remove(out.c_str());
  return Row{command, size, seconds};
}

}  // namespace

int main(int argc, char** argv) {
  std::string dir = "build/corpus";
  std::vector<std::string> payloads;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "small" || arg == "app") {
      payloads.push_back(arg);
    } else if (arg == "--smoke") {
      payloads = {"text"};
    } else {
      dir = arg;
    }
  }
  if (payloads.empty()) payloads = {"small", "app"};
  std::printf("compression of solid payloads; ours uses up to %u threads, peers as they default\n",
              std::min(2u, std::max(1u, std::thread::hardware_concurrency())));
  for (const std::string& payload : payloads) {
    const std::string path = dir + "/" + payload + ".tar";
    if (payload == "text" && !bench::write_file(path, bench::synthetic_text(64u << 10))) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
    const std::vector<uint8_t> input = bench::read_file(path);
    if (input.empty()) {
      std::fprintf(stderr, "no %s: run ../shared/bench/make-corpus.sh %s\n", path.c_str(), dir.c_str());
      return 1;
    }
    std::vector<Row> rows;
    rows.push_back(ours("qvin fast", input, qvin::CompressionLevel::Fast));
    rows.push_back(ours("qvin strong", input, qvin::CompressionLevel::Strong));
    for (const char* command : {"gzip -6", "gzip -9", "xz -9", "zstd -q -19 --long=27"})
      rows.push_back(peer(command, path));
    size_t gzip9 = 0;
    for (const Row& r : rows) {
      if (r.name == "gzip -9") gzip9 = r.size;
    }
    std::printf("\n%s: %zu bytes\n%-24s %12s %8s %10s %9s\n", payload.c_str(), input.size(), "compressor", "bytes",
                "ratio", "vs gzip-9", "seconds");
    for (const Row& r : rows) {
      std::printf("%-24s %12zu %8.4f %9.3fx %9.2f\n", r.name.c_str(), r.size,
                  static_cast<double>(r.size) / static_cast<double>(input.size()),
                  gzip9 ? static_cast<double>(r.size) / static_cast<double>(gzip9) : 0.0, r.seconds);
    }
  }
  return 0;
}
