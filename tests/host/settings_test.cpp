// Tests of the settings: round trips, every check's code, truncation, defaults and blank rules.
#include <gtest/gtest.h>
#include <stdint.h>

#include <functional>
#include <string>
#include <vector>

#include "archive/environment.h"
#include "archive/memory_stream.h"
#include "archive/settings.h"
#include "header_block_samples.h"

namespace {

using archive::CorruptCode;
using archive::Settings;
using samples::str;
using samples::std_of;

constexpr int64_t kFileSize = 1 << 20;

CorruptCode read_block(archive::MemoryStream& stream, Settings& s, int64_t file_size = kFileSize) {
  return archive::read_all_stored_settings(stream, file_size, s);
}

Settings valid_settings() {
  samples::Random r(7);
  Settings s = samples::random_settings(r);
  s.flags |= archive::flag::UninstallSupport | archive::flag::AddOn;
  s.uninstaller_patch.offset = 100;
  s.uninstaller_patch.bytes = str("patch");
  return s;
}

TEST(Settings, RandomSettingsReadBackEqual) {
  for (uint32_t seed = 1; seed <= 100; ++seed) {
    samples::Random r(seed);
    const Settings written = samples::random_settings(r);
    archive::MemoryStream stream;
    ASSERT_EQ(archive::write_settings(stream, written), CorruptCode::None) << "seed " << seed;
    const int32_t size = stream.size();
    ASSERT_TRUE(stream.seek(0));
    Settings read;
    ASSERT_EQ(read_block(stream, read), CorruptCode::None) << "seed " << seed;
    EXPECT_TRUE(read == written) << "seed " << seed;
    EXPECT_EQ(stream.position(), size) << "seed " << seed << ": the end marker closes the block";
  }
}

// Each row damages valid settings; the writer still writes them (so damaged blocks can be
// made) and reports the code, and the reader stops with the same code.
struct CheckCase {
  const char* label;
  std::function<void(Settings&)> damage;
  CorruptCode expected;
};

TEST(Settings, EveryCheckHasItsCode) {
  const CheckCase cases[] = {
      {"valid", [](Settings&) {}, CorruptCode::None},
      {"min status time 9999", [](Settings& s) { s.min_status_time = 9999; }, CorruptCode::None},
      {"min status time 10000", [](Settings& s) { s.min_status_time = 10000; }, CorruptCode::BadMinStatusTime},
      {"bitmap size 100", [](Settings& s) { s.bitmap_size = 100; }, CorruptCode::None},
      {"bitmap size 101", [](Settings& s) { s.bitmap_size = 101; }, CorruptCode::BadBitmapSize},
      {"bitmap size -1", [](Settings& s) { s.bitmap_size = -1; }, CorruptCode::BadBitmapSize},
      {"20 licences", [](Settings& s) { s.licence_texts.set_count(20); }, CorruptCode::None},
      {"21 licences", [](Settings& s) { s.licence_texts.set_count(21); }, CorruptCode::BadLicenceCount},
      {"21 readmes", [](Settings& s) { s.readme_texts.set_count(21); }, CorruptCode::BadReadmeCount},
      {"volume base blank", [](Settings& s) { s.volume_base_name = str(" \t\r\n"); }, CorruptCode::BlankVolumeBaseName},
      {"volume base empty", [](Settings& s) { s.volume_base_name = str(""); }, CorruptCode::BlankVolumeBaseName},
      {"patch offset -1", [](Settings& s) { s.uninstaller_patch.offset = -1; }, CorruptCode::BadUninstallerPatch},
      {"patch offset at the file size", [](Settings& s) { s.uninstaller_patch.offset = kFileSize; }, CorruptCode::None},
      {"patch offset past the file size",
       [](Settings& s) { s.uninstaller_patch.offset = kFileSize + 1; }, CorruptCode::BadUninstallerPatch},
      {"patch offset -1 without uninstall support",
       [](Settings& s) {
         s.flags &= ~archive::flag::UninstallSupport;
         s.uninstaller_patch = archive::UninstallerPatch();
       },
       CorruptCode::None},
      {"1001 deletion rules", [](Settings& s) { s.deletion_rules.set_count(1001); }, CorruptCode::None},
      {"1002 deletion rules", [](Settings& s) { s.deletion_rules.set_count(1002); }, CorruptCode::TooManyDeletionRules},
      {"10000 associations", [](Settings& s) { s.file_associations.set_count(10000); }, CorruptCode::None},
      {"10001 associations", [](Settings& s) { s.file_associations.set_count(10001); },
       CorruptCode::BadAssociationCount},
      {"10001 uninstall values", [](Settings& s) { s.uninstall_values.set_count(10001); },
       CorruptCode::BadUninstallValueCount},
      {"earliest check first",
       [](Settings& s) {
         s.min_status_time = 10000;
         s.licence_texts.set_count(21);
       },
       CorruptCode::BadMinStatusTime},
  };
  for (const CheckCase& c : cases) {
    Settings s = valid_settings();
    c.damage(s);
    archive::MemoryStream stream;
    const CorruptCode written = archive::write_settings(stream, s);
    // The writer cannot know the executable's size, so it does not judge the offset.
    if (c.expected != CorruptCode::BadUninstallerPatch || s.uninstaller_patch.offset < 0) {
      EXPECT_EQ(written, c.expected) << c.label << " (writer)";
    }
    ASSERT_TRUE(stream.seek(0));
    Settings read;
    EXPECT_EQ(read_block(stream, read), c.expected) << c.label;
    if (c.expected == CorruptCode::None) {
      EXPECT_TRUE(read == s) << c.label;
    }
  }
}

// Raw damage to a written block: the end marker, and the language tables inside it.
TEST(Settings, EndMarkerAndLanguageTablesAreChecked) {
  Settings s = valid_settings();
  archive::MemoryStream stream;
  ASSERT_EQ(archive::write_settings(stream, s), CorruptCode::None);
  const std::vector<uint8_t> block = samples::bytes_of(stream);
  const size_t marker = block.size() - 4;
  ASSERT_EQ(block[marker], 0x97);

  for (int bit = 0; bit < 32; ++bit) {
    std::vector<uint8_t> damaged = block;
    damaged[marker + bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8));
    archive::MemoryStream in(damaged.data(), static_cast<int32_t>(damaged.size()));
    Settings read;
    EXPECT_EQ(read_block(in, read), CorruptCode::BadEndMarker) << "bit " << bit;
  }

