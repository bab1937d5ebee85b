// Comparing version texts such as "1.2.10b" for the installer's "newer version" rules.
#include "core/array.h"
#include "core/string.h"

namespace core {

namespace {

// A version text read as its numbers and its last letter (0 when none).
struct Version {
  PointerArray<int32_t> numbers;
  char letter = 0;

  explicit Version(const char* text) {
    if (text == nullptr) return;
    const char* p = text;
    while (*p != 0) {
      const char c = *p;
      if (c == '.' && numbers.is_empty()) {
        numbers.append(0);  // ".5" reads as 0.5
        ++p;
      } else if (ascii::is_letter(c)) {
        letter = c;
        ++p;
      } else if (ascii::is_digit(c)) {
        int64_t value = 0;
        for (; ascii::is_digit(*p); ++p) {
          if (value <= INT32_MAX) value = value * 10 + (*p - '0');
        }
        numbers.append(value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value));
        // The character that ends the run goes with it.
        if (*p != 0) {
          if (ascii::is_letter(*p)) letter = *p;
          ++p;
        }
      } else {
        ++p;
      }
    }
  }
};

}  // namespace

int32_t compare_versions(const char* a, const char* b) {
  const Version first(a);
  const Version second(b);
  for (int32_t i = 0;; ++i) {
    const bool more_first = i < first.numbers.count();
    const bool more_second = i < second.numbers.count();
    if (!more_first && !more_second) return static_cast<unsigned char>(first.letter) - static_cast<unsigned char>(second.letter);
    if (!more_first) return -1;
    if (!more_second) return 1;
    const int64_t difference = static_cast<int64_t>(first.numbers[i]) - second.numbers[i];
    if (difference != 0) return difference > INT32_MAX ? INT32_MAX : (difference < INT32_MIN ? INT32_MIN : static_cast<int32_t>(difference));
  }
}

}  // namespace core
