// Splitting a String into tokens: separators, line ends, quoted runs, escapes, trimming
// and unquoting.
#include <string.h>

#include <utility>

#include "core/array.h"
#include "core/string.h"

namespace core {

namespace {

// The length of the separator at p (0 when there is none): a line end counts as one
// separator of one or two bytes.
int32_t separator_at(const char* s, int32_t length, int32_t p, const char* separators, uint32_t flags) {
  const char c = s[p];
  if (c == 0) return (flags & split_flag::NulSeparates) ? 1 : 0;
  if ((flags & split_flag::LineEnds) && (c == '\r' || c == '\n')) {
    const bool pair = p + 1 < length && (s[p + 1] == '\r' || s[p + 1] == '\n') && s[p + 1] != c;
    return pair ? 2 : 1;
  }
  if (separators == nullptr || strchr(separators, c) == nullptr) return 0;
  if ((flags & split_flag::DoubledIsText) && p + 1 < length && s[p + 1] == c) return 0;
  return 1;
}

// Applies the per-token flags and appends the token; false when it was dropped as empty.
bool add_token(Vector<String>& list, const char* s, int32_t length, uint32_t flags) {
  String token(s, length);
  if (flags & split_flag::Trim) token.trim();
  if ((flags & split_flag::Unquote) && token.unquote('"') && (flags & split_flag::Undouble)) {
    token.replace("\"\"", "\"");
  }
  if (token.is_empty() && !(flags & split_flag::KeepEmpty)) return false;
  list.append(std::move(token));
  return true;
}

}  // namespace

int32_t String::split(Vector<String>& list, const char* separators, uint32_t flags) const {
  const char* s = text();
  int32_t added = 0;
  int32_t token_start = 0;
  int32_t p = 0;
  bool ended_by_separator = false;
  while (p < length_) {
    const char c = s[p];
    if ((flags & split_flag::Backslash) && c == '\\' && p + 1 < length_) {
      p += 2;
      ended_by_separator = false;
      continue;
    }
    if ((flags & split_flag::KeepQuoted) && c == '"') {
      while (++p < length_ && s[p] != '"') {
      }
      if (p < length_) ++p;
      ended_by_separator = false;
      continue;
    }
    const int32_t n = separator_at(s, length_, p, separators, flags);
    if (n == 0) {
      // A doubled separator that is text: both characters belong to the token.
      p += ((flags & split_flag::DoubledIsText) && c != 0 && separators != nullptr && strchr(separators, c) != nullptr)
               ? 2
               : 1;
      ended_by_separator = false;
      continue;
    }
    const int32_t token_end = (flags & split_flag::KeepSeparator) ? p + n : p;
    if (add_token(list, s + token_start, token_end - token_start, flags)) ++added;
    p += n;
    token_start = p;
    ended_by_separator = true;
  }
  if (token_start < length_ || ended_by_separator) {
    if (add_token(list, s + token_start, length_ - token_start, flags)) ++added;
  }
  return added;
}

int32_t String::split_lines(Vector<String>& list) const {
  return split(list, nullptr, split_flag::KeepEmpty | split_flag::NulSeparates | split_flag::LineEnds);
}

}  // namespace core
