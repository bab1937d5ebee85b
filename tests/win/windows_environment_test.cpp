// The Windows answers to the settings reader's questions about the machine.
#include "install/windows_environment.h"

#include <gtest/gtest.h>

#include <string>

#include "core/win/directories.h"
#include "core/win/system_folders.h"
#include "core/win/windows.h"

namespace install {
namespace {

std::string text_of(const core::String& text) { return std::string(text.text(), static_cast<size_t>(text.length())); }

TEST(WindowsEnvironment, AnswersFromTheMachineAndTheInstallation) {
  core::ProcessEnvironment env;
  core::init_environment(env);
  core::InstallationDirectories dirs;
  WindowsEnvironment machine(env, dirs);
  archive::Environment& asked = machine;

  EXPECT_EQ(text_of(asked.windows_directory()), text_of(env.windows_directory));
  EXPECT_EQ(text_of(asked.program_files_directory()),
            text_of(core::special_folder(core::SpecialFolder::ProgramFiles, env.windows_directory.text())));
  EXPECT_EQ(text_of(asked.common_files_directory()),
            text_of(core::special_folder(core::SpecialFolder::CommonFiles, env.windows_directory.text())));

  // The installation directory is seen as soon as the caller sets it.
  dirs.install_dir = "C:\\Acme";
  core::String text("%InstallDir%\\%WinDir%");
  asked.expand_directory_variables(text);
  EXPECT_EQ(text_of(text), "C:\\Acme\\" + text_of(env.windows_directory));

  std::string made = text_of(env.temp_directory) + "\\qvin-test-environment\\a\\b";
  asked.create_directories(core::String(made.c_str()));
  EXPECT_TRUE(core::is_directory(made.c_str()));
  core::remove_directory_tree((text_of(env.temp_directory) + "\\qvin-test-environment").c_str());
}

}  // namespace
}  // namespace install
