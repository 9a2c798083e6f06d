// The screen surface: composing the top-level windows onto it and writing pictures of it.
#include <winui/screen.h>

#include "dialog_state.h"
#include "painting.h"
#include "window.h"

#include <algorithm>
#include <atomic>

using namespace winui::core;

namespace winui::core {
namespace {
std::atomic<int> g_screenWidth{1024};
std::atomic<int> g_screenHeight{768};
}  // namespace
int ScreenWidth() { return g_screenWidth; }
int ScreenHeight() { return g_screenHeight; }
}  // namespace winui::core

namespace winui {
namespace {

Surface& ScreenSurface() {
  static Surface surface;
  return surface;
}

void Blit(Surface& to, const Surface& from, int left, int top) {
  const int x0 = std::max(0, left), x1 = std::min(to.Width(), left + from.Width());
  for (int y = std::max(0, top); y < std::min(to.Height(), top + from.Height()); ++y) {
    if (x1 <= x0) break;
    const std::uint32_t* src = from.Row(y - top) + (x0 - left);
    std::copy(src, src + (x1 - x0), to.Row(y) + x0);
  }
}

// The dialog the message is for, so that Tab, Enter and Esc work without the MFC layer too.
HWND DialogRootOf(HWND hwnd) {
  for (Window* w = Find(hwnd); w; w = w->IsChild() ? w->parent : nullptr) {
    if (!w->IsChild()) return w->dialog ? w->handle : nullptr;
  }
  return nullptr;
}

}  // namespace

void SetScreenSize(int width, int height) {
  g_screenWidth = std::max(1, width);
  g_screenHeight = std::max(1, height);
}

const Surface& ComposeScreen() {
  PaintAllPending();
  Surface& screen = ScreenSurface();
  const bool resized = screen.Width() != ScreenWidth() || screen.Height() != ScreenHeight();
  // Tests read the screen pixel by pixel; composing only after a change keeps that cheap.
  if (!TakeScreenChanged() && !resized) return screen;
  if (resized) screen.Resize(ScreenWidth(), ScreenHeight());
  for (int y = 0; y < screen.Height(); ++y)
    std::fill(screen.Row(y), screen.Row(y) + screen.Width(), PixelFromColorRef(kDesktopColor));
  const std::vector<Window*>& tops = TopLevelWindows();
  for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
    if ((*it)->style & WS_VISIBLE) Blit(screen, *(*it)->backing, (*it)->rect.left, (*it)->rect.top);
  }
  return screen;
}

Surface RenderWindow(HWND hwnd) {
  PaintAllPending();
  Window* w = Find(hwnd);
  if (!w) return Surface();
  Window* top = TopLevelOf(w);
  const POINT origin = WindowOriginOnTopLevel(w);
  Surface out(w->Width(), w->Height());
  Blit(out, *top->backing, -origin.x, -origin.y);
  return out;
}

bool PreTranslateForDialogs(MSG* msg) {
  if (TranslateLoopAccelerators(msg)) return true;
  if (RunPreTranslateHook(msg)) return true;
  HWND dialog = DialogRootOf(msg->hwnd);
  return dialog && IsDialogMessage(dialog, msg);
}

void PumpMessages() {
  MSG msg;
  // Bounded, so that a window that keeps posting to itself cannot hang a test.
  for (int i = 0; i < 100000 && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // left for the caller's own loop
      return;
    }
    if (PreTranslateForDialogs(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
}

}  // namespace winui
