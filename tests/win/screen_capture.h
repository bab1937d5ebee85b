// Photographs for the Windows tests: pixels copied from a window or the screen, saved as
// bitmap files in the screenshot folder, where people look at them (as PNGs).
#pragma once

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "core/win/windows.h"

namespace test_support {

// Pixels top row first, 0x00RRGGBB.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF; }
};

// Copies width x height pixels at x, y of a device context (a window's, or the screen's).
inline Picture capture_area(HDC source, int x, int y, int width, int height) {
  Picture picture;
  if (width <= 0 || height <= 0) return picture;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  HDC memory = CreateCompatibleDC(source);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr) {
    DeleteDC(memory);
    return picture;
  }
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
  GdiFlush();
  picture.width = width;
  picture.height = height;
  const uint32_t* first = static_cast<const uint32_t*>(bits);
  picture.pixels.assign(first, first + static_cast<size_t>(width) * height);
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  return picture;
}

// The client area of a window as it is painted now.
inline Picture capture_client(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  HDC dc = GetDC(window);
  Picture picture = capture_area(dc, 0, 0, client.right, client.bottom);
  ReleaseDC(window, dc);
  return picture;
}

// What the screen shows inside `area` (windows over it included).
inline Picture capture_screen(RECT area) {
  HDC screen = GetDC(nullptr);
  Picture picture = capture_area(screen, area.left, area.top, area.right - area.left, area.bottom - area.top);
  ReleaseDC(nullptr, screen);
  return picture;
}

// Writes a 32-bit top-down bitmap file, every pixel opaque (GDI leaves the fourth byte 0,
// which viewers take for full transparency). False when it cannot be written.
inline bool save_bitmap_file(const Picture& picture, const std::string& path) {
  if (picture.width <= 0 || picture.height <= 0) return false;
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof(header);
  header.biWidth = picture.width;
  header.biHeight = -picture.height;
  header.biPlanes = 1;
  header.biBitCount = 32;
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(picture.pixels.size() * 4);
  std::vector<uint32_t> opaque(picture.pixels);
  for (uint32_t& pixel : opaque) pixel |= 0xFF000000u;
  FILE* out = fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  bool written = fwrite(&file, sizeof(file), 1, out) == 1 && fwrite(&header, sizeof(header), 1, out) == 1 &&
                 fwrite(opaque.data(), 4, opaque.size(), out) == opaque.size();
  return fclose(out) == 0 && written;
}

// Where screenshots go: QVIN_SCREENSHOTS, else build\screenshots in a folder above the
// test program; empty when there is no such folder (then nothing is saved).
inline std::string screenshot_folder() {
  auto is_folder = [](const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  };
  if (const char* named = getenv("QVIN_SCREENSHOTS")) {
    if (is_folder(named)) return named;
  }
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
  std::string folder(path, length);
  for (size_t cut; (cut = folder.find_last_of('\\')) != std::string::npos;) {
    folder.resize(cut);
    std::string candidate = folder + "\\build\\screenshots";
    if (is_folder(candidate)) return candidate;
  }
  return "";
}

}  // namespace test_support
