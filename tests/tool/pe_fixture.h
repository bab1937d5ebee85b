// Small PE images made in memory for tests: a stub-like program with a few sections
// and, on request, a version resource.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qvin_test {

inline void put16(std::string& b, size_t at, uint32_t v) {
  if (b.size() < at + 2) b.resize(at + 2);
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
inline void put32(std::string& b, size_t at, uint32_t v) {
  put16(b, at, v & 0xFFFF);
  put16(b, at + 2, v >> 16);
}
inline size_t align(size_t v, size_t a) { return (v + a - 1) / a * a; }

inline std::string utf16z(const std::string& ascii) {
  std::string out;
  for (char c : ascii) {
    out += c;
    out += '\0';
  }
  out += std::string(2, '\0');
  return out;
}

// One node of a version block: length, value length, type, key, value, children.
inline std::string version_node(const std::string& key, int type, const std::string& value,
                                uint32_t value_length, const std::string& children) {
  std::string b(6, '\0');
  b += utf16z(key);
  b.resize(align(b.size(), 4));
  b += value;
  if (!children.empty()) b.resize(align(b.size(), 4));
  b += children;
  put16(b, 0, static_cast<uint32_t>(b.size()));
  put16(b, 2, value_length);
  put16(b, 4, static_cast<uint32_t>(type));
  return b;
}

// A version block holding a FileVersion text (ASCII) in string table `table_key`, with a
// Translation entry `translation` (language in the low half) unless it is absent.
inline std::string version_block(const std::string& file_version, const std::string& table_key,
                                 std::optional<uint32_t> translation) {
  std::string fixed(52, '\0');
  put32(fixed, 0, 0xFEEF04BD);
  put32(fixed, 4, 0x00010000);
  const std::string value = utf16z(file_version);
  std::string entry = version_node("CompanyName", 1, utf16z("Test"), 5, "");
  entry.resize(align(entry.size(), 4));
  entry += version_node("FileVersion", 1, value, static_cast<uint32_t>(value.size() / 2), "");
  const std::string table = version_node(table_key, 1, "", 0, entry);
  std::string children = version_node("StringFileInfo", 1, "", 0, table);
  if (translation) {
    children.resize(align(children.size(), 4));
    std::string t;
    put32(t, 0, *translation);
    children += version_node("VarFileInfo", 1, "", 0, version_node("Translation", 0, t, 4, ""));
  }
  return version_node("VS_VERSION_INFO", 0, fixed, 52, children);
}

// A PE32+ program with `.text`, `.data` and `.rsrc` sections; the resource section holds
// `version` as the RT_VERSION resource when it is given. Header room is left for more
// section entries.
inline std::string make_pe(const std::optional<std::string>& version = std::nullopt) {
  const size_t lfanew = 0x80, opt = lfanew + 24, table = opt + 240;
  const size_t file_align = 0x200, section_align = 0x1000, headers = 0x400;
  std::string rsrc;
  if (version) {
    // root -> type 16 -> name 1 -> language 0x409 -> data entry -> data
    const uint32_t rva = 3 * section_align;
    put16(rsrc, 14, 1);
    put32(rsrc, 16, 16);
    put32(rsrc, 20, 0x80000000u | 24);
    put16(rsrc, 24 + 14, 1);
    put32(rsrc, 24 + 16, 1);
    put32(rsrc, 24 + 20, 0x80000000u | 48);
    put16(rsrc, 48 + 14, 1);
    put32(rsrc, 48 + 16, 0x409);
    put32(rsrc, 48 + 20, 72);
    put32(rsrc, 72, rva + 88);
    put32(rsrc, 76, static_cast<uint32_t>(version->size()));
    rsrc.resize(88);
    rsrc += *version;
  } else {
    rsrc = std::string(16, '\0');
  }
  const std::string bodies[3] = {std::string(16, '\xC3'), std::string("fixture data", 12), rsrc};
  const char* names[3] = {".text", ".data", ".rsrc"};
  std::string pe(headers, '\0');
  pe[0] = 'M';
  pe[1] = 'Z';
  put32(pe, 0x3C, lfanew);
  put32(pe, lfanew, 0x00004550);
  put16(pe, lfanew + 4, 0x8664);
  put16(pe, lfanew + 6, 3);
  put16(pe, lfanew + 20, 240);
  put16(pe, lfanew + 22, 0x22);
  put16(pe, opt, 0x20B);
  put32(pe, opt + 16, section_align);  // entry point
  put32(pe, opt + 24, 0x00400000);     // image base (low half)
  put32(pe, opt + 32, section_align);
  put32(pe, opt + 36, file_align);
  put16(pe, opt + 48, 6);
  put32(pe, opt + 56, static_cast<uint32_t>(4 * section_align));
  put32(pe, opt + 60, static_cast<uint32_t>(headers));
  put16(pe, opt + 68, 2);
  put32(pe, opt + 108, 16);
  if (version) {
    put32(pe, opt + 112 + 16, 3 * section_align);
    put32(pe, opt + 112 + 20, static_cast<uint32_t>(rsrc.size()));
  }
  size_t raw = headers;
  for (int i = 0; i < 3; ++i) {
    const size_t e = table + i * 40;
    for (size_t k = 0; names[i][k]; ++k) pe[e + k] = names[i][k];
    put32(pe, e + 8, static_cast<uint32_t>(bodies[i].size()));
    put32(pe, e + 12, static_cast<uint32_t>((i + 1) * section_align));
    const size_t size = align(bodies[i].size(), file_align);
    put32(pe, e + 16, static_cast<uint32_t>(size));
    put32(pe, e + 20, static_cast<uint32_t>(raw));
    put32(pe, e + 36, i == 0 ? 0x60000020u : 0x40000040u);
    std::string body = bodies[i];
    body.resize(size);
    pe += body;
    raw += size;
  }
  return pe;
}

}  // namespace qvin_test
