// core::String: the one text type of the program, a counted, growable, zero-terminated
// byte string (single-byte ANSI text, also used as a byte buffer), with its editing,
// searching, splitting and formatting operations and the free conversions around it.
#pragma once

#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>

namespace core {

template <class T>
class Vector;

// A count meaning "to the end"; as a text length, "up to the terminating zero".
inline constexpr int32_t kAll = 2147483647;

// The white-space set of the trim family: space, CR, LF, TAB.
inline constexpr const char* kWhiteSpace = " \r\n\t";

// Flag word of the search engine (find, count_of, replace).
namespace search {
inline constexpr uint32_t IgnoreCase = 0x1;     // fold ASCII letters only
inline constexpr uint32_t WholeWord = 0x2;      // neighbours of a match are not letter, digit or '_'
inline constexpr uint32_t AnyChar = 0x4;        // '?' in the pattern matches any one character
inline constexpr uint32_t FirstOnly = 0x8;      // replace: only the first match; result is its position
inline constexpr uint32_t SkipQuoted = 0x10;    // runs "..." are stepped over while scanning
inline constexpr uint32_t Backwards = 0x20;     // scan backwards, starting one before the start
inline constexpr uint32_t AfterMatch = 0x2000;  // report the position just after the match
inline constexpr uint32_t CharSet = 0x4000;     // the pattern is a set: find any one of its characters
inline constexpr uint32_t StarPieces = 0x80000; // pieces between single '*' occur in order ("**" is '*')
}  // namespace search
namespace find_flag = search;

// Flag word of remove_chars.
namespace remove_flag {
inline constexpr uint32_t IgnoreCase = 0x1;
inline constexpr uint32_t FirstOnly = 0x8;    // stop after the first removal
inline constexpr uint32_t SkipQuoted = 0x10;  // leave runs "..." alone
inline constexpr uint32_t Backwards = 0x20;   // scan from the end
inline constexpr uint32_t StopAtKept = 0x40;  // stop at the first character kept (strip a run)
inline constexpr uint32_t Invert = 0x80;      // remove the characters NOT in the set
}  // namespace remove_flag

// Flag word of split.
namespace split_flag {
inline constexpr uint32_t KeepEmpty = 0x1;       // keep empty tokens (and one after a trailing separator)
inline constexpr uint32_t NulSeparates = 0x2;    // a zero byte separates
inline constexpr uint32_t LineEnds = 0x4;        // LF, CR, CR LF or LF CR separates
inline constexpr uint32_t Trim = 0x8;            // trim each token
inline constexpr uint32_t KeepQuoted = 0x10;     // a run "..." is never cut
inline constexpr uint32_t KeepSeparator = 0x20;  // the separator stays at the end of its token
inline constexpr uint32_t Unquote = 0x100;       // remove one pair of surrounding double quotes
inline constexpr uint32_t Undouble = 0x200;      // with Unquote: "" inside becomes "
inline constexpr uint32_t DoubledIsText = 0x400; // a doubled separator character is not a separator
inline constexpr uint32_t Backslash = 0x800;     // a backslash protects the next character
}  // namespace split_flag

// Flag word of parse_int_flags.
namespace parse_flag {
inline constexpr uint32_t SkipLeadingSpaces = 0x1;
inline constexpr uint32_t SkipTrailingSpaces = 0x2;  // spaces after the digits (and after the ',')
inline constexpr uint32_t NoSign = 0x4;
inline constexpr uint32_t MinWhenNone = 0x8;  // no digit: -2147483648 instead of 0
inline constexpr uint32_t SkipComma = 0x10;   // also step over one ',' after the number
}  // namespace parse_flag

#if defined(__MINGW32__)
#define QVIN_PRINTF(f, a) __attribute__((format(__MINGW_PRINTF_FORMAT, f, a)))
#else
#define QVIN_PRINTF(f, a) __attribute__((format(printf, f, a)))
#endif

// Positions are 0-based byte offsets, lengths 32-bit signed. A null text argument counts as
// empty. Searches return a position or -1; a negative or out-of-range position makes a
// search return -1 and an edit do nothing (false). Allocation failure ends the program
// (out-of-memory handler) except in try_set_length.
//
// Storage rule: setting the length to N >= 1 keeps the block when N < capacity and
// capacity <= N + 512, otherwise reallocates it to exactly N + 33 bytes; setting it to 0
// or less frees the block. The byte at position length is always 0.
class String {
 public:
  String() = default;
  // The text up to its terminating zero (null: empty).
  String(const char* text);  // NOLINT: implicit on purpose, like a literal
  // count bytes (kAll: up to the terminating zero); they may include zero bytes.
  String(const char* bytes, int32_t count);
  // One character (a zero byte gives a string of length 1).
  explicit String(char c);
  String(const String& other);
  String(String&& other) noexcept;
  ~String();
  String& operator=(const String& other);
  String& operator=(String&& other) noexcept;
  String& operator=(const char* text);

