// One file association of the settings: extension, file type, verb and command.
#include "archive/file_association.h"

namespace archive {

bool FileAssociation::operator==(const FileAssociation& other) const {
  return flags == other.flags && extension == other.extension && file_type == other.file_type &&
         description == other.description && verb == other.verb && verb_text == other.verb_text &&
         command == other.command && language == other.language && icon == other.icon;
}

}  // namespace archive
