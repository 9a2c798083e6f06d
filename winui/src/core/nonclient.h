// The non-client frame: how wide it is for a set of styles, where the mouse is on it, and painting it.
#pragma once

#include "window.h"

namespace winui::core {

RECT FrameInsets(DWORD style, DWORD exStyle);
bool HasCaption(DWORD style);
LRESULT NonClientHitTest(const Window* window, POINT screen);
void PaintNonClient(Window* window);
MINMAXINFO DefaultMinMaxInfo(const Window* window);
// Whether the window is drawn as the active one (caption colours).
bool IsDrawnActive(const Window* window);

}  // namespace winui::core
