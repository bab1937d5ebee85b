// The tool's settings survive the archive's settings writer and reader unchanged.
#include <gtest/gtest.h>

#include "archive/memory_stream.h"
#include "archive/settings.h"
#include "qvin/settings_bridge.h"

namespace {

qvin::InstallerSettings every_field_set() {
  qvin::InstallerSettings s;
  s.flags = 0x4 | 0x20 | 0x10000 | 0x80000000u;
  s.flags2 = 0x1 | 0x400;
  s.min_status_time = 1234;
  s.shortcut_mode = 1;
  s.uninstaller_stamp = {2024, 5, 6, 7, 8, 9};
  s.publisher = "Publisher";
  s.product_name = "Product \xE9";
  s.shared_path = "Shared";
  s.start_menu_folder = "Menu";
  s.default_install_dir = "Dir";
  s.product_version = "1.2.3";
  s.product_registry = "Reg\\Key";
  s.bitmap_size = 42;
  s.stretch_mode = 1;
  s.licences = {"licence one", "licence two"};
  s.readmes = {"readme"};
  s.uninstall_subdir = "Uninst";
  s.volume_base_name = "VOL";
  s.uninstaller_name = "Remove.exe";
  s.uninstall_key = "Key";
  s.title_color = 0x112233;
  s.title_shadow = 4;
  s.title_position = 5;
  s.title_font = "Font";
  s.top_color = 0x445566;
  s.bottom_color = 0x778899;
  s.bitmap = std::string("\x28\0\0\0bitmap", 10);
  s.master_product = "Master";
  s.desktop_folder = "Folder";
  s.desktop_folder_icon = std::string("\0\0\1\0icon", 8);
  s.pre_install_batch = "pre";
  s.post_install_batch = "post";
  s.exit_batch = "exit";
  s.uninstall_batch_1 = "u1";
  s.uninstall_batch_2 = "u2";
  s.excluded_systems = 4 | 256;
  s.data_placement = 1;
  s.first_volume_id = 4711;
  s.uninstaller_patch_offset = 64;
  s.uninstaller_patch = "PATCH";
  s.deletions = {{"*.tmp /s", 2, "2020-01-01", 2}, {"old.dat", 0, "", 0}};
  s.associations = {{1, ".a", "A.Doc", "A document", "open", "&Open", "a.exe \"%1\"", "English", "a.exe,0"}};
  s.uninstall_values = {{"HelpLink", 1, "https://example.com"}, {"Size", 4, "12"}};
  s.languages = {{"English", {"title", "line one\r\nline two", ""}}, {"German", {"Titel", "", "drei"}}};
  return s;
}

TEST(SettingsBridge, EveryFieldRoundTripsThroughTheArchivesWriterAndReader) {
  const qvin::InstallerSettings written = every_field_set();
  archive::MemoryStream stream;
  ASSERT_EQ(archive::write_settings(stream, qvin::to_archive_settings(written)), archive::CorruptCode::None);
  archive::MemoryStream reading(stream.data(), stream.size());
  archive::Settings read;
  ASSERT_EQ(archive::read_settings_flags(reading, read), archive::CorruptCode::None);
  ASSERT_EQ(archive::read_stored_settings(reading, 1 << 20, read), archive::CorruptCode::None);
  const qvin::InstallerSettings back = qvin::from_archive_settings(read);

  EXPECT_EQ(back.flags, written.flags);
  EXPECT_EQ(back.flags2, written.flags2);
  EXPECT_EQ(back.min_status_time, written.min_status_time);
  EXPECT_EQ(back.shortcut_mode, written.shortcut_mode);
  EXPECT_EQ(back.uninstaller_stamp, written.uninstaller_stamp);
  const std::pair<const char*, std::string qvin::InstallerSettings::*> texts[] = {
      {"publisher", &qvin::InstallerSettings::publisher},
      {"product_name", &qvin::InstallerSettings::product_name},
      {"shared_path", &qvin::InstallerSettings::shared_path},
      {"start_menu_folder", &qvin::InstallerSettings::start_menu_folder},
      {"default_install_dir", &qvin::InstallerSettings::default_install_dir},
      {"product_version", &qvin::InstallerSettings::product_version},
      {"product_registry", &qvin::InstallerSettings::product_registry},
      {"uninstall_subdir", &qvin::InstallerSettings::uninstall_subdir},
      {"volume_base_name", &qvin::InstallerSettings::volume_base_name},
      {"uninstaller_name", &qvin::InstallerSettings::uninstaller_name},
      {"uninstall_key", &qvin::InstallerSettings::uninstall_key},
      {"title_font", &qvin::InstallerSettings::title_font},
      {"bitmap", &qvin::InstallerSettings::bitmap},
      {"master_product", &qvin::InstallerSettings::master_product},
      {"desktop_folder", &qvin::InstallerSettings::desktop_folder},
      {"desktop_folder_icon", &qvin::InstallerSettings::desktop_folder_icon},
      {"pre_install_batch", &qvin::InstallerSettings::pre_install_batch},
      {"post_install_batch", &qvin::InstallerSettings::post_install_batch},
      {"exit_batch", &qvin::InstallerSettings::exit_batch},
      {"uninstall_batch_1", &qvin::InstallerSettings::uninstall_batch_1},
      {"uninstall_batch_2", &qvin::InstallerSettings::uninstall_batch_2},
      {"uninstaller_patch", &qvin::InstallerSettings::uninstaller_patch},
  };
  for (const auto& [name, field] : texts) EXPECT_EQ(back.*field, written.*field) << name;
  const std::pair<const char*, int32_t qvin::InstallerSettings::*> numbers[] = {
      {"bitmap_size", &qvin::InstallerSettings::bitmap_size},
      {"stretch_mode", &qvin::InstallerSettings::stretch_mode},
      {"title_color", &qvin::InstallerSettings::title_color},
      {"top_color", &qvin::InstallerSettings::top_color},
      {"bottom_color", &qvin::InstallerSettings::bottom_color},
      {"excluded_systems", &qvin::InstallerSettings::excluded_systems},
      {"first_volume_id", &qvin::InstallerSettings::first_volume_id},
      {"uninstaller_patch_offset", &qvin::InstallerSettings::uninstaller_patch_offset},
  };
  for (const auto& [name, field] : numbers) EXPECT_EQ(back.*field, written.*field) << name;
  EXPECT_EQ(back.title_shadow, written.title_shadow);
  EXPECT_EQ(back.title_position, written.title_position);
  EXPECT_EQ(back.data_placement, written.data_placement);
  EXPECT_EQ(back.licences, written.licences);
  EXPECT_EQ(back.readmes, written.readmes);
  EXPECT_EQ(back.deletions, written.deletions);
  EXPECT_EQ(back.associations, written.associations);
  EXPECT_EQ(back.uninstall_values, written.uninstall_values);
  EXPECT_EQ(back.languages, written.languages);
}

}  // namespace
