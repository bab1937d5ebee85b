// Where the background picture goes: the picture box cut from the window's client area,
// and the three ways of placing a picture inside it. Pure arithmetic.
#pragma once

#include <stdint.h>

namespace ui {

// An inclusive pixel rectangle: right and bottom belong to it.
struct PictureBox {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  int32_t width() const { return right - left + 1; }
  int32_t height() const { return bottom - top + 1; }
  bool is_valid() const { return right >= left && bottom >= top; }
};

inline bool operator==(const PictureBox& a, const PictureBox& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The box shrunk to percent (0..100; more counts as 100) of its width and height, each
// rounded half away from zero, and centred in the old box.
PictureBox scale_picture_box(const PictureBox& box, int32_t percent);

// The largest box of the picture's proportions inside `box`, centred; the box itself
// when it is not valid or the picture has no positive size.
PictureBox fit_picture(const PictureBox& box, int32_t picture_width, int32_t picture_height);

// The picture enlarged by the largest whole factor that fits, centred; fitted as above
// when it does not fit at factor 1; the box itself for a picture without positive size.
PictureBox zoom_picture(const PictureBox& box, int32_t picture_width, int32_t picture_height);

// The whole placement: the client rectangle's values taken as an inclusive box, scaled by
// percent, then placed by mode (an archive::stretch_mode; any other value stretches).
PictureBox place_picture(const PictureBox& client, int32_t percent, int32_t mode, int32_t picture_width,
                         int32_t picture_height);

}  // namespace ui
