// The operating system's class bit and readable name from its version numbers. An archive
// can exclude systems by a mask of class bits.
#pragma once

#include <stdint.h>

#include "archive/settings.h"
#include "core/string.h"

namespace ui {

// Platform ids as the version query reports them.
namespace platform_id {
inline constexpr uint32_t Win32s = 0;
inline constexpr uint32_t Windows9x = 1;
inline constexpr uint32_t WindowsNt = 2;
}  // namespace platform_id

// What the version query tells; service_pack may be null (no text).
struct SystemVersion {
  uint32_t platform = 0;
  uint32_t major = 0;
  uint32_t minor = 0;
  const char* service_pack = nullptr;
};

// The archive::os_class bit of a version; systems newer than NT 5.2 and 9x versions other than 4
// are Unrecognised.
uint32_t os_class_of(const SystemVersion& version);

// "Windows " and the system's name ("95", "XP", "NT 4.0", "9x 5.0", "3.10"...), a blank,
// the service-pack text, without trailing white space.
core::String os_description_of(const SystemVersion& version);

}  // namespace ui
