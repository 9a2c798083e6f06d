// Raster operations beyond plain copies: pattern fills, stretching, DIB sections, clipped text.
#include "gdi_test_canvas.h"

#include <gtest/gtest.h>

#include <cstdio>

using gdi_test::Canvas;
using gdi_test::kBlack;
using gdi_test::kWhite;

namespace {

TEST(GdiRasterOpTest, PatBltPaintsInvertsAndBlanks) {
  Canvas c(4, 1);
  SelectObject(c.dc, GetStockObject(BLACK_BRUSH));
  PatBlt(c.dc, 0, 0, 2, 1, PATCOPY);
  PatBlt(c.dc, 1, 0, 2, 1, DSTINVERT);  // black to white, white to black
  EXPECT_EQ(c.Picture(), "#.#.\n");
  PatBlt(c.dc, 4, 0, -4, 1, WHITENESS);  // a negative width reaches to the left
  EXPECT_EQ(c.Picture(), "....\n");
  EXPECT_FALSE(PatBlt(c.dc, 0, 0, 1, 1, 0x12345678));
}

TEST(GdiRasterOpTest, DibSectionPixelsShowThroughStretchBlt) {
  BITMAPINFO info{};
  info.bmiHeader.biWidth = 2;
  info.bmiHeader.biHeight = -2;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(dib, nullptr);
  auto* pixels = static_cast<std::uint32_t*>(bits);
  pixels[0] = kBlack, pixels[1] = kWhite, pixels[2] = kWhite, pixels[3] = kBlack;
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(memory, dib);

  Canvas c(4, 4);
  StretchBlt(c.dc, 0, 0, 4, 4, memory, 0, 0, 2, 2, SRCCOPY);  // each pixel becomes 2 x 2
  EXPECT_EQ(c.Picture(),
            "##..\n"
            "##..\n"
            "..##\n"
            "..##\n");
  info.bmiHeader.biBitCount = 8;
  EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
}

TEST(GdiRasterOpTest, ExtTextOutOpaqueRectangleAndClipping) {
  Canvas c(30, 14);
  LOGFONT lf;
  lf.lfHeight = -11;
  std::snprintf(lf.lfFaceName, LF_FACESIZE, "Courier New");
  HFONT font = CreateFontIndirect(&lf);
  SelectObject(c.dc, font);
  SetBkColor(c.dc, RGB(0, 0, 0));
  SetTextColor(c.dc, RGB(0, 0, 0));
  const RECT box{2, 0, 9, 14};
  ExtTextOut(c.dc, 0, 0, ETO_OPAQUE | ETO_CLIPPED, &box, "WWWW", 4, nullptr);
  const RECT ink = c.InkBounds();
  EXPECT_EQ(ink.left, 2);  // the glyphs left of the box are clipped, the box itself is filled
  EXPECT_EQ(ink.right, 9);
  EXPECT_EQ(ink.bottom, 14);
  SelectObject(c.dc, GetStockObject(SYSTEM_FONT));
  DeleteObject(font);
}

}  // namespace
