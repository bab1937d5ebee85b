// The system's list of renames and deletions pending for the next restart
// (PendingFileRenameOperations): a test reads what it added and puts the list back as it
// found it, so that no later restart of the prefix acts on the test's files.
#pragma once

#include <string>
#include <vector>

#include "core/win/windows.h"

namespace test_support {

class PendingRenames {
 public:
  PendingRenames() { had_value_ = read(saved_); }
  ~PendingRenames() {
    HKEY key = open_key();
    if (key == nullptr) return;
    if (had_value_) {
      RegSetValueExA(key, kValue, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(saved_.data()),
                     static_cast<DWORD>(saved_.size()));
    } else {
      RegDeleteValueA(key, kValue);
    }
    RegCloseKey(key);
  }
  PendingRenames(const PendingRenames&) = delete;
  PendingRenames& operator=(const PendingRenames&) = delete;

  // A pair (path, empty) was added since the object was made.
  bool added_deletion_of(const std::string& path) const { return added_pair(path, ""); }
  // A pair (source, target) was added (a replacing move marks its target with '!').
  bool added_move(const std::string& source, const std::string& target) const {
    return added_pair(source, target);
  }

 private:
  static constexpr const char* kValue = "PendingFileRenameOperations";

  static HKEY open_key() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0,
                      KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS) {
      return nullptr;
    }
    return key;
  }

  static bool read(std::string& bytes) {
    bytes.clear();
    HKEY key = open_key();
    if (key == nullptr) return false;
    DWORD size = 0;
    bool found = RegQueryValueExA(key, kValue, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS;
    if (found) {
      bytes.resize(size);
      found = RegQueryValueExA(key, kValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&bytes[0]), &size) ==
              ERROR_SUCCESS;
      bytes.resize(size);
    }
    RegCloseKey(key);
    return found;
  }

  // The entries of the list, "\??\" prefixes removed, upper-cased.
  static std::vector<std::string> entries(const std::string& bytes) {
    std::vector<std::string> list;
    size_t start = 0;
    while (start < bytes.size()) {
      size_t end = bytes.find('\0', start);
      if (end == std::string::npos) end = bytes.size();
      list.push_back(normal(bytes.substr(start, end - start)));
      start = end + 1;
    }
    return list;
  }

  static std::string normal(std::string path) {
    if (path.rfind("!", 0) == 0) path = path.substr(1);
    if (path.rfind("\\??\\", 0) == 0) path = path.substr(4);
    for (char& c : path) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return path;
  }

  static int count_pairs(const std::string& bytes, const std::string& first, const std::string& second) {
    std::vector<std::string> list = entries(bytes);
    int count = 0;
    for (size_t i = 0; i + 1 < list.size(); i += 2) {
      if (list[i] == first && list[i + 1] == second) ++count;
    }
    return count;
  }

  bool added_pair(const std::string& first, const std::string& second) const {
    std::string now;
    read(now);
    return count_pairs(now, normal(first), normal(second)) > count_pairs(saved_, normal(first), normal(second));
  }

  std::string saved_;
  bool had_value_ = false;
};

}  // namespace test_support
