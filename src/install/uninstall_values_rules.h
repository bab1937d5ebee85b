// The values of a product's uninstall key: what an installation writes there, in order,
// as a table built from the settings and the facts of the run, so that it can be checked
// without a registry.
#pragma once

#include <stdint.h>

#include "archive/environment.h"
#include "archive/settings.h"
#include "core/array.h"
#include "core/string.h"

namespace install {

// One value: written as text, expandable text or number, or deleted.
struct UninstallValue {
  enum class Kind { Text, ExpandableText, Number, Delete };
  core::String name;
  Kind kind = Kind::Text;
  core::String text;
  uint32_t number = 0;
};

// What the run knows besides the settings.
struct UninstallRunFacts {
  core::String uninstaller_path;
  core::String install_source;     // the installer's own path
  core::String install_directory;
  core::String shared_directory;
  core::String font_list;          // "ProductFonts"
  core::String shared_files;       // "SharedFiles" as the counting returned it
  core::String display_title;      // the title in the chosen language
  core::String install_date;       // now, in the default date format
};

// The uninstaller's arguments for a product key name: /u:"name".
core::String uninstall_arguments(const core::String& key_name);

// The command that removes the product: the uninstaller's path in double quotes (so that a
// path with blanks is one program, never "C:\Program" and arguments), a blank and the
// arguments. With quiet, " /a" comes before the arguments.
core::String uninstall_command(const core::String& uninstaller_path, const core::String& key_name, bool quiet);

// "VersionMajor" and "VersionMinor" of a product version: only for a version with a '.';
// the number at its start and the number right after the first '.' (0 when none is there).
struct ProductVersionNumbers {
  bool present = false;
  uint32_t major = 0;
  uint32_t minor = 0;
};
ProductVersionNumbers product_version_numbers(const core::String& version);

// Every value of the uninstall key in the order written. The settings' extra values have
// their directory variables expanded through environment.
core::Vector<UninstallValue> uninstall_values(const archive::Settings& settings, const UninstallRunFacts& facts,
                                              archive::Environment& environment);

}  // namespace install
