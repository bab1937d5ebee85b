// Helpers for tool tests: a temporary directory and small files of each kind.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tool/pe_fixture.h"

namespace qvin_test {

// A fresh directory under the system's temporary directory, removed with its contents.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qvin-test-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

inline void write_file(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

inline std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// A 2x2 24-bit bitmap file with a 40-byte header.
inline std::string make_bmp() {
  std::string b(14 + 40, '\0');
  b[0] = 'B';
  b[1] = 'M';
  const std::string pixels(16, '\x7F');  // two rows of 6 bytes, padded to 8
  put32(b, 2, static_cast<uint32_t>(14 + 40 + pixels.size()));
  put32(b, 10, 14 + 40);
  put32(b, 14, 40);
  put32(b, 18, 2);
  put32(b, 22, 2);
  put16(b, 26, 1);
  put16(b, 28, 24);
  return b + pixels;
}

// A 1x1 icon file (header, one directory entry, a tiny image).
inline std::string make_ico() {
  std::string b(6 + 16, '\0');
  put16(b, 2, 1);
  put16(b, 4, 1);
  b[6] = 1;
  b[7] = 1;
  put32(b, 6 + 8, 8);
  put32(b, 6 + 12, 22);
  return b + std::string(8, '\x55');
}

}  // namespace qvin_test
