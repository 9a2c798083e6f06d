// The classic 3-D edges and the dotted focus rectangle.
#include "raster.h"

using winui::gdi::DeviceContext;
using winui::gdi::LookupDc;

namespace {

struct RingColors {
  int topLeft = -1;  // system colour indices; -1 leaves that half undrawn
  int bottomRight = -1;
};

RingColors OuterColors(UINT edge, UINT flags) {
  if (flags & BF_MONO) return {COLOR_WINDOWFRAME, COLOR_WINDOWFRAME};
  if (flags & BF_FLAT) return {COLOR_3DSHADOW, COLOR_3DSHADOW};
  const bool soft = (flags & BF_SOFT) != 0;
  if (edge & BDR_RAISEDOUTER) return {soft ? COLOR_3DHIGHLIGHT : COLOR_3DLIGHT, COLOR_3DDKSHADOW};
  if (edge & BDR_SUNKENOUTER) return {soft ? COLOR_3DDKSHADOW : COLOR_3DSHADOW, COLOR_3DHIGHLIGHT};
  return {};
}

RingColors InnerColors(UINT edge, UINT flags) {
  if (flags & BF_MONO) return {COLOR_WINDOW, COLOR_WINDOW};
  if (flags & BF_FLAT) return {COLOR_3DFACE, COLOR_3DFACE};
  const bool soft = (flags & BF_SOFT) != 0;
  if (edge & BDR_RAISEDINNER) return {soft ? COLOR_3DLIGHT : COLOR_3DHIGHLIGHT, COLOR_3DSHADOW};
  if (edge & BDR_SUNKENINNER) return {soft ? COLOR_3DSHADOW : COLOR_3DDKSHADOW, COLOR_3DLIGHT};
  return {};
}

// One-pixel ring on the sides in `flags`; the bottom-right colour owns the top-right and bottom-left
// corners, as Windows paints them. Returns the rectangle inside the sides drawn.
RECT DrawRing(DeviceContext& dc, RECT rc, RingColors colors, UINT flags) {
  if (colors.topLeft < 0 || winui::gdi::IsEmpty(rc)) return rc;
  const COLORREF tl = GetSysColor(colors.topLeft), br = GetSysColor(colors.bottomRight);
  const int rightInset = (flags & BF_RIGHT) ? 1 : 0, bottomInset = (flags & BF_BOTTOM) ? 1 : 0;
  if (flags & BF_TOP) winui::gdi::FillDevice(dc, RECT{rc.left, rc.top, rc.right - rightInset, rc.top + 1}, tl);
  if (flags & BF_LEFT) winui::gdi::FillDevice(dc, RECT{rc.left, rc.top, rc.left + 1, rc.bottom - bottomInset}, tl);
  if (flags & BF_BOTTOM) winui::gdi::FillDevice(dc, RECT{rc.left, rc.bottom - 1, rc.right, rc.bottom}, br);
  if (flags & BF_RIGHT) winui::gdi::FillDevice(dc, RECT{rc.right - 1, rc.top, rc.right, rc.bottom}, br);
  return RECT{rc.left + ((flags & BF_LEFT) ? 1 : 0), rc.top + ((flags & BF_TOP) ? 1 : 0), rc.right - rightInset,
              rc.bottom - bottomInset};
}

}  // namespace

BOOL DrawEdge(HDC handle, LPRECT rect, UINT edge, UINT flags) {
  DeviceContext* dc = LookupDc(handle);
  if (!dc || !rect) return FALSE;
  RECT inside = winui::gdi::ToDevice(*dc, *rect);
  if (edge & BDR_OUTER) inside = DrawRing(*dc, inside, OuterColors(edge, flags), flags);
  if (edge & BDR_INNER) inside = DrawRing(*dc, inside, InnerColors(edge, flags), flags);
  if (flags & BF_MIDDLE)
    winui::gdi::FillDevice(*dc, inside, GetSysColor((flags & BF_MONO) ? COLOR_WINDOW : COLOR_3DFACE));
  if (flags & BF_ADJUST) {
    const POINT tl = winui::gdi::ToLogical(*dc, inside.left, inside.top);
    *rect = RECT{tl.x, tl.y, tl.x + (inside.right - inside.left), tl.y + (inside.bottom - inside.top)};
  }
  return TRUE;
}

BOOL DrawFocusRect(HDC handle, const RECT* rect) {
  DeviceContext* dc = LookupDc(handle);
  if (!dc || !rect) return FALSE;
  const RECT rc = winui::gdi::ToDevice(*dc, *rect);
  if (winui::gdi::IsEmpty(rc)) return TRUE;
  // A 50% checker inverted onto the one-pixel frame, aligned to the DC's device origin as a pattern
  // brush is; drawing it twice restores the pixels, which is how focus moves without a repaint.
  winui::gdi::ForEachPixel(*dc, rc, [&](std::uint32_t& p, int x, int y) {
    const bool onFrame = x == rc.left || x == rc.right - 1 || y == rc.top || y == rc.bottom - 1;
    if (onFrame && ((x + y) & 1) == 0) p ^= 0xFFFFFF;
  });
  return TRUE;
}
