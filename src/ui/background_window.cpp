// The background window: creation, and painting of background, picture and title.
#include "ui/background_window.h"

#include "ui/gradient_fill.h"
#include "ui/picture_layout.h"
#include "ui/reporting.h"
#include "ui/text_lines.h"
#include "ui/title_layout.h"

namespace ui {
namespace {

void fill_background(HDC dc, const RECT& client, const BackgroundAppearance& look) {
  if (look.mono_color) {
    HBRUSH brush = CreateSolidBrush(look.top_color);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
  } else {
    gradient_fill(dc, client, look.top_color, look.bottom_color);
  }
}

LRESULT erase_background(HWND window, HDC dc) {
  const BackgroundAppearance& look = background_appearance();
  RECT client;
  GetClientRect(window, &client);
  fill_background(dc, client, look);
  if (look.image.is_empty() || look.bitmap_size <= 0) return 1;
  // The client rectangle's edges taken as they are: the box is one pixel larger.
  PictureBox client_box = {client.left, client.top, client.right, client.bottom};
  PictureBox box =
      place_picture(client_box, look.bitmap_size, look.stretch_mode, look.image.width(), look.image.height());
  look.image.draw(dc, box, SRCCOPY);
  return 1;
}

HFONT create_title_font(int32_t height, const char* face) {
  return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                     CLIP_DEFAULT_PRECIS, PROOF_QUALITY, 0, face);
}

void draw_title(HDC dc, const RECT& client, const BackgroundAppearance& look) {
  const char* text = look.title.text();
  int32_t length = look.title.length();
  uint8_t shadow = look.title_shadow;
  int32_t pixels_per_inch = GetDeviceCaps(dc, LOGPIXELSY);

  // The largest size from 26 points down that fits the width; the smallest unmeasured.
  int32_t points = title_largest_points;
  TextExtent extent;
  int32_t font_height = 0;
  HFONT font = nullptr;
  for (;;) {
    font_height = title_font_height(pixels_per_inch, points);
    font = create_title_font(font_height, look.title_font.text());
    if (!(points > title_smallest_points)) break;
    HGDIOBJ previous = SelectObject(dc, font);
    extent = measure_text_lines(dc, text, length);
    SelectObject(dc, previous);
    if (title_fits(shadow, extent.width, client.right)) break;
    DeleteObject(font);
    --points;
  }

  int32_t alignment = title_alignment(look.title_position);
  int32_t box_width = title_box_width(client.right, shadow);
  int32_t y = title_top(look.title_position, client.bottom, shadow, extent.height);
  HGDIOBJ previous = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  if (shadow != 0) {
    SetTextColor(dc, RGB(0, 0, 0));
    draw_text_lines(dc, title_shadow_x(shadow), y + shadow, box_width, font_height, text, length, alignment);
  }
  SetTextColor(dc, look.title_color);
  draw_text_lines(dc, title_text_x, y, box_width, font_height, text, length, alignment);
  SelectObject(dc, previous);
  DeleteObject(font);
}

LRESULT paint_title(HWND window) {
  const BackgroundAppearance& look = background_appearance();
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  if (dc != nullptr && !look.title.is_empty() && look.title_position != 0) {
    RECT client;
    GetClientRect(window, &client);
    draw_title(dc, client, look);
  }
  EndPaint(window, &paint);
  return 0;
}

}  // namespace

BackgroundAppearance& background_appearance() {
  static BackgroundAppearance appearance;
  return appearance;
}

LRESULT CALLBACK background_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return erase_background(window, reinterpret_cast<HDC>(wparam));
    case WM_PAINT:
      return paint_title(window);
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

HWND create_background_window(HINSTANCE instance, HWND parent) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA window_class = {};
    window_class.style = CS_VREDRAW | CS_HREDRAW;
    window_class.lpfnWndProc = background_window_procedure;
    window_class.hInstance = instance;
    window_class.lpszClassName = background_window_class;
    if (RegisterClassA(&window_class) == 0) fatal_error(background_window_failure);
    registered = true;
  }

  BackgroundAppearance& look = background_appearance();
  RECT area = {0, 0, 0, 0};
  if (!look.full_screen) {
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) {
      area = RECT{0, 0, 0, 0};
      look.full_screen = true;
    }
  }
  HWND window = CreateWindowExA(0, background_window_class, "", WS_POPUP, area.left, area.top,
                                area.right - area.left, area.bottom - area.top, parent, nullptr, instance, nullptr);
  if (window == nullptr) fatal_error(background_window_failure);

  ShowWindow(window, SW_HIDE);
  ShowWindow(window, look.full_screen ? SW_MAXIMIZE : SW_SHOW);
  SetForegroundWindow(window);
  SetActiveWindow(window);
  InvalidateRect(window, nullptr, TRUE);
  return window;
}

}  // namespace ui
