// Entries of the "[rename]" section of "wininit.ini": where a new one goes.
#include "install/wininit_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace install {
namespace {

TEST(WininitRules, NewEntryComesFirstInItsSection) {
  struct Case {
    const char* label;
    const char* before;
    const char* after;
  };
  const Case cases[] = {
      {"empty file", "", "[rename]\r\nNUL=C:\\OLD.DLL"},
      {"no section, no final line end", "[boot]\r\nx=1", "[boot]\r\nx=1\r\n[rename]\r\nNUL=C:\\OLD.DLL"},
      {"no section, final LF kept", "[boot]\nx=1\n", "[boot]\nx=1\n[rename]\r\nNUL=C:\\OLD.DLL"},
      {"section found ignoring case", "[Rename]\r\nC:\\A.DLL=C:\\A.TMP\r\n",
       "[Rename]\r\nNUL=C:\\OLD.DLL\r\nC:\\A.DLL=C:\\A.TMP\r\n"},
      {"section in the middle", "[boot]\r\n[RENAME]\r\n[other]\r\n", "[boot]\r\n[RENAME]\r\nNUL=C:\\OLD.DLL\r\n[other]\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    core::String text(c.before);
    add_rename_entry(text, "NUL", "C:\\OLD.DLL");
    EXPECT_EQ(std::string(text.text()), c.after);
  }
}

TEST(WininitRules, TwoEntriesNewestFirst) {
  core::String text;
  add_rename_entry(text, "C:\\A.DLL", "C:\\TKT1.TMP");
  add_rename_entry(text, "C:\\B.DLL", "C:\\TKT2.TMP");
  EXPECT_EQ(std::string(text.text()), "[rename]\r\nC:\\B.DLL=C:\\TKT2.TMP\r\nC:\\A.DLL=C:\\TKT1.TMP");
}

}  // namespace
}  // namespace install
