// Shared inputs of the benchmarks: corpus payloads from disk and synthetic text.
#pragma once

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace bench {

inline std::vector<uint8_t> read_file(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

inline bool write_file(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(f);
}

// Deterministic English-like text: words of skewed frequency, punctuation, lines.
inline std::vector<uint8_t> synthetic_text(size_t size) {
  static const char* const kWords[] = {
      "the",     "of",        "and",       "to",      "in",       "a",        "is",      "that",    "for",    "it",
      "as",      "was",       "with",      "be",      "by",       "on",       "not",     "he",      "this",   "are",
      "or",      "his",       "from",      "at",      "which",    "but",      "have",    "an",      "had",    "they",
      "install", "directory", "program",   "files",   "registry", "shortcut", "window",  "version", "system", "license",
      "readme",  "uninstall", "component", "archive", "setup",    "folder",   "restart", "message"};
  constexpr size_t kCount = sizeof(kWords) / sizeof(kWords[0]);
  std::vector<uint8_t> out;
  out.reserve(size);
  uint64_t state = 0x9E3779B97F4A7C15ull;
  size_t line = 0;
  while (out.size() < size) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    const uint32_t r = static_cast<uint32_t>(state >> 33);
    // Squaring the draw favours the first words, as natural text does.
    const uint64_t x = r & 0xFFFF;
    const char* word = kWords[static_cast<size_t>((x * x * kCount) >> 32)];
    for (const char* p = word; *p; ++p) out.push_back(static_cast<uint8_t>(*p));
    line += std::char_traits<char>::length(word) + 1;
    if (r % 17 == 0) out.push_back(',');
    if (line > 70) {
      out.push_back('.');
      out.push_back('\n');
      line = 0;
    } else {
      out.push_back(' ');
    }
  }
  out.resize(size);
  return out;
}

}  // namespace bench
