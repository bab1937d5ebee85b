// Which associations apply, which file type each uses, and when an overwritten value is
// saved under the backup name.
#include <gtest/gtest.h>

#include "install/association_rules.h"

namespace install {
namespace {

TEST(AssociationRules, WhichRecordsApply) {
  struct Case {
    const char* label;
    const char* extension;
    const char* language;
    const char* chosen;
    bool applies;
  };
  const Case cases[] = {
      {"every language", ".dmo", "", "English", true},
      {"the chosen one", ".dmo", "Deutsch", "Deutsch", true},
      {"another one", ".dmo", "Deutsch", "English", false},
      {"case counts", ".dmo", "english", "English", false},
      {"no extension", "", "", "English", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    archive::FileAssociation association;
    association.extension = c.extension;
    association.language = c.language;
    EXPECT_EQ(association_applies(association, c.chosen), c.applies);
  }
}

TEST(AssociationRules, DottedExtension) {
  EXPECT_STREQ(dotted_extension("dmo").text(), ".dmo");
  EXPECT_STREQ(dotted_extension(".dmo").text(), ".dmo");
  EXPECT_STREQ(dotted_extension("..x").text(), "..x");
}

TEST(AssociationRules, ChoosesTheFileType) {
  using Outcome = FileTypeChoice::Outcome;
  struct Case {
    const char* label;
    const char* stated;
    bool opened;
    const char* current;
    Outcome outcome;
    const char* file_type;
    bool own_type;
  };
  const Case cases[] = {
      {"own type", "DemoFile", true, "txtfile", Outcome::Use, "DemoFile", true},
      {"own type, key not made", "DemoFile", false, "", Outcome::Use, "DemoFile", true},
      {"the extension's type", "", true, "txtfile", Outcome::Use, "txtfile", false},
      {"the extension has no type", "", true, "", Outcome::NoLabel, "", false},
      {"no such extension", "", false, "", Outcome::KeyInaccessible, "", false},
      {"'!': the existing type", "!DemoFile", true, "txtfile", Outcome::Use, "txtfile", false},
      {"'!': no type yet", "!DemoFile", true, "", Outcome::Use, "DemoFile", true},
      {"'!': key not made", "!DemoFile", false, "", Outcome::KeyInaccessible, "", false},
      {"'!' alone", "!", true, "", Outcome::Use, "", true},  // refused later: not recordable
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    FileTypeChoice choice = choose_file_type(c.stated, c.opened, c.current);
    EXPECT_EQ(choice.outcome, c.outcome);
    EXPECT_STREQ(choice.file_type.text(), c.file_type);
    EXPECT_EQ(choice.own_type, c.own_type);
  }
}

TEST(AssociationRules, BackupNeeded) {
  struct Case {
    const char* label;
    const char* old_value;
    const char* new_value;
    bool backup_exists;
    bool needed;
  };
  const Case cases[] = {
      {"another value", "txtfile", "DemoFile", false, true},
      {"no value", "", "DemoFile", false, false},
      {"blank value", " \t", "DemoFile", false, false},
      {"the same value", "DemoFile", "DemoFile", false, false},
      {"differs only in case", "demofile", "DemoFile", false, false},
      {"a backup is kept", "OldDemoFile", "DemoFile", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(backup_needed(c.old_value, c.new_value, c.backup_exists), c.needed);
  }
}

}  // namespace
}  // namespace install
