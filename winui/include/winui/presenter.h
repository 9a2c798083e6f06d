// The on-screen presenter, a library of its own (xelwinui_presenter, SDL2) so that only the programs
// that show windows on a real display load a display client.
#pragma once

#include <string>

namespace winui {

// Shows the screen in a window of the desktop and runs the calling thread's message loop until
// WM_QUIT, the last top-level window is gone, or the display window is closed. The display window
// can be resized: the screen takes its new size (divided by the scale), so a larger window shows
// more desktop rather than a blurred enlargement. Returns the exit
// code, or -1 with a message when there is no display (or the layer was built without SDL2).
struct PresenterOptions {
  std::string title = "winui";
  int scale = 1;
  // Stop after this many milliseconds (0: run until closed); used by tests.
  unsigned stopAfterMs = 0;
};
int RunPresenter(const PresenterOptions& options, std::string* error);

}  // namespace winui
