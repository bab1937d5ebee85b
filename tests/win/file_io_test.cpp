// The File object's reads and writes: block errors and their texts, write pieces,
// positions, offset reads, appends, rewrites, memory mode and the modification time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/win/directory_listing.h"
#include "core/win/file.h"
#include "core/win/system_error.h"
#include "file_test_support.h"

namespace core {
namespace {

using test_support::file_bytes;
using test_support::put_file;
using test_support::ScratchDirectory;
using test_support::WriteRecorder;

std::string text_of(const String& s) { return std::string(s.text(), static_cast<size_t>(s.length())); }

TEST(FileIo, BlockReadsReportWhyTheyFail) {
  ScratchDirectory dir;
  ASSERT_TRUE(put_file(dir / "ten.txt", "0123456789"));
  struct Case {
    const char* label;
    uint32_t flags;
    int64_t at;
    int32_t count;
    bool null_buffer;
    bool ok;
    const char* bytes;  // what lands in the buffer
    const char* error;
  };
  const uint32_t read = file_open::ReadShared;
  const Case cases[] = {
      {"whole block", read, 2, 4, false, true, "2345", ""},
      {"nothing to read", read, 0, 0, false, true, "", ""},
      {"past the end keeps what was there", read, 6, 10, false, false, "6789", "Read past end of file"},
      {"at the end", read, 10, 1, false, false, "", "Read past end of file"},
      {"negative count", read, 0, -3, false, false, "", "Illegal block size -3"},
      {"no buffer", read, 0, 1, true, false, "", "NULL block pointer"},
      {"opened without read access", file_open::OpenExisting | file_open::NoRead, 0, 1, false, false, "",
       "Read access denied"},
      {"memory mode, past the end", read | file_open::MemoryMode, 6, 10, false, false, "6789",
       "Read past end of file"},
      {"memory mode, whole block", read | file_open::MemoryMode, 1, 3, false, true, "123", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    File file;
    ASSERT_EQ(file.open((dir / "ten.txt").c_str(), c.flags), OpenResult::Opened);
    ASSERT_TRUE(file.seek(c.at));
    char buffer[16] = {};
    EXPECT_EQ(file.read_block(c.null_buffer ? nullptr : buffer, c.count), c.ok);
    EXPECT_STREQ(buffer, c.bytes);
    EXPECT_EQ(text_of(file.error_text()), c.error);
  }
}

TEST(FileIo, FailedSystemReadGivesTheSystemText) {
  // A pipe whose writer has gone: ReadFile fails with ERROR_BROKEN_PIPE.
  char name[64];
  snprintf(name, sizeof(name), "\\\\.\\pipe\\qvin-file-test-%lu", GetCurrentProcessId());
  HANDLE server = CreateNamedPipeA(name, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 64, 64, 0, nullptr);
  ASSERT_NE(server, INVALID_HANDLE_VALUE);
  File file;
  ASSERT_EQ(file.open(name, file_open::ReadShared), OpenResult::Opened);
  CloseHandle(server);
  char buffer[4];
  EXPECT_FALSE(file.read_block(buffer, 4));
  EXPECT_EQ(text_of(file.error_text()), text_of(error_text(ERROR_BROKEN_PIPE)));
  EXPECT_FALSE(file.error_text().is_empty());
}

TEST(FileIo, WritesGoInPiecesOfOneMegabyte) {
  ScratchDirectory dir;
  std::string data(2 * 1048576 + 5, 0);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7 + i / 251);
  File file;
  ASSERT_EQ(file.open((dir / "big.bin").c_str(), file_open::WriteNew), OpenResult::Opened);
  WriteRecorder recorder;
  EXPECT_TRUE(file.write_block(data.data(), static_cast<int32_t>(data.size())));
  EXPECT_EQ(recorder.pieces, (std::vector<uint32_t>{1048576, 1048576, 5}));
  file.close();
  EXPECT_TRUE(file_bytes(dir / "big.bin") == data);
}

TEST(FileIo, BlockWritesReportWhyTheyFail) {
  ScratchDirectory dir;
  ASSERT_TRUE(put_file(dir / "file.txt", "0123456789"));
  struct Case {
    const char* label;
    uint32_t flags;
    int32_t count;
    int fail_pieces;  // pieces the system fails
    DWORD error;      // 0: the piece is written short
    bool ok;
    std::string error_text;
  };
  const Case cases[] = {
      {"written", file_open::ReadWrite, 3, 0, 0, true, ""},
      {"nothing to write", file_open::ReadWrite, 0, 0, 0, true, ""},
      {"negative count", file_open::ReadWrite, -1, 0, 0, false, "Illegal block size"},
      {"opened for reading", file_open::ReadShared, 3, 0, 0, false, "Write access denied"},
      {"system failure", file_open::ReadWrite, 3, 1, ERROR_DISK_FULL, false, text_of(error_text(ERROR_DISK_FULL))},
      {"short write", file_open::ReadWrite, 3, 1, 0, false, "Not all data could be written"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    File file;
    ASSERT_EQ(file.open((dir / "file.txt").c_str(), c.flags), OpenResult::Opened);
    WriteRecorder recorder;
    recorder.fail_next = c.fail_pieces;
    recorder.error = c.error;
    EXPECT_EQ(file.write_block("abc", c.count), c.ok);
    EXPECT_EQ(text_of(file.error_text()), c.error_text);
    // The object stays usable after a failed block.
    EXPECT_TRUE(file.is_open());
  }
  File closed;
  EXPECT_FALSE(closed.write_block("abc", 3));
  EXPECT_EQ(text_of(closed.error_text()), "Write access denied");
}

TEST(FileIo, PositionsOfOpenAndClosedFiles) {
  ScratchDirectory dir;
  ASSERT_TRUE(put_file(dir / "ten.txt", "0123456789"));
  for (uint32_t mode : {0u, file_open::MemoryMode}) {
    SCOPED_TRACE(mode ? "memory mode" : "file");
    File file;
    ASSERT_EQ(file.open((dir / "ten.txt").c_str(), file_open::ReadShared | mode), OpenResult::Opened);
    EXPECT_EQ(file.size(), 10);
    EXPECT_EQ(file.position(), 0);
    EXPECT_TRUE(file.more_data());
    EXPECT_TRUE(file.seek_end(-3));
    EXPECT_EQ(file.position(), 7);
    EXPECT_TRUE(file.seek_end(0));
    EXPECT_TRUE(file.at_end());
    EXPECT_FALSE(file.more_data());
    file.close();
    EXPECT_EQ(file.size(), -1);
    EXPECT_EQ(file.position(), -1);
    EXPECT_TRUE(file.at_end());
    EXPECT_FALSE(file.more_data());
  }
  File appending;
  ASSERT_EQ(appending.open((dir / "ten.txt").c_str(), file_open::ReadWrite | file_open::Append), OpenResult::Opened);
  EXPECT_EQ(appending.position(), 10);
}

TEST(FileIo, OffsetReadsKeepThePosition) {
  ScratchDirectory dir;
  ASSERT_TRUE(put_file(dir / "data.bin", std::string("name\0rest\0tail", 14)));
  for (uint32_t mode : {0u, file_open::MemoryMode}) {
    SCOPED_TRACE(mode ? "memory mode" : "file");
    File file;
    ASSERT_EQ(file.open((dir / "data.bin").c_str(), file_open::ReadShared | mode), OpenResult::Opened);
    ASSERT_TRUE(file.seek(2));
    String out;
    EXPECT_TRUE(file.read_at(5, 4, out));
    EXPECT_EQ(text_of(out), "rest");
    EXPECT_TRUE(file.read_at(10, 4, out));
    EXPECT_FALSE(file.read_at(11, 4, out));  // passes the end
    EXPECT_FALSE(file.read_at(-1, 2, out));
    EXPECT_FALSE(file.read_at(0, -2, out));
    char last[4];
    EXPECT_TRUE(file.read_last(last, 4));
    EXPECT_EQ(std::string(last, 4), "tail");
    EXPECT_FALSE(file.read_last(last, 15));
    EXPECT_EQ(file.position(), 2);

    ASSERT_TRUE(file.seek(0));
    EXPECT_TRUE(file.read_until_nul(out));
    EXPECT_EQ(text_of(out), "name");
    EXPECT_TRUE(file.read_until_nul(out));
    EXPECT_EQ(text_of(out), "rest");
    EXPECT_FALSE(file.read_until_nul(out));  // the end comes before a 0 byte
    EXPECT_EQ(text_of(out), "tail");
    EXPECT_TRUE(file.at_end());
  }
}

TEST(FileIo, EditsOfTheContents) {
  struct Case {
    const char* label;
    const char* before;
    int64_t at;   // position before the edit
    int edit;     // 0 ensure_line_end, 1 append_text, 2 rewrite, 3 truncate, 4 write at the position
    const char* text;
    const char* after;
    int64_t position;  // afterwards
  };
  const Case cases[] = {
      {"line end on an empty file", "", 0, 0, "", "", 0},
      {"line end after a letter", "abc", 0, 0, "", "abc\r\n", 0},
      {"line end after LF", "abc\n", 0, 0, "", "abc\n", 0},
      {"line end after CR", "abc\r", 0, 0, "", "abc\r", 0},
      {"append from the middle keeps the position", "abc", 1, 1, "de", "abcde", 1},
      {"append at the end moves on", "abc", 3, 1, "de", "abcde", 5},
      {"rewrite shorter", "long contents", 5, 2, "short", "short", 5},
      {"rewrite longer", "ab", 0, 2, "longer", "longer", 6},
      {"truncate at the position", "0123456789", 4, 3, "", "0123", 4},
      {"write over the middle", "0123456789", 2, 4, "XY", "01XY456789", 4},
      {"write across the end", "0123", 3, 4, "XYZ", "012XYZ", 6},
  };
  ScratchDirectory dir;
  for (uint32_t mode : {0u, file_open::MemoryMode}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.label) + (mode ? " (memory mode)" : ""));
      ASSERT_TRUE(put_file(dir / "edit.txt", c.before));
      {
        File file;
        ASSERT_EQ(file.open((dir / "edit.txt").c_str(), file_open::ReadWrite | mode), OpenResult::Opened);
        ASSERT_TRUE(file.seek(c.at));
        String text(c.text);
        bool ok = false;
        switch (c.edit) {
          case 0: ok = file.ensure_line_end(); break;
          case 1: ok = file.append_text(text); break;
          case 2: ok = file.rewrite(text); break;
          case 3: ok = file.truncate(); break;
          case 4: ok = file.write_block(text.text(), text.length()); break;
        }
        EXPECT_TRUE(ok);
        EXPECT_EQ(file.position(), c.position);
        EXPECT_TRUE(file.close());
      }
      EXPECT_EQ(file_bytes(dir / "edit.txt"), c.after);
    }
  }
}

