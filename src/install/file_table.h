// The file table: every record of the loaded archive data, written where its kind and
// destination say, under its existence mode and its kind's date and version rules.
#pragma once

#include "archive/archive_data.h"
#include "archive/archive_header.h"
#include "install/install_context.h"

namespace install {

// Walks the header's file_count records from the cursor (the start of the table), with
// progress from 45 to 85 %, and queues shortcuts, shared files, registrations and fonts in
// the run's records. Damage ends the run through report_corrupt; a file that cannot be
// written is reported and the next one follows.
void extract_files(archive::ArchiveCursor& cursor, const archive::ArchiveHeader& header,
                   const InstallContext& context);

}  // namespace install
