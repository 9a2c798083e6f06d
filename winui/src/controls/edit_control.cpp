// "Edit" (single line): typing, caret movement, selection, the clipboard and notifications.
#include "clipboard.h"
#include "control_classes.h"
#include "control_state.h"
#include "edit_state.h"

#include <winui/controls.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace winui::controls {
namespace {

constexpr char kCtrlA = 0x01;
constexpr char kCtrlC = 0x03;
constexpr char kBackspace = 0x08;
constexpr char kCtrlV = 0x16;
constexpr char kCtrlX = 0x18;

void Redraw(HWND hwnd, EditState& state) {
  EditScrollToCaret(hwnd, state);
  InvalidateRect(hwnd, nullptr, FALSE);
}

void TextChanged(HWND hwnd, EditState& state) {
  state.modified = true;
  Redraw(hwnd, state);
  NotifyParent(hwnd, EN_UPDATE);
  NotifyParent(hwnd, EN_CHANGE);
}

bool ReadOnly(HWND hwnd) { return HasStyle(hwnd, ES_READONLY); }

// Without ES_AUTOHSCROLL an edit takes only what it can show.
bool Fits(HWND hwnd, const EditState& state, const EditBuffer& candidate) {
  if (HasStyle(hwnd, ES_AUTOHSCROLL)) return true;
  const RECT format = EditFormatRect(hwnd);
  return EditTextWidth(hwnd, state, candidate.Text()) < format.right - format.left;
}

// Typing and pasting go through here; programmatic EM_REPLACESEL skips the width check.
void InsertByUser(HWND hwnd, EditState& state, std::string_view text) {
  EditBuffer candidate = state.buffer;
  const bool complete = candidate.ReplaceSelection(text, state.limit);
  if (!Fits(hwnd, state, candidate)) {
    MessageBeep(0);
    return;
  }
  const bool changed = candidate.Text() != state.buffer.Text();
  state.buffer = std::move(candidate);
  if (changed)
    TextChanged(hwnd, state);
  else
    Redraw(hwnd, state);
  if (!complete) NotifyParent(hwnd, EN_MAXTEXT);
}

std::string FilteredTyping(HWND hwnd, char typed) {
  const DWORD style = StyleOf(hwnd);
  const auto c = static_cast<unsigned char>(typed);
  if ((style & ES_NUMBER) && !std::isdigit(c)) return {};
  if (style & ES_UPPERCASE) return std::string(1, static_cast<char>(std::toupper(c)));
  if (style & ES_LOWERCASE) return std::string(1, static_cast<char>(std::tolower(c)));
  return std::string(1, typed);
}

void Copy(const EditState& state) {
  if (state.buffer.HasSelection()) SetClipboardText(state.buffer.SelectedText());
}

void Cut(HWND hwnd, EditState& state) {
  if (ReadOnly(hwnd) || !state.buffer.HasSelection()) return;
  Copy(state);
  state.buffer.ReplaceSelection({}, state.limit);
  TextChanged(hwnd, state);
}

void Paste(HWND hwnd, EditState& state) {
  if (ReadOnly(hwnd)) return;
  std::string text = ClipboardText();
  // A single-line edit keeps only the first line of what is pasted.
  text = text.substr(0, text.find_first_of("\r\n"));
  InsertByUser(hwnd, state, text);
}

void Erase(HWND hwnd, EditState& state, bool forward) {
  if (ReadOnly(hwnd)) return;
  if (forward ? state.buffer.EraseForward() : state.buffer.EraseBackward()) TextChanged(hwnd, state);
}

void OnChar(HWND hwnd, EditState& state, char c) {
  switch (c) {
    case kCtrlA:
      state.buffer.Select(0, state.buffer.Size());
      Redraw(hwnd, state);
      return;
    case kCtrlC:
      Copy(state);
      return;
    case kCtrlX:
      Cut(hwnd, state);
      return;
    case kCtrlV:
      Paste(hwnd, state);
      return;
    case kBackspace:
      Erase(hwnd, state, false);
      return;
    default:
      break;
  }
  if (static_cast<unsigned char>(c) < 0x20 || ReadOnly(hwnd)) return;
  const std::string typed = FilteredTyping(hwnd, c);
  if (typed.empty()) {
    MessageBeep(0);
    return;
  }
  InsertByUser(hwnd, state, typed);
}

void MoveCaret(HWND hwnd, EditState& state, std::size_t to, bool extendSelection) {
  state.buffer.MoveCaret(to, extendSelection);
  Redraw(hwnd, state);
}

void OnKeyDown(HWND hwnd, EditState& state, WPARAM key) {
  const EditBuffer& b = state.buffer;
  const bool ctrl = KeyDown(VK_CONTROL);
  const bool shift = KeyDown(VK_SHIFT);
  switch (key) {
    case VK_LEFT: {
      // Without Shift, Left on a selection collapses it to its start, as Windows does.
      std::size_t to = b.Caret() > 0 ? b.Caret() - 1 : 0;
      if (ctrl)
        to = b.PreviousWordStart(b.Caret());
      else if (!shift && b.HasSelection())
        to = b.SelectionStart();
      MoveCaret(hwnd, state, to, shift);
      return;
    }
    case VK_RIGHT: {
      std::size_t to = b.Caret() + 1;
      if (ctrl)
        to = b.NextWordStart(b.Caret());
      else if (!shift && b.HasSelection())
        to = b.SelectionEnd();
      MoveCaret(hwnd, state, to, shift);
      return;
    }
    case VK_HOME:
      MoveCaret(hwnd, state, 0, shift);
      return;
    case VK_END:
      MoveCaret(hwnd, state, b.Size(), shift);
      return;
    case VK_DELETE:
      if (shift)
        Cut(hwnd, state);
      else
        Erase(hwnd, state, true);
      return;
    case VK_INSERT:
      if (ctrl)
        Copy(state);
      else if (shift)
        Paste(hwnd, state);
      return;
    default:
      return;
  }
}

// EM_SETSEL: a start of -1 drops the selection, an end of -1 (or any negative) means the end.
void SetSelection(HWND hwnd, EditState& state, WPARAM wParam, LPARAM lParam) {
  const auto start = static_cast<INT_PTR>(wParam);
  const std::size_t size = state.buffer.Size();
  if (start == -1) {
    state.buffer.MoveCaret(state.buffer.Caret(), false);
  } else {
    const std::size_t end = lParam < 0 ? size : static_cast<std::size_t>(lParam);
    state.buffer.Select(start < 0 ? size : static_cast<std::size_t>(start), end);
  }
  Redraw(hwnd, state);
}

LRESULT GetSelection(const EditState& state, WPARAM wParam, LPARAM lParam) {
  const auto start = static_cast<DWORD>(state.buffer.SelectionStart());
  const auto end = static_cast<DWORD>(state.buffer.SelectionEnd());
  if (auto* out = reinterpret_cast<DWORD*>(wParam)) *out = start;
  if (auto* out = reinterpret_cast<DWORD*>(lParam)) *out = end;
  if (start > 0xFFFF || end > 0xFFFF) return -1;
  return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(start), static_cast<WORD>(end)));
}

