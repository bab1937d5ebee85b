// The font list of the system and of the run.
#include "install/fonts.h"

#include "core/paths.h"
#include "core/win/registry.h"
#include "core/win/system_folders.h"
#include "core/win/windows.h"
#include "install/product_fonts_codec.h"
#include "ui/system_version.h"

namespace install {

const char* font_key_path() {
  return ui::is_nt_family() ? "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts"
                            : "Software\\Microsoft\\Windows\\CurrentVersion\\Fonts";
}

bool write_font_value(const core::String& face, const core::String& font_path) {
  if (face.is_blank()) return false;
  core::RegistryKey key;
  if (key.open(HKEY_LOCAL_MACHINE, font_key_path()) == core::KeyOpenResult::Failed) return false;
  return key.write_string(face.text(), font_path);
}

bool register_font(const core::String& face, const core::String& font_path, bool permanent,
                   const InstallContext& context) {
  bool written = write_font_value(face, font_path);
  AddFontResourceA(font_path.text());
  // A font without a face name could not be found again in the list: its entry would end
  // the uninstaller's reading before the fonts after it.
  if (!permanent && !face.is_blank()) append_product_font(context.records.font_list, face, font_path);
  context.records.fonts_changed = true;
  return written;
}

void register_fonts(const InstallContext& context) {
  for (const FontRequest& request : context.records.font_requests) {
    register_font(request.face, request.path, request.permanent, context);
  }
  if (context.records.fonts_changed) broadcast_font_change();
}

bool unregister_font(const core::String& face) {
  if (face.is_blank()) return true;
  core::RegistryKey key;
  if (key.open(HKEY_LOCAL_MACHINE, font_key_path(), core::registry_option::ExistingOnly) ==
      core::KeyOpenResult::Failed) {
    return true;
  }
  if (!key.value_exists(face.text())) return true;
  return key.delete_value(face.text()) == core::KeyDeleteResult::Deleted;
}

core::String font_file_path(const core::String& file, const core::ProcessEnvironment& env) {
  if (core::is_absolute_path(file.text())) return file;
  core::String folder = core::special_folder(core::SpecialFolder::Fonts, env.windows_directory.text());
  return core::join_path(folder.text(), file.text());
}

void broadcast_font_change() {
  // A window that has stopped answering must not hold the installation up.
  constexpr UINT kTimeoutMs = 5000;
  SendMessageTimeoutA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs, nullptr);
}

}  // namespace install
