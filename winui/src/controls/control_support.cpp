#include "control_support.h"

namespace winui::controls {

void NotifyParent(HWND control, WORD code) {
  HWND parent = GetParent(control);
  if (!parent) return;
  const WORD id = static_cast<WORD>(GetDlgCtrlID(control));
  SendMessage(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

namespace {

struct DefaultColors {
  int text;
  int background;
};

DefaultColors DefaultsFor(UINT ctlColorMessage) {
  if (ctlColorMessage == WM_CTLCOLOREDIT || ctlColorMessage == WM_CTLCOLORLISTBOX) {
    return {COLOR_WINDOWTEXT, COLOR_WINDOW};
  }
  return {COLOR_BTNTEXT, COLOR_BTNFACE};
}

}  // namespace

HBRUSH ColorsFromParent(HWND control, HDC dc, UINT ctlColorMessage) {
  const DefaultColors defaults = DefaultsFor(ctlColorMessage);
  SetTextColor(dc, GetSysColor(defaults.text));
  SetBkColor(dc, GetSysColor(defaults.background));
  SetBkMode(dc, OPAQUE);
  HWND parent = GetParent(control);
  HBRUSH brush = nullptr;
  if (parent) {
    brush = reinterpret_cast<HBRUSH>(
        SendMessage(parent, ctlColorMessage, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
  }
  if (brush) return brush;
  // A parent that leaves the message unhandled must not leave half-changed colours behind.
  SetTextColor(dc, GetSysColor(defaults.text));
  SetBkColor(dc, GetSysColor(defaults.background));
  return GetSysColorBrush(defaults.background);
}

HFONT ControlFont::Get() const { return font_ ? font_ : reinterpret_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

bool ControlFont::Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_SETFONT) {
    font_ = reinterpret_cast<HFONT>(wParam);
    if (LOWORD(static_cast<DWORD_PTR>(lParam))) InvalidateRect(hwnd, nullptr, TRUE);
    *result = 0;
    return true;
  }
  if (message == WM_GETFONT) {
    *result = reinterpret_cast<LRESULT>(font_);
    return true;
  }
  return false;
}

SelectedFont::SelectedFont(HDC dc, HFONT font) : dc_(dc), previous_(SelectObject(dc, font)) {}

SelectedFont::~SelectedFont() { SelectObject(dc_, previous_); }

std::string WindowText(HWND hwnd) {
  const int length = GetWindowTextLength(hwnd);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowText(hwnd, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE)); }

bool HasStyle(HWND hwnd, DWORD bits) { return (StyleOf(hwnd) & bits) == bits; }

RECT ClientRect(HWND hwnd) {
  RECT rc{};
  GetClientRect(hwnd, &rc);
  return rc;
}

bool KeyDown(int virtualKey) { return GetKeyState(virtualKey) < 0; }

}  // namespace winui::controls
