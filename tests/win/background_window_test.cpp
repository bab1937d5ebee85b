// The background window under real GDI: gradient and flat fills, the picture in its box,
// the title at its six places with its shadow; bitmap files; the system's class and name.
// With a build/screenshots folder above the test program (or QVIN_SCREENSHOTS naming one)
// it also saves a few renderings there as BMP files for a person to look at.
#include "ui/background_window.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>
#include <vector>

#include "archive/settings.h"
#include "core/win/optional_functions.h"
#include "core/win/windows.h"
#include "ui/dib_image.h"
#include "ui/system_version.h"
#include "ui/system_version_rules.h"
#include "ui/text_lines.h"
#include "win/file_test_support.h"
#include "win/screen_capture.h"

namespace ui {
namespace {

// What the window shows: its client area as top-down 0x00RRGGBB pixels.
using test_support::Picture;

int red(uint32_t p) { return static_cast<int>(p >> 16 & 0xFF); }
int green(uint32_t p) { return static_cast<int>(p >> 8 & 0xFF); }
int blue(uint32_t p) { return static_cast<int>(p & 0xFF); }
uint32_t rgb(int r, int g, int b) { return static_cast<uint32_t>(r << 16 | g << 8 | b); }

// The same colour give or take `slack` in each component.
bool near_colour(uint32_t pixel, uint32_t expected, int slack) {
  return abs(red(pixel) - red(expected)) <= slack && abs(green(pixel) - green(expected)) <= slack &&
         abs(blue(pixel) - blue(expected)) <= slack;
}

Picture capture(HWND window) { return test_support::capture_client(window); }

using test_support::screenshot_folder;

// Saves the picture as a 32-bit top-down bitmap file through the image code itself.
void save_screenshot(const Picture& picture, const std::string& name) {
  std::string folder = screenshot_folder();
  if (folder.empty()) return;
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof(header);
  header.biWidth = picture.width;
  header.biHeight = -picture.height;
  header.biPlanes = 1;
  header.biBitCount = 32;
  std::string bytes(reinterpret_cast<const char*>(&header), sizeof(header));
  bytes.append(reinterpret_cast<const char*>(picture.pixels.data()), picture.pixels.size() * 4);
  DibImage image;
  ASSERT_TRUE(image.load_bytes(bytes.data(), static_cast<int32_t>(bytes.size())));
  EXPECT_TRUE(image.save_file((folder + "\\" + name + ".bmp").c_str()));
}

// One window serves the painting tests: under Wine without a window manager, destroying a
// window that covers the screen waits seconds for the manager that never answers.
HWND painting_window = nullptr;

// Paints the window afresh with the appearance as it stands and takes its picture.
Picture show(const char* screenshot = nullptr) {
  if (painting_window == nullptr) {
    painting_window = create_background_window(GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(painting_window, nullptr);
  }
  InvalidateRect(painting_window, nullptr, TRUE);
  UpdateWindow(painting_window);
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  Picture picture = capture(painting_window);
  if (screenshot != nullptr) save_screenshot(picture, screenshot);
  return picture;
}

// Every test starts from the values of program start, on the work area.
class BackgroundWindow : public testing::Test {
 protected:
  static void TearDownTestSuite() {
    if (painting_window != nullptr) DestroyWindow(painting_window);
    painting_window = nullptr;
  }
  void SetUp() override {
    background_appearance() = BackgroundAppearance();
    background_appearance().full_screen = false;
  }
  void TearDown() override {
    background_appearance() = BackgroundAppearance();
    core::force_absent(core::Optional::GradientFill, false);
  }
};

TEST_F(BackgroundWindow, StartValues) {
  BackgroundAppearance look;
  EXPECT_TRUE(look.title.is_empty());
  EXPECT_EQ(look.title_color, 0u);
  EXPECT_EQ(look.top_color, 0u);
  EXPECT_EQ(look.bottom_color, 0u);
  EXPECT_FALSE(look.mono_color);
  EXPECT_TRUE(look.image.is_empty());
  EXPECT_EQ(look.bitmap_size, 0);
  EXPECT_EQ(look.stretch_mode, 2);
  EXPECT_EQ(look.title_shadow, 1);
  EXPECT_EQ(look.title_position, 0);
  EXPECT_TRUE(look.full_screen);
  EXPECT_STREQ(look.title_font.text(), "Times New Roman Bold Italic");
}

TEST_F(BackgroundWindow, CoversTheScreenOrTheWorkArea) {
  RECT area;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
  Picture work = show();
  EXPECT_EQ(work.width, area.right - area.left);
  EXPECT_EQ(work.height, area.bottom - area.top);
  EXPECT_FALSE(IsZoomed(painting_window));

  background_appearance().full_screen = true;
  HWND window = create_background_window(GetModuleHandleA(nullptr), nullptr);
  EXPECT_EQ(GetForegroundWindow(), window);
  char name[64];
  EXPECT_GT(GetClassNameA(window, name, sizeof(name)), 0);
  EXPECT_STREQ(name, "QVA Window Class");
  EXPECT_TRUE(IsZoomed(window));
  EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & WS_POPUP, static_cast<LONG>(WS_POPUP));
  EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & WS_CAPTION, 0);
  DestroyWindow(window);
}

TEST_F(BackgroundWindow, GradientRunsFromTopColourToBottomColour) {
  struct Case {
    const char* label;
    bool gradient_fill_absent;
  };
  const Case cases[] = {{"GradientFill", false}, {"bands", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    core::force_absent(core::Optional::GradientFill, c.gradient_fill_absent);
    BackgroundAppearance& look = background_appearance();
    look.top_color = RGB(240, 20, 0);
    look.bottom_color = RGB(0, 40, 220);
    Picture picture = show(c.gradient_fill_absent ? "gradient-bands" : "gradient");
    ASSERT_GT(picture.height, 200);
    int x = picture.width / 2;
    EXPECT_TRUE(near_colour(picture.at(x, 0), rgb(240, 20, 0), 3)) << std::hex << picture.at(x, 0);
    EXPECT_TRUE(near_colour(picture.at(x, picture.height - 1), rgb(0, 40, 220), 3))
        << std::hex << picture.at(x, picture.height - 1);
    uint32_t middle = picture.at(x, picture.height / 2);
    EXPECT_TRUE(near_colour(middle, rgb(120, 30, 110), 6)) << std::hex << middle;
    // Rows change colour steadily downwards, and each row is one colour across.
    for (int y = 1; y < picture.height; ++y) {
      ASSERT_LE(red(picture.at(x, y)), red(picture.at(x, y - 1))) << "row " << y;
      ASSERT_GE(blue(picture.at(x, y)), blue(picture.at(x, y - 1))) << "row " << y;
      ASSERT_EQ(picture.at(0, y), picture.at(picture.width - 1, y)) << "row " << y;
    }
  }
}

TEST_F(BackgroundWindow, BandsAreUpToThreeRowsHigh) {
  core::force_absent(core::Optional::GradientFill);
  background_appearance().top_color = RGB(255, 255, 255);
  Picture picture = show();
  int run = 1;
  int longest = 1;
  for (int y = 1; y < picture.height; ++y) {
    run = picture.at(10, y) == picture.at(10, y - 1) ? run + 1 : 1;
    if (run > longest) longest = run;
  }
  // 256 levels at most over the height: bands of 3 rows (the same colour twice now and
  // then, where the 255-level difference skips a step), never a long flat stretch.
  EXPECT_GE(longest, 3);
  EXPECT_LE(longest, 6);
}

TEST_F(BackgroundWindow, MonoColourFillsEverything) {
  BackgroundAppearance& look = background_appearance();
  look.mono_color = true;
  look.top_color = RGB(10, 200, 30);
  look.bottom_color = RGB(255, 255, 255);
  Picture picture = show();
  for (int y = 0; y < picture.height; y += 7) {
    for (int x = 0; x < picture.width; x += 7) ASSERT_EQ(picture.at(x, y), rgb(10, 200, 30)) << x << "," << y;
  }
}

// A picture of one colour: width x height, 24 bits, as stored after the file header.
std::string solid_picture(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof(header);
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  std::string bytes(reinterpret_cast<const char*>(&header), sizeof(header));
  int row = (width * 3 + 3) / 4 * 4;
  for (int y = 0; y < height; ++y) {
    std::string line(static_cast<size_t>(row), '\0');
    for (int x = 0; x < width; ++x) {
      line[x * 3] = static_cast<char>(b);
      line[x * 3 + 1] = static_cast<char>(g);
      line[x * 3 + 2] = static_cast<char>(r);
    }
    bytes += line;
  }
  return bytes;
}

TEST_F(BackgroundWindow, PictureIsDrawnInItsBox) {
  struct Case {
    const char* label;
    int32_t mode;
    int32_t percent;
    int picture_width;
    int picture_height;
  };
  const Case cases[] = {
      {"stretch", archive::stretch_mode::Stretch, 50, 40, 30},
      {"fit", archive::stretch_mode::Fit, 80, 40, 10},
      {"zoom", archive::stretch_mode::Zoom, 100, 100, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    BackgroundAppearance& look = background_appearance();
    look.mono_color = true;
    look.top_color = RGB(0, 0, 0);
    look.stretch_mode = c.mode;
    look.bitmap_size = c.percent;
    std::string bytes = solid_picture(c.picture_width, c.picture_height, 250, 200, 0);
    ASSERT_TRUE(look.image.load_bytes(bytes.data(), static_cast<int32_t>(bytes.size())));
    Picture picture = show();
    PictureBox box = place_picture({0, 0, picture.width, picture.height}, c.percent, c.mode, c.picture_width,
                                   c.picture_height);
    ASSERT_GT(box.left, 0);
    ASSERT_GT(box.top, 0);
    const uint32_t yellow = rgb(250, 200, 0);
    EXPECT_EQ(picture.at(box.left, box.top), yellow);
    EXPECT_EQ(picture.at(box.right, box.bottom), yellow);
    EXPECT_EQ(picture.at((box.left + box.right) / 2, (box.top + box.bottom) / 2), yellow);
    EXPECT_EQ(picture.at(box.left - 1, box.top), 0u);
    EXPECT_EQ(picture.at(box.left, box.top - 1), 0u);
    if (box.right + 1 < picture.width) {
      EXPECT_EQ(picture.at(box.right + 1, box.bottom), 0u);
    }
    if (box.bottom + 1 < picture.height) {
      EXPECT_EQ(picture.at(box.right, box.bottom + 1), 0u);
    }
  }
}

TEST_F(BackgroundWindow, NoPictureWithoutSize) {
  BackgroundAppearance& look = background_appearance();
  look.mono_color = true;
  look.bitmap_size = 0;
  std::string bytes = solid_picture(8, 8, 255, 255, 255);
  ASSERT_TRUE(look.image.load_bytes(bytes.data(), static_cast<int32_t>(bytes.size())));
  Picture picture = show();
  EXPECT_EQ(picture.at(picture.width / 2, picture.height / 2), 0u);
}

// Where the title's coloured and black pixels are.
struct Ink {
  int text = 0;
  int shadow = 0;
  long text_x = 0;  // sums, for the middle of the coloured text
  long text_y = 0;
  bool shadow_below_right = true;  // every text pixel has shadow or text below right of it
};

Ink find_ink(const Picture& picture, uint32_t text_colour, int shadow) {
  Ink ink;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      uint32_t p = picture.at(x, y);
      if (p == text_colour) {
        ++ink.text;
        ink.text_x += x;
        ink.text_y += y;
      } else if (p == 0) {
        ++ink.shadow;
      }
    }
  }
  // The shadow is the text moved right and down: each coloured pixel's counterpart there
  // is shadow, text, or the smoothed edge of text over shadow (grey), never background.
  if (shadow > 0) {
    for (int y = 0; y + shadow < picture.height; ++y) {
      for (int x = 0; x + shadow < picture.width; ++x) {
        if (picture.at(x, y) != text_colour) continue;
        uint32_t moved = picture.at(x + shadow, y + shadow);
        bool grey = abs(red(moved) - green(moved)) <= 8 && abs(green(moved) - blue(moved)) <= 8;
        if (!grey) ink.shadow_below_right = false;
      }
    }
  }
  return ink;
}

TEST_F(BackgroundWindow, TitleAtEachPosition) {
  struct Case {
    uint8_t position;
    int column;  // 0 left, 1 centre, 2 right third
    bool bottom;
  };
  const Case cases[] = {{1, 0, false}, {2, 1, false}, {3, 2, false}, {4, 0, true}, {5, 1, true}, {6, 2, true}};
  const uint32_t white = rgb(255, 255, 255);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "position " << int{c.position});
    BackgroundAppearance& look = background_appearance();
    look.top_color = RGB(30, 60, 160);
    look.mono_color = true;
    look.title = "Hello Product";
    look.title_color = RGB(255, 255, 255);
    look.title_shadow = 3;
    look.title_position = c.position;
    std::string name = "title-" + std::to_string(c.position);
    Picture picture = show(name.c_str());
    Ink ink = find_ink(picture, white, 3);
    ASSERT_GT(ink.text, 50);
    EXPECT_GT(ink.shadow, 50);
    EXPECT_TRUE(ink.shadow_below_right);
    int middle_x = static_cast<int>(ink.text_x / ink.text);
    int middle_y = static_cast<int>(ink.text_y / ink.text);
    EXPECT_EQ(middle_x * 3 / picture.width, c.column) << middle_x;
    EXPECT_EQ(middle_y > picture.height / 2, c.bottom) << middle_y;
    // Near its edge: within a line's height of the top or the bottom.
    if (c.bottom) {
      EXPECT_GT(middle_y, picture.height - 60);
    } else {
      EXPECT_LT(middle_y, 60);
    }
  }
}

