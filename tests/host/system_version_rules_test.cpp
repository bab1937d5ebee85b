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
      {0, 3, 10, "", archive::os_class::Win32s, "Windows 3.10"},
      {1, 4, 0, "", archive::os_class::Windows95, "Windows 95"},
      {1, 4, 0, " C", archive::os_class::Windows95, "Windows 95 C"},
      {1, 4, 10, "A ", archive::os_class::Windows98, "Windows 98 A"},
      {1, 4, 89, "", archive::os_class::Windows98, "Windows 98"},
      {1, 4, 90, "", archive::os_class::WindowsMe, "Windows ME"},
      {1, 4, 0xFFFFFFFF, "", archive::os_class::WindowsMe, "Windows ME"},  // compared unsigned
      {1, 5, 0, "", archive::os_class::Unrecognised, "Windows 9x 5.0"},
      {2, 3, 51, "", archive::os_class::Nt3, "Windows NT 3.51"},
      {2, 4, 0, "Service Pack 6", archive::os_class::Nt4, "Windows NT 4.0 Service Pack 6"},
      {2, 5, 0, "", archive::os_class::Windows2000, "Windows 2000"},
      {2, 5, 1, "Service Pack 2", archive::os_class::WindowsXp, "Windows XP Service Pack 2"},
      {2, 5, 1, "", archive::os_class::WindowsXp, "Windows XP"},
      {2, 5, 1, nullptr, archive::os_class::WindowsXp, "Windows XP"},
      {2, 5, 2, "\t\r\n", archive::os_class::Nt52, "Windows NT 5.2"},
      {2, 5, 3, "", archive::os_class::Unrecognised, "Windows NT 5.3"},
      {2, 6, 0, "", archive::os_class::Unrecognised, "Windows NT 6.0"},
      {2, 10, 0, "  ", archive::os_class::Unrecognised, "Windows NT 10.0"},
      {3, 1, 0, "", archive::os_class::Unrecognised, "Windows"},
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
