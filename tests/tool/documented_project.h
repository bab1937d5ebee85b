// The complete example project of docs/project-file.md, its input files, and the check
// that a JSON report shows every value of it as written.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "tool/json_parse.h"
#include "tool/tool_fixture.h"

namespace qvin_test {

namespace fs = std::filesystem;

inline fs::path source_root() { return fs::path(QVIN_SOURCE_DIR); }

// The ```toml block under "A complete example" in the project file's documentation.
inline std::string documented_project() {
  const std::string doc = read_file(source_root() / "docs" / "project-file.md");
  const size_t heading = doc.find("## A complete example");
  const size_t start = doc.find("```toml\n", heading) + 8;
  return doc.substr(start, doc.find("```", start) - start);
}

// The files the documented project names.
inline void write_documented_inputs(const TempDir& dir) {
  write_file(dir / "stub.exe", qvin_test::make_pe());
  write_file(dir / "hello.exe", qvin_test::make_pe(qvin_test::version_block("1, 2, 0, 0", "040904b0", 0x04B00409u)));
  write_file(dir / "helper.dll", qvin_test::make_pe(qvin_test::version_block("7.0", "040904b0", 0x04B00409u)));
  write_file(dir / "folder.ico", qvin_test::make_ico());
  write_file(dir / "background.bmp", qvin_test::make_bmp());
  write_file(dir / "LICENCE.txt", "The licence. \xE2\x82\xAC 5\r\n");
  write_file(dir / "README.txt", "Read me.\n");
  write_file(dir / "patch.bin", "PATCHED!");
  write_file(dir / "HelloSans.ttf", std::string(3000, 'F'));
  write_file(dir / "notes.txt", "these notes are longer than ten bytes");
  write_file(dir / "docs" / "a.txt", "alpha");
  write_file(dir / "docs" / "deep" / "b.txt", std::string(200000, 'b'));
  write_file(dir / "docs" / "deep" / "skip.bin", "not a text");
  // Found by the docs pattern but left out: an excluded directory, an excluded name, a dot file.
  write_file(dir / "docs" / "drafts" / "c.txt", "draft");
  write_file(dir / "docs" / "deep" / "a-old.txt", "old");
  write_file(dir / "docs" / ".notes.txt", "hidden");
  write_file(dir / "project.toml", documented_project());
}

// Every value of the documented project's settings tables in `json` (the settings
// report), under the same names; files named by a key are shown by size.
inline void expect_shows_documented_project(const toml::table& json, const TempDir& dir) {
  const toml::table project = toml::parse(documented_project());
  // A text as the build reads it: ${name} replaced by the [defines] default.
  const auto defined = [&](std::string text) {
    for (auto&& [name, value] : *project["defines"].as_table()) {
      const std::string ref = "${" + std::string(name.str()) + "}";
      for (size_t at; (at = text.find(ref)) != std::string::npos;) text.replace(at, ref.size(), *value.value<std::string>());
    }
    return text;
  };
  // Keys whose value names a file: the installer holds the file, shown by size.
  const std::map<std::string, std::string> file_keys = {{"desktop_folder_icon", "folder.ico"},
                                                       {"bitmap", "background.bmp"}};
  for (const char* section : {"product", "install", "appearance", "batch", "flags"}) {
    for (auto&& [key, value] : *project[section].as_table()) {
      const std::string where = std::string(section) + "." + std::string(key.str());
      const toml::node* shown = json[section][key.str()].node();
      ASSERT_TRUE(shown) << where << " is missing";
      if (file_keys.count(std::string(key.str()))) {
        const auto size = fs::file_size(dir / file_keys.at(std::string(key.str())));
        const int64_t expected = key.str() == "bitmap" ? static_cast<int64_t>(size) - 14 : static_cast<int64_t>(size);
        EXPECT_EQ(json[section][key.str()]["size"].value<int64_t>(), expected) << where;
      } else if (value.is_date_time()) {
        std::ostringstream text;
        text << *value.as_date_time();
        EXPECT_EQ(shown->value<std::string>(), text.str()) << where;
      } else if (value.is_string()) {
        EXPECT_EQ(shown->value<std::string>(), defined(*value.value<std::string>())) << where;
      } else {
        EXPECT_TRUE(qvin_test::nodes_equal(*shown, value))
            << where << ": " << qvin_test::node_text(*shown) << " vs " << qvin_test::node_text(value);
      }
    }
  }
  EXPECT_EQ(json["archive"]["data_placement"].value<std::string>(), "file");
  EXPECT_EQ(json["archive"]["volume_base_name"].value<std::string>(), "HELLO");
  EXPECT_EQ(json["archive"]["first_volume_id"].value<int64_t>(), 4711);
  EXPECT_EQ(json["archive"]["uninstaller_patch"]["offset"].value<int64_t>(), 64);
  EXPECT_EQ(json["archive"]["uninstaller_patch"]["size"].value<int64_t>(), 8);
  EXPECT_EQ(json["texts"]["licence"][0].value<std::string>(), "The licence. \xE2\x82\xAC 5\r\n");
  EXPECT_EQ(json["texts"]["readme"][0].value<std::string>(), "Read me.\r\n") << "line ends for Windows";
  for (const char* list : {"deletions", "associations", "uninstall_values"}) {
    const auto& written = *project[list].as_array();
    ASSERT_EQ(json[list].as_array()->size(), written.size()) << list;
    for (size_t i = 0; i < written.size(); ++i)
      for (auto&& [key, value] : *written[i].as_table()) {
        const toml::node* shown = json[list][i][key.str()].node();
        ASSERT_TRUE(shown) << list << "." << key.str();
        if (value.is_date())
          EXPECT_EQ(shown->value<std::string>(), "2020-01-01") << list << "." << key.str();
        else
          EXPECT_TRUE(qvin_test::nodes_equal(*shown, value)) << list << "." << key.str();
      }
  }
  ASSERT_EQ(json["languages"].as_array()->size(), 2u);
  EXPECT_EQ(json["languages"][0]["strings"]["0"].value<std::string>(), "Hello 1.2 Setup") << "defined inside a table";
  EXPECT_EQ(json["languages"][1]["name"].value<std::string>(), "Deutsch");
  EXPECT_EQ(json["languages"][1]["strings"]["49"].value<std::string>(), "Abbrechen");

}

}  // namespace qvin_test
