#include "classic_draw.h"

#include <winui/winuser.h>

namespace winui::controls {

void FillSysColor(HDC dc, const RECT& rc, int sysColor) { FillRect(dc, &rc, GetSysColorBrush(sysColor)); }

namespace {

void FillSpan(HDC dc, LONG left, LONG top, LONG right, LONG bottom, int sysColor) {
  if (right <= left || bottom <= top) return;
  const RECT rc{left, top, right, bottom};
  FillSysColor(dc, rc, sysColor);
}

}  // namespace

void DrawBevel(HDC dc, const RECT& rc, int topLeftColor, int bottomRightColor) {
  FillSpan(dc, rc.left, rc.top, rc.right - 1, rc.top + 1, topLeftColor);
  FillSpan(dc, rc.left, rc.top, rc.left + 1, rc.bottom - 1, topLeftColor);
  FillSpan(dc, rc.left, rc.bottom - 1, rc.right, rc.bottom, bottomRightColor);
  FillSpan(dc, rc.right - 1, rc.top, rc.right, rc.bottom, bottomRightColor);
}

RECT Inflated(RECT rc, int dx, int dy) {
  rc.left -= dx;
  rc.top -= dy;
  rc.right += dx;
  rc.bottom += dy;
  return rc;
}

RECT DrawRaisedButtonEdge(HDC dc, const RECT& rc) {
  DrawBevel(dc, rc, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW);
  const RECT inner = Inflated(rc, -1, -1);
  DrawBevel(dc, inner, COLOR_3DLIGHT, COLOR_BTNSHADOW);
  return Inflated(inner, -1, -1);
}

RECT DrawSunkenClientEdge(HDC dc, const RECT& rc) {
  DrawBevel(dc, rc, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
  const RECT inner = Inflated(rc, -1, -1);
  DrawBevel(dc, inner, COLOR_3DDKSHADOW, COLOR_3DLIGHT);
  return Inflated(inner, -1, -1);
}

RECT DrawPushedToggleEdge(HDC dc, const RECT& rc) {
  DrawBevel(dc, rc, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT);
  const RECT inner = Inflated(rc, -1, -1);
  DrawBevel(dc, inner, COLOR_BTNSHADOW, COLOR_3DLIGHT);
  return Inflated(inner, -1, -1);
}

void FillCheckedDither(HDC dc, const RECT& rc) {
  FillSysColor(dc, rc, COLOR_BTNFACE);
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
  for (LONG y = rc.top; y < rc.bottom; ++y) {
    for (LONG x = rc.left + ((rc.left + y) & 1); x < rc.right; x += 2) SetPixel(dc, x, y, light);
  }
}

void DrawCheckMark(HDC dc, int x, int y, int sysColor) {
  // Each of the seven columns is three pixels tall; the tops trace the tick.
  static constexpr int kColumnTop[7] = {2, 3, 4, 3, 2, 1, 0};
  for (int column = 0; column < 7; ++column) {
    FillSpan(dc, x + column, y + kColumnTop[column], x + column + 1, y + kColumnTop[column] + 3, sysColor);
  }
}

void DrawArrow(HDC dc, const RECT& rc, ArrowDirection direction, int sysColor) {
  const int left = (rc.left + rc.right - 7) / 2;
  const int top = (rc.top + rc.bottom - 4) / 2;
  for (int row = 0; row < 4; ++row) {
    const int y = direction == ArrowDirection::Down ? top + row : top + 3 - row;
    FillSpan(dc, left + row, y, left + 7 - row, y + 1, sysColor);
  }
}

void DrawControlText(HDC dc, const std::string& text, RECT rc, UINT format, bool enabled) {
  if (enabled) {
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &rc, format);
  } else {
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    RECT shifted = rc;
    OffsetRect(&shifted, 1, 1);
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &shifted, format);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &rc, format);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
  }
}

}  // namespace winui::controls
