// The banded gradient: the integer stepper's exact sums and the band plan.
#include <gtest/gtest.h>

#include "support/fatal_capture.h"
#include "ui/gradient_layout.h"

namespace ui {
namespace {

TEST(IntegerStepper, StepsSumExactlyToTheDifference) {
  struct Case {
    int32_t difference;
    int32_t count;
  };
  const Case cases[] = {{255, 256}, {-255, 256}, {0, 5}, {7, 3}, {-7, 3}, {1, 1000}, {-200, 7}, {255, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.difference << " over " << c.count);
    IntegerStepper stepper(c.difference, c.count);
    int32_t quotient = c.difference / c.count;
    int32_t sum = 0;
    for (int32_t i = 0; i < c.count; ++i) {
      int32_t step = stepper.next();
      EXPECT_TRUE(step == quotient || step == quotient + (c.difference < 0 ? -1 : 1)) << step;
      sum += step;
    }
    EXPECT_EQ(sum, c.difference);
  }
}

TEST(IntegerStepper, LargerStepsComeWhenTheRemainderFillsUp) {
  IntegerStepper up(7, 3);
  EXPECT_EQ(up.next(), 2);
  EXPECT_EQ(up.next(), 2);
  EXPECT_EQ(up.next(), 3);
  IntegerStepper down(-7, 3);
  EXPECT_EQ(down.next(), -2);
  EXPECT_EQ(down.next(), -2);
  EXPECT_EQ(down.next(), -3);
}

TEST(IntegerStepper, CountOfZeroIsAnInternalFatalError) {
  EXPECT_EQ(test_support::capture_fatal([] { IntegerStepper stepper(10, 0); }),
            "Internal Fatal Error\r\nModule: tk_core\r\nLine: 14694");
}

TEST(BandFill, PlanAndColours) {
  struct Case {
    const char* label;
    int32_t top;
    int32_t bottom;
    int32_t band_height;
    int32_t steps;
    int32_t bands;
    bool reaches_bottom_colour;
  };
  const Case cases[] = {
      {"768 pixels high: 3-pixel bands, 256 steps", 0, 768, 3, 256, 256, true},
      {"448 rows: 2-pixel bands", 0, 447, 2, 224, 224, true},
      {"100 rows: 1-pixel bands", 0, 99, 1, 100, 99, false},
      {"tall: bands stay at 3 pixels", 0, 2000, 3, 667, 667, true},
      {"offset rectangle", 100, 868, 3, 256, 256, true},
      {"one row: nothing below the top", 0, 0, 1, 1, 0, false},
      {"upside down: nothing", 10, 5, 1, 0, 0, false},
  };
  const uint32_t top_colour = colour_of(255, 128, 0);
  const uint32_t bottom_colour = colour_of(0, 64, 255);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    BandFill bands(c.top, c.bottom, top_colour, bottom_colour);
    EXPECT_EQ(bands.band_height(), c.band_height);
    EXPECT_EQ(bands.steps(), c.steps);
    int32_t count = 0;
    int32_t y = 0;
    uint32_t colour = 0;
    uint32_t last = 0;
    while (bands.next(y, colour)) {
      EXPECT_EQ(y, c.top + count * c.band_height);
      last = colour;
      ++count;
    }
    EXPECT_EQ(count, c.bands);
    if (count > 0) {
      EXPECT_EQ(last == bottom_colour, c.reaches_bottom_colour);
    }
  }
}

TEST(BandFill, ColoursMoveSteadilyFromTopToBottom) {
  BandFill bands(0, 768, colour_of(0, 0, 0), colour_of(255, 255, 255));
  int32_t y = 0;
  uint32_t colour = 0;
  int32_t previous = 0;
  int32_t rises = 0;
  while (bands.next(y, colour)) {
    int32_t red = static_cast<int32_t>(colour & 0xFF);
    // 255 levels over 256 bands: each band is one level on, or the same once.
    EXPECT_TRUE(red == previous || red == previous + 1) << "at y " << y;
    rises += red - previous;
    previous = red;
    EXPECT_EQ(colour, colour_of(red, red, red));
  }
  EXPECT_EQ(previous, 255);
  EXPECT_EQ(rises, 255);
}

}  // namespace
}  // namespace ui
