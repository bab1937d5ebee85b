// Tests of the language tables: round trips, their checks, preselection, lookup and line ends.
#include <gtest/gtest.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "archive/language_tables.h"
#include "archive/memory_stream.h"
#include "header_block_samples.h"

namespace {

using archive::CorruptCode;
using archive::LanguageTables;
using samples::std_of;
using samples::str;

// The stored form from its parts: counts, then zero-terminated texts.
std::string stored(uint8_t languages, int32_t strings, const std::vector<std::string>& texts) {
  std::string s(1, static_cast<char>(languages));
  for (int i = 0; i < 4; ++i) s += static_cast<char>(static_cast<uint32_t>(strings) >> (8 * i));
  for (const std::string& t : texts) s += t + std::string(1, '\0');
  return s;
}

CorruptCode load(const std::string& bytes, LanguageTables& tables) {
  archive::MemoryStream stream(bytes.data(), static_cast<int32_t>(bytes.size()));
  return archive::load_language_tables(stream, tables);
}

TEST(LanguageTables, RandomTablesReadBackEqual) {
  for (uint32_t seed = 1; seed <= 30; ++seed) {
    samples::Random r(seed);
    LanguageTables written;
    samples::fill_tables(r, written, 1 + r.below(100), 1 + r.below(50));
    archive::MemoryStream stream;
    ASSERT_EQ(archive::write_language_tables(stream, written), CorruptCode::None) << "seed " << seed;
    ASSERT_TRUE(stream.seek(0));
    LanguageTables read;
    ASSERT_EQ(archive::load_language_tables(stream, read), CorruptCode::None) << "seed " << seed;
    EXPECT_TRUE(read == written) << "seed " << seed;
    EXPECT_TRUE(stream.at_end()) << "seed " << seed;
  }
}

TEST(LanguageTables, ChecksHaveTheirCodes) {
  const struct {
    const char* label;
    std::string bytes;
    CorruptCode expected;
  } cases[] = {
      {"one language, one string", stored(1, 1, {"English", "Hello"}), CorruptCode::None},
      {"100 languages", stored(100, 1, std::vector<std::string>(200, "x")), CorruptCode::None},
      {"no language", stored(0, 1, {}), CorruptCode::BadLanguageCount},
      {"101 languages", stored(101, 1, std::vector<std::string>(202, "x")), CorruptCode::BadLanguageCount},
      {"255 languages", stored(255, 1, {}), CorruptCode::BadLanguageCount},
      {"no string", stored(1, 0, {"English"}), CorruptCode::BadStringCount},
      {"10001 strings", stored(1, 10001, {}), CorruptCode::BadStringCount},
      {"negative string count", stored(1, -1, {}), CorruptCode::BadStringCount},
      {"language count checked first", stored(0, 0, {}), CorruptCode::BadLanguageCount},
      {"a text missing", stored(2, 2, {"a", "b", "1", "2", "3"}), CorruptCode::BadEndMarker},
      {"cut in the string count", stored(1, 1, {}).substr(0, 3), CorruptCode::BadEndMarker},
      {"empty", "", CorruptCode::BadEndMarker},
      // 10000 x 100 texts claimed by a few bytes: refused before anything is sized for them.
      {"huge table, few bytes", stored(100, 10000, std::vector<std::string>(100, "n")), CorruptCode::BadEndMarker},
  };
  for (const auto& c : cases) {
    LanguageTables tables;
    EXPECT_EQ(load(c.bytes, tables), c.expected) << c.label;
    if (c.expected != CorruptCode::None) {
      EXPECT_EQ(tables.language_count(), 0) << c.label;
    }
  }
  // A text whose terminator is missing at the very end of the block is cut short by it.
  LanguageTables tables;
  const std::string cut = stored(1, 1, {"English"}) + "Hello";
  EXPECT_EQ(load(cut, tables), CorruptCode::BadEndMarker);
}

TEST(LanguageTables, PreselectsTheLastLanguageNamedEnglish) {
  const struct {
    std::vector<std::string> names;
    int32_t expected;
  } cases[] = {
      {{"Deutsch", "English"}, 1},
      {{"english", "English"}, 1},
      {{"ENGLISH"}, 0},
      {{"English", "Deutsch", "English", "Français"}, 2},
      {{"Deutsch", "Français"}, 0},
      {{"English "}, 0},
  };
  for (const auto& c : cases) {
    std::vector<std::string> texts = c.names;
    texts.resize(c.names.size() * 3, "t");
    LanguageTables tables;
    ASSERT_EQ(load(stored(static_cast<uint8_t>(c.names.size()), 2, texts), tables), CorruptCode::None);
    EXPECT_EQ(tables.current_language(), c.expected) << c.names.size() << " names, first " << c.names[0];
  }
}

TEST(LanguageTables, TextsAreStoredWithNormalisedLineEnds) {
  const struct {
    std::string stored;
    std::string expected;
  } cases[] = {
      {"a\nb", "a\r\nb"},   {"a\rb", "a\r\nb"},       {"a\r\nb", "a\r\nb"},
      {"a\n\rb", "a\r\nb"}, {"a\n\nb", "a\r\n\r\nb"}, {"\n", "\r\n"},
      {"plain", "plain"},
  };
  for (const auto& c : cases) {
    LanguageTables tables;
    ASSERT_EQ(load(stored(1, 1, {"English", c.stored}), tables), CorruptCode::None);
    EXPECT_EQ(std_of(tables.stored(0, 0)), c.expected) << c.stored;
  }
}

TEST(LanguageTables, LocalisedReplacesPlaceholdersInTheStoredText) {
  LanguageTables tables;
  ASSERT_EQ(load(stored(2, 4,
                        {"Deutsch", "English",                                    // names
                         "Titel", "Setup of <Product> in <OS>",                   // id 0
                         "", "<PRODUCT><product>",                                // id 1
                         "x", "no placeholder",                                   // id 2
                         "y", "<os>\\<prod"}),                                    // id 3
                 tables),
            CorruptCode::None);
  const core::String product = str("Tool");
  const core::String windows = str("C:\\WINDOWS");
  const struct {
    int32_t id;
    std::string expected;
  } cases[] = {
      {0, "Setup of Tool in C:\\WINDOWS"}, {1, "ToolTool"}, {2, "no placeholder"}, {3, "C:\\WINDOWS\\<prod"},
      {4, ""},  // the string count
      {-1, ""}, {10000, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(std_of(tables.localised(c.id, product, windows)), c.expected) << "id " << c.id;
  // The substitution stays in the stored text: a later product name finds nothing to replace.
  EXPECT_EQ(std_of(tables.stored(0, 1)), "Setup of Tool in C:\\WINDOWS");
  EXPECT_EQ(std_of(tables.localised(0, str("Other"), windows)), "Setup of Tool in C:\\WINDOWS");
  // Another language, and one out of range.
  EXPECT_TRUE(tables.set_current_language(0));
  EXPECT_EQ(std_of(tables.localised(0, product, windows)), "Titel");
  EXPECT_FALSE(tables.set_current_language(2));
  EXPECT_EQ(tables.current_language(), 0);
  // Before any tables are loaded every id is empty.
  LanguageTables none;
  EXPECT_EQ(std_of(none.localised(0, product, windows)), "");
  EXPECT_EQ(std_of(none.language_name(0)), "");
}

TEST(LanguageTables, WriterReportsTablesTheStoredFormCannotHold) {
  LanguageTables empty;
  archive::MemoryStream a;
  EXPECT_EQ(archive::write_language_tables(a, empty), CorruptCode::BadLanguageCount);

  LanguageTables zero_byte;
  ASSERT_TRUE(zero_byte.reset(1, 1));
  zero_byte.set_text(0, 0, str(std::string("a\0b", 3)));
  archive::MemoryStream b;
  EXPECT_EQ(archive::write_language_tables(b, zero_byte), CorruptCode::BadEndMarker);

  LanguageTables limits;
  EXPECT_FALSE(limits.reset(101, 1));
  EXPECT_FALSE(limits.reset(1, 10001));
  EXPECT_TRUE(limits.reset(100, 10000));
  EXPECT_EQ(limits.string_count(), 10000);
}

}  // namespace
