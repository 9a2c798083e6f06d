#include "module/catalogue.h"

#include "pseudocolor/CXelPseudoColorClass.h"
#include "temperature/CXelTemperatureDisplayClass.h"

#include <iterator>
#include <new>

namespace {

template <typename TObject>
CXelImgProcess_0* Make(CXelImgProcessInstance_0* record) {
  return new (std::nothrow) TObject(record);
}

constexpr TCatalogueEntry kCatalogue[] = {
    {XIP_OBJTYPE_PSEUDOCOLOR_LUT, "Pseudo color lut", &Make<CXelPseudoColorClass>},
    {XIP_OBJTYPE_TEMPERATURE_DISPLAY, "Temperature display", &Make<CXelTemperatureDisplayClass>},
};

}  // namespace

UINT CatalogueSize() { return static_cast<UINT>(std::size(kCatalogue)); }

const TCatalogueEntry* CatalogueEntryAt(UINT index) { return index < CatalogueSize() ? &kCatalogue[index] : nullptr; }

const TCatalogueEntry* CatalogueEntryOfType(UINT type) {
  for (const TCatalogueEntry& entry : kCatalogue)
    if (entry.type == type) return &entry;
  return nullptr;
}
