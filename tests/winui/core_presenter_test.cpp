// The presenter on a real (virtual) display: it shows the screen and runs the loop. Skipped where
// there is no display or no display support.
#include <winui/presenter.h>
#include <winui/screen.h>
#include <winui/winuser.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

int g_paints = 0;

LRESULT CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) ++g_paints;
  if (message == WM_TIMER) PostQuitMessage(4);
  return DefWindowProc(hwnd, message, wParam, lParam);
}

TEST(PresenterTest, RunsTheLoopOnTheDisplayUntilQuit) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no DISPLAY";
  WNDCLASS wc;
  wc.lpfnWndProc = CountingProc;
  wc.lpszClassName = "CorePresenterTest";
  ASSERT_TRUE(RegisterClass(&wc));
  HWND hwnd = CreateWindowEx(0, "CorePresenterTest", "Presented", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 200, 120,
                             nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  SetTimer(hwnd, 1, 100, nullptr);
  winui::PresenterOptions options;
  options.stopAfterMs = 5000;  // a safety net: the timer ends it long before
  std::string error;
  const int code = winui::RunPresenter(options, &error);
  if (code == -1 && error.find("SDL2") != std::string::npos) GTEST_SKIP() << error;
  EXPECT_EQ(code, 4) << error;
  EXPECT_GT(g_paints, 0);
  DestroyWindow(hwnd);
}

}  // namespace
