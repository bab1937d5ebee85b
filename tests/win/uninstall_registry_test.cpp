// The uninstaller against the real registry and file system: associations put back from
// their backups and deleted only when nothing of the user's is left, shared files released
// by their counts, and the self-removal's test of which program it may delete.
#include <gtest/gtest.h>

#include <string>

#include "core/win/registry.h"
#include "core/win/windows.h"
#include "install/association_record_codec.h"
#include "tests/win/file_test_support.h"
#include "ui/run_state.h"
#include "uninstall/association_removal.h"
#include "uninstall/registration_removal.h"
#include "uninstall/self_removal.h"
#include "uninstall/uninstaller.h"
#include "uninstall/uninstall_run.h"

namespace uninstall {
namespace {

using test_support::put_file;
using test_support::ScratchDirectory;

constexpr char kProduct[] = "Qvin Uninstall Test";
constexpr char kBackup[] = "Qvin Uninstall Test Backup";

// Writes "path\name" = text below HKEY_CLASSES_ROOT (name "" for the default value).
void put_value(const std::string& path, const char* name, const char* text) {
  core::RegistryKey key;
  ASSERT_NE(key.open(HKEY_CLASSES_ROOT, path.c_str()), core::KeyOpenResult::Failed) << path;
  ASSERT_TRUE(key.write_text(name, text)) << path;
}

bool key_exists(const std::string& path) {
  core::RegistryKey key;
  return key.open(HKEY_CLASSES_ROOT, path.c_str(), core::registry_option::ExistingOnly) != core::KeyOpenResult::Failed;
}

std::string value_of(const std::string& path, const char* name) {
  core::RegistryKey key;
  if (key.open(HKEY_CLASSES_ROOT, path.c_str(), core::registry_option::ExistingOnly) == core::KeyOpenResult::Failed) {
    return "<no key>";
  }
  core::TypedValue value;
  if (!key.read_value(name, value)) return "<no value>";
  return key.read_text(name).text();
}

void delete_tree(const std::string& path) {
  core::RegistryKey key;
  key.delete_key_at(HKEY_CLASSES_ROOT, path.c_str());
}

// One association as the installer leaves it: extension -> type, the type's description,
// icon, and the verb "open" with its command.
struct Seeded {
  std::string extension;
  std::string type;
};

void seed_installed(const Seeded& s) {
  put_value(s.extension, "", s.type.c_str());
  put_value(s.type, "", "Qvin test document");
  put_value(s.type + "\\DefaultIcon", "", "C:\\App\\app.exe,0");
  put_value(s.type + "\\shell\\open", "", "&Open");
  put_value(s.type + "\\shell\\open\\command", "", "\"C:\\App\\app.exe\" \"%1\"");
}

class AssociationRemoval : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const char* key : {".qvut1", ".qvut2", ".qvut3", ".qvut4", "QvinUT.One", "QvinUT.Two", "QvinUT.Three",
                            "QvinUT.Four", "UserType.qvut"}) {
      delete_tree(key);
    }
  }
  void remove(const Seeded& s) {
    install::AssociationRecord record{s.extension.c_str(), s.type.c_str(), "open"};
    remove_association(record, kBackup);
  }
};

TEST_F(AssociationRemoval, TypeCreatedByTheInstallationGoesWithItsExtension) {
  Seeded s{".qvut1", "QvinUT.One"};
  seed_installed(s);
  remove(s);
  EXPECT_FALSE(key_exists(s.type));
  EXPECT_FALSE(key_exists(s.extension));
}

TEST_F(AssociationRemoval, BackupsComeBackAndTheUsersKeysStay) {
  // The user had .qvut2 -> UserType.qvut, and the type with a description, an icon and a
  // command of its own; the installation saved each before overwriting it.
  Seeded s{".qvut2", "QvinUT.Two"};
  seed_installed(s);
  put_value(s.extension, kBackup, "UserType.qvut");
  put_value(s.type, kBackup, "The user's description");
  put_value(s.type + "\\DefaultIcon", kBackup, "C:\\User\\icon.ico");
  put_value(s.type + "\\shell\\open\\command", kBackup, "notepad.exe \"%1\"");
  remove(s);
  EXPECT_EQ(value_of(s.extension, ""), "UserType.qvut");
  EXPECT_EQ(value_of(s.extension, kBackup), "<no value>");
  EXPECT_EQ(value_of(s.type, ""), "The user's description");
  EXPECT_EQ(value_of(s.type + "\\DefaultIcon", ""), "C:\\User\\icon.ico");
  EXPECT_EQ(value_of(s.type + "\\shell\\open\\command", ""), "notepad.exe \"%1\"");
  EXPECT_EQ(value_of(s.type + "\\shell\\open\\command", kBackup), "<no value>");
}

