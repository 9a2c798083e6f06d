// What every standard control does the same way: telling its parent, asking the parent for its
// colours, and keeping the font it was given.
#pragma once

#include <winui/wingdi.h>
#include <winui/winuser.h>

#include <string>

namespace winui::controls {

// WM_COMMAND to the parent with the control's ID and `code`, as every control notification travels.
void NotifyParent(HWND control, WORD code);

// Prepares `dc` with the default colours of `ctlColorMessage` (WM_CTLCOLORSTATIC, ...), then lets
// the parent change them; returns the parent's brush, or the default one when it returns none.
HBRUSH ColorsFromParent(HWND control, HDC dc, UINT ctlColorMessage);

// The font set by WM_SETFONT; until then the GUI font, which looks like a dialog's.
class ControlFont {
 public:
  HFONT Get() const;
  // Handles WM_SETFONT and WM_GETFONT; returns false for every other message.
  bool Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

 private:
  HFONT font_ = nullptr;
};

// Selects a font into a DC for the lifetime of the object.
class SelectedFont {
 public:
  SelectedFont(HDC dc, HFONT font);
  ~SelectedFont();
  SelectedFont(const SelectedFont&) = delete;
  SelectedFont& operator=(const SelectedFont&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

std::string WindowText(HWND hwnd);
DWORD StyleOf(HWND hwnd);
bool HasStyle(HWND hwnd, DWORD bits);
RECT ClientRect(HWND hwnd);
bool KeyDown(int virtualKey);

}  // namespace winui::controls
