// A sheet of the drawing primitives and text, as the documentation shows it.
#include "expected_picture.h"

#include <winui/surface.h>
#include <winui/wingdi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

HFONT Font(const char* face, LONG height, LONG weight = FW_NORMAL, BYTE italic = 0, BYTE quality = DEFAULT_QUALITY) {
  return CreateFont(height, 0, 0, 0, weight, italic, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    quality, DEFAULT_PITCH, face);
}

void Caption(HDC dc, int x, int y, const char* text) {
  SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  TextOut(dc, x, y, text, static_cast<int>(std::string(text).size()));
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
}

void DrawShapes(HDC dc) {
  Caption(dc, 8, 4, "Lines, rectangles, ellipse, polygon");
  for (int i = 0; i < 8; ++i) {
    MoveToEx(dc, 8, 22, nullptr);
    LineTo(dc, 8 + i * 8, 70 - i * 6);
  }
  HPEN wide = CreatePen(PS_SOLID, 3, RGB(10, 36, 106));
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  HGDIOBJ oldPen = SelectObject(dc, wide);
  HGDIOBJ oldBrush = SelectObject(dc, face);
  Rectangle(dc, 84, 24, 124, 68);
  SelectObject(dc, oldPen);
  Ellipse(dc, 134, 24, 184, 68);
  const POINT star[] = {{214, 22}, {226, 68}, {194, 40}, {234, 40}, {202, 68}};
  Polygon(dc, star, 5);
  SelectObject(dc, oldBrush);
  DeleteObject(wide);
}

void DrawEdges(HDC dc) {
  Caption(dc, 8, 78, "DrawEdge raised, sunken, etched, bump; focus");
  const UINT edges[] = {EDGE_RAISED, EDGE_SUNKEN, EDGE_ETCHED, EDGE_BUMP};
  for (int i = 0; i < 4; ++i) {
    RECT rc{8 + i * 48, 96, 48 + i * 48, 124};
    DrawEdge(dc, &rc, edges[i], BF_RECT | BF_MIDDLE);
  }
  const RECT focus{200, 96, 240, 124};
  DrawFocusRect(dc, &focus);
}

void DrawTexts(HDC dc) {
  struct Sample {
    HFONT font;
    const char* text;
  };
  const std::vector<Sample> samples = {
      {Font("MS Sans Serif", -11), "MS Sans Serif 8: The quick brown fox 0123"},
      {Font("MS Sans Serif", -11, FW_BOLD), "Bold: The quick brown fox 0123"},
      {Font("Arial", -11, FW_NORMAL, 1), "Italic: The quick brown fox 0123"},
      {Font("Courier New", -13), "Courier New: fixed 0123"},
      {Font("Times New Roman", -13), "Times New Roman: serif 0123"},
      {Font("MS Sans Serif", -11, FW_NORMAL, 0, NONANTIALIASED_QUALITY), "Non-antialiased quality 0123"},
  };
  int y = 134;
  for (const Sample& s : samples) {
    HGDIOBJ old = SelectObject(dc, s.font);
    TextOut(dc, 8, y, s.text, static_cast<int>(std::string(s.text).size()));
    SelectObject(dc, old);
    DeleteObject(s.font);
    y += 16;
  }
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  const UINT formats[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
  for (int i = 0; i < 3; ++i) {
    RECT box{260, 22 + i * 26, 380, 44 + i * 26};
    FillRect(dc, &box, GetSysColorBrush(COLOR_WINDOW));
    DrawText(dc, "&Aligned", -1, &box, formats[i] | DT_VCENTER | DT_SINGLELINE);
  }
  RECT cut{260, 104, 380, 124};
  FillRect(dc, &cut, GetSysColorBrush(COLOR_WINDOW));
  DrawText(dc, "Too long to fit into the box", -1, &cut, DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  RECT wrapped{260, 134, 380, 230};
  FillRect(dc, &wrapped, GetSysColorBrush(COLOR_WINDOW));
  DrawText(dc, "Word-broken text wraps between words inside its rectangle, as multi-line statics do.", -1, &wrapped,
           DT_WORDBREAK);
  SelectObject(dc, old);
}

void DrawIconSample(HDC dc) {
  std::vector<std::uint32_t> pixels(32 * 32);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const int dx = x - 16, dy = y - 16;
      const std::uint32_t alpha = dx * dx + dy * dy < 15 * 15 ? 0xFF : (dx * dx + dy * dy < 16 * 16 ? 0x80 : 0);
      pixels[y * 32 + x] = (alpha << 24) | (static_cast<std::uint32_t>(x * 8) << 16) | 0x40 << 8 | (255 - y * 8);
    }
  }
  HICON icon = CreateIconFromPixels(32, 32, pixels.data());
  DrawIconEx(dc, 340, 236, icon, 0, 0, 0, nullptr, DI_NORMAL);
  DestroyIcon(icon);
}

TEST(GdiSheetTest, RendersThePrimitivesAndTextSheet) {
  winui::Surface sheet(390, 276, winui::PixelFromColorRef(GetSysColor(COLOR_BTNFACE)));
  HDC dc = winui::CreateSurfaceDC(&sheet, POINT{0, 0}, RECT{0, 0, sheet.Width(), sheet.Height()});
  SetBkMode(dc, TRANSPARENT);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  DrawShapes(dc);
  DrawEdges(dc);
  DrawTexts(dc);
  DrawIconSample(dc);
  winui::ReleaseSurfaceDC(dc);
  expected_picture::ExpectMatchesDocsPicture(sheet, "winui-gdi-sheet.png");
}

}  // namespace
