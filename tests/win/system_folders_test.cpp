// Special folders against what Wine's shell reports, and against registry values the
// tests write for a moment (every value is put back as it was).
#include "core/win/system_folders.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/win/directories.h"
#include "core/win/optional_functions.h"
#include "core/win/windows.h"

#include <shlobj.h>

namespace core {
namespace {

constexpr const char* shell_folders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* current_version = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* setup_key = "Software\\Microsoft\\Windows\\CurrentVersion\\Setup";

std::string text_of(const String& text) { return std::string(text.text(), static_cast<size_t>(text.length())); }

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return text;
}

// One registry value replaced or removed for the life of the object.
class ValueOverride {
 public:
  ValueOverride(HKEY root, const char* key, const char* name) : root_(root), key_(key), name_(name) {
    BYTE buffer[4096];
    DWORD size = sizeof(buffer);
    existed_ = RegGetValueA(root_, key_.c_str(), name_.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type_, buffer, &size) ==
               ERROR_SUCCESS;
    if (existed_) data_.assign(reinterpret_cast<char*>(buffer), size);
  }
  ~ValueOverride() {
    if (existed_) {
      RegSetKeyValueA(root_, key_.c_str(), name_.c_str(), type_, data_.data(), static_cast<DWORD>(data_.size()));
    } else {
      RegDeleteKeyValueA(root_, key_.c_str(), name_.c_str());
    }
  }
  ValueOverride(const ValueOverride&) = delete;
  ValueOverride& operator=(const ValueOverride&) = delete;

  void set(const std::string& text, DWORD type = REG_SZ) {
    ASSERT_EQ(RegSetKeyValueA(root_, key_.c_str(), name_.c_str(), type, text.c_str(),
                              static_cast<DWORD>(text.size() + 1)),
              ERROR_SUCCESS);
  }
  void remove() { RegDeleteKeyValueA(root_, key_.c_str(), name_.c_str()); }

 private:
  HKEY root_;
  std::string key_;
  std::string name_;
  bool existed_ = false;
  DWORD type_ = 0;
  std::string data_;
};

// Keeps the shell's folder query away while it lives, so the fallbacks show.
struct ShellQueryAbsent {
  ShellQueryAbsent() { force_absent(Optional::SHGetSpecialFolderPathA, true); }
  ~ShellQueryAbsent() { force_absent(Optional::SHGetSpecialFolderPathA, false); }
};

std::string windows_dir() {
  char buffer[MAX_PATH] = {};
  GetWindowsDirectoryA(buffer, sizeof(buffer));
  return buffer;
}

TEST(SpecialFolders, MatchWhatTheShellReports) {
  struct Case {
    SpecialFolder which;
    int csidl;
  };
  const Case cases[] = {
      {SpecialFolder::UserDesktop, CSIDL_DESKTOPDIRECTORY},
      {SpecialFolder::CommonDesktop, CSIDL_COMMON_DESKTOPDIRECTORY},
      {SpecialFolder::UserDocuments, CSIDL_PERSONAL},
      {SpecialFolder::CommonDocuments, CSIDL_COMMON_DOCUMENTS},
      {SpecialFolder::UserFavorites, CSIDL_FAVORITES},
      {SpecialFolder::CommonFavorites, CSIDL_COMMON_FAVORITES},
      {SpecialFolder::Fonts, CSIDL_FONTS},
      {SpecialFolder::UserStartMenu, CSIDL_STARTMENU},
      {SpecialFolder::CommonStartMenu, CSIDL_COMMON_STARTMENU},
      {SpecialFolder::UserPrograms, CSIDL_PROGRAMS},
      {SpecialFolder::CommonPrograms, CSIDL_COMMON_PROGRAMS},
      {SpecialFolder::UserStartup, CSIDL_STARTUP},
      {SpecialFolder::CommonStartup, CSIDL_COMMON_STARTUP},
      {SpecialFolder::ProgramFiles, CSIDL_PROGRAM_FILES},
      {SpecialFolder::CommonFiles, CSIDL_PROGRAM_FILES_COMMON},
  };
  std::string windows = windows_dir();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.csidl);
    char expected[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathA(nullptr, c.csidl, nullptr, SHGFP_TYPE_CURRENT, expected), S_OK);
    EXPECT_EQ(lower(text_of(special_folder(c.which, windows.c_str()))), lower(expected));
    // The shell step alone gives the same folder.
    EXPECT_EQ(lower(text_of(special_folder_path(c.csidl))), lower(expected));
  }
  // Folders without a shell number come from the registry or the Windows directory.
  EXPECT_EQ(lower(text_of(special_folder(SpecialFolder::Media, windows.c_str()))), lower(windows + "\\Media"));
  EXPECT_EQ(lower(text_of(special_folder(SpecialFolder::DeviceInf, windows.c_str()))), lower(windows + "\\INF"));
  EXPECT_EQ(boot_drive_letter(), 'C');
}

