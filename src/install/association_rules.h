// The decisions of applying file associations that need no registry: which records apply,
// the extension's form, the file type a record uses, and when an overwritten value is saved.
#pragma once

#include "archive/file_association.h"
#include "core/string.h"

namespace install {

// Whether a record is applied: its extension is not empty, and its language is empty or
// equals the chosen language's name byte for byte.
bool association_applies(const archive::FileAssociation& association, const core::String& language_name);

// The extension with a leading '.' (added when missing).
core::String dotted_extension(const core::String& extension);

// The file type a record uses, decided from its stated type and the extension's key.
struct FileTypeChoice {
  enum class Outcome {
    Use,              // file_type is the type
    NoLabel,          // the extension has no type of its own and the record names none
    KeyInaccessible,  // the record takes the extension's type, but there is no such key
  };
  Outcome outcome = Outcome::Use;
  core::String file_type;
  // The record sets its own type: the extension's default value names it (when its key
  // opened) and the description becomes the type's default value.
  bool own_type = false;
};

// stated: the record's file type (empty: the extension's type; "!name": the extension's
// type when it has one, else name). extension_opened: the extension's key opened (it is
// created unless stated is empty). current_type: that key's default value.
FileTypeChoice choose_file_type(const core::String& stated, bool extension_opened, const core::String& current_type);

// Whether old_value is saved under the backup name before new_value replaces it: it is
// not blank, it differs from new_value ignoring case, and no backup is there yet (a backup
// left by an earlier installation of the product holds the value from before it).
bool backup_needed(const core::String& old_value, const core::String& new_value, bool backup_exists);

}  // namespace install
