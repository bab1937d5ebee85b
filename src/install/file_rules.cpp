// The file table's decisions that need no machine.
#include "install/file_rules.h"

#include "core/paths.h"
#include "install/shared_files_codec.h"

namespace install {

using archive::file_kind::ComServer;
using archive::file_kind::Shared;
using archive::file_kind::System;
using archive::file_kind::TypeLibrary;

RenamedEntry rename_entry(const archive::FileEntry& entry) {
  RenamedEntry renamed;
  if (entry.renames()) {
    renamed.name = entry.destination;
  } else {
    renamed.name = entry.name;
    renamed.destination = entry.destination;
  }
  return renamed;
}

namespace {

const core::String* kind_directory(uint32_t kind, const KindDirectories& dirs) {
  switch (archive::default_directory(kind)) {
    case archive::DefaultDirectory::Install: return &dirs.install;
    case archive::DefaultDirectory::Shared: return &dirs.shared;
    case archive::DefaultDirectory::Font: return &dirs.fonts;
    case archive::DefaultDirectory::System: return &dirs.system;
    case archive::DefaultDirectory::None: break;
  }
  return nullptr;
}

}  // namespace

FileTarget file_target(const archive::FileEntry& entry, const RenamedEntry& renamed, const core::String& destination,
                       bool complete, const KindDirectories& dirs) {
  FileTarget target;
  if (renamed.destination.is_empty()) {
    if (entry.flags & archive::file_flag::InUninstallDir) {
      target.path = core::join_path(dirs.uninstall.text(), renamed.name.text());
    } else {
      const core::String* directory = kind_directory(entry.kind, dirs);
      if (directory == nullptr) {
        target.problem = TargetProblem::NoDirectory;
        return target;
      }
      target.path = core::join_path(directory->text(), renamed.name.text());
      target.create_parent = removable_kind(entry.kind);
    }
  } else {
    if (!complete) {
      target.problem = TargetProblem::EmptyVariable;
      return target;
    }
    target.path = destination;
    const core::String& base = entry.kind == Shared ? dirs.shared : dirs.install;
    core::resolve_path(target.path, base.text());
    if (target.path.ends_with("\\")) {
      target.path.append(core::file_name_part(renamed.name.text()));
    }
    target.create_parent = true;
  }
  // An unknown directory leaves a relative path, which would land wherever the installer
  // happens to run.
  if (!core::is_absolute_path(target.path.text())) target.problem = TargetProblem::NotFullPath;
  return target;
}

bool removable_kind(uint32_t kind) {
  return kind == archive::file_kind::Install || kind == archive::file_kind::Startup ||
         kind == archive::file_kind::Versioned;
}

ExistenceAction existence_action(archive::ExistenceMode mode, bool target_exists, bool removable) {
  switch (mode) {
    case archive::ExistenceMode::Never:
      return ExistenceAction::Skip;
    case archive::ExistenceMode::IfExists:
      return target_exists ? ExistenceAction::Write : ExistenceAction::Skip;
    case archive::ExistenceMode::IfAbsent:
      if (!target_exists) return ExistenceAction::Write;
      return removable ? ExistenceAction::SkipButRecord : ExistenceAction::Skip;
    case archive::ExistenceMode::Always:
      break;
  }
  return ExistenceAction::Write;
}

OverwriteDecision overwrite_decision(const archive::FileEntry& entry, const ExistingFile& existing) {
  if (!existing.exists) return OverwriteDecision::Write;
  switch (archive::overwrite_rule(entry.kind)) {
    case archive::OverwriteRule::Always:
      return OverwriteDecision::Write;
    case archive::OverwriteRule::Date: {
      // Without a date and time of its own, or against a file of unknown age, the entry wins.
      bool dated = entry.time.has_date() && entry.time.has_time();
      if (!dated || !existing.modified.has_date()) return OverwriteDecision::OutOfDate;
      return core::compare_file_times(existing.modified, entry.time) < 0 ? OverwriteDecision::OutOfDate
                                                                          : OverwriteDecision::UpToDate;
    }
    case archive::OverwriteRule::VersionThenDate:
      if (!entry.text.is_blank() && !existing.version.is_blank() &&
          core::compare_versions(entry.text.text(), existing.version.text()) <= 0) {
        return OverwriteDecision::VersionNotNewer;
      }
      // An entry without a date, or without a time of day on the same date, sorts later.
      if (existing.modified.has_date() && core::compare_file_times(existing.modified, entry.time) >= 0) {
        return OverwriteDecision::DateNotNewer;
      }
      return OverwriteDecision::OutOfDate;
  }
  return OverwriteDecision::Write;
}

const char* overwrite_log_text(OverwriteDecision decision) {
  switch (decision) {
    case OverwriteDecision::Write: return nullptr;
    case OverwriteDecision::OutOfDate: return " is out of date and will be replaced.\r\n";
    case OverwriteDecision::UpToDate: return " is up to date.\r\n";
    case OverwriteDecision::VersionNotNewer: return " was not installed because its version is not newer.\r\n";
    case OverwriteDecision::DateNotNewer: return " was not installed because its date is not newer.\r\n";
  }
  return nullptr;
}

bool shared_kind(uint32_t kind) { return kind == Shared || kind == System || kind == ComServer || kind == TypeLibrary; }

char shared_marker_for(uint32_t kind, uint32_t flags) {
  if (kind == System || (flags & archive::file_flag::Permanent)) return shared_marker::Permanent;
  if (kind == ComServer) return shared_marker::ComServer;
  if (kind == TypeLibrary) return shared_marker::TypeLibrary;
  return shared_marker::None;
}

}  // namespace install