TEST_F(AssociationRemoval, KeysHoldingMoreThanTheirDefaultValueStay) {
  struct Case {
    const char* label;
    Seeded s;
    std::string extra_key;    // a key of the user's, left below the seeded ones
    const char* extra_value;  // or a value of the user's in the extension's key
    bool type_stays;
    bool extension_stays;
  };
  const Case cases[] = {
      {"a value of the user's in the extension", {".qvut3", "QvinUT.Three"}, "", "Content Type", false, true},
      {"a verb of the user's in the type", {".qvut4", "QvinUT.Four"}, "QvinUT.Four\\shell\\print", nullptr, true,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    seed_installed(c.s);
    if (!c.extra_key.empty()) put_value(c.extra_key, "", "&Print");
    if (c.extra_value != nullptr) put_value(c.s.extension, c.extra_value, "text/x-qvin");
    remove(c.s);
    EXPECT_EQ(key_exists(c.s.type), c.type_stays);
    EXPECT_EQ(key_exists(c.s.extension), c.extension_stays);
    if (c.type_stays) {
      EXPECT_FALSE(key_exists(c.s.type + "\\shell\\open"));  // the verb was the installation's
      EXPECT_TRUE(key_exists(c.extra_key));
    }
  }
}

// Shared files below a scratch directory, with counts in the real SharedDLLs key.
class SharedRelease : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(key_.open(HKEY_LOCAL_MACHINE, kSharedDlls), core::KeyOpenResult::Failed);
    ui::run_state().automatic = true;
  }
  void TearDown() override {
    for (const std::string& path : paths_) key_.delete_value(path.c_str());
    ui::run_state().automatic = false;
  }
  std::string seed(const char* name, int count) {
    std::string path = dir_ / name;
    EXPECT_TRUE(put_file(path, "dll"));
    if (count >= 0) key_.write_int(path.c_str(), count);
    paths_.push_back(path);
    return path;
  }
  bool has_count(const std::string& path, int32_t& count) {
    core::TypedValue value;
    if (!key_.read_value(path.c_str(), value)) return false;
    count = value.as_int();
    return true;
  }

  static constexpr char kSharedDlls[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
  ScratchDirectory dir_;
  core::RegistryKey key_;
  std::vector<std::string> paths_;
};

TEST_F(SharedRelease, OnlyACountThatReachesZeroFreesAFile) {
  struct Case {
    const char* name;
    int count;        // -1: no count
    char marker;
    bool file_stays;
    int count_after;  // -1: no value
  };
  const Case cases[] = {
      {"three.dll", 3, 0, true, 2},
      {"one.dll", 1, 0, false, -1},
      {"uncounted.dll", -1, 0, true, -1},  // someone else's, never counted
      {"zero.dll", 0, 0, true, -1},        // a count of 0 was nobody's
      {"permanent.dll", 1, ' ', true, -1},
  };
  std::string list;
  for (const Case& c : cases) {
    std::string path = seed(c.name, c.count);
    if (!list.empty()) list += ";";
    list += "\"" + path + (c.marker != 0 ? std::string(1, c.marker) : "") + "\"";
  }
  UninstallRun run;
  release_shared_files(list.c_str(), run);
  EXPECT_TRUE(run.records.error_report.is_empty());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = dir_ / c.name;
    EXPECT_EQ(GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES, c.file_stays);
    int32_t count = -1;
    EXPECT_EQ(has_count(path, count), c.count_after >= 0);
    if (c.count_after >= 0) {
      EXPECT_EQ(count, c.count_after);
    }
  }
}

TEST(SelfRemoval, DeletesOnlyTheInstalledUninstaller) {
  core::ProcessEnvironment env;
  struct Case {
    const char* program;
    const char* uninstall_dir;
    bool installed;
  };
  const Case cases[] = {
      {"C:\\App\\Uninst\\uninstall.exe", "C:\\App\\Uninst", true},
      {"c:\\app\\uninst\\UNINSTALL.EXE", "C:\\App\\Uninst\\", true},
      {"C:\\App\\uninstall.exe", "C:\\App", true},  // no uninstall subdirectory
      {"C:\\Users\\me\\Downloads\\setup.exe", "C:\\App\\Uninst", false},
      {"C:\\App\\Uninst\\Sub\\uninstall.exe", "C:\\App\\Uninst", false},
      {"C:\\App\\Uninst\\uninstall.exe", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program);
    core::describe_installer(env, c.program);
    EXPECT_EQ(is_installed_uninstaller(env, c.uninstall_dir), c.installed);
  }
}

TEST(ProductInstalled, NeedsAnUninstallerInItsKey) {
  constexpr char kList[] = "Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
  struct Case {
    const char* name;
    const char* value;  // the uninstaller's value written, or null for none; no key at all: ""
    bool installed;
    const char* directory_after;
  };
  const Case cases[] = {
      {"Qvin Installed Test 1", "UninstallString", true, "C:\\Installed"},
      {"Qvin Installed Test 2", "QuietUninstallString", true, "C:\\Installed"},
      {"Qvin Installed Test 3", nullptr, false, ""},
      {"Qvin Installed Test 4", "", false, "unchanged"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = std::string(kList) + c.name;
    core::RegistryKey key;
    if (c.value == nullptr || *c.value != 0) {
      ASSERT_NE(key.open_software(path.c_str(), false), core::KeyOpenResult::Failed);
      key.write_text("InstallLocation", "C:\\Installed");
      if (c.value != nullptr) key.write_text(c.value, "\"C:\\Installed\\Uninstall.exe\" /u:\"x\"");
      key.close_all();
    }
    core::String directory = "unchanged";
    EXPECT_EQ(is_product_installed(c.name, &directory), c.installed);
    EXPECT_STREQ(directory.text(), c.directory_after);
    EXPECT_EQ(is_product_installed(c.name, nullptr), c.installed);
    key.delete_software_key(path.c_str(), false);
  }
}

}  // namespace
}  // namespace uninstall
