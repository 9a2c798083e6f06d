// Update regions and the order in which windows get WM_NCPAINT and WM_PAINT.
#pragma once

#include "window.h"

namespace winui::core {

// Adds `rc` (client coordinates; null for all) to the window's update region, and to the parts of
// its children that lie under it, because the parent's painting covers them.
void Invalidate(Window* window, const RECT* rc, bool erase);
// The area a child covers (or covered) in its parent, repainted after it moves or hides.
void InvalidateUnderChild(Window* child, const RECT& rectInParent);
// Sends WM_NCPAINT where a frame is due and returns the next window of the calling thread that
// needs WM_PAINT: parents before children, lower siblings before those above them.
HWND NextWindowToPaint();
// Paints everything pending on the calling thread now.
void PaintAllPending();

}  // namespace winui::core
