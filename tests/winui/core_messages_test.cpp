// Windows and their messages: creation and destruction order, sending, posting across threads,
// the loop's order of posted, paint and timer messages, and key translation.
#include <winui/screen.h>
#include <winui/winuser.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Seen {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
};
std::vector<Seen>* g_log = nullptr;

LRESULT RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_log) g_log->push_back({hwnd, message, wParam});
  if (message == WM_USER + 1) return static_cast<LRESULT>(wParam * 2);
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

const char* RecordingClass() {
  static const bool registered = [] {
    WNDCLASS wc;
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = "CoreTestRecording";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(15 + 1));  // COLOR_BTNFACE
    return RegisterClass(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  return "CoreTestRecording";
}

class MessageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    winui::PumpMessages();
    g_log = &log;
  }
  void TearDown() override {
    g_log = nullptr;
    for (HWND hwnd : made) DestroyWindow(hwnd);
    winui::PumpMessages();
  }
  HWND Make(DWORD style, HWND parent = nullptr, int x = 10, int y = 10, int cx = 100, int cy = 80) {
    HWND hwnd = CreateWindowEx(0, RecordingClass(), "test", style, x, y, cx, cy, parent, nullptr, nullptr, nullptr);
    if (!parent) made.push_back(hwnd);
    return hwnd;
  }
  std::vector<UINT> MessagesFor(HWND hwnd) const {
    std::vector<UINT> out;
    for (const Seen& s : log) {
      if (s.hwnd == hwnd) out.push_back(s.message);
    }
    return out;
  }
  std::vector<Seen> log;
  std::vector<HWND> made;
};

TEST_F(MessageTest, CreationSendsNcCreateCreateSizeMoveInThatOrder) {
  HWND hwnd = Make(WS_POPUP);
  ASSERT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(MessagesFor(hwnd), (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE}));
}

TEST_F(MessageTest, DestroyTellsParentsFirstAndFreesChildrenFirst) {
  HWND parent = Make(WS_POPUP);
  HWND child = Make(WS_CHILD, parent);
  log.clear();
  made.clear();
  ASSERT_TRUE(DestroyWindow(parent));
  std::vector<std::pair<HWND, UINT>> order;
  for (const Seen& s : log) {
    if (s.message == WM_DESTROY || s.message == WM_NCDESTROY) order.emplace_back(s.hwnd, s.message);
  }
  EXPECT_EQ(order, (std::vector<std::pair<HWND, UINT>>{
                       {parent, WM_DESTROY}, {child, WM_DESTROY}, {child, WM_NCDESTROY}, {parent, WM_NCDESTROY}}));
  EXPECT_FALSE(IsWindow(parent));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_EQ(SendMessage(child, WM_USER + 1, 4, 0), 0);  // a dead handle answers nothing
}

TEST_F(MessageTest, SendReturnsTheProcedureResultAndTextTravelsThroughMessages) {
  HWND hwnd = Make(WS_POPUP);
  EXPECT_EQ(SendMessage(hwnd, WM_USER + 1, 21, 0), 42);
  SetWindowText(hwnd, "Pseudo");
  char buffer[4];
  EXPECT_EQ(GetWindowText(hwnd, buffer, sizeof buffer), 3);  // truncated to the buffer
  EXPECT_STREQ(buffer, "Pse");
  EXPECT_EQ(GetWindowTextLength(hwnd), 6);
}

TEST_F(MessageTest, PostedMessagesComeBeforePaintAndInTheOrderPosted) {
  HWND hwnd = Make(WS_POPUP | WS_VISIBLE);
  winui::PumpMessages();
  log.clear();
  InvalidateRect(hwnd, nullptr, TRUE);
  PostMessage(hwnd, WM_APP, 1, 0);
  PostMessage(hwnd, WM_APP, 2, 0);
  winui::PumpMessages();
  std::vector<std::pair<UINT, WPARAM>> order;
  for (const Seen& s : log) {
    if (s.message == WM_APP || s.message == WM_PAINT) order.emplace_back(s.message, s.message == WM_APP ? s.wParam : 0);
  }
  EXPECT_EQ(order, (std::vector<std::pair<UINT, WPARAM>>{{WM_APP, 1}, {WM_APP, 2}, {WM_PAINT, 0}}));
}

