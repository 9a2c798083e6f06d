// The objects behind GDI handles and the table that tells live handles from stale ones.
#pragma once

#include <winui/surface.h>
#include <winui/wingdi.h>

#include <memory>
#include <variant>
#include <vector>

namespace winui::gdi {

class FontInstance;
struct DeviceContext;

struct PenData {
  int style = PS_SOLID;
  int width = 1;
  COLORREF color = 0;
};

struct BrushData {
  UINT style = BS_SOLID;
  COLORREF color = 0;
};

struct FontData {
  LOGFONT logfont;
  // Resolved on first use, so that stock fonts cost nothing until somebody draws text.
  std::shared_ptr<const FontInstance> instance;
  bool openTried = false;  // a missing font file is reported once, not on every paint
};

struct BitmapData {
  Surface pixels;
  DeviceContext* selectedInto = nullptr;  // a bitmap lives in one memory DC at a time
};

struct IconData {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;  // non-premultiplied, rows top-down
};

struct GdiObject {
  std::variant<PenData, BrushData, FontData, BitmapData, IconData> data;
  bool stock = false;
  // Windows lets a selected object be deleted; it goes away when the last DC lets go of it.
  int selections = 0;
  bool deletePending = false;
};

// A handle no object or DC has had before.
const void* NewHandle();
HGDIOBJ Register(GdiObject object);
// The live object behind `handle`, or null.
GdiObject* Lookup(const void* handle);
template <class Data>
Data* LookupAs(const void* handle) {
  GdiObject* object = Lookup(handle);
  return object ? std::get_if<Data>(&object->data) : nullptr;
}
// Frees the object now, or when its last selection ends; stock objects stay.
bool Destroy(const void* handle);
// Whether a wrapper may be kept for `handle`: a live object (stock ones included) or DC.
bool IsLiveHandle(HGDIOBJ handle);
bool IsLiveHandle(HDC handle);
// The MFC layer's: the wrappers FromHandle made for a handle just freed go with it.
void ForgetTemporaryWrappers(const void* handle);
// Objects made and not yet deleted, stock objects aside.
std::size_t LiveObjectCount();
void AddSelection(HGDIOBJ handle);
void RemoveSelection(HGDIOBJ handle);

// The pen, brush or font a handle stands for, including stock objects and, for brushes, the
// Windows idiom of a system colour index plus one passed as an HBRUSH.
const PenData* ResolvePen(HGDIOBJ handle);
const BrushData* ResolveBrush(HBRUSH handle);

HGDIOBJ StockObject(int index);
HBITMAP DefaultBitmap();  // the 1 x 1 bitmap a new memory DC holds

}  // namespace winui::gdi
