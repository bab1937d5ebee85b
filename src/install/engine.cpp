// The installation engine: the phases in their order.
#include "install/engine.h"

#include "archive/language_tables.h"
#include "core/win/directories.h"
#include "install/associations.h"
#include "install/component_registration.h"
#include "install/deletion_rules.h"
#include "install/file_table.h"
#include "install/fonts.h"
#include "install/product_keys.h"
#include "install/shared_counts.h"
#include "install/shortcuts.h"
#include "install/uninstall_registration.h"
#include "ui/progress_dialog.h"

namespace install {

namespace {

// Everything after the files: counts and registrations, shortcuts, the registry, and what
// the uninstaller needs.
void run_registration_phases(const InstallContext& context) {
  bool uninstall_support = context.has_flag(archive::flag::UninstallSupport);
  ui::set_progress(87);
  core::String shared_files = update_shared_counts(context);
  register_components(context);

  ui::set_status_and_progress(archive::text_id::StatusShortcuts, 90);
  bool desktop_changed = create_shortcuts(context);

  ui::set_progress(95);
  save_background_picture(context);
  create_product_keys(context);
  core::String association_records = apply_associations(context);
  if (uninstall_support) register_uninstall(context, shared_files);
  ui::wait_minimum(context.settings.min_status_time);

  ui::set_status_and_progress(archive::text_id::StatusUninstallData, 100);
  if (uninstall_support) write_uninstall_data(context, association_records);
  if (desktop_changed) notify_desktop_changed(context);
}

}  // namespace

void run_installation_phases(const archive::ArchiveData& data, const archive::ArchiveHeader& header,
                             const InstallContext& context) {
  if (!context.settings.uninstall_subdir.is_empty()) core::create_directory(context.dirs.uninstall_dir.text());
  apply_deletion_rules(context.settings.deletion_rules, context.env, context.dirs, context.records);
  archive::ArchiveCursor cursor = data.cursor();
  extract_files(cursor, header, context);
  register_fonts(context);
  run_registration_phases(context);
}

}  // namespace install
