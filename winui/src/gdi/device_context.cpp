#include "device_context.h"

#include "font_engine.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

namespace winui::gdi {
namespace {

struct DcTable {
  std::mutex mutex;
  std::unordered_map<const void*, std::unique_ptr<DeviceContext>> dcs;
};

DcTable& Dcs() {
  static DcTable table;
  return table;
}

HDC RegisterDc(std::unique_ptr<DeviceContext> dc) {
  const void* handle = NewHandle();
  DcTable& table = Dcs();
  std::lock_guard lock(table.mutex);
  table.dcs.emplace(handle, std::move(dc));
  return reinterpret_cast<HDC>(const_cast<void*>(handle));
}

void RetainObjects(const DcState& state) {
  for (HGDIOBJ object : {state.pen, state.brush, state.font, state.bitmap}) {
    if (object) AddSelection(object);
  }
}

void ReleaseObjects(const DcState& state) {
  for (HGDIOBJ object : {state.pen, state.brush, state.font, state.bitmap}) {
    if (object) RemoveSelection(object);
  }
}

void ShowBitmap(DeviceContext& dc, HGDIOBJ bitmap) {
  auto* data = LookupAs<BitmapData>(bitmap);
  dc.surface = &data->pixels;
  dc.origin = POINT{0, 0};
  dc.bounds = RECT{0, 0, data->pixels.Width(), data->pixels.Height()};
  dc.state.clip = dc.bounds;
}

std::unique_ptr<DeviceContext> NewDc() {
  auto dc = std::make_unique<DeviceContext>();
  dc->state.pen = StockObject(BLACK_PEN);
  dc->state.brush = StockObject(WHITE_BRUSH);
  dc->state.font = StockObject(SYSTEM_FONT);
  return dc;
}

bool FreeDc(HDC handle) {
  std::unique_ptr<DeviceContext> dc;
  {
    DcTable& table = Dcs();
    std::lock_guard lock(table.mutex);
    auto it = table.dcs.find(handle);
    if (it == table.dcs.end()) return false;
    dc = std::move(it->second);
    table.dcs.erase(it);
  }
  for (const DcState& state : dc->saved) ReleaseObjects(state);
  if (auto* bitmap = LookupAs<BitmapData>(dc->state.bitmap); bitmap && bitmap->selectedInto == dc.get()) {
    bitmap->selectedInto = nullptr;
  }
  ReleaseObjects(dc->state);
  ForgetTemporaryWrappers(handle);
  return true;
}

// Swaps `slot` to `object` and keeps the selection counts right; returns the previous object.
HGDIOBJ Reselect(HGDIOBJ& slot, HGDIOBJ object) {
  HGDIOBJ previous = slot;
  AddSelection(object);
  slot = object;
  if (previous) RemoveSelection(previous);
  return previous;
}

}  // namespace

bool IsLiveHandle(HDC handle) { return LookupDc(handle) != nullptr; }

DeviceContext* LookupDc(HDC handle) {
  if (!handle) return nullptr;
  DcTable& table = Dcs();
  std::lock_guard lock(table.mutex);
  auto it = table.dcs.find(handle);
  return it == table.dcs.end() ? nullptr : it->second.get();
}

RECT Intersection(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (IsEmpty(r)) r = RECT{r.left, r.top, r.left, r.top};
  return r;
}

PenData CurrentPen(const DeviceContext& dc) {
  if (dc.state.pen == StockObject(DC_PEN)) return PenData{PS_SOLID, 1, dc.state.dcPenColor};
  const PenData* pen = ResolvePen(dc.state.pen);
  return pen ? *pen : PenData{};
}

BrushData CurrentBrush(const DeviceContext& dc) {
  if (dc.state.brush == StockObject(DC_BRUSH)) return BrushData{BS_SOLID, dc.state.dcBrushColor};
  const BrushData* brush = ResolveBrush(reinterpret_cast<HBRUSH>(dc.state.brush));
  return brush ? *brush : BrushData{BS_NULL, 0};
}

const FontInstance* CurrentFont(DeviceContext& dc) {
  FontData* font = LookupAs<FontData>(dc.state.font);
  if (!font) font = LookupAs<FontData>(StockObject(SYSTEM_FONT));
  static std::mutex openMutex;  // stock fonts are shared by every thread
  std::lock_guard lock(openMutex);
  if (!font->openTried) font->instance = OpenFont(font->logfont);
  font->openTried = true;
  return font->instance.get();
}

}  // namespace winui::gdi

using winui::gdi::DcState;
using winui::gdi::DeviceContext;
using winui::gdi::LookupDc;

namespace winui {

HDC CreateSurfaceDC(Surface* surface, POINT origin, RECT clip) {
  if (!surface) return nullptr;
  auto dc = gdi::NewDc();
  dc->surface = surface;
  dc->origin = origin;
  const RECT onSurface = gdi::Intersection(clip, RECT{0, 0, surface->Width(), surface->Height()});
  dc->bounds = RECT{onSurface.left - origin.x, onSurface.top - origin.y, onSurface.right - origin.x,
                    onSurface.bottom - origin.y};
  dc->state.clip = dc->bounds;
  gdi::RetainObjects(dc->state);
  return gdi::RegisterDc(std::move(dc));
}

void ReleaseSurfaceDC(HDC dc) { gdi::FreeDc(dc); }

}  // namespace winui

