// The process environment and the directory variables, with the installer and the
// installation on different drives and from a network path.
#include "core/win/directory_variables.h"

#include <gtest/gtest.h>

#include <string>

#include "core/win/directories.h"
#include "core/win/system_folders.h"
#include "core/win/windows.h"

namespace core {
namespace {

std::string text_of(const String& text) { return std::string(text.text(), static_cast<size_t>(text.length())); }

TEST(Environment, CollectedOnceFromTheMachine) {
  ProcessEnvironment env;
  init_environment(env);
  ASSERT_TRUE(env.initialised);

  char buffer[MAX_PATH] = {};
  GetWindowsDirectoryA(buffer, MAX_PATH);
  EXPECT_EQ(text_of(env.windows_directory), buffer);
  GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  std::string self = buffer;
  EXPECT_EQ(text_of(env.installer_path), self);
  EXPECT_EQ(text_of(env.installer_name), self.substr(self.rfind('\\') + 1));
  EXPECT_EQ(text_of(env.installer_directory), self.substr(0, self.rfind('\\')));
  // The tests run from the build tree, which Wine shows on drive Z:.
  EXPECT_EQ(env.installer_drive, self[0] & ~0x20);

  GetTempPathA(MAX_PATH, buffer);
  std::string temp = buffer;
  EXPECT_EQ(text_of(env.temp_directory) + "\\", temp);
  String comspec("%COMSPEC%");
  ASSERT_TRUE(expand_environment(comspec));
  EXPECT_EQ(text_of(env.command_interpreter), text_of(comspec));
  GetSystemDirectoryA(buffer, MAX_PATH);
  EXPECT_EQ(text_of(system_directory(env)), buffer);
  EXPECT_EQ(text_of(in_installer_directory(env, "setup1.QVA")), text_of(env.installer_directory) + "\\setup1.QVA");
  EXPECT_EQ(text_of(in_installer_directory(env, "")), text_of(env.installer_directory));

  // A second call changes nothing.
  env.windows_directory = "kept";
  init_environment(env);
  EXPECT_EQ(text_of(env.windows_directory), "kept");
}

TEST(Environment, InstallerPathParts) {
  struct Case {
    const char* path;
    const char* name;
    const char* directory;
    char drive;
  };
  const Case cases[] = {
      {"C:\\Downloads\\setup.exe", "setup.exe", "C:\\Downloads", 'C'},
      {"d:\\setup.exe", "setup.exe", "d:\\", 'D'},
      {"e:setup.exe", "setup.exe", "e:", 'E'},
      {"\\\\server\\share\\dist\\setup.exe", "setup.exe", "\\\\server\\share\\dist", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    ProcessEnvironment env;
    describe_installer(env, c.path);
    EXPECT_EQ(text_of(env.installer_path), c.path);
    EXPECT_EQ(text_of(env.installer_name), c.name);
    EXPECT_EQ(text_of(env.installer_directory), c.directory);
    EXPECT_EQ(env.installer_drive, c.drive);
  }
}

TEST(Environment, CommandInterpreterChoice) {
  struct Case {
    const char* label;
    const char* expanded;
    bool ok;
    const char* expected;
  };
  const Case cases[] = {
      {"plain", "C:\\windows\\system32\\cmd.exe", true, "C:\\windows\\system32\\cmd.exe"},
      {"white space gets quotes", "C:\\Program Files\\sh.exe", true, "\"C:\\Program Files\\sh.exe\""},
      {"already quoted", "\"C:\\Program Files\\sh.exe\"", true, "\"C:\\Program Files\\sh.exe\""},
      {"blank", "  ", true, "W:\\Win\\System32\\cmd.exe"},
      {"expansion failed", "C:\\x.exe", false, "W:\\Win\\System32\\cmd.exe"},
      {"no such variable", "%comspec%", true, "W:\\Win\\System32\\cmd.exe"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(text_of(choose_command_interpreter(c.expanded, c.ok, "W:\\Win\\System32\\cmd.exe")), c.expected);
  }
  // A fallback with blanks is quoted like any other interpreter.
  EXPECT_EQ(text_of(choose_command_interpreter("", true, "W:\\My Win\\cmd.exe")), "\"W:\\My Win\\cmd.exe\"");
}

TEST(Environment, FallbackInterpreterOfTheNtFamilyIsCmd) {
  ProcessEnvironment env;
  init_environment(env);
  // Wine is of the NT family, which has no command.com in the Windows directory.
  EXPECT_EQ(text_of(fallback_command_interpreter(env)), text_of(system_directory(env)) + "\\cmd.exe");
}

class DirectoryVariables : public ::testing::Test {
 protected:
  void SetUp() override {
    init_environment(machine_);
    // An installer on drive Z: installing to drive C:.
    env_ = machine_;
    describe_installer(env_, "Z:\\media\\Setup.exe");
    dirs_.install_dir = "C:\\Program Files\\Acme";
    dirs_.uninstall_dir = "C:\\Program Files\\Acme\\Uninstall";
    dirs_.shared_dir = "C:\\Program Files\\Common Files\\Acme";
  }
  std::string expand(const char* text, const ProcessEnvironment& env, const InstallationDirectories& dirs) {
    String result(text);
    expand_directory_variables(result, env, dirs);
    return text_of(result);
  }
  std::string folder(SpecialFolder which) { return text_of(special_folder(which, env_.windows_directory.text())); }

  ProcessEnvironment machine_;
  ProcessEnvironment env_;
  InstallationDirectories dirs_;
};

TEST_F(DirectoryVariables, AllTwentyNineInTheirOrder) {
  const char* names[] = {
      "%BootDrive%",      "%CommonDir%",         "%InstallDir%",        "%InstallDrive%",   "%UninstallDir%",
      "%ProgramsDir%",    "%SharedDir%",         "%SystemDir%",         "%InstallerDir%",   "%InstallerDrive%",
      "%InstallerFilename%", "%InstallerFilepath%", "%DeviceDir%",      "%MediaDir%",       "%FavoritesDir%",
      "%FavoritesAllDir%", "%FontDir%",          "%DesktopDir%",        "%DesktopAllDir%",  "%DocumentDir%",
      "%DocumentAllDir%", "%StartMenuDir%",      "%StartMenuAllDir%",   "%SMProgramsDir%",  "%SMProgramsAllDir%",
      "%StartupDir%",     "%StartupAllDir%",     "%Temp%",              "%WinDir%",
  };
  ASSERT_EQ(sizeof(names) / sizeof(names[0]), static_cast<size_t>(DirectoryVariable::Count));
  const std::string expected[] = {
      "C:",
      folder(SpecialFolder::CommonFiles),
      "C:\\Program Files\\Acme",
      "C:",
      "C:\\Program Files\\Acme\\Uninstall",
      folder(SpecialFolder::ProgramFiles),
      "C:\\Program Files\\Common Files\\Acme",
      text_of(system_directory(env_)),
      "Z:\\media",
      "Z",
      "Setup.exe",
      "Z:\\media\\Setup.exe",
      folder(SpecialFolder::DeviceInf),
      folder(SpecialFolder::Media),
      folder(SpecialFolder::UserFavorites),
      folder(SpecialFolder::CommonFavorites),
      folder(SpecialFolder::Fonts),
      folder(SpecialFolder::UserDesktop),
      folder(SpecialFolder::CommonDesktop),
      folder(SpecialFolder::UserDocuments),
      folder(SpecialFolder::CommonDocuments),
      folder(SpecialFolder::UserStartMenu),
      folder(SpecialFolder::CommonStartMenu),
      folder(SpecialFolder::UserPrograms),
      folder(SpecialFolder::CommonPrograms),
      folder(SpecialFolder::UserStartup),
      folder(SpecialFolder::CommonStartup),
      text_of(env_.temp_directory),
      text_of(env_.windows_directory),
  };
  for (int i = 0; i < static_cast<int>(DirectoryVariable::Count); ++i) {
    SCOPED_TRACE(names[i]);
    auto which = static_cast<DirectoryVariable>(i);
    EXPECT_STREQ(directory_variable_name(which), names[i]);
    EXPECT_FALSE(expected[i].empty());
    EXPECT_EQ(text_of(directory_variable_value(which, env_, dirs_)), expected[i]);
    EXPECT_EQ(expand((std::string("[") + names[i] + "]").c_str(), env_, dirs_), "[" + expected[i] + "]");
  }
}

TEST_F(DirectoryVariables, SubstitutionRules) {
  std::string temp = text_of(env_.temp_directory);
  std::string windows = text_of(env_.windows_directory);
  InstallationDirectories temp_inside = dirs_;
  temp_inside.install_dir = "C:\\Apps\\%Temp%\\x";
  ProcessEnvironment install_dir_inside = env_;
  install_dir_inside.temp_directory = "C:\\t\\%InstallDir%";
  ProcessEnvironment network = env_;
  describe_installer(network, "\\\\server\\share\\Setup.exe");
  InstallationDirectories unknown;

  struct Case {
    const char* label;
    const char* text;
    const ProcessEnvironment* env;
    const InstallationDirectories* dirs;
    std::string expected;
  };
  const Case cases[] = {
      {"any letter case", "%installdir%\\bin;%INSTALLDIR%", &env_, &dirs_,
       "C:\\Program Files\\Acme\\bin;C:\\Program Files\\Acme"},
      {"installer and installation drives differ", "%InstallerDrive%|%InstallDrive%", &env_, &dirs_, "Z|C:"},
      {"network installer has no drive", "[%InstallerDrive%] %InstallerDir%", &network, &dirs_,
       "[] \\\\server\\share"},
      {"a later variable inside an earlier value is replaced", "%InstallDir%", &env_, &temp_inside,
       "C:\\Apps\\" + temp + "\\x"},
      {"an earlier variable inside a later value stays", "%Temp%", &install_dir_inside, &dirs_,
       "C:\\t\\%InstallDir%"},
      {"unknown names stay", "%Foo%\\%WinDir%\\%PATH%", &env_, &dirs_, "%Foo%\\" + windows + "\\%PATH%"},
      {"a half name stays", "%WinDir", &env_, &dirs_, "%WinDir"},
      {"values not yet known are empty", "[%InstallDir%][%InstallDrive%][%SharedDir%]", &env_, &unknown, "[][][]"},
      {"no variables", "C:\\plain", &env_, &dirs_, "C:\\plain"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(expand(c.text, *c.env, *c.dirs), c.expected);
  }
}

}  // namespace
}  // namespace core
