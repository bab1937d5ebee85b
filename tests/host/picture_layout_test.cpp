// Where the background picture lands: box scaling, stretch, fit and whole-number zoom.
#include <gtest/gtest.h>

#include "ui/picture_layout.h"

namespace ui {
namespace {

TEST(PictureLayout, Placements) {
  struct Case {
    const char* label;
    PictureBox client;
    int32_t percent;
    int32_t mode;
    int32_t picture_width;
    int32_t picture_height;
    PictureBox expected;
  };
  const PictureBox screen = {0, 0, 1024, 768};  // a 1024 x 768 client area taken inclusively
  const Case cases[] = {
      {"stretch over the whole box", screen, 100, stretch_mode::Stretch, 100, 100, {0, 0, 1024, 768}},
      {"half size, halves rounded up, centred", screen, 50, stretch_mode::Stretch, 100, 100, {255, 191, 767, 575}},
      {"unknown mode stretches", screen, 50, 7, 100, 100, {255, 191, 767, 575}},
      {"halves away from zero where a double factor fell short", {0, 0, 49, 24}, 29, stretch_mode::Stretch, 1, 1,
       {17, 8, 31, 14}},  // 14.5 x 7.25 -> 15 x 7
      {"58 per cent of 25 is 14.5 -> 15", {0, 0, 24, 24}, 58, stretch_mode::Stretch, 1, 1, {4, 4, 18, 18}},
      {"above 100 per cent counts as 100", screen, 150, stretch_mode::Stretch, 100, 100, {0, 0, 1024, 768}},
      {"zoom by 7, centred", screen, 100, stretch_mode::Zoom, 100, 100, {162, 34, 861, 733}},
      {"zoom by 1 keeps the size", screen, 100, stretch_mode::Zoom, 600, 500, {212, 134, 811, 633}},
      {"zoom of a picture too wide fits it", screen, 100, stretch_mode::Zoom, 2000, 100, {0, 359, 1024, 409}},
      {"fit a wide picture: full width", screen, 100, stretch_mode::Fit, 800, 400, {0, 128, 1024, 639}},
      {"fit a tall picture: full height", screen, 100, stretch_mode::Fit, 300, 600, {320, 0, 703, 768}},
      {"fit where whole quotients tie keeps inside the box", {0, 0, 99, 149}, 100, stretch_mode::Fit, 90, 100,
       {0, 19, 99, 129}},
      {"fit without picture size keeps the box", screen, 100, stretch_mode::Fit, 0, 100, {0, 0, 1024, 768}},
      {"zoom without picture size keeps the box", screen, 100, stretch_mode::Zoom, 100, -5, {0, 0, 1024, 768}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    PictureBox box = place_picture(c.client, c.percent, c.mode, c.picture_width, c.picture_height);
    EXPECT_EQ(box.left, c.expected.left);
    EXPECT_EQ(box.top, c.expected.top);
    EXPECT_EQ(box.right, c.expected.right);
    EXPECT_EQ(box.bottom, c.expected.bottom);
  }
}

TEST(PictureLayout, FittedPictureKeepsProportionsAndStaysInside) {
  const PictureBox box = {10, 20, 409, 319};  // 400 x 300
  const int32_t sizes[][2] = {{1, 1}, {4, 3}, {16, 9}, {3, 4}, {90, 100}, {100, 90}, {1000, 7}, {7, 1000}};
  for (const auto& size : sizes) {
    SCOPED_TRACE(testing::Message() << size[0] << "x" << size[1]);
    PictureBox fitted = fit_picture(box, size[0], size[1]);
    EXPECT_GE(fitted.left, box.left);
    EXPECT_GE(fitted.top, box.top);
    EXPECT_LE(fitted.right, box.right);
    EXPECT_LE(fitted.bottom, box.bottom);
    EXPECT_TRUE(fitted.width() == box.width() || fitted.height() == box.height());
  }
}

TEST(PictureLayout, InvalidBoxIsNotFitted) {
  const PictureBox empty = {10, 10, 9, 9};
  EXPECT_EQ(fit_picture(empty, 10, 10), empty);
  EXPECT_FALSE(scale_picture_box({0, 0, 1024, 768}, 0).is_valid());
}

}  // namespace
}  // namespace ui