  // --- Access ---
  // The text, never null ("" for an empty string).
  const char* text() const { return buffer_ != nullptr ? buffer_ : ""; }
  // The bytes for writing, valid for length() bytes plus the terminator; for an empty
  // string a scratch zero byte that must not be written past.
  char* data();
  int32_t length() const { return length_; }
  // The size of the heap block (0 when there is none).
  int32_t capacity() const { return capacity_; }
  bool is_empty() const { return length_ <= 0; }
  // Empty or only spaces, CR, LF and TAB.
  bool is_blank() const;
  // The first / last byte, 0 when empty.
  char first_char() const { return length_ > 0 ? buffer_[0] : 0; }
  char last_char() const { return length_ > 0 ? buffer_[length_ - 1] : 0; }
  // The byte at position; a position outside 0..length-1 is an internal fatal error.
  char at(int32_t position) const;
  char& operator[](int32_t position);
  char operator[](int32_t position) const { return at(position); }
  // The library checksum of the bytes (also the hash of String keys).
  uint32_t checksum() const;

  // --- Storage ---
  // Sets the length by the storage rule; bytes past the former length are zero.
  void set_length(int32_t length);
  // The same, but a failed allocation returns false (string unchanged) instead of ending
  // the program. For sizes that come from data.
  bool try_set_length(int32_t length);
  // Frees the block: length and capacity 0.
  void clear() { set_length(0); }
  // Replaces the contents with count bytes (kAll: up to the zero); a range inside this
  // string's own buffer is safe.
  String& assign(const char* bytes, int32_t count = kAll);
  String& assign(const String& other) { return assign(other.text(), other.length_); }
  // Hands the heap block (null when empty) to the caller, who frees it with
  // core::release; the string is left empty.
  char* take_buffer();
  // Takes ownership of block (from core::allocate, n bytes); it is reallocated to n + 1
  // and terminated. A null block or n <= 0 frees it and leaves the string empty.
  void adopt_buffer(char* block, int32_t n);

  // --- Editing ---
  String& append(char c);
  String& append(const char* text);
  String& append(const char* bytes, int32_t count);  // kAll: up to the zero
  String& append(const String& other);
  // Inserts count bytes (kAll: up to the zero) before position 0..length; false when the
  // position is out of range.
  bool insert(int32_t position, const char* bytes, int32_t count = kAll);
  bool insert(int32_t position, char c);
  // Deletes count bytes from position (clipped at the end); false when position is outside
  // 0..length-1 or count < 1.
  bool erase(int32_t position, int32_t count = kAll);
  // Writes count bytes (kAll: up to the zero) over the string from position 0..length,
  // lengthening it when they pass its end.
  bool overwrite(int32_t position, const char* bytes, int32_t count = kAll);
  // Sets count bytes from position (clipped at the end) to c.
  bool fill(int32_t position, int32_t count, char c);
  // Cuts the string to n bytes when it is longer (n <= 0 empties it).
  void truncate(int32_t n);
  // Removes n bytes from the front / back (all of them when n >= length).
  void drop_front(int32_t n);
  void drop_back(int32_t n);

