// "Static": text labels, frames and icons.
#include "classic_draw.h"
#include "control_classes.h"
#include "control_state.h"
#include "control_support.h"

#include <winui/controls.h>

#include <cstdlib>

namespace winui::controls {
namespace {

struct StaticState {
  ControlFont font;
  HICON icon = nullptr;
};

DWORD TypeOf(HWND hwnd) { return StyleOf(hwnd) & SS_TYPEMASK; }

// The resource name of an icon static comes as an ordinal or as text ("#7007" or a name). As on
// Windows, SS_REALSIZEIMAGE loads the icon at the resource's own size (LoadImage at 0 x 0), not at
// the system icon size: a 16 x 16 icon placed for that size would otherwise grow over its neighbours.
HICON LoadIconByName(HINSTANCE instance, LPCSTR name, bool ownSize) {
  if (!name) return nullptr;
  if (!IS_INTRESOURCE(name)) {
    if (name[0] == '\0') return nullptr;
    if (name[0] == '#') name = MAKEINTRESOURCE(static_cast<UINT>(std::atoi(name + 1)));
  }
  return ownSize ? static_cast<HICON>(LoadImage(instance, name, IMAGE_ICON, 0, 0, 0)) : LoadIcon(instance, name);
}

// A sunken static wears the one-pixel static edge in its frame, as Windows gives it.
void AddStaticEdge(HWND hwnd) {
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_EXSTYLE));
  if (exStyle & WS_EX_STATICEDGE) return;
  SetWindowLongPtr(hwnd, GWL_EXSTYLE, static_cast<LONG_PTR>(exStyle | WS_EX_STATICEDGE));
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

UINT TextFormat(DWORD style) {
  UINT format = 0;
  switch (style & SS_TYPEMASK) {
    case SS_CENTER:
      format = DT_CENTER | DT_WORDBREAK;
      break;
    case SS_RIGHT:
      format = DT_RIGHT | DT_WORDBREAK;
      break;
    case SS_LEFTNOWORDWRAP:
    case SS_SIMPLE:
      format = DT_LEFT | DT_SINGLELINE;
      break;
    default:
      format = DT_LEFT | DT_WORDBREAK;
      break;
  }
  if (style & SS_CENTERIMAGE) format = (format & ~static_cast<UINT>(DT_WORDBREAK)) | DT_SINGLELINE | DT_VCENTER;
  if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
  if (style & SS_ENDELLIPSIS) format |= DT_END_ELLIPSIS;
  return format;
}

// Frames and filled rectangles draw in a fixed system colour and leave the rest alone, which is
// what lets them serve as invisible placeholders and as simple separators.
bool PaintShape(HDC dc, DWORD type, const RECT& rc) {
  switch (type) {
    case SS_BLACKFRAME:
      FrameRect(dc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME));
      return true;
    case SS_GRAYFRAME:
      FrameRect(dc, &rc, GetSysColorBrush(COLOR_BTNSHADOW));
      return true;
    case SS_WHITEFRAME:
      FrameRect(dc, &rc, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
      return true;
    case SS_BLACKRECT:
      FillSysColor(dc, rc, COLOR_WINDOWFRAME);
      return true;
    case SS_GRAYRECT:
      FillSysColor(dc, rc, COLOR_BTNSHADOW);
      return true;
    case SS_WHITERECT:
      FillSysColor(dc, rc, COLOR_BTNHIGHLIGHT);
      return true;
    case SS_ETCHEDFRAME:
      DrawBevel(dc, rc, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
      DrawBevel(dc, Inflated(rc, -1, -1), COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
      return true;
    default:
      return false;
  }
}

// Icons are stretched to the standard icon size, as DrawIcon does, unless shown at their own size;
// SS_CENTERIMAGE puts them in the middle instead of the top-left corner.
void PaintIcon(HDC dc, DWORD style, const RECT& rc, HICON icon) {
  const bool realSize = (style & SS_REALSIZEIMAGE) != 0;
  const SIZE own = winui::IconSize(icon);
  const SIZE size = realSize ? own : SIZE{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
  POINT at{rc.left, rc.top};
  if (style & SS_CENTERIMAGE) at = {(rc.left + rc.right - size.cx) / 2, (rc.top + rc.bottom - size.cy) / 2};
  DrawIconEx(dc, at.x, at.y, icon, size.cx, size.cy, 0, nullptr, DI_NORMAL);
}

void Paint(HWND hwnd, StaticState& state) {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(hwnd, &ps);
  const DWORD style = StyleOf(hwnd);
  const RECT rc = ClientRect(hwnd);
  if (!PaintShape(dc, style & SS_TYPEMASK, rc)) {
    HBRUSH background = ColorsFromParent(hwnd, dc, WM_CTLCOLORSTATIC);
    FillRect(dc, &rc, background);
    if ((style & SS_TYPEMASK) == SS_ICON) {
      if (state.icon) PaintIcon(dc, style, rc, state.icon);
    } else {
      SelectedFont font(dc, state.font.Get());
      DrawControlText(dc, WindowText(hwnd), rc, TextFormat(style), IsWindowEnabled(hwnd) != FALSE);
    }
  }
  EndPaint(hwnd, &ps);
}

LRESULT StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  StaticState& state = StateOf<StaticState>(hwnd);
  LRESULT result = 0;
  if (state.font.Handle(hwnd, message, wParam, lParam, &result)) return result;
  switch (message) {
    case WM_CREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCT*>(lParam);
      if (TypeOf(hwnd) == SS_ICON) {
        state.icon = LoadIconByName(create->hInstance, create->lpszName, HasStyle(hwnd, SS_REALSIZEIMAGE));
      }
      if (HasStyle(hwnd, SS_SUNKEN)) AddStaticEdge(hwnd);
      return 0;
    }
    case WM_NCDESTROY:
      FreeState<StaticState>(hwnd);
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_PAINT:
      Paint(hwnd, state);
      return 0;
    case WM_ERASEBKGND:
      return TRUE;  // painting fills the whole client area itself
    case WM_SETTEXT:
    case WM_ENABLE:
      result = DefWindowProc(hwnd, message, wParam, lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return result;
    case STM_SETICON: {
      HICON previous = state.icon;
      state.icon = reinterpret_cast<HICON>(wParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(previous);
    }
    case STM_GETICON:
      return reinterpret_cast<LRESULT>(state.icon);
    case WM_NCHITTEST:
      // Labels let clicks through to what lies beneath unless asked to report them.
      return HasStyle(hwnd, SS_NOTIFY) ? HTCLIENT : HTTRANSPARENT;
    case WM_LBUTTONDOWN:
      if (HasStyle(hwnd, SS_NOTIFY)) NotifyParent(hwnd, STN_CLICKED);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (HasStyle(hwnd, SS_NOTIFY)) NotifyParent(hwnd, STN_DBLCLK);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

}  // namespace

WNDPROC StaticWindowProc() { return &StaticProc; }

}  // namespace winui::controls
