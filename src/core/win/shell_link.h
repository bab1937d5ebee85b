// Shell links (.lnk shortcut files) written through the shell's link object.
#pragma once

#include "core/string.h"

namespace core {

// Writes a shortcut to target at link_path. The icon is `icon` (index 0), or the target
// itself when icon is empty; arguments and working_directory are set only when not
// empty. ".LNK" is appended unless link_path already contains ".lnk" in any letter case,
// and link_path is updated to the path written; the link's directory is created. Needs
// COM initialised on the calling thread. False when the link object is not available or
// the file cannot be saved.
bool create_shell_link(String& link_path, const char* target, const char* arguments, const char* working_directory,
                       const char* icon);

}  // namespace core
