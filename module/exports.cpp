// The five functions a host finds by name. Objects are made and freed only here, so the library's
// own allocator is used for both.
#include "module/catalogue.h"

#include <XelImgProcess/XelPluginExports.h>

namespace {
constexpr UINT kInfoName = 0;
}

extern "C" UINT XelImgProcessGetNumObj() { return CatalogueSize(); }

extern "C" UINT XelImgProcessGetObjType(UINT index) {
  const TCatalogueEntry* entry = CatalogueEntryAt(index);
  return entry != nullptr ? entry->type : XIP_OBJTYPE_NONE;
}

extern "C" const char* XelImgProcessGetObjInfo(UINT type, UINT info) {
  const TCatalogueEntry* entry = CatalogueEntryOfType(type);
  return entry != nullptr && info == kInfoName ? entry->name : nullptr;
}

extern "C" CXelImgProcess_0* XelImgProcessCreateInstance(UINT type, CXelImgProcessInstance_0* record) {
  const TCatalogueEntry* entry = CatalogueEntryOfType(type);
  return entry != nullptr ? entry->create(record) : nullptr;
}

// An object some other library made is left alone: freeing it here would use the wrong allocator.
extern "C" void XelImgProcessDeleteInstance(CXelImgProcess_0* object) {
  if (object == nullptr || CatalogueEntryOfType(object->GetObjType()) == nullptr) return;
  delete object;
}
