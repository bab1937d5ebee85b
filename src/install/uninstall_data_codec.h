// "Uninstall.DAT": what the uninstaller removes and the texts it shows. The text is the
// removal list (one full path a line, directories with a leading '~'), then a "[Strings]"
// section with the localised texts the uninstaller needs, then, when there are any, an
// "[Associations]" section with the association records.
#pragma once

#include <stdint.h>

#include "core/array.h"
#include "core/string.h"
#include "install/association_record_codec.h"

namespace install {

// The localised texts that the uninstaller shows, by number, in the order written.
inline constexpr int32_t kUninstallStringIds[] = {10, 15, 20, 30, 34, 35, 39, 49, 53, 55,
                                                  56, 57, 58, 59, 67, 68, 69, 70, 71};
// The numbers the reader accepts.
inline constexpr int32_t kMinUninstallStringId = 1;
inline constexpr int32_t kMaxUninstallStringId = 1000;

struct UninstallString {
  int32_t id = 0;
  core::String text;
};

// One line of the removal list.
struct RemovalItem {
  enum class Kind {
    File,       // a full path
    Directory,  // '~' and a full path
    ClassKey,   // '!' and a key below HKEY_CLASSES_ROOT (read, never written by the installer)
  };
  Kind kind = Kind::File;
  core::String path;
};

// The whole text: the removal list as recorded (RunRecords::removal_list), then
// "\r\n\r\n[Strings]\r\n" and for each string "~<number>\r\n<text>\r\n", then, only when
// the association records are not empty, "\r\n\r\n[Associations]\r\n" and the records.
// A line of a string's text that starts with '~' or '[' gets a blank in front, so that it
// cannot be read as the start of another string or section.
core::String write_uninstall_data(const core::String& removal_list, const core::Vector<UninstallString>& strings,
                                  const core::String& association_records);

// The contents as the uninstaller reads them.
struct UninstallDataContents {
  core::Vector<RemovalItem> removal_items;
  core::Vector<UninstallString> strings;  // in order; a number may come twice (the last one counts)
  core::Vector<AssociationRecord> associations;
};

// Reads a text (a missing file reads as empty). A section starts at a line that is
// "[Strings]" or "[Associations]" (trailing white space allowed), never in the middle of a
// line. Removal lines: '~' and a full path is a directory, '!' and a non-empty key a class
// key, a full path a file; other lines (empty, relative paths, anything else) are skipped.
// Strings: a line starting with '~' opens an entry numbered by the rest of the line
// (entries outside 1..1000 are skipped with their text); its text is every line up to the
// next such line or section, with trailing blanks, tabs, CR and LF removed. Association
// records as read_association_records reads them. Without "[Strings]" the whole text is the
// removal list.
UninstallDataContents read_uninstall_data(const core::String& text);

}  // namespace install
