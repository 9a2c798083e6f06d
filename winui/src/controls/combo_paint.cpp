// Painting of a closed drop-down-list combo box: sunken field, selected text, drop button.
#include "classic_draw.h"
#include "combo_state.h"

#include <algorithm>

namespace winui::controls {

void PaintComboBox(HWND combo, const ComboState& state) {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(combo, &ps);
  const bool enabled = IsWindowEnabled(combo) != FALSE;
  const RECT inside = DrawSunkenClientEdge(dc, ClientRect(combo));
  FillSysColor(dc, inside, enabled ? COLOR_WINDOW : COLOR_BTNFACE);

  RECT button = inside;
  button.left = std::max<LONG>(inside.left, inside.right - GetSystemMetrics(SM_CXVSCROLL));
  RECT arrowArea = button;
  if (state.dropped) {
    FillSysColor(dc, button, COLOR_BTNFACE);
    FrameRect(dc, &button, GetSysColorBrush(COLOR_BTNSHADOW));
    OffsetRect(&arrowArea, 1, 1);
  } else {
    FillSysColor(dc, DrawRaisedButtonEdge(dc, button), COLOR_BTNFACE);
  }
  DrawArrow(dc, arrowArea, ArrowDirection::Down, enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);

  // The selected text sits in a one-pixel inset that turns into the highlight while focused.
  RECT field{inside.left + 1, inside.top + 1, button.left - 1, inside.bottom - 1};
  const bool showFocus = state.focused && !state.dropped && enabled;
  if (showFocus) FillSysColor(dc, field, COLOR_HIGHLIGHT);
  const int selected = state.items.Selected();
  if (state.items.Valid(selected)) {
    SelectedFont font(dc, state.font.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(!enabled ? COLOR_GRAYTEXT : showFocus ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT textRect = field;
    textRect.left += 2;
    const std::string& text = state.items.Text(selected);
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
             DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if (showFocus) DrawFocusRect(dc, &field);
  EndPaint(combo, &ps);
}

}  // namespace winui::controls
