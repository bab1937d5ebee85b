// Which names and destinations from the archive the runtime accepts.
#include <gtest/gtest.h>

#include "archive/stored_name.h"

namespace {

using archive::StoredNameKind;

TEST(StoredName, RefusesNamesThatClimbOrPlantLines) {
  struct Case {
    const char* text;
    bool name_ok;
    bool destination_ok;
  };
  const Case cases[] = {
      {"app.exe", true, true},
      {"bin\\tools\\a.dll", true, true},
      {"docs/readme.txt", true, true},
      {"a\\\\b.txt", true, true},            // a doubled separator stays inside
      {"\\rooted.txt", true, true},          // joined below its directory all the same
      {"caf\xE9 ~1.txt", true, true},
      {"%SystemDir%\\", false, true},        // a destination may end with '\'
      {"C:\\Tools\\app.exe", false, true},   // the drive of a destination
      {"c:relative.txt", false, true},
      {"", false, false},
      {"..\\evil.txt", false, false},
      {"a\\..\\..\\evil.txt", false, false},
      {"a/../b", false, false},
      {".\\x", false, false},
      {"sub\\.", false, false},
      {"C:\\..\\x", false, false},
      {"line\r\n~C:\\Windows", false, false},  // would be a line of the uninstall data
      {"tab\there", false, false},
      {"del\x7F", false, false},
      {"what?.txt", false, false},
      {"star*.txt", false, false},
      {"quote\".txt", false, false},
      {"a<b", false, false},
      {"a>b", false, false},
      {"a|b", false, false},
      {"file.txt:stream", false, false},
      {"C:\\dir\\file.txt:stream", false, false},
      {"1:\\x", false, false},
      {"\\", false, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(archive::stored_name_problem(c.text, StoredNameKind::Name) == nullptr, c.name_ok) << c.text;
    EXPECT_EQ(archive::stored_name_problem(c.text, StoredNameKind::Destination) == nullptr, c.destination_ok)
        << c.text;
  }
  EXPECT_NE(archive::stored_name_problem(nullptr, StoredNameKind::Name), nullptr);
}

}  // namespace
