// RegistryKey against Wine's registry, below a key of its own that each test removes.
#include "core/win/registry.h"

#include <gtest/gtest.h>

#include <string>

#include "core/win/windows.h"

namespace core {
namespace {

using namespace registry_option;

std::string bytes_of(const String& text) { return std::string(text.text(), static_cast<size_t>(text.length())); }
String string_of(const std::string& bytes) {
  String text;
  text.append(bytes.data(), static_cast<int32_t>(bytes.size()));
  return text;
}

bool raw_key_exists(HKEY root, const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// Every test works below HKCU\Software\qvin-test-registry-<test name>, removed afterwards.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    name_ = std::string("qvin-test-registry-") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    path_ = "Software\\" + name_;
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
  }
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
  }
  // The test's key, opened (created) as the object's current key.
  void open_test_key(RegistryKey& key) { ASSERT_EQ(key.open_software(name_.c_str(), true), KeyOpenResult::Created); }
  // Stored type and bytes of a value, read without the code under test.
  bool raw_value(const char* value, DWORD& type, std::string& data) {
    BYTE buffer[9000];
    DWORD size = sizeof(buffer);
    if (RegGetValueA(HKEY_CURRENT_USER, path_.c_str(), value, RRF_RT_ANY | RRF_NOEXPAND, &type, buffer, &size) !=
        ERROR_SUCCESS) {
      return false;
    }
    data.assign(reinterpret_cast<char*>(buffer), size);
    return true;
  }

  std::string name_;
  std::string path_;
};

TEST_F(RegistryTest, OpensPushAndClosesPopInPairs) {
  RegistryKey key;
  EXPECT_FALSE(key.is_open());
  std::string missing = name_ + "\\missing";
  EXPECT_EQ(key.open_software(missing.c_str(), true, ExistingOnly), KeyOpenResult::Failed);
  EXPECT_EQ(key.depth(), 0);

  open_test_key(key);
  HKEY first = key.handle();
  // A failed open leaves the current key usable.
  EXPECT_EQ(key.open_sub("missing", ExistingOnly), KeyOpenResult::Failed);
  EXPECT_EQ(key.handle(), first);
  EXPECT_TRUE(key.write_int("still", 1));

  EXPECT_EQ(key.open_sub("a"), KeyOpenResult::Created);
  EXPECT_EQ(key.open_sub("b"), KeyOpenResult::Created);
  EXPECT_EQ(key.depth(), 3);
  key.close();
  key.close();
  EXPECT_EQ(key.handle(), first);
  EXPECT_EQ(key.read_int("still"), 1);

  EXPECT_EQ(key.open_sub("a"), KeyOpenResult::Opened);
  EXPECT_EQ(key.open_sub("b", ExistingOnly), KeyOpenResult::Opened);
  key.close_all();
  EXPECT_FALSE(key.is_open());
  EXPECT_EQ(key.depth(), 0);
  EXPECT_EQ(key.open_sub("a"), KeyOpenResult::Failed);

  RegistryKey again;
  EXPECT_EQ(again.open_software(name_.c_str(), true), KeyOpenResult::Opened);
  EXPECT_TRUE(RegistryKey::software_key_exists(name_.c_str(), true));
  EXPECT_TRUE(RegistryKey::software_key_exists((name_ + "\\a\\b").c_str(), true));
  EXPECT_TRUE(RegistryKey::software_key_exists("", true));
  EXPECT_FALSE(RegistryKey::software_key_exists(missing.c_str(), true));
  EXPECT_FALSE(RegistryKey::software_key_exists(nullptr, true));
}

