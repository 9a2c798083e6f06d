// The screen: one surface that shows every top-level window in z-order, rendered without a display, injected input for
// tests and the presenter, and the presenter that puts it on a display.
#pragma once

#include <winui/surface.h>
#include <winui/winuser.h>

#include <string>
#include <vector>

namespace winui {

inline constexpr COLORREF kDesktopColor = RGB(0, 128, 128);

// Size of the screen (SM_CXSCREEN/SM_CYSCREEN). Default 1024 x 768.
void SetScreenSize(int width, int height);

// Paints what is pending on the calling thread (WM_NCPAINT, WM_ERASEBKGND, WM_PAINT) and composes
// the screen surface from the top-level windows; the returned surface stays valid until the next call.
const Surface& ComposeScreen();
// The pixels of one window including its frame, as they are on its own backing store.
Surface RenderWindow(HWND hwnd);

// Input as the hardware would deliver it: posted to the thread that owns the target window and
// handled by its message loop. Points are screen coordinates.
enum class MouseButton { Left, Right, Middle };
void InjectMouseMove(POINT screen);
void InjectMouseDown(POINT screen, MouseButton button = MouseButton::Left);
void InjectMouseUp(POINT screen, MouseButton button = MouseButton::Left);
// Move, press and release: one click.
void InjectClick(POINT screen, MouseButton button = MouseButton::Left);
// Wheel notches at a screen point (positive: away from the user), as WM_MOUSEWHEEL with
// WHEEL_DELTA a notch to the window under the point.
void InjectMouseWheel(POINT screen, int notches);
void InjectKeyDown(int virtualKey);
void InjectKeyUp(int virtualKey);
// Presses `virtualKey` with the given modifiers held (VK_SHIFT/VK_LSHIFT/VK_CONTROL/...).
void InjectKeyPress(int virtualKey, const std::vector<int>& modifiers = {});
// Each character as its key press (WM_KEYDOWN, WM_CHAR through TranslateMessage, WM_KEYUP).
void InjectText(const std::string& text);

// The accelerator table the message loops here translate with, for `target`, ahead of everything
// else, except keys typed into an edit control; a null table ends it. The table stays the caller's.
void SetLoopAccelerators(HWND target, HACCEL table);

// What a message loop does with a message before TranslateMessage/DispatchMessage: translates the
// loop's accelerators, then lets the window objects' PreTranslateMessage and dialogs' keyboard
// handling take it. True when it was taken.
bool PreTranslateForDialogs(MSG* msg);

// Runs the calling thread's messages until its queue holds nothing but future timers; for tests.
void PumpMessages();

// Message boxes shown so far (headless), oldest first.
struct ShownMessageBox {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
};
std::vector<ShownMessageBox> ShownMessageBoxes();
void ClearShownMessageBoxes();

}  // namespace winui
