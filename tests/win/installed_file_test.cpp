// The installed-file writer against Wine's file system: bytes, time and attribute mask;
// a read-only target with and without the retry that clears it; verification; a file in
// use that existed before, replaced at the restart.
#include "install/installed_file.h"

#include <gtest/gtest.h>

#include <string>

#include "archive/file_entry.h"
#include "core/win/directory_listing.h"
#include "core/win/windows.h"
#include "tests/win/file_test_support.h"
#include "tests/win/pending_renames.h"

namespace install {
namespace {

using test_support::file_bytes;
using test_support::Holder;
using test_support::PauseRecorder;
using test_support::PendingRenames;
using test_support::put_file;
using test_support::ScratchDirectory;

const std::string kBytes = "installed bytes\r\n";
const core::FileTime kTime{2011, 7, 8, 9, 10, 11};

class InstalledFile : public ::testing::Test {
 protected:
  void SetUp() override { core::init_environment(env_); }

  bool write(const std::string& path, uint32_t flags = 0, int32_t attributes = archive::kKeepAttributes,
             bool existed_before = false, const core::FileTime& time = kTime) {
    settings_.flags = flags;
    InstallContext context{settings_, env_, dirs_, records_};
    return write_installed_file(core::String(path.c_str()), reinterpret_cast<const uint8_t*>(kBytes.data()),
                                static_cast<int32_t>(kBytes.size()), time, attributes, existed_before, context);
  }

  ScratchDirectory dir_;
  archive::Settings settings_;
  core::ProcessEnvironment env_;
  core::InstallationDirectories dirs_;
  RunRecords records_;
  PauseRecorder no_waits_;
};

TEST_F(InstalledFile, WritesBytesTimeAndAttributes) {
  const std::string path = dir_ / "a.txt";
  ASSERT_TRUE(write(path, archive::flag::VerifyWrittenFiles, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(file_bytes(path), kBytes);
  core::FileTimeRecord written = core::modified_time(path.c_str());
  EXPECT_EQ(core::compare_file_times(written, kTime), 0) << written.year << "-" << written.month << "-" << written.day
                                                         << " " << written.hour << ":" << written.minute;
  DWORD attributes = GetFileAttributesA(path.c_str());
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_FALSE(attributes & FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(records_.error_report.is_empty()) << records_.error_report.text();

  // Bits outside the mask are not the entry's to set.
  const std::string other = dir_ / "b.txt";
  ASSERT_TRUE(write(other, 0, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
  attributes = GetFileAttributesA(other.c_str());
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(attributes & FILE_ATTRIBUTE_DIRECTORY);

  // Without a time of day the file keeps the time of its writing.
  const std::string undated = dir_ / "c.txt";
  ASSERT_TRUE(write(undated, 0, archive::kKeepAttributes, false, core::FileTime{2011, 7, 8, -1, 0, 0}));
  EXPECT_GT(core::modified_time(undated.c_str()).year, 2020);
}

TEST_F(InstalledFile, ReadOnlyTargetNeedsTheClearingRetry) {
  const std::string path = dir_ / "ro.txt";
  ASSERT_TRUE(put_file(path, "old"));
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  if (write(path)) {
    // Wine run by root writes over a file that has no write permission.
    printf("note: this Wine writes over read-only files; the refusal was not exercised\n");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  } else {
    EXPECT_EQ(file_bytes(path), "old");
    EXPECT_NE(records_.error_report.find(path.c_str(), 0), -1) << records_.error_report.text();
  }

  records_.error_report.clear();
  EXPECT_TRUE(write(path, archive::flag::ClearAttributesOnRetry));
  EXPECT_EQ(file_bytes(path), kBytes);
  EXPECT_TRUE(records_.error_report.is_empty()) << records_.error_report.text();
}

TEST_F(InstalledFile, FileInUseIsReplacedAtTheRestartWhenItExistedBefore) {
  PendingRenames pending;
  const std::string path = dir_ / "busy.dll";
  ASSERT_TRUE(put_file(path, "old"));
  Holder holder(path);
  ASSERT_TRUE(holder.holds());

  // A file this installation brings new is not worth a restart: the failure is reported.
  EXPECT_FALSE(write(path, 0, archive::kKeepAttributes, false));
  EXPECT_FALSE(records_.restart_needed);
  EXPECT_NE(records_.error_report.find(path.c_str(), 0), -1);

  records_.error_report.clear();
  EXPECT_FALSE(write(path, 0, archive::kKeepAttributes, true));
  EXPECT_TRUE(records_.restart_needed);
  EXPECT_TRUE(records_.error_report.is_empty()) << records_.error_report.text();
  EXPECT_NE(records_.install_log.find("has been successfully registered for replacement", 0), -1)
      << records_.install_log.text();
  holder.release();
  EXPECT_EQ(file_bytes(path), "old");
}

}  // namespace
}  // namespace install
