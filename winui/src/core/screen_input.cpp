// Input injected at screen points and keys, routed to windows the way the hardware's would be:
// hit testing, capture, activation on click, double clicks, and dragging captions and frames.
#include <winui/screen.h>

#include "input_state.h"
#include "nonclient.h"
#include "window.h"

#include <algorithm>
#include <cstdlib>
#include <set>

using namespace winui::core;

namespace winui {
namespace {

// A caption drag or frame resize in progress: the system's move/size loop.
struct SizeMove {
  HWND hwnd = nullptr;
  LRESULT hit = HTNOWHERE;
  POINT start{};
  RECT startRect{};
};

struct InjectorState {
  std::set<int> keysDown;  // as injected, for the MK_ flags of mouse messages
  WPARAM buttons = 0;
  SizeMove sizeMove;
  HWND lastClickWindow = nullptr;
  DWORD lastClickTime = 0;
  POINT lastClickPoint{};
};

InjectorState& Injector() {
  thread_local InjectorState state;
  return state;
}

LPARAM PackPoint(POINT p) { return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)); }

WPARAM MouseFlags() {
  const InjectorState& s = Injector();
  WPARAM flags = s.buttons;
  auto held = [&](int a, int b, int c) { return s.keysDown.count(a) || s.keysDown.count(b) || s.keysDown.count(c); };
  if (held(VK_SHIFT, VK_LSHIFT, VK_RSHIFT)) flags |= MK_SHIFT;
  if (held(VK_CONTROL, VK_LCONTROL, VK_RCONTROL)) flags |= MK_CONTROL;
  return flags;
}

WPARAM ButtonFlag(MouseButton b) {
  return b == MouseButton::Left ? MK_LBUTTON : b == MouseButton::Right ? MK_RBUTTON : MK_MBUTTON;
}

UINT ClientMessage(MouseButton b, bool down, bool doubleClick) {
  const UINT base = b == MouseButton::Left ? WM_LBUTTONDOWN : b == MouseButton::Right ? WM_RBUTTONDOWN : WM_MBUTTONDOWN;
  return down ? (doubleClick ? base + 2 : base) : base + 1;
}

// The message an input event becomes, filled in as the event is taken from the queue.
thread_local MSG* t_out = nullptr;

void Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!Find(hwnd) || !t_out) return;
  *t_out = MSG{hwnd, message, wParam, lParam, GetTickCount(), CursorPosition()};
  t_out = nullptr;
}

enum RawKind : WPARAM { kMove, kDown, kUp, kKeyDown, kKeyUp, kChar, kWheel };

// Input waits in the thread's queue as raw events and finds its window only when the loop takes
// it, as hardware input does: a press that sets the capture decides where the release goes.
void PostRaw(RawKind kind, WPARAM detail, POINT screen) {
  QueueOfThisThread()->Post(MSG{nullptr, kRawInputMessage, kind | (detail << 8),
                                MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)), GetTickCount(),
                                screen});
}

// Where a mouse event at `screen` goes: the capture window, else the window under the point.
HWND MouseTarget(POINT screen, LRESULT* hit) {
  if (HWND capture = GetCapture()) {
    *hit = HTCLIENT;
    return capture;
  }
  HWND hwnd = WindowFromPoint(screen);
  *hit = hwnd ? SendMessage(hwnd, WM_NCHITTEST, 0, PackPoint(screen)) : HTNOWHERE;
  return hwnd;
}

void PostToClient(HWND hwnd, UINT message, POINT screen) {
  POINT client = screen;
  ScreenToClient(hwnd, &client);
  Post(hwnd, message, MouseFlags(), PackPoint(client));
}

void ActivateOnClick(HWND hwnd) {
  Window* top = TopLevelOf(Find(hwnd));
  if (!top || GetActiveWindow() == top->handle) return;
  // Drop-down lists and similar captionless owned popups take clicks without taking activation.
  if (top->owner && !HasCaption(top->style)) return;
  constexpr LRESULT kNoActivate = 3;
  if (SendMessage(hwnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top->handle), HTCLIENT) == kNoActivate) return;
  SetActiveWindow(top->handle);
}