LRESULT CopyText(const std::string& text, WPARAM capacity, LPARAM buffer) {
  auto* out = reinterpret_cast<char*>(buffer);
  if (!out || capacity == 0) return 0;
  const std::size_t copied = std::min<std::size_t>(text.size(), capacity - 1);
  std::memcpy(out, text.data(), copied);
  out[copied] = '\0';
  return static_cast<LRESULT>(copied);
}

void OnMouseDown(HWND hwnd, EditState& state, LPARAM lParam, bool doubleClick) {
  if (GetFocus() != hwnd) SetFocus(hwnd);
  const std::size_t at = EditHitTest(hwnd, state, GET_X_LPARAM(lParam));
  if (doubleClick) {
    state.buffer.Select(state.buffer.PreviousWordStart(state.buffer.WordEnd(at)), state.buffer.WordEnd(at));
  } else {
    state.buffer.MoveCaret(at, KeyDown(VK_SHIFT));
  }
  state.mouseSelecting = true;
  SetCapture(hwnd);
  Redraw(hwnd, state);
}

LRESULT EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  EditState& state = StateOf<EditState>(hwnd);
  LRESULT result = 0;
  if (state.font.Handle(hwnd, message, wParam, lParam, &result)) return result;
  switch (message) {
    case WM_CREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCT*>(lParam);
      if (create->lpszName && !IS_INTRESOURCE(create->lpszName)) state.buffer.SetText(create->lpszName);
      return 0;
    }
    case WM_NCDESTROY:
      FreeState<EditState>(hwnd);
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_PAINT:
      PaintEdit(hwnd, state);
      return 0;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_SIZE:
      Redraw(hwnd, state);
      return 0;
    case WM_SETTEXT: {
      const auto* text = reinterpret_cast<const char*>(lParam);
      state.buffer.SetText(text ? text : "");
      state.scroll = 0;
      state.modified = false;
      Redraw(hwnd, state);
      NotifyParent(hwnd, EN_UPDATE);
      NotifyParent(hwnd, EN_CHANGE);
      return TRUE;
    }
    case WM_GETTEXT:
      return CopyText(state.buffer.Text(), wParam, lParam);
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(state.buffer.Size());
    case WM_CHAR:
      OnChar(hwnd, state, static_cast<char>(wParam));
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(hwnd, state, wParam);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnMouseDown(hwnd, state, lParam, message == WM_LBUTTONDBLCLK);
      return 0;
    case WM_MOUSEMOVE:
      if (state.mouseSelecting) MoveCaret(hwnd, state, EditHitTest(hwnd, state, GET_X_LPARAM(lParam)), true);
      return 0;
    case WM_LBUTTONUP:
      if (state.mouseSelecting) {
        state.mouseSelecting = false;
        ReleaseCapture();
      }
      return 0;
    case WM_CAPTURECHANGED:
      state.mouseSelecting = false;
      return 0;
    case WM_SETFOCUS:
      state.focused = true;
      Redraw(hwnd, state);
      NotifyParent(hwnd, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      state.focused = false;
      Redraw(hwnd, state);
      NotifyParent(hwnd, EN_KILLFOCUS);
      return 0;
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    case EM_GETSEL:
      return GetSelection(state, wParam, lParam);
    case EM_SETSEL:
      SetSelection(hwnd, state, wParam, lParam);
      return 0;
    case EM_REPLACESEL: {
      const auto* text = reinterpret_cast<const char*>(lParam);
      if (!state.buffer.ReplaceSelection(text ? text : "", state.limit)) NotifyParent(hwnd, EN_MAXTEXT);
      TextChanged(hwnd, state);
      return 0;
    }
    case EM_LIMITTEXT:
      state.limit = wParam == 0 || wParam > kLargestEditLimit ? kLargestEditLimit : static_cast<std::size_t>(wParam);
      return 0;
    case EM_GETLIMITTEXT:
      return static_cast<LRESULT>(state.limit);
    case EM_GETMODIFY:
      return state.modified ? TRUE : FALSE;
    case EM_SETMODIFY:
      state.modified = wParam != 0;
      return 0;
    case EM_SETREADONLY: {
      const DWORD style = StyleOf(hwnd);
      SetWindowLongPtr(hwnd, GWL_STYLE, static_cast<LONG_PTR>(wParam ? style | ES_READONLY : style & ~ES_READONLY));
      InvalidateRect(hwnd, nullptr, FALSE);
      return TRUE;
    }
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

}  // namespace

WNDPROC EditWindowProc() { return &EditProc; }

}  // namespace winui::controls
