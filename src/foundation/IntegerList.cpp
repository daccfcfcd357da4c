#include "foundation/IntegerList.h"

#include <algorithm>
#include <cassert>

namespace kzm {

int TIntegerList::Add(int32_t value) {
  m_items.push_back(value);
  return Count() - 1;
}

void TIntegerList::GrowTo(int index) {
  assert(index >= 0);
  if (index >= Count()) m_items.resize(static_cast<size_t>(index) + 1, 0);
}

int32_t TIntegerList::Items(int index) {
  GrowTo(index);
  return m_items[static_cast<size_t>(index)];
}

void TIntegerList::SetItems(int index, int32_t value) {
  GrowTo(index);
  m_items[static_cast<size_t>(index)] = value;
}

int TIntegerList::IndexOf(int32_t value) const {
  const auto it = std::find(m_items.begin(), m_items.end(), value);
  return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

}  // namespace kzm
