#include "controls_fixture.h"

#include <winui/wingdi.h>

namespace {

constexpr int kId = 401;

using StaticTest = ControlsTest;

TEST_F(StaticTest, ParentColoursTheBackgroundThroughCtlColorStatic) {
  HWND label = Make(WC_STATIC, "", SS_LEFT, {10, 10, 60, 30}, kId);
  EXPECT_EQ(PixelOf(label, 5, 5), Pixel(212, 208, 200)) << "default: the dialog face";
  HBRUSH brush = CreateSolidBrush(RGB(255, 128, 128));
  staticBrush_ = brush;
  InvalidateRect(label, nullptr, TRUE);
  EXPECT_EQ(PixelOf(label, 5, 5), Pixel(255, 128, 128));
  DestroyWindow(label);
  staticBrush_ = nullptr;
  DeleteObject(brush);
}

TEST_F(StaticTest, TextTakesTheParentsColoursAndEmbossesWhenDisabled) {
  HWND label = Make(WC_STATIC, "MMMM", SS_CENTER | SS_CENTERIMAGE, {10, 10, 90, 30}, kId);
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  staticBrush_ = white;
  staticText_ = RGB(255, 0, 0);
  staticBack_ = RGB(0, 0, 255);
  InvalidateRect(label, nullptr, TRUE);
  auto count = [&](auto predicate) {
    int n = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 80; ++x) n += predicate(PixelOf(label, x, y)) ? 1 : 0;
    return n;
  };
  auto red = [](std::uint32_t p) { return ((p >> 16) & 0xFF) > 0xC0 && ((p >> 8) & 0xFF) < 0x40; };
  auto grey = [](std::uint32_t p) { return p == Pixel(128, 128, 128); };
  auto blue = [](std::uint32_t p) { return p == Pixel(0, 0, 255); };
  EXPECT_GT(count(red), 10);
  EXPECT_GT(count(blue), 10) << "the text background is the colour the parent set";
  EXPECT_EQ(PixelOf(label, 0, 0), kWhite) << "the rest is the parent's brush";
  EXPECT_EQ(count(grey), 0);
  EnableWindow(label, FALSE);
  EXPECT_EQ(count(red), 0);
  EXPECT_GT(count(grey), 5) << "disabled text is drawn in the shadow grey";
  DestroyWindow(label);
  staticBrush_ = nullptr;
  DeleteObject(white);
}

TEST_F(StaticTest, BlackFrameDrawsOnlyItsEdgeAndSunkenGetsAStaticEdge) {
  HWND frame = Make(WC_STATIC, "", SS_BLACKFRAME, {10, 10, 40, 30}, kId);
  EXPECT_EQ(PixelOf(frame, 0, 0), kBlack);
  EXPECT_EQ(PixelOf(frame, 29, 19), kBlack);
  EXPECT_EQ(PixelOf(frame, 10, 10), Pixel(212, 208, 200)) << "the inside shows the parent";

  HWND sunken = Make(WC_STATIC, "", SS_SUNKEN, {50, 10, 90, 30}, kId + 1);
  RECT client{};
  GetClientRect(sunken, &client);
  EXPECT_EQ(client.right, 38);
  EXPECT_EQ(client.bottom, 18);
  EXPECT_EQ(PixelOf(sunken, -1, -1), Pixel(128, 128, 128));
  EXPECT_EQ(PixelOf(sunken, 38, 18), kWhite);
}

TEST_F(StaticTest, IconStaticShowsTheIconItIsGiven) {
  std::vector<std::uint32_t> red(16 * 16, 0xFFFF0000);
  HICON icon = CreateIconFromPixels(16, 16, red.data());
  CStatic holder;
  ASSERT_TRUE(holder.Create("", SS_ICON | SS_REALSIZEIMAGE | WS_CHILD | WS_VISIBLE, CRect(10, 10, 42, 42),
                            CWnd::FromHandle(parent_)));
  EXPECT_EQ(holder.SetIcon(icon), nullptr);
  EXPECT_EQ(holder.GetIcon(), icon);
  EXPECT_EQ(PixelOf(holder.m_hWnd, 3, 3), Pixel(255, 0, 0));
  EXPECT_EQ(PixelOf(holder.m_hWnd, 20, 20), Pixel(212, 208, 200));
  holder.DestroyWindow();
  DestroyIcon(icon);
}

TEST_F(StaticTest, OnlyNotifyingStaticsTakeClicks) {
  HWND quiet = Make(WC_STATIC, "label", SS_LEFT, {10, 10, 60, 30}, kId);
  HWND notifying = Make(WC_STATIC, "link", SS_LEFT | SS_NOTIFY, {70, 10, 120, 30}, kId + 1);
  EXPECT_EQ(SendMessage(quiet, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
  EXPECT_EQ(SendMessage(notifying, WM_NCHITTEST, 0, 0), HTCLIENT);
  winui::InjectClick(OnScreen(notifying, 5, 5));
  winui::PumpMessages();
  EXPECT_EQ(TakeCodes(kId + 1), std::vector<WORD>{STN_CLICKED});
  EXPECT_EQ(SendMessage(quiet, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
}

}  // namespace
