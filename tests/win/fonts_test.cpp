// Fonts: a real font file registered by its full path in the system's font list and in the
// run's list from the file table's requests, unregistered again; the path of a listed font
// file.
#include "install/fonts.h"

#include <gtest/gtest.h>

#include <string>

#include "core/win/system_folders.h"
#include "install/product_fonts_codec.h"
#include "tests/win/file_test_support.h"
#include "tests/win/phase_context.h"

namespace install {
namespace {

using test_support::registry_value;
using test_support::ScratchDirectory;

constexpr const char* kFace = "qvin Test Face (TrueType)";
constexpr const char* kPermanentFace = "qvin Test Permanent (TrueType)";

// A TrueType file of the machine: one of Wine's in the fonts folder, else one of the host's
// through Wine's drive for the root.
std::string machine_font() {
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  std::string folder = core::special_folder(core::SpecialFolder::Fonts, windows).text();
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*.ttf").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    FindClose(search);
    return folder + "\\" + found.cFileName;
  }
  const char* host = "Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf";
  return test_support::exists(host) ? host : "";
}

class FontsTest : public ::testing::Test {
 protected:
  void SetUp() override { TearDown(); }
  void TearDown() override {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, font_key_path(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    for (const char* face : {kFace, kPermanentFace}) RegDeleteValueA(key, face);
    RegCloseKey(key);
  }
};

TEST_F(FontsTest, RegistersAndUnregistersByFullPath) {
  EXPECT_STREQ(font_key_path(), "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts");  // Wine is NT
  std::string source = machine_font();
  ASSERT_FALSE(source.empty()) << "no TrueType file on this machine";
  ScratchDirectory scratch;
  const std::string path = scratch / "qvin test font.ttf";
  ASSERT_TRUE(CopyFileA(source.c_str(), path.c_str(), FALSE));

  // The file table's requests, as the font phase finds them.
  test_support::PhaseContext phase;
  phase.records.font_requests.append(FontRequest{kFace, path.c_str(), false});
  phase.records.font_requests.append(FontRequest{kPermanentFace, path.c_str(), true});
  phase.records.font_requests.append(FontRequest{" ", path.c_str(), false});  // no face: nothing to list
  register_fonts(phase.context);
  EXPECT_EQ(registry_value(HKEY_LOCAL_MACHINE, font_key_path(), kFace), path);
  EXPECT_EQ(registry_value(HKEY_LOCAL_MACHINE, font_key_path(), kPermanentFace), path);
  EXPECT_EQ(std::string(phase.records.font_list.text()), std::string("\"") + kFace + "\" \"" + path + "\" ");
  EXPECT_TRUE(phase.records.fonts_changed);
  core::Vector<ProductFont> listed = read_product_fonts(phase.records.font_list);
  ASSERT_EQ(listed.count(), 1);
  EXPECT_EQ(font_file_path(listed[0].file, phase.env), path.c_str());
  EXPECT_FALSE(write_font_value(" ", path.c_str()));

  EXPECT_TRUE(unregister_font(kFace));
  EXPECT_EQ(registry_value(HKEY_LOCAL_MACHINE, font_key_path(), kFace), "<no value>");
  EXPECT_TRUE(unregister_font(kFace));  // already gone
  EXPECT_TRUE(unregister_font(kPermanentFace));
  for (int i = 0; i < 3; ++i) RemoveFontResourceA(path.c_str());  // Wine keeps them all the same
}

TEST_F(FontsTest, ListedFileNamesAreInTheFontsFolder) {
  test_support::PhaseContext phase;
  std::string folder = core::special_folder(core::SpecialFolder::Fonts, phase.env.windows_directory.text()).text();
  EXPECT_EQ(std::string(font_file_path("demo.ttf", phase.env).text()), folder + "\\demo.ttf");
  EXPECT_STREQ(font_file_path("D:\\Fonts\\demo.ttf", phase.env).text(), "D:\\Fonts\\demo.ttf");
}

}  // namespace
}  // namespace install
