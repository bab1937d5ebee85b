// Stored names -> safe relative paths; anything that could leave the target is refused.
#include "qvin/commands/extract_paths.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "archive/stored_name.h"
#include "qvin/project/text_encoding.h"

namespace qvin {
namespace {

std::string upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool is_device_name(std::string_view component) {
  // Windows treats "NUL.txt" and "nul .txt" as the device too.
  std::string base = upper(component.substr(0, component.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  static constexpr std::string_view kFixed[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  if (std::find(std::begin(kFixed), std::end(kFixed), base) != std::end(kFixed)) return true;
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
         base[3] >= '1' && base[3] <= '9';
}

ExtractPath refuse(std::string why) { return ExtractPath{std::nullopt, std::move(why)}; }

}  // namespace

ExtractPath extract_path(std::string_view name) {
  // The runtime's own check first; what follows is stricter, for writing on any system.
  const std::string whole(name);
  if (whole.find('\0') != std::string::npos) return refuse("a zero byte in a name");
  if (const char* problem = archive::stored_name_problem(whole.c_str(), archive::StoredNameKind::Name))
    return refuse(problem);
  if (name.front() == '\\' || name.front() == '/')
    return refuse("an absolute path leaves the target directory");
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (size_t i = 0; i <= name.size(); ++i) {
    if (i < name.size() && name[i] != '\\' && name[i] != '/') continue;
    if (i > start) parts.push_back(name.substr(start, i - start));
    start = i + 1;
  }
  if (parts.empty()) return refuse("the name has no file name");
  std::filesystem::path out;
  for (const auto part : parts) {
    if (part.back() == '.' || part.back() == ' ')
      return refuse("a name ending in a dot or blank, which Windows would change");
    if (is_device_name(part)) return refuse("\"" + std::string(part) + "\" is a device name");
    out /= path_of_cp1252(std::string(part));
  }
  return ExtractPath{out, {}};
}

}  // namespace qvin
