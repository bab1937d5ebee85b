// The uninstaller's guards on text: class keys it may delete, files and directories it may
// remove and how far their clean-up climbs, the deletion rule of association keys, and the
// self-removal batch.
#include "uninstall/uninstall_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace uninstall {
namespace {

std::vector<std::string> texts(const core::Vector<core::String>& list) {
  std::vector<std::string> result;
  for (const core::String& item : list) result.emplace_back(item.text());
  return result;
}

core::Vector<core::String> sample_system_trees() {
  core::Vector<core::String> trees;
  trees.append("C:\\Windows");
  trees.append("C:\\Windows\\System32");
  return trees;
}

TEST(UninstallRules, ClassKeys) {
  struct Case {
    const char* key;
    bool removable;
  };
  const Case cases[] = {
      {"QvinApp.Document", true},
      {"CLSID\\{12345678-0000-0000-0000-000000000001}", true},
      {"TypeLib\\{12345678-0000-0000-0000-000000000002}", true},
      {"CLSID", false},
      {"clsid", false},
      {"CLSID\\", false},  // an empty component: the root itself
      {"\\CLSID", false},
      {"Interface", false},
      {"TypeLib", false},
      {"AppID", false},
      {"*", false},
      {"Directory", false},
      {"Folder", false},
      {"Drive", false},
      {"MIME", false},
      {" MIME ", false},
      {"Folder\\\\shell", false},
      {"", false},
      {"   ", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(is_removable_class_key(c.key), c.removable);
  }
}

TEST(UninstallRules, FilesOutsideTheSystem) {
  const core::Vector<core::String> trees = sample_system_trees();
  struct Case {
    const char* path;
    const char* install_dir;
    bool removable;
  };
  const Case cases[] = {
      {"C:\\App\\app.exe", "C:\\App", true},
      {"C:\\Users\\me\\Desktop\\App.lnk", "C:\\App", true},
      {"C:\\Program Files\\Common Files\\Company\\x.dll", "C:\\App", true},
      {"C:\\Windows\\System32\\kernel32.dll", "C:\\App", false},
      {"c:/windows/notepad.exe", "C:\\App", false},
      {"C:\\App\\..\\Windows\\win.ini", "C:\\App", false},  // climbs out of the installation
      {"C:\\Windows\\App\\app.exe", "C:\\Windows\\App", true},  // the product's own directory
      {"C:\\Windows\\App", "C:\\Windows\\App", false},          // the directory itself is no file of it
      {"relative\\file.txt", "C:\\App", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(is_removable_file(c.path, c.install_dir, trees), c.removable);
  }
}

TEST(UninstallRules, DirectoryClimbs) {
  const core::Vector<core::String> trees = sample_system_trees();
  struct Case {
    const char* directory;
    const char* install_dir;
    std::vector<std::string> chain;
  };
  const Case cases[] = {
      {"C:\\App\\Data\\Cache", "C:\\App", {"C:\\App\\Data\\Cache", "C:\\App\\Data"}},
      {"C:\\App\\Data\\", "C:\\App\\", {"C:\\App\\Data"}},
      {"c:\\app\\DATA", "C:\\App", {"c:\\app\\DATA"}},
      {"C:\\App", "C:\\App", {}},  // the installation directory stays
      {"C:\\", "C:\\App", {}},     // an ancestor of it
      {"C:\\Users\\me\\Desktop\\App Folder", "C:\\App", {"C:\\Users\\me\\Desktop\\App Folder"}},  // alone
      {"C:\\Program Files\\Common Files\\Company\\Product", "C:\\App",
       {"C:\\Program Files\\Common Files\\Company\\Product"}},
      {"C:\\Windows\\System32\\Empty", "C:\\App", {}},
      {"C:\\App\\..\\Windows\\Temp", "C:\\App", {}},
      {"Data", "C:\\App", {}},
      {"C:\\App\\Data", "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.directory);
    EXPECT_EQ(texts(directory_removal_chain(c.directory, c.install_dir, trees)), c.chain);
  }
}

TEST(UninstallRules, StartMenuClimbStopsAtPrograms) {
  const char* programs = "C:\\Users\\me\\Start Menu\\Programs";
  struct Case {
    const char* group;
    std::vector<std::string> chain;
  };
  const Case cases[] = {
      {"Company\\Product",
       {"C:\\Users\\me\\Start Menu\\Programs\\Company\\Product", "C:\\Users\\me\\Start Menu\\Programs\\Company"}},
      {"Product", {"C:\\Users\\me\\Start Menu\\Programs\\Product"}},
      {"Product\\", {"C:\\Users\\me\\Start Menu\\Programs\\Product"}},
      {"", {}},
      {"..\\..", {}},
      {"..\\Other", {}},
      {"C:\\Windows", {}},
      {"\\Windows", {"C:\\Users\\me\\Start Menu\\Programs\\Windows"}},  // joined as the installer joins it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.group);
    EXPECT_EQ(texts(start_menu_removal_chain(programs, c.group)), c.chain);
  }
  // No more than 20 levels, deepest first.
  std::string deep;
  for (int i = 0; i < 25; ++i) deep += std::string(i == 0 ? "" : "\\") + "d";
  core::Vector<core::String> chain = start_menu_removal_chain(programs, deep.c_str());
  ASSERT_EQ(chain.count(), 20);
  EXPECT_EQ(std::string(chain[0].text()), std::string(programs) + "\\" + deep);
}

TEST(UninstallRules, AssociationKeysGoOnlyWhenNothingElseIsLeft) {
  struct Case {
    const char* label;
    int32_t subkeys;
    int32_t other_values;
    const char* default_value;
    bool type_deletable;
    bool extension_deletable;  // for the file type "QvinApp.Doc"
  };
  const Case cases[] = {
      {"only the product's type", 0, 0, "QvinApp.Doc", true, true},
      {"the type in another case", 0, 0, "qvinapp.doc", true, true},
      {"nothing at all", 0, 0, "", true, true},
      {"a type of the user", 0, 0, "txtfile", true, false},
      {"a value of the user", 0, 1, "QvinApp.Doc", false, false},
      {"a sub-key of the user", 1, 0, "QvinApp.Doc", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ClassKeyContents contents;
    contents.subkeys = c.subkeys;
    contents.other_values = c.other_values;
    contents.default_value = c.default_value;
    EXPECT_EQ(may_delete_class_key(contents), c.type_deletable);
    EXPECT_EQ(may_delete_extension_key(contents, "QvinApp.Doc"), c.extension_deletable);
  }
}

TEST(UninstallRules, InstallationDriveRoot) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\App", "C:\\"}, {"d:\\", "d:\\"}, {"C:", "C:"}, {"\\\\server\\share\\App", ""}, {"", ""},
  };
  for (const auto& [directory, root] : cases) {
    SCOPED_TRACE(directory);
    EXPECT_EQ(std::string(installation_drive_root(directory).text()), root);
  }
}

TEST(UninstallRules, SelfRemovalBatch) {
  core::Vector<core::String> directories;
  directories.append("C:\\App 100%\\Uninst");
  directories.append("C:\\App 100%");
  core::String text = self_removal_batch_text("C:\\App 100%\\Uninst\\uninstall.exe", directories,
                                              "c:\\delunins.bat");
  const std::string attempts(kSelfRemovalAttempts, 'x');
  EXPECT_EQ(std::string(text.text()),
            "@echo off\r\n"
            "set qvin_tries=\r\n"
            ":Repeat\r\n"
            "del \"C:\\App 100%%\\Uninst\\uninstall.exe\"\r\n"
            "if not exist \"C:\\App 100%%\\Uninst\\uninstall.exe\" goto Removed\r\n"
            "set qvin_tries=%qvin_tries%x\r\n"
            "if \"%qvin_tries%\"==\"" + attempts + "\" goto Removed\r\n"
            "ping -n 2 127.0.0.1 >nul\r\n"
            "goto Repeat\r\n"
            ":Removed\r\n"
            "rd \"C:\\App 100%%\\Uninst\"\r\n"
            "rd \"C:\\App 100%%\"\r\n"
            "del \"c:\\delunins.bat\"\r\n");

  // Not the installed uninstaller: no loop, the directories and the batch only.
  core::Vector<core::String> one;
  one.append("C:\\App");
  EXPECT_EQ(std::string(self_removal_batch_text("", one, "C:\\Temp\\delunins.bat").text()),
            "@echo off\r\nrd \"C:\\App\"\r\ndel \"C:\\Temp\\delunins.bat\"\r\n");
}

}  // namespace
}  // namespace uninstall
