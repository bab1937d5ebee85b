// Picture box scaling and the stretch, fit and zoom placements.
#include "ui/picture_layout.h"

namespace ui {
namespace {

// length × percent ÷ 100 to the nearest whole number, halves away from zero. Whole-number
// arithmetic: through a double factor 0.29 and 0.58 land below their halves (50 pixels at
// 29 per cent gave 14 instead of 15), and the x87 rounds differently from SSE.
int32_t percent_of(int32_t length, int32_t percent) {
  const int64_t hundredths = static_cast<int64_t>(length) * percent;
  const int64_t magnitude = (2 * (hundredths < 0 ? -hundredths : hundredths) + 100) / 200;
  return static_cast<int32_t>(hundredths < 0 ? -magnitude : magnitude);
}

// A size centred in the box; the division truncates toward zero.
PictureBox centred(const PictureBox& box, int32_t width, int32_t height) {
  PictureBox result;
  result.left = (box.right + box.left - width) / 2;
  result.top = (box.bottom + box.top - height) / 2;
  result.right = result.left + width - 1;
  result.bottom = result.top + height - 1;
  return result;
}

}  // namespace

PictureBox scale_picture_box(const PictureBox& box, int32_t percent) {
  // The percentage is stored as a plain number in the uninstall registration; a picture
  // larger than the window means nothing, and a huge one would overflow the sizes.
  if (percent > 100) percent = 100;
  return centred(box, percent_of(box.width(), percent), percent_of(box.height(), percent));
}

PictureBox fit_picture(const PictureBox& box, int32_t picture_width, int32_t picture_height) {
  if (!box.is_valid() || picture_width <= 0 || picture_height <= 0) return box;
  PictureBox result = box;
  int64_t width = box.width();
  int64_t height = box.height();
  // Compared exactly: whole quotients alone call a tie between a box that is relatively
  // wider and one that is relatively taller, and the picture then leaves the box.
  if (width * picture_height < height * picture_width) {
    int32_t new_height = static_cast<int32_t>(width * picture_height / picture_width);
    result.top = (box.bottom + box.top - new_height + 1) >> 1;
    result.bottom = result.top + new_height - 1;
  } else {
    int32_t new_width = static_cast<int32_t>(height * picture_width / picture_height);
    result.left = (box.right + box.left - new_width + 1) >> 1;
    result.right = result.left + new_width - 1;
  }
  return result;
}

PictureBox zoom_picture(const PictureBox& box, int32_t picture_width, int32_t picture_height) {
  if (picture_width <= 0 || picture_height <= 0) return box;
  int32_t across = box.width() / picture_width;
  int32_t down = box.height() / picture_height;
  int32_t factor = across < down ? across : down;
  if (factor <= 0) return fit_picture(box, picture_width, picture_height);
  return centred(box, picture_width * factor, picture_height * factor);
}

PictureBox place_picture(const PictureBox& client, int32_t percent, int32_t mode, int32_t picture_width,
                         int32_t picture_height) {
  PictureBox box = scale_picture_box(client, percent);
  if (mode == stretch_mode::Fit) return fit_picture(box, picture_width, picture_height);
  if (mode == stretch_mode::Zoom) return zoom_picture(box, picture_width, picture_height);
  return box;
}

}  // namespace ui