TEST_F(RegistryTest, TextsReadBackExactlyAsWritten) {
  struct Case {
    const char* label;
    std::string text;
    uint32_t options;
    DWORD stored_type;
  };
  const Case cases[] = {
      {"empty", "", 0, REG_SZ},
      {"one character", "a", 0, REG_SZ},
      {"fills the first buffer with its zero", std::string(31, 'x'), 0, REG_SZ},
      {"one past the first buffer", std::string(32, 'y'), 0, REG_SZ},
      {"forty characters, second query", "C:\\Program Files\\Some Publisher\\Product", 0, REG_SZ},
      {"long", std::string(5000, 'L'), 0, REG_SZ},
      {"embedded zero", std::string("left\0right", 10), 0, REG_SZ},
      {"ends with a zero byte", std::string("abc\0", 4), 0, REG_SZ},
      {"code page characters", "caf\xe9 \xfc", 0, REG_SZ},
      {"expandable, not expanded", "%SystemRoot%\\system32", Expandable, REG_EXPAND_SZ},
      {"long expandable", std::string(100, 'e') + "%TEMP%", Expandable, REG_EXPAND_SZ},
      {"binary bytes", std::string("\0\xff\x01\x80 z", 6), Binary, REG_BINARY},
      {"long binary", std::string(300, '\x7f'), Binary, REG_BINARY},
      {"binary wins over expandable", "bin", Binary | Expandable, REG_BINARY},
  };
  RegistryKey key;
  open_test_key(key);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ASSERT_TRUE(key.write_string("value", string_of(c.text), c.options));
    TypedValue value;
    ASSERT_TRUE(key.read_value("value", value));
    EXPECT_EQ(value.kind(), ValueKind::Text);
    EXPECT_EQ(bytes_of(value.text()), c.text);
    EXPECT_EQ(bytes_of(key.read_text("value", "fallback")), c.text);

    // What other programs see: the text with one terminating zero, binary data as is.
    DWORD type = 0;
    std::string stored;
    ASSERT_TRUE(raw_value("value", type, stored));
    EXPECT_EQ(type, c.stored_type);
    EXPECT_EQ(stored, c.stored_type == REG_BINARY ? c.text : c.text + std::string(1, '\0'));
  }
  // write_text takes the text up to its zero.
  ASSERT_TRUE(key.write_text("plain", "plain text"));
  EXPECT_EQ(bytes_of(key.read_text("plain")), "plain text");
}