  // The language tables come last, just before the end marker.
  const size_t tables = block.size() - 4 - [&] {
    archive::MemoryStream t;
    archive::write_language_tables(t, s.languages);
    return static_cast<size_t>(t.size());
  }();
  const struct {
    const char* label;
    size_t offset;
    uint8_t value;
    CorruptCode expected;
  } rows[] = {
      {"language count 0", tables, 0, CorruptCode::BadLanguageCount},
      {"language count 101", tables, 101, CorruptCode::BadLanguageCount},
      {"string count 0", tables + 1, 0, CorruptCode::BadStringCount},
  };
  for (const auto& row : rows) {
    std::vector<uint8_t> damaged = block;
    damaged[row.offset] = row.value;
    if (row.offset == tables + 1) damaged[tables + 2] = damaged[tables + 3] = damaged[tables + 4] = 0;
    archive::MemoryStream in(damaged.data(), static_cast<int32_t>(damaged.size()));
    Settings read;
    EXPECT_EQ(read_block(in, read), row.expected) << row.label;
  }
}

// A block cut anywhere is caught, whatever field the cut falls in, and never read past.
TEST(Settings, TruncatedBlockIsCorruptAtEveryLength) {
  Settings s = valid_settings();
  // Every kind of field, but short texts, so that each cut is quick to read.
  samples::Random r(11);
  samples::fill_tables(r, s.languages, 2, 3);
  s.licence_texts.set_count(2);
  s.readme_texts.set_count(1);
  s.bitmap = str("BM");
  s.deletion_rules.set_count(2);
  s.file_associations.set_count(1);
  s.uninstall_values.set_count(1);
  archive::MemoryStream stream;
  ASSERT_EQ(archive::write_settings(stream, s), CorruptCode::None);
  const std::vector<uint8_t> block = samples::bytes_of(stream);
  for (size_t length = 0; length < block.size(); ++length) {
    archive::MemoryStream in(block.data(), static_cast<int32_t>(length));
    Settings read;
    ASSERT_EQ(read_block(in, read), CorruptCode::BadEndMarker) << "cut at " << length << " of " << block.size();
  }
}

// Values the block cannot hold are reported by the writer.
TEST(Settings, WriterReportsValuesTheBlockCannotHold) {
  const CheckCase cases[] = {
      {"zero byte in a text", [](Settings& s) { s.publisher = str(std::string("a\0b", 3)); },
       CorruptCode::BadEndMarker},
      {"rule named like the end",
       [](Settings& s) {
         s.deletion_rules.set_count(1);
         s.deletion_rules[0].specification = str("~~THE END~~");
       },
       CorruptCode::BadEndMarker},
      {"rule named in other case",
       [](Settings& s) {
         s.deletion_rules.set_count(1);
         s.deletion_rules[0].specification = str("~~the end~~");
       },
       CorruptCode::None},
      {"zero byte in the bitmap", [](Settings& s) { s.bitmap = str(std::string("\0\0", 2)); }, CorruptCode::None},
  };
  for (const CheckCase& c : cases) {
    Settings s = valid_settings();
    c.damage(s);
    archive::MemoryStream stream;
    EXPECT_EQ(archive::write_settings(stream, s), c.expected) << c.label;
  }
}

