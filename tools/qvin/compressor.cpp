// The archive compressor: level dispatch, threads, and the block around the token bits.
#include "qvin/compressor.h"

#include <stdexcept>
#include <string>

#include "archive/bit_writer.h"
#include "archive/block_format.h"
#include "qvin/match_finder.h"
#include "qvin/optimal_parser.h"
#include "qvin/token_stream.h"

namespace qvin {
namespace {

constexpr size_t kChunk = size_t{1} << 20;

std::vector<uint8_t> strong_tokens(std::span<const uint8_t> input, uint64_t& bits) {
  MatchFinder finder(input.data(), input.size(), 48, 128);
  OptimalParser parser(input.data(), input.size(), finder.nice_length());
  TokenStream stream(input.data(), 0);
  MatchChunk chunk;
  for (size_t begin = 0; begin < input.size(); begin += kChunk) {
    const size_t end = std::min(input.size(), begin + kChunk);
    finder.find_chunk(begin, end, chunk);
    parser.parse(chunk, stream);
  }
  return stream.finish(bits);
}

}  // namespace

std::vector<uint8_t> compress_block(std::span<const uint8_t> input, CompressionLevel level, unsigned threads) {
  (void)threads;
  if (input.size() > kMaxBlockInput) throw std::length_error("input too long for one block");
  uint64_t bits = 0;
  std::vector<uint8_t> tokens = strong_tokens(input, bits);
  (void)level;
  std::vector<uint8_t> block(archive::block::kHeaderSize);
  archive::put_block_header(block.data(), static_cast<uint32_t>(input.size()));
  uint64_t block_bits = 8 * block.size();
  append_bits(block, block_bits, tokens, bits);
  if (block.size() > static_cast<size_t>(archive::block::kMaxBlockSize)) {
    throw std::length_error("compressed block reaches 2^28 bytes");
  }
  return block;
}

}  // namespace qvin
