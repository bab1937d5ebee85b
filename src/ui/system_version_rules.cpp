// Operating-system class bits and descriptions from version numbers.
#include "ui/system_version_rules.h"

namespace ui {

uint32_t os_class_of(const SystemVersion& v) {
  switch (v.platform) {
    case platform_id::Win32s:
      return archive::os_class::Win32s;
    case platform_id::Windows9x:
      if (v.major != 4) return archive::os_class::Unrecognised;
      if (v.minor < 10) return archive::os_class::Windows95;
      if (v.minor < 90) return archive::os_class::Windows98;
      return archive::os_class::WindowsMe;
    case platform_id::WindowsNt:
      if (v.major <= 3) return archive::os_class::Nt3;
      if (v.major == 4) return archive::os_class::Nt4;
      if (v.major == 5 && v.minor == 0) return archive::os_class::Windows2000;
      if (v.major == 5 && v.minor == 1) return archive::os_class::WindowsXp;
      if (v.major == 5 && v.minor == 2) return archive::os_class::Nt52;
      return archive::os_class::Unrecognised;
    default:
      return archive::os_class::Unrecognised;
  }
}

core::String os_description_of(const SystemVersion& v) {
  core::String text("Windows ");
  int major = static_cast<int>(v.major);
  int minor = static_cast<int>(v.minor);
  switch (v.platform) {
    case platform_id::Win32s:
      text.append_format("%d.%d", major, minor);
      break;
    case platform_id::Windows9x:
      if (v.major != 4) {
        text.append_format("9x %d.%d", major, minor);
      } else {
        text.append(v.minor < 10 ? "95" : v.minor < 90 ? "98" : "ME");
      }
      break;
    case platform_id::WindowsNt:
      if (v.major == 5 && v.minor == 0) {
        text.append("2000");
      } else if (v.major == 5 && v.minor == 1) {
        text.append("XP");
      } else {
        text.append_format("NT %d.%d", major, minor);
      }
      break;
    default:
      break;
  }
  const char* service_pack = v.service_pack != nullptr ? v.service_pack : "";
  if (service_pack[0] != ' ') text.append(' ');
  text.append(service_pack);
  text.trim_right(" \t\r\n");
  return text;
}

}  // namespace ui
