#include "gdi_objects.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <unordered_map>

namespace winui::gdi {
namespace {

struct ObjectTable {
  std::mutex mutex;
  std::unordered_map<const void*, std::unique_ptr<GdiObject>> objects;
};

ObjectTable& Table() {
  static ObjectTable table;
  return table;
}

// Takes the object out of the table; the caller frees it, and forgets its wrappers, once the table
// is unlocked (the wrapper maps have locks of their own).
std::unique_ptr<GdiObject> TakeLocked(ObjectTable& table, const void* handle) {
  auto it = table.objects.find(handle);
  std::unique_ptr<GdiObject> object = std::move(it->second);
  table.objects.erase(it);
  return object;
}

void Free(std::unique_ptr<GdiObject> object, const void* handle) {
  if (!object) return;
  object.reset();
  ForgetTemporaryWrappers(handle);
}

}  // namespace

const void* NewHandle() {
  // Counters rather than addresses, as for windows: a deleted object's handle never finds the next
  // object allocated where it was. Objects and DCs share the count, so no two live handles are equal.
  static std::atomic<std::uintptr_t> next{0x20000};
  return reinterpret_cast<const void*>(next.fetch_add(4));
}

HGDIOBJ Register(GdiObject object) {
  const void* handle = NewHandle();
  ObjectTable& table = Table();
  std::lock_guard lock(table.mutex);
  table.objects.emplace(handle, std::make_unique<GdiObject>(std::move(object)));
  return reinterpret_cast<HGDIOBJ>(const_cast<void*>(handle));
}

GdiObject* Lookup(const void* handle) {
  if (!handle) return nullptr;
  ObjectTable& table = Table();
  std::lock_guard lock(table.mutex);
  auto it = table.objects.find(handle);
  return it == table.objects.end() || it->second->deletePending ? nullptr : it->second.get();
}

bool IsLiveHandle(HGDIOBJ handle) { return Lookup(handle) != nullptr; }

bool Destroy(const void* handle) {
  std::unique_ptr<GdiObject> freed;
  {
    ObjectTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto it = table.objects.find(handle);
    if (it == table.objects.end() || it->second->deletePending) return false;
    if (it->second->stock) return true;
    if (it->second->selections > 0) {
      it->second->deletePending = true;
      return true;
    }
    freed = TakeLocked(table, handle);
  }
  Free(std::move(freed), handle);
  return true;
}

std::size_t LiveObjectCount() {
  ObjectTable& table = Table();
  std::lock_guard lock(table.mutex);
  return static_cast<std::size_t>(std::count_if(table.objects.begin(), table.objects.end(), [](const auto& entry) {
    return !entry.second->stock && !entry.second->deletePending;
  }));
}

void AddSelection(HGDIOBJ handle) {
  ObjectTable& table = Table();
  std::lock_guard lock(table.mutex);
  if (auto it = table.objects.find(handle); it != table.objects.end()) ++it->second->selections;
}

void RemoveSelection(HGDIOBJ handle) {
  std::unique_ptr<GdiObject> freed;
  {
    ObjectTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto it = table.objects.find(handle);
    if (it == table.objects.end()) return;
    if (--it->second->selections <= 0 && it->second->deletePending) freed = TakeLocked(table, handle);
  }
  Free(std::move(freed), handle);
}

const PenData* ResolvePen(HGDIOBJ handle) { return LookupAs<PenData>(handle); }

const BrushData* ResolveBrush(HBRUSH handle) {
  const auto value = reinterpret_cast<std::uintptr_t>(handle);
  if (value > 0 && value <= COLOR_GRADIENTINACTIVECAPTION + 1) {
    return LookupAs<BrushData>(GetSysColorBrush(static_cast<int>(value - 1)));
  }
  return LookupAs<BrushData>(handle);
}

namespace {

GdiObject StockFont(LONG height, LONG weight, BYTE pitchAndFamily, const char* face) {
  FontData font;
  font.logfont.lfHeight = height;
  font.logfont.lfWeight = weight;
  font.logfont.lfPitchAndFamily = pitchAndFamily;
  font.logfont.lfCharSet = ANSI_CHARSET;
  std::snprintf(font.logfont.lfFaceName, LF_FACESIZE, "%s", face);
  return GdiObject{font, true};
}

std::vector<HGDIOBJ> MakeStockObjects() {
  std::vector<HGDIOBJ> stock(DC_PEN + 1, nullptr);
  auto brush = [](COLORREF color) { return Register(GdiObject{BrushData{BS_SOLID, color}, true}); };
  auto pen = [](int style, COLORREF color) { return Register(GdiObject{PenData{style, 1, color}, true}); };
  stock[WHITE_BRUSH] = brush(RGB(255, 255, 255));
  stock[LTGRAY_BRUSH] = brush(RGB(192, 192, 192));
  stock[GRAY_BRUSH] = brush(RGB(128, 128, 128));
  stock[DKGRAY_BRUSH] = brush(RGB(64, 64, 64));
  stock[BLACK_BRUSH] = brush(RGB(0, 0, 0));
  stock[NULL_BRUSH] = Register(GdiObject{BrushData{BS_NULL, 0}, true});
  stock[DC_BRUSH] = brush(RGB(255, 255, 255));
  stock[WHITE_PEN] = pen(PS_SOLID, RGB(255, 255, 255));
  stock[BLACK_PEN] = pen(PS_SOLID, RGB(0, 0, 0));
  stock[NULL_PEN] = pen(PS_NULL, 0);
  stock[DC_PEN] = pen(PS_SOLID, RGB(0, 0, 0));
  // Positive heights are cell heights, as the Windows stock fonts are defined.
  stock[OEM_FIXED_FONT] = Register(StockFont(12, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Terminal"));
  stock[ANSI_FIXED_FONT] = Register(StockFont(13, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Courier"));
  stock[ANSI_VAR_FONT] = Register(StockFont(13, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif"));
  stock[SYSTEM_FONT] = Register(StockFont(16, FW_BOLD, VARIABLE_PITCH | FF_SWISS, "System"));
  stock[DEVICE_DEFAULT_FONT] = stock[SYSTEM_FONT];
  stock[SYSTEM_FIXED_FONT] = Register(StockFont(15, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Fixedsys"));
  stock[DEFAULT_GUI_FONT] = Register(StockFont(-11, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, "MS Shell Dlg"));
  return stock;
}

}  // namespace

HGDIOBJ StockObject(int index) {
  static const std::vector<HGDIOBJ> stock = MakeStockObjects();
  return index >= 0 && index < static_cast<int>(stock.size()) ? stock[index] : nullptr;
}

HBITMAP DefaultBitmap() {
  static const HGDIOBJ bitmap = Register(GdiObject{BitmapData{Surface(1, 1, 0), nullptr}, true});
  return reinterpret_cast<HBITMAP>(bitmap);
}

}  // namespace winui::gdi

HGDIOBJ GetStockObject(int index) { return winui::gdi::StockObject(index); }
