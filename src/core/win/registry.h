// RegistryKey: a cursor over registry keys with a stack of the keys opened before, typed
// reads and writes of values, and deletion of values and whole key trees.
#pragma once

#include <stdint.h>

#include "core/containers.h"
#include "core/string.h"
#include "core/typed_value.h"
#include "core/win/windows.h"

namespace core {

// Option bits, one word passed to the operations that take options.
namespace registry_option {
inline constexpr uint32_t DeleteWhenEmpty = 0x08;  // writes: an empty text or a 0 deletes the value
inline constexpr uint32_t OnlyIfEmpty = 0x20;      // key deletion: only a key without sub-keys and values
inline constexpr uint32_t ExistingOnly = 0x40;     // opens: never create a missing key
inline constexpr uint32_t Binary = 0x80;           // text writes: store as REG_BINARY
inline constexpr uint32_t Expandable = 0x100;      // text writes: store as REG_EXPAND_SZ (unless Binary)
}  // namespace registry_option

// Result of the opens.
enum class KeyOpenResult : int {
  Failed = 0,   // nothing changed
  Opened = 1,   // an existing key is now current
  Created = 2,  // a new key was created and is now current
};

// Result of the deletions of values and keys.
enum class KeyDeleteResult : int {
  Deleted = 1,
  NoKey = 2,     // no key open, no name given, or the parent could not be opened
  Refused = 3,   // the system refused
  NotEmpty = 4,  // OnlyIfEmpty and the key has sub-keys or values
};

// The cursor. Every successful open makes the new key current and pushes the previous one
// (possibly none), so each open must be paired with one close. A failing operation leaves
// the current key and the stack as they were. Destruction closes everything still open.
// Nothing here shows a message; failures are results.
class RegistryKey {
 public:
  RegistryKey() = default;
  ~RegistryKey() { close_all(); }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  // Opens (ExistingOnly) or opens-or-creates sub_key below root with all access.
  KeyOpenResult open(HKEY root, const char* sub_key, uint32_t options = 0);
  // open of "Software\<path>" below HKEY_CURRENT_USER (per_user) or HKEY_LOCAL_MACHINE.
  KeyOpenResult open_software(const char* path, bool per_user, uint32_t options = 0);
  // open relative to the current key; Failed when no key is open.
  KeyOpenResult open_sub(const char* name, uint32_t options = 0);
  // True when "Software\<path>" opens with all access below the chosen root; the key is
  // closed at once and this object is not touched. Null path: false; "" tests Software.
  static bool software_key_exists(const char* path, bool per_user);

  // Closes the current key and makes the one below it on the stack current again.
  void close();
  // close until nothing is open.
  void close_all();

  bool is_open() const { return current_ != nullptr; }
  HKEY handle() const { return current_; }
  // Number of keys opened and not yet closed.
  int32_t depth() const { return parents_.count(); }

  // At least one sub-key (false when no key is open or the query fails).
  bool has_subkeys() const;
  // No key open, query failed, or neither sub-keys nor values.
  bool is_empty() const;
  // True when the sub-key cannot be opened, else whether it is empty.
  bool subkey_is_empty(const char* name);
  // Appends the current key's sub-key names to list and returns how many were appended.
  // Afterwards the thread's last error is 0 when the whole list was read, else the error
  // that stopped it. 0 with no key open.
  int32_t list_subkeys(Vector<String>& list) const;
  // The value exists in the current key.
  bool value_exists(const char* name) const;

  // Reads a value of the current key: REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ as text
  // without the terminating zero, REG_BINARY as text of all its bytes, a 4-byte REG_DWORD
  // as a signed 32-bit integer. False (value unchanged) when no key is open, the value is
  // missing, or its type or size is none of these.
  bool read_value(const char* name, TypedValue& value) const;
  // The value's text form, or fallback when it cannot be read.
  String read_text(const char* name, const char* fallback = "") const;
  // The value as an integer (texts through to_int), or fallback.
  int32_t read_int(const char* name, int32_t fallback = 0) const;
  // The value as a flag (numbers: not zero; texts: to_bool), or fallback.
  bool read_bool(const char* name, bool fallback = false) const;
  // Reads "key path\value name" below root: the text after the last '\' names the value
  // (after a trailing '\': the key's default value; no '\': a value of root itself). The
  // key is opened (ExistingOnly in options) or created; fallback when the path is empty or
  // the key does not open, else the value's text ("" when the value is missing).
  String read_text_at(HKEY root, const char* full_path, const char* fallback = "", uint32_t options = 0);

  // Writes to the current key; every write is false when no key is open.
  // An Empty value, or with DeleteWhenEmpty a zero or empty one, deletes the value (true).
  // Integers are stored as REG_DWORD (low 32 bits), everything else as its text form.
  bool write_value(const char* name, const TypedValue& value, uint32_t options = 0);
  // REG_DWORD; 0 with DeleteWhenEmpty deletes the value instead (true).
  bool write_int(const char* name, int32_t value, uint32_t options = 0);
  bool write_bool(const char* name, bool value) { return write_int(name, value ? 1 : 0); }
  // Stores a text as REG_SZ, REG_EXPAND_SZ (Expandable) or REG_BINARY (Binary, the bytes
  // alone). With DeleteWhenEmpty an empty text deletes the value and the result is
  // whether it was deleted. Read back, the text is exactly what was written.
  bool write_text(const char* name, const char* text, uint32_t options = 0);
  bool write_string(const char* name, const String& text, uint32_t options = 0);

  KeyDeleteResult delete_value(const char* name);
  // Deletes the named sub-key of the current key with everything below it.
  KeyDeleteResult delete_key(const char* name, uint32_t options = 0);
  // Deletes the key "parent path\name" below root (the parent must exist).
  KeyDeleteResult delete_key_at(HKEY root, const char* path, uint32_t options = 0);
  KeyDeleteResult delete_software_key(const char* path, bool per_user, uint32_t options = 0);
  KeyDeleteResult delete_software_subkey(const char* parent_path, const char* name, bool per_user,
                                      uint32_t options = 0);

 private:
  bool write_bytes(const char* name, DWORD type, const char* bytes, int32_t count);

  HKEY current_ = nullptr;
  Stack<HKEY> parents_;
};

}  // namespace core
