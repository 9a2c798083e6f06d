// Pixel access in device coordinates, clipped to the DC: the one place that touches surface memory.
#pragma once

#include "device_context.h"

namespace winui::gdi {

// The surface pixel at device (x, y), or null when the DC's clip excludes it.
inline std::uint32_t* ClippedPixel(DeviceContext& dc, int x, int y) {
  const RECT& c = dc.state.clip;
  if (x < c.left || x >= c.right || y < c.top || y >= c.bottom) return nullptr;
  return &dc.surface->At(x + dc.origin.x, y + dc.origin.y);
}

// Calls fn(pixel&, deviceX, deviceY) for every pixel of `rc` (device coordinates) inside the clip.
template <class Fn>
void ForEachPixel(DeviceContext& dc, const RECT& rc, Fn&& fn) {
  const RECT r = Intersection(rc, dc.state.clip);
  for (int y = r.top; y < r.bottom; ++y) {
    std::uint32_t* row = dc.surface->Row(y + dc.origin.y) + dc.origin.x;
    for (int x = r.left; x < r.right; ++x) fn(row[x], x, y);
  }
}

void FillDevice(DeviceContext& dc, const RECT& rc, COLORREF color);
// One pixel in the colour and binary raster mode (SetROP2) of a pen.
void PlotDevice(DeviceContext& dc, int x, int y, COLORREF color);
// Mixes `color` over the pixel with `coverage` 0..255 (glyph edges, icon alpha).
void BlendDevice(DeviceContext& dc, int x, int y, std::uint32_t pixel, int coverage);

inline std::uint32_t Blend(std::uint32_t under, std::uint32_t over, int coverage) {
  auto channel = [&](int shift) {
    const int a = static_cast<int>((under >> shift) & 0xFF), b = static_cast<int>((over >> shift) & 0xFF);
    return static_cast<std::uint32_t>(a + ((b - a) * coverage + 127) / 255) << shift;
  };
  return channel(16) | channel(8) | channel(0);
}

}  // namespace winui::gdi
