// What an installation leaves behind for the user and for its removal: shortcuts and the
// desktop folder read back through the shell, the uninstall key read back from the
// registry, "Uninstall.DAT" and "Install.LOG" read back from disk.
#include <gtest/gtest.h>

#include <string>

#include "core/paths.h"
#include "core/win/directories.h"
#include "core/win/directory_variables.h"
#include "core/win/environment.h"
#include "core/win/windows.h"
#include "install/install_log.h"
#include "install/shortcuts.h"
#include "install/uninstall_data_codec.h"
#include "install/uninstall_registration.h"
#include "tests/win/dialog_test_support.h"
#include "tests/win/file_test_support.h"
#include "tests/win/link_reader.h"

namespace install {
namespace {

using test_support::exists;
using test_support::file_bytes;
using test_support::LinkFields;
using test_support::put_file;
using test_support::read_link;
using test_support::ScratchDirectory;

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return text;
}

std::string text_of(const core::String& text) { return std::string(text.text(), static_cast<size_t>(text.length())); }

// The run state of the installer (English texts, product "Sample Product") and a context
// over a scratch installation directory with its "Uninstall" subdirectory.
class RegistrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    test_support::reset_run_state();
    ui::RunState& state = ui::run_state();
    state.environment = core::ProcessEnvironment();
    core::init_environment(state.environment);
    state.automatic = true;  // no message box in these tests
    archive::LanguageTables& tables = state.settings.languages;
    for (int32_t id : kUninstallStringIds) tables.set_text(id, 0, core::format_string("Text %d of <product>", id));
    tables.set_text(31, 0, "Could not write:");
    tables.set_text(33, 0, "Uninstall <product>");
    tables.set_text(43, 0, "Installation complete");
    settings().uninstall_key = "qvin-test-registration";
    settings().uninstaller_name = "Uninstall.exe";
    settings().uninstall_subdir = "Uninstall";
    settings().start_menu_folder = "qvin-test\\Demo";
    dirs_.install_dir = core::String(scratch_.path().c_str());
    dirs_.uninstall_dir = core::join_path(dirs_.install_dir.text(), "Uninstall");
    ASSERT_TRUE(core::create_directory(dirs_.uninstall_dir.text()));
  }
  void TearDown() override {
    for (core::DirectoryVariable programs : {core::DirectoryVariable::SMProgramsDir,
                                             core::DirectoryVariable::SMProgramsAllDir}) {
      core::String folder = core::directory_variable_value(programs, env(), dirs_);
      core::remove_directory_tree(core::join_path(folder.text(), "qvin-test").text());
    }
    remove_recorded();
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, uninstall_key_path().c_str());
    test_support::reset_run_state();
    CoUninitialize();
  }

  archive::Settings& settings() { return ui::run_state().settings; }
  const core::ProcessEnvironment& env() { return ui::run_state().environment; }
  InstallContext context(RunRecords& records) { return InstallContext{settings(), env(), dirs_, records}; }
  InstallContext context() { return context(records_); }
  std::string install_dir() const { return scratch_.path(); }
  std::string uninstall_dir() const { return text_of(dirs_.uninstall_dir); }
  std::string folder(core::DirectoryVariable which) { return text_of(core::directory_variable_value(which, env(), dirs_)); }
  std::string uninstall_key_path() const {
    return "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + text_of(ui::run_state().settings.uninstall_key);
  }
  std::string removal_list() const { return text_of(records_.removal_list()); }
  void remove_recorded() { remove_recorded(records_); }

  // Removes what the removal list names outside the scratch directory (links, the desktop
  // folder), so that no run leaves anything on the prefix's desktop.
  static void remove_recorded(const RunRecords& records) {
    core::Vector<core::String> lines;
    records.removal_list().split_lines(lines);
    for (const core::String& line : lines) {
      if (line.starts_with_char('~')) {
        core::remove_directory_tree(line.text() + 1);
      } else if (!line.is_empty()) {
        SetFileAttributesA(line.text(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(line.text());
      }
    }
  }

  ShortcutRequest& request(const char* name, const std::string& target) { return request(records_, name, target); }
  static ShortcutRequest& request(RunRecords& records, const char* name, const std::string& target) {
    ShortcutRequest& request = records.shortcut_requests.append();
    request.name = name;
    request.target = target.c_str();
    return request;
  }

  ScratchDirectory scratch_;
  core::InstallationDirectories dirs_;
  RunRecords records_;
};

void expect_link(const std::string& path, const LinkFields& expected) {
  SCOPED_TRACE(path);
  LinkFields fields;
  ASSERT_TRUE(read_link(path, fields));
  EXPECT_EQ(lower(fields.target), lower(expected.target));
  EXPECT_EQ(fields.arguments, expected.arguments);
  EXPECT_EQ(lower(fields.working_directory), lower(expected.working_directory));
  EXPECT_EQ(lower(fields.icon), lower(expected.icon));
  EXPECT_EQ(fields.icon_index, 0);
}

TEST_F(RegistrationTest, ShortcutsInEveryFolderOfEitherMode) {
  struct Mode {
    uint8_t mode;
    core::DirectoryVariable desktop, programs, startup;
  };
  const Mode modes[] = {
      {0, core::DirectoryVariable::DesktopDir, core::DirectoryVariable::SMProgramsDir,
       core::DirectoryVariable::StartupDir},
      {1, core::DirectoryVariable::DesktopAllDir, core::DirectoryVariable::SMProgramsAllDir,
       core::DirectoryVariable::StartupAllDir},
  };
  std::string tool = install_dir() + "\\tool.exe";
  std::string data = install_dir() + "\\data";
  ASSERT_TRUE(core::create_directory(data.c_str()));
  for (const Mode& m : modes) {
    SCOPED_TRACE(testing::Message() << "shortcut mode " << static_cast<int>(m.mode));
    RunRecords records;
    settings().shortcut_mode = m.mode;
    settings().flags = archive::flag::UninstallSupport | archive::flag::UninstallerShortcutInStartMenu |
                       archive::flag::DetailedLog;
    settings().flags2 = archive::flag2::UninstallerShortcutOnDesktop |
                        archive::flag2::UninstallerShortcutInUninstallDirectory;
    ShortcutRequest& first = request(records, "Demo Tool", tool);
    first.desktop = first.start_menu = true;
    first.arguments = "\"%InstallDir%\\doc.txt\"";
    first.working_directory = " \"%InstallDir%\\data\" ";
    first.icon = (uninstall_dir() + "\\tool.ico").c_str();
    ShortcutRequest& second = request(records, "Demo Viewer.lnk", install_dir() + "\\doc.txt");
    second.startup = true;
    second.permanent = true;
    second.arguments = "~\"C:\\windows\\notepad.exe\" \"%InstallDir%\\doc.txt\"";
    second.working_directory = "C:\\qvin-no-such-directory";

    EXPECT_TRUE(create_shortcuts(context(records)));
    EXPECT_EQ(text_of(records.error_report), "");

    std::string desktop = folder(m.desktop) + "\\Demo Tool.LNK";
    std::string menu = folder(m.programs) + "\\qvin-test\\Demo\\Demo Tool.LNK";
    std::string startup = folder(m.startup) + "\\Demo Viewer.lnk";
    std::string uninstaller = uninstall_dir() + "\\Uninstall.exe";
    std::string uninstall_desktop = folder(m.desktop) + "\\Uninstall Sample Product.LNK";
    std::string uninstall_menu = folder(m.programs) + "\\qvin-test\\Demo\\Uninstall Sample Product.LNK";
    std::string uninstall_here = uninstall_dir() + "\\Uninstall Sample Product.LNK";
    std::string doc = "\"" + install_dir() + "\\doc.txt\"";
    expect_link(desktop, {tool, doc, data, uninstall_dir() + "\\tool.ico"});
    expect_link(menu, {tool, doc, data, uninstall_dir() + "\\tool.ico"});
    // The program named in the arguments is the target; the directory that does not exist
    // gives way to the installation directory.
    expect_link(startup, {"C:\\windows\\notepad.exe", doc, install_dir(), "C:\\windows\\notepad.exe"});
    const std::string arguments = "/u:\"qvin-test-registration\"";
    expect_link(uninstall_desktop, {uninstaller, arguments, install_dir(), uninstaller});
    expect_link(uninstall_menu, {uninstaller, arguments, "", uninstaller});
    expect_link(uninstall_here, {uninstaller, arguments, "", uninstaller});

    // The permanent file's link is not recorded; the uninstaller's always are.
    EXPECT_EQ(text_of(records.removal_list()), desktop + "\r\n" + menu + "\r\n" + uninstall_desktop + "\r\n" + uninstall_menu +
                                  "\r\n" + uninstall_here + "\r\n");
    EXPECT_EQ(text_of(records.install_log),
              "Desktop Shortcut(Demo Tool) -> " + desktop + "\r\nStart Menu Shortcut(Demo Tool) -> " + menu +
                  "\r\nStartup Shortcut(Demo Viewer.lnk) -> " + startup +
                  "\r\nDesktop Shortcut(Uninstall Sample Product) -> " + uninstall_desktop +
                  "\r\nUninstaller Shortcut -> " + uninstall_menu + "\r\nUninstaller Shortcut -> " +
                  uninstall_here + "\r\n");
    remove_recorded(records);
    DeleteFileA(startup.c_str());
  }
}

TEST_F(RegistrationTest, DesktopFolderOnceWithItsIcon) {
  settings().desktop_folder = "qvin-test Folder";
  settings().desktop_folder_icon = core::String("ICON-BYTES", 10);
  std::string tool = install_dir() + "\\tool.exe";
  request("One", tool).desktop = true;
  request("Two", tool).desktop = true;
  request("Menu only", tool).start_menu = true;

  EXPECT_TRUE(create_shortcuts(context()));
  EXPECT_EQ(text_of(records_.error_report), "");
  std::string folder_path = folder(core::DirectoryVariable::DesktopDir) + "\\qvin-test Folder";
  std::string ini = folder_path + "\\Desktop.ini";
  std::string icon = uninstall_dir() + "\\Desktop Icon.ico";
  EXPECT_EQ(file_bytes(icon), "ICON-BYTES");
  char value[MAX_PATH] = {};
  GetPrivateProfileStringA(".ShellClassInfo", "IconFile", "", value, MAX_PATH, ini.c_str());
  EXPECT_EQ(std::string(value), icon);
  GetPrivateProfileStringA(".ShellClassInfo", "IconIndex", "", value, MAX_PATH, ini.c_str());
  EXPECT_EQ(std::string(value), "0");
  EXPECT_NE(GetFileAttributesA(folder_path.c_str()) & FILE_ATTRIBUTE_SYSTEM, 0u);
  EXPECT_EQ(GetFileAttributesA(ini.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
            static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  EXPECT_TRUE(exists(folder_path + "\\One.LNK"));
  EXPECT_TRUE(exists(folder_path + "\\Two.LNK"));
  std::string menu = folder(core::DirectoryVariable::SMProgramsDir) + "\\qvin-test\\Demo\\Menu only.LNK";
  EXPECT_EQ(removal_list(), ini + "\r\n~" + folder_path + "\r\n" + icon + "\r\n" + folder_path + "\\One.LNK\r\n" +
                                folder_path + "\\Two.LNK\r\n" + menu + "\r\n");
}

TEST_F(RegistrationTest, ShortcutFailuresAreReportedAndTheRestGoesOn) {
  std::string tool = install_dir() + "\\tool.exe";
  request("Bad|Name", tool).start_menu = true;
  request("No desktop", tool).start_menu = true;
  EXPECT_FALSE(create_shortcuts(context()));
  std::string bad = folder(core::DirectoryVariable::SMProgramsDir) + "\\qvin-test\\Demo\\Bad|Name.LNK";
  std::string good = folder(core::DirectoryVariable::SMProgramsDir) + "\\qvin-test\\Demo\\No desktop.LNK";
  std::string report = text_of(records_.error_report);
  EXPECT_EQ(report.rfind("Could not write: " + bad + "\r\n", 0), 0u) << report;
  EXPECT_EQ(report.substr(report.size() - 2), "\r\n");
  EXPECT_EQ(removal_list(), good + "\r\n");
}

// Reads a value of the uninstall key without the code under test: "S:text", "E:text",
// "D:number", or "missing".
std::string raw_value(const std::string& key, const char* name) {
  char buffer[4096] = {};
  DWORD size = sizeof(buffer) - 1;
  DWORD type = 0;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type, buffer, &size) !=
      ERROR_SUCCESS) {
    return "missing";
  }
  if (type == REG_DWORD) return "D:" + std::to_string(*reinterpret_cast<DWORD*>(buffer));
  return std::string(type == REG_EXPAND_SZ ? "E:" : "S:") + buffer;
}

TEST_F(RegistrationTest, UninstallKeyHoldsEveryValueAndTheUninstaller) {
  archive::Settings& s = settings();
  s.flags = 0x80000004u;  // uninstall support and the top bit: written unsigned
  s.flags2 = 0x40;
  s.product_version = "3.";
  s.publisher = "";
  s.top_color = s.bottom_color = 0x123456;
  archive::UninstallData& help = s.uninstall_values.append();
  help.name = "HelpLink";
  help.data = "%InstallDir%\\help.html";
  help.type = archive::uninstall_value_type::ExpandableText;
  archive::UninstallData& stale = s.uninstall_values.append();
  stale.name = "Stale";
  // Values of an earlier installation: an empty text and an empty extra deletes them.
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, uninstall_key_path().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, "Publisher", 0, REG_SZ, reinterpret_cast<const BYTE*>("Old"), 4);
  RegSetValueExA(key, "Stale", 0, REG_SZ, reinterpret_cast<const BYTE*>("Old"), 4);
  RegCloseKey(key);
  ui::run_state().uninstaller_image = core::String("MZ-uninstaller", 14);
  records_.font_list = "\"Demo Sans\" \"demo.ttf\" ";

  register_uninstall(context(), "\"C:\\windows\\system32\\demo.dll^\"");
  EXPECT_EQ(text_of(records_.error_report), "");
  EXPECT_EQ(file_bytes(uninstall_dir() + "\\Uninstall.exe"), "MZ-uninstaller");

  std::string k = uninstall_key_path();
  std::string uninstaller = uninstall_dir() + "\\Uninstall.exe";
  struct Row {
    const char* name;
    std::string value;
  };
  const Row rows[] = {
      // Quoted, so that a path with blanks is one program.
      {"UninstallString", "S:\"" + uninstaller + "\" /u:\"qvin-test-registration\""},
      {"QuietUninstallString", "S:\"" + uninstaller + "\" /a /u:\"qvin-test-registration\""},
      {"DisplayName", "S:Sample Product"},
      {"InstallSource", "S:" + text_of(env().installer_path)},
      {"DisplayVersion", "S:3."},
      {"Publisher", "missing"},
      {"VersionMajor", "D:3"},
      {"VersionMinor", "D:0"},
      {"ProductFlags", "S:" + std::to_string((uint64_t{0x40} << 32) | 0x80000004u)},
      {"ProductFonts", "S:\"Demo Sans\" \"demo.ttf\" "},
      {"SharedFiles", "S:\"C:\\windows\\system32\\demo.dll^\""},
      {"UninstallSubdir", "S:Uninstall"},
      {"ProductStartMenu", "S:qvin-test\\Demo"},
      {"ShortcutMode", "missing"},
      {"DisplayTitle", "S:Sample Product Setup"},
      {"TopColor", "D:" + std::to_string(0x123456)},
      {"BottomColor", "missing"},
      {"MonoColor", "D:1"},
      {"HelpLink", "E:" + install_dir() + "\\help.html"},
      {"Stale", "missing"},
      {"InstallLocation", "S:" + install_dir()},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(raw_value(k, row.name), row.value);
  }
  EXPECT_EQ(raw_value(k, "InstallDate").rfind("S:", 0), 0u);
}

