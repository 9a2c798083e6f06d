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

// Where things are inside the one-pixel frame: the rows, and the scroll bar when not every item fits.
struct ListLayout {
  RECT rows{};
  bool scrollBar = false;
  RECT up{}, track{}, thumb{}, down{};
};

ListLayout LayoutOf(HWND list, HWND combo, const ComboState& state) {
  ListLayout layout;
  layout.rows = Inflated(ClientRect(list), -1, -1);
  const int visible = ComboVisibleItems(combo, state);
  const int count = state.items.Count();
  if (count <= visible) return layout;
  layout.scrollBar = true;
  const RECT& rows = layout.rows;
  const int width = std::min<int>(GetSystemMetrics(SM_CXVSCROLL), rows.right - rows.left);
  const int arrow = std::min<int>(width, (rows.bottom - rows.top) / 2);
  const LONG left = rows.right - width;
  layout.up = {left, rows.top, rows.right, rows.top + arrow};
  layout.down = {left, rows.bottom - arrow, rows.right, rows.bottom};
  layout.track = {left, layout.up.bottom, rows.right, layout.down.top};
  // The thumb's length shows the visible share of the items, its place the first visible item.
  const int trackLength = layout.track.bottom - layout.track.top;
  const int thumbLength = std::min(trackLength, std::max(8, trackLength * visible / count));
  const int thumbTop = layout.track.top + (trackLength - thumbLength) * state.topIndex / (count - visible);
  layout.thumb = {left, thumbTop, rows.right, thumbTop + thumbLength};
  layout.rows.right = left;
  return layout;
}

POINT PointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

int ItemAt(HWND list, HWND combo, const ComboState& state, LPARAM lParam) {
  const ListLayout layout = LayoutOf(list, combo, state);
  const POINT pt = PointOf(lParam);
  if (!PtInRect(&layout.rows, pt)) return ComboItems::kNone;
  const int index = state.topIndex + (pt.y - layout.rows.top) / ComboItemHeight(combo, state);
  return state.items.Valid(index) ? index : ComboItems::kNone;
}

void ScrollTo(HWND list, HWND combo, ComboState& state, int top) {
  const int last = std::max(0, state.items.Count() - ComboVisibleItems(combo, state));
  state.topIndex = std::clamp(top, 0, last);
  InvalidateRect(list, nullptr, FALSE);
}

// Arrows scroll by one item, the track on either side of the thumb by a page.
void ScrollBarClick(HWND list, HWND combo, ComboState& state, LPARAM lParam) {
  const ListLayout layout = LayoutOf(list, combo, state);
  const POINT pt = PointOf(lParam);
  if (!layout.scrollBar) return;
  const int page = ComboVisibleItems(combo, state);
  if (PtInRect(&layout.up, pt)) {
    ScrollTo(list, combo, state, state.topIndex - 1);
  } else if (PtInRect(&layout.down, pt)) {
    ScrollTo(list, combo, state, state.topIndex + 1);
  } else if (PtInRect(&layout.track, pt) && !PtInRect(&layout.thumb, pt)) {
    ScrollTo(list, combo, state, state.topIndex + (pt.y < layout.thumb.top ? -page : page));
  }
}

void PaintScrollBar(HDC dc, const ListLayout& layout) {
  FillCheckedDither(dc, layout.track);
  FillSysColor(dc, DrawRaisedButtonEdge(dc, layout.thumb), COLOR_BTNFACE);
  FillSysColor(dc, DrawRaisedButtonEdge(dc, layout.up), COLOR_BTNFACE);
  DrawArrow(dc, layout.up, ArrowDirection::Up, COLOR_BTNTEXT);
  FillSysColor(dc, DrawRaisedButtonEdge(dc, layout.down), COLOR_BTNFACE);
  DrawArrow(dc, layout.down, ArrowDirection::Down, COLOR_BTNTEXT);
}

bool InsideClient(HWND list, LPARAM lParam) {
  const RECT rc = ClientRect(list);
  const POINT pt = PointOf(lParam);
  return PtInRect(&rc, pt) != FALSE;
}

void Paint(HWND list, HWND combo, const ComboState& state) {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(list, &ps);
  const RECT client = ClientRect(list);
  FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME));
  const ListLayout layout = LayoutOf(list, combo, state);
  const RECT& inside = layout.rows;
  FillSysColor(dc, inside, COLOR_WINDOW);
  if (layout.scrollBar) PaintScrollBar(dc, layout);
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
    case WM_LBUTTONDBLCLK:
      if (!InsideClient(list, lParam))
        CloseDropDown(combo, *state, false);
      else
        ScrollBarClick(list, combo, *state, lParam);
      return 0;
    case WM_LBUTTONUP:
      // The release of the click that opened the list lands outside it and must not close it.
      if (ItemAt(list, combo, *state, lParam) != ComboItems::kNone) CloseDropDown(combo, *state, true);
      return 0;
    case WM_MOUSEWHEEL: {
      const int notches = static_cast<SHORT>(HIWORD(wParam)) / 120;
      ScrollTo(list, combo, *state, state->topIndex - 3 * notches);
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