TEST(FileIo, MemoryModeHoldsTheFileUntilClosed) {
  ScratchDirectory dir;
  ASSERT_TRUE(put_file(dir / "memo.txt", "original contents"));
  File file;
  ASSERT_EQ(file.open((dir / "memo.txt").c_str(), file_open::ReadWrite | file_open::ShareRead | file_open::MemoryMode),
            OpenResult::Opened);
  EXPECT_TRUE(file.in_memory_mode());
  String all;
  EXPECT_TRUE(file.load_all(all));
  EXPECT_EQ(text_of(all), "original contents");
  EXPECT_TRUE(file.rewrite(String("new")));
  EXPECT_EQ(file_bytes(dir / "memo.txt"), "original contents");  // nothing written yet
  EXPECT_TRUE(file.close());
  EXPECT_EQ(file_bytes(dir / "memo.txt"), "new");  // and the file shrank with it
  EXPECT_FALSE(file.in_memory_mode());

  // Without read access there is nothing to load.
  File unreadable;
  EXPECT_EQ(unreadable.open((dir / "memo.txt").c_str(), file_open::OpenExisting | file_open::NoRead |
                                                              file_open::MemoryMode),
            OpenResult::MemoryLoadFailed);
  EXPECT_FALSE(unreadable.is_open());
}

