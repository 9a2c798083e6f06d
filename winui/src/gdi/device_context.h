// The state behind an HDC and the mapping from logical coordinates to surface pixels.
#pragma once

#include "gdi_objects.h"

#include <vector>

namespace winui::gdi {

struct DcState {
  POINT windowOrg{};
  POINT viewportOrg{};
  RECT clip{};  // device coordinates, already inside the DC's bounds
  HGDIOBJ pen = nullptr;
  HGDIOBJ brush = nullptr;
  HGDIOBJ font = nullptr;
  HGDIOBJ bitmap = nullptr;  // memory DCs only
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF bkColor = RGB(255, 255, 255);
  COLORREF dcBrushColor = RGB(255, 255, 255);
  COLORREF dcPenColor = RGB(0, 0, 0);
  int bkMode = OPAQUE;
  int rop2 = R2_COPYPEN;
  UINT textAlign = TA_LEFT | TA_TOP;
  POINT position{};
};

struct DeviceContext {
  bool memory = false;
  Surface* surface = nullptr;  // the window surface, or the selected bitmap's pixels
  POINT origin{};              // where device (0, 0) lies on the surface
  RECT bounds{};               // device coordinates the DC may touch at all
  DcState state;
  std::vector<DcState> saved;
};

// The DC behind `dc`, or null for a handle that is not a live DC.
DeviceContext* LookupDc(HDC dc);

// Logical to device coordinates (MM_TEXT: a plain translation).
inline POINT ToDevice(const DeviceContext& dc, int x, int y) {
  return POINT{x - dc.state.windowOrg.x + dc.state.viewportOrg.x, y - dc.state.windowOrg.y + dc.state.viewportOrg.y};
}
inline RECT ToDevice(const DeviceContext& dc, const RECT& rc) {
  POINT tl = ToDevice(dc, rc.left, rc.top);
  return RECT{tl.x, tl.y, tl.x + (rc.right - rc.left), tl.y + (rc.bottom - rc.top)};
}
inline POINT ToLogical(const DeviceContext& dc, int x, int y) {
  return POINT{x + dc.state.windowOrg.x - dc.state.viewportOrg.x, y + dc.state.windowOrg.y - dc.state.viewportOrg.y};
}

RECT Intersection(const RECT& a, const RECT& b);  // an empty result is normalised to right = left etc.
inline bool IsEmpty(const RECT& rc) { return rc.right <= rc.left || rc.bottom <= rc.top; }

PenData CurrentPen(const DeviceContext& dc);
BrushData CurrentBrush(const DeviceContext& dc);
// The selected font opened at its size; null when no font file could stand in for it.
const FontInstance* CurrentFont(DeviceContext& dc);

}  // namespace winui::gdi
