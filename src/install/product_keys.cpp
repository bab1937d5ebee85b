// Creating the product's registry keys.
#include "install/product_keys.h"

#include "core/win/registry.h"

namespace install {

void create_product_keys(const InstallContext& context) {
  const core::String& path = context.settings.product_registry;
  if (path.is_empty()) return;
  bool created = true;
  for (bool per_user : {false, true}) {
    core::RegistryKey key;
    if (key.open_software(path.text(), per_user) == core::KeyOpenResult::Failed) created = false;
  }
  if (!created) context.records.error_report.append_format("Error creating registry keys:\r\n%s\r\n\r\n", path.text());
}

}  // namespace install
