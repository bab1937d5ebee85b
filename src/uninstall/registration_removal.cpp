// Releasing fonts, shared files and the product's keys.
#include "uninstall/registration_removal.h"

#include "core/text_format.h"
#include "core/win/whole_file.h"
#include "install/component_registration.h"
#include "install/fonts.h"
#include "install/product_fonts_codec.h"
#include "install/restart_replace.h"
#include "install/shared_count_rules.h"
#include "install/shared_counts.h"
#include "ui/progress_dialog.h"
#include "ui/reporting.h"
#include "ui/run_state.h"

namespace uninstall {

namespace {

constexpr int32_t kProductKeyLevels = 20;

// A question with yes and no; true for yes.
bool asked_yes(int32_t text_id, int32_t caption_id, const core::String& subject) {
  core::String text = core::format_text(ui::localised(text_id).text(), {subject});
  return ui::message_box(text.text(), ui::localised(caption_id).text(), MB_ICONQUESTION | MB_YESNO) == IDYES;
}

bool asks(uint32_t flag) { return !ui::run_state().automatic && ui::has_flag(flag); }

}  // namespace

void remove_fonts(core::RegistryKey& uninstall_key, UninstallRun& run) {
  if (run.font_list.is_empty()) return;
  ui::set_status(67);
  ui::set_progress(5);
  bool removed = false;
  for (const install::ProductFont& font : install::read_product_fonts(run.font_list)) {
    if (asks(archive::flag::UninstallAsksAboutFonts) && !asked_yes(56, 57, font.face)) continue;
    install::unregister_font(font.face);
    core::String path = install::font_file_path(font.file, ui::run_state().environment);
    RemoveFontResourceA(path.text());
    install::delete_file(path, 0);
    removed = true;
  }
  uninstall_key.delete_value("ProductFonts");
  if (removed) install::broadcast_font_change();
  ui::wait_minimum(500);
}

void release_shared_files(const core::String& shared_files, UninstallRun& run) {
  if (shared_files.is_empty()) return;
  core::RegistryKey key;
  if (key.open(HKEY_LOCAL_MACHINE, install::kSharedDllsKey) == core::KeyOpenResult::Failed) {
    run.records.error_report.append("REGISTRY ERROR:  Unable to adjust shared file reference counts.\r\n\r\n");
    return;
  }
  install::RegistryCountStore store(key);
  for (const install::SharedFile& file : install::release_shared_files(store, shared_files)) {
    install::unregister_shared_file(file);
    if (!core::file_exists(file.target.text())) continue;
    if (asks(archive::flag::UninstallAsksAboutSharedFiles) && !asked_yes(59, 35, file.target)) continue;
    install::delete_file(file.target, 0);
  }
}

void remove_product_keys(const core::String& product_key) {
  if (product_key.is_blank()) return;
  for (bool per_user : {false, true}) {
    core::RegistryKey key;
    core::String path = product_key;
    path.trim_right('\\');
    for (int32_t level = 0; level < kProductKeyLevels && !path.is_empty(); ++level) {
      uint32_t options = level == 0 ? 0 : core::registry_option::OnlyIfEmpty;
      if (key.delete_software_key(path.text(), per_user, options) != core::KeyDeleteResult::Deleted) break;
      int32_t last = path.find_last('\\');
      if (last < 0) break;
      path.truncate(last);
      path.trim_right('\\');
    }
  }
}

}  // namespace uninstall
