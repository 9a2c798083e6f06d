// Fonts from LOGFONTs, text metrics and single-line text output.
#include "raster.h"
#include "text_render.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

using winui::gdi::DeviceContext;
using winui::gdi::FontInstance;
using winui::gdi::LookupDc;

namespace {

// The device x of the first cell and y of its top for a reference point under the DC's text alignment.
POINT CellOrigin(const DeviceContext& dc, const FontInstance& font, POINT reference, int width) {
  const UINT align = dc.state.textAlign;
  POINT p = reference;
  if ((align & TA_CENTER) == TA_CENTER) {
    p.x -= width / 2;
  } else if (align & TA_RIGHT) {
    p.x -= width;
  }
  if ((align & TA_BASELINE) == TA_BASELINE) {
    p.y -= font.Metrics().tmAscent;
  } else if (align & TA_BOTTOM) {
    p.y -= font.Metrics().tmHeight;
  }
  return p;
}

int RunWidth(const FontInstance& font, LPCSTR text, int length, const INT* dx) {
  if (!dx) return winui::gdi::TextWidth(font, text, length);
  int width = 0;
  for (int i = 0; i < length; ++i) width += dx[i];
  return width;
}

}  // namespace

HFONT CreateFontIndirect(const LOGFONT* font) {
  if (!font) return nullptr;
  winui::gdi::FontData data;
  data.logfont = *font;
  data.logfont.lfFaceName[LF_FACESIZE - 1] = '\0';
  // Opened now so that a missing font file fails here, where the caller can still react.
  data.instance = winui::gdi::OpenFont(data.logfont);
  data.openTried = true;
  if (!data.instance) return nullptr;
  return reinterpret_cast<HFONT>(winui::gdi::Register(winui::gdi::GdiObject{std::move(data)}));
}

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                 DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                 DWORD pitchAndFamily, LPCSTR faceName) {
  LOGFONT font;
  font.lfHeight = height;
  font.lfWidth = width;
  font.lfEscapement = escapement;
  font.lfOrientation = orientation;
  font.lfWeight = weight;
  font.lfItalic = static_cast<BYTE>(italic);
  font.lfUnderline = static_cast<BYTE>(underline);
  font.lfStrikeOut = static_cast<BYTE>(strikeOut);
  font.lfCharSet = static_cast<BYTE>(charSet);
  font.lfOutPrecision = static_cast<BYTE>(outPrecision);
  font.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  font.lfQuality = static_cast<BYTE>(quality);
  font.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  if (faceName) std::snprintf(font.lfFaceName, LF_FACESIZE, "%s", faceName);
  return CreateFontIndirect(&font);
}

BOOL GetTextMetrics(HDC handle, LPTEXTMETRIC metrics) {
  DeviceContext* dc = LookupDc(handle);
  const FontInstance* font = dc ? winui::gdi::CurrentFont(*dc) : nullptr;
  if (!font || !metrics) return FALSE;
  *metrics = font->Metrics();
  return TRUE;
}

int GetTextFace(HDC handle, int count, LPSTR faceName) {
  DeviceContext* dc = LookupDc(handle);
  const FontInstance* font = dc ? winui::gdi::CurrentFont(*dc) : nullptr;
  if (!font) return 0;
  const std::string& name = font->FaceName();
  if (!faceName) return static_cast<int>(name.size()) + 1;
  if (count <= 0) return 0;
  const int copied = std::min(count - 1, static_cast<int>(name.size()));
  std::memcpy(faceName, name.data(), static_cast<std::size_t>(copied));
  faceName[copied] = '\0';
  return copied;
}

BOOL GetTextExtentPoint32(HDC handle, LPCSTR text, int length, SIZE* size) {
  DeviceContext* dc = LookupDc(handle);
  const FontInstance* font = dc ? winui::gdi::CurrentFont(*dc) : nullptr;
  if (!font || !size || length < 0 || (!text && length > 0)) return FALSE;
  *size = SIZE{winui::gdi::TextWidth(*font, text, length), font->Metrics().tmHeight};
  return TRUE;
}

BOOL GetTextExtentPoint(HDC dc, LPCSTR text, int length, SIZE* size) {
  return GetTextExtentPoint32(dc, text, length, size);
}

BOOL GetTextExtentExPoint(HDC handle, LPCSTR text, int length, int maxExtent, int* fit, int* extents, SIZE* size) {
  DeviceContext* dc = LookupDc(handle);
  const FontInstance* font = dc ? winui::gdi::CurrentFont(*dc) : nullptr;
  if (!font || length < 0 || (!text && length > 0)) return FALSE;
  int width = 0, fitting = 0;
  for (int i = 0; i < length; ++i) {
    width += font->Advance(static_cast<unsigned char>(text[i]));
    if (extents) extents[i] = width;
    if (width <= maxExtent) fitting = i + 1;
  }
  if (fit) *fit = fitting;
  if (size) *size = SIZE{width, font->Metrics().tmHeight};
  return TRUE;
}

BOOL ExtTextOut(HDC handle, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT length, const INT* dx) {
  DeviceContext* dc = LookupDc(handle);
  const FontInstance* font = dc ? winui::gdi::CurrentFont(*dc) : nullptr;
  if (!font || (!text && length > 0)) return FALSE;
  const int count = static_cast<int>(length);
  const RECT deviceRect = rect ? winui::gdi::ToDevice(*dc, *rect) : RECT{};
  if ((options & ETO_OPAQUE) && rect) winui::gdi::FillDevice(*dc, deviceRect, dc->state.bkColor);
  const bool updateCp = (dc->state.textAlign & TA_UPDATECP) != 0;
  const POINT reference = updateCp ? dc->state.position : POINT{x, y};
  const int width = RunWidth(*font, text, count, dx);
  const POINT cell = CellOrigin(*dc, *font, winui::gdi::ToDevice(*dc, reference.x, reference.y), width);
  const RECT* clip = (options & ETO_CLIPPED) && rect ? &deviceRect : nullptr;
  if (dc->state.bkMode == OPAQUE && !(options & ETO_OPAQUE)) {
    RECT background{cell.x, cell.y, cell.x + width, cell.y + font->Metrics().tmHeight};
    if (clip) background = winui::gdi::Intersection(background, *clip);
    winui::gdi::FillDevice(*dc, background, dc->state.bkColor);
  }
  winui::gdi::RenderText(*dc, *font, cell.x, cell.y, text, count, clip, dx);
  if (updateCp) {
    // Only left-aligned text moves the current position on; centred text leaves it where it was.
    const UINT horizontal = dc->state.textAlign & TA_CENTER;
    if (horizontal == TA_LEFT) dc->state.position.x += width;
    if (horizontal == TA_RIGHT) dc->state.position.x -= width;
  }
  return TRUE;
}

BOOL TextOut(HDC dc, int x, int y, LPCSTR text, int length) {
  if (length < 0) return FALSE;
  return ExtTextOut(dc, x, y, 0, nullptr, text, static_cast<UINT>(length), nullptr);
}
