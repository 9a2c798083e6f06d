// Pixels, lines and filled shapes in the current pen and brush.
#include "raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

using winui::gdi::DeviceContext;
using winui::gdi::LookupDc;
using winui::gdi::PenData;

namespace {

bool DrawsOutline(const PenData& pen) { return pen.style != PS_NULL; }

// A line from `from` to `to` in device coordinates, Bresenham's way, without its end point (so that
// polylines do not draw their joints twice). Wide pens stamp a square at every step.
void StrokeDevice(DeviceContext& dc, POINT from, POINT to, const PenData& pen) {
  const int dx = std::abs(to.x - from.x), dy = -std::abs(to.y - from.y);
  const int sx = from.x < to.x ? 1 : -1, sy = from.y < to.y ? 1 : -1;
  const int before = (pen.width - 1) / 2, after = pen.width - 1 - before;
  int err = dx + dy;
  for (POINT p = from; p.x != to.x || p.y != to.y;) {
    if (pen.width <= 1) {
      winui::gdi::PlotDevice(dc, p.x, p.y, pen.color);
    } else {
      winui::gdi::FillDevice(dc, RECT{p.x - before, p.y - before, p.x + after + 1, p.y + after + 1}, pen.color);
    }
    const int e2 = 2 * err;
    if (e2 >= dy) err += dy, p.x += sx;
    if (e2 <= dx) err += dx, p.y += sy;
  }
}

// A band `width` pixels thick just inside `outer` (device coordinates), each pixel touched once.
void FrameDevice(DeviceContext& dc, const RECT& outer, int width, COLORREF color) {
  const RECT inner{outer.left + width, outer.top + width, outer.right - width, outer.bottom - width};
  winui::gdi::ForEachPixel(dc, outer, [&](std::uint32_t&, int x, int y) {
    if (x < inner.left || x >= inner.right || y < inner.top || y >= inner.bottom) {
      winui::gdi::PlotDevice(dc, x, y, color);
    }
  });
}

void FillWithBrush(DeviceContext& dc, const RECT& deviceRect) {
  const winui::gdi::BrushData brush = winui::gdi::CurrentBrush(dc);
  if (brush.style != BS_NULL) winui::gdi::FillDevice(dc, deviceRect, brush.color);
}

RECT Normalized(int left, int top, int right, int bottom) {
  return RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

// Half the chord of the ellipse inscribed in `rc` at the centre of row y, in pixels.
double HalfChord(const RECT& rc, double y) {
  const double rx = (rc.right - rc.left) / 2.0, ry = (rc.bottom - rc.top) / 2.0;
  const double cy = (rc.top + rc.bottom) / 2.0;
  if (rx <= 0 || ry <= 0) return -1;
  const double t = (y - cy) / ry;
  return t * t > 1 ? -1 : rx * std::sqrt(1 - t * t);
}

bool InsideEllipse(const RECT& rc, int x, int y) {
  const double half = HalfChord(rc, y + 0.5);
  const double cx = (rc.left + rc.right) / 2.0;
  return half >= 0 && std::abs(x + 0.5 - cx) <= half;
}

}  // namespace

COLORREF SetPixel(HDC handle, int x, int y, COLORREF color) {
  DeviceContext* dc = LookupDc(handle);
  if (!dc) return CLR_INVALID;
  const POINT p = winui::gdi::ToDevice(*dc, x, y);
  std::uint32_t* pixel = winui::gdi::ClippedPixel(*dc, p.x, p.y);
  if (!pixel) return CLR_INVALID;
  *pixel = winui::PixelFromColorRef(color);
  return color & 0xFFFFFF;
}

COLORREF GetPixel(HDC handle, int x, int y) {
  DeviceContext* dc = LookupDc(handle);
  if (!dc) return CLR_INVALID;
  const POINT p = winui::gdi::ToDevice(*dc, x, y);
  const std::uint32_t* pixel = winui::gdi::ClippedPixel(*dc, p.x, p.y);
  return pixel ? winui::ColorRefFromPixel(*pixel) : CLR_INVALID;
}

BOOL LineTo(HDC handle, int x, int y) {
  DeviceContext* dc = LookupDc(handle);
  if (!dc) return FALSE;
  const PenData pen = winui::gdi::CurrentPen(*dc);
  const POINT from = dc->state.position;
  if (DrawsOutline(pen)) {
    StrokeDevice(*dc, winui::gdi::ToDevice(*dc, from.x, from.y), winui::gdi::ToDevice(*dc, x, y), pen);
  }
  dc->state.position = POINT{x, y};
  return TRUE;
}

BOOL Polyline(HDC handle, const POINT* points, int count) {
  DeviceContext* dc = LookupDc(handle);
  if (!dc || !points || count < 2) return FALSE;
  const PenData pen = winui::gdi::CurrentPen(*dc);
  if (!DrawsOutline(pen)) return TRUE;
  for (int i = 1; i < count; ++i) {
    StrokeDevice(*dc, winui::gdi::ToDevice(*dc, points[i - 1].x, points[i - 1].y),
                 winui::gdi::ToDevice(*dc, points[i].x, points[i].y), pen);
  }
  return TRUE;
}

BOOL Polygon(HDC handle, const POINT* points, int count) {
  DeviceContext* dc = LookupDc(handle);
  if (!dc || !points || count < 2) return FALSE;
  std::vector<POINT> device(count);
  for (int i = 0; i < count; ++i) device[i] = winui::gdi::ToDevice(*dc, points[i].x, points[i].y);
  const winui::gdi::BrushData brush = winui::gdi::CurrentBrush(*dc);
  if (brush.style != BS_NULL) {
    // Even-odd fill sampled at pixel centres, the ALTERNATE mode GDI starts with.
    const auto [minY, maxY] =
        std::minmax_element(device.begin(), device.end(), [](POINT a, POINT b) { return a.y < b.y; });
    std::vector<double> crossings;
    for (int y = minY->y; y < maxY->y; ++y) {
      const double cy = y + 0.5;
      crossings.clear();
      for (int i = 0; i < count; ++i) {
        const POINT a = device[i], b = device[(i + 1) % count];
        if ((a.y <= cy) != (b.y <= cy)) crossings.push_back(a.x + (cy - a.y) * (b.x - a.x) / double(b.y - a.y));
      }
      std::sort(crossings.begin(), crossings.end());
      for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
        const int x0 = static_cast<int>(std::ceil(crossings[i] - 0.5));
        const int x1 = static_cast<int>(std::ceil(crossings[i + 1] - 0.5));
        winui::gdi::FillDevice(*dc, RECT{x0, y, x1, y + 1}, brush.color);
      }
    }
  }
  const PenData pen = winui::gdi::CurrentPen(*dc);
  if (DrawsOutline(pen)) {
    for (int i = 0; i < count; ++i) StrokeDevice(*dc, device[i], device[(i + 1) % count], pen);
  }
  return TRUE;
}

