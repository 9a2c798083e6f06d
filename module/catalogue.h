// The processing objects this library offers, in the order hosts list them.
#pragma once

#include <XelImgProcess/CXelImgProcessInstance_0.h>
#include <XelImgProcess/CXelImgProcess_0.h>

struct TCatalogueEntry {
  _EXIP_OBJTYPE type;
  const char* name;
  // Null when there is no memory; a throwing constructor's exception passes on.
  CXelImgProcess_0* (*create)(CXelImgProcessInstance_0* record);
};

UINT CatalogueSize();
// Null past the end.
const TCatalogueEntry* CatalogueEntryAt(UINT index);
// Null for a type this library does not make.
const TCatalogueEntry* CatalogueEntryOfType(UINT type);
