// A white surface with a DC on it, and readers for what the drawing left there.
#pragma once

#include <winui/surface.h>
#include <winui/wingdi.h>

#include <algorithm>
#include <string>

namespace gdi_test {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;

class Canvas {
 public:
  Canvas(int width, int height, POINT origin = {0, 0}, RECT clip = {0, 0, 1 << 16, 1 << 16})
      : surface(width, height, kWhite), dc(winui::CreateSurfaceDC(&surface, origin, clip)) {}
  ~Canvas() { winui::ReleaseSurfaceDC(dc); }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  // Rows as text, '#' for `ink` and '.' for anything else: pictures a reader can check by eye.
  std::string Picture(std::uint32_t ink = kBlack) const {
    std::string rows;
    for (int y = 0; y < surface.Height(); ++y) {
      for (int x = 0; x < surface.Width(); ++x) rows += surface.At(x, y) == ink ? '#' : '.';
      rows += '\n';
    }
    return rows;
  }

  // The smallest rectangle holding every pixel that is not white.
  RECT InkBounds() const {
    RECT r{surface.Width(), surface.Height(), 0, 0};
    for (int y = 0; y < surface.Height(); ++y) {
      for (int x = 0; x < surface.Width(); ++x) {
        if (surface.At(x, y) == kWhite) continue;
        r.left = std::min<LONG>(r.left, x), r.top = std::min<LONG>(r.top, y);
        r.right = std::max<LONG>(r.right, x + 1), r.bottom = std::max<LONG>(r.bottom, y + 1);
      }
    }
    return r;
  }

  winui::Surface surface;
  HDC dc;
};

}  // namespace gdi_test
