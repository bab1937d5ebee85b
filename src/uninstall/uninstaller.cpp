// The uninstaller as far as it exists: nothing is removed yet.
#include "uninstall/uninstaller.h"

namespace uninstall {

bool run_uninstaller(const core::String&) { return false; }

void create_self_removal_batch() {}

}  // namespace uninstall
