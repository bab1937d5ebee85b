// core::String storage (growth and shrink rule, fallible resize, buffers) and editing.
#include "core/string.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/checksum.h"
#include "core/memory.h"

namespace core {
namespace {

std::string text_of(const String& s) { return std::string(s.text(), static_cast<size_t>(s.length())); }

String filled(int32_t n) {
  String s;
  s.set_length(n);
  s.fill(0, n, 'x');
  return s;
}

TEST(String, DefaultIsEmptyTextWithoutBlock) {
  String s;
  EXPECT_STREQ(s.text(), "");
  EXPECT_EQ(s.length(), 0);
  EXPECT_EQ(s.capacity(), 0);
  EXPECT_TRUE(s.is_empty());
  EXPECT_TRUE(s.is_blank());
  EXPECT_EQ(s.first_char(), 0);
  EXPECT_EQ(String(static_cast<const char*>(nullptr)).length(), 0);
}

TEST(String, LengthChangesFollowTheSlackAndShrinkRule) {
  struct Case {
    const char* label;
    int32_t from;  // length set first (from an empty string)
    int32_t to;    // then this length
    int32_t capacity;
  };
  const Case cases[] = {
      {"first text gets 33 bytes of slack", 0, 10, 43},
      {"growth inside the slack keeps the block", 10, 42, 43},
      {"growth to the capacity reallocates", 10, 43, 76},
      {"shrinking 2000 to 1600 keeps the block", 2000, 1600, 2033},
      {"shrinking 2000 to 1000 reallocates to 1033", 2000, 1000, 1033},
      {"exactly 512 bytes left unused keeps the block", 2000, 1521, 2033},
      {"513 bytes left unused reallocates", 2000, 1520, 1553},
      {"length 0 frees the block", 2000, 0, 0},
      {"a negative length frees the block", 50, -3, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    String s = filled(c.from);
    s.set_length(c.to);
    EXPECT_EQ(s.capacity(), c.capacity);
    EXPECT_EQ(s.length(), c.to > 0 ? c.to : 0);
    EXPECT_EQ(s.text()[s.length()], 0);
  }
}

TEST(String, AppendingToAnEmptyStringAllocatesLengthPlus33) {
  String s;
  s.append("0123456789", 10);
  EXPECT_EQ(s.capacity(), 43);
  s.append("abc");
  EXPECT_EQ(s.capacity(), 43);
  EXPECT_EQ(text_of(s), "0123456789abc");
}

TEST(String, GrowingZeroFillsTheNewBytes) {
  String s("ab");
  s.set_length(5);
  EXPECT_EQ(text_of(s), std::string("ab\0\0\0", 5));
}

TEST(String, FallibleResizeRefusesSizesTheBlockCannotHold) {
  String s("keep");
  EXPECT_FALSE(s.try_set_length(kAll));
  EXPECT_FALSE(s.try_set_length(kAll - 32));
  EXPECT_EQ(text_of(s), "keep");
  EXPECT_TRUE(s.try_set_length(100));
  EXPECT_EQ(s.length(), 100);
  EXPECT_EQ(s.capacity(), 133);
}

TEST(String, CopiesAreDeepAndMovesTakeTheBlock) {
  String a("text");
  String b(a);
  b[0] = 'n';
  EXPECT_EQ(text_of(a), "text");
  EXPECT_EQ(text_of(b), "next");
  String c(std::move(b));
  EXPECT_EQ(text_of(c), "next");
  EXPECT_EQ(b.length(), 0);  // NOLINT: moved-from is empty by contract
  a = c;
  EXPECT_EQ(a, c);
  a = "other";
  EXPECT_EQ(a, "other");
}

TEST(String, BytesIncludingZeroBytes) {
  const String s("a\0b", 3);
  EXPECT_EQ(s.length(), 3);
  EXPECT_EQ(s.at(1), 0);
  EXPECT_EQ(s, String("a\0b", 3));
  EXPECT_NE(s, String("a\0c", 3));
  EXPECT_NE(s, String("a"));
  EXPECT_EQ(String(static_cast<char>(0)).length(), 1);
  EXPECT_EQ(String("up to the zero", kAll).length(), 14);
}

TEST(String, AssigningOrAppendingFromItsOwnBytesIsSafe) {
  String s("hello world");
  s.assign(s.text() + 6, 5);
  EXPECT_EQ(text_of(s), "world");
  EXPECT_EQ(s.capacity(), 38);  // a fresh block of count + 33
  s.append(s);
  EXPECT_EQ(text_of(s), "worldworld");
  String big = filled(40);
  big.append(big.text(), 40);  // the append moves the block under its own source
  EXPECT_EQ(text_of(big), std::string(80, 'x'));
  s.insert(0, s.text() + 5, 3);
  EXPECT_EQ(text_of(s), "worworldworld");
}

TEST(String, TakeAndAdoptBuffer) {
  String s("owned");
  char* block = s.take_buffer();
  EXPECT_STREQ(block, "owned");
  EXPECT_EQ(s.length(), 0);
  EXPECT_EQ(s.capacity(), 0);
  EXPECT_EQ(s.take_buffer(), nullptr);

  s.adopt_buffer(block, 3);
  EXPECT_EQ(text_of(s), "own");
  EXPECT_EQ(s.capacity(), 4);
  s.adopt_buffer(static_cast<char*>(allocate(8)), 0);
  EXPECT_TRUE(s.is_empty());
}

TEST(String, Editing) {
  struct Case {
    const char* label;
    const char* start;
    std::function<bool(String&)> edit;
    bool result;
    const char* expected;
  };
  const Case cases[] = {
      {"insert in the middle", "abef", [](String& s) { return s.insert(2, "cd"); }, true, "abcdef"},
      {"insert at the end", "ab", [](String& s) { return s.insert(2, 'c'); }, true, "abc"},
      {"insert past the end", "ab", [](String& s) { return s.insert(3, "x"); }, false, "ab"},
      {"insert at a negative position", "ab", [](String& s) { return s.insert(-1, "x"); }, false, "ab"},
      {"erase a range", "abcdef", [](String& s) { return s.erase(1, 2); }, true, "adef"},
      {"erase to the end", "abcdef", [](String& s) { return s.erase(3); }, true, "abc"},
      {"erase at the end does nothing", "abc", [](String& s) { return s.erase(3, 1); }, false, "abc"},
      {"erase of no bytes", "abc", [](String& s) { return s.erase(0, 0); }, false, "abc"},
      {"overwrite inside", "abcdef", [](String& s) { return s.overwrite(1, "XY"); }, true, "aXYdef"},
      {"overwrite past the end lengthens", "abc", [](String& s) { return s.overwrite(2, "XYZ"); }, true, "abXYZ"},
      {"overwrite beyond the end", "abc", [](String& s) { return s.overwrite(4, "X"); }, false, "abc"},
      {"fill clipped at the end", "abcdef", [](String& s) { return s.fill(4, 10, '-'); }, true, "abcd--"},
      {"truncate", "abcdef", [](String& s) { return s.truncate(2), true; }, true, "ab"},
      {"truncate longer does nothing", "abc", [](String& s) { return s.truncate(9), true; }, true, "abc"},
      {"drop front", "abcdef", [](String& s) { return s.drop_front(2), true; }, true, "cdef"},
      {"drop back", "abcdef", [](String& s) { return s.drop_back(2), true; }, true, "abcd"},
      {"drop more than all", "abc", [](String& s) { return s.drop_back(7), true; }, true, ""},
      {"append a null text", "abc", [](String& s) { return s.append(static_cast<const char*>(nullptr)), true; }, true,
       "abc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    String s(c.start);
    EXPECT_EQ(c.edit(s), c.result);
    EXPECT_EQ(text_of(s), c.expected);
  }
}

TEST(String, TrimQuoteAndUnquote) {
  struct Case {
    const char* label;
    const char* start;
    std::function<void(String&)> edit;
    const char* expected;
  };
  const Case cases[] = {
      {"trim white space", " \t\r\na b\n ", [](String& s) { s.trim(); }, "a b"},
      {"trim left", "  a ", [](String& s) { s.trim_left(); }, "a "},
      {"trim right", "  a ", [](String& s) { s.trim_right(); }, "  a"},
      {"trim another set", "--a-b--", [](String& s) { s.trim("-"); }, "a-b"},
      {"trim a repeated character on the right", "1.5000", [](String& s) { s.trim_right('0'); }, "1.5"},
      {"trim only blanks", " \t ", [](String& s) { s.trim(); }, ""},
      {"unquote", "\"a b\"", [](String& s) { s.unquote(); }, "a b"},
      {"unquote needs both ends", "\"a b", [](String& s) { s.unquote(); }, "\"a b"},
      {"unquote a lone quote", "\"", [](String& s) { s.unquote(); }, "\""},
      {"unquote another character", "'x'", [](String& s) { s.unquote('\''); }, "x"},
      {"trim, unquote, trim", " \" C:\\dir \" ", [](String& s) { s.trim().unquote(); s.trim(); }, "C:\\dir"},
      {"quote", "a b", [](String& s) { s.quote(); }, "\"a b\""},
      {"upper case ASCII only", "azAZ\xe4_1", [](String& s) { s.upper_ascii(); }, "AZAZ\xe4_1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    String s(c.start);
    c.edit(s);
    EXPECT_EQ(text_of(s), c.expected);
  }
}

TEST(String, PrefixesAndSuffixes) {
  const String s("Program Files");
  EXPECT_TRUE(s.starts_with("Program"));
  EXPECT_FALSE(s.starts_with("program"));
  EXPECT_TRUE(s.starts_with("Progress", 5));   // only five bytes compared
  EXPECT_TRUE(s.starts_with("Pro", 50));       // n limited to the text's length
  EXPECT_FALSE(s.starts_with("Program Files!"));
  EXPECT_TRUE(s.ends_with("Files"));
  EXPECT_FALSE(s.ends_with("iles", 2));  // "il" is not the end
  EXPECT_TRUE(s.starts_with(""));
  EXPECT_TRUE(s.starts_with_char('P'));
  EXPECT_TRUE(s.ends_with_char('s'));

  String t("C:\\dir\\");
  EXPECT_TRUE(t.remove_suffix('\\'));
  EXPECT_FALSE(t.remove_suffix('\\'));
  EXPECT_TRUE(t.remove_prefix("C:"));
  EXPECT_FALSE(t.remove_prefix("C:"));
  EXPECT_TRUE(t.remove_prefix('\\'));
  EXPECT_EQ(text_of(t), "dir");
  EXPECT_TRUE(t.remove_suffix("ir"));
  EXPECT_EQ(text_of(t), "d");
}

TEST(String, EqualsComparesWholeTexts) {
  struct Case {
    const char* label;
    const char* s;
    const char* text;
    bool exact;
    int expected;
  };
  const Case cases[] = {
      {"same bytes", "abc", "abc", true, 0},
      {"case differs, exact", "abc", "ABC", true, 1},
      {"case differs, any case", "abc", "ABC", false, 0},
      {"a prefix is not equal", "abc", "abcd", false, -1},
      {"longer than the text", "abcd", "abc", true, 1},
      {"empty and null", "", nullptr, true, 0},
      {"ordered ignoring case", "apple", "BANANA", false, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(String(c.s).equals(c.text, c.exact), c.expected);
  }
  EXPECT_EQ(compare_no_case("Hello", "hELLO world", 5), 0);
  EXPECT_LT(compare_no_case("a", "b"), 0);
}

TEST(String, LineEnds) {
  struct Case {
    const char* label;
    const char* input;
    const char* normalised;
    int32_t seen;
    const char* first;
    const char* rest;
  };
  const Case cases[] = {
      {"lone LF", "a\nb", "a\r\nb", 1, "a", "b"},
      {"lone CR", "a\rb", "a\r\nb", 1, "a", "b"},
      {"LF CR pair", "a\n\rb", "a\r\nb", 1, "a", "b"},
      {"CR LF stays", "a\r\nb\n", "a\r\nb\r\n", 2, "a", "b\n"},
      {"CR LF then LF", "a\r\n\nb", "a\r\n\r\nb", 2, "a", "\nb"},
      {"no line end", "abc", "abc", 0, "abc", ""},
      {"empty", "", "", 0, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    String s(c.input);
    EXPECT_EQ(text_of(s.first_line()), c.first);
    EXPECT_EQ(text_of(s.rest_after_first_line()), c.rest);
    EXPECT_EQ(s.normalise_line_ends(), c.seen);
    EXPECT_EQ(text_of(s), c.normalised);
  }
  const String zero("one\0two", 7);
  EXPECT_EQ(text_of(zero.first_line()), "one");
  EXPECT_EQ(text_of(zero.rest_after_first_line()), "two");
}

TEST(String, RemovePauseLines) {
  String s("echo 1\r\npause\r\n  @ Pause  \nPAUSE now\r\n@echo off\n\rpaused");
  s.remove_pause_lines();
  EXPECT_EQ(text_of(s), "echo 1\r\nPAUSE now\r\n@echo off\r\npaused\r\n");
  String only("PAUSE");
  only.remove_pause_lines();
  EXPECT_EQ(text_of(only), "");
  String blank("\r\n\r\n");
  blank.remove_pause_lines();
  EXPECT_EQ(text_of(blank), "\r\n\r\n");
}

TEST(String, SubstringAndBlank) {
  const String s("abcdef");
  EXPECT_EQ(text_of(s.substring(2, 3)), "cde");
  EXPECT_EQ(text_of(s.substring(4)), "ef");
  EXPECT_EQ(text_of(s.substring(6)), "");
  EXPECT_EQ(text_of(s.substring(-1, 2)), "");
  EXPECT_TRUE(String(" \r\n\t").is_blank());
  EXPECT_FALSE(String(" x ").is_blank());
  EXPECT_EQ(s.last_char(), 'f');
}

TEST(Checksum, KnownValues) {
  const uint8_t ff[] = {0xFF};
  const uint8_t one[] = {1, 0, 0, 0};
  const uint8_t mixed[] = {1, 2, 3, 4, 0x80, 5};
  EXPECT_EQ(archive_checksum(nullptr, 0), 2044902557u);
  EXPECT_EQ(archive_checksum(one, 0), 2044902557u);
  EXPECT_EQ(archive_checksum(ff, 1), 2044902557u);  // -1 for the byte, +1 for the length
  EXPECT_EQ(archive_checksum(one, 4), 2044902562u);
  EXPECT_EQ(archive_checksum(mixed, 6), 2044902557u + 0x04030201u - 128u + 5u + 6u);
  EXPECT_EQ(String("\x01\x02\x03\x04\x80\x05", 6).checksum(), archive_checksum(mixed, 6));
}

}  // namespace
}  // namespace core
