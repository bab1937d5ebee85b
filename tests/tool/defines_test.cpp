// Defines: ${name} in the project file's texts, filled from -D values and [defines].
#include <gtest/gtest.h>

#include "qvin/project/errors.h"
#include "qvin/project/project_file.h"
#include "qvin/project/text_encoding.h"
#include "tool/tool_fixture.h"

namespace {

using qvin_test::TempDir;

const char* const kFiles = "[[files]]\nsource = \"${dir}/*.exe\"\n";

TEST(Defines, FillTextsFromTheCommandLineElseTheDefaults) {
  TempDir dir;
  const std::string text = std::string("[defines]\nversion = \"0.0-dev\"\ndir = \"bin\"\n") +
                           "[product]\nname = \"Hello ${version}\"\nversion = \"${version}\"\n"
                           "publisher = \"$${version} costs $5 ${dir}${dir}\"\n" + kFiles +
                           "[[languages]]\nname = \"English\"\nstrings = { 0 = \"Setup ${version}\" }\n";
  struct Case {
    const char* label;
    qvin::Defines defines;
    const char* version;
  };
  const Case cases[] = {
      {"the default", {}, "0.0-dev"},
      {"-D wins", {{"version", "1.2.3"}}, "1.2.3"},
      {"a value is not expanded again", {{"version", "${dir}"}}, "${dir}"},
  };
  for (const auto& c : cases) {
    const qvin::Project p = qvin::parse_project(text, dir / "p.toml", c.defines);
    const std::string version = c.version;
    EXPECT_EQ(qvin::from_core(p.settings.product_version), version) << c.label;
    EXPECT_EQ(qvin::from_core(p.settings.stored_product_name), "Hello " + version) << c.label;
    EXPECT_EQ(qvin::from_core(p.settings.languages.stored(0, 0)), "Setup " + version) << c.label << ": inside an inline table";
    EXPECT_EQ(p.settings.publisher, "${version} costs $5 binbin") << c.label << ": the escape, a lone $";
    EXPECT_EQ(p.files[0].sources[0], "bin/*.exe") << c.label;
  }
}

TEST(Defines, MistakesAreNamedAtTheirPlace) {
  TempDir dir;
  const std::string product = "[product]\nname = \"a\"\n";
  struct Case {
    const char* label;
    std::string text;
    qvin::Defines defines;
    const char* message;
  };
  const Case cases[] = {
      {"undefined", product + "version = \"${version}\"\n" + kFiles, {{"dir", "x"}},
       "p.toml:3:11: product.version: ${version} is not defined; give qvin build -D version=VALUE"},
      {"undefined in a list of tables", product + kFiles, {},
       "p.toml:4:10: files[0].source: ${dir} is not defined"},
      {"unclosed", product + "version = \"${version\"\n" + kFiles, {{"dir", "x"}},
       "p.toml:3:11: product.version: \"${version\" is not a reference ${name}"},
      {"bad name", product + "version = \"${1x}\"\n" + kFiles, {{"dir", "x"}},
       "p.toml:3:11: product.version: \"${1x}\" is not a reference ${name}"},
      {"unused default", "[defines]\ndir = \"x\"\nspare = \"y\"\n" + product + kFiles, {},
       "p.toml:3:1: defines.spare: no text uses ${spare}"},
      {"unused -D", product + kFiles, {{"dir", "x"}, {"vesion", "1.0"}},
       "p.toml: -D vesion: no text of the project uses ${vesion}"},
      {"a default that is not a text", "[defines]\ndir = 3\n" + product + kFiles, {},
       "p.toml:2:7: defines.dir: expected a text, found an integer"},
      {"a number from a define", "[defines]\ndir = \"x\"\nlevel = \"9\"\n" + product +
           "[archive]\ncompression_level = \"${level}\"\n" + kFiles, {},
       "p.toml:7:21: archive.compression_level: expected an integer, found a text"},
  };
  for (const auto& c : cases) {
    std::string got = "(no error)";
    try {
      qvin::parse_project(c.text, dir / "p.toml", c.defines);
    } catch (const qvin::ProjectError& e) {
      got = e.what();
    }
    EXPECT_NE(got.find(c.message), std::string::npos) << c.label << "\n  got: " << got;
  }
}

}  // namespace
