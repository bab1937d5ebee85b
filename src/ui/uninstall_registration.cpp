// Finding a product's uninstall registration.
#include "ui/uninstall_registration.h"

#include "core/paths.h"

namespace ui {

bool open_uninstall_registration(core::RegistryKey& key, const char* name, bool create) {
  core::String path = core::join_path("Microsoft\\Windows\\CurrentVersion\\Uninstall", name);
  uint32_t options = create ? 0 : core::registry_option::ExistingOnly;
  return key.open_software(path.text(), false, options) != core::KeyOpenResult::Failed;
}

}  // namespace ui
