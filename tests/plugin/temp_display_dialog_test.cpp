#include "hosted_dialog.h"

#include <algorithm>

namespace {

using hosted_dialog::HostedDialog;

constexpr int kTemperature = 7021, kEpsilon = 7022, kIcon = 7023, kUserButton = 7024;

class TempDisplayDialogTest : public testing::Test {
 protected:
  HostedDialog hosted{XIP_OBJTYPE_TEMPERATURE_DISPLAY, 0};
  CRect ClientRect(int id) const {
    CRect rect = hosted.ScreenRect(id);
    hosted.dialog->ScreenToClient(&rect);
    return rect;
  }
  CRect Client() const {
    CRect rect;
    hosted.dialog->GetClientRect(&rect);
    return rect;
  }
  void Resize(int width, int height) const {
    hosted.dialog->SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    winui::PumpMessages();
  }
};

TEST_F(TempDisplayDialogTest, EmissivityInRangeIsAppliedOnceOutOfRangeRefused) {
  EXPECT_EQ(hosted.Text(kEpsilon), "1.000");
  hosted.Type(kEpsilon, "0.95");
  EXPECT_EQ(hosted.Text(kEpsilon), "0.950");
  EXPECT_EQ(hosted.Count(XIP_DLG_EVENT_SETTING_CHANGED), 1u);
  hosted.Type(kEpsilon, "0.950");  // no change: nothing to tell
  EXPECT_EQ(hosted.Count(XIP_DLG_EVENT_SETTING_CHANGED), 1u);

  winui::ClearShownMessageBoxes();
  for (const char* refused : {"1.2", "abc", "-0.1", "nan", "inf"}) {
    hosted.Type(kEpsilon, refused);
    EXPECT_EQ(hosted.Text(kEpsilon), "0.950") << refused;
  }
  EXPECT_EQ(hosted.Count(XIP_DLG_EVENT_SETTING_CHANGED), 1u);
  EXPECT_TRUE(winui::ShownMessageBoxes().empty()) << "the old value coming back is the whole answer";
}

TEST_F(TempDisplayDialogTest, EnterAppliesTheEmissivityAndKeepsTheDialogOpen) {
  hosted.Click(kEpsilon);
  hosted.Item(kEpsilon)->SendMessage(EM_SETSEL, 0, -1);
  winui::InjectText("0.5");
  winui::InjectKeyPress(VK_RETURN);
  winui::PumpMessages();
  EXPECT_EQ(hosted.Text(kEpsilon), "0.500");
  EXPECT_TRUE(hosted.dialog->IsWindowVisible());
}

TEST_F(TempDisplayDialogTest, LargeWindowKeepsRightControlsAtTheirDistanceAndGrowsTheFont) {
  const CRect client = Client();
  const int iconRight = client.right - ClientRect(kIcon).left;
  const int editRight = client.right - ClientRect(kEpsilon).left;
  const int tempMargin = client.right - ClientRect(kTemperature).right;
  LOGFONT small{};
  hosted.Item(kTemperature)->GetFont()->GetLogFont(&small);

  Resize(800, 300);
  const CRect large = Client();
  EXPECT_EQ(large.right - ClientRect(kIcon).left, iconRight);
  EXPECT_EQ(large.right - ClientRect(kEpsilon).left, editRight);
  EXPECT_EQ(large.right - ClientRect(kTemperature).right, tempMargin);
  LOGFONT big{};
  hosted.Item(kTemperature)->GetFont()->GetLogFont(&big);
  EXPECT_GT(big.lfHeight, small.lfHeight);
  CRect inside;
  hosted.Item(kTemperature)->GetClientRect(&inside);
  EXPECT_EQ(big.lfHeight, inside.Height()) << "the font fills the field inside its border";
  EXPECT_EQ(big.lfWeight, FW_BOLD);
  EXPECT_STREQ(big.lfFaceName, "Arial");
}

TEST_F(TempDisplayDialogTest, NarrowestWindowHoldsTheTemperatureAtItsMinimum) {
  const CRect temp = ClientRect(kTemperature);
  const int width = Client().Width();
  const int iconRight = width - ClientRect(kIcon).left;
  const int buttonRight = width - ClientRect(kUserButton).left;
  const int widest = std::max({iconRight, width - ClientRect(kEpsilon).left, buttonRight});
  MINMAXINFO limits{};
  hosted.dialog->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  CRect window;
  hosted.dialog->GetWindowRect(&window);
  const int frame = window.Width() - Client().Width();
  EXPECT_EQ(limits.ptMinTrackSize.x, 80 + 2 * temp.left + frame);

  Resize(limits.ptMinTrackSize.x, limits.ptMinTrackSize.y);
  EXPECT_EQ(ClientRect(kTemperature).Width(), 80);
  // The right-hand controls stay where the minimum layout puts them, cut off rather than overlapping:
  // margin, 80 pixels of temperature, margin, then the widest of them at its distance from the edge.
  EXPECT_EQ(ClientRect(kIcon).left, 2 * temp.left + 80 + widest - iconRight);
  EXPECT_EQ(ClientRect(kUserButton).left, 2 * temp.left + 80 + widest - buttonRight);
  EXPECT_GE(ClientRect(kIcon).left, ClientRect(kTemperature).right);
}

TEST_F(TempDisplayDialogTest, EmptyUserButtonCaptionHidesTheButton) {
  ASSERT_NE(hosted.record, nullptr);
  *hosted.record->ppUserButtonTexts[0] = "";
  hosted.dialog->UpdateDialogDisplay(1, 0);
  winui::PumpMessages();
  EXPECT_FALSE(hosted.Item(kUserButton)->IsWindowVisible());
  *hosted.record->ppUserButtonTexts[0] = "Hold";
  hosted.dialog->UpdateDialogDisplay(1, 0);
  winui::PumpMessages();
  EXPECT_TRUE(hosted.Item(kUserButton)->IsWindowVisible());
  EXPECT_EQ(hosted.Text(kUserButton), "Hold");
}

}  // namespace

// The template places the ε= icon (16 and 32 pixels in its group) with SS_REALSIZEIMAGE in front of
// the edit, 24 pixels before it: shown at its own 16 pixels it ends before the edit begins, as on
// Windows; stretched to the system icon size it would reach under the edit.
TEST_F(TempDisplayDialogTest, EpsilonSignIsDrawnAtItsOwnSizeClearOfItsEdit) {
  const CRect icon = ClientRect(kIcon);
  const int editStart = ClientRect(kEpsilon).left - icon.left;
  ASSERT_GT(editStart, 16);
  const winui::Surface picture = winui::RenderWindow(hosted.Item(kIcon)->GetSafeHwnd());
  const auto ink = [&](int x, int y) { return (picture.At(x, y) & 0xFF) < 128; };
  int inkInside = 0, inkBeyond = 0;
  // Above the user button, which reaches into the icon's rectangle from below; from the edit on,
  // the pixels are the edit's own, frame and all.
  const int buttonStart = ClientRect(kUserButton).top - icon.top;
  for (int y = 0; y < std::min(buttonStart, picture.Height()); ++y) {
    for (int x = 0; x < std::min(editStart, picture.Width()); ++x)
      (x < 16 ? inkInside : inkBeyond) += ink(x, y) ? 1 : 0;
  }
  EXPECT_GT(inkInside, 10) << "the sign is drawn";
  EXPECT_EQ(inkBeyond, 0) << "the sign spreads beyond its 16 pixels toward the edit at " << editStart;
}
