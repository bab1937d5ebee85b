// Restoring file associations from their backups.
#include "uninstall/association_removal.h"

#include <shlobj.h>

#include "core/win/optional_functions.h"

namespace uninstall {

namespace {

using core::KeyOpenResult;
using core::registry_option::ExistingOnly;

// Puts the backup value back as the default value of the current key and deletes it;
// false when there is no backup (a blank one counts as none).
bool restore_default(core::RegistryKey& key, const core::String& backup_name) {
  core::String backup = key.read_text(backup_name.text());
  if (backup.is_blank()) return false;
  key.write_string("", backup);
  key.delete_value(backup_name.text());
  return true;
}

// Opens the sub-key of the current key, restores its default value, and deletes it when
// no backup was there and nothing but its default value is left (it is the
// installation's). Returns whether the key is gone.
bool restore_or_delete_subkey(core::RegistryKey& key, const char* name, const core::String& backup_name) {
  if (key.open_sub(name, ExistingOnly) == KeyOpenResult::Failed) return false;
  bool restored = restore_default(key, backup_name);
  bool deletable = !restored && may_delete_class_key(class_key_contents(key));
  key.close();
  return deletable && key.delete_key(name) == core::KeyDeleteResult::Deleted;
}

// The verb below "shell" and its "command": the command's value back, or both keys gone
// when the command had no backup and nothing of anyone else is in them.
void remove_verb(core::RegistryKey& key, const core::String& verb, const core::String& backup_name) {
  if (key.open_sub(verb.text(), ExistingOnly) == KeyOpenResult::Failed) return;
  bool command_gone = restore_or_delete_subkey(key, "command", backup_name);
  bool deletable = command_gone && may_delete_class_key(class_key_contents(key));
  key.close();
  if (deletable) key.delete_key(verb.text());
}

}  // namespace

ClassKeyContents class_key_contents(const core::RegistryKey& key) {
  ClassKeyContents contents;
  DWORD subkeys = 0;
  DWORD values = 0;
  if (!key.is_open() || RegQueryInfoKeyA(key.handle(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                         &values, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    // A key that cannot be examined is treated as someone else's.
    contents.subkeys = 1;
    return contents;
  }
  bool has_default = key.value_exists("");
  contents.subkeys = static_cast<int32_t>(subkeys);
  contents.other_values = static_cast<int32_t>(values) - (has_default ? 1 : 0);
  contents.default_value = key.read_text("");
  return contents;
}

void remove_association(const install::AssociationRecord& association, const core::String& backup_name) {
  const char* extension = association.extension.text();
  const char* file_type = association.file_type.text();
  core::RegistryKey key;
  bool extension_is_ours = true;
  if (key.open(HKEY_CLASSES_ROOT, extension, ExistingOnly) != KeyOpenResult::Failed) {
    if (restore_default(key, backup_name)) extension_is_ours = false;
    key.close();
  }

  if (key.open(HKEY_CLASSES_ROOT, file_type, ExistingOnly) == KeyOpenResult::Failed) return;
  restore_default(key, backup_name);
  restore_or_delete_subkey(key, "DefaultIcon", backup_name);
  if (key.open_sub("shell", ExistingOnly) != KeyOpenResult::Failed) {
    bool restored = restore_default(key, backup_name);
    remove_verb(key, association.verb, backup_name);
    bool deletable = !restored && may_delete_class_key(class_key_contents(key));
    key.close();
    if (deletable) key.delete_key("shell");
  }
  bool type_deletable = may_delete_class_key(class_key_contents(key));
  key.close();
  if (!type_deletable || key.delete_key_at(HKEY_CLASSES_ROOT, file_type) != core::KeyDeleteResult::Deleted) return;

  if (!extension_is_ours || key.open(HKEY_CLASSES_ROOT, extension, ExistingOnly) == KeyOpenResult::Failed) return;
  bool extension_deletable = may_delete_extension_key(class_key_contents(key), association.file_type);
  key.close();
  if (extension_deletable) key.delete_key_at(HKEY_CLASSES_ROOT, extension);
}

void remove_associations(const core::Vector<install::AssociationRecord>& associations,
                         const core::String& product_name) {
  core::String backup_name = install::association_backup_name(product_name);
  for (const install::AssociationRecord& association : associations) remove_association(association, backup_name);
  if (auto notify = core::optional_function<core::Optional::SHChangeNotify>()) {
    notify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
  }
}

}  // namespace uninstall