TEST_F(BackgroundWindow, NoTitleAtPositionZeroOrWithoutText) {
  const uint32_t white = rgb(255, 255, 255);
  struct Case {
    const char* label;
    const char* title;
    uint8_t position;
  };
  const Case cases[] = {{"position 0", "Hello", 0}, {"empty title", "", 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    BackgroundAppearance& look = background_appearance();
    look.top_color = RGB(30, 60, 160);
    look.mono_color = true;
    look.title = c.title;
    look.title_color = RGB(255, 255, 255);
    look.title_position = c.position;
    Picture picture = show();
    Ink ink = find_ink(picture, white, 0);
    EXPECT_EQ(ink.text, 0);
    EXPECT_EQ(ink.shadow, 0);
    EXPECT_EQ(picture.at(5, 5), rgb(30, 60, 160)) << "the background is still painted";
  }
}

TEST_F(BackgroundWindow, WithoutShadowNoBlackCopy) {
  BackgroundAppearance& look = background_appearance();
  look.top_color = RGB(30, 60, 160);
  look.mono_color = true;
  look.title = "Hello Product";
  look.title_color = RGB(255, 255, 255);
  look.title_shadow = 0;
  look.title_position = 1;
  Ink ink = find_ink(show(), rgb(255, 255, 255), 0);
  EXPECT_GT(ink.text, 50);
  EXPECT_EQ(ink.shadow, 0);
}

TEST_F(BackgroundWindow, TwoLineTitleIsCentredLineByLine) {
  BackgroundAppearance& look = background_appearance();
  look.top_color = RGB(0, 90, 0);
  look.bottom_color = RGB(0, 20, 60);
  look.title = "Wide first line of the product title\r\nShort";
  look.title_color = RGB(255, 255, 0);
  look.title_shadow = 2;
  look.title_position = 5;
  Picture picture = show("title-two-lines");
  // The rows of each line: the second line is narrower and centred under the first.
  const uint32_t yellow = rgb(255, 255, 0);
  int top = picture.height, bottom = -1;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if (picture.at(x, y) == yellow) {
        if (y < top) top = y;
        bottom = y;
      }
    }
  }
  ASSERT_GE(bottom, 0);
  EXPECT_GT(top, picture.height / 2);
  int split = (top + bottom) / 2;
  int extent[2][2] = {{picture.width, -1}, {picture.width, -1}};
  for (int y = top; y <= bottom; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if (picture.at(x, y) != yellow) continue;
      int (&e)[2] = extent[y > split ? 1 : 0];
      if (x < e[0]) e[0] = x;
      if (x > e[1]) e[1] = x;
    }
  }
  ASSERT_GE(extent[1][1], 0);
  EXPECT_LT(extent[1][1] - extent[1][0], extent[0][1] - extent[0][0]);
  int first_middle = (extent[0][0] + extent[0][1]) / 2;
  int second_middle = (extent[1][0] + extent[1][1]) / 2;
  EXPECT_NEAR(first_middle, second_middle, 8);
  EXPECT_NEAR(first_middle, picture.width / 2, 8);
  // The last line ends just above the bottom edge, room left for the shadow.
  EXPECT_GT(bottom, picture.height - 20);
}

