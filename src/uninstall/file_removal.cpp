// Removing the recorded files, keys and directories.
#include "uninstall/file_removal.h"

#include "core/paths.h"
#include "core/text_format.h"
#include "core/win/directories.h"
#include "core/win/registry.h"
#include "core/win/system_folders.h"
#include "core/win/whole_file.h"
#include "install/protected_folders.h"
#include "install/restart_replace.h"
#include "ui/progress_dialog.h"
#include "ui/run_state.h"
#include "uninstall/uninstall_rules.h"

namespace uninstall {

namespace {

// Longest first; equal lengths keep their order.
void sort_longest_first(core::Vector<core::String>& paths) {
  for (int32_t i = 1; i < paths.count(); ++i) {
    core::String moving = paths[i];
    int32_t j = i;
    for (; j > 0 && paths[j - 1].length() < moving.length(); --j) paths[j] = paths[j - 1];
    paths[j] = moving;
  }
}

bool is_protected(const core::String& directory, const UninstallRun& run) {
  return run.protected_folders != nullptr && install::is_protected_folder_path(*run.protected_folders, directory);
}

}  // namespace

bool passes_through_link(const core::String& path, const core::String& install_dir) {
  core::String current = path;
  for (int32_t level = 0; level < 64 && is_within_folder(current, install_dir); ++level) {
    if (install::comparable_path(current.text()) == install::comparable_path(install_dir.text())) break;
    if (core::is_directory_link(current.text())) return true;
    current = core::directory_part(current.text());
    current.trim_right('\\');
  }
  return false;
}

bool remove_empty_directory(const core::String& directory, const UninstallRun& run) {
  if (is_protected(directory, run)) return false;
  return core::remove_directory(directory.text());
}

void remove_listed_items(const core::Vector<install::RemovalItem>& items, UninstallRun& run) {
  using Kind = install::RemovalItem::Kind;
  ui::mark_time();
  run.records.clear_removal_list();
  const int32_t count = items.count();
  for (int32_t i = 0; i < count; ++i) {
    const install::RemovalItem& item = items[i];
    if (item.kind == Kind::Directory) {
      run.directories.append(item.path);
      continue;
    }
    if (item.kind == Kind::ClassKey) {
      if (is_removable_class_key(item.path)) {
        core::RegistryKey key;
        key.delete_key_at(HKEY_CLASSES_ROOT, item.path.text());
      }
      continue;
    }
    ui::set_progress(10 + static_cast<int32_t>(80LL * i / count));
    ui::set_status_text(item.path.text());
    if (!is_removable_file(item.path, run.install_dir, run.system_trees)) continue;
    if (passes_through_link(core::directory_part(item.path.text()), run.install_dir)) continue;
    if (core::file_exists(item.path.text()) && !install::delete_file(item.path, 0)) {
      run.records.error_report.append(core::format_string("%s %s\r\n", ui::localised(58).text(), item.path.text()));
      run.records.record_for_removal(item.path, false);
    }
  }
}

void remove_recorded_directories(UninstallRun& run) {
  sort_longest_first(run.directories);
  for (const core::String& directory : run.directories) {
    ui::set_status_text(directory.text());
    for (const core::String& step : directory_removal_chain(directory, run.install_dir, run.system_trees)) {
      if (!remove_empty_directory(step, run)) break;
    }
  }
}

void remove_start_menu_group(const core::String& group, UninstallRun& run) {
  const core::ProcessEnvironment& env = ui::run_state().environment;
  core::SpecialFolder base = run.shortcut_mode == 1 ? core::SpecialFolder::CommonPrograms
                                                    : core::SpecialFolder::UserPrograms;
  core::String programs = core::special_folder(base, env.windows_directory.text());
  for (const core::String& step : start_menu_removal_chain(programs, group)) {
    if (!remove_empty_directory(step, run)) break;
  }
}

bool remove_installation_tree(const UninstallRun& run) {
  if (run.protected_folders == nullptr || install::is_protected_path(*run.protected_folders, run.install_dir)) {
    return false;
  }
  return core::remove_directory_tree(run.install_dir.text());
}

}  // namespace uninstall
