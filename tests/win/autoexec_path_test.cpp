// The installation directory on the PATH of an "autoexec.bat": added once in 8.3 form,
// removed again, and every failure reported.
#include "install/autoexec_path.h"

#include <gtest/gtest.h>

#include <string>

#include "install/restart_replace.h"
#include "tests/win/file_test_support.h"

namespace install {
namespace {

using test_support::file_bytes;
using test_support::put_file;
using test_support::ScratchDirectory;
using test_support::WriteRecorder;

TEST(AutoexecPath, AddedOnceAndRemoved) {
  ScratchDirectory dir;
  std::string autoexec = dir / "autoexec.bat";
  core::String install_dir((dir / "Program Files").c_str());
  CreateDirectoryA(install_dir.text(), nullptr);
  std::string line = std::string("PATH=%PATH%;") + short_path_form(install_dir).text() + "\r\n";
  ASSERT_TRUE(put_file(autoexec, "@echo off\r\nPATH=%PATH%;C:\\OTHER\r\n"));

  EXPECT_EQ(std::string(update_autoexec_file(autoexec.c_str(), true, install_dir).text()), "");
  EXPECT_EQ(std::string(update_autoexec_file(autoexec.c_str(), true, install_dir).text()), "");
  EXPECT_EQ(file_bytes(autoexec), "@echo off\r\nPATH=%PATH%;C:\\OTHER\r\n" + line);

  EXPECT_EQ(std::string(update_autoexec_file(autoexec.c_str(), false, install_dir).text()), "");
  EXPECT_EQ(file_bytes(autoexec), "@echo off\r\nPATH=%PATH%;C:\\OTHER\r\n");
}

TEST(AutoexecPath, FailuresAreReported) {
  ScratchDirectory dir;
  std::string autoexec = dir / "autoexec.bat";
  core::String install_dir("C:\\APP");
  // Removing from a file that is not there.
  EXPECT_EQ(std::string(update_autoexec_file(autoexec.c_str(), false, install_dir).text()),
            "Unable to modify " + autoexec +
                ".  You will need to manually remove C:\\APP from the PATH environment variable.\r\n\r\n");
  // A write that fails is not a success.
  ASSERT_TRUE(put_file(autoexec, "@echo off\r\n"));
  WriteRecorder recorder;
  recorder.fail_next = 1;
  EXPECT_EQ(std::string(update_autoexec_file(autoexec.c_str(), true, install_dir).text()),
            "Unable to modify " + autoexec +
                ".  You will need to manually add C:\\APP to the PATH environment variable.\r\n\r\n");
}

}  // namespace
}  // namespace install
