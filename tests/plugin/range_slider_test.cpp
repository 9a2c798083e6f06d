// The range slider of the "Pseudo color" dialog, driven as a user drives it: its pixels on the
// screen, injected mouse and keys, and the notifications its parent window receives.
#include "hosted_dialog.h"

#include <XelPseudoColor/RangeSlider.h>
#include <winui/surface.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

namespace {

constexpr UINT kSliderNotify = 0x464;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kShadow = RGB(128, 128, 128);
constexpr COLORREF kFace = RGB(212, 208, 200);

struct Notification {
  WPARAM code;
  LPARAM slider;
};
std::vector<Notification> g_notifications;
std::vector<double> g_positions;
WNDPROC g_dialogProc = nullptr;

LRESULT RecordNotifications(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kSliderNotify) g_notifications.push_back({wParam, lParam});
  return ::CallWindowProc(g_dialogProc, hwnd, message, wParam, lParam);
}

// Tenths of the position in the red channel: a position read back from a pixel.
COLORREF PositionColour(void*, double, double, double, double, double position) {
  g_positions.push_back(position);
  return RGB(static_cast<BYTE>(position * 100), 0, 0);
}

HWND FindSlider(HWND dialog) {
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    char name[32] = {};
    ::GetClassName(child, name, sizeof name);
    if (std::strcmp(name, "XelRangeSlider") == 0) return child;
  }
  return nullptr;
}

// The slider placed at a known size, a scale 0..1 with a 300-pixel track, thumbs at 0.2 and 0.7.
class RangeSliderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pc.created);
    hwnd = FindSlider(pc.dialog->GetSafeHwnd());
    ASSERT_NE(hwnd, nullptr);
    slider = CWnd::FromHandlePermanent(hwnd);
    ASSERT_NE(slider, nullptr);
    g_dialogProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtr(pc.dialog->GetSafeHwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordNotifications)));
    ::SetWindowPos(pc.dialog->GetSafeHwnd(), nullptr, 0, 0, 600, 400, SWP_NOZORDER);
    winui::PumpMessages();
    Place(336, 24);
    ::SendMessage(hwnd, RSM_SETCOLORCALLBACK, reinterpret_cast<WPARAM>(&PositionColour), 0);
    SetStep(0.0);
    SetRange(0.2, 0.7);
  }
  void TearDown() override {
    if (g_dialogProc)
      ::SetWindowLongPtr(pc.dialog->GetSafeHwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_dialogProc));
    g_dialogProc = nullptr;
    g_notifications.clear();
  }

  void Place(int width, int height) {
    ::SetWindowPos(hwnd, nullptr, 10, 10, width, height, SWP_NOZORDER);
    Repaint();
  }
  void SetRange(double left, double right) {
    const double thumbs[2] = {left, right};
    ::SendMessage(hwnd, RSM_SETRANGE, 0, reinterpret_cast<LPARAM>(thumbs));
    Repaint();
  }
  void SetMinMax(double min, double max) {
    const double ends[2] = {min, max};
    ::SendMessage(hwnd, RSM_SETMINMAX, 0, reinterpret_cast<LPARAM>(ends));
  }
  void SetStep(double step) { ::SendMessage(hwnd, RSM_SETSTEP, 0, reinterpret_cast<LPARAM>(&step)); }
  double Thumb(int which) const {
    double thumbs[2] = {};
    ::SendMessage(hwnd, RSM_GETRANGE, 0, reinterpret_cast<LPARAM>(thumbs));
    return thumbs[which];
  }
  double Left() const { return Thumb(0); }
  double Right() const { return Thumb(1); }
  void Repaint() {
    g_positions.clear();
    slider->Invalidate(TRUE);
    winui::PumpMessages();
  }
  // The colour of the slider's client pixel (x, y) as it is on the screen.
  COLORREF Pixel(int x, int y) {
    const winui::Surface& screen = winui::ComposeScreen();
    CPoint at(x, y);
    ::ClientToScreen(hwnd, &at);
    return winui::ColorRefFromPixel(screen.At(at.x, at.y));
  }
  CPoint Screen(int x, int y) const {
    CPoint at(x, y);
    ::ClientToScreen(hwnd, &at);
    return at;
  }
  // Presses at (x, y), moves by `dx, dy`, releases: one drag. Unless `quick`, it waits out the
  // double-click time first, so that its press is not the second half of a double-click.
  void Drag(int x, int y, int dx, int dy, bool quick = false) {
    if (!quick) std::this_thread::sleep_for(std::chrono::milliseconds(::GetDoubleClickTime() + 20));
    g_notifications.clear();
    winui::InjectMouseMove(Screen(x, y));
    winui::InjectMouseDown(Screen(x, y));
    winui::InjectMouseMove(Screen(x + dx, y + dy));
    winui::InjectMouseUp(Screen(x + dx, y + dy));
    winui::PumpMessages();
  }
  void Key(int key, const std::vector<int>& modifiers = {}) {
    ::SetFocus(hwnd);
    winui::PumpMessages();
    g_notifications.clear();
    winui::InjectKeyPress(key, modifiers);
    winui::PumpMessages();
  }
  WPARAM LastCode() const { return g_notifications.empty() ? ~WPARAM{0} : g_notifications.back().code; }

  hosted_dialog::HostedDialog pc{XIP_OBJTYPE_PSEUDOCOLOR_LUT, 0};
  HWND hwnd = nullptr;
  CWnd* slider = nullptr;
};

