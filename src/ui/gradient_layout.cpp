// The integer stepper and the band plan of the gradient without the system's fill.
#include "ui/gradient_layout.h"

#include "core/fatal.h"

namespace ui {

IntegerStepper::IntegerStepper(int32_t difference, int32_t count) {
  if (count < 1) core::internal_fatal(14694);
  quotient_ = difference / count;
  int32_t remainder = difference % count;
  remainder_ = remainder < 0 ? -remainder : remainder;
  count_ = count;
  negative_ = difference < 0;
}

int32_t IntegerStepper::next() {
  accumulator_ += remainder_;
  if (accumulator_ < count_) return quotient_;
  accumulator_ -= count_;
  return negative_ ? quotient_ - 1 : quotient_ + 1;
}

BandFill::BandFill(int32_t top, int32_t bottom, uint32_t top_colour, uint32_t bottom_colour)
    : y_(top), bottom_(bottom) {
  int32_t height = bottom - top + 1;
  if (height < 1) {
    y_ = bottom;  // nothing to paint
    return;
  }
  band_height_ = height / 224;
  if (band_height_ < 1) band_height_ = 1;
  if (band_height_ > 3) band_height_ = 3;
  steps_ = height / band_height_;
  for (int i = 0; i < 3; ++i) {
    int32_t from = static_cast<int32_t>(top_colour >> (8 * i) & 0xFF);
    int32_t to = static_cast<int32_t>(bottom_colour >> (8 * i) & 0xFF);
    current_[i] = from;
    steppers_[i] = IntegerStepper(from - to, steps_);
  }
}

bool BandFill::next(int32_t& y, uint32_t& colour) {
  if (y_ >= bottom_) return false;
  // After the last step the bands keep the bottom colour.
  if (taken_ < steps_) {
    ++taken_;
    for (int i = 0; i < 3; ++i) current_[i] -= steppers_[i].next();
  }
  y = y_;
  colour = colour_of(current_[0], current_[1], current_[2]);
  y_ += band_height_;
  return true;
}

}  // namespace ui
