#include "foundation/MultiStringList.h"

#include <cassert>

namespace kzm {

const std::string& TMultiStringList::Strings(int index) const {
  assert(index >= 0 && index < Count());
  return m_items[static_cast<size_t>(index)].s;
}

TValueRecord& TMultiStringList::Record(int index) {
  assert(index >= 0 && index < Count());
  return m_items[static_cast<size_t>(index)].record;
}

const TValueRecord& TMultiStringList::Record(int index) const {
  assert(index >= 0 && index < Count());
  return m_items[static_cast<size_t>(index)].record;
}

int TMultiStringList::Add(std::string s) {
  m_items.push_back({std::move(s), {}});
  return Count() - 1;
}

void TMultiStringList::Insert(int index, std::string s) {
  assert(index >= 0 && index <= Count());
  m_items.insert(m_items.begin() + index, TItem{std::move(s), {}});
}

void TMultiStringList::Delete(int index) {
  assert(index >= 0 && index < Count());
  m_items.erase(m_items.begin() + index);
}

void TMultiStringList::Clear() { m_items.clear(); }

}  // namespace kzm
