// The installer's run: command line, archive, settings, wizard, data, engine, finish.
#include "app/installer_run.h"

#include "app/appearance.h"
#include "app/command_line.h"
#include "app/data_loading.h"
#include "archive/archive_header.h"
#include "archive/archive_section.h"
#include "archive/language_tables.h"
#include "archive/uninstaller_image.h"
#include "core/fatal.h"
#include "core/paths.h"
#include "core/text_format.h"
#include "core/win/directories.h"
#include "core/win/file.h"
#include "core/win/registry.h"
#include "install/engine.h"
#include "install/file_byte_source.h"
#include "install/windows_environment.h"
#include "ui/background_window.h"
#include "ui/system_version.h"
#include "ui/install_directory.h"
#include "ui/progress_dialog.h"
#include "ui/reporting.h"
#include "ui/restart.h"
#include "ui/resource_ids.h"
#include "ui/run_state.h"
#include "ui/uninstall_registration.h"
#include "ui/wizard_dialogs.h"
#include "uninstall/self_removal.h"
#include "uninstall/uninstaller.h"

namespace app {
namespace {

void check(archive::CorruptCode code) {
  if (code != archive::CorruptCode::None) ui::report_corrupt(code);
}

// Misuse of the foundation ends the run like every other fatal condition.
void fatal_from_foundation(const char* message) { ui::fatal_error(message); }

// The usage text headed by `message` and naming the program's file, as a fatal error.
[[noreturn]] void usage_error(const char* message) {
  ui::fatal_error(usage_text(message, ui::run_state().environment.installer_name.text()).text());
}

// The archive section as the running program has it in memory: the loader mapped the
// section's raw bytes up to its virtual size.
archive::MemoryByteSource section_in_image(const archive::ArchiveSection& section) {
  const uint8_t* base = reinterpret_cast<const uint8_t*>(GetModuleHandleA(nullptr));
  uint32_t length = section.raw_size;
  if (section.virtual_size != 0 && section.virtual_size < length) length = section.virtual_size;
  return archive::MemoryByteSource(base + section.virtual_address, length);
}

// A master product counts as installed when its uninstall key names an uninstaller;
// then its directory may become the default.
void require_master_product() {
  ui::RunState& state = ui::run_state();
  core::String name = state.settings.master_product;
  if (name.is_blank()) name = state.settings.product_name;
  core::RegistryKey key;
  bool installed = ui::open_uninstall_registration(key, name.text()) &&
                   (key.value_exists("UninstallString") || key.value_exists("QuietUninstallString"));
  if (!installed) {
    ui::show_error("%s", core::format_text(ui::localised(archive::text_id::MasterMissing).text(), {name}).text());
    ui::exit_installer();
  }
  if (core::compare_no_case(state.settings.default_install_dir.text(), "<master>") == 0) {
    state.settings.default_install_dir = key.read_text("InstallLocation");
  }
}

// Runs one of the installation's batches: the archive's text with the command line's
// additions after it, in the installation directory.
void run_install_batch(const core::String& stored, const core::String& addition, uint32_t hide_flag) {
  core::String commands = stored;
  commands.append(addition);
  install::run_batch(commands, ui::run_state().install_directory, ui::has_flag(hide_flag));
}

}  // namespace

void run_installer(HINSTANCE instance, const char* arguments) {
  ui::RunState& state = ui::run_state();
  state.instance = instance;
  core::init_environment(state.environment);
  core::set_fatal_handler(fatal_from_foundation);
  ui::start_ole();

  CommandLine line;
  core::String usage_message;
  if (!parse_command_line(arguments, line, usage_message)) usage_error(usage_message.text());
  if (line.uninstall) {
    state.uninstalling = true;
    state.automatic = line.automatic;
    if (line.uninstall_name.is_empty()) usage_error("Product name required");
    if (uninstall::uninstall_product(line.uninstall_name)) uninstall::start_self_removal();
    ui::exit_installer();
  }
  state.automatic = line.automatic;
  state.install_directory = line.install_directory;

  // The program's own file, and the archive in it.
  const char* path = state.environment.installer_path.text();
  core::File file;
  core::OpenResult opened = file.open_required(path, core::file_open::ReadShared);
  if (opened != core::OpenResult::Opened) {
    ui::fatal_errorf("Error code 1: The qvinarc could not open itself.\r\nFilename: %s\r\nError #%d: %s", path,
                     static_cast<int>(opened), core::File::message(opened));
  }
  install::FileByteSource file_bytes(file);
  archive::ArchiveSection section;
  check(archive::find_archive_section(file_bytes, section));
  if (!section.found) ui::fatal_error(archive::kNoArchiveMessage);
  archive::MemoryByteSource image = section_in_image(section);
  archive::ArchiveHeader& header = state.header;
  check(archive::read_archive_header(image, header));
  if (header.version_too_new) ui::fatal_errorf(archive::kVersionMessage, archive::kProgramVersion, header.version);

  // The flag words first, so the background shows while the rest is read.
  archive::Settings& settings = state.settings;
  archive::MemoryStream stream(header.block.text(), header.block.length());
  check(archive::read_settings_flags(stream, settings));
  state.settings_read = true;
  if (ui::has_flag(archive::flag::Automatic)) state.automatic = true;
  prepare_background(settings);
  if (!ui::has_flag(archive::flag::NoBackgroundWindow)) {
    state.background_window = ui::create_background_window(instance, nullptr);
  }
  check(archive::check_block_sum(header.block, header.block_sum));
  install::WindowsEnvironment machine(state.environment, state.directories);
  archive::CorruptCode settings_code =
      archive::read_settings(stream, section.file_size, line.product_name, machine, settings);
  // A block damaged after the language tables is reported in the chosen language already.
  state.languages_loaded = settings.languages.language_count() > 0;
  check(settings_code);
  show_settings_on_background(settings);
  check(archive::build_uninstaller_image(file_bytes, section, header.exe_sum,
                                         ui::has_flag2(archive::flag2::VerifyInstallerChecksum),
                                         settings.uninstaller_patch, state.uninstaller_image));

  // Language, system, master product.
  if (settings.languages.language_count() > 1 && !state.automatic && ui::run_language_dialog() != IDC_OK) {
    ui::exit_installer();
  }
  set_background_title(ui::localised(archive::text_id::DisplayTitle));
  if ((settings.excluded_systems & static_cast<int32_t>(ui::os_class())) != 0) {
    const core::String& text = ui::localised(archive::text_id::SystemExcluded);
    ui::show_error("%s", core::format_text(text.text(), {ui::os_description()}).text());
    ui::exit_installer();
  }
  if (ui::has_flag(archive::flag::AddOn)) require_master_product();

  // The wizard settles the directory; the uninstall directory lies below it.
  ui::settle_install_directory();
  state.directories.install_dir = state.install_directory;
  state.directories.uninstall_dir = core::join_path(state.install_directory.text(), settings.uninstall_subdir.text());
  state.directories.shared_dir = settings.shared_path;
  run_install_batch(settings.pre_install_batch, line.batch_additions[0], archive::flag::HidePreInstallBatch);

  // The data: loaded, checked and expanded under the progress dialog.
  ui::open_progress_dialog();
  ui::set_status_and_progress(archive::text_id::StatusLoading, 2);
  archive::ArchiveData data;
  load_data_or_exit(header, section, image, file_bytes, data);
  install::RunRecords records;
  const install::InstallContext context{settings, state.environment, state.directories, records};
  install::run_installation_phases(data, header, context);
  // A replacement scheduled for the restart makes the end of the run ask about one.
  if (records.restart_needed) settings.flags |= archive::flag::OfferRestart;

  // The finish: batches, log, restart or the program to run after.
  run_install_batch(settings.post_install_batch, line.batch_additions[1], archive::flag::HidePostInstallBatch);
  ui::wait_minimum(settings.min_status_time);
  ui::close_progress_dialog();
  if (!line.run_after.is_empty()) {
    records.install_log.append(core::format_string("Launch on exit: %s\r\n", line.run_after.text()));
  }
  install::write_log_and_report(context);
  bool restart = ui::restart_chosen();
  run_install_batch(settings.exit_batch, line.batch_additions[2], archive::flag::HideExitBatch);
  // Only empty directories go: those that received files stay.
  core::remove_directory(settings.shared_path.text());
  core::remove_directory(state.directories.uninstall_dir.text());
  core::remove_directory(state.install_directory.text());
  if (restart) {
    ui::exit_windows(2, false);
  } else if (records.error_report.is_empty() && !line.run_after.is_empty()) {
    install::start_program(line.run_after);
  }
  ui::exit_installer();
}

}  // namespace app
