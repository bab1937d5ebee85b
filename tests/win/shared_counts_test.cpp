// Shared-file counts in the system's SharedDLLs key: a first installation, a
// reinstallation over it, files that were on the machine uncounted, counts above 2^31, and
// a product without uninstall support.
#include "install/shared_counts.h"

#include <gtest/gtest.h>

#include <string>

#include "archive/settings.h"
#include "install/shared_files_codec.h"
#include "tests/win/phase_context.h"
#include "ui/run_state.h"

namespace install {
namespace {

using test_support::registry_value;

// Paths of no real file: each test's values are removed before and after it.
const char* const kPaths[] = {"C:\\qvin-test-shared\\new.dll", "C:\\qvin-test-shared\\found.dll",
                              "C:\\qvin-test-shared\\counted.dll", "C:\\qvin-test-shared\\big.ocx",
                              "C:\\qvin-test-shared\\types.tlb"};

class SharedCountsTest : public ::testing::Test {
 protected:
  void SetUp() override { remove_values(); }
  void TearDown() override { remove_values(); }

  static void remove_values() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDllsKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    for (const char* path : kPaths) RegDeleteValueA(key, path);
    RegCloseKey(key);
  }
  static void set_count(const char* path, DWORD count) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedDllsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, path, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof(count));
    RegCloseKey(key);
  }
  static std::string count_of(const char* path) { return registry_value(HKEY_LOCAL_MACHINE, kSharedDllsKey, path); }

  static core::Vector<SharedFile> product_files() {
    core::Vector<SharedFile> files;
    auto add = [&files](const char* path, char marker, bool existed_before) {
      SharedFile file;
      file.target = path;
      file.marker = marker;
      file.existed_before = existed_before;
      files.append(file);
    };
    add(kPaths[0], shared_marker::None, false);
    add(kPaths[1], shared_marker::Permanent, true);  // a system file nobody had counted
    add(kPaths[2], shared_marker::ComServer, true);  // counted by two other products
    add(kPaths[3], shared_marker::None, false);
    add(kPaths[4], shared_marker::TypeLibrary, false);
    return files;
  }
};

TEST_F(SharedCountsTest, CountsOnceAndNotAgainOnAReinstallation) {
  set_count(kPaths[2], 2);
  set_count(kPaths[3], 0x80000000u);  // read as unsigned, not as a negative count
  RunRecords records;
  core::String text = update_shared_counts("", product_files(), records);
  EXPECT_STREQ(text.text(),
               "\"C:\\qvin-test-shared\\new.dll\";\"C:\\qvin-test-shared\\found.dll \";"
               "\"C:\\qvin-test-shared\\counted.dll^\";\"C:\\qvin-test-shared\\big.ocx\";"
               "\"C:\\qvin-test-shared\\types.tlb\xA9\"");
  EXPECT_TRUE(records.error_report.is_empty());
  const char* const first[] = {"1", "2", "3", "2147483649", "1"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(count_of(kPaths[i]), first[i]) << kPaths[i];

  // The same product again: its own counts are released first, and a file it put there
  // itself is no longer taken for a foreign one.
  core::Vector<SharedFile> again = product_files();
  core::String second_text = update_shared_counts(text, again, records);
  EXPECT_EQ(second_text, text);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(count_of(kPaths[i]), first[i]) << kPaths[i];
  EXPECT_TRUE(records.error_report.is_empty());
}

TEST_F(SharedCountsTest, FromTheRunStateOnlyWithUninstallSupport) {
  test_support::PhaseContext phase;
  phase.records.shared_files = product_files();
  ui::RunState& state = ui::run_state();
  state.reinstall = false;
  state.previous_shared_files = "\"C:\\qvin-test-shared\\new.dll\"";  // not a reinstallation: ignored

  EXPECT_TRUE(update_shared_counts(phase.context).is_empty());  // no uninstall support
  EXPECT_EQ(count_of(kPaths[0]), "<no value>");

  phase.settings.flags |= archive::flag::UninstallSupport;
  core::String text = update_shared_counts(phase.context);
  EXPECT_EQ(text, write_shared_files(phase.records.shared_files));
  EXPECT_EQ(count_of(kPaths[0]), "1");

  state.reinstall = true;
  state.previous_shared_files = text;
  EXPECT_EQ(update_shared_counts(phase.context), text);
  EXPECT_EQ(count_of(kPaths[0]), "1");
  EXPECT_EQ(count_of(kPaths[1]), "2");
  state.reinstall = false;
  state.previous_shared_files.clear();
}

}  // namespace
}  // namespace install
