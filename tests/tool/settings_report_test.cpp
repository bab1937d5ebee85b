// The settings report shows the documented complete project under the project file's names.
#include <gtest/gtest.h>

#include <sstream>

#include "qvin/commands/settings_report.h"
#include "qvin/project/project_file.h"
#include "tool/documented_project.h"

namespace {

TEST(SettingsReport, ShowsEveryValueOfTheDocumentedProjectAsWritten) {
  qvin_test::TempDir dir;
  qvin_test::write_documented_inputs(dir);
  const qvin::Project project = qvin::load_project(dir / "project.toml");
  const toml::table json = qvin_test::parse_json(qvin::settings_json(project.settings).dump());
  qvin_test::expect_shows_documented_project(json, dir);
}

TEST(SettingsReport, PrintsOneLinePerGivenSetting) {
  qvin_test::TempDir dir;
  qvin_test::write_documented_inputs(dir);
  qvin::Project project = qvin::load_project(dir / "project.toml");
  project.settings.exit_batch = "first line\r\nsecond line";
  std::ostringstream text;
  qvin::print_settings(text, project.settings);
  const std::string out = text.str();
  for (const std::string key : {"product:\n  name: Hello", "  publisher: ", "  excluded_systems: ", "  title_color: #",
                                "  bitmap: ", "  uninstaller_patch: 8 bytes at offset 64", "  exit: 23 bytes\n"})
    EXPECT_NE(out.find(key), std::string::npos) << key << "\n" << out;
  EXPECT_EQ(out.find("second line"), std::string::npos) << "a text of several lines is shown by size";
}

TEST(SettingsReport, NamesDestinationsWithTheRuntimesDirectories) {
  struct Case {
    uint32_t kind, flags;
    const char* destination;
    const char* expected;
  };
  const Case cases[] = {
      {0, 0, "", "%InstallDir%\\bin\\a.exe"},
      {1, 0, "", "%SharedDir%\\bin\\a.exe"},
      {4, 0, "", "%FontDir%\\bin\\a.exe"},
      {7, 0, "", "%SystemDir%\\bin\\a.exe"},
      {0, 0x40, "", "%UninstallDir%\\bin\\a.exe"},
      {0, 0, "b.exe", "%InstallDir%\\b.exe"},
      {2, 0, "%WinDir%\\", "%WinDir%\\a.exe"},
      {2, 0, "%WinDir%\\c.ini", "%WinDir%\\c.ini"},
  };
  for (const auto& c : cases) {
    archive::FileEntry e;
    e.name = "bin\\a.exe";
    e.kind = c.kind;
    e.flags = c.flags;
    e.destination = c.destination;
    EXPECT_EQ(qvin::destination_text(e), c.expected) << c.kind << " " << c.destination;
  }
}

}  // namespace