// 336 x 24: a = 18, track 300, p1 = 60, p2 = 210.
TEST_F(RangeSliderTest, HorizontalPicture) {
  // First thumb x 60..78, second 228..246: black outline, raised frame inside it.
  EXPECT_EQ(Pixel(60, 0), kBlack);
  EXPECT_EQ(Pixel(77, 23), kBlack);
  EXPECT_EQ(Pixel(61, 1), kWhite);
  EXPECT_EQ(Pixel(76, 22), kShadow);
  EXPECT_EQ(Pixel(228, 0), kBlack);
  EXPECT_EQ(Pixel(245, 23), kBlack);
  // Groove: end post x 4..6, bar y 11..13 from x 6, highlight above and shadow below it.
  EXPECT_EQ(Pixel(4, 10), kBlack);
  EXPECT_EQ(Pixel(30, 11), kBlack);
  EXPECT_EQ(Pixel(30, 12), kBlack);
  EXPECT_EQ(Pixel(30, 10), kWhite);
  EXPECT_EQ(Pixel(30, 13), kShadow);
  EXPECT_EQ(Pixel(30, 5), kFace);
  // Bar frame x 78..228, y 1..23; its 148 inner columns run from m_Left to m_Right.
  EXPECT_EQ(Pixel(78, 1), kWhite);
  EXPECT_EQ(Pixel(227, 22), kShadow);
  EXPECT_EQ(Pixel(79, 12), RGB(20, 0, 0));
  EXPECT_EQ(Pixel(226, 12), RGB(70, 0, 0));
  ASSERT_EQ(g_positions.size(), 148u);
  EXPECT_DOUBLE_EQ(g_positions.front(), 0.2);
  EXPECT_DOUBLE_EQ(g_positions.back(), 0.7);
}

// 24 x 336: the same picture turned, the scale running down.
TEST_F(RangeSliderTest, VerticalPicture) {
  ::SendMessage(hwnd, RSM_SETHORIZONTAL, FALSE, 0);
  Place(24, 336);
  EXPECT_EQ(Pixel(0, 60), kBlack);
  EXPECT_EQ(Pixel(23, 77), kBlack);
  EXPECT_EQ(Pixel(1, 61), kWhite);
  EXPECT_EQ(Pixel(22, 76), kShadow);
  EXPECT_EQ(Pixel(0, 228), kBlack);
  EXPECT_EQ(Pixel(10, 4), kBlack);   // end post x 3..21, y 4..6
  EXPECT_EQ(Pixel(11, 30), kBlack);  // bar x 11..13
  EXPECT_EQ(Pixel(12, 79), RGB(20, 0, 0));
  EXPECT_EQ(Pixel(12, 226), RGB(70, 0, 0));
  ASSERT_EQ(g_positions.size(), 148u);
  EXPECT_DOUBLE_EQ(g_positions.back(), 0.7);
}

TEST_F(RangeSliderTest, MeetingThumbsShowNoBar) {
  SetRange(0.5, 0.5);
  EXPECT_TRUE(g_positions.empty());
  EXPECT_EQ(Pixel(167, 12), kBlack);  // first thumb 150..168
  EXPECT_EQ(Pixel(168, 12), kBlack);  // second thumb from 168
  EXPECT_EQ(Pixel(169, 1), kWhite);
}

TEST_F(RangeSliderTest, ThumbsStopAtEachOtherAndAtTheScale) {
  Drag(69, 12, 200, 0);
  EXPECT_DOUBLE_EQ(Left(), 0.7);
  EXPECT_EQ(LastCode(), RSN_LEFT);
  EXPECT_EQ(g_notifications.back().slider, reinterpret_cast<LPARAM>(slider));

  SetRange(0.2, 0.7);
  Drag(237, 12, -200, 0);
  EXPECT_DOUBLE_EQ(Right(), 0.2);
  EXPECT_EQ(LastCode(), RSN_RIGHT);

  SetRange(0.2, 0.7);
  Drag(237, 12, 150, 0);
  EXPECT_DOUBLE_EQ(Right(), 1.0);
  Drag(69, 12, -150, 0);
  EXPECT_DOUBLE_EQ(Left(), 0.0);
}

