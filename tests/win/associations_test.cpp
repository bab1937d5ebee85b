// File associations below HKEY_CLASSES_ROOT (in Wine: HKLM\Software\Classes): every way a
// record finds its file type, the backups of the values it overwrites, a reinstallation
// that must keep the first backup, and the records and messages for the uninstaller.
#include "install/associations.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "archive/file_association.h"
#include "tests/win/phase_context.h"

namespace install {
namespace {

using test_support::registry_value;

constexpr const char* kBackup = "qvin Test Product Backup";
const char* const kKeys[] = {".qvintesta", "qvin.TestA",  "qvin.TestA2", ".qvintestb", "qvin.TestBTheirs",
                             ".qvintestc", "qvin.TestC",  ".qvintestd", ".qvinteste", ".qvintestf",
                             ".qvintestg", "qvin.TestG",  ".qvintesth", "qvin.TestH"};

void set_default(const char* key_path, const char* value) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, key_path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  if (value != nullptr) RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), lstrlenA(value) + 1);
  RegCloseKey(key);
}

std::string value_of(const std::string& key, const char* name = "") {
  return registry_value(HKEY_CLASSES_ROOT, key, name);
}

// A value below HKEY_CLASSES_ROOT as it must be ("<no key>", "<no value>" for none).
struct Expected {
  const char* key;
  const char* name;
  const char* value;
};

void expect_values(std::initializer_list<Expected> cases) {
  for (const Expected& c : cases) EXPECT_EQ(value_of(c.key, c.name), c.value) << c.key << " / " << c.name;
}

archive::FileAssociation association(const char* extension, const char* file_type, const char* verb,
                                     const char* command, const char* description = "", const char* icon = "",
                                     const char* language = "", int32_t flags = 0) {
  archive::FileAssociation a;
  a.flags = flags;
  a.extension = extension;
  a.file_type = file_type;
  a.description = description;
  a.verb = verb;
  a.verb_text = "&Open with qvin";
  a.command = command;
  a.language = language;
  a.icon = icon;
  return a;
}

class AssociationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clean();
    phase.settings.product_name = "qvin Test Product";
    phase.settings.languages.reset(2, 1);
    phase.settings.languages.set_language_name(0, "English");
    phase.settings.languages.set_language_name(1, "Deutsch");
    phase.dirs.install_dir = "C:\\qvin Test";
  }
  void TearDown() override { clean(); }
  static void clean() {
    for (const char* key : kKeys) RegDeleteTreeA(HKEY_CLASSES_ROOT, key);
  }
  core::String apply(std::initializer_list<archive::FileAssociation> list) {
    phase.settings.file_associations.clear();
    for (const archive::FileAssociation& a : list) phase.settings.file_associations.append(a);
    return apply_associations(phase.context);
  }

  test_support::PhaseContext phase;
};

