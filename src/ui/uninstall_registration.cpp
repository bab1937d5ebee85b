// Finding a product's uninstall registration.
#include "ui/uninstall_registration.h"

#include "core/paths.h"

namespace ui {

bool open_uninstall_registration(core::RegistryKey& key, const char* name) {
  core::String path = core::join_path("Microsoft\\Windows\\CurrentVersion\\Uninstall", name);
  return key.open_software(path.text(), false, core::registry_option::ExistingOnly) != core::KeyOpenResult::Failed;
}

}  // namespace ui
