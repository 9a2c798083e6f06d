// Focus, activation, capture, visibility and enabling, z-order and repainting of covered children.
#include <winui/screen.h>
#include <winui/winuser.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Event {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Event>* g_events = nullptr;

LRESULT TrackingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ACTIVATE:
    case WM_CAPTURECHANGED:
    case WM_ENABLE:
    case WM_SHOWWINDOW:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_PAINT:
    case WM_SIZE:
      if (g_events) g_events->push_back({hwnd, message, wParam, lParam});
      break;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{150, 100};
      return 0;
    default:
      break;
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

class FocusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static const bool registered = [] {
      WNDCLASS wc;
      wc.lpfnWndProc = TrackingProc;
      wc.style = CS_DBLCLKS;
      wc.lpszClassName = "CoreFocusTest";
      return RegisterClass(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    winui::PumpMessages();
    g_events = &events;
  }
  void TearDown() override {
    g_events = nullptr;
    for (HWND hwnd : tops) DestroyWindow(hwnd);
    winui::PumpMessages();
  }
  HWND Top(int x, int y, DWORD style = WS_POPUP | WS_CAPTION | WS_VISIBLE) {
    HWND hwnd = CreateWindowEx(0, "CoreFocusTest", "top", style, x, y, 200, 150, nullptr, nullptr, nullptr, nullptr);
    tops.push_back(hwnd);
    return hwnd;
  }
  HWND Child(HWND parent, int x, int y, int cx = 40, int cy = 30) {
    return CreateWindowEx(0, "CoreFocusTest", "child", WS_CHILD | WS_VISIBLE, x, y, cx, cy, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(x + 1)), nullptr, nullptr);
  }
  std::vector<UINT> For(HWND hwnd, std::vector<UINT> wanted) const {
    std::vector<UINT> out;
    for (const Event& e : events) {
      if (e.hwnd == hwnd && std::find(wanted.begin(), wanted.end(), e.message) != wanted.end())
        out.push_back(e.message);
    }
    return out;
  }
  std::vector<Event> events;
  std::vector<HWND> tops;
};

TEST_F(FocusTest, FocusMovesWithKillBeforeSetAndNamesTheOtherWindow) {
  HWND top = Top(10, 10);
  HWND a = Child(top, 0, 0), b = Child(top, 50, 0);
  SetFocus(a);
  events.clear();
  EXPECT_EQ(SetFocus(b), a);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].hwnd, a);
  EXPECT_EQ(events[0].message, static_cast<UINT>(WM_KILLFOCUS));
  EXPECT_EQ(reinterpret_cast<HWND>(events[0].wParam), b);
  EXPECT_EQ(events[1].hwnd, b);
  EXPECT_EQ(events[1].message, static_cast<UINT>(WM_SETFOCUS));
  EXPECT_EQ(GetFocus(), b);
  EXPECT_EQ(GetActiveWindow(), top);
}

TEST_F(FocusTest, DisablingOrHidingTheFocusedWindowTakesTheFocusAway) {
  HWND top = Top(10, 10);
  HWND a = Child(top, 0, 0);
  SetFocus(a);
  EnableWindow(a, FALSE);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(SetFocus(a), nullptr) << "a disabled window cannot take the focus";
  EXPECT_NE(GetFocus(), a);
  EXPECT_EQ(For(a, {WM_ENABLE}).size(), 1u);
  EnableWindow(a, TRUE);
  SetFocus(a);
  ShowWindow(a, SW_HIDE);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_FALSE(IsWindowVisible(a));
}

TEST_F(FocusTest, ClickingAnotherWindowActivatesItAndBringsItToTheTop) {
  HWND first = Top(10, 10);
  HWND second = Top(100, 60);
  EXPECT_EQ(GetActiveWindow(), second);
  EXPECT_EQ(GetTopWindow(nullptr), second);
  winui::InjectClick(POINT{20, 40});  // only the first window is there
  winui::PumpMessages();
  EXPECT_EQ(GetActiveWindow(), first);
  EXPECT_EQ(GetTopWindow(nullptr), first);
  WPARAM lastActivation = 0xFFFF;
  for (const Event& e : events) {
    if (e.hwnd == second && e.message == WM_ACTIVATE) lastActivation = e.wParam;
  }
  EXPECT_EQ(LOWORD(lastActivation), WA_INACTIVE);
  // Where both overlap, the one on top now gets the click.
  events.clear();
  winui::InjectClick(POINT{150, 100});
  winui::PumpMessages();
  EXPECT_EQ(For(first, {WM_LBUTTONDOWN}).size(), 1u);
  EXPECT_TRUE(For(second, {WM_LBUTTONDOWN}).empty());
}

