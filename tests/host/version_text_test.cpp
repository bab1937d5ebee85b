// Normalised version texts and translation keys of version resources.
#include "core/version_text.h"

#include <gtest/gtest.h>

#include <string>

namespace core {
namespace {

std::string text_of(const String& text) { return std::string(text.text(), static_cast<size_t>(text.length())); }

TEST(VersionText, NormalisedPlainAndPadded) {
  struct Case {
    const char* label;
    std::string input;
    const char* plain;
    const char* padded;
  };
  const Case cases[] = {
      {"commas and spaces", "5, 0, 2195, 1", "5.0.2195.1", "0000000005.0000000000.0000002195.0000000001"},
      {"dots", "1.2.30.4", "1.2.30.4", "0000000001.0000000002.0000000030.0000000004"},
      {"trailing zero byte dropped", std::string("3.1\0", 4), "3.1", "0000000003.0000000001"},
      {"white space anywhere", " 1,\t2\r\n.3 ", "1.2.3", "0000000001.0000000002.0000000003"},
      {"letters upper-cased when padded", "2.0b", "2.0b", "0000000002.000000000B"},
      {"empty parts padded too", "1..2.", "1..2.", "0000000001.0000000000.0000000002.0000000000"},
      {"long parts stay", "12345678901.0123456789.7", "12345678901.0123456789.7",
       "12345678901.0123456789.0000000007"},
      {"build note", "6.0.2900.2180 (xpsp_sp2_rtm.040803-2158)", "6.0.2900.2180(xpsp_sp2_rtm.040803-2158)",
       "0000000006.0000000000.0000002900.2180(XPSP_SP2_RTM.040803-2158)"},
      {"empty", "", "", ""},
      {"only white space", " \t", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    String plain;
    plain.append(c.input.data(), static_cast<int32_t>(c.input.size()));
    String padded = plain;
    normalise_version_text(plain, false);
    normalise_version_text(padded, true);
    EXPECT_EQ(text_of(plain), c.plain);
    EXPECT_EQ(text_of(padded), c.padded);
  }
}

TEST(VersionText, TranslationKeys) {
  EXPECT_EQ(text_of(translation_key_text(0x0409, 0x04E4)), "040904e4");
  EXPECT_EQ(text_of(translation_key_text(0x0407, 0x04B0)), "040704b0");
  EXPECT_EQ(text_of(translation_key_text(0xFFFF, 0)), "ffff0000");
}

}  // namespace
}  // namespace core