HDC CreateCompatibleDC(HDC /*dc*/) {
  auto dc = winui::gdi::NewDc();
  dc->memory = true;
  dc->state.bitmap = reinterpret_cast<HGDIOBJ>(winui::gdi::DefaultBitmap());
  winui::gdi::ShowBitmap(*dc, dc->state.bitmap);
  winui::gdi::RetainObjects(dc->state);
  return winui::gdi::RegisterDc(std::move(dc));
}

BOOL DeleteDC(HDC dc) { return winui::gdi::FreeDc(dc) ? TRUE : FALSE; }

int SaveDC(HDC handle) {
  DeviceContext* dc = LookupDc(handle);
  if (!dc) return 0;
  dc->saved.push_back(dc->state);
  winui::gdi::RetainObjects(dc->state);
  return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC handle, int savedDc) {
  DeviceContext* dc = LookupDc(handle);
  if (!dc) return FALSE;
  const int levels = static_cast<int>(dc->saved.size());
  const int target = savedDc < 0 ? levels + savedDc + 1 : savedDc;  // negative counts back from the last
  if (target < 1 || target > levels) return FALSE;
  while (static_cast<int>(dc->saved.size()) > target) {
    winui::gdi::ReleaseObjects(dc->saved.back());
    dc->saved.pop_back();
  }
  const HGDIOBJ bitmapBefore = dc->state.bitmap;
  winui::gdi::ReleaseObjects(dc->state);
  dc->state = dc->saved.back();
  dc->saved.pop_back();
  if (dc->memory && dc->state.bitmap != bitmapBefore) {
    const RECT clip = dc->state.clip;
    winui::gdi::ShowBitmap(*dc, dc->state.bitmap);
    dc->state.clip = winui::gdi::Intersection(clip, dc->bounds);
  }
  return TRUE;
}

int GetDeviceCaps(HDC handle, int index) {
  DeviceContext* dc = LookupDc(handle);
  if (!dc) return 0;
  switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
      return 96;
    case HORZRES:
      return dc->surface->Width();
    case VERTRES:
      return dc->surface->Height();
    case BITSPIXEL:
      return 32;
    default:
      return 0;
  }
}

int SetMapMode(HDC handle, int mode) {
  // Only MM_TEXT exists here: the dialogs never scale, and a mode we cannot honour must fail loudly.
  return LookupDc(handle) && mode == MM_TEXT ? MM_TEXT : 0;
}

int GetMapMode(HDC handle) { return LookupDc(handle) ? MM_TEXT : 0; }

namespace {

BOOL SetOrigin(HDC handle, POINT DcState::*member, int x, int y, LPPOINT previous, bool relative) {
  DeviceContext* dc = LookupDc(handle);
  if (!dc) return FALSE;
  POINT& origin = dc->state.*member;
  if (previous) *previous = origin;
  origin = relative ? POINT{origin.x + x, origin.y + y} : POINT{x, y};
  return TRUE;
}

BOOL GetOrigin(HDC handle, POINT DcState::*member, LPPOINT origin) {
  DeviceContext* dc = LookupDc(handle);
  if (!dc || !origin) return FALSE;
  *origin = dc->state.*member;
  return TRUE;
}

}  // namespace

BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT previous) {
  return SetOrigin(dc, &DcState::windowOrg, x, y, previous, false);
}
BOOL GetWindowOrgEx(HDC dc, LPPOINT origin) { return GetOrigin(dc, &DcState::windowOrg, origin); }
BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous) {
  return SetOrigin(dc, &DcState::viewportOrg, x, y, previous, false);
}
BOOL GetViewportOrgEx(HDC dc, LPPOINT origin) { return GetOrigin(dc, &DcState::viewportOrg, origin); }
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, LPPOINT previous) {
  return SetOrigin(dc, &DcState::viewportOrg, dx, dy, previous, true);
}

int GetClipBox(HDC handle, LPRECT rect) {
  DeviceContext* dc = LookupDc(handle);
  if (!dc || !rect) return ERROR;
  const RECT& clip = dc->state.clip;
  const POINT tl = winui::gdi::ToLogical(*dc, clip.left, clip.top);
  *rect = RECT{tl.x, tl.y, tl.x + (clip.right - clip.left), tl.y + (clip.bottom - clip.top)};
  return winui::gdi::IsEmpty(clip) ? NULLREGION : SIMPLEREGION;
}

int IntersectClipRect(HDC handle, int left, int top, int right, int bottom) {
  DeviceContext* dc = LookupDc(handle);
  if (!dc) return ERROR;
  dc->state.clip = winui::gdi::Intersection(dc->state.clip, winui::gdi::ToDevice(*dc, RECT{left, top, right, bottom}));
  return winui::gdi::IsEmpty(dc->state.clip) ? NULLREGION : SIMPLEREGION;
}

