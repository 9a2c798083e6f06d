#include "raster.h"

namespace winui::gdi {

void FillDevice(DeviceContext& dc, const RECT& rc, COLORREF color) {
  const std::uint32_t pixel = PixelFromColorRef(color);
  ForEachPixel(dc, rc, [pixel](std::uint32_t& p, int, int) { p = pixel; });
}

void PlotDevice(DeviceContext& dc, int x, int y, COLORREF color) {
  std::uint32_t* p = ClippedPixel(dc, x, y);
  if (!p) return;
  switch (dc.state.rop2) {
    case R2_BLACK:
      *p = 0;
      break;
    case R2_WHITE:
      *p = 0xFFFFFF;
      break;
    case R2_NOT:
      *p ^= 0xFFFFFF;
      break;
    case R2_XORPEN:
      *p ^= PixelFromColorRef(color);
      break;
    default:
      *p = PixelFromColorRef(color);
      break;
  }
}

void BlendDevice(DeviceContext& dc, int x, int y, std::uint32_t pixel, int coverage) {
  if (coverage <= 0) return;
  std::uint32_t* p = ClippedPixel(dc, x, y);
  if (p) *p = coverage >= 255 ? pixel : Blend(*p, pixel, coverage);
}

}  // namespace winui::gdi
