#pragma once

// TiStringList: strings that each carry an integer value (holiday and seasonal-day lists,
// chart slices). Unsorted; duplicates allowed.

#include <string>
#include <string_view>
#include <vector>

namespace kzm {

class TiStringList {
 public:
  [[nodiscard]] int Count() const { return static_cast<int>(m_items.size()); }
  [[nodiscard]] const std::string& Strings(int index) const;
  void SetStrings(int index, std::string text);

  // Appends text with value 0; returns its index.
  int Add(std::string text);
  // Appends text with value; returns its index.
  int AddValue(std::string text, int value);
  void Insert(int index, std::string text, int value = 0);
  void Delete(int index);
  void Clear() { m_items.clear(); }

  [[nodiscard]] int ValueAt(int index) const;
  void SetValueAt(int index, int value);
  // Index of the first string equal to text without regard to ASCII case, -1 if none.
  [[nodiscard]] int IndexOf(std::string_view text) const;
  // Index of the first string whose value equals value, -1 if none.
  [[nodiscard]] int IndexOfValue(int value) const;
  // Value of the first string equal to text without regard to ASCII case, -1 if none.
  [[nodiscard]] int ValueOf(std::string_view text) const;

  // Sorts by value; strings with equal values keep their order.
  void SortByValue(bool ascending);
  [[nodiscard]] bool Ascending() const { return m_ascending; }

 private:
  struct TItem {
    std::string text;
    int value = 0;
  };
  std::vector<TItem> m_items;
  bool m_ascending = true;
};

}  // namespace kzm
