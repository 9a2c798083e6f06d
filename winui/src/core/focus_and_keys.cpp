// Keyboard focus, activation, mouse capture, key state and the cursor position.
#include "input_state.h"

#include <array>
#include <atomic>

using namespace winui::core;

namespace winui::core {
namespace {

std::array<std::atomic<bool>, 256>& Keys() {
  static std::array<std::atomic<bool>, 256> keys{};
  return keys;
}
std::array<std::atomic<bool>, 256>& Toggles() {
  static std::array<std::atomic<bool>, 256> toggles{};
  return toggles;
}
std::atomic<LONG> g_cursorX{0};
std::atomic<LONG> g_cursorY{0};

}  // namespace

FocusState& FocusOfThisThread() {
  thread_local FocusState state;
  return state;
}

void ForgetInputFor(const Window* gone, bool (*matches)(const Window*, const Window*)) {
  FocusState& s = FocusOfThisThread();
  auto held = [&](HWND h) {
    Window* w = Find(h);
    return w && matches(gone, w);
  };
  if (held(s.capture)) ReleaseCapture();
  if (held(s.focus)) {
    // Focus moves to no window rather than to one the caller did not choose; SetFocus sends the
    // losing window its WM_KILLFOCUS.
    SetFocus(nullptr);
  }
  if (held(s.active)) s.active = nullptr;
}

void SetKeyDown(int vk, bool down) {
  if (vk <= 0 || vk > 255) return;
  if (down && !Keys()[vk].load()) Toggles()[vk] = !Toggles()[vk].load();
  Keys()[vk] = down;
}

bool IsKeyDown(int vk) { return vk > 0 && vk < 256 && Keys()[vk].load(); }

void SetCursorPosition(POINT p) {
  g_cursorX = p.x;
  g_cursorY = p.y;
}
POINT CursorPosition() { return POINT{g_cursorX.load(), g_cursorY.load()}; }

char CharacterForKey(int vk, bool shift, bool ctrl, bool capsLock) {
  if (vk >= 'A' && vk <= 'Z') {
    if (ctrl) return static_cast<char>(vk - 'A' + 1);
    return static_cast<char>((shift != capsLock) ? vk : vk - 'A' + 'a');
  }
  if (ctrl) return 0;
  if (vk >= '0' && vk <= '9') return shift ? ")!@#$%^&*("[vk - '0'] : static_cast<char>(vk);
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) return static_cast<char>('0' + vk - VK_NUMPAD0);
  switch (vk) {
    case VK_SPACE:
      return ' ';
    case VK_RETURN:
      return '\r';
    case VK_BACK:
      return '\b';
    case VK_TAB:
      return '\t';
    case VK_ESCAPE:
      return '\x1B';
    case VK_OEM_PERIOD:
      return shift ? '>' : '.';
    case VK_OEM_COMMA:
      return shift ? '<' : ',';
    case VK_OEM_MINUS:
      return shift ? '_' : '-';
    case VK_OEM_PLUS:
      return shift ? '+' : '=';
    case VK_DECIMAL:
      return '.';
    case VK_SUBTRACT:
      return '-';
    case VK_ADD:
      return '+';
    case VK_MULTIPLY:
      return '*';
    case VK_DIVIDE:
      return '/';
    default:
      return 0;
  }
}

}  // namespace winui::core

SHORT GetKeyState(int vk) {
  SHORT state = IsKeyDown(vk) ? static_cast<SHORT>(0x8000) : 0;
  if (vk > 0 && vk < 256 && Toggles()[vk].load()) state |= 1;
  return state;
}

SHORT GetAsyncKeyState(int vk) { return IsKeyDown(vk) ? static_cast<SHORT>(0x8000) : 0; }

BOOL GetCursorPos(LPPOINT point) {
  if (!point) return FALSE;
  *point = CursorPosition();
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  SetCursorPosition(POINT{x, y});
  return TRUE;
}

HCURSOR SetCursor(HCURSOR) { return nullptr; }  // the presenter shows the display's own cursor
HCURSOR LoadCursor(HINSTANCE, LPCSTR) { return nullptr; }
void MessageBeep(UINT) {}

HWND SetFocus(HWND hwnd) {
  FocusState& s = FocusOfThisThread();
  const HWND old = s.focus;
  Window* w = hwnd ? Find(hwnd) : nullptr;
  if (hwnd && (!w || (w->style & WS_DISABLED) || w->queue != QueueOfThisThread())) return nullptr;
  if (hwnd == old) return old;
  if (w) {
    // Focusing a window activates its top-level window first, as on Windows.
    Window* top = TopLevelOf(w);
    if (s.active != top->handle) SetActiveWindow(top->handle);
    if (!Find(hwnd)) return nullptr;
  }
  s.focus = hwnd;
  if (old && IsWindow(old)) SendMessage(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (hwnd && s.focus == hwnd && IsWindow(hwnd)) SendMessage(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return old;
}

HWND GetFocus() {
  const HWND focus = FocusOfThisThread().focus;
  return IsWindow(focus) ? focus : nullptr;
}

HWND SetActiveWindow(HWND hwnd) {
  FocusState& s = FocusOfThisThread();
  const HWND old = s.active;
  Window* w = hwnd ? Find(hwnd) : nullptr;
  if (w) w = TopLevelOf(w);
  const HWND target = w ? w->handle : nullptr;
  if (target == old) return old;
  s.active = target;
  if (Window* o = Find(old)) {
    o->frameDirty = true;
    SendMessage(old, WM_NCACTIVATE, FALSE, 0);
    SendMessage(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(target));
    if (s.focus && IsChild(old, s.focus)) SetFocus(nullptr);
  }
  if (w && s.active == target) {
    SetWindowPos(target, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    w->frameDirty = true;
    SendMessage(target, WM_NCACTIVATE, TRUE, 0);
    SendMessage(target, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), reinterpret_cast<LPARAM>(old));
  }
  return old;
}

HWND GetActiveWindow() { return IsWindow(FocusOfThisThread().active) ? FocusOfThisThread().active : nullptr; }
HWND GetForegroundWindow() { return GetActiveWindow(); }
BOOL SetForegroundWindow(HWND hwnd) { return SetActiveWindow(hwnd) != hwnd || GetActiveWindow() == hwnd; }

HWND SetCapture(HWND hwnd) {
  FocusState& s = FocusOfThisThread();
  const HWND old = s.capture;
  if (!Find(hwnd)) return nullptr;
  s.capture = hwnd;
  if (old && old != hwnd && IsWindow(old)) SendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return old;
}

BOOL ReleaseCapture() {
  FocusState& s = FocusOfThisThread();
  const HWND old = s.capture;
  s.capture = nullptr;
  if (old && IsWindow(old)) SendMessage(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() { return IsWindow(FocusOfThisThread().capture) ? FocusOfThisThread().capture : nullptr; }
