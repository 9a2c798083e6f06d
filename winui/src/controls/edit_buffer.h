// The text of a single-line edit with its caret and selection; knows nothing about windows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace winui::controls {

class EditBuffer {
 public:
  const std::string& Text() const { return text_; }
  std::size_t Size() const { return text_.size(); }
  std::size_t Caret() const { return caret_; }
  std::size_t Anchor() const { return anchor_; }
  std::size_t SelectionStart() const { return anchor_ < caret_ ? anchor_ : caret_; }
  std::size_t SelectionEnd() const { return anchor_ < caret_ ? caret_ : anchor_; }
  bool HasSelection() const { return anchor_ != caret_; }
  std::string SelectedText() const;

  // Replaces everything and puts the caret at the start.
  void SetText(std::string text);
  // Positions past the end are clamped; the caret ends at `caret`.
  void Select(std::size_t anchor, std::size_t caret);
  void MoveCaret(std::size_t to, bool extendSelection);

  // Replaces the selection with as much of `insert` as keeps the text within `limit`; returns
  // false when some of it had to be dropped.
  bool ReplaceSelection(std::string_view insert, std::size_t limit);
  // Backspace and Delete: remove the selection, or one character before or after the caret.
  // Return whether the text changed.
  bool EraseBackward();
  bool EraseForward();

  // Ctrl+Left and Ctrl+Right stops, and the word a double click selects.
  std::size_t PreviousWordStart(std::size_t from) const;
  std::size_t NextWordStart(std::size_t from) const;
  std::size_t WordEnd(std::size_t from) const;

 private:
  std::size_t Clamp(std::size_t position) const { return position < text_.size() ? position : text_.size(); }

  std::string text_;
  std::size_t anchor_ = 0;
  std::size_t caret_ = 0;
};

}  // namespace winui::controls
