// The archive compressor: level dispatch, threads, and the block around the token bits.
#include "qvin/compressor/compressor.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "archive/bit_writer.h"
#include "archive/block_format.h"
#include "qvin/compressor/fast_parser.h"
#include "qvin/compressor/match_finder.h"
#include "qvin/compressor/optimal_parser.h"
#include "qvin/compressor/token_stream.h"

namespace qvin {
namespace {

// Positions parsed at once by the strong level; a token never crosses a chunk end.
constexpr size_t kChunk = size_t{1} << 20;
// Chunks the match finder may run ahead of the parser.
constexpr size_t kAhead = 3;

// Measured on a 130 MB payload: entering the positions inside taken matches as
// deeply as the others are searched is worth 1.5 % of the output.
constexpr MatchFinderOptions kStrongOptions{.depth = 32, .nice_length = 96, .skip_depth = 32, .parts = 1};

unsigned thread_count(unsigned requested) {
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  return std::clamp(requested == 0 ? cores : requested, 1u, 2u);
}

// The strong level: each partition of the match finder runs in a thread of its own,
// a few chunks ahead of the parser, which runs in the calling thread.
std::vector<uint8_t> strong_tokens(const uint8_t* data, size_t size, unsigned threads, uint64_t& bits) {
  MatchFinderOptions options = kStrongOptions;
  options.parts = threads;
  MatchFinder finder(data, size, options);
  OptimalParser parser(data, size, options.nice_length);
  TokenStream stream(data, 0, archive::block::kHeaderSize);
  const size_t chunks = (size + kChunk - 1) / kChunk;
  std::vector<std::vector<MatchChunk>> slots(kAhead, std::vector<MatchChunk>(options.parts));
  auto chunk_end = [&](size_t c) { return std::min(size, (c + 1) * kChunk); };

  if (options.parts == 1) {
    const MatchChunk* parts[1] = {&slots[0][0]};
    for (size_t c = 0; c < chunks; ++c) {
      finder.find_chunk(c * kChunk, chunk_end(c), 0, slots[0][0]);
      parser.parse(parts, stream);
    }
    return stream.finish(bits);
  }

  std::mutex mutex;
  std::condition_variable changed;
  std::vector<size_t> found(options.parts, 0);  // chunks done by each partition
  size_t parsed = 0;
  bool stop = false;
  std::exception_ptr failure;
  // Called in a handler: the first failure of either side is kept, and both sides stop.
  auto stop_on_failure = [&] {
    std::lock_guard lock(mutex);
    if (!failure) failure = std::current_exception();
    stop = true;
    changed.notify_all();
  };

  auto finder_thread = [&](unsigned part) {
    try {
      for (size_t c = 0; c < chunks; ++c) {
        {
          std::unique_lock lock(mutex);
          changed.wait(lock, [&] { return stop || c < parsed + kAhead; });
          if (stop) return;
        }
        finder.find_chunk(c * kChunk, chunk_end(c), part, slots[c % kAhead][part]);
        std::lock_guard lock(mutex);
        found[part] = c + 1;
        changed.notify_all();
      }
    } catch (...) {
      stop_on_failure();
    }
  };

  std::vector<std::thread> workers;
  for (unsigned part = 0; part < options.parts; ++part) workers.emplace_back(finder_thread, part);
  try {
    std::vector<const MatchChunk*> parts(options.parts);
    for (size_t c = 0; c < chunks; ++c) {
      {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return stop || std::ranges::all_of(found, [&](size_t f) { return f > c; }); });
        if (stop) break;
      }
      for (unsigned part = 0; part < options.parts; ++part) parts[part] = &slots[c % kAhead][part];
      parser.parse(parts, stream);
      std::lock_guard lock(mutex);
      parsed = c + 1;
      changed.notify_all();
    }
  } catch (...) {
    stop_on_failure();
  }
  for (std::thread& t : workers) t.join();
  if (failure) std::rethrow_exception(failure);
  return stream.finish(bits);
}

// The fast level: the input is cut in one piece per thread. Each thread first
// enters everything before its piece, so copies still reach the whole input; the
// first piece is larger because entering is cheaper than parsing.
std::vector<uint8_t> fast_tokens(const uint8_t* data, size_t size, unsigned threads, uint64_t& bits) {
  constexpr size_t kMinPiece = size_t{1} << 20;
  if (threads == 1 || size < 2 * kMinPiece) {
    FastParser parser(data, size);
    TokenStream stream(data, 0, archive::block::kHeaderSize);
    parser.parse(0, size, stream);
    return stream.finish(bits);
  }
  const size_t cut = size / 100 * 57;
  std::vector<uint8_t> second;
  uint64_t second_bits = 0;
  std::exception_ptr failure;
  std::thread worker([&] {
    try {
      FastParser parser(data, size);
      parser.enter(0, cut);
      TokenStream stream(data, cut);
      parser.parse(cut, size, stream);
      second = stream.finish(second_bits);
    } catch (...) {
      failure = std::current_exception();
    }
  });
  std::vector<uint8_t> first;
  try {
    FastParser parser(data, cut);
    TokenStream stream(data, 0, archive::block::kHeaderSize);
    parser.parse(0, cut, stream);
    first = stream.finish(bits);
  } catch (...) {
    worker.join();
    throw;
  }
  worker.join();
  if (failure) std::rethrow_exception(failure);
  append_bits(first, bits, second, second_bits);
  return first;
}

}  // namespace

std::vector<uint8_t> compress_block(std::span<const uint8_t> input, CompressionLevel level, unsigned threads) {
  if (input.size() > kMaxBlockInput) throw std::length_error("input too long for one block");
  threads = thread_count(threads);
  // The finders read the caller's bytes in place: a copy would cost as much memory
  // again as the input (the installer writer puts its data on huge pages itself).
  const uint8_t* data = input.data();
  uint64_t bits = 0;
  std::vector<uint8_t> block = level == CompressionLevel::Strong ? strong_tokens(data, input.size(), threads, bits)
                                                                 : fast_tokens(data, input.size(), threads, bits);
  // The first stream began with room for the block header.
  archive::put_block_header(block.data(), static_cast<uint32_t>(input.size()));
  if (block.size() > static_cast<size_t>(archive::block::kMaxBlockSize)) {
    throw std::length_error("compressed block reaches 2^28 bytes");
  }
  return block;
}

}  // namespace qvin
