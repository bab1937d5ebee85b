// Fuzz target: the fast decoder must agree with the reference decoder on every input.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "archive/bit_writer.h"
#include "archive/block_encoder.h"
#include "archive/block_format.h"
#include "archive/decompress.h"
#include "archive/decompress_reference.h"

// The first byte steers the rest: bit 0 writes the right magic so mutations reach
// the token stream; bit 1 keeps the expected length small so huge claims do not
// just exhaust memory; bit 2 encodes the rest as plain data and flips the stream
// bits named by its first bytes, which reaches deep into well-formed streams.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t steer = data[0];
  std::vector<uint8_t> block(data + 1, data + size);
  if ((steer & 4) && block.size() >= 4) {
    const uint32_t flips[2] = {static_cast<uint32_t>(block[0] | block[1] << 8),
                               static_cast<uint32_t>(block[2] | block[3] << 8)};
    std::vector<uint8_t> encoded(static_cast<size_t>(archive::encode_block_bound(static_cast<int>(block.size()))));
    const int n = archive::encode_block(block.data(), static_cast<int>(block.size()), encoded.data(),
                                        static_cast<int64_t>(encoded.size()));
    if (n < 0) abort();
    encoded.resize(static_cast<size_t>(n));
    for (const uint32_t flip : flips) {
      const size_t bit =
          8 * archive::block::kHeaderSize + flip % (8 * (encoded.size() - archive::block::kHeaderSize) + 1);
      if (bit / 8 < encoded.size()) encoded[bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8));
    }
    block = std::move(encoded);
  }
  if (block.size() >= 8) {
    uint32_t expected;
    memcpy(&expected, block.data() + 4, 4);
    if (steer & 1) archive::put_block_header(block.data(), expected);
    if (steer & 2)
      expected %= 1u << 12;
    else if (static_cast<int32_t>(expected) > (1 << 20))
      expected %= 1u << 20;
    memcpy(block.data() + 4, &expected, 4);
  }
  const int len = static_cast<int>(block.size());

  uint8_t* fast = nullptr;
  int fast_len = -1;
  uint8_t* reference = nullptr;
  int reference_len = -1;
  const bool fast_ok = archive::decompress(block.data(), len, &fast, &fast_len);
  const bool reference_ok = archive::decompress_reference(block.data(), len, &reference, &reference_len);
  if (fast_ok != reference_ok || fast_len != reference_len ||
      (fast_ok && memcmp(fast, reference, static_cast<size_t>(fast_len)) != 0)) {
    fprintf(stderr, "decoders disagree: fast %d (%d bytes), reference %d (%d bytes)\n", fast_ok, fast_len, reference_ok,
            reference_len);
    abort();
  }
  archive::free_decompressed(fast);
  archive::free_decompressed(reference);
  return 0;
}