// How many rows of the picture's top band hold the colour: the height of a one-line title.
int rows_with(const Picture& picture, uint32_t colour) {
  int rows = 0;
  for (int y = 0; y < 100 && y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if (picture.at(x, y) == colour) {
        ++rows;
        break;
      }
    }
  }
  return rows;
}

TEST_F(BackgroundWindow, TooWideTitleShrinks) {
  BackgroundAppearance& look = background_appearance();
  look.mono_color = true;
  look.title_color = RGB(255, 255, 255);
  look.title_position = 1;
  look.title = "Short";
  int short_rows = rows_with(show(), rgb(255, 255, 255));
  std::string wide;
  for (int i = 0; i < 40; ++i) wide += "Short ";
  look.title = wide.c_str();
  Picture picture = show("title-shrunk");
  int wide_rows = rows_with(picture, rgb(255, 255, 255));
  EXPECT_GT(wide_rows, 0);
  EXPECT_LT(wide_rows, short_rows);
}

TEST_F(BackgroundWindow, PictureScreenshots) {
  if (screenshot_folder().empty()) GTEST_SKIP() << "no screenshot folder";
  const char* names[] = {"picture-stretch", "picture-fit", "picture-zoom"};
  // A picture with a frame and a diagonal, so distortion shows.
  const int w = 64, h = 40;
  std::string bytes = solid_picture(w, h, 240, 230, 200);
  int row = (w * 3 + 3) / 4 * 4;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      bool line = x == 0 || y == 0 || x == w - 1 || y == h - 1 || x * h / w == y;
      if (!line) continue;
      size_t at = sizeof(BITMAPINFOHEADER) + static_cast<size_t>(y) * row + x * 3;
      bytes[at] = 0;
      bytes[at + 1] = 0;
      bytes[at + 2] = static_cast<char>(200);
    }
  }
  for (int mode = 0; mode < 3; ++mode) {
    BackgroundAppearance& look = background_appearance();
    look.top_color = RGB(0, 0, 128);
    look.bottom_color = RGB(0, 0, 0);
    look.title = "Picture Product";
    look.title_color = RGB(255, 255, 255);
    look.title_shadow = 2;
    look.title_position = 2;
    look.stretch_mode = mode;
    look.bitmap_size = 60;
    ASSERT_TRUE(look.image.load_bytes(bytes.data(), static_cast<int32_t>(bytes.size())));
    show(names[mode]);
  }
}

