// The sequence that settles the installation directory, and the checks of a typed one.
#include "ui/install_directory.h"

#include "archive/language_tables.h"
#include "archive/settings.h"
#include "core/paths.h"
#include "core/text_format.h"
#include "core/win/directories.h"
#include "core/win/disk_space.h"
#include "core/win/registry.h"
#include "core/win/system_error.h"
#include "core/win/system_folders.h"
#include "core/win/windows.h"
#include "ui/directory_rules.h"
#include "ui/reporting.h"
#include "ui/resource_ids.h"
#include "ui/run_state.h"
#include "ui/uninstall_registration.h"
#include "ui/wizard_dialogs.h"

namespace ui {
namespace {

namespace text = archive::text_id;
namespace flag = archive::flag;
namespace flag2 = archive::flag2;

// What the uninstall registration of an earlier installation says.
struct PreviousInstallation {
  core::String location;
  core::String version;
  bool exists = false;  // the location is a directory on this machine
};

PreviousInstallation find_previous_installation() {
  RunState& state = run_state();
  PreviousInstallation previous;
  core::RegistryKey key;
  if (open_uninstall_registration(key, state.settings.uninstall_key.text())) {
    previous.location = key.read_text("InstallLocation");
    previous.version = key.read_text("DisplayVersion");
    state.previous_shared_files = key.read_text("SharedFiles");
    state.previous_product_fonts = key.read_text("ProductFonts");
  }
  previous.exists = !previous.location.is_empty() && core::is_directory(previous.location.text());
  return previous;
}

void ask_start_prompt() {
  int answer = MessageBoxA(run_state().background_window, localised(text::StartPrompt).text(),
                           localised(text::StartPromptCaption).text(), MB_ICONINFORMATION | MB_YESNO);
  if (answer != IDYES) exit_installer();
}

// One licence or readme text: blank ones are skipped, anything but OK ends the program.
void show_text(const core::String& text, int (*run)(const char*)) {
  if (text.is_blank()) return;
  if (run(text.text()) != IDC_OK) exit_installer();
}

// The built-in text of the language tables first, then the archive's texts with the
// product name and the Windows directory put in.
void show_texts(int32_t first, const core::Array<core::String>& texts, int (*run)(const char*)) {
  RunState& state = run_state();
  show_text(localised(first), run);
  for (int32_t i = 0; i < texts.count(); ++i) {
    core::String filled = texts[i];
    filled.replace(archive::kProductPlaceholder, state.settings.product_name.text(), core::search::IgnoreCase);
    filled.replace(archive::kWindowsPlaceholder, state.environment.windows_directory.text(),
                   core::search::IgnoreCase);
    show_text(filled, run);
  }
}

void ask_about_existing_installation(const PreviousInstallation& previous) {
  RunState& state = run_state();
  int32_t id = existing_installation_text_id(has_flag2(flag2::CompareVersions), previous.version,
                                             state.settings.product_version);
  core::String question = localised(id);
  question.append("\r\n");
  question.append(previous.location);
  question.append("\r\n\r\n");
  question.append(localised(text::ExistingQuestion));
  int answer = message_box(question.text(), localised(text::ExistingCaption).text(), MB_ICONQUESTION | MB_YESNO);
  if (answer != IDYES) exit_installer();
}

// The message of a directory that cannot be created: text 25, the directory and the
// system's reason.
void report_not_created(const core::String& directory, uint32_t error) {
  core::String reason = core::error_text(error);
  reason.trim();
  show_error("%s\r\n%s\r\n\r\n%s", localised(text::DirectoryNotCreated).text(), directory.text(), reason.text());
}

// The disk-space warning when the files may not fit; true to go on with the directory.
bool enough_space_or_accepted(const core::String& directory, char drive) {
  const core::Array<int32_t>& sizes = run_state().header.file_sizes;
  int64_t needed = space_needed(sizes.data(), sizes.count(), core::cluster_size(directory.text()));
  int64_t free_bytes = core::free_space(directory.text());
  if (!space_warning_due(needed, free_bytes)) return true;
  core::String warning =
      core::format_text(localised(text::DiskSpace).text(), {core::byte_size(needed),
                                                             core::FormatArgument::character(drive),
                                                             core::byte_size(free_bytes)});
  return message_box(warning.text(), localised(text::WarningCaption).text(), MB_ICONSTOP | MB_YESNO) == IDYES;
}

}  // namespace

bool accept_install_directory(core::String& directory) {
  RunState& state = run_state();
  directory.trim();
  if (directory.is_empty()) return false;
  if (!is_full_install_path(directory.text())) {
    show_error("%s\r\n%s", localised(text::InvalidDirectory).text(), directory.text());
    return false;
  }
  if (has_flag2(flag2::RefuseNetworkDirectory) && is_network_path(directory.text())) {
    show_error("%s", localised(text::NetworkDirectory).text());
    return false;
  }
  char drive = install_drive_letter(directory.text());
  if (drive != 0) {
    char root[] = {drive, ':', '\\', 0};
    if (GetDriveTypeA(root) == DRIVE_NO_ROOT_DIR) {
      show_error("%s",
                 core::format_text(localised(text::MissingDrive).text(), {core::FormatArgument::character(drive)})
                     .text());
      return false;
    }
  }
  if (is_drive_root_length(directory.text())) {
    show_error("%s", localised(text::DirectoryTooShort).text());
    return false;
  }
  core::String program_files =
      core::special_folder(core::SpecialFolder::ProgramFiles, state.environment.windows_directory.text());
  if (same_directory(directory.text(), program_files.text())) {
    show_error("%s", core::format_text(localised(text::DirectoryIsProgramFiles).text(), {program_files}).text());
    return false;
  }
  if (drive != 0 && !enough_space_or_accepted(directory, drive)) return false;

  show_wait_cursor();
  bool exists = core::is_directory(directory.text());
  hide_wait_cursor();
  if (has_flag(flag::ConfirmInstallDirectory)) {
    core::String confirmation = core::format_text(
        localised(exists ? text::ConfirmExisting : text::ConfirmCreate).text(), {directory});
    if (message_box(confirmation.text(), localised(text::ConfirmCaption).text(), MB_ICONQUESTION | MB_YESNO) !=
        IDYES) {
      return false;
    }
  }
  if (exists || core::create_directory(directory.text())) return true;
  report_not_created(directory, core::last_error());
  return false;
}

void settle_install_directory() {
  RunState& state = run_state();
  PreviousInstallation previous;
  if (has_flag(flag::UninstallSupport)) previous = find_previous_installation();

  if (!state.automatic) {
    ask_start_prompt();
    show_texts(text::BuiltInLicence, state.settings.licence_texts, run_licence_dialog);
    show_texts(text::BuiltInReadme, state.settings.readme_texts, run_readme_dialog);
  }

  if (has_flag(flag::UninstallSupport) && previous.exists) {
    if (has_flag(flag::RefuseExistingInstallation)) {
      show_error("%s", localised(text::ExistingRefused).text());
      exit_installer();
    }
    if (!state.automatic && !has_flag(flag::NoOverwriteQuestion)) ask_about_existing_installation(previous);
    state.reinstall = true;
    state.install_directory = previous.location;
  } else if (state.install_directory.is_empty()) {
    state.install_directory = state.settings.default_install_dir;
  }

  if (state.automatic || !has_flag(flag::AskInstallDirectory)) {
    // Nothing can be installed into a directory that is not there: say why and stop
    // rather than fail on every file.
    if (!core::create_directory(state.install_directory.text())) {
      report_not_created(state.install_directory, core::last_error());
      exit_installer();
    }
    return;
  }
  for (;;) {
    if (!run_directory_dialog()) exit_installer();
    if (accept_install_directory(state.install_directory)) return;
  }
}

}  // namespace ui
