// Deleting and moving files now or at the next restart: MoveFileExA's delayed operations on
// the NT family, the "[rename]" section of "wininit.ini" on the 9x family.
#include "install/restart_replace.h"

#include "core/paths.h"
#include "core/win/directories.h"
#include "core/win/file.h"
#include "core/win/file_time_win.h"
#include "core/win/optional_functions.h"
#include "core/win/system_error.h"
#include "core/win/whole_file.h"
#include "core/win/windows.h"
#include "install/wininit_rules.h"
#include "ui/system_version.h"

namespace install {

namespace {

constexpr char kTempPrefix[] = "TKT";

core::String windows_directory() {
  char buffer[MAX_PATH] = {};
  UINT length = GetWindowsDirectoryA(buffer, sizeof(buffer));
  return length > 0 && length < sizeof(buffer) ? core::String(buffer) : core::String();
}

// On the NT family "wininit.ini" is only read when the 9x start-up program is present.
bool wininit_route_available() {
  core::String program = core::join_path(windows_directory().text(), "wininit.exe");
  return GetFileAttributesA(program.text()) != INVALID_FILE_ATTRIBUTES;
}

// MoveFileExA with a delayed flag; false (last error kept) when it is missing or fails.
bool move_at_restart(const char* source, const char* target, DWORD flags) {
  auto move = core::optional_function<core::Optional::MoveFileExA>();
  return move != nullptr && move(source, target, flags | MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
}

bool has_read_only_attribute(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool schedule_deletion(const core::String& path) {
  if (ui::is_nt_family()) {
    if (move_at_restart(path.text(), nullptr, 0)) return true;
    DWORD error = GetLastError();
    bool available = wininit_route_available();
    SetLastError(error);
    if (!available) return false;
  }
  return add_wininit_rename("NUL", short_path_form(path));
}

// A temporary file in the target's own directory: a delayed move cannot cross volumes.
core::String create_temporary_file_beside(const core::String& target) {
  core::String directory = core::directory_part(target.text());
  if (directory.is_empty()) directory = ".";
  char buffer[MAX_PATH + 1] = {};
  if (GetTempFileNameA(directory.text(), kTempPrefix, 0, buffer) == 0) return core::String();
  return core::String(buffer);
}

bool write_temporary_file(const core::String& path, const uint8_t* data, int32_t size,
                          const core::FileTimeRecord& time) {
  core::File file;
  if (file.open(path.text(), core::file_open::WriteNew) != core::OpenResult::Opened) return false;
  if (!file.write_block(data, size)) return false;
  // The upgrade after the restart judges the file by this date.
  if (time.has_date() && time.has_time()) file.set_modified_time(time);
  return file.close();
}

}  // namespace

core::String short_path_form(const core::String& path) {
  uint32_t size = static_cast<uint32_t>(path.length()) * 2;
  if (size < MAX_PATH) size = MAX_PATH;
  core::String result;
  result.set_length(static_cast<int32_t>(size));
  DWORD length = GetShortPathNameA(path.text(), result.data(), size);
  if (length == 0 || length >= size) return path;
  result.set_length(static_cast<int32_t>(length));
  return result;
}

bool delete_file(const core::String& path, uint32_t mode) {
  for (;;) {
    if (path.is_empty()) {
      core::set_invalid_parameter_error();
      return false;
    }
    if ((mode & delete_mode::KeepReadOnly) == 0) core::set_read_only(path.text(), false);
    if ((mode & delete_mode::AtRestart) != 0) return schedule_deletion(path);
    if (DeleteFileA(path.text())) return true;
    if ((mode & delete_mode::AtRestartOnFailure) == 0) return false;
    mode = (mode | delete_mode::AtRestart) & ~delete_mode::AtRestartOnFailure;
  }
}

bool move_file(const core::String& source, const core::String& target, uint32_t mode) {
  if (source.is_empty() || target.is_empty()) {
    core::set_invalid_parameter_error();
    return false;
  }
  if (!core::file_exists(source.text())) return false;
  if (source == target) {
    core::set_invalid_parameter_error();
    return true;
  }
  if ((mode & move_mode::RefuseReadOnly) != 0 && has_read_only_attribute(target.text())) {
    core::set_last_error(ERROR_ACCESS_DENIED);
    return false;
  }
  bool at_restart = (mode & move_mode::AtRestart) != 0;
  // Only a name that differs in more than letter case can hide a second file.
  if (source.equals(target.text(), false) != 0) {
    bool target_exists = core::file_exists(target.text());
    if ((mode & move_mode::OnlyReplace) != 0 && !target_exists) return false;
    if ((mode & move_mode::NeverReplace) != 0 && target_exists) return false;
    // A delayed move replaces the target itself; deleting it now would leave the machine
    // without the file until the restart.
    if (target_exists && !at_restart) delete_file(target, 0);
  }
  if ((mode & move_mode::CreateTargetDirectory) != 0) {
    core::create_directory(core::directory_part(target.text()).text());
  }
  if (!at_restart) return MoveFileA(source.text(), target.text()) != 0;

  if (ui::is_nt_family()) {
    if (move_at_restart(source.text(), target.text(), MOVEFILE_REPLACE_EXISTING)) return true;
    DWORD error = GetLastError();
    bool available = wininit_route_available();
    SetLastError(error);
    if (!available) return false;
  }
  return add_wininit_rename(short_path_form(target), short_path_form(source));
}

bool add_wininit_rename(const core::String& target, const core::String& source) {
  core::clear_last_error();
  if (target.is_empty() || source.is_empty()) return false;
  core::String path = core::join_path(windows_directory().text(), "wininit.ini");
  core::File file;
  if (file.open(path.text(), core::file_open::ReadWriteAlways) != core::OpenResult::Opened) return false;
  core::String text;
  if (!file.load_all(text)) return false;
  add_rename_entry(text, target.text(), source.text());
  return file.rewrite(text) && file.close();
}

bool replace_at_restart(const core::String& target, const uint8_t* data, int32_t size,
                        const core::FileTimeRecord& time, core::String& note, RunRecords& records) {
  core::String temporary = create_temporary_file_beside(target);
  if (temporary.is_empty() || !write_temporary_file(temporary, data, size, time)) {
    note.append_format(
        "Failed to register '%s' for replacement because no temporary file could be created.\r\n%s\r\n",
        target.text(), core::last_error_text().text());
    if (!temporary.is_empty()) delete_file(temporary, 0);
    return false;
  }
  temporary = short_path_form(temporary);
  core::clear_last_error();
  if (move_file(temporary, target, move_mode::AtRestart)) {
    records.restart_needed = true;
    note.append_format(
        "\"%s\" has been successfully registered for replacement.\r\nTemporary file is \"%s\"\r\n"
        "Reboot will be required.\r\n\r\n",
        target.text(), temporary.text());
    return true;
  }
  note.append_format("Failed to register '%s' for replacement with temporary file '%s'\r\n%s\r\n", target.text(),
                     temporary.text(), core::last_error_text().text());
  delete_file(temporary, 0);
  return false;
}

}  // namespace install
