// Input for a headless run, as the user would give it: key presses, clicks, drags and wheel turns
// at screen points, played through the window layer's input path after the frames.
#pragma once

#include <winui/windef.h>
#include "host_kit.h"

#include <string>
#include <vector>

namespace xelimg::view {

struct InputEvent {
  enum class Kind { Key, Move, Click, RightClick, Drag, MiddleDrag, ShiftDrag, Wheel };
  Kind kind;
  int key = 0;         // Key: virtual-key code
  bool shift = false;  // Key: with Shift held
  POINT from{};        // screen point
  POINT to{};          // Drag ends
  int notches = 0;     // Wheel
};

// "key space; move 300,200; click 600,250; drag 100,100,200,180; mdrag ...; sdrag ...; rclick X,Y; wheel X,Y,N":
// events separated by ';'. Keys: a letter or digit, space, left, right, home, end, pgup, pgdn, plus, minus,
// escape, f1..f12, each also as shift+NAME.
// Throws UsageError naming the event that cannot be read.
std::vector<InputEvent> ParseInputScript(const std::string& text);

// Injects one event; the caller pumps the messages.
void Inject(const InputEvent& event);

}  // namespace xelimg::view