TEST_F(RangeSliderTest, BarDragKeepsTheWidth) {
  Drag(150, 12, 200, 0);
  EXPECT_DOUBLE_EQ(Left(), 0.5);
  EXPECT_DOUBLE_EQ(Right(), 1.0);
  EXPECT_EQ(LastCode(), RSN_BOTH);
  SetRange(0.2, 0.7);
  Drag(150, 12, -30, 0);
  EXPECT_NEAR(Left(), 0.1, 1e-12);
  EXPECT_NEAR(Right(), 0.6, 1e-12);
  SetRange(0.2, 0.7);
  Drag(150, 12, -140, 0);
  EXPECT_DOUBLE_EQ(Left(), 0.0);
  EXPECT_NEAR(Right(), 0.5, 1e-12);
}

TEST_F(RangeSliderTest, SecondPressOfADoubleClickStartsNoDrag) {
  Drag(69, 12, 0, 0);
  Drag(69, 12, 30, 0, true);
  EXPECT_DOUBLE_EQ(Left(), 0.2);
  EXPECT_TRUE(g_notifications.empty());
}

TEST_F(RangeSliderTest, StepCutsDragsTowardZero) {
  SetStep(0.01);
  Drag(69, 12, 1, 0);  // a third of a step
  EXPECT_DOUBLE_EQ(Left(), 0.2);
  EXPECT_EQ(LastCode(), RSN_LEFT);
  Drag(69, 12, 10, 0);  // 0.0333 cut to 0.03
  EXPECT_NEAR(Left(), 0.23, 1e-12);
  Drag(237, 12, 0, 0);  // a drag that ends where it began
  EXPECT_EQ(LastCode(), RSN_LEFT);
}

TEST_F(RangeSliderTest, ArrowKeysAndShiftChooseTheThumbs) {
  SetStep(0.05);
  Key(VK_RIGHT);
  EXPECT_NEAR(Left(), 0.25, 1e-12);
  EXPECT_NEAR(Right(), 0.75, 1e-12);
  EXPECT_EQ(LastCode(), RSN_BOTH);
  Key(VK_LEFT, {VK_LSHIFT});
  EXPECT_NEAR(Left(), 0.2, 1e-12);
  EXPECT_NEAR(Right(), 0.75, 1e-12);
  EXPECT_EQ(LastCode(), RSN_LEFT);
  Key(VK_RIGHT, {VK_RSHIFT});
  EXPECT_NEAR(Right(), 0.8, 1e-12);
  EXPECT_EQ(LastCode(), RSN_RIGHT);
  Key(VK_LEFT, {VK_LSHIFT, VK_RSHIFT});
  EXPECT_NEAR(Left(), 0.15, 1e-12);
  EXPECT_NEAR(Right(), 0.8, 1e-12);
  // Keys that move nothing still tell the parent.
  for (int key : {VK_UP, static_cast<int>('A')}) {
    Key(key);
    EXPECT_EQ(g_notifications.size(), 1u);
    EXPECT_EQ(LastCode(), RSN_LEFT);
  }
  EXPECT_NEAR(Left(), 0.15, 1e-12);
}

TEST_F(RangeSliderTest, EmptyScaleAndShortControlStayQuiet) {
  SetMinMax(0.5, 0.5);
  SetRange(0.5, 0.5);
  Drag(9, 12, 50, 0);
  Key(VK_RIGHT);
  EXPECT_DOUBLE_EQ(Left(), 0.5);
  EXPECT_DOUBLE_EQ(Right(), 0.5);

  SetMinMax(0.0, 1.0);
  SetRange(0.2, 0.7);
  Place(30, 24);  // shorter than its two thumbs
  Drag(5, 12, 10, 0);
  Key(VK_LEFT);
  EXPECT_TRUE(std::isfinite(Left()));
  EXPECT_TRUE(std::isfinite(Right()));
}

TEST_F(RangeSliderTest, BoundsFarOffTheScaleColourOnlyTheVisibleBar) {
  // 0 .. 1e6 on a 0..1 scale: the second thumb lies 300 million pixels to the right. The visible
  // lines still show their own positions, 1/300 apart, starting at the left bound.
  SetRange(0.0, 1.0e6);
  ASSERT_FALSE(g_positions.empty());
  EXPECT_LE(g_positions.size(), 336u);
  EXPECT_DOUBLE_EQ(g_positions.front(), 0.0);
  EXPECT_NEAR(g_positions[1] - g_positions[0], 1.0 / 300, 1e-6);
}

}  // namespace
