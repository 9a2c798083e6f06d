// What a "ComboBox" (drop-down list) remembers, shared by the box and its drop-down "ComboLBox".
#pragma once

#include "combo_items.h"
#include "control_support.h"

namespace winui::controls {

struct ComboState {
  ControlFont font;
  ComboItems items;
  HWND list = nullptr;  // the drop-down popup, made on first use
  bool dropped = false;
  bool focused = false;
  int highlighted = ComboItems::kNone;  // the item under the mouse or the arrow keys while dropped
  int topIndex = 0;                     // first item shown in the drop-down
  int droppedHeight = 0;                // window height asked for at creation: box plus list
};

int ComboItemHeight(HWND combo, const ComboState& state);
// How many items the drop-down shows at once.
int ComboVisibleItems(HWND combo, const ComboState& state);

void OpenDropDown(HWND combo, ComboState& state);
// `accept`: the highlighted item becomes the selection (a click, Enter, F4); otherwise it stays.
void CloseDropDown(HWND combo, ComboState& state, bool accept);
// Moves the drop-down's highlight, scrolling it into view.
void HighlightItem(HWND combo, ComboState& state, int index);

void PaintComboBox(HWND combo, const ComboState& state);

}  // namespace winui::controls
