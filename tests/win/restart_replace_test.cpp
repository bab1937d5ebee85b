// Deleting and moving files now and at the restart, against Wine's file system and the
// pending-rename list of its registry; the replacement of a file held open by another.
#include "install/restart_replace.h"

#include <gtest/gtest.h>

#include <string>

#include "core/win/directory_listing.h"
#include "core/win/optional_functions.h"
#include "core/win/windows.h"
#include "tests/win/file_test_support.h"
#include "tests/win/pending_renames.h"

namespace install {
namespace {

using test_support::exists;
using test_support::file_bytes;
using test_support::Holder;
using test_support::PendingRenames;
using test_support::put_file;
using test_support::ScratchDirectory;

core::String string_of(const std::string& text) { return core::String(text.c_str()); }

void set_read_only(const std::string& path) { SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY); }

TEST(RestartReplace, DeleteNow) {
  ScratchDirectory dir;
  ASSERT_TRUE(put_file(dir / "plain.txt", "x"));
  EXPECT_TRUE(delete_file(string_of(dir / "plain.txt"), 0));
  EXPECT_FALSE(exists(dir / "plain.txt"));

  // The read-only attribute is cleared first, unless the caller keeps it.
  ASSERT_TRUE(put_file(dir / "locked.txt", "x"));
  set_read_only(dir / "locked.txt");
  EXPECT_FALSE(delete_file(string_of(dir / "locked.txt"), delete_mode::KeepReadOnly));
  EXPECT_TRUE(exists(dir / "locked.txt"));
  EXPECT_TRUE(delete_file(string_of(dir / "locked.txt"), 0));
  EXPECT_FALSE(exists(dir / "locked.txt"));

  EXPECT_FALSE(delete_file(string_of(dir / "missing.txt"), 0));
  EXPECT_FALSE(delete_file(core::String(), 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(RestartReplace, BusyFileIsDeletedAtTheRestart) {
  ScratchDirectory dir;
  PendingRenames pending;
  std::string path = dir / "busy.dll";
  Holder holder(path);
  ASSERT_TRUE(holder.holds());
  EXPECT_FALSE(delete_file(string_of(path), 0));
  EXPECT_TRUE(delete_file(string_of(path), delete_mode::AtRestartOnFailure));
  EXPECT_TRUE(exists(path));  // still there until the restart
  EXPECT_TRUE(pending.added_deletion_of(path));
}

TEST(RestartReplace, MoveModes) {
  struct Case {
    const char* label;
    bool target_exists;
    bool target_read_only;
    uint32_t mode;
    bool moved;
    DWORD error;  // the last error after a refusal, 0 when not checked
  };
  const Case cases[] = {
      {"replaces an existing target", true, false, 0, true, 0},
      {"onto a new name", false, false, 0, true, 0},
      {"only replace: no target", false, false, move_mode::OnlyReplace, false, 0},
      {"only replace: target there", true, false, move_mode::OnlyReplace, true, 0},
      {"never replace: target there", true, false, move_mode::NeverReplace, false, 0},
      {"never replace: no target", false, false, move_mode::NeverReplace, true, 0},
      {"refuse read-only target", true, true, move_mode::RefuseReadOnly, false, ERROR_ACCESS_DENIED},
      {"read-only target without the refusal", true, true, 0, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ScratchDirectory dir;
    ASSERT_TRUE(put_file(dir / "source.txt", "new"));
    if (c.target_exists) {
      ASSERT_TRUE(put_file(dir / "target.txt", "old"));
      if (c.target_read_only) set_read_only(dir / "target.txt");
    }
    EXPECT_EQ(move_file(string_of(dir / "source.txt"), string_of(dir / "target.txt"), c.mode), c.moved);
    if (c.error != 0) {
      EXPECT_EQ(GetLastError(), c.error);
    }
    EXPECT_EQ(file_bytes(dir / "target.txt"), c.moved ? "new" : (c.target_exists ? "old" : "<missing>"));
    EXPECT_EQ(exists(dir / "source.txt"), !c.moved);
  }
}

TEST(RestartReplace, MoveEdges) {
  ScratchDirectory dir;
  ASSERT_TRUE(put_file(dir / "source.txt", "new"));
  // The same name: nothing to do, reported as done.
  EXPECT_TRUE(move_file(string_of(dir / "source.txt"), string_of(dir / "source.txt"), 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(file_bytes(dir / "source.txt"), "new");

  EXPECT_FALSE(move_file(string_of(dir / "missing.txt"), string_of(dir / "target.txt"), 0));
  EXPECT_FALSE(move_file(core::String(), string_of(dir / "target.txt"), 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

  // The target's directory is created when asked for.
  EXPECT_FALSE(move_file(string_of(dir / "source.txt"), string_of(dir / "a\\b\\target.txt"), 0));
  EXPECT_TRUE(move_file(string_of(dir / "source.txt"), string_of(dir / "a\\b\\target.txt"),
                        move_mode::CreateTargetDirectory));
  EXPECT_EQ(file_bytes(dir / "a\\b\\target.txt"), "new");
}

TEST(RestartReplace, DelayedMoveLeavesTheTargetInPlace) {
  ScratchDirectory dir;
  PendingRenames pending;
  ASSERT_TRUE(put_file(dir / "source.txt", "new"));
  ASSERT_TRUE(put_file(dir / "target.txt", "old"));
  EXPECT_TRUE(move_file(string_of(dir / "source.txt"), string_of(dir / "target.txt"), move_mode::AtRestart));
  // The machine keeps a working file until the restart replaces it.
  EXPECT_EQ(file_bytes(dir / "target.txt"), "old");
  EXPECT_TRUE(exists(dir / "source.txt"));
  EXPECT_TRUE(pending.added_move(dir / "source.txt", dir / "target.txt"));
}

TEST(RestartReplace, ReplacementOfAFileInUse) {
  ScratchDirectory dir;
  PendingRenames pending;
  std::string target = dir / "busy.dll";
  ASSERT_TRUE(put_file(target, "old"));
  Holder holder(target);
  ASSERT_TRUE(holder.holds());

  const core::FileTimeRecord time{2004, 7, 9, 13, 45, 30};
  const uint8_t data[] = {'n', 'e', 'w'};
  core::String note;
  RunRecords records;
  ASSERT_TRUE(replace_at_restart(string_of(target), data, sizeof(data), time, note, records));
  EXPECT_TRUE(records.restart_needed);

  // The temporary file lies beside the target (a delayed move cannot cross volumes), holds
  // the data and carries the entry's time.
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((dir / "TKT*.tmp").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  FindClose(search);
  std::string temporary = dir / found.cFileName;
  EXPECT_EQ(file_bytes(temporary), "new");
  core::FileTimeRecord stamped = core::modified_time(temporary.c_str());
  EXPECT_EQ(core::compare_file_times(stamped, time), 0);

  std::string text = note.text();
  EXPECT_EQ(text.find("\"" + target + "\" has been successfully registered for replacement.\r\nTemporary file is \""),
            0u)
      << text;
  EXPECT_NE(text.find("\"\r\nReboot will be required.\r\n\r\n"), std::string::npos) << text;
  EXPECT_TRUE(pending.added_move(short_path_form(string_of(temporary)).text(), target));
  holder.release();
  EXPECT_EQ(file_bytes(target), "old");
}

TEST(RestartReplace, NoTemporaryFileIsReported) {
  core::String note;
  RunRecords records;
  const uint8_t data[] = {'x'};
  EXPECT_FALSE(replace_at_restart("Q:\\no such drive\\x.dll", data, 1, core::FileTimeRecord(), note, records));
  EXPECT_FALSE(records.restart_needed);
  EXPECT_EQ(std::string(note.text()).find("Failed to register 'Q:\\no such drive\\x.dll' for replacement because no "
                                          "temporary file could be created.\r\n"),
            0u);
}

// The 9x route, as taken on the NT family when MoveFileExA is missing: only when
// "wininit.exe" is there to read "wininit.ini" at the start.
class WininitRoute : public ::testing::Test {
 protected:
  void SetUp() override {
    char buffer[MAX_PATH] = {};
    GetWindowsDirectoryA(buffer, MAX_PATH);
    windows_ = buffer;
    saved_ini_ = file_bytes(windows_ + "\\wininit.ini");
    core::force_absent(core::Optional::MoveFileExA);
  }
  void TearDown() override {
    core::force_absent(core::Optional::MoveFileExA, false);
    DeleteFileA((windows_ + "\\wininit.exe").c_str());
    if (saved_ini_ == "<missing>") {
      DeleteFileA((windows_ + "\\wininit.ini").c_str());
    } else {
      put_file(windows_ + "\\wininit.ini", saved_ini_);
    }
  }
  std::string windows_;
  std::string saved_ini_;
};

TEST_F(WininitRoute, UsedOnlyWithWininitExe) {
  ScratchDirectory dir;
  ASSERT_TRUE(put_file(dir / "old.dll", "x"));
  DeleteFileA((windows_ + "\\wininit.ini").c_str());
  EXPECT_FALSE(delete_file(string_of(dir / "old.dll"), delete_mode::AtRestart));
  EXPECT_FALSE(exists(windows_ + "\\wininit.ini"));

  ASSERT_TRUE(put_file(windows_ + "\\wininit.exe", "MZ"));
  ASSERT_TRUE(put_file(windows_ + "\\wininit.ini", "[Rename]\r\nC:\\A.DLL=C:\\A.TMP\r\n"));
  EXPECT_TRUE(delete_file(string_of(dir / "old.dll"), delete_mode::AtRestart));
  ASSERT_TRUE(put_file(dir / "new.tmp", "y"));
  EXPECT_TRUE(move_file(string_of(dir / "new.tmp"), string_of(dir / "old.dll"), move_mode::AtRestart));

  std::string short_old = short_path_form(string_of(dir / "old.dll")).text();
  std::string short_new = short_path_form(string_of(dir / "new.tmp")).text();
  EXPECT_EQ(file_bytes(windows_ + "\\wininit.ini"),
            "[Rename]\r\n" + short_old + "=" + short_new + "\r\nNUL=" + short_old + "\r\nC:\\A.DLL=C:\\A.TMP\r\n");
}

TEST_F(WininitRoute, ReplacementThatCannotBeScheduledLeavesNoTemporaryFile) {
  // Neither MoveFileExA nor "wininit.exe": nothing can be scheduled.
  ScratchDirectory dir;
  std::string target = dir / "busy.dll";
  const uint8_t data[] = {'n', 'e', 'w'};
  core::String note;
  RunRecords records;
  EXPECT_FALSE(replace_at_restart(string_of(target), data, sizeof(data), core::FileTimeRecord(), note, records));
  EXPECT_FALSE(records.restart_needed);
  EXPECT_EQ(std::string(note.text()).find("Failed to register '" + target + "' for replacement with temporary file '"),
            0u)
      << note.text();
  WIN32_FIND_DATAA found;
  EXPECT_EQ(FindFirstFileA((dir / "TKT*.tmp").c_str(), &found), INVALID_HANDLE_VALUE);
}

TEST_F(WininitRoute, EmptyNamesAreRefused) {
  ASSERT_TRUE(put_file(windows_ + "\\wininit.exe", "MZ"));
  EXPECT_FALSE(add_wininit_rename("", "C:\\x"));
  EXPECT_FALSE(add_wininit_rename("NUL", ""));
}

}  // namespace
}  // namespace install
