// File version resources through the system's version functions.
#include "core/win/version_info.h"

#include <string.h>

#include "core/version_text.h"
#include "core/win/windows.h"

namespace core {

namespace {

// One entry of "\VarFileInfo\Translation".
struct Translation {
  WORD language;
  WORD code_page;
};

constexpr Translation default_translation = {0x0409, 0x04E4};

}  // namespace

bool read_version_block(const char* path, String& block) {
  block = "";
  if (path == nullptr) return false;
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(path, &handle);
  if (size == 0 || size > 0x7FFFFFFF) return false;
  block.set_length(static_cast<int32_t>(size));
  if (GetFileVersionInfoA(path, 0, size, block.data())) return true;
  block = "";
  return false;
}

bool query_value(const String& block, const char* value_path, String& text) {
  if (block.is_empty() || value_path == nullptr) return false;
  void* data = nullptr;
  UINT length = 0;
  // The system wants a writable block: it may convert texts inside the block's spare room.
  if (!VerQueryValueA(const_cast<char*>(block.text()), value_path, &data, &length) || data == nullptr) return false;
  text = "";
  text.append(static_cast<const char*>(data), static_cast<int32_t>(length));
  return true;
}

String translation_key(const String& block) {
  Translation translation = default_translation;
  String value;
  // The size of the entry, not of a 32-bit word: a shorter value is no translation.
  if (query_value(block, "\\VarFileInfo\\Translation", value) && value.length() >= static_cast<int32_t>(sizeof(Translation))) {
    memcpy(&translation, value.text(), sizeof(Translation));
  }
  return translation_key_text(translation.language, translation.code_page);
}

String file_version_text(const char* path, bool padded) {
  String block;
  String text;
  if (!read_version_block(path, block)) return text;
  String value_path("\\StringFileInfo\\");
  value_path.append(translation_key(block));
  value_path.append("\\FileVersion");
  if (!query_value(block, value_path.text(), text)) return String();
  normalise_version_text(text, padded);
  return text;
}

}  // namespace core
