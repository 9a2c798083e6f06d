#include "combo_items.h"

#include <algorithm>
#include <cctype>

namespace winui::controls {
namespace {

char Folded(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool LessIgnoringCase(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return Folded(x) < Folded(y); });
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Folded(x) == Folded(y); });
}

}  // namespace

int ComboItems::Add(std::string text, bool sorted) {
  if (!sorted) return InsertAt(Count(), std::move(text));
  const auto place = std::upper_bound(items_.begin(), items_.end(), text, [](const std::string& t, const Item& item) {
    return LessIgnoringCase(t, item.text);
  });
  return InsertAt(static_cast<int>(place - items_.begin()), std::move(text));
}

int ComboItems::Insert(int index, std::string text) {
  if (index == kNone) index = Count();
  if (index < 0 || index > Count()) return kNone;
  return InsertAt(index, std::move(text));
}

int ComboItems::InsertAt(int index, std::string text) {
  items_.insert(items_.begin() + index, Item{std::move(text), 0});
  // The selection follows its item, not its position.
  if (selected_ >= index) ++selected_;
  return index;
}

void ComboItems::Remove(int index) {
  items_.erase(items_.begin() + index);
  if (selected_ == index)
    selected_ = kNone;
  else if (selected_ > index)
    --selected_;
}

void ComboItems::Clear() {
  items_.clear();
  selected_ = kNone;
}

template <class Match>
int ComboItems::FindFrom(int after, Match match) const {
  const int count = Count();
  const int start = Valid(after) ? after + 1 : 0;
  for (int step = 0; step < count; ++step) {
    const int index = (start + step) % count;
    if (match(Text(index))) return index;
  }
  return kNone;
}

int ComboItems::FindExact(int after, std::string_view text) const {
  return FindFrom(after, [&](const std::string& t) { return EqualIgnoringCase(t, text); });
}

int ComboItems::FindPrefix(int after, std::string_view prefix) const {
  return FindFrom(after, [&](const std::string& t) {
    return t.size() >= prefix.size() && EqualIgnoringCase(std::string_view(t).substr(0, prefix.size()), prefix);
  });
}

bool ComboItems::Select(int index) {
  const int next = Valid(index) ? index : kNone;
  const bool changed = next != selected_;
  selected_ = next;
  return changed;
}

}  // namespace winui::controls
