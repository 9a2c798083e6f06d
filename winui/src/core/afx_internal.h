// What the MFC-style classes share between their source files.
#pragma once

#include <winui/afxwin.h>

// The next window made on this thread belongs to `wnd` (attached before its first message).
void AfxSetCreatingWindow(CWnd* wnd);
