#include "controls_fixture.h"

namespace {

constexpr int kId = 101;

using ButtonTest = ControlsTest;

TEST_F(ButtonTest, ClickIsReportedOnReleaseInsideOnly) {
  HWND button = Make(WC_BUTTON, "OK", BS_PUSHBUTTON, {10, 10, 85, 33}, kId);
  SendMessage(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(GetCapture(), button);
  EXPECT_EQ(GetFocus(), button);
  EXPECT_TRUE(SendMessage(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
  EXPECT_TRUE(TakeCodes(kId).empty());
  SendMessage(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(TakeCodes(kId), std::vector<WORD>{BN_CLICKED});
  EXPECT_EQ(GetCapture(), nullptr);

  // Dragging off the button before releasing takes the click back.
  SendMessage(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessage(button, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 5));
  EXPECT_FALSE(SendMessage(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
  SendMessage(button, WM_LBUTTONUP, 0, MAKELPARAM(200, 5));
  EXPECT_TRUE(TakeCodes(kId).empty());
}

TEST_F(ButtonTest, InjectedClickAndSpaceKeyToggleAutoCheckBox) {
  HWND box = Make(WC_BUTTON, "Check", BS_AUTOCHECKBOX, {10, 10, 110, 26}, kId);
  winui::InjectClick(OnScreen(box, 4, 8));
  winui::PumpMessages();
  EXPECT_EQ(SendMessage(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(TakeCodes(kId), std::vector<WORD>{BN_CLICKED});

  ASSERT_EQ(GetFocus(), box);
  winui::InjectKeyPress(VK_SPACE);
  winui::PumpMessages();
  EXPECT_EQ(SendMessage(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(TakeCodes(kId), std::vector<WORD>{BN_CLICKED});
}

TEST_F(ButtonTest, CheckStateBelongsToCheckBoxesAndOnlyAutoOnesToggleThemselves) {
  HWND manual = Make(WC_BUTTON, "Manual", BS_CHECKBOX, {10, 10, 110, 26}, kId);
  HWND push = Make(WC_BUTTON, "Push", BS_PUSHBUTTON, {10, 40, 110, 63}, kId + 1);
  SendMessage(manual, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessage(manual, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(TakeCodes(kId), std::vector<WORD>{BN_CLICKED});
  SendMessage(manual, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(SendMessage(manual, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(TakeCodes(kId).empty()) << "setting the check is not a click";

  SendMessage(push, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(SendMessage(push, BM_GETCHECK, 0, 0), BST_UNCHECKED);

  EnableWindow(push, FALSE);
  SendMessage(push, BM_CLICK, 0, 0);
  EXPECT_TRUE(TakeCodes(kId + 1).empty()) << "a disabled button cannot be clicked";
}

TEST_F(ButtonTest, DialogCodesFollowTheDefaultStyle) {
  HWND push = Make(WC_BUTTON, "Push", BS_PUSHBUTTON, {10, 10, 85, 33}, kId);
  HWND group = Make(WC_BUTTON, "Group", BS_GROUPBOX, {100, 10, 300, 100}, kId + 1);
  HWND box = Make(WC_BUTTON, "Box", BS_AUTOCHECKBOX, {10, 50, 85, 66}, kId + 2);
  EXPECT_EQ(SendMessage(push, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
  SendMessage(push, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_EQ(SendMessage(push, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
  EXPECT_EQ(GetWindowLongPtr(push, GWL_STYLE) & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE);
  EXPECT_EQ(SendMessage(group, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
  EXPECT_EQ(SendMessage(group, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
  EXPECT_EQ(SendMessage(box, WM_GETDLGCODE, 0, 0), DLGC_BUTTON);
}

TEST_F(ButtonTest, MfcButtonForwardsToTheControl) {
  CButton button;
  ASSERT_TRUE(button.Create("Toggle", BS_AUTOCHECKBOX | BS_PUSHLIKE | WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 34),
                            CWnd::FromHandle(parent_), kId));
  button.SetCheck(BST_CHECKED);
  EXPECT_EQ(button.GetCheck(), BST_CHECKED);
  button.SetButtonStyle(BS_CHECKBOX);
  EXPECT_EQ(button.GetButtonStyle() & BS_TYPEMASK, BS_CHECKBOX);
  EXPECT_EQ(button.GetState() & BST_CHECKED, BST_CHECKED);
  button.DestroyWindow();
}

// Classic scheme: face (212, 208, 200), shadow (128, 128, 128), dark shadow (64, 64, 64).
TEST_F(ButtonTest, PaintsClassicEdgesDefaultOutlineAndCheckMark) {
  HWND normal = Make(WC_BUTTON, "A", BS_PUSHBUTTON, {10, 10, 85, 33}, kId);
  HWND byDefault = Make(WC_BUTTON, "B", BS_DEFPUSHBUTTON, {100, 10, 175, 33}, kId + 1);
  HWND toggled = Make(WC_BUTTON, "C", BS_AUTOCHECKBOX | BS_PUSHLIKE, {190, 10, 265, 33}, kId + 2);
  HWND box = Make(WC_BUTTON, "D", BS_AUTOCHECKBOX, {10, 50, 100, 63}, kId + 3);
  SendMessage(toggled, BM_SETCHECK, BST_CHECKED, 0);
  SendMessage(box, BM_SETCHECK, BST_CHECKED, 0);

  EXPECT_EQ(PixelOf(normal, 0, 0), kWhite);
  EXPECT_EQ(PixelOf(normal, 74, 22), Pixel(64, 64, 64));
  EXPECT_EQ(PixelOf(normal, 73, 21), Pixel(128, 128, 128));
  EXPECT_EQ(PixelOf(normal, 30, 3), Pixel(212, 208, 200));

  EXPECT_EQ(PixelOf(byDefault, 0, 0), kBlack);
  EXPECT_EQ(PixelOf(byDefault, 74, 22), kBlack);
  EXPECT_EQ(PixelOf(byDefault, 1, 1), kWhite);

  EXPECT_EQ(PixelOf(toggled, 0, 0), Pixel(64, 64, 64)) << "a checked push-like box looks pressed in";
  EXPECT_EQ(PixelOf(toggled, 1, 1), Pixel(128, 128, 128));

  // The 13 x 13 box fills the 13-pixel-high client; the tick starts at (3, 3) inside it, its lowest
  // column (x 5) spanning y 7..9.
  EXPECT_EQ(PixelOf(box, 0, 0), Pixel(128, 128, 128));
  EXPECT_EQ(PixelOf(box, 1, 1), Pixel(64, 64, 64));
  EXPECT_EQ(PixelOf(box, 3, 5), kBlack);
  EXPECT_EQ(PixelOf(box, 3, 4), kWhite);
  EXPECT_EQ(PixelOf(box, 5, 9), kBlack);
  EXPECT_EQ(PixelOf(box, 5, 10), kWhite);
  SendMessage(box, BM_SETCHECK, BST_UNCHECKED, 0);
  EXPECT_EQ(PixelOf(box, 3, 5), kWhite);
}

TEST_F(ButtonTest, FocusRectangleShowsWhileFocused) {
  HWND button = Make(WC_BUTTON, "", BS_PUSHBUTTON, {10, 10, 85, 33}, kId);
  const std::uint32_t face = Pixel(212, 208, 200);
  EXPECT_EQ(PixelOf(button, 3, 3), face);
  SetFocus(button);
  EXPECT_NE(PixelOf(button, 3, 3), face);
}

}  // namespace
