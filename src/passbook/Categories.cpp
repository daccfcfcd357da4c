#include "passbook/Categories.h"

#include <algorithm>
#include <cassert>

#include "foundation/Text.h"

namespace kzm {

const std::vector<std::string>& KindNames() {
  static const std::vector<std::string> names = {
      "(なし)", "支出", "資産", "収入", "メモ", "支出合計", "収入合計",
  };
  return names;
}

int KindGroup(int kind) {
  switch (kind) {
    case kKindPayment:
    case kKindAsset:
    case kKindReceipt:
      return 1;
    case kKindMemo:
      return 2;
    case kKindPaymentTotal:
    case kKindReceiptTotal:
      return 3;
    default:
      return 0;
  }
}

int KindCode(std::string_view name) {
  const auto& names = KindNames();
  // The name as written is by far the most common, and a plain comparison is quick: it is
  // asked for every line of a month file.
  const auto exact = std::find(names.begin(), names.end(), name);
  if (exact != names.end()) return static_cast<int>(exact - names.begin());
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (SameText(names[i], name)) return static_cast<int>(i);
  }
  return kKindNone;
}

std::string MakeKey(std::string_view name, int kind) {
  std::string key;
  AssignKey(key, name, kind);
  return key;
}

void AssignKey(std::string& key, std::string_view name, int kind) {
  key.resize(2 + name.size());
  key[0] = '\xFF';
  key[1] = static_cast<char>(static_cast<unsigned char>(kind));
  name.copy(key.data() + 2, name.size());
}

int KeyKind(std::string_view key) {
  if (key.size() < 2) return kKindNone;
  const int kind = static_cast<unsigned char>(key[1]);
  return kind < kKindCount ? kind : kKindNone;
}

std::string KeyName(std::string_view key) {
  return key.size() < 2 ? std::string() : std::string(key.substr(2));
}

void THeadList::Clear() {
  m_items.clear();
  m_first = 0;
  m_last = 0;
  m_dayAmounts.clear();
  m_dayMemos.clear();
}

THeadData& THeadList::Items(int index) {
  assert(index >= 0 && index < Count());
  return m_items[static_cast<std::size_t>(index)];
}

const THeadData& THeadList::Items(int index) const {
  assert(index >= 0 && index < Count());
  return m_items[static_cast<std::size_t>(index)];
}

int THeadList::IndexOfKey(std::string_view key) const {
  for (int i = 0; i < Count(); ++i) {
    if (Items(i).key == key) return i;
  }
  return -1;
}

int THeadList::AddKey(std::string_view key) {
  const int index = IndexOfKey(key);
  if (index >= 0) return index;
  m_items.push_back(THeadData{std::string(key)});
  return Count() - 1;
}

void THeadList::InsertKey(int index, std::string_view key) {
  assert(index >= 0 && index <= Count());
  m_items.insert(m_items.begin() + index, THeadData{std::string(key)});
}

void THeadList::Delete(int index) {
  assert(index >= 0 && index < Count());
  m_items.erase(m_items.begin() + index);
}

void THeadList::Move(int from, int to) {
  assert(from >= 0 && from < Count() && to >= 0 && to < Count());
  const auto first = m_items.begin();
  if (from < to) {
    std::rotate(first + from, first + from + 1, first + to + 1);
  } else if (from > to) {
    std::rotate(first + to, first + from, first + from + 1);
  }
}

void THeadList::Merge(const THeadList& other) {
  for (const THeadData& item : other.m_items) {
    if (IndexOfKey(item.key) >= 0) continue;
    m_items.push_back(item);
  }
}

void THeadList::Assign(const THeadList& other) {
  if (&other == this) return;
  Clear();
  m_first = other.m_first;
  m_last = other.m_last;
  Merge(other);
}

int THeadList::KindOfName(std::string_view displayName) const {
  int kind = kKindNone;
  for (int i = 0; i < Count(); ++i) {
    if (DisplayName(i) == displayName) kind = KindOf(i);
  }
  return kind;
}

int THeadList::CountOfKind(int kind) const {
  const auto ofKind = [kind](const THeadData& item) { return KeyKind(item.key) == kind; };
  return static_cast<int>(std::count_if(m_items.begin(), m_items.end(), ofKind));
}

const THeadData* THeadList::NthOfKind(int kind, int n) const {
  for (const THeadData& item : m_items) {
    if (KeyKind(item.key) == kind && n-- == 0) return &item;
  }
  return nullptr;
}

THeadData* THeadList::NthOfKind(int kind, int n) {
  return const_cast<THeadData*>(static_cast<const THeadList&>(*this).NthOfKind(kind, n));
}

}  // namespace kzm