TEST_F(AssociationsTest, WritesEveryPartAndSavesWhatWasThere) {
  set_default(".qvintesta", "qvin.UsersOwn");
  set_default("qvin.TestA\\shell", "edit");
  set_default("qvin.TestA\\shell\\open\\command", "notepad.exe \"%1\"");
  core::String records = apply({association("qvintesta", "qvin.TestA", "open", "\"%InstallDir%\\a.exe\" \"%1\"",
                                            "Test A document", "%InstallDir%\\a.exe,1", "",
                                            archive::association_flag::DefaultVerb)});
  EXPECT_STREQ(records.text(), ".qvintesta~!~qvin.TestA~!~open\r\n");
  EXPECT_STREQ(phase.records.error_report.text(), "");
  expect_values({
      {".qvintesta", "", "qvin.TestA"},
      {".qvintesta", kBackup, "qvin.UsersOwn"},
      {"qvin.TestA", "", "Test A document"},
      {"qvin.TestA", kBackup, "<no value>"},  // there was no description
      {"qvin.TestA\\DefaultIcon", "", "C:\\qvin Test\\a.exe,1"},
      {"qvin.TestA\\shell", "", "open"},
      {"qvin.TestA\\shell", kBackup, "edit"},
      {"qvin.TestA\\shell\\open", "", "&Open with qvin"},
      {"qvin.TestA\\shell\\open\\command", "", "\"C:\\qvin Test\\a.exe\" \"%1\""},
      {"qvin.TestA\\shell\\open\\command", kBackup, "notepad.exe \"%1\""},
  });

  // A later version with another type and command: the backups still hold what was there
  // before the product came, not what its first version wrote.
  records = apply({association(".qvintesta", "qvin.TestA2", "open", "b.exe \"%1\"")});
  EXPECT_STREQ(records.text(), ".qvintesta~!~qvin.TestA2~!~open\r\n");
  EXPECT_EQ(value_of(".qvintesta"), "qvin.TestA2");
  EXPECT_EQ(value_of(".qvintesta", kBackup), "qvin.UsersOwn");
  records = apply({association(".qvintesta", "qvin.TestA", "open", "c.exe \"%1\"")});
  EXPECT_EQ(value_of("qvin.TestA\\shell\\open\\command"), "c.exe \"%1\"");
  EXPECT_EQ(value_of("qvin.TestA\\shell\\open\\command", kBackup), "notepad.exe \"%1\"");
  EXPECT_EQ(value_of(".qvintesta", kBackup), "qvin.UsersOwn");
  EXPECT_STREQ(phase.records.error_report.text(), "");
}

TEST_F(AssociationsTest, FindsTheFileTypeOrSaysWhyNot) {
  set_default(".qvintestb", "qvin.TestBTheirs");
  set_default("qvin.TestBTheirs", "Their description");
  set_default(".qvinteste", nullptr);  // an extension without a type
  core::String records = apply({
      association(".qvintestb", "!qvin.TestB", "view", "v.exe", "Ours"),  // the existing type
      association(".qvintestc", "!qvin.TestC", "view", "v.exe", "Test C"),  // no type yet: its own
      association(".qvintestd", "", "view", "v.exe"),                      // no such extension
      association(".qvinteste", "", "view", "v.exe"),                      // no type to take
      association(".qvintestf", "!", "view", "v.exe"),                     // names no type at all
      association(".qvintestg", "qvin.TestG", "view", "v.exe", "", "", "Deutsch"),  // another language
      association(".qvintesth", "qvin.TestH", "view", "%SharedDir%\\h.exe"),  // no shared directory
  });
  EXPECT_STREQ(records.text(),
               ".qvintestb~!~qvin.TestBTheirs~!~view\r\n"
               ".qvintestc~!~qvin.TestC~!~view\r\n"
               ".qvintesth~!~qvin.TestH~!~view\r\n");
  EXPECT_STREQ(phase.records.error_report.text(),
               "Association failed/key inaccessible:  \".qvintestd\".\r\n\r\n"
               "Association failed/no label:  \".qvinteste\".\r\n\r\n"
               "Failed to associate file type:  \".qvintestf\".\r\n\r\n"
               "Failed to associate file type:  \".qvintesth\".\r\n\r\n");
  expect_values({
      {".qvintestb", "", "qvin.TestBTheirs"},
      {".qvintestb", kBackup, "<no value>"},
      {"qvin.TestBTheirs", "", "Their description"},  // not the record's
      {"qvin.TestBTheirs\\shell\\view\\command", "", "v.exe"},
      {".qvintestc", "", "qvin.TestC"},
      {"qvin.TestC", "", "Test C"},
      {"qvin.TestC\\shell\\view\\command", "", "v.exe"},
      {".qvintestd", "", "<no key>"},
      {".qvinteste", "", "<no value>"},
      {".qvintestg", "", "<no key>"},
      {"qvin.TestG", "", "<no key>"},
      {"qvin.TestH\\shell\\view\\command", "", "<no key>"},
      {"shell", "", "<no key>"},  // nothing was written to the root of the classes
  });
}

}  // namespace
}  // namespace install
