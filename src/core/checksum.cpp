// The library's 32-bit text checksum.
#include "core/checksum.h"

namespace core {

uint32_t checksum_words(uint32_t sum, const void* bytes, int64_t length) {
  if (bytes == nullptr || length <= 0) return sum;
  const uint8_t* p = static_cast<const uint8_t*>(bytes);
  const int64_t words = length / 4;
  for (int64_t i = 0; i < words; ++i, p += 4) {
    sum += static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
  }
  for (int64_t i = 0; i < length % 4; ++i) sum += static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(p[i])));
  return sum;
}

uint32_t archive_checksum(const void* bytes, int64_t length) {
  if (bytes == nullptr || length <= 0) return kChecksumSeed;
  return checksum_words(kChecksumSeed, bytes, length) + static_cast<uint32_t>(length);
}

}  // namespace core