TEST(FileIo, LoadAllReadsTheWholeFile) {
  ScratchDirectory dir;
  std::string data(70000, 'q');
  data[69999] = 'z';
  ASSERT_TRUE(put_file(dir / "whole.bin", data));
  ASSERT_TRUE(put_file(dir / "empty.bin", ""));
  File file;
  String out;
  ASSERT_EQ(file.open((dir / "whole.bin").c_str(), file_open::ReadShared), OpenResult::Opened);
  ASSERT_TRUE(file.seek(100));
  EXPECT_TRUE(file.load_all(out));
  EXPECT_TRUE(text_of(out) == data);
  ASSERT_EQ(file.open((dir / "empty.bin").c_str(), file_open::ReadShared), OpenResult::Opened);
  EXPECT_TRUE(file.load_all(out));
  EXPECT_EQ(out.length(), 0);
  file.close();
  EXPECT_FALSE(file.load_all(out));
}

TEST(FileIo, ModifiedTimeIsSetFromALocalRecord) {
  ScratchDirectory dir;
  struct Case {
    const char* label;
    uint32_t mode;
    FileTimeRecord time;
    bool ok;
  };
  const Case cases[] = {
      {"plain file", 0, {2006, 3, 5, 14, 7, 9}, true},
      {"memory mode, written before the time is set", file_open::MemoryMode, {1999, 12, 31, 23, 59, 58}, true},
      {"no date", 0, {0, 0, 0, 10, 0, 0}, false},
      {"no time of day", 0, {2006, 3, 5, -1, 0, 0}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ASSERT_TRUE(put_file(dir / "stamped.txt", "x"));
    {
      File file;
      ASSERT_EQ(file.open((dir / "stamped.txt").c_str(), file_open::ReadWrite | c.mode), OpenResult::Opened);
      ASSERT_TRUE(file.append_text("more"));
      EXPECT_EQ(file.set_modified_time(c.time), c.ok);
    }
    FileTimeRecord after = modified_time((dir / "stamped.txt").c_str());
    if (c.ok) {
      EXPECT_EQ(compare_file_times(after, c.time), 0) << after.year << "-" << after.month << "-" << after.day << " "
                                                      << after.hour << ":" << after.minute << ":" << after.second;
      EXPECT_EQ(file_bytes(dir / "stamped.txt"), "xmore");
    } else {
      EXPECT_NE(compare_file_times(after, c.time), 0);
    }
  }
}

}  // namespace
}  // namespace core
