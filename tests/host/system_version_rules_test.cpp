// Operating-system class bits and descriptions from version numbers.
#include <gtest/gtest.h>

#include <string>

#include "ui/system_version_rules.h"

namespace ui {
namespace {

TEST(SystemVersionRules, ClassesAndDescriptions) {
  struct Case {
    uint32_t platform;
    uint32_t major;
    uint32_t minor;
    const char* service_pack;
    uint32_t os_class;
    const char* description;
  };
  const Case cases[] = {
      {0, 3, 10, "", os_bit::Win32s, "Windows 3.10"},
      {1, 4, 0, "", os_bit::Windows95, "Windows 95"},
      {1, 4, 0, " C", os_bit::Windows95, "Windows 95 C"},
      {1, 4, 10, "A ", os_bit::Windows98, "Windows 98 A"},
      {1, 4, 89, "", os_bit::Windows98, "Windows 98"},
      {1, 4, 90, "", os_bit::WindowsMe, "Windows ME"},
      {1, 4, 0xFFFFFFFF, "", os_bit::WindowsMe, "Windows ME"},  // compared unsigned
      {1, 5, 0, "", os_bit::Unrecognised, "Windows 9x 5.0"},
      {2, 3, 51, "", os_bit::Nt3, "Windows NT 3.51"},
      {2, 4, 0, "Service Pack 6", os_bit::Nt4, "Windows NT 4.0 Service Pack 6"},
      {2, 5, 0, "", os_bit::Windows2000, "Windows 2000"},
      {2, 5, 1, "Service Pack 2", os_bit::WindowsXp, "Windows XP Service Pack 2"},
      {2, 5, 1, "", os_bit::WindowsXp, "Windows XP"},
      {2, 5, 1, nullptr, os_bit::WindowsXp, "Windows XP"},
      {2, 5, 2, "\t\r\n", os_bit::Nt52, "Windows NT 5.2"},
      {2, 5, 3, "", os_bit::Unrecognised, "Windows NT 5.3"},
      {2, 6, 0, "", os_bit::Unrecognised, "Windows NT 6.0"},
      {2, 10, 0, "  ", os_bit::Unrecognised, "Windows NT 10.0"},
      {3, 1, 0, "", os_bit::Unrecognised, "Windows"},
  };
  for (const Case& c : cases) {
    SystemVersion version;
    version.platform = c.platform;
    version.major = c.major;
    version.minor = c.minor;
    version.service_pack = c.service_pack;
    SCOPED_TRACE(c.description);
    EXPECT_EQ(os_class_of(version), c.os_class);
    EXPECT_EQ(std::string(os_description_of(version).text()), c.description);
  }
}

}  // namespace
}  // namespace ui
