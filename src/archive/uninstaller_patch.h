// The bytes the settings may patch into the uninstaller image, and their application.
#pragma once

#include <stdint.h>

#include "core/string.h"

namespace archive {

// Patch bytes for the uninstaller image at a file offset. An offset of 0 means no patch.
struct UninstallerPatch {
  int32_t offset = 0;
  core::String bytes;

  bool operator==(const UninstallerPatch&) const = default;
};

// Writes the patch into an image of `size` bytes when the offset is above 0 and all the
// bytes fit inside the image; returns whether it wrote. The image is left alone otherwise.
bool apply_uninstaller_patch(const UninstallerPatch& patch, uint8_t* image, int64_t size);

}  // namespace archive