TEST(TextLines, MeasureAndDraw) {
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  HGDIOBJ font = SelectObject(dc, GetStockObject(SYSTEM_FONT));
  SIZE one;
  ASSERT_TRUE(GetTextExtentPoint32A(dc, "Wide line", 9, &one));
  TextExtent both = measure_text_lines(dc, "Wide line\r\nab", up_to_terminator);
  EXPECT_EQ(both.width, one.cx);
  EXPECT_EQ(both.height, 2 * one.cy);
  TextExtent cut = measure_text_lines(dc, "Wide line\r\nab", 4);
  SIZE four;
  GetTextExtentPoint32A(dc, "Wide", 4, &four);
  EXPECT_EQ(cut.width, four.cx);
  EXPECT_EQ(cut.height, one.cy);
  TextExtent none = measure_text_lines(nullptr, "x", up_to_terminator);
  EXPECT_EQ(none.width, 0);
  EXPECT_EQ(none.height, 0);
  none = measure_text_lines(dc, nullptr, up_to_terminator);
  EXPECT_EQ(none.height, 0);
  draw_text_lines(nullptr, 0, 0, 10, 10, "x", 1, 0);  // nothing to draw on: no crash
  SelectObject(dc, font);
  DeleteDC(dc);
}

TEST(DibImage, FileRoundTripAndRefusals) {
  test_support::ScratchDirectory scratch;
  std::string bytes = solid_picture(3, 2, 1, 2, 3);
  DibImage image;
  EXPECT_FALSE(image.save_file((scratch / "empty.bmp").c_str())) << "an empty image writes nothing";
  EXPECT_EQ(GetFileAttributesA((scratch / "empty.bmp").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(image.load_bytes(nullptr, 10));
  EXPECT_FALSE(image.load_bytes(bytes.data(), 0));
  ASSERT_TRUE(image.load_bytes(bytes.data(), static_cast<int32_t>(bytes.size())));
  EXPECT_EQ(image.width(), 3);
  EXPECT_EQ(image.height(), 2);
  EXPECT_EQ(image.header().pixel_offset, 40);

  std::string path = scratch / "Installer Background.BMP";
  ASSERT_TRUE(image.save_file(path.c_str()));
  std::string file = test_support::file_bytes(path);
  ASSERT_EQ(file.size(), bytes.size() + 14);
  EXPECT_EQ(file.substr(0, 2), "BM");
  EXPECT_EQ(*reinterpret_cast<const uint32_t*>(file.data() + 2), bytes.size() + 14);
  EXPECT_EQ(*reinterpret_cast<const uint32_t*>(file.data() + 10), 54u);
  EXPECT_EQ(file.substr(14), bytes);

  DibImage loaded;
  ASSERT_TRUE(loaded.load_file(path.c_str()));
  EXPECT_EQ(std::string(loaded.data().text(), loaded.data().length()), bytes);
  EXPECT_EQ(loaded.width(), 3);

  // Refusals: missing, not "BM", cut short. A file that is no bitmap leaves the image as
  // it was; a damaged bitmap leaves none.
  EXPECT_FALSE(loaded.load_file((scratch / "missing.bmp").c_str()));
  EXPECT_EQ(loaded.width(), 3);
  std::string not_bm = scratch / "text.bmp";
  test_support::put_file(not_bm, "MB" + file.substr(2));
  EXPECT_FALSE(loaded.load_file(not_bm.c_str()));
  EXPECT_EQ(loaded.width(), 3);
  std::string short_file = scratch / "short.bmp";
  test_support::put_file(short_file, file.substr(0, file.size() - 1));
  EXPECT_FALSE(loaded.load_file(short_file.c_str()));
  EXPECT_TRUE(loaded.is_empty());
  std::string odd_header = scratch / "v5.bmp";
  std::string v5 = file;
  v5[14] = 124;
  test_support::put_file(odd_header, v5);
  EXPECT_FALSE(loaded.load_file(odd_header.c_str()));
  EXPECT_TRUE(loaded.is_empty());
}

TEST(DibImage, RelativeNameIsTakenFromTheProgramsFolderWithBmpAdded) {
  char program[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, program, sizeof(program));
  std::string folder(program, length);
  folder.resize(folder.find_last_of('\\'));
  std::string name = "qvin-background-probe-" + std::to_string(GetCurrentProcessId());
  std::string path = folder + "\\" + name + ".bmp";
  std::string bytes = solid_picture(2, 2, 9, 9, 9);
  DibImage image;
  ASSERT_TRUE(image.load_bytes(bytes.data(), static_cast<int32_t>(bytes.size())));
  ASSERT_TRUE(image.save_file(path.c_str()));
  DibImage loaded;
  EXPECT_TRUE(loaded.load_file(name.c_str()));
  EXPECT_EQ(loaded.width(), 2);
  DeleteFileA(path.c_str());
}

TEST(SystemVersion, AnswersOfTheRunningSystem) {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  ASSERT_TRUE(GetVersionExA(&info));
  SystemVersion version;
  version.platform = info.dwPlatformId;
  version.major = info.dwMajorVersion;
  version.minor = info.dwMinorVersion;
  version.service_pack = info.szCSDVersion;
  EXPECT_EQ(os_class(), os_class_of(version));
  EXPECT_EQ(std::string(os_description().text()), os_description_of(version).text());
  EXPECT_EQ(std::string(os_description().text()).rfind("Windows ", 0), 0u) << os_description().text();
  EXPECT_TRUE(is_nt_family()) << "Wine reports an NT system";
  uint32_t bit = os_class();
  EXPECT_EQ(bit & (bit - 1), 0u) << "exactly one bit";
}

}  // namespace
}  // namespace ui
