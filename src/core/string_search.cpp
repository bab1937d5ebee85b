// The String search engine (one flag word for find, count, replace) and remove_chars.
#include <string.h>

#include <utility>

#include "core/array.h"
#include "core/string.h"

namespace core {

namespace {

bool same_char(char a, char b, bool fold) { return a == b || (fold && ascii::to_upper(a) == ascii::to_upper(b)); }

bool in_set(char c, const char* set, bool fold) {
  if (c == 0 || set == nullptr) return false;
  if (strchr(set, c) != nullptr) return true;
  if (!fold) return false;
  const char upper = ascii::to_upper(c);
  const char lower = ascii::to_lower(c);
  return (upper != c && strchr(set, upper) != nullptr) || (lower != c && strchr(set, lower) != nullptr);
}

// A pattern prepared once per call: its pieces (one piece unless StarPieces), with "**"
// already turned into a literal '*'.
struct Pattern {
  String chars;               // the pieces, one after the other
  PointerArray<int32_t> ends;  // where each piece ends in chars
  uint32_t flags = 0;

  Pattern(const char* text, uint32_t search_flags) : flags(search_flags) {
    const int32_t n = static_cast<int32_t>(strlen(text));
    if ((flags & search::StarPieces) == 0 || (flags & search::CharSet) != 0) {
      chars.assign(text, n);
      ends.append(n);
      return;
    }
    for (int32_t i = 0; i < n; ++i) {
      if (text[i] == '*') {
        if (i + 1 < n && text[i + 1] == '*') {
          chars.append('*');
          ++i;
        } else {
          ends.append(chars.length());
        }
        continue;
      }
      chars.append(text[i]);
    }
    ends.append(chars.length());
  }

