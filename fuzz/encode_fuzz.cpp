// Fuzz target: whatever the simple encoder writes decodes to its input.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "archive/block_encoder.h"
#include "archive/decompress.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int len = static_cast<int>(size);
  std::vector<uint8_t> block(static_cast<size_t>(archive::encode_block_bound(len)));
  const int written = archive::encode_block(data, len, block.data(), static_cast<int64_t>(block.size()));
  if (written < 0) {
    fprintf(stderr, "encoder refused %d bytes\n", len);
    abort();
  }
  uint8_t* out = nullptr;
  int out_len = 0;
  if (!archive::decompress(block.data(), written, &out, &out_len) || out_len != len ||
      (len > 0 && memcmp(out, data, size) != 0)) {
    fprintf(stderr, "round trip failed for %d bytes\n", len);
    abort();
  }
  archive::free_decompressed(out);
  return 0;
}
