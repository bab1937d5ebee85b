// The check of file names and destinations that come from the archive.
#include "archive/stored_name.h"

#include "core/string.h"

namespace archive {
namespace {

bool is_separator(char c) { return c == '\\' || c == '/'; }

// A component of length n at text: "." and ".." climb; an empty one only where the form
// allows it (a network or rooted path's leading separators, a trailing one).
bool climbs(const char* text, int n) { return (n == 1 && text[0] == '.') || (n == 2 && text[0] == '.' && text[1] == '.'); }

}  // namespace

const char* stored_name_problem(const char* text, StoredNameKind kind) {
  if (text == nullptr || text[0] == 0) return "the name is empty";
  int start = 0;
  // A destination may start with a drive: "C:" then the path.
  if (kind == StoredNameKind::Destination && core::ascii::is_letter(text[0]) && text[1] == ':') start = 2;
  for (int i = start;; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == 0) break;
    if (c < 0x20 || c == 0x7F) return "a control character (such as a line break) in a name";
    switch (c) {
      case '"':
      case '<':
      case '>':
      case '|':
      case '*':
      case '?':
        return "a character Windows does not allow in file names (\" < > | * ?)";
      case ':':
        return kind == StoredNameKind::Destination ? "a ':' that is not the drive of a destination"
                                                   : "a ':' (a drive or stream) in a file name";
      default:
        break;
    }
  }
  // Components: none may be "." or ".."; empty ones are harmless separators' doubling,
  // except that a name must have something after its last separator.
  int component = start;
  for (int i = start;; ++i) {
    char c = text[i];
    if (c != 0 && !is_separator(c)) continue;
    if (climbs(text + component, i - component)) return "a \".\" or \"..\" component in a name";
    if (c == 0) {
      if (kind == StoredNameKind::Name && i == component) return "a name that ends with a separator";
      break;
    }
    component = i + 1;
  }
  return nullptr;
}

}  // namespace archive
