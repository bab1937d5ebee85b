// Lines of a driver script: the command word, its arguments and the text escapes.
#include "script.h"

#include <stdio.h>
#include <stdlib.h>

namespace ui_driver {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string trim(const std::string& text) {
  size_t first = 0, last = text.size();
  while (first < last && is_blank(text[first])) ++first;
  while (last > first && is_blank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

std::string unquote(const std::string& text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
  return text;
}

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool parse_command(const std::string& text, int line, Command& command) {
  std::string stripped = trim(text);
  if (stripped.empty() || stripped[0] == '#') return false;
  command = Command();
  command.line = line;
  size_t end = 0;
  while (end < stripped.size() && !is_blank(stripped[end])) ++end;
  command.name = stripped.substr(0, end);
  command.rest = trim(stripped.substr(end));

  const std::string& rest = command.rest;
  size_t at = 0;
  while (at < rest.size()) {
    while (at < rest.size() && is_blank(rest[at])) ++at;
    if (at == rest.size()) break;
    std::string word;
    while (at < rest.size() && !is_blank(rest[at])) {
      if (rest[at] == '"') {
        size_t close = rest.find('"', at + 1);
        if (close == std::string::npos) close = rest.size();
        word += rest.substr(at + 1, close - at - 1);
        at = close == rest.size() ? close : close + 1;
      } else {
        word += rest[at++];
      }
    }
    command.words.push_back(word);
  }
  return true;
}

std::string text_after_first_word(const std::string& rest) {
  size_t at = 0;
  while (at < rest.size() && !is_blank(rest[at])) ++at;
  // Exactly one separator: further blanks belong to the text.
  if (at < rest.size()) ++at;
  return unquote(rest.substr(at));
}

std::string pattern_and_number(const std::string& rest, long& number) {
  std::string pattern = trim(rest);
  size_t cut = pattern.find_last_of(" \t");
  if (cut != std::string::npos) {
    long value = 0;
    if (parse_number(pattern.substr(cut + 1), value)) {
      number = value;
      pattern = trim(pattern.substr(0, cut));
    }
  }
  return unquote(pattern);
}

std::string unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    char next = text[++i];
    switch (next) {
      case 'r': out += '\r'; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case '\\': out += '\\'; break;
      case '"': out += '"'; break;
      case 'x':
        if (i + 2 < text.size() && hex_digit(text[i + 1]) >= 0 && hex_digit(text[i + 2]) >= 0) {
          out += static_cast<char>(hex_digit(text[i + 1]) * 16 + hex_digit(text[i + 2]));
          i += 2;
          break;
        }
        [[fallthrough]];
      default:
        // An unknown escape stands for itself, so Windows paths need no doubling.
        out += '\\';
        out += next;
    }
  }
  return out;
}

std::string escape(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    switch (c) {
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\\': out += "\\\\"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char hex[8];
          snprintf(hex, sizeof(hex), "\\x%02X", c);
          out += hex;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out;
}

bool parse_number(const std::string& text, long& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  long parsed = strtol(text.c_str(), &end, 10);
  if (end == text.c_str() || *end != '\0') return false;
  value = parsed;
  return true;
}

}  // namespace ui_driver
