// Photographs of the screen or of one window, saved as 24-bit bitmap files.
#include "screenshot.h"

#include <stdint.h>
#include <stdio.h>

#include <vector>

namespace ui_driver {
namespace {

void put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

}  // namespace

std::string save_screenshot(HWND window, const std::string& path) {
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (window != nullptr) {
    RECT rect;
    if (!GetWindowRect(window, &rect)) return "the window is gone";
    // Only the part on the screen can be photographed.
    IntersectRect(&area, &area, &rect);
  }
  int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return "the window has no area on the screen";

  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as bitmap files store rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr) {
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return "cannot make a bitmap of " + std::to_string(width) + "x" + std::to_string(height);
  }
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BOOL copied = BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  GdiFlush();

  uint32_t row = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  uint32_t pixels = row * static_cast<uint32_t>(height);
  std::vector<uint8_t> file;
  file.push_back('B');
  file.push_back('M');
  put32(file, 14 + 40 + pixels);
  put32(file, 0);
  put32(file, 14 + 40);
  put32(file, 40);
  put32(file, static_cast<uint32_t>(width));
  put32(file, static_cast<uint32_t>(height));
  put16(file, 1);
  put16(file, 24);
  put32(file, BI_RGB);
  put32(file, pixels);
  put32(file, 2835);  // 72 dots per inch
  put32(file, 2835);
  put32(file, 0);
  put32(file, 0);
  const uint8_t* data = static_cast<const uint8_t*>(bits);
  file.insert(file.end(), data, data + pixels);

  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (!copied) return "cannot copy the screen's pixels";

  FILE* out = fopen(path.c_str(), "wb");
  if (out == nullptr) return "cannot write " + path;
  bool written = fwrite(file.data(), 1, file.size(), out) == file.size();
  written = fclose(out) == 0 && written;
  return written ? "" : "cannot write " + path;
}

}  // namespace ui_driver
