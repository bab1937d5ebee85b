// LZMA coding of the archive data through liblzma.
#include "qvin/compressor/lzma_encoder.h"

#include <lzma.h>

#include <stdexcept>

#include "archive/lzma_data.h"

namespace qvin {

std::vector<uint8_t> lzma_encode_data(std::span<const uint8_t> input, CompressionLevel level) {
  if (input.size() > static_cast<uint64_t>(archive::kMaxLzmaExpandedLength))
    throw std::length_error("the archive data is too long for LZMA");
  lzma_options_lzma options;
  lzma_lzma_preset(&options, level == CompressionLevel::Strong ? 9 | LZMA_PRESET_EXTREME : 6);
  // A dictionary beyond the data gains nothing and costs the encoder memory; the runtime
  // decodes into the whole output, so the size costs it nothing either way.
  uint64_t dictionary = LZMA_DICT_SIZE_MIN;
  while (dictionary < input.size() && dictionary < (1536ull << 20)) dictionary *= 2;
  options.dict_size = static_cast<uint32_t>(dictionary < (1536ull << 20) ? dictionary : (1536ull << 20));
  lzma_filter filters[2] = {{LZMA_FILTER_LZMA1, &options}, {LZMA_VLI_UNKNOWN, nullptr}};

  std::vector<uint8_t> out(archive::kLzmaDataHeaderSize + input.size() + input.size() / 16 + 4096);
  size_t position = archive::kLzmaDataHeaderSize;
  const lzma_ret ret =
      lzma_raw_buffer_encode(filters, nullptr, input.data(), input.size(), out.data(), &position, out.size());
  if (ret != LZMA_OK) throw std::runtime_error("liblzma could not code the archive data (error " +
                                               std::to_string(static_cast<int>(ret)) + ")");
  out.resize(position);
  archive::LzmaProperties properties;
  properties.literal_context_bits = options.lc;
  properties.literal_position_bits = options.lp;
  properties.position_bits = options.pb;
  properties.dictionary_size = options.dict_size;
  archive::write_lzma_data_header(properties, static_cast<int64_t>(input.size()), out.data());
  return out;
}

}  // namespace qvin
