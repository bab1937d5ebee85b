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
      {0, 10, 0, 2048, 0.0, "packing [-------------------------------------] 0/10 files  0 B/2.0 KB"},
      {5, 10, 1024, 2048, 2.0, "packing [############-------------] 5/10 files  1.0 KB/2.0 KB  512 B/s"},
      {10, 10, 2048, 2048, 1.0, "packing [#######################] 10/10 files  2.0 KB/2.0 KB  2.0 KB/s"},
  };
  for (const auto& c : cases) {
    const std::string line = qvin::progress_line("packing", c.files, c.files_total, c.bytes, c.bytes_total, c.seconds, 70);
    EXPECT_EQ(line, c.expected);
    EXPECT_LE(line.size(), 70u);
  }
  EXPECT_EQ(qvin::progress_line("x", 1, 2, 3, 4, 0, 10).size(), 10u) << "cut to the width";
  EXPECT_EQ(qvin::human_bytes(5 * 1024 * 1024 + 512 * 1024), "5.5 MB");
}

}  // namespace
