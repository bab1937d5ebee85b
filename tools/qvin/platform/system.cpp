// The operating system's half of the tool's system queries.
#include "qvin/platform/system.h"

namespace qvin::platform {

std::filesystem::path path_from_utf8(std::string_view text) {
  return std::filesystem::path(std::u8string_view(reinterpret_cast<const char8_t*>(text.data()), text.size()));
}

}  // namespace qvin::platform

#ifdef _WIN32
#include "qvin/platform/system_win.inc"
#else
#include "qvin/platform/system_posix.inc"
#endif
