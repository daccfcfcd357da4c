#include "archive/FilesList.h"

#include <algorithm>

namespace kzm {

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
           return lower(static_cast<unsigned char>(x)) == lower(static_cast<unsigned char>(y));
         });
}

}  // namespace

int TfilesList::AddObject(std::string name, const TArcEntry& entry) {
  m_items.push_back({std::move(name), entry});
  return Count() - 1;
}

int TfilesList::AddObject(std::string name) {
  std::int32_t largest = 0;
  for (const TItem& item : m_items) largest = std::max(largest, item.entry.id);
  TArcEntry entry;
  entry.id = largest + 1;
  entry.nameLength = static_cast<std::int32_t>(name.size());
  entry.flag = 1;
  return AddObject(std::move(name), entry);
}

void TfilesList::Insert(int index, std::string name) {
  TArcEntry entry;
  entry.nameLength = static_cast<std::int32_t>(name.size());
  m_items.insert(m_items.begin() + std::clamp(index, 0, Count()), {std::move(name), entry});
}

void TfilesList::Put(int index, std::string name) {
  TItem& item = m_items.at(index);
  item.entry.nameLength = static_cast<std::int32_t>(name.size());
  item.name = std::move(name);
}

void TfilesList::Delete(int index) {
  if (index >= 0 && index < Count()) m_items.erase(m_items.begin() + index);
}

int TfilesList::IndexOfName(std::string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    if (EqualsIgnoringCase(m_items[i].name, name)) return i;
  }
  return -1;
}

std::string TfilesList::Text() const {
  std::string text;
  for (const TItem& item : m_items) text += item.entry.Serialize() + item.name;
  return text;
}

void TfilesList::SetText(std::string_view text) {
  Clear();
  while (text.size() >= TArcEntry::kBytes) {
    const TArcEntry entry = TArcEntry::Parse(reinterpret_cast<const std::uint8_t*>(text.data()));
    text.remove_prefix(TArcEntry::kBytes);
    if (entry.nameLength < 0 || static_cast<std::size_t>(entry.nameLength) > text.size()) break;
    AddObject(std::string(text.substr(0, entry.nameLength)), entry);
    text.remove_prefix(entry.nameLength);
  }
}

}  // namespace kzm
