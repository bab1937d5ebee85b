// Loading the archive data as the installer shows it: volume files opened with the File
// object, the volume request and cancel question, the progress steps and their pauses.
#pragma once

#include "archive/archive_data.h"

namespace app {

// Loads, checks and expands the archive data into `data`; every failure ends the run
// (the corrupt report, the read-failure message, or the exit routine after a cancel).
void load_data_or_exit(const archive::ArchiveHeader& header, const archive::ArchiveSection& section,
                       archive::ByteSource& image_section, archive::ByteSource& file, archive::ArchiveData& data);

}  // namespace app
