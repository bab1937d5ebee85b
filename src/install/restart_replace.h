// Deleting and moving files now or at the next restart, and replacing a file that is in
// use by scheduling its replacement for the restart.
#pragma once

#include <stdint.h>

#include "core/file_time.h"
#include "core/string.h"
#include "install/run_records.h"

namespace install {

namespace delete_mode {
inline constexpr uint32_t KeepReadOnly = 0x1;        // leave the read-only attribute alone
inline constexpr uint32_t AtRestart = 0x2;           // delete at the next restart instead of now
inline constexpr uint32_t AtRestartOnFailure = 0x10; // when deleting now fails, at the restart
}  // namespace delete_mode

namespace move_mode {
inline constexpr uint32_t OnlyReplace = 0x1;         // only replace an existing target
inline constexpr uint32_t NeverReplace = 0x2;        // never replace an existing target
inline constexpr uint32_t CreateTargetDirectory = 0x4;  // create the target's directory first
// The same under its first name, which <windows.h> turns into CreateDirectoryA in files
// that include it first: use CreateTargetDirectory there.
inline constexpr uint32_t CreateDirectory = CreateTargetDirectory;
inline constexpr uint32_t AtRestart = 0x8;           // move at the next restart
inline constexpr uint32_t RefuseReadOnly = 0x40;     // refuse a read-only target
}  // namespace move_mode

// False with the system's last error describing the cause.
bool delete_file(const core::String& path, uint32_t mode);
bool move_file(const core::String& source, const core::String& target, uint32_t mode);

// The path's 8.3 form; the path itself when the system has none (the file is not there yet).
core::String short_path_form(const core::String& path);

// Adds "target=source" as the first line of the "[rename]" section of "wininit.ini".
bool add_wininit_rename(const core::String& target, const core::String& source);

// The fallback of a write that failed three times: the data goes to a temporary file in the
// target's own directory, stamped with `time`, whose move over the target is scheduled for
// the next restart. Appends what happened to `note`; on success sets records.restart_needed.
bool replace_at_restart(const core::String& target, const uint8_t* data, int32_t size,
                        const core::FileTimeRecord& time, core::String& note, RunRecords& records);

}  // namespace install
