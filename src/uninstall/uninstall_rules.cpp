// The uninstaller's decisions on text alone.
#include "uninstall/uninstall_rules.h"

#include "core/paths.h"

namespace uninstall {

namespace {

// The roots below HKEY_CLASSES_ROOT that hold every product's entries.
constexpr const char* kSharedClassRoots[] = {"CLSID", "Interface", "TypeLib", "AppID", "*",
                                             "Directory", "Folder", "Drive", "MIME"};

// The deepest climb any clean-up makes; a path has fewer levels than this.
constexpr int32_t kClimbLimit = 64;
constexpr int32_t kStartMenuLevels = 20;

// path lies strictly below folder (comparable forms; an empty folder contains nothing).
bool is_below(const core::String& path, const core::String& folder) {
  if (folder.is_empty() || path.length() <= folder.length()) return false;
  return path.starts_with(folder.text(), folder.length()) && path[folder.length()] == '\\';
}

bool is_within_comparable(const core::String& path, const core::String& folder) {
  return !folder.is_empty() && (path == folder || is_below(path, folder));
}

bool in_system_tree(const core::String& comparable, const core::Vector<core::String>& system_trees) {
  for (const core::String& tree : system_trees) {
    if (is_within_comparable(comparable, install::comparable_path(tree.text()))) return true;
  }
  return false;
}

// start and each parent, deepest first, while it lies strictly below top (comparable
// form), at most limit of them.
core::Vector<core::String> climb_below(const core::String& start, const core::String& top, int32_t limit) {
  core::Vector<core::String> chain;
  core::String current = start;
  current.trim_right('\\');
  for (int32_t level = 0; level < limit; ++level) {
    core::String comparable = install::comparable_path(current.text());
    if (!is_below(comparable, top)) break;
    chain.append(current);
    current = core::directory_part(current.text());
    current.trim_right('\\');
  }
  return chain;
}

}  // namespace

bool is_removable_class_key(const core::String& key) {
  if (key.is_blank()) return false;
  core::Vector<core::String> parts;
  key.split(parts, "\\", core::split_flag::KeepEmpty);
  for (const core::String& part : parts) {
    if (part.is_empty()) return false;
  }
  if (parts.count() > 1) return true;
  core::String name = key;
  name.trim();
  for (const char* root : kSharedClassRoots) {
    if (name.equals(root, false) == 0) return false;
  }
  return true;
}

bool is_within_folder(const core::String& path, const core::String& folder) {
  core::String comparable = install::comparable_path(path.text());
  return !comparable.is_empty() && is_within_comparable(comparable, install::comparable_path(folder.text()));
}

bool is_removable_file(const core::String& path, const core::String& install_dir,
                       const core::Vector<core::String>& system_trees) {
  core::String comparable = install::comparable_path(path.text());
  if (comparable.is_empty()) return false;
  if (is_below(comparable, install::comparable_path(install_dir.text()))) return true;
  return !in_system_tree(comparable, system_trees);
}

core::Vector<core::String> directory_removal_chain(const core::String& directory, const core::String& install_dir,
                                                   const core::Vector<core::String>& system_trees) {
  core::Vector<core::String> chain;
  core::String comparable = install::comparable_path(directory.text());
  core::String top = install::comparable_path(install_dir.text());
  if (comparable.is_empty() || top.is_empty()) return chain;
  if (is_below(comparable, top)) return climb_below(directory, top, kClimbLimit);
  if (is_within_comparable(top, comparable) || in_system_tree(comparable, system_trees)) return chain;
  core::String alone = directory;
  alone.trim_right('\\');
  chain.append(alone);
  return chain;
}

core::Vector<core::String> start_menu_removal_chain(const core::String& programs_folder, const core::String& group) {
  core::String top = install::comparable_path(programs_folder.text());
  if (group.is_blank() || core::is_absolute_path(group.text()) || core::drive_letter(group.text()) != 0 ||
      top.is_empty()) {
    return core::Vector<core::String>();
  }
  return climb_below(core::join_path(programs_folder.text(), group.text()), top, kStartMenuLevels);
}

bool may_delete_class_key(const ClassKeyContents& contents) {
  return contents.subkeys == 0 && contents.other_values == 0;
}

bool may_delete_extension_key(const ClassKeyContents& contents, const core::String& file_type) {
  if (!may_delete_class_key(contents)) return false;
  return contents.default_value.is_blank() || contents.default_value.equals(file_type.text(), false) == 0;
}

core::String installation_drive_root(const core::String& install_dir) {
  core::String root = core::drive_prefix(install_dir.text());
  if (root.is_empty() || install_dir.length() < 2 || install_dir[1] != ':') return core::String();
  if (install_dir.length() > 2 && install_dir[2] == '\\') root.append('\\');
  return root;
}

core::String batch_quoted_path(const core::String& path) {
  core::String quoted = path;
  quoted.replace("%", "%%");
  quoted.quote();
  return quoted;
}

core::String self_removal_batch_text(const core::String& program, const core::Vector<core::String>& directories,
                                     const core::String& batch_path) {
  core::String text = "@echo off\r\n";
  if (!program.is_empty()) {
    core::String target = batch_quoted_path(program);
    core::String all_attempts;
    for (int32_t attempt = 0; attempt < kSelfRemovalAttempts; ++attempt) all_attempts.append('x');
    text.append("set qvin_tries=\r\n:Repeat\r\n");
    text.append_format("del %s\r\nif not exist %s goto Removed\r\n", target.text(), target.text());
    text.append("set qvin_tries=%qvin_tries%x\r\n");
    text.append_format("if \"%%qvin_tries%%\"==\"%s\" goto Removed\r\n", all_attempts.text());
    text.append("ping -n 2 127.0.0.1 >nul\r\ngoto Repeat\r\n:Removed\r\n");
  }
  for (const core::String& directory : directories) {
    text.append_format("rd %s\r\n", batch_quoted_path(directory).text());
  }
  text.append_format("del %s\r\n", batch_quoted_path(batch_path).text());
  return text;
}

}  // namespace uninstall
