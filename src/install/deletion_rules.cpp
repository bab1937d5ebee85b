// The deletion rules of the settings.
#include "install/deletion_rules.h"

#include "core/win/directory_listing.h"
#include "core/win/system_error.h"
#include "core/win/windows.h"
#include "install/deletion_condition_rules.h"
#include "install/file_pattern_rules.h"
#include "install/file_patterns.h"
#include "install/protected_folders.h"
#include "install/restart_replace.h"
#include "ui/reporting.h"

namespace install {

namespace {

constexpr DWORD kProtectiveAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// The first of the rule's patterns that would reach a whole protected folder, or
// an empty text when there is none.
core::String refused_pattern(const core::String& specification, const char* default_directory,
                             const ProtectedFolderSet& protected_folders) {
  core::Vector<FilePattern> patterns;
  split_file_patterns(specification, default_directory, patterns);
  for (const FilePattern& item : patterns) {
    bool allowed = deletion_pattern_allowed(
        item.pattern, [&](const core::String& directory) { return is_protected_path(protected_folders, directory); });
    if (!allowed) return item.pattern;
  }
  return core::String();
}

void clear_protective_attributes(const core::String& path, uint32_t attributes) {
  if ((attributes & kProtectiveAttributes) == 0) return;
  SetFileAttributesA(path.text(), attributes & ~kProtectiveAttributes);
}

void delete_matching_file(const core::String& path, const archive::FileDeletion& rule, RunRecords& records) {
  if (delete_file(path, 0)) {
    records.install_log.append_format("Deleted file: %s\r\n", path.text());
    return;
  }
  core::String reason = core::last_error_text();
  if ((rule.flags & archive::deletion_flag::DeleteAtRestart) == 0) {
    records.install_log.append_format("Failed to delete file '%s': %s\r\n", path.text(), reason.text());
    return;
  }
  records.install_log.append_format("File '%s' will be deleted after rebooting: %s\r\n", path.text(), reason.text());
  if (delete_file(path, delete_mode::AtRestart)) {
    records.restart_needed = true;
  } else {
    records.error_report.append_format("Failed to register '%s' for deletion: %s\r\n", path.text(),
                                       core::last_error_text().text());
  }
}

}  // namespace

bool apply_deletion_rule(const archive::FileDeletion& rule, const core::ProcessEnvironment& env,
                         const core::InstallationDirectories& dirs, const ProtectedFolderSet& protected_folders,
                         RunRecords& records) {
  core::String specification = rule.specification;
  // Without uninstall support %SharedDir% is empty, and "%SharedDir%\*.* /s" would become
  // every file of the drive.
  if (!core::expand_directory_variables(specification, env, dirs)) {
    records.install_log.append_format("Deletion rule skipped, a directory in it has no value here: %s\r\n",
                                      rule.specification.text());
    return true;
  }
  const char* default_directory = dirs.install_dir.text();
  core::String refused = refused_pattern(specification, default_directory, protected_folders);
  if (!refused.is_empty()) {
    records.install_log.append_format("Deletion rule refused, it would reach into a protected folder: %s\r\n",
                                      refused.text());
    return true;
  }

  core::Vector<core::String> paths;
  expand_file_specification(specification, paths, default_directory, nullptr, &protected_folders);
  DeletionCondition condition;
  bool condition_read = read_deletion_condition(rule, condition);
  for (const core::String& path : paths) {
    core::DirectoryListing listing;
    core::DirectoryEntry entry;
    if (!listing.find_first(path.text(), entry)) continue;  // gone meanwhile
    listing.find_close();
    if (!condition_read) return false;
    if (!deletion_condition_holds(condition, entry.last_write_time, entry.size)) continue;
    clear_protective_attributes(path, entry.attributes);
    delete_matching_file(path, rule, records);
  }
  return true;
}

void apply_deletion_rules(const core::Array<archive::FileDeletion>& rules, const core::ProcessEnvironment& env,
                          const core::InstallationDirectories& dirs, RunRecords& records) {
  const ProtectedFolderSet& protected_folders = machine_protected_folders(env);
  for (const archive::FileDeletion& rule : rules) {
    if (!apply_deletion_rule(rule, env, dirs, protected_folders, records)) {
      ui::report_corrupt(archive::CorruptCode::BadDeletionDate);
    }
  }
}

}  // namespace install
