// Keyboard focus, activation, mouse capture and the key-state table.
#pragma once

#include "window.h"

namespace winui::core {

struct FocusState {
  HWND focus = nullptr;
  HWND active = nullptr;
  HWND capture = nullptr;
};
// Focus, activation and capture of the calling thread, as each thread has its own on Windows.
FocusState& FocusOfThisThread();

// Drops focus, capture and activation held by a window that `matches(gone, holder)` says is going.
void ForgetInputFor(const Window* gone, bool (*matches)(const Window* gone, const Window* holder));

// Injected input waits in the queue as this message until the loop takes it (see ResolveRawInput).
inline constexpr UINT kRawInputMessage = 0xFFF0;
// Turns a raw input event into the message it means now; false when it means nothing (a drag step,
// a click on a disabled window, a key with nobody to receive it).
bool ResolveRawInput(MSG* msg);

void SetKeyDown(int virtualKey, bool down);
bool IsKeyDown(int virtualKey);
void SetCursorPosition(POINT screen);
POINT CursorPosition();

}  // namespace winui::core
