// The window procedures of the standard controls, registered together when the library loads.
#pragma once

#include <winui/winuser.h>

namespace winui::controls {

WNDPROC StaticWindowProc();
WNDPROC ButtonWindowProc();
WNDPROC EditWindowProc();
WNDPROC ComboBoxWindowProc();
WNDPROC ComboListWindowProc();

}  // namespace winui::controls
