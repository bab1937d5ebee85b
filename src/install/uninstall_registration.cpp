// The uninstaller, the uninstall key and the uninstall data file.
#include "install/uninstall_registration.h"

#include "archive/language_tables.h"
#include "core/calendar.h"
#include "core/date_format.h"
#include "core/paths.h"
#include "core/win/registry.h"
#include "core/win/system_error.h"
#include "core/win/whole_file.h"
#include "install/installed_file.h"
#include "install/uninstall_data_codec.h"
#include "install/uninstall_values_rules.h"
#include "install/windows_environment.h"
#include "ui/run_state.h"
#include "ui/uninstall_registration.h"

namespace install {
namespace {

constexpr const char* kBackgroundPicture = "Installer Background.BMP";
constexpr const char* kUninstallData = "Uninstall.DAT";

void write_value(core::RegistryKey& key, const UninstallValue& value) {
  const char* name = value.name.text();
  switch (value.kind) {
    case UninstallValue::Kind::Text:
      key.write_string(name, value.text);
      break;
    case UninstallValue::Kind::ExpandableText:
      key.write_string(name, value.text, core::registry_option::Expandable);
      break;
    case UninstallValue::Kind::Number:
      key.write_int(name, static_cast<int32_t>(value.number));
      break;
    case UninstallValue::Kind::Delete:
      key.delete_value(name);
      break;
  }
}

}  // namespace

core::String uninstaller_path(const InstallContext& context) {
  return core::join_path(context.dirs.uninstall_dir.text(), context.settings.uninstaller_name.text());
}

core::String uninstall_file_path(const InstallContext& context, const char* name) {
  core::String below = core::join_path(context.settings.uninstall_subdir.text(), name);
  return core::join_path(context.dirs.install_dir.text(), below.text());
}

void save_background_picture(const InstallContext& context) {
  const core::String& picture = context.settings.bitmap;
  if (picture.is_empty() || !context.has_flag(archive::flag::InstallBackgroundBitmap)) return;
  core::String path = core::join_path(context.dirs.uninstall_dir.text(), kBackgroundPicture);
  if (!core::write_file(path.text(), picture.text(), picture.length())) {
    context.records.report_failure(ui::localised(archive::text_id::FileNotWritten), path, core::last_error_text());
    return;
  }
  context.records.record_for_removal(path, false);
}

void register_uninstall(const InstallContext& context, const core::String& shared_files) {
  const archive::Settings& settings = context.settings;
  UninstallRunFacts facts;
  facts.uninstaller_path = uninstaller_path(context);
  const core::String& image = ui::run_state().uninstaller_image;
  write_installed_file(facts.uninstaller_path, reinterpret_cast<const uint8_t*>(image.text()), image.length(),
                       settings.uninstaller_stamp, 0, true, context);

  facts.install_source = context.env.installer_path;
  facts.install_directory = context.dirs.install_dir;
  facts.shared_directory = context.dirs.shared_dir;
  facts.font_list = context.records.font_list;
  facts.shared_files = shared_files;
  facts.display_title = ui::localised(archive::text_id::DisplayTitle);
  facts.install_date = core::format_date_time(core::now(), core::default_date_time_format);

  core::RegistryKey key;
  if (ui::open_uninstall_registration(key, settings.uninstall_key.text(), true)) {
    WindowsEnvironment machine(context.env, context.dirs);
    for (const UninstallValue& value : uninstall_values(settings, facts, machine)) write_value(key, value);
    core::String command = uninstall_command(facts.uninstaller_path, settings.uninstall_key, false);
    if (key.read_text("UninstallString") == command) return;
  }
  context.records.error_report.append(
      "Unable to save the uninstall information to the registry.  Uninstall will not work properly.\r\n\r\n");
}

bool write_uninstall_data(const InstallContext& context, const core::String& association_records) {
  core::Vector<UninstallString> strings;
  for (int32_t id : kUninstallStringIds) {
    UninstallString& entry = strings.append();
    entry.id = id;
    entry.text = ui::localised(id);
  }
  core::String text = write_uninstall_data(context.records.removal_list(), strings, association_records);
  core::String path = uninstall_file_path(context, kUninstallData);
  if (core::write_file(path.text(), text.text(), text.length())) return true;
  context.records.report_failure(ui::localised(archive::text_id::FileNotWritten), path, core::last_error_text());
  return false;
}

}  // namespace install