// An environment with fixed directories that records what it was asked to create.
class TestEnvironment final : public archive::Environment {
 public:
  core::String windows_directory() override { return str("C:\\WINDOWS"); }
  core::String program_files_directory() override { return str("C:\\Program Files"); }
  core::String common_files_directory() override { return str("C:\\Program Files\\Common Files"); }
  void expand_directory_variables(core::String& text) override {
    text.replace("%WinDir%", "C:\\WINDOWS", core::search::IgnoreCase, 0, core::kAll);
  }
  void create_directories(const core::String& path) override { created.push_back(std_of(path)); }
  std::vector<std::string> created;
};

struct DefaultsCase {
  const char* label;
  std::function<void(Settings&)> stored;
  std::string override_name;
  std::function<std::string(const Settings&)> field;
  std::string expected;
};

Settings plain_settings() {
  Settings s;
  s.stored_product_name = str("Prod");
  s.publisher = str("Acme");
  return s;
}

TEST(Settings, DefaultsAndBlankRules) {
  auto shared = [](const Settings& s) { return std_of(s.shared_path); };
  auto menu = [](const Settings& s) { return std_of(s.start_menu_folder); };
  auto dir = [](const Settings& s) { return std_of(s.default_install_dir); };
  auto key = [](const Settings& s) { return std_of(s.uninstall_key); };
  auto master = [](const Settings& s) { return std_of(s.master_product); };
  auto product = [](const Settings& s) { return std_of(s.product_name); };
  const auto support = [](Settings& s) { s.flags |= archive::flag::UninstallSupport; };
  const DefaultsCase cases[] = {
      {"product name as stored", [](Settings&) {}, "", product, "Prod"},
      {"product name overridden", [](Settings&) {}, "Other", product, "Other"},
      {"start menu: publisher and product", [](Settings&) {}, "", menu, "Acme\\Prod"},
      {"start menu: product alone", [](Settings& s) { s.publisher = str(""); }, "", menu, "Prod"},
      {"start menu: blank publisher kept", [](Settings& s) { s.publisher = str(" "); }, "", menu, " \\Prod"},
      {"start menu: blank is not empty", [](Settings& s) { s.start_menu_folder = str(" "); }, "", menu, " "},
      {"start menu: override", [](Settings&) {}, "Other", menu, "Acme\\Other"},
      {"shared: publisher", support, "", shared, "C:\\Program Files\\Common Files\\Acme"},
      {"shared: blank publisher gives the product",
       [](Settings& s) {
         s.flags |= archive::flag::UninstallSupport;
         s.publisher = str(" \t");
         s.shared_path = str("\r\n");
       },
       "", shared, "C:\\Program Files\\Common Files\\Prod"},
      {"shared: stored", [](Settings& s) {
         s.flags |= archive::flag::UninstallSupport;
         s.shared_path = str("Shared\\Dlls");
       }, "", shared,
       "C:\\Program Files\\Common Files\\Shared\\Dlls"},
      {"shared: absolute", [](Settings& s) {
         s.flags |= archive::flag::UninstallSupport;
         s.shared_path = str("D:\\Shared");
       }, "", shared,
       "D:\\Shared"},
      {"shared: cleared without uninstall support", [](Settings& s) { s.shared_path = str("x"); }, "", shared, ""},
      {"install dir: product", [](Settings&) {}, "", dir, "C:\\Program Files\\Prod"},
      {"install dir: override", [](Settings&) {}, "Other", dir, "C:\\Program Files\\Other"},
      {"install dir: relative", [](Settings& s) { s.default_install_dir = str("Acme\\App"); }, "", dir,
       "C:\\Program Files\\Acme\\App"},
      {"install dir: <OS> in any case", [](Settings& s) { s.default_install_dir = str("<Os>\\App"); }, "", dir,
       "C:\\WINDOWS\\App"},
      {"install dir: variables", [](Settings& s) { s.default_install_dir = str("%windir%\\Fonts"); }, "", dir,
       "C:\\WINDOWS\\Fonts"},
      {"install dir: <master> kept", [](Settings& s) { s.default_install_dir = str("<MASTER>"); }, "", dir,
       "<MASTER>"},
      {"install dir: blank is trimmed, not defaulted", [](Settings& s) { s.default_install_dir = str("  "); }, "",
       dir, ""},
      {"uninstall key: blank gives the product", [](Settings& s) { s.uninstall_key = str(" \r\n"); }, "", key,
       "Prod"},
      {"uninstall key: stored", [](Settings& s) { s.uninstall_key = str("Key"); }, "", key, "Key"},
      {"master: blank gives the product", [](Settings& s) { s.flags |= archive::flag::AddOn; }, "", master, "Prod"},
      {"master: only for add-ons", [](Settings&) {}, "", master, ""},
  };
  for (const DefaultsCase& c : cases) {
    Settings s = plain_settings();
    c.stored(s);
    TestEnvironment environment;
    archive::apply_settings_defaults(s, str(c.override_name), environment);
    EXPECT_EQ(c.field(s), c.expected) << c.label;
  }
}

