// "Button": push buttons, check boxes and group boxes, with mouse, Space and dialog-manager support.
#include "button_state.h"
#include "control_classes.h"
#include "control_state.h"

namespace winui::controls {

DWORD ButtonType(HWND hwnd) { return StyleOf(hwnd) & BS_TYPEMASK; }

bool IsCheckBox(DWORD type) { return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX; }

bool IsPushLike(HWND hwnd) {
  const DWORD type = ButtonType(hwnd);
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || (IsCheckBox(type) && HasStyle(hwnd, BS_PUSHLIKE));
}

namespace {

void SetPushed(HWND hwnd, ButtonState& state, bool pushed) {
  if (state.pushed == pushed) return;
  state.pushed = pushed;
  InvalidateRect(hwnd, nullptr, FALSE);
}

void Click(HWND hwnd, ButtonState& state) {
  if (ButtonType(hwnd) == BS_AUTOCHECKBOX) {
    state.check = state.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    InvalidateRect(hwnd, nullptr, FALSE);
  }
  NotifyParent(hwnd, BN_CLICKED);
}

bool PointInClient(HWND hwnd, LPARAM lParam) {
  const RECT rc = ClientRect(hwnd);
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  return x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom;
}

// Ends a press without clicking: focus or capture went elsewhere.
void CancelPress(HWND hwnd, ButtonState& state) {
  state.spaceHeld = false;
  if (state.mouseTracking) {
    state.mouseTracking = false;
    if (GetCapture() == hwnd) ReleaseCapture();
  }
  SetPushed(hwnd, state, false);
}

LRESULT DialogCode(HWND hwnd) {
  switch (ButtonType(hwnd)) {
    case BS_PUSHBUTTON:
      return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_DEFPUSHBUTTON:
      return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_GROUPBOX:
      return DLGC_STATIC;
    default:
      return DLGC_BUTTON;
  }
}

LRESULT ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ButtonState& state = StateOf<ButtonState>(hwnd);
  LRESULT result = 0;
  if (state.font.Handle(hwnd, message, wParam, lParam, &result)) return result;
  const bool groupBox = ButtonType(hwnd) == BS_GROUPBOX;
  switch (message) {
    case WM_NCDESTROY:
      FreeState<ButtonState>(hwnd);
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_PAINT:
      PaintButton(hwnd, state);
      return 0;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_NCHITTEST:
      // A group box lies over the controls it frames; clicks belong to them.
      return groupBox ? HTTRANSPARENT : HTCLIENT;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (groupBox) return 0;
      if (GetFocus() != hwnd) SetFocus(hwnd);
      SetCapture(hwnd);
      state.mouseTracking = true;
      SetPushed(hwnd, state, true);
      return 0;
    case WM_MOUSEMOVE:
      if (state.mouseTracking) SetPushed(hwnd, state, PointInClient(hwnd, lParam));
      return 0;
    case WM_LBUTTONUP: {
      if (!state.mouseTracking) return 0;
      const bool clicked = state.pushed && PointInClient(hwnd, lParam);
      state.mouseTracking = false;
      ReleaseCapture();
      SetPushed(hwnd, state, false);
      if (clicked) Click(hwnd, state);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (state.mouseTracking) CancelPress(hwnd, state);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE && !groupBox && !state.mouseTracking) {
        state.spaceHeld = true;
        SetPushed(hwnd, state, true);
      }
      return 0;
    case WM_KEYUP:
      if (wParam == VK_SPACE && state.spaceHeld) {
        state.spaceHeld = false;
        SetPushed(hwnd, state, false);
        Click(hwnd, state);
      }
      return 0;
    case WM_SETFOCUS:
      InvalidateRect(hwnd, nullptr, FALSE);
      if (HasStyle(hwnd, BS_NOTIFY)) NotifyParent(hwnd, BN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      CancelPress(hwnd, state);
      InvalidateRect(hwnd, nullptr, FALSE);
      if (HasStyle(hwnd, BS_NOTIFY)) NotifyParent(hwnd, BN_KILLFOCUS);
      return 0;
    case WM_GETDLGCODE:
      return DialogCode(hwnd);
    case WM_SETTEXT:
    case WM_ENABLE:
      result = DefWindowProc(hwnd, message, wParam, lParam);
      InvalidateRect(hwnd, nullptr, FALSE);
      return result;
    case BM_GETCHECK:
      return IsCheckBox(ButtonType(hwnd)) ? state.check : BST_UNCHECKED;
    case BM_SETCHECK: {
      const UINT check = static_cast<UINT>(wParam) == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED;
      if (IsCheckBox(ButtonType(hwnd)) && check != state.check) {
        state.check = check;
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    }
    case BM_GETSTATE:
      return (IsCheckBox(ButtonType(hwnd)) ? state.check : 0) | (state.pushed ? BST_PUSHED : 0) |
             (GetFocus() == hwnd ? BST_FOCUS : 0);
    case BM_SETSTATE:
      SetPushed(hwnd, state, wParam != 0);
      return 0;
    case BM_SETSTYLE: {
      // Only the type changes, so that the dialog manager can move the default-button outline.
      const DWORD style = (StyleOf(hwnd) & ~BS_TYPEMASK) | (static_cast<DWORD>(wParam) & BS_TYPEMASK);
      SetWindowLongPtr(hwnd, GWL_STYLE, static_cast<LONG_PTR>(style));
      if (LOWORD(static_cast<DWORD_PTR>(lParam))) InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    }
    case BM_CLICK:
      // As on Windows, a programmatic click is a press and release at the button's origin.
      if (!IsWindowEnabled(hwnd)) return 0;
      SendMessage(hwnd, WM_LBUTTONDOWN, 0, 0);
      SendMessage(hwnd, WM_LBUTTONUP, 0, 0);
      return 0;
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

}  // namespace

WNDPROC ButtonWindowProc() { return &ButtonProc; }

}  // namespace winui::controls
