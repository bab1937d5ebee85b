// Tests of the header block's value stream and of the block scrambling.
#include <gtest/gtest.h>
#include <stdint.h>
#include <stdio.h>

#include <functional>
#include <string>
#include <vector>

#include "archive/memory_stream.h"
#include "archive/scramble.h"
#include "header_block_samples.h"

namespace {

using samples::std_of;
using samples::str;

TEST(Scramble, XorsWordsThenTheKeysLowBytes) {
  const uint32_t key = 0xA1B2C3D4u;
  const struct {
    int32_t length;
    std::vector<uint8_t> expected;  // of a zeroed buffer: the key bytes it was combined with
  } cases[] = {
      {0, {}},
      {3, {0xD4, 0xC3, 0xB2}},
      {4, {0xD4, 0xC3, 0xB2, 0xA1}},
      {7, {0xD4, 0xC3, 0xB2, 0xA1, 0xD4, 0xC3, 0xB2}},
      {9, {0xD4, 0xC3, 0xB2, 0xA1, 0xD4, 0xC3, 0xB2, 0xA1, 0xD4}},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> buffer(static_cast<size_t>(c.length), 0);
    archive::unscramble(buffer.data(), c.length, key);
    EXPECT_EQ(buffer, c.expected) << c.length << " bytes";
  }
}

TEST(Scramble, ScrambleIsTheExactInverse) {
  samples::Random r(3);
  for (int round = 0; round < 50; ++round) {
    const std::string original = r.bytes(100);
    std::string buffer = original;
    const uint32_t key = r.u32();
    archive::scramble(reinterpret_cast<uint8_t*>(buffer.data()), static_cast<int32_t>(buffer.size()), key);
    if (!original.empty() && key != 0) {
      EXPECT_NE(buffer, original);
    }
    archive::unscramble(reinterpret_cast<uint8_t*>(buffer.data()), static_cast<int32_t>(buffer.size()), key);
    EXPECT_EQ(buffer, original) << "round " << round;
  }
  archive::unscramble(nullptr, 5, 1);  // nothing to do, and no crash
}

archive::MemoryStream stream_of(const std::string& bytes) {
  return archive::MemoryStream(bytes.data(), static_cast<int32_t>(bytes.size()));
}

// One read on given bytes: what it returns, the value it yields (as text), and where
// it leaves the stream.
struct ReadCase {
  const char* label;
  std::string bytes;
  std::function<bool(archive::MemoryStream&, std::string&)> read;
  bool ok;
  std::string value;
  int32_t position;
  bool overrun;
};

std::string hex32(uint32_t v) {
  char text[16];
  snprintf(text, sizeof text, "%08X", v);
  return text;
}

TEST(MemoryStream, ReadsAndTheirShortReads) {
  const auto u8 = [](archive::MemoryStream& s, std::string& v) {
    uint8_t x = 0xEE;
    const bool ok = s.read_u8(x);
    v = hex32(x);
    return ok;
  };
  const auto u16 = [](archive::MemoryStream& s, std::string& v) {
    uint16_t x = 0xEEEE;
    const bool ok = s.read_u16(x);
    v = hex32(x);
    return ok;
  };
  const auto i32 = [](archive::MemoryStream& s, std::string& v) {
    int32_t x = -1;
    const bool ok = s.read_i32(x);
    v = hex32(static_cast<uint32_t>(x));
    return ok;
  };
  const auto words = [](archive::MemoryStream& s, std::string& v) {
    uint32_t a = 1, b = 1;
    const bool ok = s.read_flag_words(a, b);
    v = hex32(a) + " " + hex32(b);
    return ok;
  };
  const auto text = [](archive::MemoryStream& s, std::string& v) {
    core::String t = str("old");
    const bool ok = s.read_text(t);
    v = std_of(t);
    return ok;
  };
  const auto text8 = [](archive::MemoryStream& s, std::string& v) {
    core::String t = str("old");
    const bool ok = s.read_text8(t);
    v = std_of(t);
    return ok;
  };
  const auto text16 = [](archive::MemoryStream& s, std::string& v) {
    core::String t = str("old");
    const bool ok = s.read_text16(t);
    v = std_of(t);
    return ok;
  };
  const auto text32 = [](archive::MemoryStream& s, std::string& v) {
    core::String t = str("old");
    const bool ok = s.read_text32(t);
    v = std_of(t);
    return ok;
  };
  const auto block = [](int32_t n) {
    return [n](archive::MemoryStream& s, std::string& v) {
      core::String t = str("old");
      const bool ok = s.read_byte_block(t, n);
      v = std_of(t);
      return ok;
    };
  };
  const auto raw = [](int32_t n) {
    return [n](archive::MemoryStream& s, std::string& v) {
      char target[8] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
      const bool ok = s.read(target, n);
      v = std::string(target, 8);
      return ok;
    };
  };
  const std::string z(1, '\0');
  const ReadCase cases[] = {
      {"u8", "\x81", u8, true, "00000081", 1, false},
      {"u8 at the end", "", u8, false, "00000000", 0, true},
      {"u16", "\x34\x12", u16, true, "00001234", 2, false},
      {"i32", "\x78\x56\x34\x92", i32, true, "92345678", 4, false},
      {"i32 with 2 bytes left: zero-filled", "\x34\x12", i32, false, "00001234", 2, true},
      {"flag words", std::string("\x01\x00\x00\x00\x02\x00\x00\x80", 8), words, true, "00000001 80000002", 8, false},
      {"text", "abc" + z + "d", text, true, "abc", 4, false},
      {"empty text", z + "x", text, true, "", 1, false},
      {"text cut by the end keeps its bytes", "abc", text, true, "abc", 3, true},
      {"text at the end", "", text, false, "", 0, true},
      {"text8", "\x03" "abcd", text8, true, "abc", 4, false},
      {"text8 empty", z, text8, true, "", 1, false},
      {"text8 short", "\x05" "ab", text8, false, "", 3, true},
      {"text16", "\x02" + z + "xyz", text16, true, "xy", 4, false},
      {"text16 without length", "\x02", text16, false, "", 1, true},
      {"text32", "\x01" + z + z + z + "q", text32, true, "q", 5, false},
      {"text32 length -1: consumed, no text", "\xFF\xFF\xFF\xFF" "abc", text32, false, "", 4, false},
      {"text32 huge length", "\xFF\xFF\xFF\x7F" "abc", text32, false, "", 7, true},
      {"text32 with a zero inside", "\x03" + z + z + z + "a" + z + "b", text32, true, "a" + z + "b", 7, false},
      {"byte block appends", "xyz", block(2), true, "oldxy", 2, false},
      {"byte block of 0", "xyz", block(0), true, "old", 0, false},
      {"byte block of -3", "xyz", block(-3), true, "old", 0, false},
      {"byte block short: unchanged", "xyz", block(4), false, "old", 3, true},
      {"raw 0", "ab", raw(0), true, "xxxxxxxx", 0, false},
      {"raw -1", "ab", raw(-1), false, "xxxxxxxx", 0, false},
      {"raw short: rest zero-filled", "ab", raw(5), false, "ab" + z + z + z + "xxx", 2, true},
  };
  for (const ReadCase& c : cases) {
    archive::MemoryStream s = stream_of(c.bytes);
    std::string value;
    EXPECT_EQ(c.read(s, value), c.ok) << c.label;
    EXPECT_EQ(value, c.value) << c.label;
    EXPECT_EQ(s.position(), c.position) << c.label;
    EXPECT_EQ(s.overrun(), c.overrun) << c.label;
  }
}

TEST(MemoryStream, RecordsReadFieldByField) {
  std::string bytes;
  for (int32_t v : {2001, 12, 31, 23, 59, 58, 2451544, 1, 1, 2000, 7}) {
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>(static_cast<uint32_t>(v) >> (8 * i));
  }
  archive::MemoryStream s = stream_of(bytes);
  core::FileTime time;
  core::CalendarDate date;
  ASSERT_TRUE(s.read_file_time(time));
  ASSERT_TRUE(s.read_calendar_date(date));
  EXPECT_EQ(time.year, 2001);
  EXPECT_EQ(time.month, 12);
  EXPECT_EQ(time.day, 31);
  EXPECT_EQ(time.hour, 23);
  EXPECT_EQ(time.minute, 59);
  EXPECT_EQ(time.second, 58);
  EXPECT_EQ(date.day_number, 2451544);
  EXPECT_EQ(date.month, 1);
  EXPECT_EQ(date.day, 1);
  EXPECT_EQ(date.year, 2000);
  EXPECT_EQ(date.weekday, 7);
  EXPECT_FALSE(s.read_file_time(time)) << "nothing left";
  EXPECT_EQ(time.year, 0);
  EXPECT_EQ(time.hour, 0) << "zero-filled";
}

// Random sequences of values written then read back with the reads of the same names.
TEST(MemoryStream, WritesAreTheExactInverseOfReads) {
  for (uint32_t seed = 1; seed <= 50; ++seed) {
    samples::Random r(seed);
    archive::MemoryStream out;
    std::vector<std::pair<int, std::string>> written;
    for (int i = 0; i < 200; ++i) {
      const int kind = r.below(7);
      std::string value = kind >= 3 ? r.text(kind == 4 ? 240 : 300) : r.bytes(4);
      bool ok = false;
      switch (kind) {
        case 0: ok = out.write_u8(static_cast<uint8_t>(r.u32())); break;
        case 1: ok = out.write_u16(static_cast<uint16_t>(r.u32())); break;
        case 2: ok = out.write_i32(r.i32()); break;
        case 3: ok = out.write_text(str(value)); break;
        case 4: ok = out.write_text8(str(value)); break;
        case 5: ok = out.write_text16(str(value)); break;
        case 6: ok = out.write_text32(str(value = r.bytes(300))); break;
      }
      ASSERT_TRUE(ok) << "seed " << seed << " write " << i;
      if (kind < 3) {
        // Remember the bytes just written.
        const int width = kind == 0 ? 1 : kind == 1 ? 2 : 4;
        value = std::string(reinterpret_cast<const char*>(out.data()) + out.position() - width, width);
      }
      written.emplace_back(kind, value);
    }
    ASSERT_TRUE(out.seek(0));
    for (size_t i = 0; i < written.size(); ++i) {
      const auto& [kind, value] = written[i];
      std::string read;
      core::String t;
      uint8_t a;
      uint16_t b;
      int32_t c;
      switch (kind) {
        case 0: ASSERT_TRUE(out.read_u8(a)); read = std::string(1, static_cast<char>(a)); break;
        case 1: ASSERT_TRUE(out.read_u16(b)); read = {static_cast<char>(b), static_cast<char>(b >> 8)}; break;
        case 2:
          ASSERT_TRUE(out.read_i32(c));
          for (int k = 0; k < 4; ++k) read += static_cast<char>(static_cast<uint32_t>(c) >> (8 * k));
          break;
        case 3: ASSERT_TRUE(out.read_text(t)); read = std_of(t); break;
        case 4: ASSERT_TRUE(out.read_text8(t)); read = std_of(t); break;
        case 5: ASSERT_TRUE(out.read_text16(t)); read = std_of(t); break;
        case 6: ASSERT_TRUE(out.read_text32(t)); read = std_of(t); break;
      }
      ASSERT_EQ(read, value) << "seed " << seed << " value " << i << " kind " << kind;
    }
    EXPECT_TRUE(out.at_end());
    EXPECT_FALSE(out.overrun());
  }
}

TEST(MemoryStream, WritesThatCannotBeReadBackAreRefused) {
  archive::MemoryStream s;
  EXPECT_FALSE(s.write_text(str(std::string("a\0b", 3)))) << "a zero byte would end the text";
  EXPECT_FALSE(s.write_text8(str(std::string(256, 'x'))));
  EXPECT_FALSE(s.write_text16(str(std::string(65536, 'x'))));
  EXPECT_FALSE(s.write(nullptr, 1));
  EXPECT_FALSE(s.write("x", -1));
  EXPECT_EQ(s.size(), 0) << "refused writes leave nothing behind";
}

TEST(MemoryStream, WritesOverwriteAtThePositionAndGrowPastTheEnd) {
  archive::MemoryStream s;
  ASSERT_TRUE(s.write("abcdef", 6));
  ASSERT_TRUE(s.seek(4));
  ASSERT_TRUE(s.write("XYZ", 3));
  EXPECT_EQ(s.size(), 7);
  // Bytes from the stream itself, written over a part that must grow.
  ASSERT_TRUE(s.seek(5));
  ASSERT_TRUE(s.write(s.data(), 7));
  const core::String bytes = s.take_buffer();
  EXPECT_EQ(std_of(bytes), "abcdXabcdXYZ");
  EXPECT_EQ(s.size(), 0);
  EXPECT_FALSE(s.seek(1));
}

}  // namespace
