// Fonts, metrics and text layout. Courier New stands in for a font whose every cell is 7 pixels
// wide at 11 pixels, so positions can be worked out by hand.
#include "gdi_test_canvas.h"

#include <winui/afxgdi.h>

#include <gtest/gtest.h>

#include <cstdio>

using gdi_test::Canvas;
using gdi_test::kBlack;
using gdi_test::kWhite;

namespace {

HFONT MakeFont(const char* face, LONG height, BYTE quality = DEFAULT_QUALITY) {
  LOGFONT lf;
  lf.lfHeight = height;
  lf.lfQuality = quality;
  std::snprintf(lf.lfFaceName, LF_FACESIZE, "%s", face);
  return CreateFontIndirect(&lf);
}

// A canvas with a font selected and a transparent background, the way controls draw their text.
class TextCanvas : public Canvas {
 public:
  TextCanvas(int width, int height, const char* face = "Courier New", LONG fontHeight = -11,
             BYTE quality = DEFAULT_QUALITY)
      : Canvas(width, height), font(MakeFont(face, fontHeight, quality)) {
    SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
  }
  ~TextCanvas() {
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
  }
  HFONT font;
};

TEST(GdiFontTest, DialogFontGivesTheBaseUnitsOfMsSansSerif) {
  for (HFONT font : {MakeFont("MS Sans Serif", -11), reinterpret_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))}) {
    Canvas c(1, 1);
    SelectObject(c.dc, font);
    TEXTMETRIC tm;
    ASSERT_TRUE(GetTextMetrics(c.dc, &tm));
    EXPECT_EQ(tm.tmHeight, 13);
    EXPECT_EQ(tm.tmAveCharWidth, 6);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
    SIZE letters{};
    GetTextExtentPoint32(c.dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters);
    EXPECT_EQ((letters.cx / 26 + 1) / 2, 6);  // how dialog managers derive the horizontal unit
    EXPECT_EQ(letters.cy, 13);
    SelectObject(c.dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);  // the stock font survives this
  }
  EXPECT_EQ(GetObjectType(GetStockObject(DEFAULT_GUI_FONT)), OBJ_FONT);
}

TEST(GdiFontTest, TextMeasuresTheSameBeforeAndAfterItIsDrawn) {
  // A size no other test uses: measuring this font first loads advances only, drawing renders.
  TextCanvas c(200, 40, "Arial", -23);
  const char* text = "Temperature 36.6";
  SIZE measured{};
  ASSERT_TRUE(GetTextExtentPoint32(c.dc, text, 16, &measured));
  TextOut(c.dc, 0, 0, text, 16);
  SIZE drawn{};
  ASSERT_TRUE(GetTextExtentPoint32(c.dc, text, 16, &drawn));
  EXPECT_EQ(measured.cx, drawn.cx);
  int rightmostInk = -1;
  for (int x = 0; x < 200; ++x)
    for (int y = 0; y < 40; ++y)
      if (c.surface.At(x, y) != kWhite) rightmostInk = x;
  EXPECT_GT(rightmostInk, measured.cx - 6) << "the text ends where it was measured to end";
  EXPECT_LT(rightmostInk, measured.cx);
}

TEST(GdiFontTest, HeightsFaceNamesAndPointSizes) {
  Canvas c(1, 1);
  HFONT cell = MakeFont("Arial", 20);  // positive: the whole cell
  SelectObject(c.dc, cell);
  TEXTMETRIC tm;
  GetTextMetrics(c.dc, &tm);
  EXPECT_EQ(tm.tmHeight, 20);
  char face[LF_FACESIZE];
  GetTextFace(c.dc, LF_FACESIZE, face);
  EXPECT_STREQ(face, "Arial");

  CFont point;
  ASSERT_TRUE(point.CreatePointFont(80, "MS Sans Serif"));  // 8 pt at 96 dpi is 11 pixels
  SelectObject(c.dc, static_cast<HFONT>(point));
  GetTextMetrics(c.dc, &tm);
  EXPECT_EQ(tm.tmHeight, 13);

  HFONT fixed = MakeFont("Courier New", -11);
  SelectObject(c.dc, fixed);
  SIZE one{}, three{};
  GetTextExtentPoint32(c.dc, "i", 1, &one);
  GetTextExtentPoint32(c.dc, "iWi", 3, &three);
  EXPECT_EQ(one.cx, 7);
  EXPECT_EQ(three.cx, 21);
  SelectObject(c.dc, GetStockObject(SYSTEM_FONT));
  DeleteObject(cell);
  DeleteObject(fixed);
}

TEST(GdiTextOutTest, OpaqueBackgroundFillsTheCellAndAlignmentMovesTheReferencePoint) {
  TextCanvas c(40, 30);
  SetBkMode(c.dc, OPAQUE);
  SetBkColor(c.dc, RGB(0, 0, 0));
  SetTextColor(c.dc, RGB(0, 0, 0));
  TextOut(c.dc, 3, 2, "ab", 2);
  const RECT cell = c.InkBounds();
  EXPECT_EQ(cell.left, 3);
  EXPECT_EQ(cell.right, 3 + 14);
  EXPECT_EQ(cell.top, 2);
  EXPECT_EQ(cell.bottom, 2 + 14);  // Courier New at 11 pixels has a 14-pixel cell

  TextCanvas aligned(40, 30);
  SetTextAlign(aligned.dc, TA_RIGHT | TA_BASELINE);
  TextOut(aligned.dc, 30, 20, "H", 1);
  const RECT ink = aligned.InkBounds();
  EXPECT_EQ(ink.bottom, 20);  // 'H' sits on the baseline
  EXPECT_LE(ink.right, 30);
  EXPECT_GE(ink.left, 30 - 7);
}