  int32_t piece_count() const { return ends.count(); }
  const char* piece(int32_t k) const { return chars.text() + (k == 0 ? 0 : ends[k - 1]); }
  int32_t piece_length(int32_t k) const { return ends[k] - (k == 0 ? 0 : ends[k - 1]); }
};

bool piece_matches_at(const char* s, int32_t length, int32_t p, const char* piece, int32_t n, uint32_t flags) {
  if (static_cast<int64_t>(p) + n > length) return false;
  const bool fold = (flags & search::IgnoreCase) != 0;
  const bool any = (flags & search::AnyChar) != 0;
  for (int32_t i = 0; i < n; ++i) {
    if (any && piece[i] == '?') continue;
    if (!same_char(s[p + i], piece[i], fold)) return false;
  }
  return true;
}

// The length of a match of the whole pattern that starts at p, or -1.
int32_t match_at(const char* s, int32_t length, int32_t p, const Pattern& pattern) {
  const uint32_t flags = pattern.flags;
  int32_t end;
  if (flags & search::CharSet) {
    if (!in_set(s[p], pattern.chars.text(), (flags & search::IgnoreCase) != 0)) return -1;
    end = p + 1;
  } else {
    if (!piece_matches_at(s, length, p, pattern.piece(0), pattern.piece_length(0), flags)) return -1;
    end = p + pattern.piece_length(0);
    // Later pieces: the first place of each after the one before keeps every later choice open.
    for (int32_t k = 1; k < pattern.piece_count(); ++k) {
      const int32_t n = pattern.piece_length(k);
      int32_t q = end;
      while (q + n <= length && !piece_matches_at(s, length, q, pattern.piece(k), n, flags)) ++q;
      if (q + n > length) return -1;
      end = q + n;
    }
  }
  if (flags & search::WholeWord) {
    if (p > 0 && ascii::is_identifier_char(s[p - 1])) return -1;
    if (end < length && ascii::is_identifier_char(s[end])) return -1;
  }
  return end - p;
}

// The next match at or after start (before start when scanning backwards); its position or
// -1, and its length in *match_length.
int32_t next_match(const char* s, int32_t length, const Pattern& pattern, int32_t start, int32_t* match_length) {
  const bool quoted = (pattern.flags & search::SkipQuoted) != 0;
  if (pattern.flags & search::Backwards) {
    for (int32_t p = start - 1; p >= 0; --p) {
      if (quoted && s[p] == '"') {
        while (--p >= 0 && s[p] != '"') {
        }
        continue;
      }
      const int32_t n = match_at(s, length, p, pattern);
      if (n >= 0) {
        *match_length = n;
        return p;
      }
    }
    return -1;
  }
  for (int32_t p = start; p < length; ++p) {
    if (quoted && s[p] == '"') {
      while (++p < length && s[p] != '"') {
      }
      continue;
    }
    const int32_t n = match_at(s, length, p, pattern);
    if (n >= 0) {
      *match_length = n;
      return p;
    }
  }
  return -1;
}

struct Match {
  int32_t position;
  int32_t length;
};

}  // namespace

int32_t String::find(const char* pattern, int32_t start, uint32_t flags) const {
  if (pattern == nullptr || *pattern == 0) return -1;
  if ((flags & search::Backwards) && start == kAll) start = length_;
  if (start < 0 || start > length_) return -1;
  const Pattern compiled(pattern, flags);
  int32_t n = 0;
  const int32_t p = next_match(text(), length_, compiled, start, &n);
  if (p < 0) return -1;
  return (flags & search::AfterMatch) ? p + n : p;
}

int32_t String::find_char(char c, int32_t start, uint32_t flags) const {
  if (start < 0 || start >= length_) return -1;
  const bool fold = (flags & search::IgnoreCase) != 0;
  const bool quoted = (flags & search::SkipQuoted) != 0;
  for (int32_t p = start; p < length_; ++p) {
    if (quoted && buffer_[p] == '"') {
      while (++p < length_ && buffer_[p] != '"') {
      }
      continue;
    }
    if (same_char(buffer_[p], c, fold)) return p;
  }
  return -1;
}

int32_t String::find_any_of(const char* set, int32_t start) const {
  if (start < 0) return -1;
  for (int32_t p = start; p < length_; ++p) {
    if (in_set(buffer_[p], set, false)) return p;
  }
  return -1;
}

int32_t String::find_first_not_of(const char* set, int32_t start) const {
  if (start < 0) return -1;
  for (int32_t p = start; p < length_; ++p) {
    if (!in_set(buffer_[p], set, false)) return p;
  }
  return -1;
}

int32_t String::find_last(char c) const {
  for (int32_t p = length_ - 1; p >= 0; --p) {
    if (buffer_[p] == c) return p;
  }
  return -1;
}

int32_t String::count(char c) const {
  int32_t n = 0;
  for (int32_t p = 0; p < length_; ++p) n += buffer_[p] == c ? 1 : 0;
  return n;
}

int32_t String::count_of(const char* pattern, uint32_t flags) const {
  if (pattern == nullptr || *pattern == 0) return 0;
  const Pattern compiled(pattern, flags & ~search::Backwards);
  int32_t found = 0;
  int32_t n = 0;
  for (int32_t at = 0, p; (p = next_match(text(), length_, compiled, at, &n)) >= 0; at = p + (n > 0 ? n : 1)) ++found;
  return found;
}

int32_t String::replace(const char* pattern, const char* replacement, uint32_t flags, int32_t skip,
                        int32_t max_count) {
  const bool first_only = (flags & search::FirstOnly) != 0;
  if (pattern == nullptr || *pattern == 0) return first_only ? -1 : 0;
  if (replacement == nullptr) replacement = "";
  if (first_only) max_count = 1;
  const Pattern compiled(pattern, flags & ~search::Backwards);

  // All matches first, so that the text is rebuilt once.
  PointerArray<Match> matches;
  int32_t found = 0;
  int32_t n = 0;
  for (int32_t at = 0, p; matches.count() < max_count && (p = next_match(text(), length_, compiled, at, &n)) >= 0;
       at = p + (n > 0 ? n : 1)) {
    ++found;
    if (found > skip) matches.append(Match{p, n});
  }
  const int32_t result = first_only ? (matches.is_empty() ? -1 : matches[0].position) : found;
  if (matches.is_empty()) return result;

  const int32_t replacement_length = static_cast<int32_t>(strlen(replacement));
  int64_t new_length = length_;
  for (const Match& m : matches) new_length += replacement_length - m.length;
  if (new_length > kAll - 64) out_of_memory(static_cast<size_t>(new_length));

  // '?' in the replacement takes what the '?' of the same rank in the pattern matched.
  PointerArray<int32_t> wild;
  if ((flags & search::AnyChar) && !(flags & (search::StarPieces | search::CharSet))) {
    for (int32_t i = 0; pattern[i] != 0; ++i) {
      if (pattern[i] == '?') wild.append(i);
    }
  }

  String out;
  out.set_length(static_cast<int32_t>(new_length));
  char* to = out.data();
  int32_t from = 0;
  for (const Match& m : matches) {
    memcpy(to, buffer_ + from, static_cast<size_t>(m.position - from));
    to += m.position - from;
    int32_t rank = 0;
    for (int32_t i = 0; i < replacement_length; ++i) {
      const char c = replacement[i];
      *to++ = (c == '?' && rank < wild.count()) ? buffer_[m.position + wild[rank++]] : c;
    }
    from = m.position + m.length;
  }
  memcpy(to, buffer_ + from, static_cast<size_t>(length_ - from));
  *this = std::move(out);
  return result;
}

int32_t String::remove_chars(const char* set, int32_t start, uint32_t flags) {
  if (start < 0 || start >= length_) return 0;
  const bool fold = (flags & remove_flag::IgnoreCase) != 0;
  const bool invert = (flags & remove_flag::Invert) != 0;
  const bool quoted = (flags & remove_flag::SkipQuoted) != 0;
  const bool backwards = (flags & remove_flag::Backwards) != 0;
  const int32_t step = backwards ? -1 : 1;
  const int32_t stop = backwards ? start - 1 : length_;

  // Marks first (1 = removed), then one compaction.
  String marks;
  marks.set_length(length_);
  char* marked = marks.data();
  int32_t removed = 0;
  for (int32_t p = backwards ? length_ - 1 : start; p != stop; p += step) {
    const char c = buffer_[p];
    if (quoted && c == '"') {
      // The whole run "..." is kept.
      if (flags & remove_flag::StopAtKept) break;
      p += step;
      while (p != stop && buffer_[p] != '"') p += step;
      if (p == stop) break;
      continue;
    }
    const bool member = in_set(c, set, fold);
    if (member != invert) {
      marked[p] = 1;
      ++removed;
      if (flags & remove_flag::FirstOnly) break;
    } else if (flags & remove_flag::StopAtKept) {
      break;
    }
  }
  if (removed == 0) return 0;
  int32_t to = 0;
  for (int32_t p = 0; p < length_; ++p) {
    if (!marked[p]) buffer_[to++] = buffer_[p];
  }
  set_length(to);
  return removed;
}

}  // namespace core
