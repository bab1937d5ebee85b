// The bytes the settings may patch into the uninstaller image, and their application.
#include "archive/uninstaller_patch.h"

#include <string.h>

namespace archive {

bool apply_uninstaller_patch(const UninstallerPatch& patch, uint8_t* image, int64_t size) {
  if (patch.offset <= 0 || image == nullptr) return false;
  // 64-bit sum: offset and length are each below 2^31, so it cannot wrap.
  if (static_cast<int64_t>(patch.offset) + patch.bytes.length() > size) return false;
  memcpy(image + patch.offset, patch.bytes.text(), static_cast<size_t>(patch.bytes.length()));
  return true;
}

}  // namespace archive
