// What an installation leaves behind about the file associations it applied, so that the
// uninstaller can undo them: the value name under which each overwritten value is saved,
// and one record per association ("[Associations]" of "Uninstall.DAT").
#pragma once

#include "core/array.h"
#include "core/string.h"

namespace install {

// The product name followed by " Backup", without any '\', CR, LF or TAB (a value name
// cannot hold a backslash; the others would make names that differ only invisibly).
core::String association_backup_name(const core::String& product_name);

// One association as recorded: the extension with its dot, the file type actually used
// and the verb.
struct AssociationRecord {
  core::String extension;
  core::String file_type;
  core::String verb;
};

// Whether a record can be written and read back safely: all three parts non-blank, the
// extension starting with '.', and no part holding '\' (a part is a key name below
// HKEY_CLASSES_ROOT; a backslash would reach keys the installation never made), CR, LF or
// the separator "~!~".
bool is_recordable(const AssociationRecord& record);

// Appends the record line "extension~!~file type~!~verb\r\n" to records; false (nothing
// appended) for a record that is not recordable.
bool append_association_record(core::String& records, const AssociationRecord& record);

// Every record line of a text, in order; empty lines, lines not made of three parts, and
// records that are not recordable are left out. No limit on their number.
core::Vector<AssociationRecord> read_association_records(const core::String& text);

// The record lines of a list, as append_association_record writes them.
core::String write_association_records(const core::Vector<AssociationRecord>& records);

}  // namespace install
