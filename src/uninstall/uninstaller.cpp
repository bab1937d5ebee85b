// The uninstaller's flow, from the uninstall key to the summary.
#include "uninstall/uninstaller.h"

#include "core/paths.h"
#include "core/text_format.h"
#include "core/win/directories.h"
#include "core/win/environment.h"
#include "core/win/file.h"
#include "core/win/registry.h"
#include "core/win/system_folders.h"
#include "core/win/whole_file.h"
#include "install/autoexec_path.h"
#include "install/batch_file.h"
#include "install/engine.h"
#include "install/product_flags_codec.h"
#include "install/protected_folders.h"
#include "install/restart_replace.h"
#include "install/uninstall_data_codec.h"
#include "ui/background_window.h"
#include "ui/progress_dialog.h"
#include "ui/reporting.h"
#include "ui/run_state.h"
#include "ui/uninstall_registration.h"
#include "uninstall/association_removal.h"
#include "uninstall/file_removal.h"
#include "uninstall/registration_removal.h"
#include "uninstall/uninstall_rules.h"
#include "uninstall/uninstall_run.h"

namespace uninstall {

namespace {

constexpr char kUninstallData[] = "Uninstall.DAT";
constexpr char kInstallLog[] = "Install.LOG";
constexpr char kBackgroundPicture[] = "Installer Background.BMP";
constexpr int32_t kStepPause = 500;

// The whole file as text; empty when it is missing or cannot be read.
core::String read_whole_file(const core::String& path) {
  core::File file;
  core::String text;
  if (file.open(path.text(), core::file_open::ReadShared) != core::OpenResult::Opened) return text;
  int64_t size = file.size();
  if (size <= 0 || size > 0x40000000 || !text.try_set_length(static_cast<int32_t>(size))) return core::String();
  if (!file.read_block(text.data(), text.length())) return core::String();
  return text;
}

// The background as the installation left it in the uninstall key.
void read_appearance(const core::RegistryKey& key, const UninstallRun& run) {
  ui::BackgroundAppearance& look = ui::background_appearance();
  look.title = key.read_text("DisplayTitle");
  look.title_color = static_cast<COLORREF>(key.read_int("TitleColor", static_cast<int32_t>(GetSysColor(COLOR_WINDOWTEXT))));
  look.title_shadow = static_cast<uint8_t>(key.read_int("TitleShadow", 1));
  look.top_color = static_cast<COLORREF>(key.read_int("TopColor", static_cast<int32_t>(GetSysColor(COLOR_WINDOW))));
  look.bottom_color = static_cast<COLORREF>(key.read_int("BottomColor", 0));
  look.mono_color = key.read_bool("MonoColor", true);
  look.title_position = static_cast<uint8_t>(key.read_int("TitlePosition", 0));
  look.title_font = key.read_text("TitleFont");
  look.full_screen = ui::has_flag2(archive::flag2::FullScreenBackground);
  if (ui::has_flag(archive::flag::InstallBackgroundBitmap)) {
    look.image.load_file(core::join_path(run.uninstall_dir.text(), kBackgroundPicture).text());
    look.stretch_mode = static_cast<uint8_t>(key.read_int("StretchMode", 0));
    look.bitmap_size = key.read_int("BitmapSize", 0);
  }
}

// The uninstaller's texts are the ones the installation stored, as the first language.
void take_strings(const core::Vector<install::UninstallString>& strings, const core::String& product_name) {
  ui::RunState& state = ui::run_state();
  archive::LanguageTables& tables = state.settings.languages;
  tables.reset(1, install::kMaxUninstallStringId + 1);
  for (const install::UninstallString& entry : strings) tables.set_text(entry.id, 0, entry.text);
  state.settings.product_name = product_name;
  state.languages_loaded = true;
}

// The system's own trees, into which no line of "Uninstall.DAT" may lead.
core::Vector<core::String> system_trees(const core::ProcessEnvironment& env) {
  core::Vector<core::String> trees;
  trees.append(env.windows_directory);
  trees.append(core::system_directory(env));
  trees.append(install::short_path_form(env.windows_directory));
  return trees;
}

// Step 20: with no error, the record of the installation goes.
void remove_registration(core::RegistryKey& key, const core::String& name, UninstallRun& run) {
  ui::RunState& state = ui::run_state();
  install::delete_file(core::join_path(run.uninstall_dir.text(), kUninstallData), 0);
  if (ui::has_flag(archive::flag::AddToPath)) {
    core::String message = install::update_autoexec_path(false, run.install_dir);
    if (!message.is_empty() && !state.automatic) ui::show_error("%s", message.text());
  }
  install::run_batch(key.read_text("UninstallBatch2"), installation_drive_root(run.install_dir),
                     ui::has_flag(archive::flag::HideUninstallBatch2));
  key.delete_value("UninstallBatch2");
  core::RegistryKey list;
  if (list.open_software("Microsoft\\Windows\\CurrentVersion\\Uninstall", false,
                         core::registry_option::ExistingOnly) != core::KeyOpenResult::Failed) {
    list.delete_key(name.text());
  }
}

void show_summary(const UninstallRun& run) {
  if (ui::run_state().automatic) return;
  if (run.records.error_report.is_empty()) {
    ui::message_box(ui::localised(34).text(), ui::localised(15).text(), MB_ICONINFORMATION);
  } else {
    core::String text = core::format_text(ui::localised(10).text(), {run.records.error_report});
    ui::message_box(text.text(), ui::localised(20).text(), MB_ICONEXCLAMATION);
  }
}

}  // namespace

bool uninstall_product(const core::String& name) {
  ui::RunState& state = ui::run_state();
  core::RegistryKey key;
  if (!ui::open_uninstall_registration(key, name.text())) {
    ui::show_error("No product named '%s' is installed.", name.text());
    return false;
  }
  key.close_all();
  core::String key_path = core::join_path("Microsoft\\Windows\\CurrentVersion\\Uninstall", name.text());
  if (key.open_software(key_path.text(), false) == core::KeyOpenResult::Failed) {
    ui::show_error("Unable to access the uninstall information for:\r\n%s\r\n\r\nThe uninstallation cannot be performed.",
                   name.text());
    return false;
  }

  UninstallRun run;
  run.product_name = key.read_text("DisplayName");
  if (run.product_name.is_blank()) run.product_name = name;
  run.install_dir = key.read_text("InstallLocation");
  // A relative directory would send every removal into the current directory.
  if (install::comparable_path(run.install_dir.text()).is_empty()) {
    ui::show_error("The uninstall information for %s is corrupt.\r\n\r\nThe uninstallation cannot be performed.",
                   run.product_name.text());
    return false;
  }

  install::ProductFlags flags = install::read_product_flags(key.read_text("ProductFlags"));
  state.settings.flags = flags.flags;
  state.settings.flags2 = flags.flags2;
  state.settings_read = true;
  if (ui::has_flag(archive::flag::UninstallAutomatic)) state.automatic = true;
  run.uninstall_dir = core::join_path(run.install_dir.text(), key.read_text("UninstallSubdir").text());
  run.font_list = key.read_text("ProductFonts");
  run.shortcut_mode = key.read_int("ShortcutMode", 0);
  read_appearance(key, run);
  if (!ui::has_flag(archive::flag::NoBackgroundWindow)) {
    state.background_window = ui::create_background_window(state.instance, nullptr);
  }

  install::UninstallDataContents data =
      install::read_uninstall_data(read_whole_file(core::join_path(run.uninstall_dir.text(), kUninstallData)));
  take_strings(data.strings, run.product_name);
  run.associations = data.associations;

  if (!state.automatic &&
      ui::message_box(ui::localised(53).text(), ui::localised(55).text(), MB_ICONQUESTION | MB_YESNO) != IDYES) {
    ui::exit_installer();
  }

  ui::open_progress_dialog();
  run.shared_dir = key.read_text("SharedPath");
  state.install_directory = run.install_dir;
  state.directories.install_dir = run.install_dir;
  state.directories.uninstall_dir = run.uninstall_dir;
  state.directories.shared_dir = run.shared_dir;
  run.protected_folders = &install::machine_protected_folders(state.environment);
  run.system_trees = system_trees(state.environment);

  core::String first_batch = key.read_text("UninstallBatch1");
  if (!first_batch.is_empty()) {
    install::run_batch(first_batch, run.install_dir, ui::has_flag(archive::flag::HideUninstallBatch1));
    key.delete_value("UninstallBatch1");
  }

  if (!run.associations.is_empty()) {
    ui::set_status(70);
    ui::set_progress(1);
    remove_associations(run.associations, run.product_name);
    ui::wait_minimum(kStepPause);
  }
  remove_fonts(key, run);

  remove_listed_items(data.removal_items, run);
  remove_recorded_directories(run);

  ui::wait_minimum(kStepPause);
  ui::set_status(68);
  ui::set_progress(90);
  install::delete_file(core::join_path(run.uninstall_dir.text(), kInstallLog), 0);
  core::String rewritten = install::write_uninstall_data(run.records.removal_list(), data.strings,
                                                         install::write_association_records(run.associations));
  core::String data_path = core::join_path(run.uninstall_dir.text(), kUninstallData);
  core::write_file(data_path.text(), rewritten.text(), rewritten.length());
  run.records.clear_removal_list();

  remove_start_menu_group(key.read_text("ProductStartMenu"), run);
  release_shared_files(key.read_text("SharedFiles"), run);
  if (!install::is_protected_folder_path(*run.protected_folders, run.shared_dir)) {
    core::remove_directory(run.shared_dir.text());
  }
  ui::wait_minimum(kStepPause);
  ui::set_status(69);
  ui::set_progress(95);

  core::String product_key = key.read_text("ProductRegistry");
  if (!product_key.is_empty()) {
    remove_product_keys(product_key);
    key.delete_value("ProductRegistry");
    ui::wait_minimum(kStepPause);
  }
  if (ui::has_flag(archive::flag::UninstallRemovesDirectoryTree)) remove_installation_tree(run);

  bool removed = run.records.error_report.is_empty();
  if (removed) remove_registration(key, name, run);
  key.close_all();
  ui::close_progress_dialog();
  show_summary(run);
  return removed;
}

bool is_product_installed(const core::String& name, core::String* install_dir) {
  core::RegistryKey key;
  if (!ui::open_uninstall_registration(key, name.text())) return false;
  bool installed = key.value_exists("UninstallString") || key.value_exists("QuietUninstallString");
  if (install_dir != nullptr) *install_dir = installed ? key.read_text("InstallLocation") : core::String();
  return installed;
}

}  // namespace uninstall
