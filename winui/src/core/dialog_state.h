// What the dialog manager keeps for each dialog window.
#pragma once

#include <winui/winuser.h>

namespace winui::core {

struct DialogState {
  DLGPROC proc = nullptr;
  HFONT font = nullptr;       // the template's font; owned by the dialog
  int baseUnitX = 6;          // average character width of that font
  int baseUnitY = 13;         // its cell height
  HWND savedFocus = nullptr;  // the control to give focus back to when the dialog is reactivated
  LONG_PTR msgResult = 0;     // DWLP_MSGRESULT
  INT_PTR endResult = 0;
  UINT defaultId = IDOK;
};

}  // namespace winui::core
