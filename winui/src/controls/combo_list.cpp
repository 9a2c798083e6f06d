// "ComboLBox": the drop-down list of a combo box, a popup that highlights under the mouse and
// closes on a choice or on a click anywhere else.
#include "classic_draw.h"
#include "combo_state.h"
#include "control_classes.h"
#include "control_state.h"

#include <winui/controls.h>

#include <algorithm>

namespace winui::controls {
namespace {

constexpr int kTextIndent = 2;

struct ComboListState {
  HWND combo = nullptr;
};

ComboState* OwnerState(HWND list, HWND* combo) {
  *combo = StateOf<ComboListState>(list).combo;
  return *combo ? FindState<ComboState>(*combo) : nullptr;
}

int ItemAt(HWND list, HWND combo, const ComboState& state, LPARAM lParam) {
  const RECT rc = ClientRect(list);
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  if (x < rc.left || x >= rc.right || y < rc.top + 1 || y >= rc.bottom - 1) return ComboItems::kNone;
  const int index = state.topIndex + (y - 1) / ComboItemHeight(combo, state);
  return state.items.Valid(index) ? index : ComboItems::kNone;
}

bool InsideClient(HWND list, LPARAM lParam) {
  const RECT rc = ClientRect(list);
  const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  return PtInRect(&rc, pt) != FALSE;
}

void Paint(HWND list, HWND combo, const ComboState& state) {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(list, &ps);
  const RECT client = ClientRect(list);
  FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME));
  const RECT inside = Inflated(client, -1, -1);
  FillSysColor(dc, inside, COLOR_WINDOW);
  {
    SelectedFont font(dc, state.font.Get());
    SetBkMode(dc, TRANSPARENT);
    const int height = ComboItemHeight(combo, state);
    for (int index = state.topIndex, top = inside.top; index < state.items.Count() && top < inside.bottom;
         ++index, top += height) {
      RECT row{inside.left, top, inside.right, top + height};
      const bool highlighted = index == state.highlighted;
      if (highlighted) FillSysColor(dc, row, COLOR_HIGHLIGHT);
      SetTextColor(dc, GetSysColor(highlighted ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
      row.left += kTextIndent;
      const std::string& text = state.items.Text(index);
      DrawText(dc, text.c_str(), static_cast<int>(text.size()), &row,
               DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
  }
  EndPaint(list, &ps);
}

LRESULT ComboListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    StateOf<ComboListState>(list).combo =
        static_cast<HWND>(reinterpret_cast<const CREATESTRUCT*>(lParam)->lpCreateParams);
    return 0;
  }
  if (message == WM_NCDESTROY) {
    FreeState<ComboListState>(list);
    return DefWindowProc(list, message, wParam, lParam);
  }
  HWND combo = nullptr;
  ComboState* state = OwnerState(list, &combo);
  if (!state) return DefWindowProc(list, message, wParam, lParam);
  switch (message) {
    case WM_PAINT:
      Paint(list, combo, *state);
      return 0;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_MOUSEMOVE: {
      const int index = ItemAt(list, combo, *state, lParam);
      if (index != ComboItems::kNone) HighlightItem(combo, *state, index);
      return 0;
    }
    case WM_LBUTTONDOWN:
      if (!InsideClient(list, lParam)) CloseDropDown(combo, *state, false);
      return 0;
    case WM_LBUTTONUP:
      // The release of the click that opened the list lands outside it and must not close it.
      if (ItemAt(list, combo, *state, lParam) != ComboItems::kNone) CloseDropDown(combo, *state, true);
      return 0;
    case WM_MOUSEWHEEL: {
      const int notches = static_cast<SHORT>(HIWORD(wParam)) / 120;
      const int last = std::max(0, state->items.Count() - ComboVisibleItems(combo, *state));
      state->topIndex = std::clamp(state->topIndex - 3 * notches, 0, last);
      InvalidateRect(list, nullptr, FALSE);
      return 0;
    }
    case WM_CAPTURECHANGED:
      // Capture taken by someone else (a message box, another window) ends the choice.
      if (reinterpret_cast<HWND>(lParam) != list) CloseDropDown(combo, *state, false);
      return 0;
    default:
      return DefWindowProc(list, message, wParam, lParam);
  }
}

}  // namespace

int ComboItemHeight(HWND combo, const ComboState& state) {
  HDC dc = GetDC(combo);
  TEXTMETRIC tm{};
  {
    SelectedFont font(dc, state.font.Get());
    GetTextMetrics(dc, &tm);
  }
  ReleaseDC(combo, dc);
  return tm.tmHeight > 0 ? tm.tmHeight : 1;
}

WNDPROC ComboListWindowProc() { return &ComboListProc; }

}  // namespace winui::controls
