// Directories and drives: tests, current directory, creation, removal, attributes.
#include "core/win/directories.h"

#include <string.h>

#include "core/paths.h"
#include "core/win/directory_listing.h"
#include "core/win/windows.h"

#include <winioctl.h>

namespace core {

namespace {

bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool is_blank_text(const char* text) {
  if (text == nullptr) return true;
  for (; *text != 0; ++text) {
    if (*text != ' ' && *text != '\t' && *text != '\r' && *text != '\n') return false;
  }
  return true;
}

// text trimmed, with one trailing '\' dropped: the form in which directories are compared.
String comparable(const char* text) {
  String result(text);
  result.trim();
  if (result.length() > 0 && result.text()[result.length() - 1] == '\\') result.set_length(result.length() - 1);
  return result;
}

bool same_path(const char* a, const char* b) {
  return comparable(a).equals(comparable(b).text(), false) == 0;
}

String full_path_of(const char* path) {
  char buffer[MAX_PATH + 1];
  char* name = nullptr;
  DWORD length = GetFullPathNameA(path, sizeof(buffer), buffer, &name);
  if (length == 0 || length >= sizeof(buffer)) return String();
  return String(buffer);
}

String windows_directory_path() {
  char buffer[MAX_PATH + 1];
  UINT length = GetWindowsDirectoryA(buffer, sizeof(buffer));
  if (length == 0 || length >= sizeof(buffer)) return String();
  return String(buffer);
}

// A drive root or a network share's root once "." and ".." and doubled separators are
// resolved: "C:\.", "C:\\" and "C:\x\.." all name C:\.
bool is_root(const String& full) {
  if (full.length() <= 3) return true;
  const char* text = full.text();
  if (text[0] != '\\' || text[1] != '\\') return false;
  // \\server\share with at most a trailing '\'.
  const char* server_end = strchr(text + 2, '\\');
  if (server_end == nullptr) return true;
  const char* share_end = strchr(server_end + 1, '\\');
  return share_end == nullptr || share_end[1] == 0;
}

// Deletes a file now, read-only or not.
bool delete_now(const char* path) {
  set_read_only(path, false);
  return DeleteFileA(path) != 0;
}

bool remove_tree_contents(const String& path, DWORD& recorded);

// Removes the tree at path (no refusals: the caller checked them). recorded receives the
// last error of each failure.
bool remove_tree(const String& path, DWORD& recorded) {
  bool all = remove_tree_contents(path, recorded);
  if (!all) SetLastError(recorded);
  if (!RemoveDirectoryA(path.text())) {
    if (all) recorded = GetLastError();
    all = false;
  }
  return all;
}

bool remove_tree_contents(const String& path, DWORD& recorded) {
  bool all = true;
  DirectoryListing listing;
  DirectoryEntry entry;
  String pattern = join_path(path.text(), "*.*");
  for (bool found = listing.find_first(pattern.text(), entry); found; found = listing.find_next(entry)) {
    if (strcmp(entry.name.text(), ".") == 0 || strcmp(entry.name.text(), "..") == 0) continue;
    String child = join_path(path.text(), entry.name.text());
    bool removed;
    if (!(entry.attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      removed = delete_now(child.text());
    } else if (entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
      removed = remove_directory_link(child.text());
    } else {
      DWORD inner = 0;
      removed = remove_tree(child, inner);
      if (!removed) SetLastError(inner);
    }
    if (!removed) {
      recorded = GetLastError();
      all = false;
    }
  }
  listing.find_close();
  return all;
}

}  // namespace

bool drive_exists(const char* path) {
  if (path == nullptr || !is_letter(path[0])) return false;
  char root[4] = {path[0], ':', '\\', 0};
  return GetDriveTypeA(root) != DRIVE_NO_ROOT_DIR;
}

bool is_directory(const char* path) {
  if (is_blank_text(path)) return false;
  String previous = current_directory();
  if (!SetCurrentDirectoryA(path)) return false;
  SetCurrentDirectoryA(previous.text());
  return true;
}

String current_directory() {
  char buffer[100];
  DWORD length = GetCurrentDirectoryA(99, buffer);
  if (length == 0) return String();
  if (length <= 98) return String(buffer);
  // Too long for the small buffer: the answer was the size needed.
  String result;
  for (int attempts = 0; attempts < 4; ++attempts) {
    result.set_length(static_cast<int32_t>(length));
    DWORD got = GetCurrentDirectoryA(length, result.data());
    if (got == 0) return String();
    if (got < length) {
      result.set_length(static_cast<int32_t>(got));
      return result;
    }
    length = got;
  }
  return String();
}

bool create_directory(const char* path) {
  if (path == nullptr || *path == 0) return false;
  if (is_directory(path)) return true;
  String parent = directory_part(path);
  if (strcmp(parent.text(), path) == 0) return true;
  if (parent.length() >= 4 && !is_directory(parent.text()) && !create_directory(parent.text())) return false;
  CreateDirectoryA(path, nullptr);
  // Someone else may have created it meanwhile: that counts as success.
  return is_directory(path);
}

bool remove_directory(const char* path) {
  if (path == nullptr || strlen(path) <= 3) return false;
  String target(path);
  if (target.text()[target.length() - 1] == '\\') target.set_length(target.length() - 1);
  if (is_directory_link(target.text())) return remove_directory_link(target.text());
  return RemoveDirectoryA(target.text()) != 0;
}

bool is_directory_link(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
         (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool remove_directory_link(const char* path) {
  HANDLE link = CreateFileA(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (link == INVALID_HANDLE_VALUE) return false;
  // Only a link whose reparse data the system hands out is one that RemoveDirectoryA
  // removes as a link. Wine shows a Unix symbolic link as a reparse point without such
  // data, and removing it there deletes the (empty) directory it points to.
  alignas(8) char data[MAXIMUM_REPARSE_DATA_BUFFER_SIZE];
  DWORD returned = 0;
  BOOL readable = DeviceIoControl(link, FSCTL_GET_REPARSE_POINT, nullptr, 0, data, sizeof(data), &returned, nullptr);
  DWORD error = GetLastError();
  CloseHandle(link);
  if (!readable) {
    SetLastError(error);
    return false;
  }
  return RemoveDirectoryA(path) != 0;
}

bool remove_directory_tree(const char* path) {
  if (path == nullptr || strlen(path) <= 3) return false;
  // Judge the path both as written and as the system resolves it, so that "C:\." or
  // "C:\\" cannot pass for something other than the drive root.
  String full = full_path_of(comparable(path).text());
  String windows = windows_directory_path();
  if (full.is_empty() || is_root(full)) return false;
  if (!windows.is_empty() && (same_path(path, windows.text()) || same_path(full.text(), windows.text()))) {
    return false;
  }
  // A link is never walked: what it points to is not part of this tree.
  if (is_directory_link(comparable(path).text())) return remove_directory_link(comparable(path).text());
  DWORD recorded = 0;
  bool all = remove_tree(comparable(path), recorded);
  if (!all) SetLastError(recorded);
  return all;
}

bool set_read_only(const char* path, bool on) {
  if (path == nullptr) return false;
  DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  DWORD wanted = on ? (attributes | FILE_ATTRIBUTE_READONLY) : (attributes & ~FILE_ATTRIBUTE_READONLY);
  if (wanted == attributes) return true;
  return SetFileAttributesA(path, wanted) != 0;
}

bool expand_environment(String& text) {
  String expanded;
  expanded.set_length(32000);
  DWORD length = ExpandEnvironmentStringsA(text.text(), expanded.data(), 31999);
  if (length == 0 || length > 31999) return false;
  // The answer counts the terminating NUL.
  expanded.set_length(static_cast<int32_t>(length - 1));
  text = expanded;
  return true;
}

}  // namespace core