TEST_F(RegistryTest, ValuesConvertOnRead) {
  RegistryKey key;
  open_test_key(key);
  ASSERT_TRUE(key.write_int("dword", 42));
  ASSERT_TRUE(key.write_int("negative", -7));
  ASSERT_TRUE(key.write_int("zero", 0));
  ASSERT_TRUE(key.write_text("twelve", "12"));
  ASSERT_TRUE(key.write_text("grouped", "Version 1,234"));
  ASSERT_TRUE(key.write_text("no", "No"));
  ASSERT_TRUE(key.write_text("two", "2"));
  ASSERT_TRUE(key.write_bool("yes", true));
  uint64_t qword = 5;
  ASSERT_EQ(RegSetValueExA(key.handle(), "qword", 0, REG_QWORD, reinterpret_cast<BYTE*>(&qword), 8), ERROR_SUCCESS);
  // Texts stored by other programs: one with its zero (expandable), one without any.
  const char expand[] = "%TEMP%\\x";
  ASSERT_EQ(RegSetValueExA(key.handle(), "foreign expandable", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(expand),
                           sizeof(expand)),
            ERROR_SUCCESS);
  const char unterminated[] = "abcd";
  ASSERT_EQ(RegSetValueExA(key.handle(), "foreign unterminated", 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(unterminated), 3),
            ERROR_SUCCESS);
  uint16_t half = 3;
  ASSERT_EQ(RegSetValueExA(key.handle(), "short dword", 0, REG_DWORD, reinterpret_cast<BYTE*>(&half), 2),
            ERROR_SUCCESS);

  struct Case {
    const char* name;
    bool readable;
    const char* text;
    int32_t number;
    bool flag;
  };
  // Unreadable values give the fallbacks "fallback", -1 and true.
  const Case cases[] = {
      {"dword", true, "42", 42, true},
      {"negative", true, "-7", -7, true},
      {"zero", true, "0", 0, false},
      {"twelve", true, "12", 12, true},
      {"grouped", true, "Version 1,234", 1234, true},
      {"no", true, "No", 0, false},
      {"two", true, "2", 2, true},
      {"yes", true, "1", 1, true},
      {"foreign expandable", true, "%TEMP%\\x", 0, true},
      {"foreign unterminated", true, "abc", 0, true},
      {"missing", false, "fallback", -1, true},
      {"qword", false, "fallback", -1, true},
      {"short dword", false, "fallback", -1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TypedValue value;
    EXPECT_EQ(key.read_value(c.name, value), c.readable);
    EXPECT_EQ(bytes_of(key.read_text(c.name, "fallback")), c.text);
    EXPECT_EQ(key.read_int(c.name, -1), c.number);
    EXPECT_EQ(key.read_bool(c.name, true), c.flag);
    EXPECT_EQ(key.value_exists(c.name), std::string(c.name) != "missing");
  }
  TypedValue dword;
  ASSERT_TRUE(key.read_value("dword", dword));
  EXPECT_EQ(dword.kind(), ValueKind::Int32);
}

TEST_F(RegistryTest, WritesOfTypedValuesAndTheDeleteOption) {
  RegistryKey key;
  EXPECT_FALSE(key.write_int("closed", 1));
  EXPECT_FALSE(key.write_text("closed", "x"));
  EXPECT_FALSE(key.write_value("closed", TypedValue::from_int32(1)));
  EXPECT_EQ(key.delete_value("closed"), KeyDeleteResult::NoKey);
  open_test_key(key);

  DateTime when;
  when.date.set_date(3, 5, 2006);
  when.time.hour = 14;
  when.time.minute = 7;
  when.time.second = 9;
  struct Case {
    const char* label;
    TypedValue value;
    uint32_t options;
    bool stored;
    DWORD type;
    std::string data;
  };
  const Case cases[] = {
      {"int32", TypedValue::from_int32(-2), 0, true, REG_DWORD, std::string("\xfe\xff\xff\xff", 4)},
      {"uint64 keeps its low 32 bits", TypedValue::from_integer(ValueKind::UInt64, 0x100000005), 0, true, REG_DWORD,
       std::string("\x05\0\0\0", 4)},
      {"boolean", TypedValue::from_bool(true), 0, true, REG_DWORD, std::string("\x01\0\0\0", 4)},
      {"real as text", TypedValue::from_real(1.5), 0, true, REG_SZ, std::string("1.5\0", 4)},
      {"text expandable", TypedValue::from_text("%TEMP%"), Expandable, true, REG_EXPAND_SZ,
       std::string("%TEMP%\0", 7)},
      {"date and time", TypedValue::from_date(ValueKind::DateTime, when), 0, true, REG_SZ,
       std::string("3/5/2006 14:07:09\0", 18)},
      {"zero integer kept without the option", TypedValue::from_int32(0), 0, true, REG_DWORD,
       std::string(4, '\0')},
      {"empty value deletes", TypedValue(), 0, false, 0, ""},
      {"zero deletes with the option", TypedValue::from_int32(0), DeleteWhenEmpty, false, 0, ""},
      {"empty text deletes with the option", TypedValue::from_text(""), DeleteWhenEmpty, false, 0, ""},
      {"unset date deletes with the option", TypedValue::from_date(ValueKind::Date, DateTime()), DeleteWhenEmpty,
       false, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ASSERT_TRUE(key.write_text("v", "previous"));
    EXPECT_TRUE(key.write_value("v", c.value, c.options));
    DWORD type = 0;
    std::string data;
    EXPECT_EQ(raw_value("v", type, data), c.stored);
    if (c.stored) {
      EXPECT_EQ(type, c.type);
      EXPECT_EQ(data, c.data);
    }
  }

  // The typed writers with the delete option: an int reports success either way, a text
  // reports whether there was a value to delete.
  ASSERT_TRUE(key.write_int("n", 5));
  EXPECT_TRUE(key.write_int("n", 0, DeleteWhenEmpty));
  EXPECT_FALSE(key.value_exists("n"));
  EXPECT_TRUE(key.write_int("n", 0, DeleteWhenEmpty));
  ASSERT_TRUE(key.write_text("t", "x"));
  EXPECT_TRUE(key.write_string("t", String(), DeleteWhenEmpty));
  EXPECT_FALSE(key.value_exists("t"));
  EXPECT_FALSE(key.write_string("t", String(), DeleteWhenEmpty));
  EXPECT_FALSE(key.write_text("t", nullptr, DeleteWhenEmpty));

  EXPECT_EQ(key.delete_value("missing"), KeyDeleteResult::Refused);
  ASSERT_TRUE(key.write_int("d", 1));
  EXPECT_EQ(key.delete_value("d"), KeyDeleteResult::Deleted);
}

TEST_F(RegistryTest, DeletesWholeTreesAndReportsEachCode) {
  RegistryKey key;
  EXPECT_EQ(key.delete_key("x"), KeyDeleteResult::NoKey);
  open_test_key(key);
  // tree\{a\{a1\{deep}, a2}, b} with values on several levels, and a 230-character name
  // (longer than old enumeration buffers allowed).
  std::string long_name(230, 'k');
  const char* paths[] = {"tree\\a\\a1\\deep", "tree\\a\\a2", "tree\\b"};
  for (const char* path : paths) {
    ASSERT_EQ(key.open_sub(path), KeyOpenResult::Created);
    ASSERT_TRUE(key.write_text("value", path));
    key.close();
  }
  ASSERT_EQ(key.open_sub(("tree\\" + long_name + "\\below").c_str()), KeyOpenResult::Created);
  key.close();
  ASSERT_EQ(key.open_sub("lonely"), KeyOpenResult::Created);
  ASSERT_TRUE(key.write_int("v", 1));
  key.close();
  ASSERT_EQ(key.open_sub("empty"), KeyOpenResult::Created);
  key.close();

  ASSERT_EQ(key.open_sub("tree"), KeyOpenResult::Opened);
  Vector<String> names;
  SetLastError(1234);
  int32_t listed = key.list_subkeys(names);
  DWORD error = GetLastError();
  EXPECT_EQ(listed, 3);
  EXPECT_EQ(error, 0u);
  EXPECT_TRUE(key.has_subkeys());
  EXPECT_FALSE(key.is_empty());
  key.close();

  struct Case {
    const char* label;
    std::string name;
    uint32_t options;
    KeyDeleteResult result;
    bool gone;
  };
  const Case cases[] = {
      {"a key with a value is not empty", "lonely", OnlyIfEmpty, KeyDeleteResult::NotEmpty, false},
      {"a tree is not empty", "tree", OnlyIfEmpty, KeyDeleteResult::NotEmpty, false},
      {"an empty key with the option", "empty", OnlyIfEmpty, KeyDeleteResult::Deleted, true},
      {"the whole tree", "tree", 0, KeyDeleteResult::Deleted, true},
      {"a key with a value", "lonely", 0, KeyDeleteResult::Deleted, true},
      {"a missing key", "missing", 0, KeyDeleteResult::Refused, true},
      {"no name", "", 0, KeyDeleteResult::NoKey, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(key.delete_key(c.name.c_str(), c.options), c.result);
    if (!c.name.empty()) {
      EXPECT_EQ(!raw_key_exists(HKEY_CURRENT_USER, (path_ + "\\" + c.name).c_str()), c.gone);
    }
  }
  EXPECT_EQ(key.depth(), 1);
  EXPECT_TRUE(key.is_empty());
  EXPECT_FALSE(key.has_subkeys());
}

TEST_F(RegistryTest, PathOperationsBelowARoot) {
  RegistryKey setup;
  open_test_key(setup);
  ASSERT_EQ(setup.open_sub("dir\\sub"), KeyOpenResult::Created);
  ASSERT_TRUE(setup.write_text("name", "value"));
  ASSERT_TRUE(setup.write_text("", "default value"));
  setup.close_all();

  struct Case {
    const char* label;
    std::string path;
    uint32_t options;
    const char* expected;
  };
  const std::string base = path_ + "\\dir\\sub";
  const Case cases[] = {
      {"a value", base + "\\name", 0, "value"},
      {"the default value", base + "\\", 0, "default value"},
      {"a missing value gives empty", base + "\\other", ExistingOnly, ""},
      {"a missing key gives the fallback", path_ + "\\nokey\\name", ExistingOnly, "fallback"},
      {"an empty path gives the fallback", "", 0, "fallback"},
  };
  RegistryKey key;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(bytes_of(key.read_text_at(HKEY_CURRENT_USER, c.path.c_str(), "fallback", c.options)), c.expected);
    EXPECT_EQ(key.depth(), 0);
  }
  // Without ExistingOnly the key is created on the way, and the missing value reads as "".
  EXPECT_EQ(bytes_of(key.read_text_at(HKEY_CURRENT_USER, (path_ + "\\made\\name").c_str(), "fallback")), "");
  EXPECT_TRUE(raw_key_exists(HKEY_CURRENT_USER, (path_ + "\\made").c_str()));

  std::string dir = name_ + "\\dir";
  EXPECT_EQ(key.delete_key_at(HKEY_CURRENT_USER, (path_ + "\\nokey\\sub").c_str()), KeyDeleteResult::NoKey);
  EXPECT_EQ(key.delete_software_subkey((name_ + "\\nokey").c_str(), "sub", true), KeyDeleteResult::NoKey);
  EXPECT_EQ(key.delete_software_subkey(dir.c_str(), "sub", true, OnlyIfEmpty), KeyDeleteResult::NotEmpty);
  EXPECT_EQ(key.delete_software_subkey(dir.c_str(), "sub", true), KeyDeleteResult::Deleted);
  EXPECT_EQ(key.delete_key_at(HKEY_CURRENT_USER, (path_ + "\\made").c_str()), KeyDeleteResult::Deleted);
  EXPECT_EQ(key.delete_software_key(name_.c_str(), true), KeyDeleteResult::Deleted);
  EXPECT_FALSE(raw_key_exists(HKEY_CURRENT_USER, path_.c_str()));
  EXPECT_EQ(key.depth(), 0);
}

}  // namespace
}  // namespace core