BOOL LPtoDP(HDC handle, LPPOINT points, int count) {
  DeviceContext* dc = LookupDc(handle);
  if (!dc || !points) return FALSE;
  for (int i = 0; i < count; ++i) points[i] = winui::gdi::ToDevice(*dc, points[i].x, points[i].y);
  return TRUE;
}

BOOL DPtoLP(HDC handle, LPPOINT points, int count) {
  DeviceContext* dc = LookupDc(handle);
  if (!dc || !points) return FALSE;
  for (int i = 0; i < count; ++i) points[i] = winui::gdi::ToLogical(*dc, points[i].x, points[i].y);
  return TRUE;
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ object) {
  using namespace winui::gdi;
  DeviceContext* dc = LookupDc(handle);
  GdiObject* target = Lookup(object);
  if (!dc || !target) return nullptr;
  if (std::holds_alternative<PenData>(target->data)) return Reselect(dc->state.pen, object);
  if (std::holds_alternative<BrushData>(target->data)) return Reselect(dc->state.brush, object);
  if (std::holds_alternative<FontData>(target->data)) return Reselect(dc->state.font, object);
  auto* bitmap = std::get_if<BitmapData>(&target->data);
  if (!bitmap || !dc->memory) return nullptr;
  if (object == dc->state.bitmap) return object;
  if (!target->stock && bitmap->selectedInto) return nullptr;  // already shown by another memory DC
  if (auto* previous = LookupAs<BitmapData>(dc->state.bitmap); previous && previous->selectedInto == dc) {
    previous->selectedInto = nullptr;
  }
  if (!target->stock) bitmap->selectedInto = dc;
  HGDIOBJ previous = Reselect(dc->state.bitmap, object);
  ShowBitmap(*dc, object);
  return previous;
}

HGDIOBJ GetCurrentObject(HDC handle, UINT type) {
  DeviceContext* dc = LookupDc(handle);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN:
      return dc->state.pen;
    case OBJ_BRUSH:
      return dc->state.brush;
    case OBJ_FONT:
      return dc->state.font;
    case OBJ_BITMAP:
      return dc->state.bitmap;
    default:
      return nullptr;
  }
}

namespace {

template <class Value>
Value Exchange(HDC handle, Value DcState::*member, Value value, Value failure) {
  DeviceContext* dc = LookupDc(handle);
  if (!dc) return failure;
  Value previous = dc->state.*member;
  dc->state.*member = value;
  return previous;
}

template <class Value>
Value Read(HDC handle, Value DcState::*member, Value failure) {
  DeviceContext* dc = LookupDc(handle);
  return dc ? dc->state.*member : failure;
}

}  // namespace

COLORREF SetTextColor(HDC dc, COLORREF color) { return Exchange(dc, &DcState::textColor, color, CLR_INVALID); }
COLORREF GetTextColor(HDC dc) { return Read(dc, &DcState::textColor, CLR_INVALID); }
COLORREF SetBkColor(HDC dc, COLORREF color) { return Exchange(dc, &DcState::bkColor, color, CLR_INVALID); }
COLORREF GetBkColor(HDC dc) { return Read(dc, &DcState::bkColor, CLR_INVALID); }
int SetBkMode(HDC dc, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return Exchange(dc, &DcState::bkMode, mode, 0);
}
int GetBkMode(HDC dc) { return Read(dc, &DcState::bkMode, 0); }
int SetROP2(HDC dc, int mode) {
  if (mode != R2_COPYPEN && mode != R2_XORPEN && mode != R2_NOT && mode != R2_BLACK && mode != R2_WHITE) return 0;
  return Exchange(dc, &DcState::rop2, mode, 0);
}
int GetROP2(HDC dc) { return Read(dc, &DcState::rop2, 0); }
COLORREF SetDCBrushColor(HDC dc, COLORREF color) { return Exchange(dc, &DcState::dcBrushColor, color, CLR_INVALID); }
COLORREF SetDCPenColor(HDC dc, COLORREF color) { return Exchange(dc, &DcState::dcPenColor, color, CLR_INVALID); }
UINT SetTextAlign(HDC dc, UINT align) { return Exchange(dc, &DcState::textAlign, align, static_cast<UINT>(GDI_ERROR)); }
UINT GetTextAlign(HDC dc) { return Read(dc, &DcState::textAlign, static_cast<UINT>(GDI_ERROR)); }
BOOL MoveToEx(HDC handle, int x, int y, LPPOINT previous) {
  DeviceContext* dc = LookupDc(handle);
  if (!dc) return FALSE;
  if (previous) *previous = dc->state.position;
  dc->state.position = POINT{x, y};
  return TRUE;
}
BOOL GetCurrentPositionEx(HDC handle, LPPOINT position) {
  DeviceContext* dc = LookupDc(handle);
  if (!dc || !position) return FALSE;
  *position = dc->state.position;
  return TRUE;
}
