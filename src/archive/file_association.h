// One file association of the settings: extension, file type, verb and command.
#pragma once

#include <stdint.h>

#include "core/string.h"

namespace archive {

// Bits of an association's flag word.
namespace association_flag {
inline constexpr int32_t DefaultVerb = 0x1;  // the verb becomes the file type's default
}  // namespace association_flag

// One association, fields in stream order: an i32 then eight texts.
struct FileAssociation {
  int32_t flags = 0;
  core::String extension;    // a missing leading '.' is added when applied; empty: skipped
  core::String file_type;    // empty: the extension's existing type; "!name": existing or name
  core::String description;  // the file type's default value
  core::String verb;         // key below "shell"
  core::String verb_text;    // menu text
  core::String command;      // directory variables allowed
  core::String language;     // applies only to this language when not empty
  core::String icon;         // "DefaultIcon"; directory variables allowed

  bool operator==(const FileAssociation&) const = default;
};

// The record's fields in stream order, for reading and writing alike.
template <class Io>
void transfer(Io& io, FileAssociation& record) {
  io.i32(record.flags);
  io.text(record.extension);
  io.text(record.file_type);
  io.text(record.description);
  io.text(record.verb);
  io.text(record.verb_text);
  io.text(record.command);
  io.text(record.language);
  io.text(record.icon);
}

// The smallest stored record: the flag word and eight empty texts.
inline constexpr int32_t kMinAssociationBytes = 4 + 8;

}  // namespace archive