TEST_F(RegistrationTest, AnUninstallKeyThatCannotBeWrittenIsReported) {
  settings().flags = archive::flag::UninstallSupport;
  settings().uninstall_key = core::String(std::string(300, 'k').c_str());  // longer than a key name may be
  register_uninstall(context(), "");
  EXPECT_EQ(text_of(records_.error_report),
            "Unable to save the uninstall information to the registry.  Uninstall will not work properly.\r\n\r\n");
}

TEST_F(RegistrationTest, UninstallDataAndBackgroundPicture) {
  settings().flags = archive::flag::UninstallSupport | archive::flag::InstallBackgroundBitmap;
  settings().bitmap = core::String("BM-picture", 10);
  records_.record_for_removal((install_dir() + "\\app.exe").c_str(), false);
  save_background_picture(context());
  std::string picture = uninstall_dir() + "\\Installer Background.BMP";
  EXPECT_EQ(file_bytes(picture), "BM-picture");

  ASSERT_TRUE(write_uninstall_data(context(), ".demo~!~Demo.Document~!~open\r\n"));
  std::string text = file_bytes(uninstall_dir() + "\\Uninstall.DAT");
  EXPECT_EQ(text.rfind(install_dir() + "\\app.exe\r\n" + picture + "\r\n\r\n\r\n[Strings]\r\n~10\r\nText 10 of Sample "
                                                                     "Product\r\n~15\r\n",
                       0),
            0u)
      << text;
  UninstallDataContents contents = read_uninstall_data(core::String(text.data(), static_cast<int32_t>(text.size())));
  ASSERT_EQ(contents.removal_items.count(), 2);
  ASSERT_EQ(contents.strings.count(), static_cast<int32_t>(std::size(kUninstallStringIds)));
  for (const UninstallString& entry : contents.strings) {
    EXPECT_EQ(text_of(entry.text), "Text " + std::to_string(entry.id) + " of Sample Product");
  }
  ASSERT_EQ(contents.associations.count(), 1);
  EXPECT_EQ(text_of(contents.associations[0].file_type), "Demo.Document");

  // A directory that is gone: the paragraph of a file not written.
  dirs_.uninstall_dir = (install_dir() + "\\gone").c_str();
  settings().uninstall_subdir = "gone";
  EXPECT_FALSE(write_uninstall_data(context(), ""));
  EXPECT_EQ(text_of(records_.error_report).rfind("Could not write: " + install_dir() + "\\gone\\Uninstall.DAT\r\n", 0),
            0u);
}

