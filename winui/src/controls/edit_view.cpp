// Layout and painting of "Edit" windows: where each character sits, scrolling, caret, selection.
#include "classic_draw.h"
#include "edit_state.h"

#include <winui/controls.h>

#include <algorithm>
#include <cstdlib>

namespace winui::controls {
namespace {

constexpr int kHorizontalMargin = 1;

// Measuring needs a DC with the edit's font even outside painting.
class MeasuringDC {
 public:
  MeasuringDC(HWND hwnd, HFONT font) : hwnd_(hwnd), dc_(GetDC(hwnd)), previous_(SelectObject(dc_, font)) {}
  ~MeasuringDC() {
    SelectObject(dc_, previous_);
    ReleaseDC(hwnd_, dc_);
  }
  MeasuringDC(const MeasuringDC&) = delete;
  MeasuringDC& operator=(const MeasuringDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
  HGDIOBJ previous_;
};

int PrefixWidth(HDC dc, const std::string& text, std::size_t count) {
  if (count == 0) return 0;
  SIZE size{};
  GetTextExtentPoint32(dc, text.c_str(), static_cast<int>(count), &size);
  return size.cx;
}

// x of the first character in client coordinates. Alignment only applies while the text fits.
int TextOrigin(HWND hwnd, const EditState& state, int textWidth) {
  const RECT format = EditFormatRect(hwnd);
  const int room = format.right - format.left;
  const DWORD style = StyleOf(hwnd);
  if (textWidth < room) {
    if (style & ES_RIGHT) return format.right - 1 - textWidth;
    if (style & ES_CENTER) return format.left + (room - textWidth) / 2;
  }
  return format.left - state.scroll;
}

int LineHeight(HDC dc) {
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  return tm.tmHeight;
}

struct TextLine {
  int origin;
  int top;
  int height;
};

TextLine LineFor(HWND hwnd, const EditState& state, HDC dc) {
  const RECT format = EditFormatRect(hwnd);
  const int height = LineHeight(dc);
  const int width = PrefixWidth(dc, state.buffer.Text(), state.buffer.Size());
  return {TextOrigin(hwnd, state, width), format.top + (format.bottom - format.top - height) / 2, height};
}

void DrawRun(HDC dc, const std::string& text, std::size_t from, std::size_t to, int left, int top, int height,
             const RECT& clip) {
  if (to <= from) return;
  const int width = PrefixWidth(dc, text, to) - PrefixWidth(dc, text, from);
  RECT rc{left, top, left + width, top + height};
  rc.left = std::max(rc.left, clip.left);
  rc.right = std::min(rc.right, clip.right);
  if (rc.right <= rc.left) return;
  // Drawn from the run's true start so that clipping, not re-layout, hides what is scrolled away.
  RECT full{left, top, left + width, top + height};
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);
  DrawText(dc, text.c_str() + from, static_cast<int>(to - from), &full, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
  RestoreDC(dc, saved);
}

}  // namespace

RECT EditFormatRect(HWND hwnd) {
  RECT rc = ClientRect(hwnd);
  rc.left += kHorizontalMargin;
  rc.right -= kHorizontalMargin;
  if (rc.right < rc.left) rc.right = rc.left;
  return rc;
}

int EditTextWidth(HWND hwnd, const EditState& state, std::string_view text) {
  MeasuringDC dc(hwnd, state.font.Get());
  SIZE size{};
  if (!text.empty()) GetTextExtentPoint32(dc.Get(), text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

std::size_t EditHitTest(HWND hwnd, const EditState& state, int x) {
  MeasuringDC dc(hwnd, state.font.Get());
  const std::string& text = state.buffer.Text();
  const int origin = TextOrigin(hwnd, state, PrefixWidth(dc.Get(), text, text.size()));
  std::size_t best = 0;
  int bestDistance = std::abs(x - origin);
  for (std::size_t i = 1; i <= text.size(); ++i) {
    const int distance = std::abs(x - (origin + PrefixWidth(dc.Get(), text, i)));
    if (distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

void EditScrollToCaret(HWND hwnd, EditState& state) {
  if (!HasStyle(hwnd, ES_AUTOHSCROLL)) {
    state.scroll = 0;
    return;
  }
  const RECT format = EditFormatRect(hwnd);
  const int room = format.right - format.left;
  const std::string& text = state.buffer.Text();
  const int caretX = EditTextWidth(hwnd, state, std::string_view(text).substr(0, state.buffer.Caret()));
  const int textWidth = EditTextWidth(hwnd, state, text);
  // Jump a quarter of the width at a time, as Windows does, so typing does not scroll every key.
  const int jump = room / 4;
  if (caretX - state.scroll >= room) state.scroll = caretX - room + 1 + jump;
  if (caretX < state.scroll) state.scroll = std::max(0, caretX - jump);
  // Never leave empty space on the right while text is hidden on the left.
  state.scroll = std::max(0, std::min(state.scroll, textWidth - room + 1));
}

void PaintEdit(HWND hwnd, const EditState& state) {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(hwnd, &ps);
  const bool enabled = IsWindowEnabled(hwnd) != FALSE;
  const bool readOnly = HasStyle(hwnd, ES_READONLY);
  // Read-only and disabled edits ask for static colours, which gives them the dialog's face.
  HBRUSH background = ColorsFromParent(hwnd, dc, enabled && !readOnly ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC);
  const RECT client = ClientRect(hwnd);
  FillRect(dc, &client, background);
  {
    SelectedFont font(dc, state.font.Get());
    if (!enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    SetBkMode(dc, TRANSPARENT);
    const TextLine line = LineFor(hwnd, state, dc);
    const RECT clip = EditFormatRect(hwnd);
    const std::string& text = state.buffer.Text();
    const bool showSelection = state.buffer.HasSelection() && (state.focused || HasStyle(hwnd, ES_NOHIDESEL));
    const std::size_t selStart = showSelection ? state.buffer.SelectionStart() : text.size();
    const std::size_t selEnd = showSelection ? state.buffer.SelectionEnd() : text.size();
    auto xOf = [&](std::size_t i) { return line.origin + PrefixWidth(dc, text, i); };

    DrawRun(dc, text, 0, selStart, xOf(0), line.top, line.height, clip);
    if (showSelection) {
      RECT highlight{std::max<LONG>(xOf(selStart), clip.left), line.top, std::min<LONG>(xOf(selEnd), clip.right),
                     line.top + line.height};
      FillSysColor(dc, highlight, COLOR_HIGHLIGHT);
      const COLORREF normal = SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
      DrawRun(dc, text, selStart, selEnd, xOf(selStart), line.top, line.height, clip);
      SetTextColor(dc, normal);
    }
    DrawRun(dc, text, selEnd, text.size(), xOf(selEnd), line.top, line.height, clip);

    if (state.focused) {
      const LONG caretX = std::min<LONG>(std::max<LONG>(xOf(state.buffer.Caret()), clip.left), clip.right - 1);
      const RECT caret{caretX, line.top, caretX + 1, line.top + line.height};
      FillSysColor(dc, caret, COLOR_WINDOWTEXT);
    }
  }
  EndPaint(hwnd, &ps);
}

}  // namespace winui::controls
