// "SharedFiles": the shared files an installation counted, as the uninstall key keeps
// them for the uninstaller and for the next installation of the same product.
#pragma once

#include "core/array.h"
#include "core/string.h"
#include "install/run_records.h"

namespace install {

// The one-character marks after a shared file's path: what the uninstaller does when the
// file's count reaches zero.
namespace shared_marker {
inline constexpr char None = 0;            // delete it
inline constexpr char Permanent = ' ';     // never unregister or delete it
inline constexpr char ComServer = '^';     // DllUnregisterServer, then delete it
inline constexpr char TypeLibrary = '\xA9';  // unregister the type library, then delete it
}  // namespace shared_marker

// The text of a list: each entry a double-quoted run of its path and marker, ';' between
// entries. Empty for an empty list.
core::String write_shared_files(const core::Vector<SharedFile>& files);

// Cuts the first entry off text; false (entry unchanged) when text holds no further entry:
// it is empty, does not start with a double quote, or the run holds no path. One marker is
// taken off the end of the run, '^' before ' ' before 0xA9, the order in which they are
// tested; the writer puts at most one there.
bool cut_shared_file(core::String& text, SharedFile& entry);

// Every entry of a text, in order; existed_before is false in all of them.
core::Vector<SharedFile> read_shared_files(const core::String& text);

}  // namespace install