  // Removes characters of set (default: space, CR, LF, TAB) from the left, right or both.
  String& trim_left(const char* set = kWhiteSpace);
  String& trim_right(const char* set = kWhiteSpace);
  String& trim(const char* set = kWhiteSpace);
  // Removes every trailing c.
  String& trim_right(char c);
  // When the first and the last character both equal c (and there are two), removes both.
  bool unquote(char c = '"');
  // Puts a double quote in front and one at the end.
  String& quote();

  // Byte-exact prefix / suffix tests of n bytes of text (n limited to the text's length).
  bool starts_with(const char* text, int32_t n = kAll) const;
  bool ends_with(const char* text, int32_t n = kAll) const;
  bool starts_with_char(char c) const { return length_ > 0 && buffer_[0] == c; }
  bool ends_with_char(char c) const { return length_ > 0 && buffer_[length_ - 1] == c; }
  // As starts_with / ends_with, and drop the matched part when it matched.
  bool remove_prefix(const char* text, int32_t n = kAll);
  bool remove_suffix(const char* text, int32_t n = kAll);
  bool remove_prefix(char c);
  bool remove_suffix(char c);

  // Changes 'a'..'z' to 'A'..'Z' in place, nothing else.
  String& upper_ascii();
  // Compares with text over the shorter length plus one byte, so only a full match is
  // equal: exact = plain byte compare, else case-insensitive (strnicmp). The sign of the
  // comparison, 0 for equal.
  int equals(const char* text, bool exact) const;

  // Every lone LF, lone CR and LF CR pair becomes CR LF; returns the line ends seen.
  int32_t normalise_line_ends();
  // Drops the lines that, trimmed and without a leading '@' and the white space after it,
  // equal PAUSE (any case); every other line is kept as it was, ended by CR LF.
  void remove_pause_lines();
  // The text before / after the first line end (CR, LF, CR LF, LF CR or a zero byte).
  String first_line() const;
  String rest_after_first_line() const;
  // count bytes from position (clipped); empty when position is outside the string.
  String substring(int32_t position, int32_t count = kAll) const;

  // --- Searching (see search:: flags) ---
  // The first match of pattern at or after start (before start with Backwards), or -1.
  int32_t find(const char* pattern, int32_t start = 0, uint32_t flags = 0) const;
  // The first c at or after start; flags IgnoreCase and SkipQuoted only.
  int32_t find_char(char c, int32_t start = 0, uint32_t flags = 0) const;
  int32_t find_any_of(const char* set, int32_t start = 0) const;
  int32_t find_first_not_of(const char* set, int32_t start = 0) const;
  int32_t find_last(char c) const;
  // How often c occurs.
  int32_t count(char c) const;
  // How many (non-overlapping) matches of pattern there are.
  int32_t count_of(const char* pattern, uint32_t flags = 0) const;
  // Replaces, from the start, every match after the first `skip` ones, at most max_count
  // times, in one pass. With AnyChar a '?' in replacement takes the character its '?' in
  // the pattern matched. Returns the number of matches found (with FirstOnly: the position
  // of the replacement, -1 when none).
  int32_t replace(const char* pattern, const char* replacement, uint32_t flags = 0, int32_t skip = 0,
                  int32_t max_count = kAll);
  // Removes characters of set from start on (see remove_flag::); returns how many.
  int32_t remove_chars(const char* set, int32_t start = 0, uint32_t flags = 0);
  // Cuts the string into tokens appended to list (see split_flag::); returns the number of
  // tokens appended.
  int32_t split(Vector<String>& list, const char* separators, uint32_t flags) const;
  // Every line, empty ones included (split with LineEnds, NulSeparates and KeepEmpty).
  int32_t split_lines(Vector<String>& list) const;
  // The number at position (optional sign, digits), advancing position past it;
  // -2147483648 when position is at or past the end.
  int32_t parse_int(int32_t& position) const;

