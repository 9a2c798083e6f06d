// Every control in its states on one window: the documentation's picture of them.
#include "controls_fixture.h"
#include "expected_picture.h"

#include <winui/wingdi.h>

namespace {

using ControlsGallery = ControlsTest;

TEST_F(ControlsGallery, RendersEveryControlInItsStates) {
  HFONT font = reinterpret_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  int id = 500;
  auto add = [&](LPCSTR cls, LPCSTR text, DWORD style, RECT rc, DWORD exStyle = 0) {
    HWND hwnd = Make(cls, text, style, rc, ++id, exStyle);
    SendMessage(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return hwnd;
  };
  add(WC_BUTTON, "Buttons", BS_GROUPBOX, {8, 4, 204, 150});
  add(WC_BUTTON, "Push", BS_PUSHBUTTON, {16, 22, 96, 45});
  add(WC_BUTTON, "Default", BS_DEFPUSHBUTTON, {104, 22, 196, 45});
  SendMessage(add(WC_BUTTON, "Pressed", BS_PUSHBUTTON, {16, 50, 96, 73}), BM_SETSTATE, TRUE, 0);
  EnableWindow(add(WC_BUTTON, "Disabled", BS_PUSHBUTTON, {104, 50, 196, 73}), FALSE);
  SendMessage(add(WC_BUTTON, "Toggle on", BS_AUTOCHECKBOX | BS_PUSHLIKE, {16, 78, 96, 101}), BM_SETCHECK, BST_CHECKED,
              0);
  add(WC_BUTTON, "Flat", BS_PUSHBUTTON | BS_FLAT, {104, 78, 196, 101});
  SendMessage(add(WC_BUTTON, "Checked", BS_AUTOCHECKBOX, {16, 108, 96, 124}), BM_SETCHECK, BST_CHECKED, 0);
  SendMessage(add(WC_BUTTON, "Flat, left", BS_AUTOCHECKBOX | BS_FLAT | BS_LEFTTEXT | BS_RIGHT, {104, 108, 196, 124}),
              BM_SETCHECK, BST_CHECKED, 0);
  SetFocus(add(WC_BUTTON, "Focused", BS_AUTOCHECKBOX, {16, 128, 96, 144}));
  EnableWindow(add(WC_BUTTON, "Disabled", BS_AUTOCHECKBOX, {104, 128, 196, 144}), FALSE);

  add(WC_BUTTON, "Statics", BS_GROUPBOX, {212, 4, 412, 150});
  add(WC_STATIC, "Left", SS_LEFT, {220, 22, 300, 36});
  add(WC_STATIC, "Right", SS_RIGHT, {304, 22, 404, 36});
  add(WC_STATIC, "Centred, sunken", SS_CENTER | SS_CENTERIMAGE | SS_SUNKEN, {220, 42, 404, 62});
  add(WC_STATIC, "", SS_BLACKFRAME, {220, 68, 404, 84});
  EnableWindow(add(WC_STATIC, "Disabled text", SS_LEFT, {220, 90, 404, 104}), FALSE);

  add(WC_BUTTON, "Edits and combo boxes", BS_GROUPBOX, {8, 156, 412, 292});
  add(WC_EDIT, "0.950", ES_AUTOHSCROLL | ES_RIGHT, {16, 176, 96, 196}, WS_EX_CLIENTEDGE);
  HWND selected = add(WC_EDIT, "selected text", ES_AUTOHSCROLL | ES_NOHIDESEL, {104, 176, 204, 196}, WS_EX_CLIENTEDGE);
  SendMessage(selected, EM_SETSEL, 0, 8);
  add(WC_EDIT, "read-only", ES_AUTOHSCROLL | ES_READONLY, {212, 176, 300, 196}, WS_EX_CLIENTEDGE);
  EnableWindow(add(WC_EDIT, "disabled", ES_AUTOHSCROLL, {308, 176, 404, 196}, WS_EX_CLIENTEDGE), FALSE);
  HWND combo = add(WC_COMBOBOX, "", CBS_DROPDOWNLIST | CBS_SORT, {16, 206, 200, 300});
  HWND open = add(WC_COMBOBOX, "", CBS_DROPDOWNLIST | CBS_SORT, {212, 206, 404, 300});
  for (const char* name : {"Rainbow", "Grey", "Iron", "Blue-red", "Hot metal"}) {
    SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessage(open, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  }
  // More than fit, so that the open list shows its scroll bar.
  for (const char* name : {"Ocean", "Sepia", "Viridis"}) {
    SendMessage(open, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  }
  SendMessage(combo, CB_SETCURSEL, 2, 0);
  SendMessage(open, CB_SETCURSEL, 0, 0);
  SetFocus(combo);
  SendMessage(open, CB_SHOWDROPDOWN, TRUE, 0);

  const winui::Surface& screen = winui::ComposeScreen();
  winui::Surface picture(420, 330);
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) picture.At(x, y) = screen.At(kParentX + x, kParentY + y);
  expected_picture::ExpectMatchesDocsPicture(picture, "winui-controls.png");
  SendMessage(open, CB_SHOWDROPDOWN, FALSE, 0);
}

}  // namespace
