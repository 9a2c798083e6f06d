// What an "Edit" window remembers, shared by its message handling and its view.
#pragma once

#include "control_support.h"
#include "edit_buffer.h"

#include <cstddef>
#include <string_view>

namespace winui::controls {

// A single-line edit's default limit, as on Windows.
inline constexpr std::size_t kDefaultEditLimit = 30000;
inline constexpr std::size_t kLargestEditLimit = 0x7FFFFFFE;

struct EditState {
  ControlFont font;
  EditBuffer buffer;
  std::size_t limit = kDefaultEditLimit;
  int scroll = 0;  // pixels of text hidden on the left
  bool focused = false;
  bool mouseSelecting = false;
  bool modified = false;
};

// Geometry and painting, in edit_view.cpp.
RECT EditFormatRect(HWND hwnd);
// Pixel width of `text` in the edit's font.
int EditTextWidth(HWND hwnd, const EditState& state, std::string_view text);
// The character boundary nearest to client x.
std::size_t EditHitTest(HWND hwnd, const EditState& state, int x);
// Scrolls just enough to show the caret; without ES_AUTOHSCROLL the text never scrolls.
void EditScrollToCaret(HWND hwnd, EditState& state);
void PaintEdit(HWND hwnd, const EditState& state);

}  // namespace winui::controls