  // --- Formatting (printf semantics; output of any size) ---
  String& format(const char* format, ...) QVIN_PRINTF(2, 3);
  String& append_format(const char* format, ...) QVIN_PRINTF(2, 3);
  String& vformat(const char* format, va_list arguments);
  String& append_vformat(const char* format, va_list arguments);

 private:
  // Moves the block to length bytes by the storage rule; false only when fallible.
  bool resize(int32_t length, bool fallible);

  char* buffer_ = nullptr;
  int32_t length_ = 0;
  int32_t capacity_ = 0;
};

// Equal when lengths and bytes are equal (case-sensitive).
bool operator==(const String& a, const String& b);
bool operator==(const String& a, const char* b);
inline bool operator!=(const String& a, const String& b) { return !(a == b); }
inline bool operator!=(const String& a, const char* b) { return !(a == b); }

// A new String formatted printf-style.
String format_string(const char* format, ...) QVIN_PRINTF(1, 2);

// printf-style into a fixed buffer of size bytes, always terminated when size > 0: for the
// paths that must not allocate. Returns what vsnprintf returns. (The C library's own
// formatting: the portable snprintf of mingw would bring a second printf into the program.)
int format_buffer(char* buffer, int size, const char* format, ...) QVIN_PRINTF(3, 4);

// --- Number to text ---
String from_int(int32_t n);
String from_int64(int64_t n);
// precision >= 0: "%.*f"; negative: "%.6f" without trailing zeros and a last '.'.
String from_double(double x, int32_t precision);
// "%d bytes" below 1024 (and for negative n), else "%.2f KB", "MB", "GB", "TB" (powers of 2).
String byte_size(int64_t n);
// "1st", "2nd", "3rd", "4th" ... "11th" ... "21st" ... "111st": 4..20 take "th", else the
// last digit decides.
String ordinal(int32_t n);
// The number as English ordinal words: "First", "Twelfth", "Twentieth", "Twenty First",
// "One Hundredth", "Two Thousand Sixth"; "Zeroth" for 0; negative numbers start "Minus ".
String ordinal_word(int32_t n);

// --- Text to number ---
// From the first digit, '+', '-' or '.', with every ',' after it removed, atoi; 0 when
// there is no such character.
int32_t to_int(const char* text);
// The same with a 64-bit decimal reader.
int64_t to_int64(const char* text);
// Reads a number at cursor and advances it (see parse_flag::); 0 when there is no digit
// (-2147483648 with MinWhenNone).
int32_t parse_int_flags(const char*& cursor, uint32_t flags);
// False for a text that trims to "", "0", or (any case) "n", "no", "f", "false"; else true.
bool to_bool(const char* text);
inline int32_t to_int(const String& text) { return to_int(text.text()); }
inline int64_t to_int64(const String& text) { return to_int64(text.text()); }
inline bool to_bool(const String& text) { return to_bool(text.text()); }

// Compares version texts ("1.2.10b"): positive when a is newer, 0 when equal, negative
// when older. Numbers compare in order; a text that runs out first is older (1.2 < 1.2.0);
// equal numbers fall back to the trailing letters (1.2 < 1.2a < 1.2b).
int32_t compare_versions(const char* a, const char* b);

// Character classes of the whole library (ASCII only).
namespace ascii {
inline bool is_digit(char c) { return c >= '0' && c <= '9'; }
inline bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline bool is_identifier_char(char c) { return is_letter(c) || is_digit(c) || c == '_'; }
inline bool is_white(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
inline bool is_line_end(char c) { return c == '\r' || c == '\n'; }
inline char to_upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
inline char to_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace ascii

// Case-insensitive compare of at most n bytes (strnicmp semantics: both sides folded to
// lower case, stops at a zero byte). Null counts as "".
int compare_no_case(const char* a, const char* b, int32_t n = kAll);

}  // namespace core
