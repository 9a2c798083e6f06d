// Block transfers between DCs and from client pixel buffers.
#include "raster.h"

#include <algorithm>

using winui::gdi::DeviceContext;
using winui::gdi::LookupDc;

namespace {

// The raster operations that combine source and destination only (no pattern).
bool Combine(DWORD rop, std::uint32_t& dst, std::uint32_t src) {
  switch (rop) {
    case SRCCOPY:
      dst = src;
      return true;
    case SRCAND:
      dst &= src;
      return true;
    case SRCPAINT:
      dst |= src;
      return true;
    case SRCINVERT:
      dst ^= src;
      return true;
    default:
      return false;
  }
}

bool SupportedSourceRop(DWORD rop) { return rop == SRCCOPY || rop == SRCAND || rop == SRCPAINT || rop == SRCINVERT; }

// Source pixels come from the source DC's own surface, read only inside its bounds (its clip does
// not limit reading, as on Windows); what falls outside the source leaves the destination alone.
template <class SourceAt>
void Transfer(DeviceContext& dst, const RECT& dstRect, DWORD rop, SourceAt&& sourceAt) {
  winui::gdi::ForEachPixel(dst, dstRect, [&](std::uint32_t& p, int x, int y) {
    const std::uint32_t* s = sourceAt(x - dstRect.left, y - dstRect.top);
    if (s) Combine(rop, p, *s & 0xFFFFFF);  // a DIB may carry alpha in the top byte
  });
}

const std::uint32_t* SourcePixel(const DeviceContext& src, int x, int y) {
  const RECT& b = src.bounds;
  if (x < b.left || x >= b.right || y < b.top || y >= b.bottom) return nullptr;
  return &src.surface->At(x + src.origin.x, y + src.origin.y);
}

}  // namespace

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int srcX, int srcY, DWORD rop) {
  if (!SupportedSourceRop(rop)) return PatBlt(dest, x, y, width, height, rop);
  DeviceContext* dst = LookupDc(dest);
  DeviceContext* src = LookupDc(source);
  if (!dst || !src || width < 0 || height < 0) return FALSE;
  const POINT d = winui::gdi::ToDevice(*dst, x, y);
  const POINT s = winui::gdi::ToDevice(*src, srcX, srcY);
  if (dst->surface == src->surface) {
    // Overlapping copies within one surface read a snapshot, so scrolling does not smear.
    const RECT from{s.x, s.y, s.x + width, s.y + height};
    winui::Surface copy(width, height);
    for (int row = 0; row < height; ++row) {
      for (int col = 0; col < width; ++col) {
        const std::uint32_t* p = SourcePixel(*src, from.left + col, from.top + row);
        copy.At(col, row) = p ? *p : 0;
      }
    }
    Transfer(*dst, RECT{d.x, d.y, d.x + width, d.y + height}, rop, [&](int col, int row) {
      return SourcePixel(*src, from.left + col, from.top + row) ? &copy.At(col, row) : nullptr;
    });
    return TRUE;
  }
  Transfer(*dst, RECT{d.x, d.y, d.x + width, d.y + height}, rop,
           [&](int col, int row) { return SourcePixel(*src, s.x + col, s.y + row); });
  return TRUE;
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int srcX, int srcY, int srcWidth,
                int srcHeight, DWORD rop) {
  DeviceContext* dst = LookupDc(dest);
  DeviceContext* src = LookupDc(source);
  if (!dst || !src || !SupportedSourceRop(rop) || width <= 0 || height <= 0 || srcWidth <= 0 || srcHeight <= 0) {
    return FALSE;
  }
  const POINT d = winui::gdi::ToDevice(*dst, x, y);
  const POINT s = winui::gdi::ToDevice(*src, srcX, srcY);
  // Nearest pixel, the COLORONCOLOR mode: enough for previews, and exact for whole-number zooms.
  Transfer(*dst, RECT{d.x, d.y, d.x + width, d.y + height}, rop, [&](int col, int row) {
    return SourcePixel(*src, s.x + col * srcWidth / width, s.y + row * srcHeight / height);
  });
  return TRUE;
}

int StretchDIBits(HDC dc, int x, int y, int width, int height, int srcX, int srcY, int srcWidth, int srcHeight,
                  const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
  DeviceContext* dst = LookupDc(dc);
  if (!dst || !bits || !info || usage != DIB_RGB_COLORS || !SupportedSourceRop(rop)) return 0;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biBitCount != 32 || h.biCompression != BI_RGB || h.biWidth <= 0 || h.biHeight == 0) return 0;
  if (width <= 0 || height <= 0 || srcWidth <= 0 || srcHeight <= 0) return 0;
  const int rows = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  const POINT d = winui::gdi::ToDevice(*dst, x, y);
  Transfer(*dst, RECT{d.x, d.y, d.x + width, d.y + height}, rop, [&](int col, int row) -> const std::uint32_t* {
    const int sx = srcX + col * srcWidth / width, sy = srcY + row * srcHeight / height;
    if (sx < 0 || sx >= h.biWidth || sy < 0 || sy >= rows) return nullptr;
    const int stored = h.biHeight < 0 ? sy : rows - 1 - sy;  // positive heights are stored bottom-up
    return pixels + static_cast<std::size_t>(stored) * h.biWidth + sx;
  });
  return height;
}
