// Modeless dialogs from templates: the dialog class, creating the dialog and its controls, and
// the default dialog procedure.
#include "dialog_state.h"
#include "dialog_units.h"
#include "input_state.h"
#include "window.h"

#include <winui/controls.h>
#include <winui/resources.h>
#include <winui/wingdi.h>

#include <strings.h>
#include <cstdio>
#include <cstdlib>

using namespace winui::core;

namespace winui::core {
namespace {

DialogState* StateOf(HWND hwnd) {
  Window* w = Find(hwnd);
  return w ? w->dialog.get() : nullptr;
}

// Answers of a dialog procedure that are the message's result themselves rather than a "handled" flag.
bool ReturnsValueDirectly(UINT message) {
  return (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) || message == WM_INITDIALOG;
}

HWND FirstTabStop(HWND dialog) { return GetNextDlgTabItem(dialog, nullptr, FALSE); }

// Windows' dialogs draw the bordered edits of a template with the sunken 3-D client edge.
void ApplyThreeDLook(DialogItemTemplate* item) {
  if ((strcasecmp(item->className.c_str(), WC_EDIT) == 0 || strcasecmp(item->className.c_str(), "ListBox") == 0) &&
      (item->style & WS_BORDER)) {
    item->style &= ~WS_BORDER;
    item->exStyle |= WS_EX_CLIENTEDGE;
  }
}

POINT DialogPosition(const DialogTemplate& t, HWND parent, SIZE windowSize, BaseUnits base) {
  RECT parentClient{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (parent && !(t.style & DS_ABSALIGN)) {
    GetClientRect(parent, &parentClient);
    MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&parentClient), 2);
  }
  if (t.style & DS_CENTER) {
    RECT area = parent ? RECT{} : RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (parent) GetWindowRect(GetAncestor(parent, GA_ROOT), &area);
    return POINT{area.left + (area.right - area.left - windowSize.cx) / 2,
                 area.top + (area.bottom - area.top - windowSize.cy) / 2};
  }
  const RECT units{t.x, t.y, 0, 0};
  const RECT px = DialogUnitsToPixels(units, base);
  return POINT{parentClient.left + px.left, parentClient.top + px.top};
}

bool CreateItems(HWND dialog, HINSTANCE instance, const DialogTemplate& t, BaseUnits base, HFONT font) {
  for (DialogItemTemplate item : t.items) {
    ApplyThreeDLook(&item);
    const RECT pos = DialogUnitsToPixels(RECT{item.x, item.y, item.cx, item.cy}, base);
    HWND control = CreateWindowEx(item.exStyle | WS_EX_NOPARENTNOTIFY, item.className.c_str(), item.text.c_str(),
                                  item.style | WS_CHILD, pos.left, pos.top, pos.right, pos.bottom, dialog,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(item.id)), instance, nullptr);
    if (!control) {
      if (t.style & DS_NOFAILCREATE) continue;
      return false;
    }
    if (font) SendMessage(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    DialogState* state = StateOf(dialog);
    if (state && state->defaultId == IDOK && (SendMessage(control, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)) {
      state->defaultId = static_cast<UINT>(item.id);
    }
  }
  return true;
}

void RegisterDialogClass() {
  WNDCLASS wc;
  wc.style = CS_DBLCLKS | CS_SAVEBITS;
  wc.lpfnWndProc = DefDlgProc;
  wc.lpszClassName = WC_DIALOG;
  RegisterClass(&wc);
}

}  // namespace

// Sets focus inside a dialog as the dialog manager does: edits get their text selected, and a
// focused push button shows itself as the default while it has the focus.
void DialogSetFocus(HWND dialog, HWND control) {
  if (!control) return;
  DialogState* state = StateOf(dialog);
  const LRESULT code = SendMessage(control, WM_GETDLGCODE, 0, 0);
  if (state) {
    HWND defaultButton = GetDlgItem(dialog, static_cast<int>(state->defaultId));
    if (code & DLGC_UNDEFPUSHBUTTON) {
      if (defaultButton && defaultButton != control) SendMessage(defaultButton, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
      SendMessage(control, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    } else if (!(code & DLGC_DEFPUSHBUTTON)) {
      HWND focus = GetFocus();
      if (focus && focus != defaultButton && (SendMessage(focus, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)) {
        SendMessage(focus, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
      }
      if (defaultButton) SendMessage(defaultButton, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    }
  }
  if (code & DLGC_HASSETSEL) SendMessage(control, EM_SETSEL, 0, -1);
  SetFocus(control);
}

}  // namespace winui::core

namespace {
const bool g_dialogClassRegistered = (RegisterDialogClass(), true);
}

HWND CreateDialogParam(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC dialogProc, LPARAM initParam) {
  const winui::DialogTemplate* found = winui::FindDialogTemplate(instance, templateName);
  if (!found) return nullptr;
  const winui::DialogTemplate t = *found;  // the table may change while the dialog is made
  HFONT font = CreateTemplateFont(t.fontFace.c_str(), t.fontPointSize, t.fontWeight, t.fontItalic);
  const BaseUnits base = MeasureBaseUnits(font);
  const RECT size = DialogUnitsToPixels(RECT{0, 0, t.cx, t.cy}, base);
  DWORD style = t.style & ~WS_VISIBLE;
  DWORD exStyle = t.exStyle | WS_EX_CONTROLPARENT;
  if (style & DS_MODALFRAME) exStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
  RECT frame{0, 0, size.right, size.bottom};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const SIZE windowSize{frame.right - frame.left, frame.bottom - frame.top};
  POINT at = (style & WS_CHILD) ? POINT{DialogUnitsToPixels(RECT{t.x, t.y, 0, 0}, base).left,
                                        DialogUnitsToPixels(RECT{t.x, t.y, 0, 0}, base).top}
                                : DialogPosition(t, parent, windowSize, base);
  HWND dialog = CreateWindowEx(exStyle, WC_DIALOG, t.caption.c_str(), style, at.x, at.y, windowSize.cx, windowSize.cy,
                               parent, nullptr, instance, nullptr);
  if (!dialog) {
    if (font) DeleteObject(font);
    return nullptr;
  }
  Window* w = Find(dialog);
  w->dialog = std::make_unique<DialogState>();
  w->dialog->proc = dialogProc;
  w->dialog->font = font;
  w->dialog->baseUnitX = base.cx;
  w->dialog->baseUnitY = base.cy;
  if (font) SendMessage(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (!CreateItems(dialog, instance, t, base, font)) {
    DestroyWindow(dialog);
    return nullptr;
  }
  HWND first = FirstTabStop(dialog);
  if (SendMessage(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), initParam) && IsWindow(dialog)) {
    if (DialogState* state = StateOf(dialog)) state->savedFocus = first;
    if (t.style & WS_VISIBLE) DialogSetFocus(dialog, first);
  }
  if (!IsWindow(dialog)) return nullptr;
  if (t.style & WS_VISIBLE) ShowWindow(dialog, SW_SHOWNORMAL);
  return dialog;
}

LRESULT DefDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  DialogState* state = StateOf(dialog);
  if (state && state->proc) {
    state->msgResult = 0;
    const INT_PTR handled = state->proc(dialog, message, wParam, lParam);
    if (!IsWindow(dialog)) return handled;
    if (handled) return ReturnsValueDirectly(message) ? handled : StateOf(dialog)->msgResult;
  }
  state = StateOf(dialog);
  switch (message) {
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      HBRUSH brush =
          reinterpret_cast<HBRUSH>(SendMessage(dialog, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(dialog)));
      RECT client;
      GetClientRect(dialog, &client);
      FillRect(dc, &client, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_SHOWWINDOW:
      if (wParam && state) {
        HWND focus = GetFocus();
        if (!focus || !IsChild(dialog, focus))
          state->savedFocus = state->savedFocus ? state->savedFocus : FirstTabStop(dialog);
      }
      return DefWindowProc(dialog, message, wParam, lParam);
    case WM_ACTIVATE:
      if (!state) break;
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(dialog, focus)) state->savedFocus = focus;
      } else {
        HWND target = IsWindow(state->savedFocus) ? state->savedFocus : FirstTabStop(dialog);
        if (target)
          DialogSetFocus(dialog, target);
        else
          SetFocus(dialog);
      }
      return 0;
    case WM_SETFOCUS:
      if (state) {
        HWND target = IsWindow(state->savedFocus) ? state->savedFocus : FirstTabStop(dialog);
        if (target) DialogSetFocus(dialog, target);
      }
      return 0;
    case WM_CLOSE: {
      HWND cancel = GetDlgItem(dialog, IDCANCEL);
      if (cancel && !IsWindowEnabled(cancel)) {
        MessageBeep(0);
        return 0;
      }
      PostMessage(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
      return 0;
    }
    case DM_GETDEFID:
      return state ? static_cast<LRESULT>(MAKELONG(static_cast<WORD>(state->defaultId), DC_HASDEFID)) : 0;
    case DM_SETDEFID:
      if (!state) return FALSE;
      if (HWND old = GetDlgItem(dialog, static_cast<int>(state->defaultId)))
        SendMessage(old, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
      state->defaultId = static_cast<UINT>(wParam);
      if (HWND next = GetDlgItem(dialog, static_cast<int>(wParam)))
        SendMessage(next, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
      return TRUE;
    case WM_NEXTDLGCTL: {
      HWND target =
          LOWORD(lParam) ? reinterpret_cast<HWND>(wParam) : GetNextDlgTabItem(dialog, GetFocus(), wParam != 0);
      DialogSetFocus(dialog, target);
      return 0;
    }
    case WM_NCDESTROY:
      if (state && state->font) {
        DeleteObject(state->font);
        state->font = nullptr;
      }
      break;
    default:
      break;
  }
  return DefWindowProc(dialog, message, wParam, lParam);
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  DialogState* state = StateOf(dialog);
  if (!state) return FALSE;
  state->endResult = result;
  return DestroyWindow(dialog);
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
  DialogState* state = StateOf(dialog);
  if (!state || !rect) return FALSE;
  *rect = DialogUnitsToPixels(*rect, BaseUnits{state->baseUnitX, state->baseUnitY});
  return TRUE;
}

LONG GetDialogBaseUnits() {
  static const BaseUnits base = MeasureBaseUnits(nullptr);
  return static_cast<LONG>(MAKELONG(static_cast<WORD>(base.cx), static_cast<WORD>(base.cy)));
}

// ---- Dialog items -------------------------------------------------------------------------------
HWND GetDlgItem(HWND dialog, int id) {
  Window* w = Find(dialog);
  if (!w) return nullptr;
  for (Window* child : w->children) {
    if (static_cast<int>(child->id) == id) return child->handle;
  }
  return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
  Window* w = Find(hwnd);
  return w && w->IsChild() ? static_cast<int>(w->id) : 0;
}

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND item = GetDlgItem(dialog, id);
  return item ? SendMessage(item, message, wParam, lParam) : 0;
}

BOOL SetDlgItemText(HWND dialog, int id, LPCSTR text) {
  HWND item = GetDlgItem(dialog, id);
  return item ? SetWindowText(item, text) : FALSE;
}

UINT GetDlgItemText(HWND dialog, int id, LPSTR buffer, int bufferSize) {
  HWND item = GetDlgItem(dialog, id);
  if (!item) {
    if (buffer && bufferSize > 0) buffer[0] = '\0';
    return 0;
  }
  return static_cast<UINT>(GetWindowText(item, buffer, bufferSize));
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
  char text[16];
  if (isSigned)
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
  else
    std::snprintf(text, sizeof text, "%u", value);
  return SetDlgItemText(dialog, id, text);
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
  char text[64];
  GetDlgItemText(dialog, id, text, sizeof text);
  char* end = nullptr;
  const long long v = std::strtoll(text, &end, 10);
  while (end && *end == ' ') ++end;
  const bool ok = end != text && end && *end == '\0' &&
                  (isSigned ? (v >= INT32_MIN && v <= INT32_MAX) : (v >= 0 && v <= UINT32_MAX));
  if (translated) *translated = ok ? TRUE : FALSE;
  return ok ? static_cast<UINT>(v) : 0;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND item = GetDlgItem(dialog, id);
  if (!item) return FALSE;
  SendMessage(item, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  return item ? static_cast<UINT>(SendMessage(item, BM_GETCHECK, 0, 0)) : 0;
}
