// Fuzz target: the LZMA decoder never reads or writes out of bounds, and on every stream
// that the reference library (liblzma) decodes to the same length it gives the same bytes.
#include <lzma.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "archive/lzma_decode.h"

namespace {

// liblzma's raw decoding of the stream: true when it ends with its end marker after
// exactly `expected` bytes.
bool reference_decode(const uint8_t* in, size_t size, const archive::LzmaProperties& p, size_t expected,
                      std::vector<uint8_t>& out) {
  lzma_options_lzma options{};
  // The outputs here are below 32 KiB: a larger dictionary only costs liblzma memory.
  options.dict_size = p.dictionary_size < LZMA_DICT_SIZE_MIN ? LZMA_DICT_SIZE_MIN : p.dictionary_size;
  if (options.dict_size > (1u << 20)) options.dict_size = 1u << 20;
  options.lc = p.literal_context_bits;
  options.lp = p.literal_position_bits;
  options.pb = p.position_bits;
  lzma_filter filters[2] = {{LZMA_FILTER_LZMA1, &options}, {LZMA_VLI_UNKNOWN, nullptr}};
  out.assign(expected + 1, 0);
  size_t in_pos = 0, out_pos = 0;
  lzma_ret ret = lzma_raw_buffer_decode(filters, nullptr, in, &in_pos, size, out.data(), &out_pos, out.size());
  return ret == LZMA_OK && out_pos == expected && in_pos == size;
}

}  // namespace

// Input: 5 property bytes, 2 bytes of output size (small, so claims cannot exhaust
// memory), then the stream. With the top bit of the size set, the rest is first encoded
// by liblzma and one byte is changed, which reaches deep into well-formed streams.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 7) return 0;
  archive::LzmaProperties p;
  if (!archive::read_lzma_properties(data, p)) return 0;
  if (p.literal_context_bits + p.literal_position_bits > 8) return 0;  // keeps the tables small
  size_t expected = static_cast<size_t>(data[5] | (data[6] & 0x7F) << 8);
  std::vector<uint8_t> stream(data + 7, data + size);
  if (data[6] & 0x80) {
    lzma_options_lzma options;
    lzma_lzma_preset(&options, 0);
    options.lc = p.literal_context_bits;
    options.lp = p.literal_position_bits;
    options.pb = p.position_bits;
    p.dictionary_size = options.dict_size = 1 << 16;
    lzma_filter filters[2] = {{LZMA_FILTER_LZMA1, &options}, {LZMA_VLI_UNKNOWN, nullptr}};
    std::vector<uint8_t> encoded(stream.size() * 2 + 64);
    size_t pos = 0;
    if (lzma_raw_buffer_encode(filters, nullptr, stream.data(), stream.size(), encoded.data(), &pos,
                               encoded.size()) != LZMA_OK) {
      return 0;  // properties the encoder does not take
    }
    encoded.resize(pos);
    expected = stream.size();
    if (!stream.empty() && expected > 0) encoded[expected % encoded.size()] ^= static_cast<uint8_t>(1 + expected);
    stream = std::move(encoded);
  }
  std::vector<uint8_t> out(expected);
  archive::LzmaResult result = archive::lzma_decode(stream.data(), static_cast<int64_t>(stream.size()), p,
                                                    out.data(), static_cast<int64_t>(expected));
  std::vector<uint8_t> reference;
  bool reference_ok = reference_decode(stream.data(), stream.size(), p, expected, reference);
  // liblzma needs the end marker; ours also accepts a stream without one, so only its
  // successes must be ours too, with the same bytes.
  if (reference_ok) {
    if (result != archive::LzmaResult::Decoded) abort();
    if (expected > 0 && memcmp(out.data(), reference.data(), expected) != 0) abort();
  }
  return 0;
}