TEST_F(MessageTest, PaintErasesFirstAndValidates) {
  HWND hwnd = Make(WS_POPUP | WS_VISIBLE);
  winui::PumpMessages();
  log.clear();
  InvalidateRect(hwnd, nullptr, TRUE);
  RECT update;
  EXPECT_TRUE(GetUpdateRect(hwnd, &update, FALSE));
  EXPECT_EQ(update.right, 100);
  winui::PumpMessages();
  EXPECT_EQ(MessagesFor(hwnd), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
  EXPECT_FALSE(GetUpdateRect(hwnd, &update, FALSE));
  // The class brush painted the client area button-face grey.
  const winui::Surface pixels = winui::RenderWindow(hwnd);
  EXPECT_EQ(pixels.At(50, 40), 0xD4D0C8u);
}

TEST_F(MessageTest, PostFromAnotherThreadReachesTheOwnersLoop) {
  HWND hwnd = Make(WS_POPUP);
  const DWORD guiThread = GetCurrentThreadId();
  std::atomic<DWORD> workerThread{0};
  constexpr int kPosts = 200;
  std::thread worker([&] {
    workerThread = GetCurrentThreadId();
    for (int i = 0; i < kPosts; ++i) ASSERT_TRUE(PostMessage(hwnd, WM_APP, static_cast<WPARAM>(i), 0));
  });
  worker.join();
  EXPECT_NE(workerThread.load(), guiThread);
  EXPECT_EQ(GetWindowThreadProcessId(hwnd, nullptr), guiThread);
  log.clear();
  MSG msg;
  int received = 0;
  while (received < kPosts && GetMessage(&msg, nullptr, 0, 0) > 0) {
    DispatchMessage(&msg);
    if (msg.message == WM_APP) {
      EXPECT_EQ(msg.wParam, static_cast<WPARAM>(received));
      ++received;
    }
  }
  EXPECT_EQ(received, kPosts);
  EXPECT_EQ(log.back().message, static_cast<UINT>(WM_APP));
}

TEST_F(MessageTest, GetMessageWaitsForAPostFromAnotherThread) {
  HWND hwnd = Make(WS_POPUP);
  std::thread worker([hwnd] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    PostMessage(hwnd, WM_APP + 5, 7, 0);
  });
  MSG msg;
  do {
    ASSERT_GT(GetMessage(&msg, nullptr, 0, 0), 0);
    DispatchMessage(&msg);
  } while (msg.message != WM_APP + 5);
  worker.join();
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(MessageTest, QuitEndsTheLoopWithItsCode) {
  PostQuitMessage(3);
  MSG msg;
  EXPECT_EQ(GetMessage(&msg, nullptr, 0, 0), FALSE);
  EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(MessageTest, TimersFireThroughTheLoopUntilKilled) {
  HWND hwnd = Make(WS_POPUP);
  ASSERT_EQ(SetTimer(hwnd, 9, 10, nullptr), 9u);
  MSG msg;
  do {
    ASSERT_GT(GetMessage(&msg, nullptr, 0, 0), 0);
    DispatchMessage(&msg);
  } while (msg.message != WM_TIMER);
  EXPECT_EQ(msg.wParam, 9u);
  EXPECT_TRUE(KillTimer(hwnd, 9));
  EXPECT_FALSE(KillTimer(hwnd, 9));
}

TEST_F(MessageTest, TypingShiftedKeysGivesCharactersAndSidedShiftState) {
  HWND hwnd = Make(WS_POPUP | WS_VISIBLE);
  SetFocus(hwnd);
  winui::PumpMessages();
  log.clear();
  winui::InjectText("a1B.");
  winui::PumpMessages();
  std::string typed;
  for (const Seen& s : log) {
    if (s.message == WM_CHAR) typed += static_cast<char>(s.wParam);
  }
  EXPECT_EQ(typed, "a1B.");

  winui::InjectKeyDown(VK_RSHIFT);
  winui::PumpMessages();
  EXPECT_TRUE(GetKeyState(VK_SHIFT) & 0x8000);
  EXPECT_TRUE(GetKeyState(VK_RSHIFT) & 0x8000);
  EXPECT_FALSE(GetKeyState(VK_LSHIFT) & 0x8000);
  EXPECT_TRUE(GetAsyncKeyState(VK_RSHIFT) & 0x8000);
  winui::InjectKeyUp(VK_RSHIFT);
  winui::PumpMessages();
  EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
  EXPECT_FALSE(GetKeyState(VK_RSHIFT) & 0x8000);
}

TEST_F(MessageTest, WheelNotchesGoToTheWindowUnderThePointerWithTheirSignAndShift) {
  HWND below = Make(WS_POPUP | WS_VISIBLE, nullptr, 300, 300, 50, 50);
  HWND hwnd = Make(WS_POPUP | WS_VISIBLE);
  winui::PumpMessages();
  log.clear();
  winui::InjectMouseWheel(POINT{20, 30}, 2);
  winui::InjectKeyDown(VK_SHIFT);
  winui::InjectMouseWheel(POINT{20, 30}, -1);
  winui::InjectKeyUp(VK_SHIFT);
  winui::InjectMouseWheel(POINT{310, 310}, 1);
  winui::PumpMessages();
  std::vector<std::pair<HWND, WPARAM>> wheels;
  for (const Seen& s : log) {
    if (s.message == WM_MOUSEWHEEL) wheels.emplace_back(s.hwnd, s.wParam);
  }
  ASSERT_EQ(wheels.size(), 3u);
  EXPECT_EQ(wheels[0].first, hwnd);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheels[0].second), 2 * WHEEL_DELTA);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheels[1].second), -WHEEL_DELTA);
  EXPECT_EQ(LOWORD(wheels[1].second) & MK_SHIFT, MK_SHIFT);
  EXPECT_EQ(wheels[2].first, below);
}

TEST_F(MessageTest, GeometryOfFramedWindowsAndChildren) {
  HWND top = Make(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, nullptr, 100, 50, 200, 150);
  RECT client;
  GetClientRect(top, &client);
  // Fixed dialog frame of 3 pixels and a 19-pixel caption, as the classic scheme has.
  EXPECT_EQ(client.right, 200 - 2 * 3);
  EXPECT_EQ(client.bottom, 150 - 2 * 3 - 19);
  HWND child = Make(WS_CHILD | WS_VISIBLE | WS_BORDER, top, 10, 20, 30, 40);
  RECT rc;
  GetWindowRect(child, &rc);
  EXPECT_EQ(rc.left, 100 + 3 + 10);
  EXPECT_EQ(rc.top, 50 + 3 + 19 + 20);
  POINT p{rc.left + 1, rc.top + 1};
  ScreenToClient(child, &p);
  EXPECT_EQ(p.x, 0);  // inside the one-pixel border
  EXPECT_EQ(p.y, 0);
  EXPECT_EQ(WindowFromPoint(POINT{rc.left + 5, rc.top + 5}), child);
  MoveWindow(child, 0, 0, 50, 60, TRUE);
  GetClientRect(child, &client);
  EXPECT_EQ(client.right, 48);
  EXPECT_EQ(client.bottom, 58);
}

}  // namespace
