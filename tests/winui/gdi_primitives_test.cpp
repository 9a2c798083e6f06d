// Lines, rectangles, edges, focus rectangles and blits against pixels worked out by hand.
#include "gdi_test_canvas.h"

#include <gtest/gtest.h>

using gdi_test::Canvas;
using gdi_test::kBlack;
using gdi_test::kWhite;

namespace {

constexpr std::uint32_t kFace = 0xD4D0C8, kShadow = 0x808080, kHighlight = 0xFFFFFF, kDark = 0x404040;

TEST(GdiLineTest, ExcludesTheEndPoint) {
  Canvas c(6, 4);
  MoveToEx(c.dc, 0, 0, nullptr);
  LineTo(c.dc, 5, 0);  // pixels 0..4 of row 0
  MoveToEx(c.dc, 5, 3, nullptr);
  LineTo(c.dc, 2, 0);  // a diagonal drawn backwards: (5,3) (4,2) (3,1), not (2,0)
  EXPECT_EQ(c.Picture(),
            "#####.\n"
            "...#..\n"
            "....#.\n"
            ".....#\n");
  POINT at{};
  GetCurrentPositionEx(c.dc, &at);
  EXPECT_EQ(at.x, 2);
  EXPECT_EQ(at.y, 0);
}

TEST(GdiLineTest, NullPenMovesWithoutDrawingAndPolylineDrawsEveryJointOnce) {
  Canvas c(5, 3);
  SelectObject(c.dc, GetStockObject(NULL_PEN));
  MoveToEx(c.dc, 0, 0, nullptr);
  LineTo(c.dc, 4, 0);
  EXPECT_EQ(c.InkBounds().right, 0);  // nothing drawn

  SelectObject(c.dc, GetStockObject(BLACK_PEN));
  SetROP2(c.dc, R2_XORPEN);
  SelectObject(c.dc, GetStockObject(WHITE_PEN));
  const POINT path[] = {{0, 1}, {2, 1}, {2, 2}, {4, 2}};
  Polyline(c.dc, path, 4);  // XOR would cancel a joint painted twice
  EXPECT_EQ(c.Picture(),
            ".....\n"
            "###..\n"
            "..##.\n");
}

TEST(GdiRectangleTest, OutlinesWithThePenAndFillsInsideWithTheBrush) {
  Canvas c(6, 5);
  HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
  SelectObject(c.dc, grey);
  Rectangle(c.dc, 1, 1, 5, 5);  // right and bottom are exclusive
  EXPECT_EQ(c.Picture(),
            "......\n"
            ".####.\n"
            ".#..#.\n"
            ".#..#.\n"
            ".####.\n");
  EXPECT_EQ(c.surface.At(2, 2), kShadow);
  EXPECT_EQ(c.surface.At(3, 3), kShadow);
  SelectObject(c.dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(grey);
}

TEST(GdiRectangleTest, NullPenFillsOnePixelLessAndWidePensGrowOutward) {
  Canvas c(7, 7);
  SelectObject(c.dc, GetStockObject(NULL_PEN));
  SelectObject(c.dc, GetStockObject(BLACK_BRUSH));
  Rectangle(c.dc, 0, 0, 3, 3);
  EXPECT_EQ(c.InkBounds().right, 2);
  EXPECT_EQ(c.InkBounds().bottom, 2);

  Canvas wide(8, 8);
  HPEN pen = CreatePen(PS_SOLID, 3, RGB(0, 0, 0));
  SelectObject(wide.dc, pen);
  SelectObject(wide.dc, GetStockObject(NULL_BRUSH));
  Rectangle(wide.dc, 2, 2, 6, 6);  // the 3-pixel pen is centred on the outline 2..5
  EXPECT_EQ(wide.Picture(),
            "........\n"
            ".######.\n"
            ".######.\n"
            ".######.\n"
            ".######.\n"
            ".######.\n"
            ".######.\n"
            "........\n");
  SelectObject(wide.dc, GetStockObject(BLACK_PEN));
  DeleteObject(pen);
}

TEST(GdiRectangleTest, FillAndFrameRectTakeSystemColourBrushesAndTheIndexPlusOneIdiom) {
  Canvas c(4, 3);
  const RECT all{0, 0, 4, 3};
  FillRect(c.dc, &all, reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_BTNFACE + 1)));
  EXPECT_EQ(c.surface.At(3, 2), kFace);
  FrameRect(c.dc, &all, GetSysColorBrush(COLOR_WINDOWTEXT));
  EXPECT_EQ(c.Picture(),
            "####\n"
            "#..#\n"
            "####\n");
  EXPECT_EQ(c.surface.At(1, 1), kFace);
  EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), RGB(64, 64, 64));
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(10, 36, 106));
}

TEST(GdiEdgeTest, SunkenEdgeHasShadowOverDarkAndHighlightOverLight) {
  Canvas c(5, 5);
  RECT rc{0, 0, 5, 5};
  DrawEdge(c.dc, &rc, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  const std::uint32_t expected[5][5] = {
      {kShadow, kShadow, kShadow, kShadow, kHighlight},
      {kShadow, kDark, kDark, kFace, kHighlight},
      {kShadow, kDark, kWhite, kFace, kHighlight},
      {kShadow, kFace, kFace, kFace, kHighlight},
      {kHighlight, kHighlight, kHighlight, kHighlight, kHighlight},
  };
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(c.surface.At(x, y), expected[y][x]) << x << "," << y;
  }
  EXPECT_EQ(rc.left, 2);
  EXPECT_EQ(rc.top, 2);
  EXPECT_EQ(rc.right, 3);
  EXPECT_EQ(rc.bottom, 3);
}

