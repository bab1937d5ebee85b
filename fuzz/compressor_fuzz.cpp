// Fuzz target: blocks from both compression levels decode to their input.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "archive/decompress.h"
#include "qvin/compressor/compressor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first byte picks the level and the thread count; the rest is the input.
  if (size == 0) return 0;
  const auto level = (data[0] & 1) ? qvin::CompressionLevel::Strong : qvin::CompressionLevel::Fast;
  const unsigned threads = (data[0] & 2) ? 2 : 1;
  const std::vector<uint8_t> input(data + 1, data + size);
  const std::vector<uint8_t> block = qvin::compress_block(input, level, threads);
  uint8_t* out = nullptr;
  int out_len = 0;
  if (!archive::decompress(block.data(), static_cast<int>(block.size()), &out, &out_len) ||
      static_cast<size_t>(out_len) != input.size() || (out_len > 0 && memcmp(out, input.data(), input.size()) != 0)) {
    fprintf(stderr, "round trip failed for %zu bytes\n", input.size());
    abort();
  }
  archive::free_decompressed(out);
  return 0;
}
