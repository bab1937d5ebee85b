// Small pieces of the archive container: checksum, code meanings, byte sources, the cursor.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

#include <set>
#include <string>

#include "archive/archive_cursor.h"
#include "archive/byte_source.h"
#include "archive/checksum.h"
#include "archive/corrupt_code.h"
#include "archive/stdio_byte_source.h"

namespace {

TEST(ArchiveChecksum, KnownValues) {
  struct Case {
    const char* label;
    std::string bytes;
    uint32_t sum;
  };
  const Case cases[] = {
      {"empty", "", 2044902557u},
      {"one byte 0xFF counts as -1, plus the length", "\xFF", 2044902557u},
      {"one word", std::string("\x01\x00\x00\x00", 4), 2044902562u},
      {"word and two signed bytes", std::string("\x02\x00\x00\x00\x80\x7F", 6), 2044902557u + 2 - 128 + 127 + 6},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(archive::archive_checksum(c.bytes.data(), static_cast<int64_t>(c.bytes.size())), c.sum) << c.label;
  }
  EXPECT_EQ(archive::archive_checksum(nullptr, 5), archive::kChecksumSeed);
  // In pieces: the same sum.
  const std::string text = "pieces of a longer text, summed in parts";
  const uint32_t whole = archive::archive_checksum(text.data(), static_cast<int64_t>(text.size()));
  uint32_t sum = archive::checksum_words(archive::kChecksumSeed, text.data(), 16);
  sum = archive::checksum_words(sum, text.data() + 16, static_cast<int64_t>(text.size()) - 16);
  EXPECT_EQ(sum + static_cast<uint32_t>(text.size()), whole);
}

TEST(CorruptCodeMeaning, EveryCodeHasItsOwnSentence) {
  std::set<std::string> seen;
  int codes = 0;
  for (int n = 0; n <= 200; ++n) {
    const std::string meaning = archive::corrupt_code_meaning(static_cast<archive::CorruptCode>(n));
    if (meaning == "unknown error code") continue;
    ++codes;
    EXPECT_TRUE(seen.insert(meaning).second) << n << ": " << meaning;
  }
  EXPECT_EQ(codes, 38) << "None and the 37 codes";
  EXPECT_STREQ(archive::corrupt_code_meaning(archive::CorruptCode::BadMagic), "the archive magic number is wrong");
}

TEST(ByteSources, ReadOnlyWhatIsThere) {
  const char text[] = "0123456789";
  archive::MemoryByteSource memory(text, 10);
  archive::SliceByteSource slice(memory, 2, 5);  // "23456"
  struct Case {
    const char* label;
    archive::ByteSource& source;
    int64_t offset;
    int n;
    const char* expected;  // null: the read fails
  };
  const Case cases[] = {
      {"memory whole", memory, 0, 10, "0123456789"}, {"memory past the end", memory, 8, 3, nullptr},
      {"memory negative offset", memory, -1, 2, nullptr}, {"memory nothing at the end", memory, 10, 0, ""},
      {"slice", slice, 1, 3, "345"},                    {"slice past its end", slice, 3, 3, nullptr},
      {"slice negative size", slice, 0, -1, nullptr},
  };
  for (const Case& c : cases) {
    char buf[16] = {};
    const bool ok = c.source.read_at(c.offset, buf, c.n);
    EXPECT_EQ(ok, c.expected != nullptr) << c.label;
    if (ok) {
      EXPECT_STREQ(buf, c.expected) << c.label;
    }
  }
  EXPECT_EQ(slice.size(), 5);
  EXPECT_EQ(slice.view(1, 2), reinterpret_cast<const uint8_t*>(text) + 3);
  EXPECT_EQ(slice.view(4, 2), nullptr);
}

TEST(ByteSources, StdioReadsAFile) {
  const char path[] = "archive_basics_stdio.tmp";
  FILE* f = fopen(path, "wb");
  ASSERT_NE(f, nullptr);
  fputs("stdio bytes", f);
  fclose(f);
  archive::StdioByteSource source;
  ASSERT_TRUE(source.open(path));
  EXPECT_EQ(source.size(), 11);
  char buf[8] = {};
  EXPECT_TRUE(source.read_at(6, buf, 5));
  EXPECT_STREQ(buf, "bytes");
  EXPECT_FALSE(source.read_at(7, buf, 5));
  source.close();
  EXPECT_FALSE(source.read_at(0, buf, 1));
  remove(path);
  EXPECT_FALSE(source.open(path));
}

TEST(ArchiveCursor, ReadsForwardAndRefusesOverruns) {
  const uint8_t bytes[] = {0x78, 0x56, 0x34, 0x12, 'a', 'b', 0, 'c', 0xFF, 0xFF, 0xFF, 0xFF, 'd'};
  archive::ArchiveCursor cursor(bytes, sizeof(bytes));
  uint32_t u = 0;
  ASSERT_TRUE(cursor.read_u32(u));
  EXPECT_EQ(u, 0x12345678u);
  core::String text;
  ASSERT_TRUE(cursor.read_cstring(text));
  EXPECT_STREQ(text.text(), "ab");
  EXPECT_EQ(cursor.position(), 7);
  char c = 0;
  ASSERT_TRUE(cursor.read_bytes(1, &c));
  EXPECT_EQ(c, 'c');
  int32_t i = 0;
  ASSERT_TRUE(cursor.read_i32(i));
  EXPECT_EQ(i, -1);
  // One byte left, no zero after it: every read that wants more fails and stays put.
  EXPECT_FALSE(cursor.read_u32(u));
  EXPECT_FALSE(cursor.read_cstring(text));
  EXPECT_EQ(text.length(), 0);
  EXPECT_FALSE(cursor.read_bytes(2, &c));
  EXPECT_FALSE(cursor.skip(2));
  EXPECT_FALSE(cursor.skip(-1));
  EXPECT_EQ(cursor.position(), 12);
  EXPECT_TRUE(cursor.skip(1));
  EXPECT_TRUE(cursor.at_end());
  archive::ArchiveCursor empty(nullptr, 10);
  EXPECT_EQ(empty.length(), 0);
  EXPECT_FALSE(empty.read_cstring(text));
}

}  // namespace