TEST(SpecialFolders, RegistryValuesComeFirstAndLoseOneTrailingBackslash) {
  struct Case {
    const char* label;
    HKEY root;
    const char* key;
    const char* value;
    SpecialFolder which;
    std::string stored;
    std::string expected;
  };
  const Case cases[] = {
      {"user desktop", HKEY_CURRENT_USER, shell_folders, "Desktop", SpecialFolder::UserDesktop, "D:\\Desk\\top",
       "D:\\Desk\\top"},
      {"one trailing backslash goes", HKEY_CURRENT_USER, shell_folders, "Personal", SpecialFolder::UserDocuments,
       "D:\\Docs\\\\", "D:\\Docs\\"},
      {"a drive root keeps it", HKEY_CURRENT_USER, shell_folders, "Fonts", SpecialFolder::Fonts, "E:\\", "E:\\"},
      {"common folder from the machine", HKEY_LOCAL_MACHINE, shell_folders, "Common Startup",
       SpecialFolder::CommonStartup, "F:\\All\\Startup\\", "F:\\All\\Startup"},
      {"value names ignore case", HKEY_CURRENT_USER, shell_folders, "startup", SpecialFolder::UserStartup,
       "G:\\Up", "G:\\Up"},
      {"setup value", HKEY_LOCAL_MACHINE, current_version, "ProgramFilesDir", SpecialFolder::ProgramFiles,
       "H:\\Apps", "H:\\Apps"},
      {"media", HKEY_LOCAL_MACHINE, current_version, "MediaPath", SpecialFolder::Media, "I:\\Sounds",
       "I:\\Sounds"},
      {"device path used whole", HKEY_LOCAL_MACHINE, current_version, "DevicePath", SpecialFolder::DeviceInf,
       "J:\\inf;K:\\more", "J:\\inf;K:\\more"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ValueOverride value(c.root, c.key, c.value);
    value.set(c.stored);
    EXPECT_EQ(text_of(special_folder(c.which, "W:\\Win")), c.expected);
  }
}

TEST(SpecialFolders, DevicePathExpandsTheFirstSystemRoot) {
  String root("%SystemRoot%");
  ASSERT_TRUE(expand_environment(root));
  std::string system_root = text_of(root);
  ValueOverride value(HKEY_LOCAL_MACHINE, current_version, "DevicePath");
  struct Case {
    std::string stored;
    std::string expected;
  };
  const Case cases[] = {
      {"%SystemRoot%\\inf", system_root + "\\inf"},
      {"%systemroot%\\inf;%SystemRoot%\\oem", system_root + "\\inf;%SystemRoot%\\oem"},
      {"C:\\drivers;%SYSTEMROOT%\\inf", "C:\\drivers;" + system_root + "\\inf"},
      {"C:\\plain", "C:\\plain"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    value.set(c.stored, REG_EXPAND_SZ);
    EXPECT_EQ(text_of(special_folder(SpecialFolder::DeviceInf, "W:\\Win")), c.expected);
  }
}

TEST(SpecialFolders, FallbacksWhenRegistryAndShellHaveNothing) {
  struct Case {
    const char* label;
    SpecialFolder which;
    std::vector<const char*> user_values;     // Shell Folders values made empty, current user
    std::vector<const char*> machine_values;  // Shell Folders values made empty, all users
    std::vector<const char*> setup_values;    // CurrentVersion values removed
    std::string expected;
  };
  const Case cases[] = {
      {"desktop", SpecialFolder::UserDesktop, {"Desktop"}, {}, {}, "W:\\Win\\Desktop"},
      {"common desktop is the user's", SpecialFolder::CommonDesktop, {"Desktop"}, {"Common Desktop"}, {},
       "W:\\Win\\Desktop"},
      {"documents", SpecialFolder::UserDocuments, {"Personal"}, {}, {}, "c:\\My Documents"},
      {"common documents", SpecialFolder::CommonDocuments, {"Personal"}, {"Common Documents"}, {},
       "c:\\My Documents"},
      {"favorites", SpecialFolder::CommonFavorites, {"Favorites"}, {"Common Favorites"}, {}, "W:\\Win\\Favorites"},
      {"fonts", SpecialFolder::Fonts, {"Fonts"}, {}, {}, "W:\\Win\\Fonts"},
      {"common start menu", SpecialFolder::CommonStartMenu, {"Start Menu"}, {"Common Start Menu"}, {},
       "W:\\Win\\Start Menu"},
      {"programs", SpecialFolder::CommonPrograms, {"Start Menu", "Programs"}, {"Common Programs"}, {},
       "W:\\Win\\Start Menu\\Programs"},
      {"startup", SpecialFolder::CommonStartup, {"Start Menu", "Programs", "Startup"}, {"Common Startup"}, {},
       "W:\\Win\\Start Menu\\Programs\\StartUp"},
      {"program files", SpecialFolder::ProgramFiles, {}, {}, {"ProgramFilesDir"}, "c:\\Program Files"},
      {"common files", SpecialFolder::CommonFiles, {}, {}, {"ProgramFilesDir", "CommonFilesDir"},
       "c:\\Program Files\\Common Files"},
      {"media", SpecialFolder::Media, {}, {}, {"MediaPath"}, "W:\\Win\\Media"},
      {"device directory", SpecialFolder::DeviceInf, {}, {}, {"DevicePath"}, "W:\\Win\\INF"},
  };
  ShellQueryAbsent no_shell;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::vector<std::unique_ptr<ValueOverride>> overrides;
    for (const char* name : c.user_values) {
      overrides.push_back(std::make_unique<ValueOverride>(HKEY_CURRENT_USER, shell_folders, name));
      overrides.back()->set("");
    }
    for (const char* name : c.machine_values) {
      overrides.push_back(std::make_unique<ValueOverride>(HKEY_LOCAL_MACHINE, shell_folders, name));
      overrides.back()->set("");
    }
    for (const char* name : c.setup_values) {
      overrides.push_back(std::make_unique<ValueOverride>(HKEY_LOCAL_MACHINE, current_version, name));
      overrides.back()->remove();
    }
    EXPECT_EQ(text_of(special_folder(c.which, "W:\\Win")), c.expected);
  }
  EXPECT_TRUE(special_folder_path(CSIDL_DESKTOPDIRECTORY).is_empty());
}

TEST(SpecialFolders, BootDriveFromTheSetupValue) {
  struct Case {
    const char* label;
    const char* stored;  // null: no value
    char expected;
  };
  const Case cases[] = {
      {"lower-case drive", "d:\\", 'D'},
      {"upper-case drive", "E:\\", 'E'},
      {"letter and colon only", "f:", 'F'},
      {"empty", "", 'C'},
      {"not a letter", "1:\\", 'C'},
      {"no colon", "G\\", 'C'},
      {"missing", nullptr, 'C'},
  };
  ValueOverride value(HKEY_LOCAL_MACHINE, setup_key, "BootDir");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    if (c.stored != nullptr) {
      value.set(c.stored);
    } else {
      value.remove();
    }
    EXPECT_EQ(boot_drive_letter(), c.expected);
  }
}

}  // namespace
}  // namespace core
