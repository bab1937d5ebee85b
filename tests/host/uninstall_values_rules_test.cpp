// The uninstall key's values by settings: the full table of a typical installation, then
// the rows that depend on settings one by one.
#include <gtest/gtest.h>

#include <string>

#include "install/uninstall_values_rules.h"

namespace install {
namespace {

// Expands %InstallDir% only; enough to see that the extra values are expanded.
class FakeEnvironment final : public archive::Environment {
 public:
  core::String windows_directory() override { return "C:\\Windows"; }
  core::String program_files_directory() override { return "C:\\Program Files"; }
  core::String common_files_directory() override { return "C:\\Program Files\\Common Files"; }
  void expand_directory_variables(core::String& text) override {
    text.replace("%InstallDir%", "C:\\Program Files\\Demo", core::search::IgnoreCase);
  }
  void create_directories(const core::String&) override {}
};

archive::Settings demo_settings() {
  archive::Settings s;
  s.flags = archive::flag::UninstallSupport | archive::flag::UninstallAutomatic;
  s.product_name = "Demo \"Quoted\" \xA9";
  s.uninstall_key = "Demo";
  s.product_version = "2.5";
  s.publisher = "Example";
  s.product_registry = "Example\\Demo";
  s.start_menu_folder = "Example\\Demo";
  s.uninstall_subdir = "Uninstall";
  s.uninstall_batch_1 = "echo one";
  s.shortcut_mode = 1;
  s.title_color = 0xFFFFFF;
  s.top_color = 0xFF0000;
  s.bottom_color = 0x000080;
  s.title_shadow = 2;
  s.title_position = 1;
  s.title_font = "Arial";
  return s;
}

UninstallRunFacts demo_facts() {
  UninstallRunFacts f;
  f.uninstaller_path = "C:\\Program Files\\Demo\\Uninstall\\Uninstall.exe";
  f.install_source = "D:\\setup.exe";
  f.install_directory = "C:\\Program Files\\Demo";
  f.shared_directory = "";
  f.font_list = "\"Demo Sans\" \"DEMO.TTF\" ";
  f.shared_files = "\"C:\\Windows\\System32\\x.dll\"";
  f.display_title = "Demo";
  f.install_date = "12/10/26 4:30:00pm";
  return f;
}

// The table as lines "name=S:text", "name=E:text", "name=D:number", "name=delete".
std::string table_of(const core::Vector<UninstallValue>& values) {
  std::string out;
  for (const UninstallValue& v : values) {
    out += std::string(v.name.text()) + "=";
    switch (v.kind) {
      case UninstallValue::Kind::Text: out += std::string("S:") + v.text.text(); break;
      case UninstallValue::Kind::ExpandableText: out += std::string("E:") + v.text.text(); break;
      case UninstallValue::Kind::Number: out += "D:" + std::to_string(v.number); break;
      case UninstallValue::Kind::Delete: out += "delete"; break;
    }
    out += "\n";
  }
  return out;
}

// The row of one value, or "" when the table has none.
std::string row_of(const core::Vector<UninstallValue>& values, const char* name) {
  std::string table = table_of(values);
  std::string key = std::string("\n") + name + "=";
  table.insert(0, "\n");
  size_t at = table.find(key);
  if (at == std::string::npos) return "";
  size_t end = table.find('\n', at + 1);
  return table.substr(at + 1, end - at - 1);
}

TEST(UninstallValuesRules, TableOfAnInstallation) {
  archive::Settings s = demo_settings();
  archive::UninstallData help;
  help.name = "HelpLink";
  help.data = "%InstallDir%\\help.html";
  s.uninstall_values.append(help);
  archive::UninstallData size;
  size.name = "EstimatedSize";
  size.type = archive::uninstall_value_type::Number;
  size.data = "1,024";
  s.uninstall_values.append(size);
  archive::UninstallData readme;
  readme.name = "Readme";
  readme.type = archive::uninstall_value_type::ExpandableText;
  readme.data = "%InstallDir%\\readme.txt";
  s.uninstall_values.append(readme);
  archive::UninstallData gone;
  gone.name = "Comments";
  s.uninstall_values.append(gone);
  FakeEnvironment environment;
  EXPECT_EQ(table_of(uninstall_values(s, demo_facts(), environment)),
            "UninstallString=S:\"C:\\Program Files\\Demo\\Uninstall\\Uninstall.exe\" /u:\"Demo\"\n"
            "QuietUninstallString=S:\"C:\\Program Files\\Demo\\Uninstall\\Uninstall.exe\" /a /u:\"Demo\"\n"
            "DisplayName=S:Demo \"Quoted\" \xA9\n"
            "InstallSource=S:D:\\setup.exe\n"
            "DisplayVersion=S:2.5\n"
            "Publisher=S:Example\n"
            "VersionMajor=D:2\n"
            "VersionMinor=D:5\n"
            "ProductRegistry=S:Example\\Demo\n"
            "ProductStartMenu=S:Example\\Demo\n"
            "SharedPath=delete\n"
            "ProductFonts=S:\"Demo Sans\" \"DEMO.TTF\" \n"
            "ProductFlags=S:516\n"
            "UninstallBatch1=S:echo one\n"
            "UninstallBatch2=delete\n"
            "SharedFiles=S:\"C:\\Windows\\System32\\x.dll\"\n"
            "UninstallSubdir=S:Uninstall\n"
            "ShortcutMode=D:1\n"
            "DisplayTitle=S:Demo\n"
            "TitleColor=D:16777215\n"
            "TopColor=D:16711680\n"
            "BottomColor=D:128\n"
            "MonoColor=D:0\n"
            "TitleShadow=D:2\n"
            "TitlePosition=D:1\n"
            "TitleFont=S:Arial\n"
            "HelpLink=S:C:\\Program Files\\Demo\\help.html\n"
            "EstimatedSize=D:1024\n"
            "Readme=E:C:\\Program Files\\Demo\\readme.txt\n"
            "Comments=delete\n"
            "InstallLocation=S:C:\\Program Files\\Demo\n"
            "InstallDate=S:12/10/26 4:30:00pm\n");
}

TEST(UninstallValuesRules, RowsBySettings) {
  struct Case {
    const char* label;
    void (*change)(archive::Settings&);
    const char* name;
    const char* row;
  };
  const Case cases[] = {
      {"no version", [](archive::Settings& s) { s.product_version = ""; }, "DisplayVersion", "DisplayVersion=delete"},
      {"no version: no major", [](archive::Settings& s) { s.product_version = ""; }, "VersionMajor", ""},
      {"version without a dot", [](archive::Settings& s) { s.product_version = "7"; }, "VersionMinor", ""},
      {"version 1.", [](archive::Settings& s) { s.product_version = "1."; }, "VersionMinor", "VersionMinor=D:0"},
      {"version 3.10b", [](archive::Settings& s) { s.product_version = "3.10b"; }, "VersionMinor", "VersionMinor=D:10"},
      {"version v4.2", [](archive::Settings& s) { s.product_version = "v4.2"; }, "VersionMajor", "VersionMajor=D:4"},
      {"no publisher", [](archive::Settings& s) { s.publisher = ""; }, "Publisher", "Publisher=delete"},
      {"current user", [](archive::Settings& s) { s.shortcut_mode = 0; }, "ShortcutMode", "ShortcutMode=delete"},
      {"equal colours: no bottom", [](archive::Settings& s) { s.bottom_color = s.top_color; }, "BottomColor",
       "BottomColor=delete"},
      {"equal colours: mono", [](archive::Settings& s) { s.bottom_color = s.top_color; }, "MonoColor", "MonoColor=D:1"},
      {"no bitmap: no size", [](archive::Settings&) {}, "BitmapSize", ""},
      {"bitmap: size", [](archive::Settings& s) {
         s.flags |= archive::flag::InstallBackgroundBitmap;
         s.bitmap_size = 80;
       }, "BitmapSize", "BitmapSize=D:80"},
      {"bitmap: stretch", [](archive::Settings& s) {
         s.flags |= archive::flag::InstallBackgroundBitmap;
         s.stretch_mode = 2;
       }, "StretchMode", "StretchMode=D:2"},
      {"flag word 1 top bit", [](archive::Settings& s) { s.flags = 0x80000004u; }, "ProductFlags",
       "ProductFlags=S:2147483652"},
      {"both words", [](archive::Settings& s) {
         s.flags = 0x80000004u;
         s.flags2 = 0x40;
       }, "ProductFlags", "ProductFlags=S:277025390596"},
      {"negative colour", [](archive::Settings& s) { s.title_color = -1; }, "TitleColor", "TitleColor=D:4294967295"},
      {"key name with blanks", [](archive::Settings& s) { s.uninstall_key = "Demo Suite 2"; }, "UninstallString",
       "UninstallString=S:\"C:\\Program Files\\Demo\\Uninstall\\Uninstall.exe\" /u:\"Demo Suite 2\""},
  };
  FakeEnvironment environment;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    archive::Settings s = demo_settings();
    c.change(s);
    EXPECT_EQ(row_of(uninstall_values(s, demo_facts(), environment), c.name), c.row);
  }
}

TEST(UninstallValuesRules, EmptyRunFactsDeleteTheirValues) {
  UninstallRunFacts f = demo_facts();
  f.font_list = "";
  f.shared_files = "";
  f.shared_directory = "C:\\Program Files\\Common Files\\Example";
  FakeEnvironment environment;
  core::Vector<UninstallValue> values = uninstall_values(demo_settings(), f, environment);
  EXPECT_EQ(row_of(values, "ProductFonts"), "ProductFonts=delete");
  EXPECT_EQ(row_of(values, "SharedFiles"), "SharedFiles=delete");
  EXPECT_EQ(row_of(values, "SharedPath"), "SharedPath=S:C:\\Program Files\\Common Files\\Example");
}

}  // namespace
}  // namespace install
