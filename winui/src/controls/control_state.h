// Per-window state of a standard control, kept behind the first pointer-sized slot of the window's
// extra bytes, which is where Windows' own controls keep theirs.
#pragma once

#include <winui/winuser.h>

#include <memory>

namespace winui::controls {

inline constexpr int kStateSlot = 0;
inline constexpr int kExtraBytes = static_cast<int>(sizeof(LONG_PTR));

template <class State>
State* FindState(HWND hwnd) {
  return reinterpret_cast<State*>(GetWindowLongPtr(hwnd, kStateSlot));
}

// Messages can arrive before WM_CREATE (WM_NCCREATE, WM_GETMINMAXINFO, ...), so the state is made
// on first use rather than in one particular message.
template <class State>
State& StateOf(HWND hwnd) {
  if (State* existing = FindState<State>(hwnd)) return *existing;
  auto made = std::make_unique<State>();
  SetWindowLongPtr(hwnd, kStateSlot, reinterpret_cast<LONG_PTR>(made.get()));
  return *made.release();
}

template <class State>
void FreeState(HWND hwnd) {
  std::unique_ptr<State> owned(FindState<State>(hwnd));
  SetWindowLongPtr(hwnd, kStateSlot, 0);
}

}  // namespace winui::controls
