// Undoing the installation's file associations below HKEY_CLASSES_ROOT: every value it
// overwrote is put back from its backup, and what it created goes once nothing of anyone
// else is left in it.
#pragma once

#include "core/array.h"
#include "core/string.h"
#include "core/win/registry.h"
#include "install/association_record_codec.h"
#include "uninstall/uninstall_rules.h"

namespace uninstall {

// What the current key of `key` holds (sub-keys, values besides the default, the default).
ClassKeyContents class_key_contents(const core::RegistryKey& key);

// Undoes one association. backup_name is the product's backup value name.
void remove_association(const install::AssociationRecord& association, const core::String& backup_name);

// Undoes every association in order, then tells the shell that associations changed.
void remove_associations(const core::Vector<install::AssociationRecord>& associations,
                         const core::String& product_name);

}  // namespace uninstall
