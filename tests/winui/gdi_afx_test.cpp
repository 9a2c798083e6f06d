// The MFC drawing classes: rectangle arithmetic and CDC over a memory bitmap.
#include "gdi_test_canvas.h"

#include <winui/afxgdi.h>

#include <gtest/gtest.h>

#include <malloc.h>

namespace {

TEST(GdiCRectTest, ArithmeticFollowsMfc) {
  CRect r(10, 20, 30, 60);
  EXPECT_EQ(r.Width(), 20);
  EXPECT_EQ(r.Height(), 40);
  EXPECT_EQ(r.CenterPoint(), CPoint(20, 40));
  EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
  EXPECT_FALSE(r.PtInRect(CPoint(30, 20)));  // right edge is outside
  r.DeflateRect(2, 3);
  EXPECT_EQ(r, CRect(12, 23, 28, 57));
  r.OffsetRect(CSize(-12, -23));
  EXPECT_EQ(r.TopLeft(), CPoint(0, 0));
  EXPECT_EQ(r.BottomRight() - r.TopLeft(), CSize(16, 34));

  CRect inverted(5, 5, 1, 1);
  inverted.NormalizeRect();
  EXPECT_EQ(inverted, CRect(1, 1, 5, 5));
  CRect both;
  EXPECT_TRUE(both.IntersectRect(CRect(0, 0, 4, 4), CRect(2, 2, 6, 6)));
  EXPECT_EQ(both, CRect(2, 2, 4, 4));
  EXPECT_FALSE(both.IntersectRect(CRect(0, 0, 2, 2), CRect(2, 2, 6, 6)));
  EXPECT_TRUE(both.IsRectEmpty());
  EXPECT_EQ(CRect(0, 0, 2, 2) | CRect(4, 4, 5, 5), CRect(0, 0, 5, 5));
  EXPECT_EQ(CRect(0, 0, 0, 0) | CRect(4, 4, 5, 5), CRect(4, 4, 5, 5));  // empty ones do not count
}

TEST(GdiCdcTest, DrawsIntoASelectedBitmapWithThreeDRectsAndSolidFills) {
  CDC memory;
  ASSERT_TRUE(memory.CreateCompatibleDC(nullptr));
  CBitmap bitmap;
  ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&memory, 4, 3));
  CBitmap* old = memory.SelectObject(&bitmap);
  ASSERT_NE(old, nullptr);
  memory.FillSolidRect(0, 0, 4, 3, RGB(255, 255, 255));
  memory.Draw3dRect(CRect(0, 0, 4, 3), RGB(255, 0, 0), RGB(0, 0, 255));
  const COLORREF R = RGB(255, 0, 0), B = RGB(0, 0, 255), W = RGB(255, 255, 255);
  const COLORREF expected[3][4] = {{R, R, R, B}, {R, W, W, B}, {B, B, B, B}};
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(memory.GetPixel(x, y), expected[y][x]) << x << "," << y;
  }
  EXPECT_EQ(memory.GetBkColor(), B);  // FillSolidRect leaves its colour as the background

  gdi_test::Canvas screen(4, 3);
  CDC* target = CDC::FromHandle(screen.dc);
  EXPECT_EQ(target, CDC::FromHandle(screen.dc));  // one wrapper per handle
  target->BitBlt(0, 0, 4, 3, &memory, 0, 0, SRCCOPY);
  EXPECT_EQ(screen.surface.At(3, 0), 0x0000FFu);
  memory.SelectObject(old);
}

TEST(GdiCdcTest, WrappersDeleteWhatTheyOwnAndNothingElse) {
  HPEN handle = nullptr;
  {
    CPen pen(PS_SOLID, 1, RGB(1, 2, 3));
    handle = pen;
    CPen* borrowed = CPen::FromHandle(handle);
    EXPECT_EQ(static_cast<HPEN>(*borrowed), handle);
    LOGPEN record;
    ASSERT_EQ(pen.GetObject(sizeof record, &record), static_cast<int>(sizeof record));
    EXPECT_EQ(record.lopnColor, RGB(1, 2, 3));
  }
  EXPECT_EQ(GetObjectType(handle), 0u);  // the owner deleted it
  {
    CBrush stock;
    stock.CreateStockObject(BLACK_BRUSH);
  }
  EXPECT_EQ(GetObjectType(GetStockObject(BLACK_BRUSH)), OBJ_BRUSH);
}

TEST(GdiCdcTest, BorrowedWrappersGoWithTheirHandles) {
  CDC memory;
  ASSERT_TRUE(memory.CreateCompatibleDC(nullptr));
  // What every paint of a custom control does: a new pen, selected and handed back.
  const auto paint = [&memory] {
    CPen pen(PS_SOLID, 1, RGB(9, 9, 9));
    CPen* old = memory.SelectObject(&pen);
    memory.SelectObject(old);
  };
  for (int i = 0; i < 100; ++i) paint();
  const std::size_t before = mallinfo2().uordblks;
  for (int i = 0; i < 20000; ++i) paint();
  // A wrapper kept per pen ever painted would hold well over half a megabyte here.
  EXPECT_LT(mallinfo2().uordblks, before + 16 * 1024);

  // A deleted pen's handle does not find the pen made after it.
  HPEN first = CreatePen(PS_SOLID, 1, RGB(1, 1, 1));
  ASSERT_TRUE(DeleteObject(first));
  HPEN second = CreatePen(PS_SOLID, 1, RGB(1, 1, 1));
  EXPECT_NE(first, second);
  EXPECT_EQ(GetObjectType(first), 0u);
  DeleteObject(second);

  // A pen deleted while selected goes when it is deselected; the wrapper handed back for it still
  // answers, and what it is asked to do fails as for any gone handle.
  HPEN doomed = CreatePen(PS_SOLID, 1, RGB(1, 1, 1));
  HGDIOBJ original = SelectObject(memory, doomed);
  ASSERT_TRUE(DeleteObject(doomed));
  CPen replacement(PS_SOLID, 1, RGB(2, 2, 2));
  CPen* handedBack = memory.SelectObject(&replacement);
  ASSERT_NE(handedBack, nullptr);
  EXPECT_EQ(static_cast<HPEN>(*handedBack), doomed);
  EXPECT_EQ(GetObjectType(*handedBack), 0u);
  EXPECT_EQ(memory.SelectObject(handedBack), nullptr);
  SelectObject(memory, original);
}

}  // namespace
