// The system's folder browser, rooted at the computer's drives.
#pragma once

#include "core/string.h"
#include "core/win/windows.h"

namespace ui {

// Shows the folder browser owned by `owner`, centred, titled with localised text 11 and
// starting at `path`. True with `path` replaced by the chosen folder; false, path
// unchanged, when nothing was chosen, the choice is no file-system folder, or the
// browser cannot be shown.
bool browse_for_folder(HWND owner, core::String& path);

}  // namespace ui
