// The file table: each record read, placed, judged by its kind's rules, written and queued
// for the later phases.
#include "install/file_table.h"

#include "archive/language_tables.h"
#include "core/paths.h"
#include "core/text_format.h"
#include "core/win/directories.h"
#include "core/win/directory_listing.h"
#include "core/win/directory_variables.h"
#include "core/win/system_error.h"
#include "core/win/version_info.h"
#include "core/win/whole_file.h"
#include "core/win/windows.h"
#include "install/file_rules.h"
#include "install/fonts.h"
#include "install/product_fonts_codec.h"
#include "install/installed_file.h"
#include "ui/message_pump.h"
#include "ui/progress_dialog.h"
#include "ui/reporting.h"
#include "ui/run_state.h"

namespace install {
namespace {

using archive::file_flag::Permanent;
using archive::file_kind::ComServer;
using archive::file_kind::Font;
using archive::file_kind::Install;
using archive::file_kind::Startup;
using archive::file_kind::TypeLibrary;
using archive::file_kind::Versioned;

KindDirectories kind_directories(const InstallContext& context) {
  KindDirectories dirs;
  dirs.install = context.dirs.install_dir;
  dirs.shared = context.dirs.shared_dir;
  dirs.uninstall = context.dirs.uninstall_dir;
  dirs.system = core::system_directory(context.env);
  dirs.fonts = core::directory_variable_value(core::DirectoryVariable::FontDir, context.env, context.dirs);
  return dirs;
}

// A second entry with the same target sees the file the first one wrote: it inherits the
// first one's answer to "was it on the machine before?".
bool existed_before_run(const core::String& target, const RunRecords& records) {
  for (int32_t i = 0; i < records.shared_files.count(); ++i) {
    if (records.shared_files[i].target.equals(target.text(), false) == 0) return records.shared_files[i].existed_before;
  }
  return core::file_exists(target.text());
}

void queue_components(const archive::FileEntry& entry, const core::String& target, RunRecords& records) {
  if (entry.kind == ComServer) records.com_targets.append(target);
  if (entry.kind == TypeLibrary) records.type_libraries.append(target);
  if (!shared_kind(entry.kind)) return;
  SharedFile shared;
  shared.target = target;
  shared.marker = shared_marker_for(entry.kind, entry.flags);
  shared.existed_before = existed_before_run(target, records);
  records.shared_files.append(shared);
}

void queue_shortcut(const archive::FileEntry& entry, const core::String& target, const InstallContext& context) {
  bool wanted = (entry.kind == Install && (entry.flags & archive::file_flag::ShortcutMask) != 0) || entry.kind == Startup;
  if (!wanted) return;
  ShortcutRequest request;
  request.desktop = (entry.flags & archive::file_flag::DesktopShortcut) != 0;
  request.start_menu = (entry.flags & archive::file_flag::StartMenuShortcut) != 0;
  request.startup = entry.kind == Startup;
  request.permanent = (entry.flags & Permanent) != 0;
  request.target = target;
  request.arguments = entry.arguments;
  request.working_directory = entry.working_directory;
  request.name = entry.text;
  if (request.name.is_empty()) {
    core::String file_name = core::file_name_part(target.text());
    request.name = core::format_text(ui::localised(archive::text_id::DefaultShortcutName).text(), {file_name});
  }
  if (!entry.icon.is_blank()) request.icon = core::join_path(context.dirs.uninstall_dir.text(), entry.icon.text());
  context.records.shortcut_requests.append(request);
}

// What the loop keeps from one entry to the next, so that per-file costs stay small: the
// directory created last (files come grouped by directory) and when the status line last
// changed (redrawing it for every small file would cost more than writing the file).
struct LoopState {
  core::String last_directory;
  DWORD status_tick = 0;
  bool status_shown = false;
};

constexpr DWORD kStatusInterval = 50;  // milliseconds between status lines

bool font_of_previous_installation(const core::String& path, const InstallContext& context) {
  core::Vector<ProductFont> fonts = read_product_fonts(ui::run_state().previous_product_fonts);
  for (int32_t i = 0; i < fonts.count(); ++i) {
    if (font_file_path(fonts[i].file, context.env).equals(path.text(), false) == 0) return true;
  }
  return false;
}

// The entry's parent directory, created unless it is the installation directory itself.
bool prepare_parent(const core::String& target, bool removable, const InstallContext& context,
                    LoopState& loop) {
  core::String directory = core::directory_part(target.text());
  if (directory.equals(context.dirs.install_dir.text(), false) == 0) return true;
  if (directory.equals(loop.last_directory.text(), false) == 0) return true;
  if (!core::create_directory(directory.text())) {
    context.records.error_report.append_format(
        "%s %s\r\n%s\r\nNot installed: %s\r\n\r\n", ui::localised(archive::text_id::DirectoryNotCreated).text(),
        directory.text(), core::last_error_text().text(), target.text());
    return false;
  }
  if (removable) context.records.record_for_removal(directory, true);
  loop.last_directory = directory;
  return true;
}

// A target that names less than the author meant is never written.
bool usable_target(const FileTarget& target, const RenamedEntry& renamed, const InstallContext& context) {
  switch (target.problem) {
    case TargetProblem::None:
      return true;
    case TargetProblem::NoDirectory:
      ui::report_corrupt(archive::CorruptCode::BadDestinationKind);
    case TargetProblem::EmptyVariable:
      context.records.install_log.append_format(
          "%s was not installed because a directory variable of its destination stands for nothing here.\r\n",
          renamed.name.text());
      return false;
    case TargetProblem::NotFullPath:
      context.records.error_report.append_format(
          "The directory of %s is not known on this machine.\r\nNot installed: %s\r\n\r\n", renamed.name.text(),
          target.path.text());
      return false;
  }
  return false;
}

void install_entry(const archive::FileEntry& entry, const KindDirectories& directories,
                   const InstallContext& context, LoopState& loop) {
  RunRecords& records = context.records;
  RenamedEntry renamed = rename_entry(entry);
  core::String destination = renamed.destination;
  bool complete = destination.is_empty() || core::expand_directory_variables(destination, context.env, context.dirs);
  FileTarget target = file_target(entry, renamed, destination, complete, directories);
  if (!usable_target(target, renamed, context)) return;
  const core::String& path = target.path;

  queue_components(entry, path, records);

  bool permanent = (entry.flags & Permanent) != 0;
  bool removable = removable_kind(entry.kind) && !permanent;
  bool exists = false;
  archive::ExistenceMode mode = entry.existence();
  if (mode == archive::ExistenceMode::IfExists || mode == archive::ExistenceMode::IfAbsent) {
    exists = core::file_exists(path.text());
  }
  switch (existence_action(mode, exists, removable)) {
    case ExistenceAction::Write:
      break;
    case ExistenceAction::SkipButRecord:
      records.record_for_removal(path, false);
      return;
    case ExistenceAction::Skip:
      return;
  }

  bool existed_before = false;
  const archive::OverwriteRule rule = archive::overwrite_rule(entry.kind);
  if (rule != archive::OverwriteRule::Always) {
    ExistingFile existing;
    existing.exists = core::file_exists(path.text());
    if (existing.exists) {
      existed_before = true;
      existing.modified = core::modified_time(path.text());
      if (rule == archive::OverwriteRule::VersionThenDate && !entry.text.is_blank()) {
        existing.version = core::file_version_text(path.text(), true);
      }
    }
    OverwriteDecision decision = overwrite_decision(entry, existing);
    if (const char* line = overwrite_log_text(decision)) {
      records.install_log.append(path);
      records.install_log.append(line);
    }
    if (keeps_existing(decision)) {
      if (entry.kind == Versioned && !permanent) records.record_for_removal(path, false);
      // A font of this product's previous installation stays in its font list, or the
      // reinstallation would leave it behind at the uninstallation.
      if (entry.kind == Font && !permanent && font_of_previous_installation(path, context)) {
        records.font_requests.append(FontRequest{entry.text, path, false});
        records.fonts_changed = true;
      }
      return;
    }
  }

  queue_shortcut(entry, path, context);
  bool whole_tree = context.has_flag(archive::flag::UninstallRemovesDirectoryTree);
  if (target.create_parent && !prepare_parent(path, removable && !whole_tree, context, loop)) return;
  if (removable && !whole_tree) records.record_for_removal(path, false);

  if (!write_installed_file(path, entry.data, entry.data_size, entry.time, entry.attributes, existed_before,
                            context)) {
    return;
  }
  if (entry.kind == Font) {
    records.font_requests.append(FontRequest{entry.text, path, permanent});
    records.fonts_changed = true;
  }
  core::String status = core::format_string("%s -> %s", renamed.name.text(), path.text());
  DWORD now = GetTickCount();
  if (!loop.status_shown || now - loop.status_tick >= kStatusInterval) {
    ui::set_status_text(status.text());
    loop.status_tick = now;
    loop.status_shown = true;
  }
  if (context.has_flag(archive::flag::DetailedLog)) {
    records.install_log.append(status);
    records.install_log.append("\r\n");
  }
}

}  // namespace

void extract_files(archive::ArchiveCursor& cursor, const archive::ArchiveHeader& header,
                   const InstallContext& context) {
  KindDirectories directories = kind_directories(context);
  LoopState loop;
  const int32_t count = header.file_count;
  int32_t shown_percent = -1;
  for (int32_t i = 0; i < count; ++i) {
    // The bar moves 40 steps in all: it is told only when its position changes.
    int32_t percent = static_cast<int32_t>(45 + (static_cast<int64_t>(i) * 40) / count);
    if (percent != shown_percent) {
      ui::set_progress(percent);
      shown_percent = percent;
    }
    archive::FileEntry entry;
    archive::CorruptCode code = archive::read_file_entry(cursor, header.file_sizes[i], entry);
    if (code != archive::CorruptCode::None) ui::report_corrupt(code);
    ui::pump_messages();
    install_entry(entry, directories, context, loop);
  }
}

}  // namespace install
