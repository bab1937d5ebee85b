// The String search engine and its flag word: find, count, replace, remove_chars, split.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/array.h"
#include "core/string.h"

namespace core {
namespace {

std::string text_of(const String& s) { return std::string(s.text(), static_cast<size_t>(s.length())); }

std::vector<std::string> texts_of(const Array<String>& list) {
  std::vector<std::string> out;
  for (const String& s : list) out.push_back(text_of(s));
  return out;
}

TEST(StringSearch, FindWithEachFlag) {
  using namespace search;
  struct Case {
    const char* label;
    const char* text;
    const char* pattern;
    int32_t start;
    uint32_t flags;
    int32_t expected;
  };
  const Case cases[] = {
      {"plain", "one two one", "one", 0, 0, 0},
      {"from a start", "one two one", "one", 1, 0, 8},
      {"case matters by default", "One", "one", 0, 0, -1},
      {"ignore case", "a %WINDIR% b", "%WinDir%", 0, IgnoreCase, 2},
      {"whole word skips a part of a word", "cat concat cat", "cat", 1, WholeWord, 11},
      {"whole word: '_' is a word character", "my_cat cat", "cat", 0, WholeWord, 7},
      {"whole word at both ends", "cat", "cat", 0, WholeWord, 0},
      {"'?' is literal without the flag", "a?c abc", "a?c", 1, 0, -1},
      {"'?' matches any character", "xx abc", "a?c", 0, AnyChar, 3},
      {"quoted runs are skipped", "\"key\" key", "key", 0, SkipQuoted, 6},
      {"quoted runs are searched without the flag", "\"key\" key", "key", 0, 0, 1},
      {"backwards from the end", "ab ab ab", "ab", 8, Backwards, 6},
      {"backwards starts one before the start", "ab ab ab", "ab", 6, Backwards, 3},
      {"backwards from the kAll position", "ab ab", "ab", kAll, Backwards, 3},
      {"position after the match", "find me", "me", 0, AfterMatch, 7},
      {"a set of characters", "path/to\\x", "\\/", 0, CharSet, 4},
      {"a set ignoring case", "xyzA", "a", 0, CharSet | IgnoreCase, 3},
      {"pieces in order", "Program Files\\App\\bin", "Files*bin", 0, StarPieces, 8},
      {"pieces out of order", "bin Files", "Files*bin", 0, StarPieces, -1},
      {"'**' is a literal star", "a*b ab", "a**b", 0, StarPieces, 0},
      {"pieces with the match end", "abc-xyz tail", "abc*xyz", 0, StarPieces | AfterMatch, 7},
      {"pieces with '?'", "setup1.exe", "setup?*.exe", 0, StarPieces | AnyChar, 0},
      {"empty pattern", "abc", "", 0, 0, -1},
      {"null pattern", "abc", nullptr, 0, 0, -1},
      {"negative start", "abc", "a", -1, 0, -1},
      {"start past the end", "abc", "a", 4, 0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(String(c.text).find(c.pattern, c.start, c.flags), c.expected);
  }
}

TEST(StringSearch, CharacterSearchesAndCounts) {
  using namespace search;
  const String s("a\"b,c\",B,b");
  EXPECT_EQ(s.find_char('b'), 2);
  EXPECT_EQ(s.find_char('b', 0, SkipQuoted), 9);
  EXPECT_EQ(s.find_char('b', 0, SkipQuoted | IgnoreCase), 7);
  EXPECT_EQ(s.find_char('b', 10), -1);
  EXPECT_EQ(s.find_any_of(",\"", 0), 1);
  EXPECT_EQ(s.find_any_of(",", 5), 6);
  EXPECT_EQ(s.find_first_not_of("a\"", 0), 2);
  EXPECT_EQ(s.find_last(','), 8);
  EXPECT_EQ(s.find_last('z'), -1);
  EXPECT_EQ(s.count(','), 3);
  EXPECT_EQ(String("aaaa").count_of("aa"), 2);
  EXPECT_EQ(String("x.DLL y.dll").count_of(".dll", IgnoreCase), 2);
}

TEST(StringSearch, Replace) {
  using namespace search;
  struct Case {
    const char* label;
    const char* text;
    const char* pattern;
    const char* replacement;
    uint32_t flags;
    int32_t skip;
    int32_t max_count;
    int32_t result;
    const char* expected;
  };
  const Case cases[] = {
      {"every match, longer", "%d\\%d", "%d", "C:\\Dir", 0, 0, kAll, 2, "C:\\Dir\\C:\\Dir"},
      {"every match, shorter", "aXXbXXc", "XX", "", 0, 0, kAll, 2, "abc"},
      {"ignoring case", "%windir%\\%WinDir%", "%WINDIR%", "C:\\W", IgnoreCase, 0, kAll, 2, "C:\\W\\C:\\W"},
      {"after skipping the first", "a-a-a", "a", "b", 0, 1, kAll, 3, "a-b-b"},
      {"at most one", "a-a-a", "a", "b", 0, 0, 1, 1, "b-a-a"},
      {"skip then at most one", "a-a-a", "a", "b", 0, 1, 1, 2, "a-b-a"},
      {"first only gives the position", "xx-ab-ab", "ab", "Z", FirstOnly, 0, kAll, 3, "xx-Z-ab"},
      {"first only without a match", "xx", "ab", "Z", FirstOnly, 0, kAll, -1, "xx"},
      {"no match", "abc", "x", "y", 0, 0, kAll, 0, "abc"},
      {"whole words only", "cat concat cat", "cat", "dog", WholeWord, 0, kAll, 2, "dog concat dog"},
      {"'?' carries the matched character", "v1.2 v3.4", "v?.?", "?_?", AnyChar, 0, kAll, 2, "1_2 3_4"},
      {"more '?' than matched keep the rest", "ab", "a?", "??", AnyChar, 0, kAll, 1, "b?"},
      {"quoted runs untouched", "a \"a\" a", "a", "b", SkipQuoted, 0, kAll, 2, "b \"a\" b"},
      {"matches do not overlap", "aaa", "aa", "b", 0, 0, kAll, 1, "ba"},
      {"replacement holds the pattern", "ab", "a", "aa", 0, 0, kAll, 1, "aab"},
      {"star pieces replace the whole span", "[x y] z", "[*]", "()", StarPieces, 0, kAll, 1, "() z"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    String s(c.text);
    EXPECT_EQ(s.replace(c.pattern, c.replacement, c.flags, c.skip, c.max_count), c.result);
    EXPECT_EQ(text_of(s), c.expected);
  }
}

TEST(StringSearch, ReplaceRebuildsInOneBlock) {
  String s;
  for (int i = 0; i < 200; ++i) s.append("ab ");
  s.replace("ab", "abcdefgh");
  EXPECT_EQ(s.length(), 200 * 9);
  EXPECT_EQ(s.capacity(), 200 * 9 + 33);
  EXPECT_EQ(s.count_of("abcdefgh"), 200);
}

TEST(StringSearch, RemoveChars) {
  using namespace remove_flag;
  struct Case {
    const char* label;
    const char* text;
    const char* set;
    int32_t start;
    uint32_t flags;
    int32_t removed;
    const char* expected;
  };
  const Case cases[] = {
      {"every member", "a,b;c,", ",;", 0, 0, 3, "abc"},
      {"from a start", "a,b,c", ",", 2, 0, 1, "a,bc"},
      {"inverted set keeps the members", "a1b2c3", "0123456789", 0, Invert, 3, "123"},
      {"ignoring case", "aAbB", "a", 0, IgnoreCase, 2, "bB"},
      {"first only", "a,b,c", ",", 0, FirstOnly, 1, "ab,c"},
      {"backwards first only", "a,b,c", ",", 0, Backwards | FirstOnly, 1, "a,bc"},
      {"a leading run", "  a b ", " ", 0, StopAtKept, 2, "a b "},
      {"a trailing run", "  a b  ", " ", 0, Backwards | StopAtKept, 2, "  a b"},
      {"quoted runs are left alone", "a \"b c\" d", " ", 0, SkipQuoted, 2, "a\"b c\"d"},
      {"start out of range", "abc", "a", 3, 0, 0, "abc"},
      {"null set", "abc", nullptr, 0, 0, 0, "abc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    String s(c.text);
    EXPECT_EQ(s.remove_chars(c.set, c.start, c.flags), c.removed);
    EXPECT_EQ(text_of(s), c.expected);
  }
}

TEST(StringSearch, Split) {
  using namespace split_flag;
  struct Case {
    const char* label;
    std::string text;
    const char* separators;
    uint32_t flags;
    std::vector<std::string> tokens;
  };
  const Case cases[] = {
      {"empty tokens dropped", "a,,b,", ",", 0, {"a", "b"}},
      {"empty tokens kept, one after a trailing separator", "a,,b,", ",", KeepEmpty, {"a", "", "b", ""}},
      {"several separator characters", "a;b,c", ",;", 0, {"a", "b", "c"}},
      {"zero bytes separate", std::string("a\0b", 3), nullptr, NulSeparates, {"a", "b"}},
      {"line ends of every kind", "a\r\nb\nc\rd\n\re", nullptr, LineEnds, {"a", "b", "c", "d", "e"}},
      {"trimmed tokens", " a , b ", ",", Trim, {"a", "b"}},
      {"blank tokens dropped after trimming", "a, ,b", ",", Trim, {"a", "b"}},
      {"quoted runs are not cut", "\"a,b\",c", ",", KeepQuoted, {"\"a,b\"", "c"}},
      {"separator stays with its token", "a,b,c", ",", KeepSeparator, {"a,", "b,", "c"}},
      {"line end stays with its line", "a\r\nb", nullptr, LineEnds | KeepSeparator, {"a\r\n", "b"}},
      {"unquoted tokens", "\"a b\",\"c\"", ",", Unquote, {"a b", "c"}},
      {"unquoted with doubled quotes", "\"say \"\"hi\"\"\"", ",", Unquote | Undouble, {"say \"hi\""}},
      {"doubled quotes stay without the second flag", "\"a\"\"b\"", ",", Unquote, {"a\"\"b"}},
      {"a doubled separator is text", "a,,b,c", ",", DoubledIsText, {"a,,b", "c"}},
      {"a backslash protects", "a\\,b,c", ",", Backslash, {"a\\,b", "c"}},
      {"quoted and trimmed and unquoted", " \"x, y\" , z ", ",", KeepQuoted | Trim | Unquote, {"x, y", "z"}},
      {"nothing to split", "", ",", KeepEmpty, {}},
      {"no separator", "abc", ",", 0, {"abc"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Array<String> list;
    list.append(String("before"));
    const String s(c.text.data(), static_cast<int32_t>(c.text.size()));
    EXPECT_EQ(s.split(list, c.separators, c.flags), static_cast<int32_t>(c.tokens.size()));
    std::vector<std::string> expected{"before"};
    expected.insert(expected.end(), c.tokens.begin(), c.tokens.end());
    EXPECT_EQ(texts_of(list), expected);
  }
}

TEST(StringSearch, SplitLinesKeepsEmptyLines) {
  Array<String> lines;
  EXPECT_EQ(String("a\r\n\r\nb").split_lines(lines), 3);
  EXPECT_EQ(texts_of(lines), (std::vector<std::string>{"a", "", "b"}));
  lines.clear();
  EXPECT_EQ(String(std::string("x\0y\n", 4).c_str(), 4).split_lines(lines), 3);
  EXPECT_EQ(texts_of(lines), (std::vector<std::string>{"x", "y", ""}));
}

}  // namespace
}  // namespace core