TEST(Settings, SharedDirectoryIsCreatedOnlyWithUninstallSupport) {
  for (const bool support : {false, true}) {
    Settings s = plain_settings();
    if (support) s.flags |= archive::flag::UninstallSupport;
    TestEnvironment environment;
    archive::apply_settings_defaults(s, core::String(), environment);
    const std::vector<std::string> expected =
        support ? std::vector<std::string>{"C:\\Program Files\\Common Files\\Acme"} : std::vector<std::string>{};
    EXPECT_EQ(environment.created, expected) << "support " << support;
  }
}

// Host tools read installers with the neutral environment: paths stay as stored.
TEST(Settings, NeutralEnvironmentLeavesPathsAsStored) {
  Settings s = plain_settings();
  s.flags |= archive::flag::UninstallSupport;
  s.default_install_dir = str("<os>\\%WinDir%\\App");
  s.shared_path = str("Shared");
  archive::NeutralEnvironment environment;
  archive::apply_settings_defaults(s, core::String(), environment);
  EXPECT_EQ(std_of(s.default_install_dir), "<os>\\%WinDir%\\App");
  EXPECT_EQ(std_of(s.shared_path), "Shared");
}

// The stored product name is read even when /n: overrides it, so later fields stay aligned;
// read_settings applies the defaults only to settings that pass every check.
TEST(Settings, ReadSettingsReadsWholeBlockThenCompletes) {
  Settings s = valid_settings();
  s.uninstall_key = str("");
  archive::MemoryStream stream;
  ASSERT_EQ(archive::write_settings(stream, s), CorruptCode::None);
  ASSERT_TRUE(stream.seek(0));
  Settings read;
  TestEnvironment environment;
  ASSERT_EQ(archive::read_settings_flags(stream, read), CorruptCode::None);
  ASSERT_EQ(archive::read_settings(stream, kFileSize, str("Override"), environment, read), CorruptCode::None);
  EXPECT_EQ(std_of(read.stored_product_name), std_of(s.stored_product_name));
  EXPECT_EQ(std_of(read.product_name), "Override");
  EXPECT_EQ(std_of(read.uninstall_key), "Override");
  EXPECT_TRUE(read.languages == s.languages);

  s.volume_base_name = str("");
  archive::MemoryStream bad;
  archive::write_settings(bad, s);
  ASSERT_TRUE(bad.seek(0));
  Settings rejected;
  TestEnvironment untouched;
  archive::read_settings_flags(bad, rejected);
  EXPECT_EQ(archive::read_settings(bad, kFileSize, core::String(), untouched, rejected),
            CorruptCode::BlankVolumeBaseName);
  EXPECT_TRUE(untouched.created.empty()) << "no directory is made for a corrupt installer";
}

TEST(Settings, UninstallerPatchIsAppliedOnlyWhenItFits) {
  const struct {
    const char* label;
    int32_t offset;
    std::string bytes;
    bool applied;
    std::string image;
  } cases[] = {
      {"inside", 2, "XY", true, "abXYef"},
      {"at the end", 4, "XY", true, "abcdXY"},
      {"one past", 5, "XY", false, "abcdef"},
      {"offset 0 means none", 0, "XY", false, "abcdef"},
      {"far beyond", 0x7FFFFFFF, "XY", false, "abcdef"},
  };
  for (const auto& c : cases) {
    std::string image = "abcdef";
    archive::UninstallerPatch patch;
    patch.offset = c.offset;
    patch.bytes = str(c.bytes);
    EXPECT_EQ(archive::apply_uninstaller_patch(patch, reinterpret_cast<uint8_t*>(image.data()),
                                               static_cast<int64_t>(image.size())),
              c.applied)
        << c.label;
    EXPECT_EQ(image, c.image) << c.label;
  }
}

}  // namespace
