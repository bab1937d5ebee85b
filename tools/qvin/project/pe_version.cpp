// PE version resource walk: headers -> resource tree (RT_VERSION) -> VS_VERSIONINFO
// -> StringFileInfo -> string table of the first translation -> FileVersion.
#include "qvin/project/pe_version.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

#include "archive/format.h"
#include "archive/pe_headers.h"
#include "qvin/project/text_encoding.h"

namespace qvin {
namespace {

class Bytes {
 public:
  explicit Bytes(std::string_view data) : data_(data) {}
  bool has(uint64_t at, uint64_t n) const { return at <= data_.size() && n <= data_.size() - at; }
  uint32_t u16(uint64_t at) const {
    return has(at, 2) ? static_cast<uint32_t>(byte(at) | byte(at + 1) << 8) : 0;
  }
  uint32_t u32(uint64_t at) const { return has(at, 4) ? u16(at) | u16(at + 2) << 16 : 0; }
  size_t size() const { return data_.size(); }

 private:
  uint32_t byte(uint64_t at) const { return static_cast<unsigned char>(data_[at]); }
  std::string_view data_;
};

struct Section {
  uint32_t virtual_address, virtual_size, raw_size, raw_pointer;
};

// File offset of a relative virtual address, or nullopt when no section holds it.
std::optional<uint64_t> file_offset(const std::vector<Section>& sections, uint32_t rva) {
  for (const auto& s : sections) {
    const uint32_t extent = std::max(s.virtual_size, s.raw_size);
    if (rva >= s.virtual_address && rva - s.virtual_address < extent) {
      const uint64_t delta = rva - s.virtual_address;
      if (delta >= s.raw_size) return std::nullopt;
      return uint64_t{s.raw_pointer} + delta;
    }
  }
  return std::nullopt;
}

// The location and size of the first RT_VERSION resource's data.
std::optional<std::pair<uint64_t, uint32_t>> version_resource(const Bytes& pe, std::string_view file) {
  archive::PeHeaders headers;
  if (!archive::read_pe_headers(reinterpret_cast<const uint8_t*>(file.data()), static_cast<int64_t>(file.size()),
                                headers) ||
      headers.resource_entry < 0)
    return std::nullopt;
  const uint32_t resource_rva = pe.u32(static_cast<uint64_t>(headers.resource_entry));
  if (resource_rva == 0) return std::nullopt;
  namespace section = archive::pe::section;
  std::vector<Section> sections;
  for (int i = 0; i < headers.section_count && i <= archive::pe::kMaxSections; ++i) {
    const uint64_t e = static_cast<uint64_t>(headers.section_table) + uint64_t(i) * section::kEntrySize;
    if (!pe.has(e, section::kEntrySize)) return std::nullopt;
    sections.push_back({pe.u32(e + section::kVirtualAddressOffset), pe.u32(e + section::kVirtualSizeOffset),
                        pe.u32(e + section::kSizeOfRawDataOffset), pe.u32(e + section::kPointerToRawDataOffset)});
  }
  const auto root = file_offset(sections, resource_rva);
  if (!root) return std::nullopt;

  // Three levels: type, name, language. At each level take the wanted id (type 16)
  // or the first entry; a high bit in the offset marks a further directory.
  uint64_t dir = *root;
  for (int level = 0; level < 3; ++level) {
    const uint32_t named = pe.u16(dir + 12), ids = pe.u16(dir + 14);
    const uint32_t entries = named + ids;
    std::optional<uint32_t> target;
    for (uint32_t i = 0; i < entries; ++i) {
      const uint64_t e = dir + 16 + uint64_t{i} * 8;
      if (!pe.has(e, 8)) return std::nullopt;
      const uint32_t name = pe.u32(e), offset = pe.u32(e + 4);
      if (level == 0 && (i < named || name != 16)) continue;
      target = offset;
      break;
    }
    if (!target) return std::nullopt;
    const bool subdirectory = (*target & 0x80000000u) != 0;
    if ((level < 2) != subdirectory) return std::nullopt;
    dir = *root + (*target & 0x7FFFFFFFu);
    if (dir > pe.size()) return std::nullopt;
  }
  const uint32_t data_rva = pe.u32(dir), data_size = pe.u32(dir + 4);
  const auto data = file_offset(sections, data_rva);
  if (!data || !pe.has(*data, data_size)) return std::nullopt;
  return std::make_pair(*data, data_size);
}

// One node of the version block: key, value and children, each located in the file.
struct Node {
  std::u16string key;
  uint32_t type = 0;
  uint64_t value = 0, value_end = 0;  // value bytes
  uint64_t children = 0, end = 0;     // child nodes
};

uint64_t align4(uint64_t v) { return (v + 3) & ~uint64_t{3}; }

std::optional<Node> read_node(const Bytes& pe, uint64_t at, uint64_t limit) {
  const uint32_t length = pe.u16(at);
  if (length < 6 || at + length > limit) return std::nullopt;
  Node n;
  n.end = at + length;
  const uint32_t value_length = pe.u16(at + 2);
  n.type = pe.u16(at + 4);
  uint64_t p = at + 6;
  while (p + 2 <= n.end && pe.u16(p) != 0) {
    n.key += static_cast<char16_t>(pe.u16(p));
    p += 2;
  }
  p = align4(p + 2);
  n.value = std::min(p, n.end);
  // Text values count their length in characters; some writers count bytes. The value
  // ends at the first NUL within the node in either case (see text_value).
  const uint64_t bytes = n.type == 1 ? uint64_t{value_length} * 2 : value_length;
  n.value_end = std::min(n.value + bytes, n.end);
  n.children = std::min(align4(n.value_end), n.end);
  return n;
}

std::vector<Node> children(const Bytes& pe, const Node& parent) {
  std::vector<Node> out;
  uint64_t p = parent.children;
  while (p + 6 <= parent.end) {
    const auto child = read_node(pe, p, parent.end);
    if (!child) break;
    out.push_back(*child);
    p = align4(child->end);
  }
  return out;
}

bool same_key(const std::u16string& a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] > 0x7F || std::tolower(static_cast<int>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::string text_value(const Bytes& pe, const Node& n) {
  std::string utf8;
  for (uint64_t p = n.value; p + 2 <= n.end; p += 2) {
    const uint32_t c = pe.u16(p);
    if (c == 0) break;
    utf8 += utf8_of(static_cast<char32_t>(c));
  }
  const auto bytes = utf8_to_cp1252(utf8);
  if (bytes) return *bytes;
  std::string out;
  for (uint64_t p = n.value; p + 2 <= n.end && pe.u16(p) != 0; p += 2) {
    const auto one = utf8_to_cp1252(utf8_of(static_cast<char32_t>(pe.u16(p))));
    out += one ? *one : "?";
  }
  return out;
}

}  // namespace

std::string pe_file_version(std::string_view image) {
  const Bytes pe(image);
  const auto resource = version_resource(pe, image);
  if (!resource) return {};
  const uint64_t limit = resource->first + resource->second;
  const auto root = read_node(pe, resource->first, limit);
  if (!root) return {};

  char key[16];
  std::snprintf(key, sizeof key, "%04x%04x", 0x0409u, 0x04E4u);
  for (const Node& info : children(pe, *root)) {
    if (!same_key(info.key, "VarFileInfo")) continue;
    for (const Node& var : children(pe, info)) {
      if (!same_key(var.key, "Translation") || var.value_end - var.value < 4) continue;
      std::snprintf(key, sizeof key, "%04x%04x", pe.u16(var.value), pe.u16(var.value + 2));
      break;
    }
    break;
  }
  for (const Node& info : children(pe, *root)) {
    if (!same_key(info.key, "StringFileInfo")) continue;
    for (const Node& table : children(pe, info)) {
      if (!same_key(table.key, key)) continue;
      for (const Node& entry : children(pe, table)) {
        if (!same_key(entry.key, "FileVersion")) continue;
        std::string version;
        for (char c : text_value(pe, entry)) {
          if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
          version += c == ',' ? '.' : c;
        }
        return version;
      }
    }
  }
  return {};
}

}  // namespace qvin
