#include "edit_buffer.h"

#include <cctype>

namespace winui::controls {
namespace {

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

}  // namespace

std::string EditBuffer::SelectedText() const {
  return text_.substr(SelectionStart(), SelectionEnd() - SelectionStart());
}

void EditBuffer::SetText(std::string text) {
  text_ = std::move(text);
  anchor_ = caret_ = 0;
}

void EditBuffer::Select(std::size_t anchor, std::size_t caret) {
  anchor_ = Clamp(anchor);
  caret_ = Clamp(caret);
}

void EditBuffer::MoveCaret(std::size_t to, bool extendSelection) {
  caret_ = Clamp(to);
  if (!extendSelection) anchor_ = caret_;
}

bool EditBuffer::ReplaceSelection(std::string_view insert, std::size_t limit) {
  const std::size_t start = SelectionStart();
  const std::size_t kept = text_.size() - (SelectionEnd() - start);
  const std::size_t room = limit > kept ? limit - kept : 0;
  const std::string_view fitting = insert.substr(0, room);
  text_.replace(start, SelectionEnd() - start, fitting);
  anchor_ = caret_ = start + fitting.size();
  return fitting.size() == insert.size();
}

bool EditBuffer::EraseBackward() {
  if (!HasSelection()) {
    if (caret_ == 0) return false;
    anchor_ = caret_ - 1;
  }
  return ReplaceSelection({}, text_.size());
}

bool EditBuffer::EraseForward() {
  if (!HasSelection()) {
    if (caret_ == text_.size()) return false;
    anchor_ = caret_ + 1;
  }
  return ReplaceSelection({}, text_.size());
}

std::size_t EditBuffer::PreviousWordStart(std::size_t from) const {
  std::size_t at = Clamp(from);
  while (at > 0 && IsSpace(text_[at - 1])) --at;
  while (at > 0 && !IsSpace(text_[at - 1])) --at;
  return at;
}

std::size_t EditBuffer::NextWordStart(std::size_t from) const {
  std::size_t at = Clamp(from);
  while (at < text_.size() && !IsSpace(text_[at])) ++at;
  while (at < text_.size() && IsSpace(text_[at])) ++at;
  return at;
}

std::size_t EditBuffer::WordEnd(std::size_t from) const {
  std::size_t at = Clamp(from);
  while (at < text_.size() && !IsSpace(text_[at])) ++at;
  return at;
}

}  // namespace winui::controls
