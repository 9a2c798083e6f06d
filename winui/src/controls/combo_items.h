// The item list of a combo box: texts, item data, optional sorting and the current selection.
#pragma once

#include <winui/windef.h>

#include <string>
#include <string_view>
#include <vector>

namespace winui::controls {

class ComboItems {
 public:
  static constexpr int kNone = -1;

  int Count() const { return static_cast<int>(items_.size()); }
  bool Valid(int index) const { return index >= 0 && index < Count(); }
  const std::string& Text(int index) const { return items_[static_cast<std::size_t>(index)].text; }
  LRESULT Data(int index) const { return items_[static_cast<std::size_t>(index)].data; }
  void SetData(int index, LRESULT data) { items_[static_cast<std::size_t>(index)].data = data; }

  // Sorted: the place in case-insensitive order, after equal texts; otherwise the end.
  int Add(std::string text, bool sorted);
  // Unsorted insertion at `index` (-1 for the end); kNone when `index` is past the end.
  int Insert(int index, std::string text);
  void Remove(int index);
  void Clear();

  // Case-insensitive search that starts after `after` and wraps around, as Windows searches.
  int FindExact(int after, std::string_view text) const;
  int FindPrefix(int after, std::string_view prefix) const;

  int Selected() const { return selected_; }
  // Out-of-range selects nothing; returns whether the selection changed.
  bool Select(int index);

 private:
  struct Item {
    std::string text;
    LRESULT data = 0;
  };
  template <class Match>
  int FindFrom(int after, Match match) const;
  int InsertAt(int index, std::string text);

  std::vector<Item> items_;
  int selected_ = kNone;
};

}  // namespace winui::controls
