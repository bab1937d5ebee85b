// The running system's version, asked of GetVersionExA.
#include "ui/system_version.h"

#include "core/win/windows.h"
#include "ui/system_version_rules.h"

namespace ui {
namespace {

// The version query with the plain structure (148 bytes); zeros when it fails.
struct VersionQuery {
  OSVERSIONINFOA info;
  VersionQuery() {
    ZeroMemory(&info, sizeof(info));
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExA(&info)) {
      ZeroMemory(&info, sizeof(info));
      info.dwOSVersionInfoSize = sizeof(info);
    }
  }
  SystemVersion version() const {
    SystemVersion v;
    v.platform = info.dwPlatformId;
    v.major = info.dwMajorVersion;
    v.minor = info.dwMinorVersion;
    v.service_pack = info.szCSDVersion;
    return v;
  }
};
static_assert(sizeof(OSVERSIONINFOA) == 148, "the version structure the query expects");

}  // namespace

uint32_t os_class() { return os_class_of(VersionQuery().version()); }

core::String os_description() {
  VersionQuery query;
  return os_description_of(query.version());
}

bool is_nt_family() { return VersionQuery().info.dwPlatformId == VER_PLATFORM_WIN32_NT; }

}  // namespace ui
