// What a "Button" window remembers between messages, shared by its message handling and painting.
#pragma once

#include "control_support.h"

#include <winui/controls.h>

namespace winui::controls {

struct ButtonState {
  ControlFont font;
  UINT check = BST_UNCHECKED;
  bool pushed = false;  // drawn pressed: mouse held inside, Space held, or BM_SETSTATE
  bool mouseTracking = false;
  bool spaceHeld = false;
};

DWORD ButtonType(HWND hwnd);
bool IsCheckBox(DWORD type);
bool IsPushLike(HWND hwnd);

void PaintButton(HWND hwnd, const ButtonState& state);

}  // namespace winui::controls
