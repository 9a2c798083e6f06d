#include "hosted_dialog.h"

#include <winui/afxcontrols.h>

namespace {

using hosted_dialog::HostedDialog;
using plugin_host::kAutoMode;
using plugin_host::kLower;
using plugin_host::kUpper;

constexpr int kUpperValue = 7006, kLowerValue = 7007, kContinuousContrast = 7009, kContrastOnce = 7008;
constexpr int kContinuousBrightness = 7011, kReset = 7019, kProfileCombo = 7014, kSliderPlace = 7001;
constexpr int kMinWidthEnable = 7027, kMinWidth = 7028, kMaxWidth = 7026, kUserButton1 = 7017;
constexpr std::size_t kMinWidthValue = 64;

class PseudoColorDialogTest : public testing::Test {
 protected:
  HostedDialog hosted{XIP_OBJTYPE_PSEUDOCOLOR_LUT, 0};
  CXelImgProcess_0* Object() const { return hosted.host.object; }
  template <typename T>
  T Field(std::size_t offset) const {
    return plugin_host::Read<T>(plugin_host::GetSettings(Object()), offset);
  }
  BOOL Enabled(int id) const { return hosted.Item(id)->IsWindowEnabled(); }
  UINT Checked(int id) const { return hosted.dialog->IsDlgButtonChecked(id); }
};

TEST_F(PseudoColorDialogTest, DraggingTheLowThumbMovesLowerAndSignals) {
  // The slider sits where its placeholder was; its left thumb starts at the left end.
  const CRect bar = hosted.ScreenRect(kSliderPlace);
  const POINT start{bar.left + 4, bar.CenterPoint().y};
  const POINT end{bar.left + bar.Width() / 2, bar.CenterPoint().y};
  winui::InjectMouseDown(start);
  winui::InjectMouseMove(end);
  winui::InjectMouseUp(end);
  winui::PumpMessages();
  EXPECT_GT(Field<double>(kLower), 0.3);
  EXPECT_EQ(Field<double>(kUpper), 1.0);
  EXPECT_GE(hosted.Count(XIP_DLG_EVENT_SETTING_CHANGED), 1u);
  EXPECT_NE(hosted.Text(kLowerValue), hosted.Text(7002));  // the bound's text moved with it
}

TEST_F(PseudoColorDialogTest, ContinuousModesReplaceEachOtherAndLockManualControls) {
  hosted.Click(kContinuousContrast);
  EXPECT_EQ(Field<UINT>(kAutoMode), 1u);
  EXPECT_FALSE(Enabled(kContrastOnce));
  EXPECT_FALSE(Enabled(kReset));

  hosted.Click(kContinuousBrightness);
  EXPECT_EQ(Field<UINT>(kAutoMode), 2u);
  EXPECT_EQ(Checked(kContinuousContrast), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(Checked(kContinuousBrightness), static_cast<UINT>(BST_CHECKED));

  hosted.Click(kContinuousBrightness);
  EXPECT_EQ(Field<UINT>(kAutoMode), 0u);
  EXPECT_TRUE(Enabled(kContrastOnce));
  EXPECT_TRUE(Enabled(kReset));
  EXPECT_EQ(hosted.Count(XIP_DLG_EVENT_SETTING_CHANGED), 3u);
}

TEST_F(PseudoColorDialogTest, WidthEditCommitsOnLeavingClampedAndRefusesText) {
  hosted.Click(kMinWidthEnable);
  ASSERT_TRUE(Enabled(kMinWidth));
  const size_t before = hosted.Count(XIP_DLG_EVENT_SETTING_CHANGED);

  hosted.Type(kMinWidth, "1e9");
  EXPECT_EQ(Field<double>(kMinWidthValue), 1.0);
  EXPECT_EQ(hosted.Count(XIP_DLG_EVENT_SETTING_CHANGED), before + 1);
  const std::string stored = hosted.Text(kMinWidth);

  for (const char* refused : {"abc", "nan", "-nan"}) {
    hosted.Type(kMinWidth, refused);
    EXPECT_EQ(Field<double>(kMinWidthValue), 1.0) << refused;
    EXPECT_EQ(hosted.Text(kMinWidth), stored) << refused;
  }
  EXPECT_EQ(hosted.Count(XIP_DLG_EVENT_SETTING_CHANGED), before + 1);
}

TEST_F(PseudoColorDialogTest, BoundsWhoseWindowOverflowsPaintTheSliderBar) {
  // -1e308 .. 1e308: the bar's positions are not numbers; its colours must still be defined.
  plugin_host::SetField(hosted.host.object, plugin_host::kLower, -1e308);
  plugin_host::SetField(hosted.host.object, plugin_host::kUpper, 1e308);
  winui::PumpMessages();
  const winui::Surface picture = winui::RenderWindow(hosted.dialog->GetSafeHwnd());
  EXPECT_GT(picture.Width(), 0);
  EXPECT_TRUE(hosted.dialog->IsWindowVisible());
}

TEST_F(PseudoColorDialogTest, ResetAndOnceButtonsSetTheWindow) {
  plugin_host::SetField(Object(), kLower, 0.25);
  plugin_host::SetField(Object(), kUpper, 0.5);
  winui::PumpMessages();
  hosted.Click(kReset);
  EXPECT_EQ(Field<double>(kLower), 0.0);
  EXPECT_EQ(Field<double>(kUpper), 1.0);

  // Without a processed image there is nothing to measure: the user is told and nothing moves.
  winui::ClearShownMessageBoxes();
  hosted.Click(kContrastOnce);
  const auto boxes = winui::ShownMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Error during calculating auto contrast");
  EXPECT_EQ(boxes[0].caption, "Error");
  EXPECT_EQ(Field<double>(kUpper), 1.0);
}

TEST_F(PseudoColorDialogTest, ProfilesListAlphabeticallyAndThePickSelectsByIndex) {
  auto* combo = static_cast<CComboBox*>(hosted.Item(kProfileCombo));
  ASSERT_GT(combo->GetCount(), 1);
  std::string previous;
  for (int i = 0; i < combo->GetCount(); ++i) {
    std::string name;
    combo->GetLBText(i, name);
    EXPECT_LE(previous, name);
    previous = name;
  }
  const int last = combo->GetCount() - 1;
  combo->SetCurSel(last);
  hosted.dialog->SendMessage(WM_COMMAND, MAKEWPARAM(kProfileCombo, CBN_SELCHANGE),
                             reinterpret_cast<LPARAM>(combo->GetSafeHwnd()));
  winui::PumpMessages();
  EXPECT_EQ(plugin_host::ProfileIndex(Object()), static_cast<UINT>(combo->GetItemData(last)));
  EXPECT_EQ(hosted.Count(XIP_DLG_EVENT_SETTING_CHANGED), 1u);
}

TEST_F(PseudoColorDialogTest, UserButtonFollowsItsCaptionAndRecordsItsState) {
  ASSERT_NE(hosted.record, nullptr);
  ASSERT_NE(hosted.record->ppUserButtonTexts, nullptr);
  *hosted.record->ppUserButtonTexts[0] = "Freeze";
  *hosted.record->ppUserButtonTexts[1] = "";
  hosted.dialog->UpdateDialogDisplay(1, 0);
  winui::PumpMessages();
  EXPECT_EQ(hosted.Text(kUserButton1), "Freeze");
  EXPECT_FALSE(hosted.Item(7018)->IsWindowVisible());

  hosted.Click(kUserButton1);
  EXPECT_EQ(hosted.record->UserButtonState & 1u, 1u);
  EXPECT_EQ(hosted.Count(XIP_DLG_EVENT_USER_BUTTON), 1u);
}

TEST_F(PseudoColorDialogTest, RefreshFromTheObjectShowsNewBounds) {
  const std::string before = hosted.Text(kUpperValue);
  plugin_host::SetField(Object(), kUpper, 0.5);
  winui::PumpMessages();
  EXPECT_NE(hosted.Text(kUpperValue), before);
}

}  // namespace
