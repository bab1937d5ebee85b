// The shortcut rules that need no machine.
#pragma once

#include "core/string.h"

namespace install {

// The file name of a shortcut: the path with ".LNK" appended, unless it already ends with
// that extension in any case ("Tool.lnk" stays; "My .lnk notes" gets one).
core::String shortcut_file_path(const core::String& link_path);

}  // namespace install
