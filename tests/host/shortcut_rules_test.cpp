// The shortcut's file name gets one ".LNK", never a second.
#include <gtest/gtest.h>

#include "install/shortcut_rules.h"

namespace install {
namespace {

TEST(ShortcutRules, OneExtension) {
  struct Case {
    const char* path;
    const char* file;
  };
  const Case cases[] = {
      {"C:\\Desk\\Demo", "C:\\Desk\\Demo.LNK"},
      {"C:\\Desk\\Demo.lnk", "C:\\Desk\\Demo.lnk"},
      {"C:\\Desk\\Demo.Lnk", "C:\\Desk\\Demo.Lnk"},
      {"C:\\Desk\\Demo.LNK", "C:\\Desk\\Demo.LNK"},
      {"C:\\Desk\\My .lnk notes", "C:\\Desk\\My .lnk notes.LNK"},
      {"C:\\Desk.lnk\\Demo", "C:\\Desk.lnk\\Demo.LNK"},
      {"lnk", "lnk.LNK"},
      {"", ".LNK"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_STREQ(shortcut_file_path(c.path).text(), c.file);
  }
}

}  // namespace
}  // namespace install