TEST(GdiEdgeTest, RaisedEdgeOnlyOnTheSidesAskedForWithMiddle) {
  Canvas c(4, 4);
  RECT rc{0, 0, 4, 4};
  DrawEdge(c.dc, &rc, EDGE_RAISED, BF_BOTTOMRIGHT | BF_MIDDLE);
  EXPECT_EQ(c.surface.At(3, 0), kDark);  // outer ring: 3-D dark shadow on the right
  EXPECT_EQ(c.surface.At(0, 3), kDark);
  EXPECT_EQ(c.surface.At(2, 0), kShadow);  // inner ring
  EXPECT_EQ(c.surface.At(0, 2), kShadow);
  EXPECT_EQ(c.surface.At(0, 0), kFace);  // no top or left sides: middle reaches the corner
  EXPECT_EQ(c.surface.At(1, 1), kFace);
}

TEST(GdiFocusRectTest, InvertsEveryOtherFramePixelAndUndoesItself) {
  Canvas c(5, 4);
  const RECT rc{0, 0, 5, 4};
  DrawFocusRect(c.dc, &rc);
  EXPECT_EQ(c.Picture(),
            "#.#.#\n"
            ".....\n"
            "#...#\n"
            ".#.#.\n");
  DrawFocusRect(c.dc, &rc);
  EXPECT_EQ(c.InkBounds().right, 0);
}

TEST(GdiDcTest, WindowOriginSurfaceOriginAndClipCombine) {
  // The DC's (0,0) sits at surface (2,1) and may only touch surface columns 2..5.
  Canvas c(8, 3, POINT{2, 1}, RECT{2, 0, 6, 3});
  SetWindowOrgEx(c.dc, 1, 0, nullptr);  // logical x 1 is now device x 0
  const RECT rc{0, 0, 10, 1};
  FillRect(c.dc, &rc, reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(c.Picture(),
            "........\n"
            "..####..\n"
            "........\n");
  RECT box{};
  EXPECT_EQ(GetClipBox(c.dc, &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 1);  // device 0 seen through the window origin
  EXPECT_EQ(box.right, 5);
  EXPECT_EQ(box.top, -1);
  EXPECT_EQ(GetPixel(c.dc, 1, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(c.dc, 9, 0), CLR_INVALID);  // outside the clip
}

TEST(GdiDcTest, SaveAndRestoreBringBackOriginClipAndObjects) {
  Canvas c(4, 2);
  const int level = SaveDC(c.dc);
  SetWindowOrgEx(c.dc, 5, 5, nullptr);
  IntersectClipRect(c.dc, 5, 5, 6, 6);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  SelectObject(c.dc, pen);
  DeleteObject(pen);  // still selected (twice, counting the saved state): deletion waits
  ASSERT_TRUE(RestoreDC(c.dc, level));
  EXPECT_EQ(GetObjectType(pen), 0u);  // restoring let go of it
  MoveToEx(c.dc, 0, 0, nullptr);
  LineTo(c.dc, 4, 0);
  EXPECT_EQ(c.Picture(), "####\n....\n");
  EXPECT_FALSE(RestoreDC(c.dc, 1));
}

TEST(GdiBlitTest, CopiesFromAMemoryDcThroughBothOriginsIntoTheClip) {
  HDC memory = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(memory, 4, 4);
  HGDIOBJ old = SelectObject(memory, bitmap);
  ASSERT_NE(old, nullptr);
  const RECT all{0, 0, 4, 4};
  FillRect(memory, &all, reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  for (POINT p : {POINT{1, 1}, POINT{2, 1}, POINT{3, 3}}) SetPixel(memory, p.x, p.y, RGB(0, 0, 0));
  SetWindowOrgEx(memory, 1, 1, nullptr);  // source logical (2,2) is bitmap pixel (1,1)

  // Destination logical (0,0) is surface (1,0); the clip ends before surface column 4.
  Canvas c(6, 4, POINT{0, 0}, RECT{0, 0, 4, 4});
  c.surface.Resize(6, 4, kShadow);
  SetViewportOrgEx(c.dc, 1, 0, nullptr);
  BitBlt(c.dc, 0, 0, 4, 4, memory, 2, 2, SRCCOPY);
  EXPECT_EQ(c.Picture(),
            ".##...\n"
            "......\n"
            "...#..\n"
            "......\n");
  EXPECT_EQ(c.surface.At(1, 1), kWhite);   // copied
  EXPECT_EQ(c.surface.At(0, 0), kShadow);  // left of the destination
  EXPECT_EQ(c.surface.At(4, 0), kShadow);  // clipped
  EXPECT_EQ(c.surface.At(3, 3), kShadow);  // its source lies beyond the bitmap

  HDC other = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(other, bitmap), nullptr) << "a bitmap lives in one DC at a time";
  DeleteDC(other);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

TEST(GdiBlitTest, OverlappingCopyWithinOneSurfaceReadsTheOriginal) {
  Canvas c(5, 1);
  SetPixel(c.dc, 0, 0, RGB(0, 0, 0));
  SetPixel(c.dc, 1, 0, RGB(0, 0, 0));
  BitBlt(c.dc, 1, 0, 3, 1, c.dc, 0, 0, SRCCOPY);  // shift right by one
  EXPECT_EQ(c.Picture(), "###..\n");
}

}  // namespace
