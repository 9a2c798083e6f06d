// Opening and closing the drop-down list of a combo box, and where it goes on the screen.
#include "combo_state.h"
#include "control_classes.h"

#include <winui/controls.h>

#include <algorithm>

namespace winui::controls {
namespace {

constexpr int kListBorder = 1;

HWND ListWindow(HWND combo, ComboState& state) {
  if (!state.list) {
    // A popup rather than a child so that it can reach past the dialog's edge.
    state.list = CreateWindowEx(0, WC_COMBOLBOX, "", WS_POPUP, 0, 0, 0, 0, combo, nullptr,
                                reinterpret_cast<HINSTANCE>(GetWindowLongPtr(combo, GWLP_HINSTANCE)), combo);
  }
  return state.list;
}

RECT DropDownRect(HWND combo, const ComboState& state) {
  RECT box{};
  GetWindowRect(combo, &box);
  const int shown = std::max(1, std::min(state.items.Count(), ComboVisibleItems(combo, state)));
  const int height = shown * ComboItemHeight(combo, state) + 2 * kListBorder;
  RECT rc{box.left, box.bottom, box.right, box.bottom + height};
  // Open upwards when there is no room below, as Windows does near the bottom of the screen.
  if (rc.bottom > GetSystemMetrics(SM_CYSCREEN) && box.top - height >= 0) {
    rc.top = box.top - height;
    rc.bottom = box.top;
  }
  return rc;
}

}  // namespace

int ComboVisibleItems(HWND combo, const ComboState& state) {
  RECT box{};
  GetWindowRect(combo, &box);
  const int room = state.droppedHeight - (box.bottom - box.top) - 2 * kListBorder;
  return std::max(1, room / ComboItemHeight(combo, state));
}

void HighlightItem(HWND combo, ComboState& state, int index) {
  if (!state.items.Valid(index)) return;
  const int visible = ComboVisibleItems(combo, state);
  if (index < state.topIndex) state.topIndex = index;
  if (index >= state.topIndex + visible) state.topIndex = index - visible + 1;
  if (state.highlighted == index) return;
  state.highlighted = index;
  if (state.list) InvalidateRect(state.list, nullptr, FALSE);
}

void OpenDropDown(HWND combo, ComboState& state) {
  if (state.dropped) return;
  // Told first, so that the parent can still fill the list.
  NotifyParent(combo, CBN_DROPDOWN);
  HWND list = ListWindow(combo, state);
  if (!list) return;
  state.dropped = true;
  state.highlighted = ComboItems::kNone;
  state.topIndex = 0;
  HighlightItem(combo, state, state.items.Selected());
  const RECT rc = DropDownRect(combo, state);
  SetWindowPos(list, HWND_TOPMOST, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(list, nullptr, FALSE);
  // Every click goes to the list while it is open, so that a click elsewhere can close it.
  SetCapture(list);
  InvalidateRect(combo, nullptr, FALSE);
}

void CloseDropDown(HWND combo, ComboState& state, bool accept) {
  if (!state.dropped) return;
  state.dropped = false;
  ShowWindow(state.list, SW_HIDE);
  if (GetCapture() == state.list) ReleaseCapture();
  InvalidateRect(combo, nullptr, FALSE);
  if (accept && state.items.Valid(state.highlighted) && state.items.Select(state.highlighted)) {
    NotifyParent(combo, CBN_SELCHANGE);
  }
  NotifyParent(combo, accept ? CBN_SELENDOK : CBN_SELENDCANCEL);
  NotifyParent(combo, CBN_CLOSEUP);
}

}  // namespace winui::controls
