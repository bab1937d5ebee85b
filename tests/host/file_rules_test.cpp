// The file table's decisions: targets by kind and destination, existence modes, and the
// date and version rules against the file that is there.
#include <gtest/gtest.h>

#include <string>

#include "install/file_rules.h"
#include "install/shared_files_codec.h"

namespace {

using archive::FileEntry;
using install::OverwriteDecision;
using install::TargetProblem;

core::String str(const char* s) { return core::String(s); }

install::KindDirectories directories() {
  install::KindDirectories d;
  d.install = str("C:\\Program Files\\App");
  d.shared = str("C:\\Program Files\\Common Files\\Maker");
  d.uninstall = str("C:\\Program Files\\App\\Uninstall");
  d.system = str("C:\\windows\\system32");
  d.fonts = str("C:\\windows\\Fonts");
  return d;
}

TEST(FileRules, TargetsByKindDestinationAndRename) {
  struct Case {
    uint32_t kind;
    uint32_t flags;
    const char* name;
    const char* destination;  // as expanded
    const char* target;
    bool create_parent;
    TargetProblem problem;
  };
  using archive::file_flag::InUninstallDir;
  const Case cases[] = {
      {0, 0, "bin\\app.exe", "", "C:\\Program Files\\App\\bin\\app.exe", true, TargetProblem::None},
      {5, 0, "run.exe", "", "C:\\Program Files\\App\\run.exe", true, TargetProblem::None},
      {9, 0, "v.dll", "", "C:\\Program Files\\App\\v.dll", true, TargetProblem::None},
      {1, 0, "s.dll", "", "C:\\Program Files\\Common Files\\Maker\\s.dll", false, TargetProblem::None},
      {4, 0, "f.ttf", "", "C:\\windows\\Fonts\\f.ttf", false, TargetProblem::None},
      {6, 0, "x.dll", "", "C:\\windows\\system32\\x.dll", false, TargetProblem::None},
      {7, 0, "com.dll", "", "C:\\windows\\system32\\com.dll", false, TargetProblem::None},
      {8, 0, "t.tlb", "", "C:\\windows\\system32\\t.tlb", false, TargetProblem::None},
      // The uninstall directory wins over the kind's own, and creates nothing.
      {0, InUninstallDir, "app.ico", "", "C:\\Program Files\\App\\Uninstall\\app.ico", false, TargetProblem::None},
      {2, InUninstallDir, "a.txt", "", "C:\\Program Files\\App\\Uninstall\\a.txt", false, TargetProblem::None},
      // A bare new name stays in the kind's directory.
      {0, 0, "sub\\old.exe", "new.exe", "C:\\Program Files\\App\\new.exe", true, TargetProblem::None},
      // Destinations: full, relative to the installation (or shared) directory, on the
      // drive, ending in '\' (the name's file-name part is appended).
      {2, 0, "dir\\x.dll", "C:\\windows\\system32\\", "C:\\windows\\system32\\x.dll", true, TargetProblem::None},
      {0, 0, "x.txt", "docs\\y.txt", "C:\\Program Files\\App\\docs\\y.txt", true, TargetProblem::None},
      {1, 0, "x.dll", "lib\\", "C:\\Program Files\\Common Files\\Maker\\lib\\x.dll", true, TargetProblem::None},
      {0, 0, "x.txt", "\\Data\\x.txt", "C:\\Data\\x.txt", true, TargetProblem::None},
      {0, 0, "x.txt", "\\\\server\\share\\x.txt", "\\\\server\\share\\x.txt", true, TargetProblem::None},
      {2, 0, "x.txt", "", "", false, TargetProblem::NoDirectory},
      {10, 0, "x.txt", "", "", false, TargetProblem::NoDirectory},
  };
  for (const Case& c : cases) {
    FileEntry e;
    e.kind = c.kind;
    e.flags = c.flags;
    e.name = str(c.name);
    e.destination = str(c.destination);
    install::RenamedEntry renamed = install::rename_entry(e);
    install::FileTarget t = install::file_target(e, renamed, renamed.destination, true, directories());
    EXPECT_EQ(t.problem, c.problem) << c.kind << " " << c.name;
    if (c.problem != TargetProblem::None) continue;
    EXPECT_STREQ(t.path.text(), c.target) << c.kind << " " << c.name;
    EXPECT_EQ(t.create_parent, c.create_parent) << c.kind << " " << c.name;
  }
}

// A directory that is not known never turns into a path relative to wherever the
// installer runs, and a destination whose variable stood for nothing is not used at all.
TEST(FileRules, UnknownDirectoriesInstallNothing) {
  install::KindDirectories d = directories();
  d.shared.clear();  // no uninstall support
  FileEntry e;
  e.kind = archive::file_kind::Shared;
  e.name = str("s.dll");
  install::RenamedEntry renamed = install::rename_entry(e);
  EXPECT_EQ(install::file_target(e, renamed, renamed.destination, true, d).problem, TargetProblem::NotFullPath);

  e.kind = archive::file_kind::Install;
  e.destination = str("\\*.*");  // "%SharedDir%\*.*" with an empty %SharedDir%
  renamed = install::rename_entry(e);
  EXPECT_EQ(install::file_target(e, renamed, renamed.destination, false, d).problem, TargetProblem::EmptyVariable);
}

TEST(FileRules, ExistenceModes) {
  using archive::ExistenceMode;
  using install::ExistenceAction;
  struct Case {
    ExistenceMode mode;
    bool exists;
    bool removable;
    ExistenceAction action;
  };
  const Case cases[] = {
      {ExistenceMode::Always, false, true, ExistenceAction::Write},
      {ExistenceMode::Always, true, true, ExistenceAction::Write},
      {ExistenceMode::Never, false, true, ExistenceAction::Skip},
      {ExistenceMode::Never, true, true, ExistenceAction::Skip},
      {ExistenceMode::IfExists, false, true, ExistenceAction::Skip},
      {ExistenceMode::IfExists, true, true, ExistenceAction::Write},
      {ExistenceMode::IfAbsent, false, true, ExistenceAction::Write},
      {ExistenceMode::IfAbsent, true, true, ExistenceAction::SkipButRecord},
      {ExistenceMode::IfAbsent, true, false, ExistenceAction::Skip},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(install::existence_action(c.mode, c.exists, c.removable), c.action)
        << static_cast<int>(c.mode) << " " << c.exists << " " << c.removable;
  }
}

TEST(FileRules, DateAndVersionRules) {
  const core::FileTime day{2020, 6, 1, 12, 0, 0};
  const core::FileTime earlier{2020, 5, 31, 23, 59, 59};
  const core::FileTime later{2020, 6, 1, 12, 0, 1};
  const core::FileTime no_date{};
  const core::FileTime day_no_time{2020, 6, 1, -1, 0, 0};
  const core::FileTime midnight{2020, 6, 1, 0, 0, 0};
  struct Case {
    const char* label;
    uint32_t kind;
    const char* entry_version;
    core::FileTime entry_time;
    bool exists;
    const char* existing_version;
    core::FileTime existing_time;  // no date: unreadable
    OverwriteDecision decision;
  };
  const Case cases[] = {
      {"nothing there", 1, "", day, false, "", no_date, OverwriteDecision::Write},
      {"kind 0 always replaces", 0, "", earlier, true, "", day, OverwriteDecision::Write},
      {"shared: same date is up to date", 1, "", day, true, "", day, OverwriteDecision::UpToDate},
      {"shared: older file replaced", 1, "", day, true, "", earlier, OverwriteDecision::OutOfDate},
      {"shared: newer file kept", 1, "", day, true, "", later, OverwriteDecision::UpToDate},
      {"font: entry without date replaces", 4, "", no_date, true, "", later, OverwriteDecision::OutOfDate},
      {"font: entry without time replaces", 4, "", day_no_time, true, "", later, OverwriteDecision::OutOfDate},
      {"shared: unreadable time replaces", 1, "", day, true, "", no_date, OverwriteDecision::OutOfDate},
      {"versioned: equal version kept", 9, "1.2.0.0", later, true, "1.2.0.0", day,
       OverwriteDecision::VersionNotNewer},
      {"system: older version kept", 6, "1.2", later, true, "1.10", day, OverwriteDecision::VersionNotNewer},
      {"system: newer version, same date kept", 6, "2.0", day, true, "1.0", day, OverwriteDecision::DateNotNewer},
      {"system: newer version and date", 6, "2.0", later, true, "1.0", day, OverwriteDecision::OutOfDate},
      {"com: no version of its own: date decides", 7, " ", earlier, true, "9.9", day,
       OverwriteDecision::DateNotNewer},
      {"typelib: existing without version: date decides", 8, "1.0", later, true, "", day,
       OverwriteDecision::OutOfDate},
      {"versioned: entry without date passes", 9, "", no_date, true, "", day, OverwriteDecision::OutOfDate},
      {"versioned: same day, no time of day passes", 9, "", day_no_time, true, "", midnight,
       OverwriteDecision::OutOfDate},
      {"versioned: unreadable time passes", 9, "", earlier, true, "", no_date, OverwriteDecision::OutOfDate},
  };
  for (const Case& c : cases) {
    FileEntry e;
    e.kind = c.kind;
    e.text = str(c.entry_version);
    e.time = c.entry_time;
    install::ExistingFile existing;
    existing.exists = c.exists;
    existing.version = str(c.existing_version);
    existing.modified = c.existing_time;
    EXPECT_EQ(install::overwrite_decision(e, existing), c.decision) << c.label;
  }
  EXPECT_STREQ(install::overwrite_log_text(OverwriteDecision::UpToDate), " is up to date.\r\n");
  EXPECT_EQ(install::overwrite_log_text(OverwriteDecision::Write), nullptr);
}

TEST(FileRules, SharedMarkers) {
  using archive::file_flag::Permanent;
  EXPECT_EQ(install::shared_marker_for(1, 0), install::shared_marker::None);
  EXPECT_EQ(install::shared_marker_for(1, Permanent), install::shared_marker::Permanent);
  EXPECT_EQ(install::shared_marker_for(6, 0), install::shared_marker::Permanent);
  EXPECT_EQ(install::shared_marker_for(7, 0), install::shared_marker::ComServer);
  EXPECT_EQ(install::shared_marker_for(7, Permanent), install::shared_marker::Permanent);
  EXPECT_EQ(install::shared_marker_for(8, 0), install::shared_marker::TypeLibrary);
  for (uint32_t kind : {0u, 2u, 4u, 5u, 9u}) EXPECT_FALSE(install::shared_kind(kind)) << kind;
  for (uint32_t kind : {1u, 6u, 7u, 8u}) EXPECT_TRUE(install::shared_kind(kind)) << kind;
}

}  // namespace
