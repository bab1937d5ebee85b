// The installation engine: the phases in their order.
#include "install/engine.h"

#include "core/win/directories.h"
#include "install/deletion_rules.h"
#include "install/file_table.h"
#include "ui/progress_dialog.h"

namespace install {

void run_installation_phases(const archive::ArchiveData& data, const archive::ArchiveHeader& header,
                             const InstallContext& context) {
  if (!context.settings.uninstall_subdir.is_empty()) core::create_directory(context.dirs.uninstall_dir.text());
  apply_deletion_rules(context.settings.deletion_rules, context.env, context.dirs, context.records);
  archive::ArchiveCursor cursor = data.cursor();
  extract_files(cursor, header, context);
  ui::set_progress(87);
}

void write_log_and_report(const InstallContext&) {}

}  // namespace install
