// core::String storage and editing: the growth rule, assignment, append, insert, erase,
// trimming, quoting, prefix tests, comparison and line handling.
#include "core/string.h"

#include <string.h>

#include <utility>

#include "core/checksum.h"
#include "core/fatal.h"
#include "core/memory.h"

namespace core {

namespace {

// Growth slack of a reallocated block, and the unused room that makes a shrink worthwhile.
constexpr int32_t kSlack = 33;
constexpr int32_t kShrinkRoom = 512;

// data() of an empty string: callers may write its terminator, nothing more.
char empty_scratch[4];

int32_t text_length(const char* text) { return text != nullptr ? static_cast<int32_t>(strlen(text)) : 0; }

// count bytes of text, where kAll means up to the zero.
int32_t count_of_text(const char* text, int32_t count) {
  if (text == nullptr || count <= 0) return 0;
  return count == kAll ? text_length(text) : count;
}

bool in_set(char c, const char* set) { return c != 0 && set != nullptr && strchr(set, c) != nullptr; }

// Length of the line end at p (CR, LF, CR LF, LF CR), 0 when p is not at one.
int32_t line_end_length(const char* p, const char* end) {
  if (p >= end || (*p != '\r' && *p != '\n')) return 0;
  if (p + 1 < end && (p[1] == '\r' || p[1] == '\n') && p[1] != p[0]) return 2;
  return 1;
}

}  // namespace

String::String(const char* text) { assign(text, kAll); }

String::String(const char* bytes, int32_t count) { assign(bytes, count); }

String::String(char c) { assign(&c, 1); }

String::String(const String& other) { assign(other.text(), other.length_); }

String::String(String&& other) noexcept : buffer_(other.buffer_), length_(other.length_), capacity_(other.capacity_) {
  other.buffer_ = nullptr;
  other.length_ = 0;
  other.capacity_ = 0;
}

String::~String() { release(buffer_); }

String& String::operator=(const String& other) {
  if (this != &other) assign(other.text(), other.length_);
  return *this;
}

String& String::operator=(String&& other) noexcept {
  if (this != &other) {
    release(buffer_);
    buffer_ = other.buffer_;
    length_ = other.length_;
    capacity_ = other.capacity_;
    other.buffer_ = nullptr;
    other.length_ = 0;
    other.capacity_ = 0;
  }
  return *this;
}

String& String::operator=(const char* text) { return assign(text, kAll); }

char* String::data() {
  if (buffer_ != nullptr) return buffer_;
  empty_scratch[0] = 0;
  return empty_scratch;
}

bool String::is_blank() const {
  for (int32_t i = 0; i < length_; ++i) {
    if (!ascii::is_white(buffer_[i])) return false;
  }
  return true;
}

char String::at(int32_t position) const {
  if (position < 0 || position >= length_) internal_fatal(__LINE__);
  return buffer_[position];
}

char& String::operator[](int32_t position) {
  if (position < 0 || position >= length_) internal_fatal(__LINE__);
  return buffer_[position];
}

uint32_t String::checksum() const { return archive_checksum(buffer_, length_); }

bool String::resize(int32_t length, bool fallible) {
  if (length <= 0) {
    release(buffer_);
    buffer_ = nullptr;
    length_ = 0;
    capacity_ = 0;
    return true;
  }
  const bool keep = length < capacity_ && static_cast<int64_t>(capacity_) <= static_cast<int64_t>(length) + kShrinkRoom;
  if (!keep) {
    if (length > kAll - kSlack) {
      if (fallible) return false;
      out_of_memory(static_cast<size_t>(length) + kSlack);
    }
    const size_t bytes = static_cast<size_t>(length) + kSlack;
    char* block = static_cast<char*>(fallible ? try_reallocate(buffer_, bytes) : reallocate(buffer_, bytes));
    if (block == nullptr) return false;
    buffer_ = block;
    capacity_ = length + kSlack;
  }
  if (length > length_) memset(buffer_ + length_, 0, static_cast<size_t>(length - length_));
  length_ = length;
  buffer_[length] = 0;
  return true;
}

void String::set_length(int32_t length) { resize(length, false); }

bool String::try_set_length(int32_t length) { return resize(length, true); }

String& String::assign(const char* bytes, int32_t count) {
  count = count_of_text(bytes, count);
  if (count <= 0) {
    resize(0, false);
    return *this;
  }
  if (buffer_ != nullptr && bytes >= buffer_ && bytes < buffer_ + capacity_) {
    // A range of our own block: copy it out to a fresh block before the old one goes.
    if (count > kAll - kSlack) out_of_memory(static_cast<size_t>(count) + kSlack);
    char* block = static_cast<char*>(allocate(static_cast<size_t>(count) + kSlack));
    memcpy(block, bytes, static_cast<size_t>(count));
    block[count] = 0;
    release(buffer_);
    buffer_ = block;
    length_ = count;
    capacity_ = count + kSlack;
    return *this;
  }
  resize(count, false);
  memcpy(buffer_, bytes, static_cast<size_t>(count));
  return *this;
}

char* String::take_buffer() {
  char* block = buffer_;
  buffer_ = nullptr;
  length_ = 0;
  capacity_ = 0;
  return block;
}

void String::adopt_buffer(char* block, int32_t n) {
  release(buffer_);
  buffer_ = nullptr;
  length_ = 0;
  capacity_ = 0;
  if (block == nullptr || n <= 0 || n == kAll) {
    release(block);
    return;
  }
  buffer_ = static_cast<char*>(reallocate(block, static_cast<size_t>(n) + 1));
  buffer_[n] = 0;
  length_ = n;
  capacity_ = n + 1;
}

String& String::append(char c) { return append(&c, 1); }

String& String::append(const char* text) { return append(text, kAll); }

String& String::append(const String& other) { return append(other.text(), other.length_); }

String& String::append(const char* bytes, int32_t count) {
  count = count_of_text(bytes, count);
  if (count <= 0) return *this;
  if (static_cast<int64_t>(length_) + count > kAll - kSlack) out_of_memory(static_cast<size_t>(length_) + count);
  const int32_t former = length_;
  if (buffer_ != nullptr && bytes >= buffer_ && bytes < buffer_ + capacity_) {
    const ptrdiff_t offset = bytes - buffer_;
    resize(former + count, false);
    memmove(buffer_ + former, buffer_ + offset, static_cast<size_t>(count));
  } else {
    resize(former + count, false);
    memcpy(buffer_ + former, bytes, static_cast<size_t>(count));
  }
  return *this;
}

bool String::insert(int32_t position, const char* bytes, int32_t count) {
  if (position < 0 || position > length_) return false;
  count = count_of_text(bytes, count);
  if (count <= 0) return true;
  if (buffer_ != nullptr && bytes >= buffer_ && bytes < buffer_ + capacity_) {
    String copy(bytes, count);
    return insert(position, copy.text(), count);
  }
  if (static_cast<int64_t>(length_) + count > kAll - kSlack) out_of_memory(static_cast<size_t>(length_) + count);
  const int32_t former = length_;
  resize(former + count, false);
  memmove(buffer_ + position + count, buffer_ + position, static_cast<size_t>(former - position));
  memcpy(buffer_ + position, bytes, static_cast<size_t>(count));
  return true;
}

bool String::insert(int32_t position, char c) { return insert(position, &c, 1); }

bool String::erase(int32_t position, int32_t count) {
  if (position < 0 || position >= length_ || count < 1) return false;
  if (count > length_ - position) count = length_ - position;
  memmove(buffer_ + position, buffer_ + position + count, static_cast<size_t>(length_ - position - count));
  resize(length_ - count, false);
  return true;
}

bool String::overwrite(int32_t position, const char* bytes, int32_t count) {
  if (position < 0 || position > length_) return false;
  count = count_of_text(bytes, count);
  if (count <= 0) return true;
  if (buffer_ != nullptr && bytes >= buffer_ && bytes < buffer_ + capacity_) {
    String copy(bytes, count);
    return overwrite(position, copy.text(), count);
  }
  if (static_cast<int64_t>(position) + count > length_) {
    if (static_cast<int64_t>(position) + count > kAll - kSlack) out_of_memory(static_cast<size_t>(position) + count);
    resize(position + count, false);
  }
  memcpy(buffer_ + position, bytes, static_cast<size_t>(count));
  return true;
}

bool String::fill(int32_t position, int32_t count, char c) {
  if (position < 0 || position >= length_ || count < 1) return false;
  if (count > length_ - position) count = length_ - position;
  memset(buffer_ + position, c, static_cast<size_t>(count));
  return true;
}

void String::truncate(int32_t n) {
  if (n < length_) resize(n, false);
}

void String::drop_front(int32_t n) {
  if (n > 0) erase(0, n);
}

void String::drop_back(int32_t n) {
  if (n > 0) truncate(n >= length_ ? 0 : length_ - n);
}

String& String::trim_left(const char* set) {
  int32_t n = 0;
  while (n < length_ && in_set(buffer_[n], set)) ++n;
  drop_front(n);
  return *this;
}

String& String::trim_right(const char* set) {
  int32_t n = length_;
  while (n > 0 && in_set(buffer_[n - 1], set)) --n;
  truncate(n);
  return *this;
}

String& String::trim(const char* set) {
  trim_right(set);
  return trim_left(set);
}

String& String::trim_right(char c) {
  int32_t n = length_;
  while (n > 0 && buffer_[n - 1] == c) --n;
  truncate(n);
  return *this;
}

bool String::unquote(char c) {
  if (length_ < 2 || buffer_[0] != c || buffer_[length_ - 1] != c) return false;
  memmove(buffer_, buffer_ + 1, static_cast<size_t>(length_ - 2));
  resize(length_ - 2, false);
  return true;
}

String& String::quote() {
  insert(0, '"');
  return append('"');
}

bool String::starts_with(const char* text, int32_t n) const {
  const int32_t available = text_length(text);
  if (n > available) n = available;
  if (n <= 0) return true;
  return length_ >= n && memcmp(buffer_, text, static_cast<size_t>(n)) == 0;
}

bool String::ends_with(const char* text, int32_t n) const {
  const int32_t available = text_length(text);
  if (n > available) n = available;
  if (n <= 0) return true;
  return length_ >= n && memcmp(buffer_ + length_ - n, text, static_cast<size_t>(n)) == 0;
}

bool String::remove_prefix(const char* text, int32_t n) {
  if (!starts_with(text, n)) return false;
  const int32_t available = text_length(text);
  drop_front(n > available ? available : n);
  return true;
}

bool String::remove_suffix(const char* text, int32_t n) {
  if (!ends_with(text, n)) return false;
  const int32_t available = text_length(text);
  drop_back(n > available ? available : n);
  return true;
}

bool String::remove_prefix(char c) {
  if (!starts_with_char(c)) return false;
  drop_front(1);
  return true;
}

bool String::remove_suffix(char c) {
  if (!ends_with_char(c)) return false;
  drop_back(1);
  return true;
}

String& String::upper_ascii() {
  for (int32_t i = 0; i < length_; ++i) buffer_[i] = ascii::to_upper(buffer_[i]);
  return *this;
}

int String::equals(const char* text, bool exact) const {
  if (text == nullptr) text = "";
  const int32_t other = text_length(text);
  const int32_t n = (length_ < other ? length_ : other) + 1;
  int result = exact ? memcmp(this->text(), text, static_cast<size_t>(n)) : compare_no_case(this->text(), text, n);
  return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

int32_t String::normalise_line_ends() {
  int32_t seen = 0;
  String result;
  const char* p = text();
  const char* end = p + length_;
  const char* run = p;
  while (p < end) {
    const int32_t n = line_end_length(p, end);
    if (n == 0) {
      ++p;
      continue;
    }
    result.append(run, static_cast<int32_t>(p - run));
    result.append("\r\n", 2);
    p += n;
    run = p;
    ++seen;
  }
  if (seen == 0) return 0;
  result.append(run, static_cast<int32_t>(end - run));
  *this = std::move(result);
  return seen;
}

void String::remove_pause_lines() {
  String result;
  const char* p = text();
  const char* end = p + length_;
  while (p < end) {
    const char* line = p;
    while (p < end && *p != 0 && *p != '\r' && *p != '\n') ++p;
    const int32_t line_length = static_cast<int32_t>(p - line);
    p += *p == 0 ? 1 : line_end_length(p, end);
    String copy(line, line_length);
    copy.trim();
    if (copy.remove_prefix('@')) copy.trim_left();
    if (copy.equals("PAUSE", false) == 0) continue;
    result.append(line, line_length);
    result.append("\r\n", 2);
  }
  *this = std::move(result);
}

String String::first_line() const {
  const char* p = text();
  const char* end = p + length_;
  const char* q = p;
  while (q < end && *q != 0 && *q != '\r' && *q != '\n') ++q;
  return String(p, static_cast<int32_t>(q - p));
}

String String::rest_after_first_line() const {
  const char* p = text();
  const char* end = p + length_;
  while (p < end && *p != 0 && *p != '\r' && *p != '\n') ++p;
  if (p >= end) return String();
  p += *p == 0 ? 1 : line_end_length(p, end);
  return String(p, static_cast<int32_t>(end - p));
}

String String::substring(int32_t position, int32_t count) const {
  if (position < 0 || position >= length_ || count <= 0) return String();
  if (count > length_ - position) count = length_ - position;
  return String(buffer_ + position, count);
}

bool operator==(const String& a, const String& b) {
  return a.length() == b.length() && memcmp(a.text(), b.text(), static_cast<size_t>(a.length())) == 0;
}

bool operator==(const String& a, const char* b) {
  if (b == nullptr) b = "";
  const size_t n = strlen(b);
  return static_cast<size_t>(a.length()) == n && memcmp(a.text(), b, n) == 0;
}

int compare_no_case(const char* a, const char* b, int32_t n) {
  if (a == nullptr) a = "";
  if (b == nullptr) b = "";
  for (int32_t i = 0; i < n; ++i) {
    const unsigned char x = static_cast<unsigned char>(ascii::to_lower(a[i]));
    const unsigned char y = static_cast<unsigned char>(ascii::to_lower(b[i]));
    if (x != y) return x < y ? -1 : 1;
    if (x == 0) return 0;
  }
  return 0;
}

}  // namespace core