TEST_F(FocusTest, CaptureTakesTheMouseUntilReleasedAndTellsTheLoser) {
  HWND top = Top(10, 10);
  HWND a = Child(top, 0, 0), b = Child(top, 50, 0);
  SetCapture(a);
  SetCapture(b);
  ASSERT_EQ(For(a, {WM_CAPTURECHANGED}).size(), 1u);
  events.clear();
  winui::InjectMouseDown(POINT{5, 5});  // outside every window, yet captured
  winui::PumpMessages();
  ASSERT_EQ(For(b, {WM_LBUTTONDOWN}).size(), 1u);
  const Event down =
      *std::find_if(events.begin(), events.end(), [](const Event& e) { return e.message == WM_LBUTTONDOWN; });
  POINT client{GET_X_LPARAM(down.lParam), GET_Y_LPARAM(down.lParam)};
  ClientToScreen(b, &client);
  EXPECT_EQ(client.x, 5);
  EXPECT_EQ(client.y, 5);
  EXPECT_TRUE(down.wParam & MK_LBUTTON);
  ReleaseCapture();
  EXPECT_EQ(GetCapture(), nullptr);
  winui::InjectMouseUp(POINT{5, 5});
  winui::PumpMessages();
}

TEST_F(FocusTest, SecondQuickClickIsADoubleClickForClassesThatAskForIt) {
  HWND top = Top(10, 10);
  HWND a = Child(top, 0, 0);
  POINT p{5, 5};
  ClientToScreen(a, &p);
  winui::InjectClick(p);
  winui::InjectClick(p);
  winui::PumpMessages();
  EXPECT_EQ(For(a, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}));
}

TEST_F(FocusTest, ResizingByTheFrameStopsAtTheMinimumTrackSize) {
  HWND top = Top(300, 300, WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_VISIBLE);
  RECT before;
  GetWindowRect(top, &before);
  const POINT corner{before.right - 1, before.bottom - 1};
  winui::InjectMouseDown(corner);
  winui::InjectMouseMove(POINT{corner.x + 30, corner.y + 20});
  winui::InjectMouseUp(POINT{corner.x + 30, corner.y + 20});
  winui::PumpMessages();
  RECT rc;
  GetWindowRect(top, &rc);
  EXPECT_EQ(rc.right - rc.left, 230);
  EXPECT_EQ(rc.bottom - rc.top, 170);
  EXPECT_FALSE(For(top, {WM_SIZE}).empty());
  winui::InjectMouseDown(POINT{rc.right - 1, rc.bottom - 1});
  winui::InjectMouseMove(POINT{rc.left + 10, rc.top + 10});
  winui::InjectMouseUp(POINT{rc.left + 10, rc.top + 10});
  winui::PumpMessages();
  GetWindowRect(top, &rc);
  EXPECT_EQ(rc.right - rc.left, 150);
  EXPECT_EQ(rc.bottom - rc.top, 100);
}

TEST_F(FocusTest, RepaintingAParentRepaintsTheChildrenItCovers) {
  HWND top = Top(10, 10, WS_POPUP | WS_VISIBLE);
  HWND a = Child(top, 0, 0), b = Child(top, 100, 100);
  winui::PumpMessages();
  events.clear();
  const RECT corner{0, 0, 20, 20};
  InvalidateRect(top, &corner, TRUE);
  winui::PumpMessages();
  EXPECT_EQ(For(top, {WM_PAINT}).size(), 1u);
  EXPECT_EQ(For(a, {WM_PAINT}).size(), 1u) << "the child under the invalid corner";
  EXPECT_TRUE(For(b, {WM_PAINT}).empty()) << "the child elsewhere";
  // Moving a child repaints where it was.
  events.clear();
  MoveWindow(b, 150, 100, 40, 30, TRUE);
  winui::PumpMessages();
  EXPECT_EQ(For(top, {WM_PAINT}).size(), 1u);
  EXPECT_EQ(For(b, {WM_PAINT}).size(), 1u);
}

}  // namespace
