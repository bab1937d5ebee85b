// The wizard's checks on text: full paths, network paths, drive letters, the space files
// take in clusters, the existing-installation text and the preselected language name.
#include <gtest/gtest.h>

#include "ui/directory_rules.h"

namespace ui {
namespace {

TEST(DirectoryRules, FullPaths) {
  struct Case {
    const char* path;
    bool full;
  };
  const Case cases[] = {
      {"C:\\Program Files\\Tool", true},
      {"c:\\x", true},
      {"\\\\server\\share\\tool", true},
      {"  C:\\x", false},            // untrimmed: the colon is not second (the loop trims first)
      {"C:\\", true},                // refused later for its length, not its form
      {"C:", false},                 // no backslash after the colon
      {"C:tool", false},
      {"tool\\sub", false},          // relative
      {"\\tool", false},             // rooted but without a drive
      {"1:\\x", false},              // the colon must follow a letter
      {"C:\\a:b", false},            // a second colon
      {"C:\\a/b", false},
      {"C:\\a*", false},
      {"C:\\a?", false},
      {"C:\\a;b", false},
      {"C:\\a|b", false},
      {"C:\\<a>", false},
      {"\"C:\\x\"", false},          // quoted: the form test sees the quote first
      {"C:\\a\"b", false},
      {"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(is_full_install_path(c.path), c.full);
  }
}

TEST(DirectoryRules, NetworkPathsDrivesAndLengths) {
  EXPECT_TRUE(is_network_path("\\\\server\\share"));
  EXPECT_FALSE(is_network_path("\\server"));
  EXPECT_FALSE(is_network_path("C:\\\\x"));
  EXPECT_EQ(install_drive_letter("d:\\x"), 'D');
  EXPECT_EQ(install_drive_letter("Q:"), 'Q');
  EXPECT_EQ(install_drive_letter("\\\\server\\share"), 0);
  EXPECT_EQ(install_drive_letter(""), 0);
  EXPECT_TRUE(is_drive_root_length("C:\\"));
  EXPECT_TRUE(is_drive_root_length("C:"));
  EXPECT_FALSE(is_drive_root_length("C:\\a"));
}

TEST(DirectoryRules, SameDirectory) {
  EXPECT_TRUE(same_directory("C:\\Program Files", "c:\\program files\\"));
  EXPECT_TRUE(same_directory("C:\\Program Files\\", "C:\\Program Files"));
  EXPECT_FALSE(same_directory("C:\\Program Files\\Tool", "C:\\Program Files"));
  EXPECT_FALSE(same_directory("C:\\Program File", "C:\\Program Files"));
}

TEST(DirectoryRules, SpaceInClusters) {
  const int32_t sizes[] = {0, 1, 4096, 4097, -5, 0x40000000};
  struct Case {
    int64_t cluster;
    int64_t needed;
  };
  const Case cases[] = {
      {4096, 0 + 4096 + 4096 + 8192 + 0 + 0x40000000LL},
      {1, 1 + 4096 + 4097 + 0x40000000LL},   // below 2: the sizes as they are
      {-1, 1 + 4096 + 4097 + 0x40000000LL},  // unknown cluster size
      {65536, 3 * 65536 + 0x40000000LL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cluster);
    EXPECT_EQ(space_needed(sizes, 6, c.cluster), c.needed);
  }
  // Four files of 1 GiB add up beyond 32 bits.
  const int32_t large[] = {0x40000000, 0x40000000, 0x40000000, 0x40000000};
  EXPECT_EQ(space_needed(large, 4, 4096), 0x100000000LL);
  EXPECT_EQ(space_needed(nullptr, 0, 4096), 0);
}

TEST(DirectoryRules, SpaceWarning) {
  EXPECT_TRUE(space_warning_due(100, 100));  // an exact fit warns
  EXPECT_TRUE(space_warning_due(101, 100));
  EXPECT_FALSE(space_warning_due(99, 100));
  EXPECT_TRUE(space_warning_due(0, 0));
  EXPECT_FALSE(space_warning_due(100, -1));  // free space unknown
}

TEST(DirectoryRules, ExistingInstallationText) {
  struct Case {
    bool compare;
    const char* installed;
    const char* product;
    int32_t id;
  };
  const Case cases[] = {
      {false, "1.0", "2.0", 3}, {true, "", "2.0", 3},     {true, "1.0", "  ", 3},
      {true, "2.0", "2.0", 4},  {true, "1.9", "2.0", 5},  {true, "1.10", "1.9", 6},
      {true, "1.2", "1.2a", 5}, {true, "1.2b", "1.2a", 6},
      {true, "1.2a", "1.2A", 4}, {true, "1.2a", "1.2B", 5}, {true, "1.2C", "1.2b", 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.compare << " " << c.installed << " " << c.product);
    EXPECT_EQ(existing_installation_text_id(c.compare, c.installed, c.product), c.id);
  }
}

TEST(DirectoryRules, LanguageNamePrefix) {
  struct Case {
    const char* system;
    const char* prefix;
  };
  const Case cases[] = {
      {"English (United States)", "English"},
      {"Deutsch (Deutschland)", "Deutsch"},
      {"Norwegian Bokmal (Norway)", "Norwegian"},
      {"Francais", "Francais"},
      {"(none)", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.system);
    EXPECT_STREQ(language_name_prefix(c.system).text(), c.prefix);
  }
}

}  // namespace
}  // namespace ui
