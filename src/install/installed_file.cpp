// Writing one installed file: three attempts, verification, the restart fallback, then the
// file's time and attributes.
#include "install/installed_file.h"

#include "archive/corrupt_code.h"
#include "archive/file_entry.h"
#include "archive/language_tables.h"
#include "core/win/file.h"
#include "core/win/system_error.h"
#include "core/win/whole_file.h"
#include "core/win/windows.h"
#include "install/restart_replace.h"
#include "ui/reporting.h"
#include "ui/run_state.h"

namespace install {
namespace {

constexpr int kAttempts = 3;
// The attribute bits an entry sets: read-only, hidden, system, archive, temporary, offline.
constexpr DWORD kAttributeMask = 0x1127;
constexpr DWORD kBlockingAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// One open per file: the time is set on the handle that wrote the bytes (a verification
// that fails writes them again, with the time again).
bool write_once(const core::String& path, const uint8_t* data, int32_t size, const core::FileTime& time) {
  core::File file;
  if (file.open(path.text(), core::file_open::WriteNew, FILE_ATTRIBUTE_NORMAL) != core::OpenResult::Opened) {
    return false;
  }
  if (size > 0 && !file.write_block(data, size)) return false;
  if (time.has_date() && time.has_time()) file.set_modified_time(time);
  return file.close();
}

// Lets a file marked read-only, hidden or system be written over.
void clear_blocking_attributes(const core::String& path) {
  DWORD attributes = GetFileAttributesA(path.text());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & kBlockingAttributes) == 0) return;
  SetFileAttributesA(path.text(), attributes & ~kBlockingAttributes);
}

void apply_attributes(const core::String& path, int32_t wanted) {
  if (wanted == archive::kKeepAttributes) return;
  DWORD current = GetFileAttributesA(path.text());
  if (current == INVALID_FILE_ATTRIBUTES) return;
  DWORD updated = (current & ~kAttributeMask) | (static_cast<DWORD>(wanted) & kAttributeMask);
  if (updated != current) SetFileAttributesA(path.text(), updated);
}

}  // namespace

bool write_installed_file(const core::String& path, const uint8_t* data, int32_t size, const core::FileTime& time,
                          int32_t attributes, bool existed_before, const InstallContext& context) {
  if (size < 0) ui::report_corrupt(archive::CorruptCode::NegativeWriteSize);
  RunRecords& records = context.records;
  const core::String& not_written = ui::localised(archive::text_id::FileNotWritten);
  bool verify = context.has_flag(archive::flag::VerifyWrittenFiles);
  core::String failure;  // the system's text of the last failed attempt
  bool written = false;
  for (int attempt = 1; attempt <= kAttempts && !written; ++attempt) {
    if (write_once(path, data, size, time)) {
      if (!verify || core::file_equals(path.text(), data, size)) {
        written = true;
      } else if (attempt == kAttempts) {
        // The bytes on disk differ, and no system error says why.
        records.report_failure(not_written, path, core::String());
        return false;
      }
      continue;
    }
    failure = core::last_error_text();
    if (attempt == 1 && context.has_flag(archive::flag::ClearAttributesOnRetry)) clear_blocking_attributes(path);
  }
  if (!written) {
    core::String note = core::format_string("\r\n%s %s\r\n", not_written.text(), path.text());
    if (!failure.is_empty()) {
      note.append(failure);
      note.append("\r\n");
    }
    if (existed_before || context.has_flag(archive::flag::ReplaceNewFilesAtRestart)) {
      if (replace_at_restart(path, data, size, time, note, records)) {
        records.install_log.append(note);
        return false;
      }
    }
    records.error_report.append(note);
    return false;
  }
  apply_attributes(path, attributes);
  return true;
}

}  // namespace install
