// The protected-folder set on text alone.
#include "install/protected_folder_rules.h"

#include "core/paths.h"
#include "install/file_pattern_rules.h"

namespace install {

namespace {

// Where the names of an absolute path start: after "X:" or after "\\server\share", or
// -1 for a path that is neither.
int32_t root_length(const core::String& path) {
  if (path.length() >= 2 && core::ascii::is_letter(path[0]) && path[1] == ':') return 2;
  if (path.length() < 3 || path[0] != '\\' || path[1] != '\\') return -1;
  int32_t server_end = path.find_char('\\', 2);
  if (server_end < 0) return path.length();
  int32_t share_end = path.find_char('\\', server_end + 1);
  return share_end < 0 ? path.length() : share_end;
}

bool is_root(const core::String& comparable) { return root_length(comparable) == comparable.length(); }

// folder is path itself or lies below it.
bool is_within(const core::String& folder, const core::String& path) {
  if (folder.length() < path.length() || !folder.starts_with(path.text(), path.length())) return false;
  return folder.length() == path.length() || folder[path.length()] == '\\';
}

}  // namespace

core::String comparable_path(const char* path) {
  core::String text(path);
  text.trim();
  text.replace("/", "\\");
  text.upper_ascii();
  int32_t root = root_length(text);
  // "C:name" is relative to the drive's current directory: no fixed folder either.
  if (root < 0 || (root == 2 && text.length() > 2 && text[2] != '\\')) return core::String();

  core::String result = text.substring(0, root);
  core::Vector<core::String> names;
  text.substring(root).split(names, "\\", 0);
  core::Vector<int32_t> starts;  // where each kept name begins in result, for ".."
  for (core::String& name : names) {
    name.trim_right(" ");
    if (!name.is_empty() && name.find_first_not_of(".") < 0) {
      // ".." climbs one level (never above the root); "." and longer runs name nothing.
      if (name.length() == 2 && !starts.is_empty()) {
        result.truncate(starts.back());
        starts.remove(starts.count() - 1);
      }
      continue;
    }
    name.trim_right(". ");
    if (name.is_empty()) continue;
    starts.append(result.length());
    result.append('\\');
    result.append(name);
  }
  return result;
}

void ProtectedFolderSet::add(const char* folder) {
  core::String comparable = comparable_path(folder);
  if (comparable.is_empty()) return;
  for (const core::String& known : folders_) {
    if (known == comparable) return;
  }
  folders_.append(comparable);
}

bool ProtectedFolderSet::is_protected(const char* path) const {
  core::String comparable = comparable_path(path);
  if (comparable.is_empty() || is_root(comparable)) return true;
  for (const core::String& folder : folders_) {
    if (is_within(folder, comparable)) return true;
  }
  return false;
}

bool ProtectedFolderSet::is_protected_folder(const char* path) const {
  core::String comparable = comparable_path(path);
  if (comparable.is_empty() || is_root(comparable)) return true;
  for (const core::String& folder : folders_) {
    if (folder == comparable) return true;
  }
  return false;
}

PatternReach deletion_pattern_reach(const core::String& pattern, core::String& directory) {
  core::String bare = pattern;
  bool recursive = take_recursive_suffix(bare);
  directory = core::directory_part(bare.text());
  if (!core::is_absolute_path(bare.text())) return PatternReach::Relative;
  bool wildcards = core::file_name_part(bare.text()).find_any_of("*?") >= 0;
  return recursive || wildcards ? PatternReach::Directory : PatternReach::SingleFile;
}

}  // namespace install
