// Windows-1252 <-> UTF-8: Latin-1 plus the 0x80..0x9F block of typographic characters.
#include "qvin/project/text_encoding.h"

#include "qvin/platform/system.h"

#include <cstdio>

namespace qvin {
namespace {

// Code points of bytes 0x80..0x9F; the unassigned ones keep their own value.
constexpr char32_t kHighBlock[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::optional<unsigned char> byte_of(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
  for (int i = 0; i < 32; ++i)
    if (kHighBlock[i] == cp) return static_cast<unsigned char>(0x80 + i);
  return std::nullopt;
}

}  // namespace

std::string utf8_of(char32_t cp) {
  std::string out;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

std::optional<std::string> utf8_to_cp1252(const std::string& utf8, std::string* bad) {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  auto fail = [&](const std::string& why) -> std::optional<std::string> {
    if (bad) *bad = why;
    return std::nullopt;
  };
  while (i < utf8.size()) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    char32_t cp;
    int extra;
    if (lead < 0x80) { cp = lead; extra = 0; }
    else if ((lead & 0xE0) == 0xC0) { cp = lead & 0x1F; extra = 1; }
    else if ((lead & 0xF0) == 0xE0) { cp = lead & 0x0F; extra = 2; }
    else if ((lead & 0xF8) == 0xF0) { cp = lead & 0x07; extra = 3; }
    else return fail("invalid UTF-8 at byte " + std::to_string(i));
    if (i + extra >= utf8.size()) return fail("truncated UTF-8 at byte " + std::to_string(i));
    for (int k = 1; k <= extra; ++k) {
      const unsigned char c = static_cast<unsigned char>(utf8[i + k]);
      if ((c & 0xC0) != 0x80) return fail("invalid UTF-8 at byte " + std::to_string(i));
      cp = (cp << 6) | (c & 0x3F);
    }
    const auto byte = byte_of(cp);
    if (!byte) {
      char buf[32];
      std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
      return fail(std::string("character ") + buf + " (\"" + utf8.substr(i, extra + 1) +
                  "\") has no Windows-1252 form");
    }
    out += static_cast<char>(*byte);
    i += extra + 1;
  }
  return out;
}

std::string crlf_line_ends(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      out += c;
      continue;
    }
    out += "\r\n";
    if (i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == '\n') && text[i + 1] != c) ++i;
  }
  return out;
}

std::string cp1252_to_utf8(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char ch : bytes) {
    const unsigned char b = static_cast<unsigned char>(ch);
    if (b < 0x80) out += ch;
    else if (b < 0xA0) out += utf8_of(kHighBlock[b - 0x80]);
    else out += utf8_of(b);
  }
  return out;
}

core::String to_core(std::string_view bytes) {
  core::String text;
  if (!bytes.empty()) text.append(bytes.data(), static_cast<int32_t>(bytes.size()));
  return text;
}

std::string from_core(const core::String& text) { return std::string(text.text(), static_cast<size_t>(text.length())); }

std::filesystem::path path_of_cp1252(const std::string& bytes) {
  return platform::path_from_utf8(cp1252_to_utf8(bytes));
}

}  // namespace qvin
