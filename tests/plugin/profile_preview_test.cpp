// The profile band of the "Pseudo color" dialog (left to right) and of the "Scale" dialog (top
// down), showing the grey wedge so that every pixel's shade is its position on the band.
#include "hosted_dialog.h"

#include <winui/surface.h>

namespace {

constexpr UINT kGreyWedge = 1;
constexpr COLORREF kBlack = RGB(0, 0, 0);

COLORREF Grey(BYTE level) { return RGB(level, level, level); }

// The band: the untitled 0xFFFF control of the dialog that the dialog made itself, not its template.
HWND FindBand(HWND dialog, int id) {
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    char text[8] = {};
    if (::GetDlgCtrlID(child) == id && ::GetWindowText(child, text, sizeof text) == 0 &&
        CWnd::FromHandlePermanent(child) != nullptr) {
      return child;
    }
  }
  return nullptr;
}

class ProfilePreviewTest : public ::testing::Test {
 protected:
  // Gives the band a size with 100 pixels inside its frame along the profile.
  HWND ShowGreyWedge(hosted_dialog::HostedDialog& dialog, int id, int width, int height) {
    EXPECT_EQ(dialog.host->SetParam(XIP_PARAM_OBJECT_INDEX, kGreyWedge, 0), XIP_OK);
    dialog.dialog->UpdateDialogDisplay(0, ~UINT_PTR{0});
    winui::PumpMessages();
    HWND band = FindBand(dialog.dialog->GetSafeHwnd(), id);
    if (band) {
      ::SetWindowPos(band, nullptr, 5, 5, width, height, SWP_NOZORDER);
      ::InvalidateRect(band, nullptr, TRUE);
    }
    return band;
  }
  COLORREF Pixel(HWND band, int x, int y) {
    const winui::Surface& screen = winui::ComposeScreen();
    POINT at{x, y};
    ::ClientToScreen(band, &at);
    return winui::ColorRefFromPixel(screen.At(at.x, at.y));
  }
};

TEST_F(ProfilePreviewTest, HorizontalBandRunsFromZeroToJustBelowOne) {
  hosted_dialog::HostedDialog pc{XIP_OBJTYPE_PSEUDOCOLOR_LUT, 0};
  ASSERT_TRUE(pc.created);
  const HWND band = ShowGreyWedge(pc, 0xFFFF, 102, 12);
  ASSERT_NE(band, nullptr);
  EXPECT_EQ(Pixel(band, 0, 6), kBlack);
  EXPECT_EQ(Pixel(band, 101, 6), kBlack);
  EXPECT_EQ(Pixel(band, 50, 0), kBlack);
  EXPECT_EQ(Pixel(band, 1, 6), Grey(0));      // t = 0
  EXPECT_EQ(Pixel(band, 51, 6), Grey(127));   // t = 0.5
  EXPECT_EQ(Pixel(band, 100, 6), Grey(252));  // t = 0.99
}

TEST_F(ProfilePreviewTest, VerticalBandRunsFromOneDownToOneStep) {
  hosted_dialog::HostedDialog scale{XIP_OBJTYPE_PSEUDOCOLOR_LUT, 1};
  ASSERT_TRUE(scale.created);
  const HWND band = ShowGreyWedge(scale, 0xFFFF, 12, 102);
  ASSERT_NE(band, nullptr);
  EXPECT_EQ(Pixel(band, 6, 0), kBlack);
  EXPECT_EQ(Pixel(band, 6, 101), kBlack);
  EXPECT_EQ(Pixel(band, 6, 1), Grey(255));  // t = 1
  EXPECT_EQ(Pixel(band, 6, 100), Grey(2));  // t = 0.01
}

}  // namespace
