// One extra value of the product's uninstall key, as the settings store it.
#include "archive/uninstall_data.h"

namespace archive {

bool UninstallData::operator==(const UninstallData& other) const {
  return name == other.name && type == other.type && data == other.data;
}

}  // namespace archive
