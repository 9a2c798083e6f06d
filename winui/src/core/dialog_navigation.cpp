// Keyboard navigation in dialogs: tab order, groups, and the keys IsDialogMessage takes for itself.
#include "window.h"

#include <winui/controls.h>

#include <algorithm>

using namespace winui::core;

namespace winui::core {
void DialogSetFocus(HWND dialog, HWND control);
}  // namespace winui::core

namespace {

// The controls of a dialog in tab order (z-order), looking into child windows that hold controls
// of their own (WS_EX_CONTROLPARENT), as nested dialogs do.
void CollectControls(const Window* w, std::vector<Window*>* out) {
  for (Window* child : w->children) {
    if ((child->exStyle & WS_EX_CONTROLPARENT) && (child->style & WS_VISIBLE) && !(child->style & WS_DISABLED)) {
      CollectControls(child, out);
    } else {
      out->push_back(child);
    }
  }
}

bool CanTakeFocus(const Window* w) { return IsShownOnScreen(w) && !(w->style & WS_DISABLED); }

HWND ControlOf(HWND dialog, HWND hwnd) {
  // The focus may sit in a child of a control (a combo box's edit); navigation starts from the control.
  while (hwnd && GetParent(hwnd) && GetParent(hwnd) != dialog && IsChild(dialog, hwnd)) {
    Window* parent = Find(GetParent(hwnd));
    if (parent && (parent->exStyle & WS_EX_CONTROLPARENT)) break;
    hwnd = GetParent(hwnd);
  }
  return hwnd;
}

HWND ButtonWithId(HWND dialog, int id) { return GetDlgItem(dialog, id); }

void Click(HWND dialog, int id) {
  HWND button = ButtonWithId(dialog, id);
  if (button && !IsWindowEnabled(button)) {
    MessageBeep(0);
    return;
  }
  SendMessage(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

}  // namespace

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  Window* d = Find(dialog);
  if (!d) return nullptr;
  std::vector<Window*> controls;
  CollectControls(d, &controls);
  if (controls.empty()) return nullptr;
  const int n = static_cast<int>(controls.size());
  Window* from = Find(ControlOf(dialog, control));
  int start = static_cast<int>(std::find(controls.begin(), controls.end(), from) - controls.begin());
  if (start == n) start = previous ? 0 : n - 1;  // no current control: the first (or last) one
  for (int step = 1; step <= n; ++step) {
    Window* c = controls[((start + (previous ? -step : step)) % n + n) % n];
    if ((c->style & WS_TABSTOP) && CanTakeFocus(c)) return c->handle;
  }
  return control;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
  Window* d = Find(dialog);
  Window* from = Find(ControlOf(dialog, control));
  if (!d || !from) return nullptr;
  std::vector<Window*> controls;
  CollectControls(d, &controls);
  const int n = static_cast<int>(controls.size());
  const int at = static_cast<int>(std::find(controls.begin(), controls.end(), from) - controls.begin());
  if (at == n) return control;
  // The group runs from a WS_GROUP control up to the next one.
  int first = at;
  while (first > 0 && !(controls[first]->style & WS_GROUP)) --first;
  int last = at + 1;
  while (last < n && !(controls[last]->style & WS_GROUP)) ++last;
  const int size = last - first;
  for (int step = 1; step < size; ++step) {
    Window* c = controls[first + ((at - first + (previous ? -step : step)) % size + size) % size];
    if (CanTakeFocus(c)) return c->handle;
  }
  return control;
}

BOOL IsDialogMessage(HWND dialog, LPMSG msg) {
  if (!msg || !IsWindow(dialog) || (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd))) return FALSE;
  const LRESULT code =
      msg->hwnd ? SendMessage(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg)) : 0;
  if (msg->message == WM_KEYDOWN && !(code & DLGC_WANTALLKEYS)) {
    const HWND focus = GetFocus();
    switch (static_cast<int>(msg->wParam)) {
      case VK_TAB:
        if (code & DLGC_WANTTAB) break;
        DialogSetFocus(dialog, GetNextDlgTabItem(dialog, focus, (GetKeyState(VK_SHIFT) & 0x8000) != 0));
        return TRUE;
      case VK_LEFT:
      case VK_UP:
      case VK_RIGHT:
      case VK_DOWN:
        if (code & DLGC_WANTARROWS) break;
        if (focus) {
          const bool back = msg->wParam == VK_LEFT || msg->wParam == VK_UP;
          DialogSetFocus(dialog, GetNextDlgGroupItem(dialog, focus, back));
        }
        return TRUE;
      case VK_RETURN: {
        int id;
        if ((code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) && focus) {
          id = GetDlgCtrlID(focus);  // a focused push button is the one Enter presses
        } else {
          const LRESULT def = SendMessage(dialog, DM_GETDEFID, 0, 0);
          id = HIWORD(static_cast<DWORD_PTR>(def)) == DC_HASDEFID ? LOWORD(static_cast<DWORD_PTR>(def)) : IDOK;
        }
        Click(dialog, id);
        return TRUE;
      }
      case VK_ESCAPE:
        Click(dialog, IDCANCEL);
        return TRUE;
      default:
        break;
    }
  }
  if (msg->message == WM_CHAR && !(code & (DLGC_WANTALLKEYS | DLGC_WANTCHARS))) {
    // The characters of the keys taken above never reach the control.
    const char ch = static_cast<char>(msg->wParam);
    if ((ch == '\t' && !(code & DLGC_WANTTAB)) || ch == '\r' || ch == '\x1B') return TRUE;
  }
  TranslateMessage(msg);
  DispatchMessage(msg);
  return TRUE;
}
