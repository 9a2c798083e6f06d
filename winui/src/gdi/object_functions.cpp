// Creating, inspecting and deleting pens, brushes and bitmaps.
#include "gdi_objects.h"

#include <cstring>

using winui::gdi::BitmapData;
using winui::gdi::BrushData;
using winui::gdi::FontData;
using winui::gdi::GdiObject;
using winui::gdi::PenData;

namespace {

// Larger requests are mistakes (a garbage size), not pictures: refuse them instead of exhausting memory.
constexpr long long kMaxBitmapPixels = 1LL << 26;

HBITMAP NewBitmap(int width, int height) {
  if (width < 0 || height < 0 || static_cast<long long>(width) * height > kMaxBitmapPixels) return nullptr;
  // A zero size gives the 1 x 1 bitmap Windows hands out for it.
  if (width == 0 || height == 0) width = height = 1;
  return reinterpret_cast<HBITMAP>(
      winui::gdi::Register(GdiObject{BitmapData{winui::Surface(width, height, 0), nullptr}}));
}

template <class Record>
int CopyOut(const Record& record, int size, LPVOID buffer) {
  if (!buffer) return static_cast<int>(sizeof(Record));
  if (size < static_cast<int>(sizeof(Record))) return 0;
  std::memcpy(buffer, &record, sizeof(Record));
  return static_cast<int>(sizeof(Record));
}

}  // namespace

HPEN CreatePen(int style, int width, COLORREF color) {
  if (style != PS_SOLID && style != PS_NULL && style != PS_INSIDEFRAME) return nullptr;
  return reinterpret_cast<HPEN>(
      winui::gdi::Register(GdiObject{PenData{style, width < 1 ? 1 : width, color & 0xFFFFFF}}));
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
  return pen ? CreatePen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor) : nullptr;
}

HBRUSH CreateSolidBrush(COLORREF color) {
  return reinterpret_cast<HBRUSH>(winui::gdi::Register(GdiObject{BrushData{BS_SOLID, color & 0xFFFFFF}}));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
  if (!brush || (brush->lbStyle != BS_SOLID && brush->lbStyle != BS_NULL)) return nullptr;
  return reinterpret_cast<HBRUSH>(
      winui::gdi::Register(GdiObject{BrushData{brush->lbStyle, brush->lbColor & 0xFFFFFF}}));
}

HBITMAP CreateCompatibleBitmap(HDC /*dc*/, int width, int height) {
  // Always 32 bits per pixel, even for a memory DC still holding its first bitmap: Windows would
  // make that one monochrome, which is never what the caller wanted.
  return NewBitmap(width, height);
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  if (planes != 1 || bitsPerPixel != 32) return nullptr;
  HBITMAP bitmap = NewBitmap(width, height);
  if (bitmap && bits) SetBitmapBits(bitmap, static_cast<DWORD>(width * height * 4), bits);
  return bitmap;
}

HBITMAP CreateDIBSection(HDC /*dc*/, const BITMAPINFO* info, UINT usage, void** bits, LPVOID section,
                         DWORD /*offset*/) {
  if (!info || usage != DIB_RGB_COLORS || section) return nullptr;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biBitCount != 32 || h.biPlanes != 1 || h.biCompression != BI_RGB || h.biWidth <= 0 || h.biHeight == 0) {
    return nullptr;
  }
  HBITMAP bitmap = NewBitmap(h.biWidth, h.biHeight < 0 ? -h.biHeight : h.biHeight);
  if (bitmap && bits) *bits = winui::gdi::LookupAs<BitmapData>(bitmap)->pixels.Row(0);
  return bitmap;
}

LONG GetBitmapBits(HBITMAP bitmap, LONG size, LPVOID bits) {
  const BitmapData* data = winui::gdi::LookupAs<BitmapData>(bitmap);
  if (!data || !bits || size < 0) return 0;
  const LONG total = data->pixels.Width() * data->pixels.Height() * 4;
  const LONG count = size < total ? size : total;
  std::memcpy(bits, data->pixels.Row(0), static_cast<std::size_t>(count));
  return count;
}

LONG SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits) {
  BitmapData* data = winui::gdi::LookupAs<BitmapData>(bitmap);
  if (!data || !bits) return 0;
  const DWORD total = static_cast<DWORD>(data->pixels.Width() * data->pixels.Height() * 4);
  const DWORD count = size < total ? size : total;
  std::memcpy(data->pixels.Row(0), bits, count);
  return static_cast<LONG>(count);
}

BOOL DeleteObject(HGDIOBJ object) { return winui::gdi::Destroy(object) ? TRUE : FALSE; }

DWORD GetObjectType(HGDIOBJ object) {
  const GdiObject* found = winui::gdi::Lookup(object);
  if (!found) return 0;
  if (std::holds_alternative<PenData>(found->data)) return OBJ_PEN;
  if (std::holds_alternative<BrushData>(found->data)) return OBJ_BRUSH;
  if (std::holds_alternative<FontData>(found->data)) return OBJ_FONT;
  if (std::holds_alternative<BitmapData>(found->data)) return OBJ_BITMAP;
  return 0;
}

int GetObject(HGDIOBJ object, int size, LPVOID buffer) {
  const GdiObject* found = winui::gdi::Lookup(object);
  if (!found) return 0;
  if (const auto* pen = std::get_if<PenData>(&found->data)) {
    return CopyOut(LOGPEN{static_cast<UINT>(pen->style), POINT{pen->width, 0}, pen->color}, size, buffer);
  }
  if (const auto* brush = std::get_if<BrushData>(&found->data)) {
    return CopyOut(LOGBRUSH{brush->style, brush->color, 0}, size, buffer);
  }
  if (const auto* font = std::get_if<FontData>(&found->data)) return CopyOut(font->logfont, size, buffer);
  if (const auto* bitmap = std::get_if<BitmapData>(&found->data)) {
    BITMAP record;
    record.bmWidth = bitmap->pixels.Width();
    record.bmHeight = bitmap->pixels.Height();
    record.bmWidthBytes = record.bmWidth * 4;
    return CopyOut(record, size, buffer);
  }
  return 0;
}
