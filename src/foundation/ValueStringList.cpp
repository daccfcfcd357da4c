#include "foundation/ValueStringList.h"

#include "foundation/Text.h"

#include <algorithm>
#include <cassert>

namespace kzm {

const std::string& TiStringList::Strings(int index) const {
  assert(index >= 0 && index < Count());
  return m_items[static_cast<size_t>(index)].text;
}

void TiStringList::SetStrings(int index, std::string text) {
  assert(index >= 0 && index < Count());
  m_items[static_cast<size_t>(index)].text = std::move(text);
}

int TiStringList::Add(std::string text) { return AddValue(std::move(text), 0); }

int TiStringList::AddValue(std::string text, int value) {
  m_items.push_back({std::move(text), value});
  return Count() - 1;
}

void TiStringList::Insert(int index, std::string text, int value) {
  assert(index >= 0 && index <= Count());
  m_items.insert(m_items.begin() + index, TItem{std::move(text), value});
}

void TiStringList::Delete(int index) {
  assert(index >= 0 && index < Count());
  m_items.erase(m_items.begin() + index);
}

int TiStringList::ValueAt(int index) const {
  assert(index >= 0 && index < Count());
  return m_items[static_cast<size_t>(index)].value;
}

void TiStringList::SetValueAt(int index, int value) {
  assert(index >= 0 && index < Count());
  m_items[static_cast<size_t>(index)].value = value;
}

int TiStringList::IndexOf(std::string_view text) const {
  for (int i = 0; i < Count(); ++i) {
    if (SameText(m_items[static_cast<size_t>(i)].text, text)) return i;
  }
  return -1;
}

int TiStringList::IndexOfValue(int value) const {
  for (int i = 0; i < Count(); ++i) {
    if (m_items[static_cast<size_t>(i)].value == value) return i;
  }
  return -1;
}

int TiStringList::ValueOf(std::string_view text) const {
  const int i = IndexOf(text);
  return i < 0 ? -1 : m_items[static_cast<size_t>(i)].value;
}

void TiStringList::SortByValue(bool ascending) {
  m_ascending = ascending;
  std::stable_sort(m_items.begin(), m_items.end(), [ascending](const TItem& a, const TItem& b) {
    return ascending ? a.value < b.value : b.value < a.value;
  });
}

}  // namespace kzm