TEST(GdiTextOutTest, NonAntialiasedQualityDrawsOnlyInkAndPaper) {
  auto greys = [](const Canvas& c) {
    int count = 0;
    for (int y = 0; y < c.surface.Height(); ++y) {
      for (int x = 0; x < c.surface.Width(); ++x) count += c.surface.At(x, y) != kWhite && c.surface.At(x, y) != kBlack;
    }
    return count;
  };
  TextCanvas smooth(60, 20, "Arial", -11);
  TextOut(smooth.dc, 0, 0, "Sample", 6);
  EXPECT_GT(greys(smooth), 0);
  TextCanvas mono(60, 20, "Arial", -11, NONANTIALIASED_QUALITY);
  TextOut(mono.dc, 0, 0, "Sample", 6);
  EXPECT_EQ(greys(mono), 0);
  EXPECT_GT(mono.InkBounds().right, 0);
}

TEST(GdiDrawTextTest, AlignsHorizontallyAndCentresVertically) {
  struct Case {
    UINT format;
    int left, right;  // where the 14-pixel cell of "ab" must lie in a 100-pixel box
  };
  for (Case k : {Case{DT_LEFT, 0, 14}, Case{DT_CENTER, 43, 57}, Case{DT_RIGHT, 86, 100}}) {
    TextCanvas c(100, 30);
    SetBkMode(c.dc, OPAQUE);
    SetBkColor(c.dc, RGB(0, 0, 0));
    RECT box{0, 0, 100, 30};
    const int drawn = DrawText(c.dc, "ab", -1, &box, k.format | DT_SINGLELINE | DT_VCENTER);
    const RECT ink = c.InkBounds();
    EXPECT_EQ(ink.left, k.left) << k.format;
    EXPECT_EQ(ink.right, k.right) << k.format;
    EXPECT_EQ(ink.top, 8);  // (30 - 14) / 2
    EXPECT_EQ(ink.bottom, 22);
    EXPECT_EQ(drawn, 22);  // with DT_VCENTER: from the top of the box to the bottom of the text
  }
}

TEST(GdiDrawTextTest, CalcRectMeasuresLinesAndWordBreaks) {
  TextCanvas c(1, 1);
  RECT one{5, 5, 5, 5};
  EXPECT_EQ(DrawText(c.dc, "abc", -1, &one, DT_CALCRECT | DT_SINGLELINE), 14);
  EXPECT_EQ(one.right, 5 + 21);
  EXPECT_EQ(one.bottom, 5 + 14);

  RECT lines{0, 0, 0, 0};
  DrawText(c.dc, "ab\r\nabcd", -1, &lines, DT_CALCRECT);
  EXPECT_EQ(lines.right, 28);
  EXPECT_EQ(lines.bottom, 28);

  RECT wrapped{0, 0, 30, 0};  // "aaa bbb" is 49 pixels: it breaks at the space
  DrawText(c.dc, "aaa bbb", -1, &wrapped, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_EQ(wrapped.right, 21);
  EXPECT_EQ(wrapped.bottom, 28);

  RECT prefixed{0, 0, 0, 0};
  DrawText(c.dc, "&File &&", -1, &prefixed, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(prefixed.right, 6 * 7);  // "File &"
  DrawText(c.dc, "&File &&", -1, &prefixed, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(prefixed.right, 8 * 7);
}

TEST(GdiDrawTextTest, EndEllipsisKeepsWhatFitsBeforeTheDots) {
  // 40 pixels hold the 21 of "..." and two more cells.
  TextCanvas cut(60, 14), expected(60, 14);
  RECT box{0, 0, 40, 14};
  DrawText(cut.dc, "abcdefgh", -1, &box, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  TextOut(expected.dc, 0, 0, "ab...", 5);
  EXPECT_EQ(cut.Picture(), expected.Picture());
  EXPECT_LE(cut.InkBounds().right, 40);
}

TEST(GdiDrawTextTest, MnemonicUnderlinesItsCharacterUnlessNoPrefix) {
  auto underlineRow = [](const Canvas& c) {  // row 11: one below the descent's first row
    std::string row;
    for (int x = 0; x < c.surface.Width(); ++x) row += c.surface.At(x, 11) == kBlack ? '#' : '.';
    return row;
  };
  TextCanvas c(21, 14);
  RECT box{0, 0, 21, 14};
  DrawText(c.dc, "a&bc", -1, &box, DT_SINGLELINE);
  EXPECT_EQ(underlineRow(c), ".......#######.......");
  TextCanvas plain(21, 14);
  DrawText(plain.dc, "a&bc", -1, &box, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  EXPECT_EQ(underlineRow(plain).find("#######"), std::string::npos);
}

}  // namespace
