// "ComboBox" of the drop-down-list kind: the item messages, the keyboard and the mouse.
#include "combo_state.h"
#include "control_classes.h"
#include "control_state.h"

#include <winui/controls.h>

#include <algorithm>
#include <cstring>

namespace winui::controls {
namespace {

constexpr int kFieldPadding = 8;  // two-pixel edge and the selection inset, above and below

std::string StringArgument(LPARAM lParam) {
  const auto* text = reinterpret_cast<const char*>(lParam);
  return text ? std::string(text) : std::string();
}

// The template's height is the open height; the box itself is as tall as one line of its font.
void FitFieldHeight(HWND combo, ComboState& state) {
  RECT rc{};
  GetWindowRect(combo, &rc);
  const int field = ComboItemHeight(combo, state) + kFieldPadding;
  if (rc.bottom - rc.top == field) return;
  state.droppedHeight = rc.bottom - rc.top;
  SetWindowPos(combo, nullptr, 0, 0, rc.right - rc.left, field, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SelectByUser(HWND combo, ComboState& state, int index) {
  if (!state.items.Valid(index)) return;
  if (state.items.Select(index)) {
    InvalidateRect(combo, nullptr, FALSE);
    NotifyParent(combo, CBN_SELCHANGE);
  }
}

// Arrow keys move the selection while the list is closed and the highlight while it is open.
void MoveBy(HWND combo, ComboState& state, int target) {
  const int last = state.items.Count() - 1;
  if (last < 0) return;
  target = std::clamp(target, 0, last);
  if (state.dropped)
    HighlightItem(combo, state, target);
  else
    SelectByUser(combo, state, target);
}

void ToggleDropDown(HWND combo, ComboState& state) {
  if (state.dropped)
    CloseDropDown(combo, state, true);
  else
    OpenDropDown(combo, state);
}

void OnKeyDown(HWND combo, ComboState& state, WPARAM key, bool alt) {
  const int current = state.dropped ? state.highlighted : state.items.Selected();
  const int page = ComboVisibleItems(combo, state);
  if (key == VK_F4 || (alt && (key == VK_DOWN || key == VK_UP))) {
    ToggleDropDown(combo, state);
    return;
  }
  switch (key) {
    case VK_UP:
    case VK_LEFT:
      MoveBy(combo, state, current < 0 ? 0 : current - 1);
      return;
    case VK_DOWN:
    case VK_RIGHT:
      MoveBy(combo, state, current + 1);
      return;
    case VK_PRIOR:
      MoveBy(combo, state, current - (page - 1));
      return;
    case VK_NEXT:
      MoveBy(combo, state, current + (page - 1));
      return;
    case VK_HOME:
      MoveBy(combo, state, 0);
      return;
    case VK_END:
      MoveBy(combo, state, state.items.Count() - 1);
      return;
    case VK_RETURN:
      CloseDropDown(combo, state, true);
      return;
    case VK_ESCAPE:
      CloseDropDown(combo, state, false);
      return;
    default:
      return;
  }
}

// A typed character jumps to the next item that begins with it.
void OnChar(HWND combo, ComboState& state, char c) {
  if (static_cast<unsigned char>(c) < 0x20) return;
  const int from = state.dropped ? state.highlighted : state.items.Selected();
  const int found = state.items.FindPrefix(from, std::string_view(&c, 1));
  if (found != ComboItems::kNone) MoveBy(combo, state, found);
}

LRESULT CopyItemText(const ComboState& state, int index, LPARAM buffer) {
  if (!state.items.Valid(index) || !buffer) return CB_ERR;
  const std::string& text = state.items.Text(index);
  std::memcpy(reinterpret_cast<char*>(buffer), text.c_str(), text.size() + 1);
  return static_cast<LRESULT>(text.size());
}

LRESULT DialogCode(const ComboState& state, LPARAM lParam) {
  LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
  // While open, Enter and Esc belong to the list, not to the dialog's default and cancel buttons.
  const auto* msg = reinterpret_cast<const MSG*>(lParam);
  if (state.dropped && msg && msg->message == WM_KEYDOWN &&
      (msg->wParam == static_cast<WPARAM>(VK_RETURN) || msg->wParam == static_cast<WPARAM>(VK_ESCAPE))) {
    code |= DLGC_WANTMESSAGE;
  }
  return code;
}

LRESULT ItemMessage(HWND combo, ComboState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  ComboItems& items = state.items;
  const int index = static_cast<int>(static_cast<INT_PTR>(wParam));
  const auto changed = [&](LRESULT result) {
    InvalidateRect(combo, nullptr, FALSE);
    if (state.list) InvalidateRect(state.list, nullptr, FALSE);
    return result;
  };
  switch (message) {
    case CB_ADDSTRING:
      return changed(items.Add(StringArgument(lParam), HasStyle(combo, CBS_SORT)));
    case CB_INSERTSTRING: {
      const int at = items.Insert(index, StringArgument(lParam));
      return at == ComboItems::kNone ? CB_ERR : changed(at);
    }
    case CB_DELETESTRING:
      if (!items.Valid(index)) return CB_ERR;
      items.Remove(index);
      return changed(items.Count());
    case CB_RESETCONTENT:
      CloseDropDown(combo, state, false);
      items.Clear();
      return changed(CB_OKAY);
    case CB_GETCOUNT:
      return items.Count();
    case CB_GETCURSEL:
      return items.Selected();
    case CB_SETCURSEL:
      items.Select(index);
      changed(0);
      return items.Valid(index) ? index : CB_ERR;
    case CB_GETLBTEXT:
      return CopyItemText(state, index, lParam);
    case CB_GETLBTEXTLEN:
      return items.Valid(index) ? static_cast<LRESULT>(items.Text(index).size()) : CB_ERR;
    case CB_GETITEMDATA:
      return items.Valid(index) ? items.Data(index) : CB_ERR;
    case CB_SETITEMDATA:
      if (!items.Valid(index)) return CB_ERR;
      items.SetData(index, lParam);
      return TRUE;
    case CB_FINDSTRINGEXACT:
      return items.FindExact(index, StringArgument(lParam));
    case CB_FINDSTRING:
      return items.FindPrefix(index, StringArgument(lParam));
    case CB_SELECTSTRING: {
      const int found = items.FindPrefix(index, StringArgument(lParam));
      if (found == ComboItems::kNone) return CB_ERR;
      items.Select(found);
      return changed(found);
    }
    default:
      return CB_ERR;
  }
}

LRESULT ComboProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam) {
  ComboState& state = StateOf<ComboState>(combo);
  LRESULT result = 0;
  if (state.font.Handle(combo, message, wParam, lParam, &result)) {
    if (message == WM_SETFONT) FitFieldHeight(combo, state);
    return result;
  }
  if (message >= CB_ADDSTRING && message <= CB_FINDSTRINGEXACT && message != CB_SHOWDROPDOWN &&
      message != CB_GETITEMHEIGHT && message != CB_GETDROPPEDSTATE) {
    return ItemMessage(combo, state, message, wParam, lParam);
  }
  switch (message) {
    case WM_CREATE:
    case WM_SIZE:
      FitFieldHeight(combo, state);
      return 0;
    case WM_DESTROY:
      if (state.list) DestroyWindow(state.list);
      state.list = nullptr;
      return 0;
    case WM_NCDESTROY:
      FreeState<ComboState>(combo);
      return DefWindowProc(combo, message, wParam, lParam);
    case WM_PAINT:
      PaintComboBox(combo, state);
      return 0;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (GetFocus() != combo) SetFocus(combo);
      ToggleDropDown(combo, state);
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(combo, state, wParam, KeyDown(VK_MENU));
      return 0;
    case WM_SYSKEYDOWN:
      if (wParam == static_cast<WPARAM>(VK_DOWN) || wParam == static_cast<WPARAM>(VK_UP)) {
        OnKeyDown(combo, state, wParam, true);
        return 0;
      }
      return DefWindowProc(combo, message, wParam, lParam);
    case WM_CHAR:
      OnChar(combo, state, static_cast<char>(wParam));
      return 0;
    case WM_SETFOCUS:
      state.focused = true;
      InvalidateRect(combo, nullptr, FALSE);
      NotifyParent(combo, CBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      CloseDropDown(combo, state, false);
      state.focused = false;
      InvalidateRect(combo, nullptr, FALSE);
      NotifyParent(combo, CBN_KILLFOCUS);
      return 0;
    case WM_ENABLE:
      InvalidateRect(combo, nullptr, FALSE);
      return 0;
    case WM_GETDLGCODE:
      return DialogCode(state, lParam);
    case WM_GETTEXT: {
      const int selected = state.items.Selected();
      const std::string text = state.items.Valid(selected) ? state.items.Text(selected) : std::string();
      auto* out = reinterpret_cast<char*>(lParam);
      if (!out || wParam == 0) return 0;
      const std::size_t copied = std::min<std::size_t>(text.size(), wParam - 1);
      std::memcpy(out, text.data(), copied);
      out[copied] = '\0';
      return static_cast<LRESULT>(copied);
    }
    case WM_GETTEXTLENGTH: {
      const int selected = state.items.Selected();
      return state.items.Valid(selected) ? static_cast<LRESULT>(state.items.Text(selected).size()) : 0;
    }
    case WM_SETTEXT: {
      // A drop-down list can only show one of its items.
      const int found = state.items.FindExact(ComboItems::kNone, StringArgument(lParam));
      if (found == ComboItems::kNone) return CB_ERR;
      state.items.Select(found);
      InvalidateRect(combo, nullptr, FALSE);
      return TRUE;
    }
    case CB_SHOWDROPDOWN:
      if (wParam)
        OpenDropDown(combo, state);
      else
        CloseDropDown(combo, state, false);
      return TRUE;
    case CB_GETDROPPEDSTATE:
      return state.dropped ? TRUE : FALSE;
    case CB_GETITEMHEIGHT:
      return ComboItemHeight(combo, state);
    default:
      return DefWindowProc(combo, message, wParam, lParam);
  }
}

}  // namespace

WNDPROC ComboBoxWindowProc() { return &ComboProc; }

}  // namespace winui::controls
