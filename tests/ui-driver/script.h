// Lines of a driver script: the command word, its arguments and the text escapes.
#pragma once

#include <string>
#include <vector>

namespace ui_driver {

// One script line. `words` are the arguments split at white space (a double-quoted stretch
// is one word, quotes removed); `rest` is the raw text after the command word, trimmed.
struct Command {
  int line = 0;
  std::string name;
  std::vector<std::string> words;
  std::string rest;
};

// Splits `text` into a command; false for a blank line or a comment (first non-blank "#").
bool parse_command(const std::string& text, int line, Command& command);

// The raw text after the first argument word: the text of `expect-text` and `type`. A text
// wholly enclosed in double quotes loses them (so leading blanks and "" can be written).
std::string text_after_first_word(const std::string& rest);

// A pattern with an optional trailing number: "Choose Your Language 5000" gives the
// pattern "Choose Your Language" and 5000; no trailing number leaves `number` unchanged.
// A pattern wholly enclosed in double quotes loses them.
std::string pattern_and_number(const std::string& rest, long& number);

// \r \n \t \\ \" and \xHH in `text` replaced by the characters they stand for.
std::string unescape(const std::string& text);

// The reverse, for printing texts on one line: control characters and backslashes escaped.
std::string escape(const std::string& text);

// A whole decimal number (optionally negative); false for anything else.
bool parse_number(const std::string& text, long& value);

}  // namespace ui_driver
