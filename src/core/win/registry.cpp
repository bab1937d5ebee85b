// RegistryKey: opening and closing, inspecting, reading, writing and deleting.
#include "core/win/registry.h"

#include <string.h>

namespace core {

namespace {

// Long enough for every key name the registry allows (255 characters).
constexpr DWORD key_name_buffer = 256;

String software_path(const char* path) {
  String result("Software");
  if (path != nullptr && *path != 0) {
    result.append("\\");
    result.append(path);
  }
  return result;
}

HKEY software_root(bool per_user) { return per_user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

// Splits "key\value" at its last '\': key gets the text before it (no trailing '\'),
// name the text after it; without a '\' everything is the name.
void split_value_path(const char* path, String& key, String& name) {
  const char* last = strrchr(path, '\\');
  if (last == nullptr) {
    key = "";
    name = path;
    return;
  }
  key = "";
  key.append(path, static_cast<int32_t>(last - path));
  name = last + 1;
}

// The value of a query as the typed value; false for types and sizes not read.
bool convert_value(DWORD type, const char* data, DWORD size, TypedValue& value) {
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ: {
      // The registry keeps the terminating zero in the stored size; it is not part of the
      // text. A value someone stored without one keeps all its bytes.
      DWORD length = size;
      if (length > 0 && data[length - 1] == 0) --length;
      String& text = value.text_for_writing();
      text = "";
      text.append(data, static_cast<int32_t>(length));
      return true;
    }
    case REG_BINARY: {
      String& text = value.text_for_writing();
      text = "";
      text.append(data, static_cast<int32_t>(size));
      return true;
    }
    case REG_DWORD:
      if (size != 4) return false;
      int32_t number;
      memcpy(&number, data, 4);
      value = TypedValue::from_int32(number);
      return true;
    default:
      return false;
  }
}

}  // namespace

KeyOpenResult RegistryKey::open(HKEY root, const char* sub_key, uint32_t options) {
  HKEY key = nullptr;
  DWORD disposition = REG_OPENED_EXISTING_KEY;
  LONG status;
  if (options & registry_option::ExistingOnly) {
    status = RegOpenKeyExA(root, sub_key, 0, KEY_ALL_ACCESS, &key);
  } else {
    char no_class[] = "";
    status = RegCreateKeyExA(root, sub_key, 0, no_class, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                             &disposition);
  }
  if (status != ERROR_SUCCESS || key == nullptr) return KeyOpenResult::Failed;
  parents_.push(current_);
  current_ = key;
  return disposition == REG_CREATED_NEW_KEY ? KeyOpenResult::Created : KeyOpenResult::Opened;
}

KeyOpenResult RegistryKey::open_software(const char* path, bool per_user, uint32_t options) {
  String full = software_path(path);
  return open(software_root(per_user), full.text(), options);
}

KeyOpenResult RegistryKey::open_sub(const char* name, uint32_t options) {
  if (current_ == nullptr) return KeyOpenResult::Failed;
  return open(current_, name, options);
}

bool RegistryKey::software_key_exists(const char* path, bool per_user) {
  if (path == nullptr) return false;
  String full = software_path(path);
  HKEY key = nullptr;
  if (RegOpenKeyExA(software_root(per_user), full.text(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void RegistryKey::close() {
  if (current_ != nullptr) RegCloseKey(current_);
  current_ = nullptr;
  if (!parents_.is_empty()) current_ = parents_.pop();
}

void RegistryKey::close_all() {
  while (parents_.count() > 0) close();
  // A key can only be current through an open, which pushed; this is a safety net.
  if (current_ != nullptr) close();
}

bool RegistryKey::has_subkeys() const {
  if (current_ == nullptr) return false;
  DWORD subkeys = 0;
  if (RegQueryInfoKeyA(current_, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  return subkeys > 0;
}

bool RegistryKey::is_empty() const {
  if (current_ == nullptr) return true;
  DWORD subkeys = 0;
  DWORD values = 0;
  if (RegQueryInfoKeyA(current_, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                       nullptr, nullptr) != ERROR_SUCCESS) {
    return true;
  }
  return subkeys == 0 && values == 0;
}

bool RegistryKey::subkey_is_empty(const char* name) {
  if (open_sub(name, registry_option::ExistingOnly) == KeyOpenResult::Failed) return true;
  bool empty = is_empty();
  close();
  return empty;
}

int32_t RegistryKey::list_subkeys(Vector<String>& list) const {
  if (current_ == nullptr) return 0;
  int32_t added = 0;
  char name[key_name_buffer];
  for (DWORD index = 0;; ++index) {
    LONG status = RegEnumKeyA(current_, index, name, key_name_buffer);
    if (status != ERROR_SUCCESS) {
      SetLastError(status == ERROR_NO_MORE_ITEMS ? 0 : static_cast<DWORD>(status));
      break;
    }
    list.append(String(name));
    ++added;
  }
  return added;
}

bool RegistryKey::value_exists(const char* name) const {
  if (current_ == nullptr) return false;
  return RegQueryValueExA(current_, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool RegistryKey::read_value(const char* name, TypedValue& value) const {
  if (current_ == nullptr) return false;
  char small[32];
  DWORD type = 0;
  DWORD size = sizeof(small);
  LONG status = RegQueryValueExA(current_, name, nullptr, &type, reinterpret_cast<BYTE*>(small), &size);
  if (status == ERROR_SUCCESS) return convert_value(type, small, size, value);
  if (status != ERROR_MORE_DATA) return false;

  // Too long for the first buffer: ask again with the size the system reported. The
  // second answer's size and type are the ones that count: the reported size of a text
  // may be larger than the text the second call delivers.
  String buffer;
  if (size == 0) {
    value.text_for_writing() = "";
    return true;
  }
  buffer.set_length(static_cast<int32_t>(size));
  DWORD second_size = size;
  status = RegQueryValueExA(current_, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &second_size);
  if (status != ERROR_SUCCESS) return false;
  return convert_value(type, buffer.text(), second_size, value);
}

String RegistryKey::read_text(const char* name, const char* fallback) const {
  TypedValue value;
  if (read_value(name, value)) return value.as_text();
  return String(fallback != nullptr ? fallback : "");
}

int32_t RegistryKey::read_int(const char* name, int32_t fallback) const {
  TypedValue value;
  return read_value(name, value) ? value.as_int() : fallback;
}

bool RegistryKey::read_bool(const char* name, bool fallback) const {
  TypedValue value;
  return read_value(name, value) ? value.as_bool() : fallback;
}

String RegistryKey::read_text_at(HKEY root, const char* full_path, const char* fallback, uint32_t options) {
  if (full_path == nullptr || *full_path == 0) return String(fallback != nullptr ? fallback : "");
  String key_path;
  String value_name;
  split_value_path(full_path, key_path, value_name);
  if (open(root, key_path.text(), options & registry_option::ExistingOnly) == KeyOpenResult::Failed) {
    return String(fallback != nullptr ? fallback : "");
  }
  String result = read_text(value_name.text(), "");
  close();
  return result;
}

bool RegistryKey::write_bytes(const char* name, DWORD type, const char* bytes, int32_t count) {
  return RegSetValueExA(current_, name, 0, type, reinterpret_cast<const BYTE*>(bytes), static_cast<DWORD>(count)) ==
         ERROR_SUCCESS;
}

bool RegistryKey::write_value(const char* name, const TypedValue& value, uint32_t options) {
  if (current_ == nullptr) return false;
  if (value.is_empty() || ((options & registry_option::DeleteWhenEmpty) && value.is_zero_or_empty())) {
    delete_value(name);
    return true;
  }
  if (value.is_integer()) {
    int32_t number = static_cast<int32_t>(value.as_int64());
    return write_bytes(name, REG_DWORD, reinterpret_cast<const char*>(&number), 4);
  }
  return write_string(name, value.as_text(), options & ~registry_option::DeleteWhenEmpty);
}

bool RegistryKey::write_int(const char* name, int32_t value, uint32_t options) {
  if (current_ == nullptr) return false;
  if ((options & registry_option::DeleteWhenEmpty) && value == 0) {
    delete_value(name);
    return true;
  }
  return write_bytes(name, REG_DWORD, reinterpret_cast<const char*>(&value), 4);
}

bool RegistryKey::write_text(const char* name, const char* text, uint32_t options) {
  if (current_ == nullptr) return false;
  String copy(text != nullptr ? text : "");
  return write_string(name, copy, options);
}

bool RegistryKey::write_string(const char* name, const String& text, uint32_t options) {
  if (current_ == nullptr) return false;
  if ((options & registry_option::DeleteWhenEmpty) && text.is_empty()) {
    return delete_value(name) == KeyDeleteResult::Deleted;
  }
  if (options & registry_option::Binary) return write_bytes(name, REG_BINARY, text.text(), text.length());
  DWORD type = (options & registry_option::Expandable) ? REG_EXPAND_SZ : REG_SZ;
  // Stored with its terminating zero, so that a read gives back exactly this text
  // whatever registry lies underneath.
  return write_bytes(name, type, text.text(), text.length() + 1);
}

KeyDeleteResult RegistryKey::delete_value(const char* name) {
  if (current_ == nullptr) return KeyDeleteResult::NoKey;
  return RegDeleteValueA(current_, name) == ERROR_SUCCESS ? KeyDeleteResult::Deleted : KeyDeleteResult::Refused;
}

KeyDeleteResult RegistryKey::delete_key(const char* name, uint32_t options) {
  if (current_ == nullptr || name == nullptr || *name == 0) return KeyDeleteResult::NoKey;
  if ((options & registry_option::OnlyIfEmpty) && !subkey_is_empty(name)) return KeyDeleteResult::NotEmpty;
  if (open_sub(name, registry_option::ExistingOnly) != KeyOpenResult::Failed) {
    // All names first, then the deletions: enumeration indexes never shift under the loop.
    Vector<String> children;
    list_subkeys(children);
    for (int32_t i = 0; i < children.count(); ++i) delete_key(children.at(i).text(), options);
    close();
  }
  return RegDeleteKeyA(current_, name) == ERROR_SUCCESS ? KeyDeleteResult::Deleted : KeyDeleteResult::Refused;
}

KeyDeleteResult RegistryKey::delete_key_at(HKEY root, const char* path, uint32_t options) {
  if (path == nullptr || *path == 0) return KeyDeleteResult::NoKey;
  String key_path;
  String name;
  split_value_path(path, key_path, name);
  if (open(root, key_path.text(), registry_option::ExistingOnly) == KeyOpenResult::Failed) return KeyDeleteResult::NoKey;
  KeyDeleteResult result = delete_key(name.text(), options);
  close();
  return result;
}

KeyDeleteResult RegistryKey::delete_software_key(const char* path, bool per_user, uint32_t options) {
  if (path == nullptr) return KeyDeleteResult::NoKey;
  String full = software_path(path);
  return delete_key_at(software_root(per_user), full.text(), options);
}

KeyDeleteResult RegistryKey::delete_software_subkey(const char* parent_path, const char* name, bool per_user,
                                                 uint32_t options) {
  String full = software_path(parent_path);
  if (open(software_root(per_user), full.text(), registry_option::ExistingOnly) == KeyOpenResult::Failed) {
    return KeyDeleteResult::NoKey;
  }
  KeyDeleteResult result = delete_key(name, options);
  close();
  return result;
}

}  // namespace core
