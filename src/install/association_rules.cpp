// Which associations apply, and how their file types and backups are chosen.
#include "install/association_rules.h"

namespace install {

bool association_applies(const archive::FileAssociation& association, const core::String& language_name) {
  if (association.extension.is_empty()) return false;
  return association.language.is_empty() || association.language == language_name;
}

core::String dotted_extension(const core::String& extension) {
  if (extension.starts_with_char('.')) return extension;
  core::String dotted(".");
  dotted.append(extension);
  return dotted;
}

FileTypeChoice choose_file_type(const core::String& stated, bool extension_opened, const core::String& current_type) {
  using Outcome = FileTypeChoice::Outcome;
  FileTypeChoice choice;
  bool takes_existing = stated.is_empty() || stated.starts_with_char('!');
  if (!takes_existing) {
    choice.file_type = stated;
    choice.own_type = true;
  } else if (!extension_opened) {
    choice.outcome = Outcome::KeyInaccessible;
  } else if (!current_type.is_empty()) {
    choice.file_type = current_type;
  } else if (stated.starts_with_char('!')) {
    choice.file_type = stated.substring(1);
    choice.own_type = true;
  } else {
    choice.outcome = Outcome::NoLabel;
  }
  return choice;
}

bool backup_needed(const core::String& old_value, const core::String& new_value, bool backup_exists) {
  return !backup_exists && !old_value.is_blank() && old_value.equals(new_value.text(), false) != 0;
}

}  // namespace install
