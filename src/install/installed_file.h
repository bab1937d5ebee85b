// Writing one installed file: up to three attempts, the optional verification, the
// replacement at the next restart for a file in use, then its time and attributes.
#pragma once

#include <stdint.h>

#include "core/file_time.h"
#include "core/string.h"
#include "install/install_context.h"

namespace install {

// Writes `size` bytes of `data` to `path`. A failure is reported in the run's records
// (the error report, or the installation log when the replacement at the restart was
// scheduled) and gives false. `attributes` is applied unless it is -1; `time` is applied
// when it holds a date and a time of day. `existed_before`: the file was on the machine
// before, so a write that fails schedules the replacement at the restart.
bool write_installed_file(const core::String& path, const uint8_t* data, int32_t size, const core::FileTime& time,
                          int32_t attributes, bool existed_before, const InstallContext& context);

}  // namespace install
