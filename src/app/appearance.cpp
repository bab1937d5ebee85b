// The background's appearance from the installer's settings.
#include "app/appearance.h"

#include "ui/background_window.h"
#include "ui/run_state.h"

namespace app {
namespace {

void repaint_background() {
  HWND window = ui::run_state().background_window;
  if (window != nullptr) InvalidateRect(window, nullptr, TRUE);
}

}  // namespace

void prepare_background(const archive::Settings& settings) {
  ui::background_appearance().full_screen = (settings.flags2 & archive::flag2::FullScreenBackground) != 0;
}

void show_settings_on_background(const archive::Settings& settings) {
  ui::BackgroundAppearance& look = ui::background_appearance();
  look.title_color = static_cast<COLORREF>(settings.title_color);
  look.top_color = static_cast<COLORREF>(settings.top_color);
  look.bottom_color = static_cast<COLORREF>(settings.bottom_color);
  look.mono_color = settings.top_color == settings.bottom_color;
  look.title_shadow = settings.title_shadow;
  look.title_position = settings.title_position;
  look.title_font = settings.title_font;
  look.bitmap_size = settings.bitmap_size;
  look.stretch_mode = settings.stretch_mode;
  if (settings.bitmap.length() > 0) look.image.load_bytes(settings.bitmap.text(), settings.bitmap.length());
  repaint_background();
}

void set_background_title(const core::String& title) {
  ui::background_appearance().title = title;
  repaint_background();
}

}  // namespace app
