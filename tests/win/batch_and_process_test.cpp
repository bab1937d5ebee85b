// The process runner and the installation's batches through Wine's real command
// interpreter: exit codes, options, the batch's variables reaching the commands as data.
#include <gtest/gtest.h>

#include <string>

#include "core/win/directory_variables.h"
#include "core/win/environment.h"
#include "core/win/windows.h"
#include "install/batch_file.h"
#include "install/process_runner.h"
#include "tests/win/file_test_support.h"

namespace install {
namespace {

using test_support::exists;
using test_support::file_bytes;
using test_support::ScratchDirectory;

std::string text_of(const core::String& text) { return std::string(text.text(), static_cast<size_t>(text.length())); }

core::String cmd_line(const char* commands) {
  core::ProcessEnvironment env;
  core::init_environment(env);
  return core::format_string("%s /c %s", env.command_interpreter.text(), commands);
}

TEST(ProcessRunner, Options) {
  struct Case {
    uint32_t options;
    int show;
    DWORD priority;
  };
  const Case cases[] = {
      {0, -1, NORMAL_PRIORITY_CLASS},
      {run_option::Hidden, SW_HIDE, NORMAL_PRIORITY_CLASS},
      {run_option::Minimised | run_option::Hidden, SW_MINIMIZE, NORMAL_PRIORITY_CLASS},
      {run_option::Maximised | run_option::Minimised | run_option::Hidden, SW_SHOWMAXIMIZED, NORMAL_PRIORITY_CLASS},
      {run_option::IdlePriority, -1, IDLE_PRIORITY_CLASS},
      {run_option::IdlePriority | run_option::HighPriority, -1, HIGH_PRIORITY_CLASS},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    EXPECT_EQ(show_state_for(c.options), c.show);
    EXPECT_EQ(priority_class_for(c.options), c.priority);
  }
}

TEST(ProcessRunner, ExitCodesAndFailures) {
  EXPECT_EQ(run_process(cmd_line("exit 7"), run_option::Wait | run_option::Hidden, nullptr), 7u);
  EXPECT_EQ(run_process(cmd_line("exit 9"), run_option::Wait | run_option::PumpMessages | run_option::Hidden, ""),
            9u);
  EXPECT_EQ(run_process(cmd_line("exit 3"), run_option::Hidden, nullptr), kNoExitCode);
  EXPECT_EQ(run_process("", run_option::Wait, nullptr), kStartFailed);
  EXPECT_EQ(run_process("Z:\\no\\such\\program.exe", run_option::Wait, nullptr), kStartFailed);
  EXPECT_FALSE(shell_open("", nullptr, nullptr, nullptr));
}

TEST(ProcessRunner, WorkingDirectory) {
  ScratchDirectory dir;
  EXPECT_EQ(run_process(cmd_line("echo here> marker.txt"), run_option::Wait | run_option::Hidden, dir.path().c_str()),
            0u);
  EXPECT_EQ(file_bytes(dir / "marker.txt"), "here\r\n");
}

class BatchFile : public ::testing::Test {
 protected:
  void SetUp() override {
    core::init_environment(env_);
    // A profile path such as C:\Users\Tom&Jerry, and a value with a percent sign.
    install_dir_ = dir_ / "Tom&Jerry 100%";
    CreateDirectoryA(install_dir_.c_str(), nullptr);
    dirs_.install_dir = install_dir_.c_str();
    dirs_.uninstall_dir = (install_dir_ + "\\uninstall").c_str();
    dirs_.shared_dir = "C:\\Shared %PATH% & more";
  }
  std::string marker() const { return file_bytes(install_dir_ + "\\marker.txt"); }

  ScratchDirectory dir_;
  std::string install_dir_;
  core::ProcessEnvironment env_;
  core::InstallationDirectories dirs_;
};

TEST_F(BatchFile, VariablesReachTheCommandsAsData) {
  // "set NAME" shows the value as stored, without expanding it again.
  const char* commands =
      "set InstallDir> marker.txt\n"
      "set SharedDir>> marker.txt\n"
      "set InstallDrive>> marker.txt\n"
      "set InstallerDrive>> marker.txt\n";
  EXPECT_TRUE(run_batch_file(commands, install_dir_.c_str(), true, false, env_, dirs_));
  std::string expected = "InstallDir=" + install_dir_ + "\r\nSharedDir=C:\\Shared %PATH% & more\r\nInstallDrive=" +
                         install_dir_.substr(0, 2) + "\r\nInstallerDrive=" + std::string(1, env_.installer_drive) +
                         ":\r\n";
  EXPECT_EQ(marker(), expected);
  // The batch file is gone afterwards.
  EXPECT_FALSE(exists(install_dir_ + "\\QVINBAT.BAT"));
}

TEST_F(BatchFile, VariablesInOrder) {
  core::Vector<BatchVariable> variables = batch_variables(env_, dirs_);
  std::string names;
  for (const BatchVariable& variable : variables) names += std::string(variable.name) + " ";
  EXPECT_EQ(names,
            "InstallDir InstallDrive UninstallDir SharedDir InstallerFilepath InstallerDir InstallerFilename "
            "InstallerDrive SystemDir DeviceDir MediaDir FavoritesDir FavoritesAllDir FontDir DesktopDir "
            "DesktopAllDir DocumentDir DocumentAllDir ProgramsDir StartMenuDir StartMenuAllDir SMProgramsDir "
            "SMProgramsAllDir StartupDir StartupAllDir BootDrive CommonDir ");
  EXPECT_EQ(text_of(variables[1].value), install_dir_.substr(0, 2));
  EXPECT_EQ(text_of(variables[8].value), text_of(core::system_directory(env_)));

  // Without an installation directory its two lines are left out.
  dirs_.install_dir.clear();
  variables = batch_variables(env_, dirs_);
  EXPECT_STREQ(variables[0].name, "UninstallDir");
  EXPECT_EQ(variables.count(), 25);
}

TEST_F(BatchFile, BlankBatchRunsNothing) {
  EXPECT_TRUE(run_batch_file(" \r\n", install_dir_.c_str(), true, false, env_, dirs_));
  EXPECT_FALSE(exists(install_dir_ + "\\QVINBAT.BAT"));
}

TEST_F(BatchFile, UnwritableDirectoryRunsNothing) {
  EXPECT_FALSE(run_batch_file("echo x> marker.txt", (dir_ / "missing").c_str(), true, false, env_, dirs_));
}

TEST_F(BatchFile, InterpreterPathWithBlanks) {
  // A copy of the interpreter in a folder with a blank, as %comspec% may name one.
  std::string shell_dir = dir_ / "my shell";
  CreateDirectoryA(shell_dir.c_str(), nullptr);
  core::String original = env_.command_interpreter;
  original.unquote('"');
  ASSERT_TRUE(CopyFileA(original.text(), (shell_dir + "\\cmd.exe").c_str(), FALSE));
  env_.command_interpreter = core::choose_command_interpreter((shell_dir + "\\cmd.exe").c_str(), true, "");
  ASSERT_EQ(env_.command_interpreter.first_char(), '"');

  EXPECT_TRUE(run_batch_file("echo ran> marker.txt", install_dir_.c_str(), true, false, env_, dirs_));
  EXPECT_EQ(marker(), "ran\r\n");
}

}  // namespace
}  // namespace install
