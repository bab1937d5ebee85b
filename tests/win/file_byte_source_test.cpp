// The archive byte source over the File object.
#include "install/file_byte_source.h"

#include <gtest/gtest.h>

#include <string>

#include "file_test_support.h"

namespace install {
namespace {

using test_support::put_file;
using test_support::ScratchDirectory;

TEST(FileByteSource, ReadsRangesInsideTheFile) {
  ScratchDirectory dir;
  ASSERT_TRUE(put_file(dir / "image.bin", "0123456789"));
  core::File file;
  ASSERT_EQ(file.open((dir / "image.bin").c_str(), core::file_open::ReadShared), core::OpenResult::Opened);
  FileByteSource source(file);
  EXPECT_EQ(source.size(), 10);
  struct Case {
    int64_t offset;
    int n;
    bool ok;
    const char* bytes;
  };
  const Case cases[] = {
      {0, 10, true, "0123456789"}, {7, 3, true, "789"}, {10, 0, true, ""}, {8, 3, false, ""},
      {-1, 2, false, ""},          {2, -1, false, ""},  {11, 0, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.offset << "+" << c.n);
    char buffer[16] = {};
    EXPECT_EQ(source.read_at(c.offset, buffer, c.n), c.ok);
    if (c.ok) {
      EXPECT_STREQ(buffer, c.bytes);
    }
  }
  file.close();
  EXPECT_EQ(source.size(), -1);
  char byte;
  EXPECT_FALSE(source.read_at(0, &byte, 1));
}

}  // namespace
}  // namespace install