TEST_F(RegistrationTest, InstallLogBlocks) {
  std::string log = uninstall_dir() + "\\Install.LOG";
  settings().flags = archive::flag::UninstallSupport;
  settings().product_version = "2.5";
  records_.install_log = "Deleted file: x\r\n";

  // No errors, no request to keep a log: nothing is written.
  EXPECT_TRUE(write_install_log(context(), false, true));
  EXPECT_FALSE(exists(log));

  // Always kept: the block ends with the completion caption; the run's report stays empty.
  settings().flags |= archive::flag::AlwaysWriteLog;
  EXPECT_TRUE(write_install_log(context(), true, true));
  EXPECT_EQ(text_of(records_.error_report), "");
  std::string first = file_bytes(log);
  EXPECT_EQ(first.rfind("\r\nInstallation log for: Sample Product\r\nInstall date: ", 0), 0u) << first;
  EXPECT_NE(first.find("\r\nInstall type: Reinstall\r\nInstall location: " + install_dir() +
                       "\r\nInstaller version: 13.2\r\nProduct version: 2.5\r\n\r\nDeleted file: x\r\n\r\n"
                       "Installation complete\r\n\r\n"),
            std::string::npos)
      << first;

  // Errors: a block with the report, appended after the earlier one.
  settings().flags &= ~archive::flag::AlwaysWriteLog;
  records_.error_report = "Failed to associate file type:  \".demo\".\r\n\r\n";
  EXPECT_TRUE(write_install_log(context(), false, true));
  std::string both = file_bytes(log);
  ASSERT_EQ(both.rfind(first, 0), 0u);
  std::string second = both.substr(first.size());
  EXPECT_NE(second.find("Install type: New\r\n"), std::string::npos) << second;
  std::string ending = "\r\n" + text_of(records_.error_report);
  EXPECT_EQ(second.substr(second.size() - ending.size()), ending);
}

}  // namespace
}  // namespace install
