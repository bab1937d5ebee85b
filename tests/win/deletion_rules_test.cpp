// File patterns and deletion rules on a seeded tree: recursion, links that are not
// entered, conditions, busy files, protected folders and a directory variable that stands
// for nothing.
#include "install/deletion_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/win/environment.h"
#include "core/win/file_time_win.h"
#include "core/win/windows.h"
#include "install/file_patterns.h"
#include "install/protected_folders.h"
#include "install/restart_replace.h"
#include "tests/win/file_test_support.h"
#include "tests/win/pending_renames.h"

namespace install {
namespace {

using test_support::exists;
using test_support::Holder;
using test_support::PendingRenames;
using test_support::put_file;
using test_support::ScratchDirectory;
namespace cond = archive::deletion_condition;

bool stamp(const std::string& path, const core::FileTimeRecord& time) {
  FILETIME file_time;
  if (!core::to_file_time(time, file_time)) return false;
  HANDLE handle = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  BOOL ok = SetFileTime(handle, nullptr, nullptr, &file_time);
  CloseHandle(handle);
  return ok != 0;
}

bool is_reparse_point(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Makes the empty directory `link` a junction to `target`.
bool make_junction(const std::string& link, const std::string& target) {
  if (!CreateDirectoryA(link.c_str(), nullptr)) return false;
  std::wstring substitute = L"\\??\\";
  for (char c : target) substitute += static_cast<wchar_t>(c);
  const size_t name_bytes = substitute.size() * sizeof(wchar_t);
  // Mount-point reparse data: tag, data length, reserved, then four offsets and lengths and
  // the substitute and print names, each terminated.
  std::vector<uint8_t> buffer(8 + 8 + name_bytes + 2 + 2);
  auto put16 = [&](size_t at, size_t value) {
    buffer[at] = static_cast<uint8_t>(value);
    buffer[at + 1] = static_cast<uint8_t>(value >> 8);
  };
  const DWORD tag = 0xA0000003;  // IO_REPARSE_TAG_MOUNT_POINT
  for (int i = 0; i < 4; ++i) buffer[i] = static_cast<uint8_t>(tag >> (8 * i));
  put16(4, buffer.size() - 8);
  put16(8, 0);
  put16(10, name_bytes);
  put16(12, name_bytes + 2);
  put16(14, 0);
  std::memcpy(&buffer[16], substitute.data(), name_bytes);
  HANDLE handle = CreateFileA(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  DWORD returned = 0;
  BOOL ok = DeviceIoControl(handle, 0x000900A4 /* FSCTL_SET_REPARSE_POINT */, buffer.data(),
                            static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr);
  CloseHandle(handle);
  return ok != 0;
}

// A link to `target` at `link`, as a symbolic link or else as a junction; false when Wine
// makes neither into a reparse point.
bool make_directory_link(const std::string& link, const std::string& target) {
  using CreateLink = BOOLEAN(WINAPI*)(LPCSTR, LPCSTR, DWORD);
  auto create = reinterpret_cast<CreateLink>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateSymbolicLinkA")));
  if (create != nullptr && create(link.c_str(), target.c_str(), 1 /* directory */) && is_reparse_point(link)) {
    return true;
  }
  RemoveDirectoryA(link.c_str());
  return make_junction(link, target) && is_reparse_point(link);
}

// root: a.tmp (3 bytes, 10 Jan 2005), b.txt, ro.tmp (read-only), sub\c.tmp (5 Mar 2006),
// sub\deep\d.tmp (empty), and, where Wine can make one, link -> sub.
class SeededTree : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = dir_.path();
    CreateDirectoryA((root_ + "\\sub").c_str(), nullptr);
    CreateDirectoryA((root_ + "\\sub\\deep").c_str(), nullptr);
    ASSERT_TRUE(put_file(at("a.tmp"), "abc"));
    ASSERT_TRUE(put_file(at("b.txt"), "b"));
    SetFileAttributesA(at("ro.tmp").c_str(), FILE_ATTRIBUTE_NORMAL);  // seeded again by a table
    ASSERT_TRUE(put_file(at("ro.tmp"), "ro"));
    SetFileAttributesA(at("ro.tmp").c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(put_file(at("sub\\c.tmp"), "c"));
    ASSERT_TRUE(put_file(at("sub\\deep\\d.tmp"), ""));
    ASSERT_TRUE(stamp(at("a.tmp"), core::FileTimeRecord{2005, 1, 10, 12, 0, 0}));
    ASSERT_TRUE(stamp(at("ro.tmp"), core::FileTimeRecord{2007, 6, 1, 8, 0, 0}));
    ASSERT_TRUE(stamp(at("sub\\c.tmp"), core::FileTimeRecord{2006, 3, 5, 10, 0, 0}));
    ASSERT_TRUE(stamp(at("sub\\deep\\d.tmp"), core::FileTimeRecord{2006, 3, 5, 18, 30, 0}));
    has_link_ = make_directory_link(at("link"), at("sub"));

    core::init_environment(env_);
    dirs_.install_dir = root_.c_str();
  }
  void TearDown() override { RemoveDirectoryA(at("link").c_str()); }

  std::string at(const std::string& name) const { return root_ + "\\" + name; }

  // The names below root that are still there, of those seeded.
  std::string remaining() const {
    std::string names;
    for (const char* name : {"a.tmp", "b.txt", "ro.tmp", "sub\\c.tmp", "sub\\deep\\d.tmp"}) {
      if (exists(at(name))) names += std::string(names.empty() ? "" : " ") + name;
    }
    return names;
  }

  std::vector<std::string> relative(const core::Vector<core::String>& paths) const {
    std::vector<std::string> names;
    for (const core::String& path : paths) names.push_back(std::string(path.text()).substr(root_.size() + 1));
    std::sort(names.begin(), names.end());
    return names;
  }

  bool apply(const char* specification, uint8_t condition = cond::None, const char* value = "", int32_t flags = 0) {
    archive::FileDeletion rule;
    rule.specification = specification;
    rule.condition = condition;
    rule.value = value;
    rule.flags = flags;
    return apply_deletion_rule(rule, env_, dirs_, folders_, *records_);
  }

  ScratchDirectory dir_;
  std::string root_;
  bool has_link_ = false;
  core::ProcessEnvironment env_;
  core::InstallationDirectories dirs_;
  ProtectedFolderSet folders_;
  std::unique_ptr<RunRecords> records_ = std::make_unique<RunRecords>();
};

TEST_F(SeededTree, ListingWithAndWithoutRecursion) {
  core::Vector<core::String> paths;
  EXPECT_EQ(list_matching_files(core::String(at("*.tmp").c_str()), paths), 5);
  EXPECT_EQ(relative(paths), (std::vector<std::string>{"a.tmp", "ro.tmp"}));

  paths.clear();
  EXPECT_EQ(list_matching_files(core::String(at("*.tmp /S").c_str()), paths), 6);
  // The directory's own files first, then each subdirectory's; the link is not entered.
  EXPECT_EQ(paths.count(), 4);
  EXPECT_EQ(relative(paths), (std::vector<std::string>{"a.tmp", "ro.tmp", "sub\\c.tmp", "sub\\deep\\d.tmp"}));
  EXPECT_EQ(std::string(paths[3].text()), at("sub\\deep\\d.tmp"));
  if (!has_link_) std::printf("note: this Wine makes no directory links; the link case was not exercised\n");

  // A walk does not enter a protected folder, but lists the files around it.
  ProtectedFolderSet folders;
  folders.add(at("sub\\deep").c_str());
  paths.clear();
  list_matching_files(core::String(at("*.tmp /s").c_str()), paths, &folders);
  EXPECT_EQ(relative(paths), (std::vector<std::string>{"a.tmp", "ro.tmp", "sub\\c.tmp"}));
}

TEST_F(SeededTree, SpecificationDiagnostics) {
  core::Vector<core::String> paths;
  core::String diagnostics;
  std::string text = "*.tmp;a.tmp\r\n" + at("*.none") + "\r\n\r\n" + at("sub\\c.tmp /s") + ";nowhere\\*.x";
  int64_t total = expand_file_specification(core::String(text.c_str()), paths, root_.c_str(), &diagnostics);
  EXPECT_EQ(total, 5 + 3 + 1);
  EXPECT_EQ(relative(paths), (std::vector<std::string>{"a.tmp", "ro.tmp", "sub\\c.tmp"}));
  EXPECT_EQ(std::string(diagnostics.text()),
            "The file \"" + at("a.tmp") + "\" occurs more than once.\r\n" + "The file specification \"" +
                at("*.none") + "\" on line 2 did not match any files.\r\n" + "The file specification \"" +
                at("nowhere\\*.x") + "\" on line 4 did not match any files.\r\n");

  paths.clear();
  diagnostics.clear();
  expand_file_specification("*.tmp", paths, "", &diagnostics);
  expand_file_specification("*.tmp", paths, at("missing").c_str(), &diagnostics);
  EXPECT_EQ(std::string(diagnostics.text()),
            "The file specification \"*.tmp\" on line 1 is not an absolute path.  Please include the drive and "
            "directory.\r\nThe default directory \"" +
                at("missing") + "\" does not exist.\r\nThe file specification \"" + at("missing\\*.tmp") +
                "\" on line 1 did not match any files.\r\n");
}

TEST_F(SeededTree, Conditions) {
  struct Case {
    const char* label;
    const char* specification;
    uint8_t condition;
    const char* value;
    const char* remaining;
  };
  const Case cases[] = {
      {"this directory only, read-only file too", "%InstallDir%\\*.tmp", cond::None, "",
       "b.txt sub\\c.tmp sub\\deep\\d.tmp"},
      {"every depth", "%installdir%\\*.tmp /s", cond::None, "", "b.txt"},
      {"a file matched twice goes once", "%InstallDir%\\a.tmp;*.tmp", cond::None, "",
       "b.txt sub\\c.tmp sub\\deep\\d.tmp"},
      {"date equal, whatever the time", "%InstallDir%\\*.tmp /s", cond::DateEqual, "3/5/2006",
       "a.tmp b.txt ro.tmp"},
      {"date and time equal", "%InstallDir%\\*.tmp /s", cond::DateEqual, "3/5/2006 6:30pm",
       "a.tmp b.txt ro.tmp sub\\c.tmp"},
      {"on or after a day", "%InstallDir%\\*.tmp /s", cond::DateOnOrAfter, "2006-03-05", "a.tmp b.txt"},
      {"on or before a day", "%InstallDir%\\*.tmp /s", cond::DateOnOrBefore, "1/31/2005",
       "b.txt ro.tmp sub\\c.tmp sub\\deep\\d.tmp"},
      {"size at least 0: all", "%InstallDir%\\*.* /s", cond::SizeAtLeast, "0", ""},
      {"size at most 0: the empty file", "%InstallDir%\\*.* /s", cond::SizeAtMost, "0",
       "a.tmp b.txt ro.tmp sub\\c.tmp"},
      {"size equal", "%InstallDir%\\*.* /s", cond::SizeEqual, "3", "b.txt ro.tmp sub\\c.tmp sub\\deep\\d.tmp"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    SetUp();
    records_ = std::make_unique<RunRecords>();
    EXPECT_TRUE(apply(c.specification, c.condition, c.value));
    EXPECT_EQ(remaining(), c.remaining);
    EXPECT_EQ(std::string(records_->error_report.text()), "");
  }
  // Each deletion is logged once.
  SetUp();
  records_ = std::make_unique<RunRecords>();
  apply("%InstallDir%\\a.tmp;*.tmp");
  EXPECT_EQ(std::string(records_->install_log.text()),
            "Deleted file: " + at("a.tmp") + "\r\nDeleted file: " + at("ro.tmp") + "\r\n");
}

TEST_F(SeededTree, BadDateStopsTheRuleOnlyWhenAFileIsTested) {
  EXPECT_FALSE(apply("%InstallDir%\\*.tmp", cond::DateEqual, "someday"));
  EXPECT_EQ(remaining(), "a.tmp b.txt ro.tmp sub\\c.tmp sub\\deep\\d.tmp");
  EXPECT_TRUE(apply("%InstallDir%\\*.none", cond::DateEqual, "someday"));
}

TEST_F(SeededTree, BusyFiles) {
  PendingRenames pending;
  Holder holder(at("sub\\c.tmp"));
  ASSERT_TRUE(holder.holds());
  EXPECT_TRUE(apply("%InstallDir%\\sub\\c.tmp"));
  EXPECT_NE(std::string(records_->install_log.text()).find("Failed to delete file '" + at("sub\\c.tmp") + "': "),
            std::string::npos);
  EXPECT_FALSE(records_->restart_needed);

  records_ = std::make_unique<RunRecords>();
  EXPECT_TRUE(apply("%InstallDir%\\sub\\c.tmp", cond::None, "", archive::deletion_flag::DeleteAtRestart));
  EXPECT_EQ(std::string(records_->install_log.text()).find("File '" + at("sub\\c.tmp") + "' will be deleted after rebooting: "),
            0u);
  EXPECT_TRUE(records_->restart_needed);
  EXPECT_TRUE(pending.added_deletion_of(at("sub\\c.tmp")));
  EXPECT_EQ(std::string(records_->error_report.text()), "");
}

TEST_F(SeededTree, ProtectedFolders) {
  // The installation directory itself protected: a walk rooted there is refused.
  folders_.add(root_.c_str());
  EXPECT_TRUE(apply("%InstallDir%\\*.tmp /s"));
  EXPECT_EQ(remaining(), "a.tmp b.txt ro.tmp sub\\c.tmp sub\\deep\\d.tmp");
  EXPECT_EQ(std::string(records_->install_log.text()),
            "Deletion rule refused, it would reach into a protected folder: " + at("*.tmp /s") + "\r\n");
  // One named file there may still go.
  EXPECT_TRUE(apply("%InstallDir%\\a.tmp"));
  EXPECT_EQ(remaining(), "b.txt ro.tmp sub\\c.tmp sub\\deep\\d.tmp");
  // So may the files of an unprotected subdirectory.
  EXPECT_TRUE(apply("%InstallDir%\\sub\\*.tmp /s"));
  EXPECT_EQ(remaining(), "b.txt ro.tmp");
}

TEST_F(SeededTree, MachineFoldersRefuseTheWindowsTree) {
  const ProtectedFolderSet& machine = machine_protected_folders(env_);
  EXPECT_TRUE(apply_deletion_rule([] {
    archive::FileDeletion rule;
    rule.specification = "%WinDir%\\*.qvin-test-none /s";
    return rule;
  }(), env_, dirs_, machine, *records_));
  EXPECT_NE(std::string(records_->install_log.text()).find("Deletion rule refused"), std::string::npos);
  // The folders of the machine, in long and short form, and the ancestors of the profile.
  EXPECT_TRUE(is_protected_path(machine, env_.windows_directory));
  EXPECT_TRUE(is_protected_path(machine, short_path_form(core::system_directory(env_))));
  EXPECT_TRUE(is_protected_path(machine, env_.temp_directory));
  EXPECT_TRUE(is_protected_path(machine, "C:\\users"));
  EXPECT_TRUE(is_protected_path(machine, "C:\\"));
  char buffer[MAX_PATH] = {};
  ASSERT_GT(GetEnvironmentVariableA("USERPROFILE", buffer, MAX_PATH), 0u);
  EXPECT_TRUE(is_protected_folder_path(machine, buffer));
  ASSERT_GT(GetEnvironmentVariableA("ProgramFiles", buffer, MAX_PATH), 0u);
  EXPECT_TRUE(is_protected_folder_path(machine, buffer));
  EXPECT_FALSE(is_protected_path(machine, (std::string(buffer) + "\\Some Product").c_str()));
  EXPECT_FALSE(is_protected_path(machine, root_.c_str()));
}

TEST_F(SeededTree, EmptyVariableNeverWidensTheRule) {
  // Without uninstall support %SharedDir% stands for nothing: "\*.tmp /s" would be every
  // .tmp file of the drive.
  dirs_.shared_dir.clear();
  EXPECT_TRUE(apply("%SharedDir%\\*.tmp /s"));
  EXPECT_EQ(std::string(records_->install_log.text()),
            "Deletion rule skipped, a directory in it has no value here: %SharedDir%\\*.tmp /s\r\n");
  // Nor does it when the rule names the installation directory and the other variable.
  EXPECT_TRUE(apply("%InstallDir%\\*.tmp;%SharedDir%\\*.tmp"));
  EXPECT_EQ(remaining(), "a.tmp b.txt ro.tmp sub\\c.tmp sub\\deep\\d.tmp");
}

}  // namespace
}  // namespace install
