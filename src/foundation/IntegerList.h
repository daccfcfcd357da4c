#pragma once

// TIntegerList: integers that grow on demand, so a caller may read or write any index
// (per-day entry counts, palettes).

#include <cstdint>
#include <vector>

namespace kzm {

class TIntegerList {
 public:
  [[nodiscard]] int Count() const { return static_cast<int>(m_items.size()); }
  // Appends; returns the index.
  int Add(int32_t value);
  // The value at index; zeros are appended first when index is past the end. index >= 0.
  int32_t Items(int index);
  // Stores value, appending zeros first when index is past the end. index >= 0.
  void SetItems(int index, int32_t value);
  // First index holding value, -1 if none.
  [[nodiscard]] int IndexOf(int32_t value) const;
  void Clear() { m_items.clear(); }

 private:
  void GrowTo(int index);
  std::vector<int32_t> m_items;
};

}  // namespace kzm
