// The shortcut phase: the links the file table asked for, the desktop folder with its
// icon, and the uninstaller's links; each made for the current user or for all users.
#pragma once

#include <stdint.h>

#include "install/install_context.h"

namespace install {

// Creates every link of records.shortcut_requests in order, after appending the
// uninstaller's desktop link when the settings ask for one, then the uninstaller's links
// in the start-menu folder and the uninstall directory. Each failure is a paragraph of the
// error report; links that are not permanent are recorded for removal. True when a
// desktop link was requested (the desktop is then told that it changed, at the end).
bool create_shortcuts(const InstallContext& context);

// Tells the shell that the desktop of the settings' shortcut mode changed; nothing when the shell
// lacks the notification.
void notify_desktop_changed(const InstallContext& context);

}  // namespace install
