// The borderless window behind every dialog: a vertical gradient or one flat colour, an
// optional picture, and the product title with a drop shadow at one of six places.
#pragma once

#include <stdint.h>

#include "core/string.h"
#include "core/win/windows.h"
#include "ui/dib_image.h"

namespace ui {

// The window class of the background window.
inline constexpr char background_window_class[] = "QVA Window Class";

// The message of every failure to create the window.
inline constexpr char background_window_failure[] =
    "Failed to create the installer's window.  Please reboot your machine and try again.";

// How the background looks. One record per process; the window reads it on every paint.
// Whoever changes a field invalidates the window with erase set, so that both the
// background and the title are painted again.
struct BackgroundAppearance {
  core::String title;       // may hold several lines (CR, LF, CR LF or LF CR)
  COLORREF title_color = 0;
  COLORREF top_color = 0;     // gradient at the top edge; the flat colour in mono mode
  COLORREF bottom_color = 0;  // gradient at the bottom edge
  bool mono_color = false;    // the whole window in top_color
  DibImage image;             // optional picture
  int32_t bitmap_size = 0;    // per cent of the window given to the picture; 0 or less: none
  int32_t stretch_mode = 2;   // archive::stretch_mode
  uint8_t title_shadow = 1;   // offset of the black shadow, right and down; 0: none
  uint8_t title_position = 0; // 0 none; 1..3 top left, centre, right; 4..6 bottom
  bool full_screen = true;    // maximised over the screen; else the work area
  core::String title_font = "Times New Roman Bold Italic";
};

// The process's record, with the values above until someone changes them.
BackgroundAppearance& background_appearance();

// Registers the window class on the first call, then creates, shows and activates the
// window over the screen (full_screen) or the work area, owned by parent (may be null).
// Never returns without a window: a failure ends the program through fatal_error. A failed
// work-area query turns full_screen on.
HWND create_background_window(HINSTANCE instance, HWND parent);

// The window procedure: the background on WM_ERASEBKGND, the title on WM_PAINT.
LRESULT CALLBACK background_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace ui
