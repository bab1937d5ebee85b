// The check of every file name and destination that comes from the archive. Names become
// paths on the machine and lines of the uninstall data, so a name that climbs out of its
// directory or carries a line break is damage, whatever wrote it.
#pragma once

namespace archive {

enum class StoredNameKind {
  Name,         // a path below a destination directory (a record's name, or its new name)
  Destination,  // an explicit destination path: may start with a drive ("C:\...")
};

// Why the text is refused, or null when it is fine. Refused: an empty text; an empty,
// "." or ".." component ('\' and '/' both separate); a control character (CR and LF above
// all); one of " < > | * ?; a ':' anywhere but as the drive of a destination.
const char* stored_name_problem(const char* text, StoredNameKind kind);

}  // namespace archive
