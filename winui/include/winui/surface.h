// Pixel buffers that windows and memory DCs draw into, and the DC that targets one.
#pragma once

#include <winui/windef.h>

#include <cstdint>
#include <string>
#include <vector>

namespace winui {

// 32-bit top-down pixel buffer; a pixel is 0x00RRGGBB (B in the lowest byte, as a Windows DIB).
class Surface {
 public:
  Surface() = default;
  Surface(int width, int height, std::uint32_t fill = 0);

  int Width() const { return width_; }
  int Height() const { return height_; }
  std::uint32_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  const std::uint32_t* Row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  std::uint32_t& At(int x, int y) { return Row(y)[x]; }
  std::uint32_t At(int x, int y) const { return Row(y)[x]; }
  void Resize(int width, int height, std::uint32_t fill = 0);

 private:
  int width_ = 0, height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

// COLORREF is 0x00BBGGRR, a pixel 0x00RRGGBB: the conversion swaps R and B.
constexpr std::uint32_t PixelFromColorRef(COLORREF c) {
  return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr COLORREF ColorRefFromPixel(std::uint32_t p) {
  return ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
}

// The picture as an 8-bit RGB PNG file's bytes; false and a message in *error on failure. Writing
// the bytes to a file is the host's business.
bool EncodePng(const Surface& surface, std::vector<std::uint8_t>* png, std::string* error);
// Reads an 8-bit RGB or RGBA PNG (alpha dropped); false and a message in *error on failure.
bool LoadPng(const std::string& path, Surface* surface, std::string* error);

// A DC that draws into `surface`: logical (0,0) maps to `origin` on the surface, and nothing is
// drawn outside `clip` (surface coordinates). Released with DeleteDC (memory-DC semantics) or
// ReleaseSurfaceDC. Core uses this for GetDC/GetWindowDC/BeginPaint.
HDC CreateSurfaceDC(Surface* surface, POINT origin, RECT clip);
void ReleaseSurfaceDC(HDC dc);

}  // namespace winui
