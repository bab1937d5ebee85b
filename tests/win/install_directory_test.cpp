// Settling the installation directory: a previous installation taken over, the default
// directory created in automatic mode, the interactive sequence with its prompts, and the
// checks of a typed directory with the message each refusal shows.
#include "ui/install_directory.h"

#include <gtest/gtest.h>

#include <string>

#include "archive/settings.h"
#include "core/win/registry.h"
#include "core/win/system_folders.h"
#include "core/win/windows.h"
#include "ui/resource_ids.h"
#include "ui/run_state.h"
#include "win/dialog_test_support.h"
#include "win/file_test_support.h"

namespace ui {
namespace {

using test_support::ModalScript;

bool is_folder(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// An uninstall registration below HKLM, removed again at the end.
class Registration {
 public:
  explicit Registration(const std::string& location) {
    name_ = "qvin-dialog-test-" + std::to_string(GetCurrentProcessId());
    core::RegistryKey key;
    key.open_software(path().c_str(), false);
    key.write_text("InstallLocation", location.c_str());
    key.write_text("DisplayVersion", "1.0");
    key.write_text("SharedFiles", "\"C:\\shared.dll\";");
  }
  ~Registration() { core::RegistryKey().delete_software_key(path().c_str(), false); }
  const std::string& name() const { return name_; }

 private:
  std::string path() const { return "Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + name_; }
  std::string name_;
};

class InstallDirectory : public testing::Test {
 protected:
  void SetUp() override { test_support::reset_run_state(); }
  test_support::OwnerWindow owner_;
  test_support::ScratchDirectory scratch_;
};

TEST_F(InstallDirectory, AutomaticRunTakesOverAPreviousInstallation) {
  Registration registration(scratch_.path());
  RunState& state = run_state();
  state.automatic = true;
  state.settings.flags = archive::flag::UninstallSupport | archive::flag::AskInstallDirectory;
  state.settings.uninstall_key = registration.name().c_str();
  state.install_directory = (scratch_ / "from-command-line").c_str();
  settle_install_directory();
  EXPECT_STREQ(state.install_directory.text(), scratch_.path().c_str());
  EXPECT_TRUE(state.reinstall);
  EXPECT_STREQ(state.previous_shared_files.text(), "\"C:\\shared.dll\";");
}

TEST_F(InstallDirectory, AutomaticRunCreatesTheDefaultOrTheGivenDirectory) {
  RunState& state = run_state();
  state.automatic = true;
  state.settings.flags = archive::flag::UninstallSupport;  // nothing registered under this key
  state.settings.uninstall_key = "qvin-dialog-test-never-registered";
  state.settings.default_install_dir = (scratch_ / "default\\deeper").c_str();
  settle_install_directory();
  EXPECT_STREQ(state.install_directory.text(), (scratch_ / "default\\deeper").c_str());
  EXPECT_TRUE(is_folder(scratch_ / "default\\deeper"));
  EXPECT_FALSE(state.reinstall);

  state.install_directory = (scratch_ / "given").c_str();
  settle_install_directory();
  EXPECT_STREQ(state.install_directory.text(), (scratch_ / "given").c_str());
  EXPECT_TRUE(is_folder(scratch_ / "given"));
}

TEST_F(InstallDirectory, InteractiveSequence) {
  Registration registration(scratch_.path());
  RunState& state = run_state();
  state.settings.flags = archive::flag::UninstallSupport | archive::flag::AskInstallDirectory |
                         archive::flag::ConfirmInstallDirectory;
  state.settings.flags2 = archive::flag2::CompareVersions;
  state.settings.product_version = "1.2";
  state.settings.uninstall_key = registration.name().c_str();
  state.settings.licence_texts.append("Licence of <PRODUCT> for <os>.");
  state.settings.licence_texts.append("   ");  // blank: not shown
  std::string licence_shown;
  std::string chosen = scratch_ / "chosen";
  ModalScript script({
      {0, [](HWND box) { ModalScript::click(box, IDYES); }},  // start prompt
      {IDC_TEXT,
       [&licence_shown](HWND dialog) {
         licence_shown = test_support::item_text(dialog, IDC_TEXT);
         ModalScript::click(dialog, IDC_OK);
       }},
      {0, [](HWND box) { ModalScript::click(box, IDYES); }},  // install over the old one
      {IDC_DIRECTORY,
       [](HWND dialog) {
         SetDlgItemTextA(dialog, IDC_DIRECTORY, "  C:\\  ");
         ModalScript::click(dialog, IDC_OK);
       }},
      {0, [](HWND box) { ModalScript::click(box, IDOK); }},  // refused: a drive
      {IDC_DIRECTORY,
       [chosen](HWND dialog) {
         SetDlgItemTextA(dialog, IDC_DIRECTORY, chosen.c_str());
         ModalScript::click(dialog, IDC_OK);
       }},
      {0, [](HWND box) { ModalScript::click(box, IDNO); }},  // not confirmed: the dialog again
      {IDC_DIRECTORY, [](HWND dialog) { ModalScript::click(dialog, IDC_OK); }},
      {0, [](HWND box) { ModalScript::click(box, IDYES); }},  // confirmed
  });
  settle_install_directory();
  EXPECT_TRUE(script.finished());
  EXPECT_TRUE(script.unexpected().empty());
  EXPECT_EQ(licence_shown, "Licence of Sample Product for C:\\windows.");
  ASSERT_EQ(script.seen().size(), 9u);
  EXPECT_EQ(script.seen()[0].text, "Install Sample Product?");
  EXPECT_EQ(script.seen()[0].caption, "Setup");
  EXPECT_EQ(script.seen()[1].caption, "Licence Agreement");
  EXPECT_EQ(script.seen()[2].caption, "Existing installation");
  // No text 5 in the table: the older-version text is empty, the rest follows.
  EXPECT_EQ(script.seen()[2].text, "\r\n" + scratch_.path() + "\r\n\r\nInstall over it?");
  EXPECT_EQ(script.seen()[3].caption, "Installation Directory");
  EXPECT_EQ(script.seen()[4].text, "Please choose a directory, not a drive.");
  EXPECT_EQ(script.seen()[6].text, "Create " + chosen + "?");
  EXPECT_EQ(script.seen()[8].text, "Create " + chosen + "?");
  EXPECT_TRUE(state.reinstall);
  EXPECT_STREQ(state.install_directory.text(), chosen.c_str());
  EXPECT_TRUE(is_folder(chosen));
}

TEST_F(InstallDirectory, TypedDirectoryChecks) {
  // A drive letter the machine does not have.
  char missing = 0;
  for (char letter = 'Y'; letter > 'D' && missing == 0; --letter) {
    char root[] = {letter, ':', '\\', 0};
    if (GetDriveTypeA(root) == DRIVE_NO_ROOT_DIR) missing = letter;
  }
  ASSERT_NE(missing, 0);
  std::string program_files =
      core::special_folder(core::SpecialFolder::ProgramFiles, run_state().environment.windows_directory.text()).text();
  std::string blocker = scratch_ / "file";
  ASSERT_TRUE(test_support::put_file(blocker, "x"));
  struct Case {
    std::string typed;
    uint32_t flags2;
    bool accepted;
    std::string message;  // empty: none
  };
  const Case cases[] = {
      {"   ", 0, false, ""},
      {"relative\\dir", 0, false, "This is not a valid directory:\r\nrelative\\dir"},
      {"C:\\a|b", 0, false, "This is not a valid directory:\r\nC:\\a|b"},
      {"\\\\server\\share\\x", archive::flag2::RefuseNetworkDirectory, false, "Network directories are not allowed."},
      {std::string(1, missing) + ":\\x", 0, false, "Drive " + std::string(1, missing) + ": does not exist."},
      {"c:\\", 0, false, "Please choose a directory, not a drive."},
      {program_files + "\\", 0, false, "Please choose a directory inside " + program_files + "."},
      {blocker + "\\sub", 0, false, "The directory could not be created:\r\n" + blocker + "\\sub\r\n\r\n"},
      {" " + scratch_.path() + "\\new one ", 0, true, ""},
      {scratch_.path(), 0, true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    run_state().settings.flags2 = c.flags2;
    ModalScript script({{0, [](HWND box) { ModalScript::click(box, IDOK); }}});
    core::String directory = c.typed.c_str();
    EXPECT_EQ(accept_install_directory(directory), c.accepted);
    if (c.message.empty()) {
      EXPECT_TRUE(script.seen().empty());
    } else {
      ASSERT_EQ(script.seen().size(), 1u);
      EXPECT_EQ(script.seen()[0].caption, "Error");
      // The system's reason for a failed creation follows the fixed part.
      EXPECT_EQ(script.seen()[0].text.substr(0, c.message.size()), c.message);
    }
  }
  EXPECT_TRUE(is_folder(scratch_ / "new one"));
}

TEST_F(InstallDirectory, DiskSpaceWarning) {
  // More than any disk holds: the warning comes, and "no" shows the dialog again.
  RunState& state = run_state();
  for (int i = 0; i < 4096; ++i) state.header.file_sizes.append(0x40000000);
  std::string target = scratch_ / "big";
  core::String directory = target.c_str();
  {
    ModalScript script({{0, [](HWND box) { ModalScript::click(box, IDNO); }}});
    EXPECT_FALSE(accept_install_directory(directory));
    ASSERT_EQ(script.seen().size(), 1u);
    EXPECT_EQ(script.seen()[0].caption, "Warning");
    EXPECT_EQ(script.seen()[0].text.substr(0, 28), "4.00 TB are needed on drive ");
  }
  EXPECT_FALSE(is_folder(target));
  {
    ModalScript script({{0, [](HWND box) { ModalScript::click(box, IDYES); }}});
    EXPECT_TRUE(accept_install_directory(directory));
  }
  EXPECT_TRUE(is_folder(target));
}

}  // namespace
}  // namespace ui
