// What a window does with a message its own procedure leaves to the system.
#include "input_state.h"
#include "nonclient.h"
#include "window.h"

#include <winui/wingdi.h>

#include <algorithm>
#include <cstring>

using namespace winui::core;

namespace {

HBRUSH ClassBackground(const Window* w) {
  HBRUSH brush = w->cls->wc.hbrBackground;
  const auto value = reinterpret_cast<UINT_PTR>(brush);
  // Classes name a system colour as COLOR_xxx + 1 in place of a brush.
  if (value > 0 && value <= 64) return GetSysColorBrush(static_cast<int>(value - 1));
  return brush;
}

LRESULT DefaultCtlColor(UINT message, HDC dc) {
  const bool window = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(window ? COLOR_WINDOW : COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(window ? COLOR_WINDOW : COLOR_BTNFACE));
}

}  // namespace

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  switch (message) {
    case WM_NCCREATE:
      return TRUE;
    case WM_NCHITTEST:
      return NonClientHitTest(w, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_NCPAINT:
      PaintNonClient(w);
      return 0;
    case WM_NCACTIVATE:
      w->frameDirty = true;
      return TRUE;
    case WM_ERASEBKGND: {
      HBRUSH brush = ClassBackground(w);
      if (!brush) return 0;
      const RECT client = w->ClientRect();
      FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_SETTEXT:
      w->text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
      if (HasCaption(w->style)) w->frameDirty = true;
      return TRUE;
    case WM_GETTEXT: {
      if (wParam == 0 || !lParam) return 0;
      const std::size_t n = std::min<std::size_t>(wParam - 1, w->text.size());
      std::memcpy(reinterpret_cast<char*>(lParam), w->text.data(), n);
      reinterpret_cast<char*>(lParam)[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) SendMessage(hwnd, WM_CLOSE, 0, 0);
      return 0;
    case WM_NCLBUTTONDOWN:
      // The close box acts on release in Windows; a press on it is close enough for a mouse that
      // does not drag off it, and the screen's own loop handles caption and frame drags.
      if (wParam == static_cast<WPARAM>(HTCLOSE)) PostMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, lParam);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) {
        HWND focus = GetFocus();
        if (!focus || (focus != hwnd && !IsChild(hwnd, focus))) SetFocus(hwnd);
      }
      return 0;
    case WM_MOUSEACTIVATE:
      if (w->IsChild()) {
        const LRESULT parentAnswer = SendMessage(w->parent->handle, WM_MOUSEACTIVATE, wParam, lParam);
        if (parentAnswer) return parentAnswer;
      }
      return 1;  // MA_ACTIVATE
    case WM_MOUSEWHEEL:
      return w->IsChild() ? SendMessage(w->parent->handle, message, wParam, lParam) : 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return DefaultCtlColor(message, reinterpret_cast<HDC>(wParam));
    default:
      return 0;
  }
}
