// File patterns expanded on the machine.
#include "install/file_patterns.h"

#include "core/hash_table.h"
#include "core/paths.h"
#include "core/win/directories.h"
#include "core/win/directory_listing.h"
#include "install/file_pattern_rules.h"
#include "install/protected_folders.h"

namespace install {

namespace {

constexpr int32_t kPathBuckets = 64;

bool is_dot_entry(const core::String& name) { return name == "." || name == ".."; }

int64_t list_in_directory(const core::String& directory, const core::String& name, bool recursive,
                          core::Vector<core::String>& paths, const ProtectedFolderSet* protected_folders) {
  int64_t total = 0;
  core::DirectoryListing listing;
  core::DirectoryEntry entry;
  core::String pattern = core::join_path(directory.text(), name.text());
  for (bool found = listing.find_first(pattern.text(), entry); found; found = listing.find_next(entry)) {
    if (entry.is_directory()) continue;
    paths.append(core::join_path(directory.text(), entry.name.text()));
    total += static_cast<int64_t>(entry.size);
  }
  if (!recursive) return total;

  core::String everything = core::join_path(directory.text(), "*.*");
  for (bool found = listing.find_first(everything.text(), entry); found; found = listing.find_next(entry)) {
    if (!entry.is_directory() || is_dot_entry(entry.name)) continue;
    // A link may lead anywhere, even back up the tree: it is never followed.
    if ((entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) continue;
    core::String subdirectory = core::join_path(directory.text(), entry.name.text());
    if (protected_folders != nullptr && is_protected_folder_path(*protected_folders, subdirectory)) continue;
    total += list_in_directory(subdirectory, name, true, paths, protected_folders);
  }
  return total;
}

}  // namespace

int64_t list_matching_files(const core::String& pattern, core::Vector<core::String>& paths,
                            const ProtectedFolderSet* protected_folders) {
  core::String bare = pattern;
  bool recursive = take_recursive_suffix(bare);
  return list_in_directory(core::directory_part(bare.text()), core::file_name_part(bare.text()), recursive, paths,
                           protected_folders);
}

int64_t expand_file_specification(const core::String& text, core::Vector<core::String>& paths,
                                  const char* default_directory, core::String* diagnostics,
                                  const ProtectedFolderSet* protected_folders) {
  bool has_default = default_directory != nullptr && *default_directory != 0;
  if (diagnostics != nullptr && has_default && !core::is_directory(default_directory)) {
    diagnostics->append_format("The default directory \"%s\" does not exist.\r\n", default_directory);
  }
  core::HashTable<core::String, bool> listed(kPathBuckets);
  for (const core::String& path : paths) {
    core::String key = path;
    listed.set(key.upper_ascii(), true);
  }

  core::Vector<FilePattern> patterns;
  split_file_patterns(text, default_directory, patterns);
  int64_t total = 0;
  for (const FilePattern& item : patterns) {
    if (!core::is_absolute_path(item.pattern.text())) {
      if (diagnostics != nullptr) {
        diagnostics->append_format(
            "The file specification \"%s\" on line %d is not an absolute path.  Please include the drive and "
            "directory.\r\n",
            item.pattern.text(), item.line);
      }
      continue;
    }
    core::Vector<core::String> found;
    int64_t size = list_matching_files(item.pattern, found, protected_folders);
    if (found.is_empty()) {
      if (diagnostics != nullptr) {
        diagnostics->append_format("The file specification \"%s\" on line %d did not match any files.\r\n",
                                   item.pattern.text(), item.line);
      }
      continue;
    }
    total += size;
    for (core::String& path : found) {
      core::String key = path;
      key.upper_ascii();
      if (listed.contains(key)) {
        if (diagnostics != nullptr) diagnostics->append_format("The file \"%s\" occurs more than once.\r\n", path.text());
        continue;
      }
      listed.set(key, true);
      paths.append(static_cast<core::String&&>(path));
    }
  }
  return total;
}

}  // namespace install
