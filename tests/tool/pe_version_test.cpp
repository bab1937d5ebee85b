// The FileVersion reader against PE images made in memory.
#include <gtest/gtest.h>

#include "qvin/project/pe_version.h"
#include "tool/pe_fixture.h"

namespace {

using qvin_test::make_pe;
using qvin_test::version_block;

TEST(PeVersion, ReadsTheTextOfTheFirstTranslation) {
  struct Case {
    const char* label;
    std::string image;
    std::string expected;
  };
  const Case cases[] = {
      {"plain version", make_pe(version_block("1.2.3.4", "040904b0", 0x04B00409u)), "1.2.3.4"},
      {"commas and blanks", make_pe(version_block("5, 0, 2195, 1", "040904b0", 0x04B00409u)), "5.0.2195.1"},
      {"note after a blank", make_pe(version_block("6.0.2900.2180 (xpsp.080413)", "040904b0", 0x04B00409u)),
       "6.0.2900.2180(xpsp.080413)"},
      {"no translation: 040904e4", make_pe(version_block("2.0", "040904E4", std::nullopt)), "2.0"},
      {"other language", make_pe(version_block("3.1", "040704b0", 0x04B00407u)), "3.1"},
      {"table of another translation", make_pe(version_block("3.1", "040904b0", 0x04B00407u)), ""},
      {"no version resource", make_pe(), ""},
      {"not a PE file", std::string("MZ not really"), ""},
      {"empty", std::string(), ""},
  };
  for (const auto& c : cases) EXPECT_EQ(qvin::pe_file_version(c.image), c.expected) << c.label;
}

TEST(PeVersion, SurvivesEveryTruncation) {
  const std::string image = make_pe(version_block("1.2.3.4", "040904b0", 0x04B00409u));
  for (size_t n = 0; n < image.size(); n += 7) {
    const std::string cut = image.substr(0, n);
    (void)qvin::pe_file_version(cut);  // must neither crash nor read outside
  }
  std::string damaged = image;
  for (size_t i = 0x800; i < damaged.size(); ++i) damaged[i] = '\xFF';
  EXPECT_EQ(qvin::pe_file_version(damaged), "");
}

}  // namespace
