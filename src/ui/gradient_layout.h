// The banded colour gradient painted where the system has no gradient fill: band height,
// step count and the colour of each band, spread exactly with an integer stepper.
#pragma once

#include <stdint.h>

namespace ui {

// Spreads a difference over count whole steps whose sum is exactly the difference: each
// step is the truncated quotient or one more in the difference's direction.
class IntegerStepper {
 public:
  IntegerStepper() = default;
  // A count below 1 is an internal fatal error.
  IntegerStepper(int32_t difference, int32_t count);
  // The next step.
  int32_t next();

 private:
  int32_t quotient_ = 0;
  int32_t remainder_ = 0;
  int32_t count_ = 1;
  int32_t accumulator_ = 0;
  bool negative_ = false;
};

// Colour reference parts (0x00BBGGRR).
inline constexpr uint32_t colour_of(int32_t red, int32_t green, int32_t blue) {
  return static_cast<uint32_t>(red & 0xFF) | static_cast<uint32_t>(green & 0xFF) << 8 |
         static_cast<uint32_t>(blue & 0xFF) << 16;
}

// The bands from top to bottom of a rectangle (top and bottom as the rectangle gives
// them, the height counted inclusively): 1 to 3 pixels each, the first already one step
// away from the top colour, the colour reaching the bottom colour after `steps` bands.
class BandFill {
 public:
  BandFill(int32_t top, int32_t bottom, uint32_t top_colour, uint32_t bottom_colour);

  // The next band's top and colour; false once the bands reach the bottom.
  bool next(int32_t& y, uint32_t& colour);

  int32_t band_height() const { return band_height_; }
  int32_t steps() const { return steps_; }

 private:
  int32_t y_;
  int32_t bottom_;
  int32_t band_height_ = 1;
  int32_t steps_ = 0;
  int32_t taken_ = 0;
  int32_t current_[3] = {};
  IntegerStepper steppers_[3];
};

}  // namespace ui