BOOL Rectangle(HDC handle, int left, int top, int right, int bottom) {
  DeviceContext* dc = LookupDc(handle);
  if (!dc) return FALSE;
  const RECT rc = winui::gdi::ToDevice(*dc, Normalized(left, top, right, bottom));
  const PenData pen = winui::gdi::CurrentPen(*dc);
  if (!DrawsOutline(pen)) {
    // Without an outline GDI fills one pixel less to the right and bottom.
    FillWithBrush(*dc, RECT{rc.left, rc.top, rc.right - 1, rc.bottom - 1});
    return TRUE;
  }
  const int width = std::max(pen.width, 1);
  RECT outer = rc;
  if (pen.style != PS_INSIDEFRAME) {
    // A wide pen is centred on the one-pixel outline.
    const int before = (width - 1) / 2, after = width - 1 - before;
    outer = RECT{rc.left - before, rc.top - before, rc.right + after, rc.bottom + after};
  }
  FillWithBrush(*dc, RECT{outer.left + width, outer.top + width, outer.right - width, outer.bottom - width});
  FrameDevice(*dc, outer, width, pen.color);
  return TRUE;
}

BOOL Ellipse(HDC handle, int left, int top, int right, int bottom) {
  DeviceContext* dc = LookupDc(handle);
  if (!dc) return FALSE;
  const RECT outer = winui::gdi::ToDevice(*dc, Normalized(left, top, right, bottom));
  const PenData pen = winui::gdi::CurrentPen(*dc);
  const int width = DrawsOutline(pen) ? std::max(pen.width, 1) : 0;
  const RECT inner{outer.left + width, outer.top + width, outer.right - width, outer.bottom - width};
  const winui::gdi::BrushData brush = winui::gdi::CurrentBrush(*dc);
  winui::gdi::ForEachPixel(*dc, outer, [&](std::uint32_t&, int x, int y) {
    if (!InsideEllipse(outer, x, y)) return;
    if (InsideEllipse(inner, x, y)) {
      if (brush.style != BS_NULL) winui::gdi::FillDevice(*dc, RECT{x, y, x + 1, y + 1}, brush.color);
    } else if (width > 0) {
      winui::gdi::PlotDevice(*dc, x, y, pen.color);
    }
  });
  return TRUE;
}

