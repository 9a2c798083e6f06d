// Host-called entries make this library's window-framework state current for their duration, so
// that resource lookups (dialog templates, icons) find the library's own resources.
#pragma once

#include <winui/afxwin.h>

#define XEL_MANAGE_PROCESSING_STATE() AFX_MANAGE_STATE(AfxGetStaticModuleState())