bool IsSizingHit(LRESULT hit) { return hit >= HTLEFT && hit <= HTBOTTOMRIGHT; }

void StepSizeMove(POINT screen) {
  SizeMove& m = Injector().sizeMove;
  Window* w = Find(m.hwnd);
  if (!w) {
    m = SizeMove{};
    return;
  }
  const int dx = screen.x - m.start.x, dy = screen.y - m.start.y;
  RECT rc = m.startRect;
  if (m.hit == HTCAPTION) {
    OffsetRect(&rc, dx, dy);
    SetWindowPos(m.hwnd, nullptr, rc.left, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  const bool left = m.hit == HTLEFT || m.hit == HTTOPLEFT || m.hit == HTBOTTOMLEFT;
  const bool right = m.hit == HTRIGHT || m.hit == HTTOPRIGHT || m.hit == HTBOTTOMRIGHT;
  const bool top = m.hit == HTTOP || m.hit == HTTOPLEFT || m.hit == HTTOPRIGHT;
  const bool bottom = m.hit == HTBOTTOM || m.hit == HTBOTTOMLEFT || m.hit == HTBOTTOMRIGHT;
  MINMAXINFO info = DefaultMinMaxInfo(w);
  SendMessage(m.hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  auto clampSize = [](int size, LONG lo, LONG hi) { return std::clamp<int>(size, lo, std::max(lo, hi)); };
  if (left) rc.left = rc.right - clampSize(rc.right - (rc.left + dx), info.ptMinTrackSize.x, info.ptMaxTrackSize.x);
  if (right) rc.right = rc.left + clampSize(rc.right + dx - rc.left, info.ptMinTrackSize.x, info.ptMaxTrackSize.x);
  if (top) rc.top = rc.bottom - clampSize(rc.bottom - (rc.top + dy), info.ptMinTrackSize.y, info.ptMaxTrackSize.y);
  if (bottom) rc.bottom = rc.top + clampSize(rc.bottom + dy - rc.top, info.ptMinTrackSize.y, info.ptMaxTrackSize.y);
  SetWindowPos(m.hwnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Injected keys carry which key of a left/right pair it was in the scan-code byte of lParam.
void PostKey(int virtualKey, bool down) {
  int generic = virtualKey, sided = 0;
  if (virtualKey == VK_SHIFT || virtualKey == VK_LSHIFT || virtualKey == VK_RSHIFT) {
    generic = VK_SHIFT;
    sided = virtualKey == VK_RSHIFT ? VK_RSHIFT : VK_LSHIFT;
  } else if (virtualKey == VK_CONTROL || virtualKey == VK_LCONTROL || virtualKey == VK_RCONTROL) {
    generic = VK_CONTROL;
    sided = virtualKey == VK_RCONTROL ? VK_RCONTROL : VK_LCONTROL;
  } else if (virtualKey == VK_MENU || virtualKey == VK_LMENU || virtualKey == VK_RMENU) {
    generic = VK_MENU;
    sided = virtualKey == VK_RMENU ? VK_RMENU : VK_LMENU;
  }
  if (down) {
    Injector().keysDown.insert(virtualKey);
  } else {
    Injector().keysDown.erase(virtualKey);
  }
  HWND target = GetFocus();
  if (!target) target = GetActiveWindow();
  if (!target) {
    // Nobody to tell, but the key state still changes, as it does on Windows.
    SetKeyDown(generic, down);
    if (sided) SetKeyDown(sided, down);
    return;
  }
  const bool alt =
      Injector().keysDown.count(VK_MENU) || Injector().keysDown.count(VK_LMENU) || Injector().keysDown.count(VK_RMENU);
  const UINT message =
      (alt || generic == VK_MENU) ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
  LPARAM lParam = 1 | (static_cast<LPARAM>(sided) << 16);
  if (!down) lParam |= static_cast<LPARAM>(0xC0000000u);
  Post(target, message, static_cast<WPARAM>(generic), lParam);
}

// The key (and whether Shift is needed) that types `ch` on a US keyboard; vk 0 when none does.
std::pair<int, bool> KeyForCharacter(char ch) {
  if (ch >= 'a' && ch <= 'z') return {ch - 'a' + 'A', false};
  if (ch >= 'A' && ch <= 'Z') return {ch, true};
  if (ch >= '0' && ch <= '9') return {ch, false};
  static const std::string shiftedDigits = ")!@#$%^&*(";
  if (auto at = shiftedDigits.find(ch); at != std::string::npos) return {static_cast<int>('0' + at), true};
  switch (ch) {
    case ' ':
      return {VK_SPACE, false};
    case '\r':
    case '\n':
      return {VK_RETURN, false};
    case '\t':
      return {VK_TAB, false};
    case '\b':
      return {VK_BACK, false};
    case '.':
      return {VK_OEM_PERIOD, false};
    case '>':
      return {VK_OEM_PERIOD, true};
    case ',':
      return {VK_OEM_COMMA, false};
    case '<':
      return {VK_OEM_COMMA, true};
    case '-':
      return {VK_OEM_MINUS, false};
    case '_':
      return {VK_OEM_MINUS, true};
    case '=':
      return {VK_OEM_PLUS, false};
    case '+':
      return {VK_OEM_PLUS, true};
    default:
      return {0, false};
  }
}

void ResolveMouseMove(POINT screen) {
  SetCursorPosition(screen);
  if (Injector().sizeMove.hwnd) {
    StepSizeMove(screen);
    return;
  }
  LRESULT hit;
  HWND hwnd = MouseTarget(screen, &hit);
  if (!hwnd || !IsWindowEnabled(hwnd)) return;
  if (hit == HTCLIENT) {
    PostToClient(hwnd, WM_MOUSEMOVE, screen);
  } else {
    Post(hwnd, WM_NCMOUSEMOVE, static_cast<WPARAM>(hit), PackPoint(screen));
  }
}

void ResolveMouseDown(POINT screen, MouseButton button) {
  SetCursorPosition(screen);
  InjectorState& s = Injector();
  s.buttons |= ButtonFlag(button);
  LRESULT hit;
  HWND hwnd = MouseTarget(screen, &hit);
  if (!hwnd || !IsWindowEnabled(hwnd)) return;
  ActivateOnClick(hwnd);
  if (!IsWindow(hwnd)) return;
  if (hit != HTCLIENT) {
    Window* w = Find(hwnd);
    if (button == MouseButton::Left && !w->IsChild() &&
        (hit == HTCAPTION || (IsSizingHit(hit) && (w->style & WS_THICKFRAME)))) {
      s.sizeMove = SizeMove{hwnd, hit, screen, w->rect};
      SendMessage(hwnd, WM_ENTERSIZEMOVE, 0, 0);
      return;
    }
    if (button == MouseButton::Left) Post(hwnd, WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), PackPoint(screen));
    return;
  }
  const DWORD now = GetTickCount();
  const bool doubleClick = button == MouseButton::Left && s.lastClickWindow == hwnd &&
                           now - s.lastClickTime <= GetDoubleClickTime() &&
                           std::abs(screen.x - s.lastClickPoint.x) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
                           std::abs(screen.y - s.lastClickPoint.y) <= GetSystemMetrics(SM_CYDOUBLECLK) &&
                           (Find(hwnd)->cls->wc.style & CS_DBLCLKS);
  if (button == MouseButton::Left) {
    s.lastClickWindow = doubleClick ? nullptr : hwnd;
    s.lastClickTime = now;
    s.lastClickPoint = screen;
  }
  PostToClient(hwnd, ClientMessage(button, true, doubleClick), screen);
}

void ResolveMouseUp(POINT screen, MouseButton button) {
  SetCursorPosition(screen);
  InjectorState& s = Injector();
  s.buttons &= ~ButtonFlag(button);
  if (s.sizeMove.hwnd && button == MouseButton::Left) {
    StepSizeMove(screen);
    const HWND hwnd = s.sizeMove.hwnd;
    s.sizeMove = SizeMove{};
    if (IsWindow(hwnd)) SendMessage(hwnd, WM_EXITSIZEMOVE, 0, 0);
    return;
  }
  LRESULT hit;
  HWND hwnd = MouseTarget(screen, &hit);
  if (!hwnd || !IsWindowEnabled(hwnd)) return;
  if (hit == HTCLIENT) {
    PostToClient(hwnd, ClientMessage(button, false, false), screen);
  } else if (button == MouseButton::Left) {
    Post(hwnd, WM_NCLBUTTONUP, static_cast<WPARAM>(hit), PackPoint(screen));
  }
}

// The wheel goes to the window under the point (or the capture), its position in screen coordinates.
void ResolveMouseWheel(POINT screen, int notches) {
  SetCursorPosition(screen);
  LRESULT hit;
  HWND hwnd = MouseTarget(screen, &hit);
  if (!hwnd || !IsWindowEnabled(hwnd)) return;
  const auto delta = static_cast<WORD>(static_cast<SHORT>(notches * WHEEL_DELTA));
  Post(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(static_cast<WORD>(MouseFlags()), delta), PackPoint(screen));
}

}  // namespace

void InjectMouseWheel(POINT screen, int notches) {
  // The notches ride in the raw event's detail as a biased count, so that negative ones survive.
  PostRaw(kWheel, static_cast<WPARAM>(std::clamp(notches, -100, 100) + 128), screen);
}

void InjectMouseMove(POINT screen) { PostRaw(kMove, 0, screen); }
void InjectMouseDown(POINT screen, MouseButton button) { PostRaw(kDown, static_cast<WPARAM>(button), screen); }
void InjectMouseUp(POINT screen, MouseButton button) { PostRaw(kUp, static_cast<WPARAM>(button), screen); }

void InjectClick(POINT screen, MouseButton button) {
  InjectMouseMove(screen);
  InjectMouseDown(screen, button);
  InjectMouseUp(screen, button);
}

void InjectKeyDown(int virtualKey) { PostRaw(kKeyDown, static_cast<WPARAM>(virtualKey), CursorPosition()); }
void InjectKeyUp(int virtualKey) { PostRaw(kKeyUp, static_cast<WPARAM>(virtualKey), CursorPosition()); }

void InjectKeyPress(int virtualKey, const std::vector<int>& modifiers) {
  for (int m : modifiers) InjectKeyDown(m);
  InjectKeyDown(virtualKey);
  InjectKeyUp(virtualKey);
  for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) InjectKeyUp(*it);
}

void InjectText(const std::string& text) {
  for (char ch : text) {
    const auto [vk, shift] = KeyForCharacter(ch);
    if (vk) {
      InjectKeyPress(vk, shift ? std::vector<int>{VK_SHIFT} : std::vector<int>{});
    } else {
      // No key types it (a degree sign, say): the character arrives on its own, as from an IME.
      PostRaw(kChar, static_cast<unsigned char>(ch), CursorPosition());
    }
  }
}

}  // namespace winui

namespace winui::core {

bool ResolveRawInput(MSG* msg) {
  const auto kind = static_cast<RawKind>(msg->wParam & 0xFF);
  const WPARAM detail = msg->wParam >> 8;
  const POINT screen = msg->pt;
  MSG out{};
  t_out = &out;
  switch (kind) {
    case kMove:
      ResolveMouseMove(screen);
      break;
    case kDown:
      ResolveMouseDown(screen, static_cast<MouseButton>(detail));
      break;
    case kUp:
      ResolveMouseUp(screen, static_cast<MouseButton>(detail));
      break;
    case kKeyDown:
      PostKey(static_cast<int>(detail), true);
      break;
    case kKeyUp:
      PostKey(static_cast<int>(detail), false);
      break;
    case kWheel:
      ResolveMouseWheel(screen, static_cast<int>(detail) - 128);
      break;
    case kChar: {
      HWND target = GetFocus();
      if (target) Post(target, WM_CHAR, detail, 1);
      break;
    }
  }
  t_out = nullptr;
  if (!out.hwnd) return false;
  *msg = out;
  return true;
}

}  // namespace winui::core
