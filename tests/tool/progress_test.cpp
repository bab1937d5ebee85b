// The progress line: bar, counts, sizes and rate, fitted to the width.
#include <gtest/gtest.h>

#include "qvin/commands/progress.h"

namespace {

TEST(Progress, LineShowsFilesBytesAndRate) {
  struct Case {
    uint64_t files, files_total, bytes, bytes_total;
    double seconds;
    const char* expected;
  };
  const Case cases[] = {
      {0, 10, 0, 2048, 0.0, "packing [------------------------------------] 0/10 files  0 B/2.0 KiB"},
      {5, 10, 1024, 2048, 2.0, "packing [########---------] 5/10 files  1.0 KiB/2.0 KiB  512 B/s  0:02"},
      {10, 10, 2048, 2048, 1.0, "packing [##############] 10/10 files  2.0 KiB/2.0 KiB  2.0 KiB/s  0:01"},
      {0, 0, 0, 3 << 20, 75.0, "packing [------------------------------------------] 0 B/3.0 MiB  1:15"},
      {7, 0, 5 << 20, 0, 2.0, "packing 7 files  5.0 MiB  2.5 MiB/s  0:02"},
  };
  for (const auto& c : cases) {
    const std::string line = qvin::progress_line("packing", c.files, c.files_total, c.bytes, c.bytes_total, c.seconds, 70);
    EXPECT_EQ(line, c.expected);
    EXPECT_LE(line.size(), 70u);
  }
  EXPECT_EQ(qvin::progress_line("x", 1, 2, 3, 4, 0, 10).size(), 10u) << "cut to the width";
  struct Size {
    uint64_t bytes;
    const char* text;
  };
  const Size sizes[] = {{0, "0 B"},
                        {1023, "1023 B"},
                        {1024, "1.0 KiB"},
                        {5 * 1024 * 1024 + 512 * 1024, "5.5 MiB"},
                        {3ull << 30, "3.0 GiB"},
                        {5ull << 40, "5.0 TiB"}};
  for (const auto& s : sizes) EXPECT_EQ(qvin::human_bytes(s.bytes), s.text) << s.bytes;
}

}  // namespace
