// The product's own registry key: created empty below "Software" of HKEY_LOCAL_MACHINE and
// of HKEY_CURRENT_USER, where the installed product expects to find it.
#pragma once

#include "install/install_context.h"

namespace install {

// Creates both keys when the settings name one; when either cannot be created, a
// paragraph in the error report names the path.
void create_product_keys(const InstallContext& context);

}  // namespace install
