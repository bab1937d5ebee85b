// The settings a project gives come back whole from the installer the tool writes.
#include <gtest/gtest.h>

#include "qvin/installer/installer_file.h"
#include "qvin/project/file_plan.h"
#include "qvin/project/project_file.h"
#include "tool/documented_project.h"

namespace {

TEST(SettingsRoundTrip, TheDocumentedProjectReadsBackFromItsInstallerUnchanged) {
  qvin_test::TempDir dir;
  qvin_test::write_documented_inputs(dir);
  qvin::Project project = qvin::load_project(dir / "project.toml");
  ASSERT_FALSE(project.settings.deletion_rules.is_empty());
  ASSERT_GT(project.settings.languages.language_count(), 1);
  const std::vector<qvin::FileRecord> files = qvin::plan_files(project, 0);
  qvin::BuildOptions options;
  options.choose_first_volume_id = false;
  qvin::write_installer(dir / "setup.exe", qvin_test::make_pe(), project.settings, files, options);

  const qvin::Installer back = qvin::read_installer(dir / "setup.exe", true);
  EXPECT_TRUE(back.settings == project.settings);
  ASSERT_EQ(back.files.size(), files.size());
  for (size_t i = 0; i < files.size(); ++i) {
    qvin::FileRecord planned = files[i];
    if (planned.deferred) planned.data = qvin::deferred_bytes(*planned.deferred);
    EXPECT_TRUE(back.files[i].with_data() == planned.with_data()) << i;
  }
}

}  // namespace