int FillRect(HDC handle, const RECT* rect, HBRUSH brush) {
  DeviceContext* dc = LookupDc(handle);
  const winui::gdi::BrushData* data = winui::gdi::ResolveBrush(brush);
  if (!dc || !rect || !data) return 0;
  if (data->style != BS_NULL) winui::gdi::FillDevice(*dc, winui::gdi::ToDevice(*dc, *rect), data->color);
  return 1;
}

int FrameRect(HDC handle, const RECT* rect, HBRUSH brush) {
  DeviceContext* dc = LookupDc(handle);
  const winui::gdi::BrushData* data = winui::gdi::ResolveBrush(brush);
  if (!dc || !rect || !data) return 0;
  const RECT rc = winui::gdi::ToDevice(*dc, *rect);
  if (data->style == BS_NULL || winui::gdi::IsEmpty(rc)) return 1;
  const std::uint32_t pixel = winui::PixelFromColorRef(data->color);
  winui::gdi::ForEachPixel(*dc, rc, [&](std::uint32_t& p, int x, int y) {
    if (x == rc.left || x == rc.right - 1 || y == rc.top || y == rc.bottom - 1) p = pixel;
  });
  return 1;
}

BOOL InvertRect(HDC handle, const RECT* rect) {
  DeviceContext* dc = LookupDc(handle);
  if (!dc || !rect) return FALSE;
  winui::gdi::ForEachPixel(*dc, winui::gdi::ToDevice(*dc, *rect), [](std::uint32_t& p, int, int) { p ^= 0xFFFFFF; });
  return TRUE;
}

BOOL PatBlt(HDC handle, int x, int y, int width, int height, DWORD rop) {
  DeviceContext* dc = LookupDc(handle);
  if (!dc) return FALSE;
  const RECT rc = winui::gdi::ToDevice(*dc, Normalized(x, y, x + width, y + height));
  const winui::gdi::BrushData brush = winui::gdi::CurrentBrush(*dc);
  const std::uint32_t pattern = brush.style == BS_NULL ? 0 : winui::PixelFromColorRef(brush.color);
  switch (rop) {
    case PATCOPY:
      if (brush.style != BS_NULL) winui::gdi::FillDevice(*dc, rc, brush.color);
      return TRUE;
    case PATINVERT:
      winui::gdi::ForEachPixel(*dc, rc, [pattern](std::uint32_t& p, int, int) { p ^= pattern; });
      return TRUE;
    case DSTINVERT:
      winui::gdi::ForEachPixel(*dc, rc, [](std::uint32_t& p, int, int) { p ^= 0xFFFFFF; });
      return TRUE;
    case BLACKNESS:
      winui::gdi::FillDevice(*dc, rc, RGB(0, 0, 0));
      return TRUE;
    case WHITENESS:
      winui::gdi::FillDevice(*dc, rc, RGB(255, 255, 255));
      return TRUE;
    default:
      return FALSE;
  }
}
