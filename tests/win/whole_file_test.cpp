// Whole-file operations: writing, comparing and appending with retries.
#include "core/win/whole_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "file_test_support.h"

namespace core {
namespace {

using test_support::exists;
using test_support::file_bytes;
using test_support::Holder;
using test_support::PauseRecorder;
using test_support::put_file;
using test_support::ScratchDirectory;
using test_support::WriteRecorder;

TEST(WholeFile, WriteReplacesTheContents) {
  ScratchDirectory dir;
  ASSERT_TRUE(put_file(dir / "old.txt", "old and longer contents"));
  struct Case {
    const char* label;
    std::string path;
    const char* data;
    int32_t count;
    bool ok;
    std::string contents;
  };
  const Case cases[] = {
      {"bytes with a zero inside", dir / "bytes.bin", "ab\0cd", 5, true, std::string("ab\0cd", 5)},
      {"up to the terminating zero", dir / "text.txt", "text", up_to_nul, true, "text"},
      {"over an older file", dir / "old.txt", "new", 3, true, "new"},
      {"nothing: the file is still made", dir / "empty.txt", "", 0, true, ""},
      {"empty path", "", "x", 1, false, "<missing>"},
      {"missing directory", dir / "nowhere\\f.txt", "x", 1, false, "<missing>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(write_file(c.path.c_str(), c.data, c.count), c.ok);
    EXPECT_EQ(file_bytes(c.path), c.contents);
  }
}

TEST(WholeFile, EqualsComparesSizeAndEveryByte) {
  ScratchDirectory dir;
  std::string data(10000, 'a');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>('a' + i % 26);
  ASSERT_TRUE(put_file(dir / "data.bin", data));
  std::string late_change = data;
  late_change[9000] = '!';  // in the third block of 4096
  struct Case {
    const char* label;
    std::string path;
    std::string expected;
    bool equal;
  };
  const Case cases[] = {
      {"same bytes", dir / "data.bin", data, true},
      {"one byte differs late", dir / "data.bin", late_change, false},
      {"shorter", dir / "data.bin", data.substr(0, 9999), false},
      {"missing file", dir / "missing.bin", data, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(file_equals(c.path.c_str(), c.expected.data(), static_cast<int32_t>(c.expected.size())), c.equal);
  }
}

TEST(WholeFile, AppendFollowsItsFlags) {
  ScratchDirectory dir;
  struct Case {
    const char* label;
    const char* before;  // null: no file
    uint32_t flags;
    bool ok;
    const char* after;
  };
  const Case cases[] = {
      {"to an existing file", "abc", 0, true, "abcline"},
      {"after a line end", "abc", append_flag::EnsureLineEnd, true, "abc\r\nline"},
      {"line end already there", "abc\r\n", append_flag::EnsureLineEnd, true, "abc\r\nline"},
      {"creates the file", nullptr, append_flag::EnsureLineEnd, true, "line"},
      {"existing only", nullptr, append_flag::ExistingOnly, false, "<missing>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::string path = dir / "log.txt";
    DeleteFileA(path.c_str());
    if (c.before != nullptr) {
      ASSERT_TRUE(put_file(path, c.before));
    }
    PauseRecorder pauses;
    EXPECT_EQ(append_to_file(path.c_str(), "line", c.flags), c.ok);
    EXPECT_EQ(file_bytes(path), c.after);
    EXPECT_TRUE(pauses.pauses.empty());
  }
}

TEST(WholeFile, FailedAppendsAreRetried) {
  ScratchDirectory dir;
  struct Case {
    const char* label;
    uint32_t flags;
    int failing_writes;
    bool ok;
    size_t pauses;
    const char* after;
  };
  const Case cases[] = {
      {"two failures, then written once", 0, 2, true, 2, "start\r\nline of text"},
      {"no retry", append_flag::NoRetry, 1, false, 0, "start\r\n"},
      {"ten attempts at most", 0, 100, false, 9, "start\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::string path = dir / "log.txt";
    ASSERT_TRUE(put_file(path, "start\r\n"));
    PauseRecorder pauses;
    WriteRecorder writes;
    writes.fail_next = c.failing_writes;
    writes.partial = 4;  // each failed write leaves part of the text behind
    EXPECT_EQ(append_to_file(path.c_str(), "line of text", c.flags), c.ok);
    EXPECT_EQ(pauses.pauses, std::vector<uint32_t>(c.pauses, 100));
    EXPECT_EQ(file_bytes(path), c.after);
  }
}

TEST(WholeFile, AppendToAFileHeldElsewhereFailsAtOnce) {
  ScratchDirectory dir;
  std::string path = dir / "held.txt";
  ASSERT_TRUE(put_file(path, "x"));
  Holder holder(path);
  PauseRecorder pauses;
  EXPECT_FALSE(append_to_file(path.c_str(), "line", 0));
  // The only waits are the File object's own sharing retries, not whole-append retries.
  EXPECT_EQ(pauses.pauses, std::vector<uint32_t>(5, 100));
  holder.release();
  EXPECT_EQ(file_bytes(path), "x");
  EXPECT_TRUE(exists(path));
}

}  // namespace
}  // namespace core
