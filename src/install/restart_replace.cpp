// Placeholder until the restart operations are built: nothing can be deleted or scheduled.
#include "install/restart_replace.h"

namespace install {

bool delete_file(const core::String&, uint32_t) { return false; }
bool move_file(const core::String&, const core::String&, uint32_t) { return false; }
bool add_wininit_rename(const core::String&, const core::String&) { return false; }
bool replace_at_restart(const core::String&, const uint8_t*, int32_t, const core::FileTimeRecord&, core::String&,
                        RunRecords&) {
  return false;
}

}  // namespace install
