// Painting of "Button" windows in the classic 3-D look.
#include "button_state.h"
#include "classic_draw.h"

#include <algorithm>

namespace winui::controls {
namespace {

constexpr int kCheckBoxSize = 13;
constexpr int kCheckBoxTextGap = 4;
constexpr int kGroupTextIndent = 8;

UINT HorizontalAlignment(DWORD style, UINT fallback) {
  switch (style & BS_CENTER) {
    case BS_LEFT:
      return DT_LEFT;
    case BS_RIGHT:
      return DT_RIGHT;
    case BS_CENTER:
      return DT_CENTER;
    default:
      return fallback;
  }
}

SIZE TextSize(HDC dc, const std::string& text) {
  SIZE size{};
  GetTextExtentPoint32(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

struct PaintContext {
  HWND hwnd;
  HDC dc;
  RECT client;
  DWORD style;
  std::string text;
  bool enabled;
  bool focused;
};

void PaintPushButton(const PaintContext& c, const ButtonState& state) {
  const bool toggledOn = IsCheckBox(c.style & BS_TYPEMASK) && state.check == BST_CHECKED;
  RECT rc = c.client;
  SetTextColor(c.dc, GetSysColor(COLOR_BTNTEXT));
  SetBkMode(c.dc, TRANSPARENT);  // the face may be dithered, so the text must not paint a background
  FillSysColor(c.dc, rc, COLOR_BTNFACE);
  if ((c.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
    FrameRect(c.dc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME));
    rc = Inflated(rc, -1, -1);
  }
  bool sunk = false;
  if (c.style & BS_FLAT) {
    FrameRect(c.dc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME));
    if (toggledOn) FillCheckedDither(c.dc, Inflated(rc, -1, -1));
    sunk = state.pushed || toggledOn;
  } else if (state.pushed) {
    FrameRect(c.dc, &rc, GetSysColorBrush(COLOR_BTNSHADOW));
    sunk = true;
  } else if (toggledOn) {
    FillCheckedDither(c.dc, DrawPushedToggleEdge(c.dc, rc));
    sunk = true;
  } else {
    DrawRaisedButtonEdge(c.dc, rc);
  }
  RECT textRect = Inflated(rc, -2, -2);
  if (sunk) OffsetRect(&textRect, 1, 1);
  DrawControlText(c.dc, c.text, textRect, HorizontalAlignment(c.style, DT_CENTER) | DT_SINGLELINE | DT_VCENTER,
                  c.enabled);
  if (c.focused) {
    const RECT focus = Inflated(rc, -3, -3);
    DrawFocusRect(c.dc, &focus);
  }
}

void PaintCheckBox(const PaintContext& c, const ButtonState& state) {
  FillRect(c.dc, &c.client, ColorsFromParent(c.hwnd, c.dc, WM_CTLCOLORSTATIC));
  const bool textLeft = (c.style & BS_LEFTTEXT) != 0;
  const LONG boxTop = (c.client.top + c.client.bottom - kCheckBoxSize) / 2;
  const LONG boxLeft = textLeft ? c.client.right - kCheckBoxSize : c.client.left;
  const RECT box{boxLeft, boxTop, boxLeft + kCheckBoxSize, boxTop + kCheckBoxSize};
  RECT inside{};
  if (c.style & BS_FLAT) {
    FrameRect(c.dc, &box, GetSysColorBrush(COLOR_WINDOWFRAME));
    inside = Inflated(box, -1, -1);
  } else {
    inside = DrawSunkenClientEdge(c.dc, box);
  }
  FillSysColor(c.dc, inside, state.pushed || !c.enabled ? COLOR_BTNFACE : COLOR_WINDOW);
  if (state.check == BST_CHECKED) {
    DrawCheckMark(c.dc, box.left + 3, box.top + 3, c.enabled ? COLOR_WINDOWTEXT : COLOR_BTNSHADOW);
  }

  RECT textRect = c.client;
  if (textLeft) {
    textRect.right = box.left - kCheckBoxTextGap;
  } else {
    textRect.left = box.right + kCheckBoxTextGap;
  }
  const UINT align = HorizontalAlignment(c.style, DT_LEFT);
  DrawControlText(c.dc, c.text, textRect, align | DT_SINGLELINE | DT_VCENTER, c.enabled);
  if (c.focused && !c.text.empty()) {
    const SIZE size = TextSize(c.dc, c.text);
    LONG left = textRect.left;
    if (align == DT_RIGHT) left = textRect.right - size.cx;
    if (align == DT_CENTER) left = (textRect.left + textRect.right - size.cx) / 2;
    const LONG top = (textRect.top + textRect.bottom - size.cy) / 2;
    RECT focus{left - 1, top, left + size.cx + 1, top + size.cy};
    focus.left = std::max(focus.left, c.client.left);
    focus.right = std::min(focus.right, c.client.right);
    DrawFocusRect(c.dc, &focus);
  }
}

// The etched frame runs through the middle of the caption line; the caption clears its own
// background so that the frame seems to stop on either side of it.
void PaintGroupBox(const PaintContext& c) {
  HBRUSH background = ColorsFromParent(c.hwnd, c.dc, WM_CTLCOLORSTATIC);
  TEXTMETRIC tm{};
  GetTextMetrics(c.dc, &tm);
  RECT frame = c.client;
  frame.top += tm.tmHeight / 2;
  DrawBevel(c.dc, frame, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
  DrawBevel(c.dc, Inflated(frame, -1, -1), COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
  if (c.text.empty()) return;
  const SIZE size = TextSize(c.dc, c.text);
  const RECT caption{c.client.left + kGroupTextIndent - 1, c.client.top, c.client.left + kGroupTextIndent + size.cx + 1,
                     c.client.top + tm.tmHeight};
  FillRect(c.dc, &caption, background);
  RECT textRect = caption;
  textRect.left += 1;
  DrawControlText(c.dc, c.text, textRect, DT_LEFT | DT_SINGLELINE | DT_TOP, c.enabled);
}

}  // namespace

void PaintButton(HWND hwnd, const ButtonState& state) {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(hwnd, &ps);
  {
    SelectedFont font(dc, state.font.Get());
    const PaintContext context{hwnd,
                               dc,
                               ClientRect(hwnd),
                               StyleOf(hwnd),
                               WindowText(hwnd),
                               IsWindowEnabled(hwnd) != FALSE,
                               GetFocus() == hwnd};
    const DWORD type = context.style & BS_TYPEMASK;
    if (type == BS_GROUPBOX) {
      PaintGroupBox(context);
    } else if (IsPushLike(hwnd)) {
      PaintPushButton(context, state);
    } else {
      PaintCheckBox(context, state);
    }
  }
  EndPaint(hwnd, &ps);
}

}  // namespace winui::controls
