#include "search/SearchSort.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string_view>
#include <unordered_map>

#include "passbook/Categories.h"

namespace kzm {

namespace {

// The rank of every distinct text among all distinct texts, by less.
class TTextRanks {
 public:
  int Add(std::string text) {
    const auto [it, added] = m_index.try_emplace(std::move(text), static_cast<int>(m_texts.size()));
    if (added) m_texts.push_back(&it->first);
    return it->second;
  }
  // Turns the ids returned by Add into ranks.
  std::vector<int> Ranks(const TTextLess& less) const {
    std::vector<int> byRank(m_texts.size());
    std::iota(byRank.begin(), byRank.end(), 0);
    std::sort(byRank.begin(), byRank.end(), [&](int a, int b) { return less(*m_texts[a], *m_texts[b]); });
    std::vector<int> rankOfId(m_texts.size());
    for (size_t r = 0; r < byRank.size(); ++r) rankOfId[static_cast<size_t>(byRank[r])] = static_cast<int>(r);
    return rankOfId;
  }

 private:
  std::unordered_map<std::string, int> m_index;
  std::vector<const std::string*> m_texts;  // by id; map nodes do not move
};

// One sort key per result: a number for date and amount, kind and text rank for the others.
std::vector<int64_t> SortKeys(const std::vector<TkzmEntry>& results, int column, const TTextLess& less) {
  std::vector<int64_t> keys(results.size());
  if (column == kColumnDate || column == kColumnAmount) {
    for (size_t i = 0; i < results.size(); ++i) {
      const TkzmEntry& e = results[i];
      keys[i] = column == kColumnDate ? (int64_t{e.date} << 32) + e.sequence : int64_t{e.amount};
    }
    return keys;
  }
  const bool byKey = column == kColumnCategory || column == kColumnAccount;
  TTextRanks texts;
  std::vector<int> ids(results.size());
  for (size_t i = 0; i < results.size(); ++i) {
    const TkzmEntry& e = results[i];
    switch (column) {
      case kColumnCategory: ids[i] = texts.Add(KeyName(e.categoryKey)); break;
      case kColumnAccount: ids[i] = texts.Add(KeyName(e.accountKey)); break;
      case kColumnItem: ids[i] = texts.Add(e.itemText); break;
      default: ids[i] = texts.Add(e.note); break;
    }
  }
  const std::vector<int> ranks = texts.Ranks(less);
  for (size_t i = 0; i < results.size(); ++i) {
    const TkzmEntry& e = results[i];
    const int64_t kind = byKey ? KeyKind(column == kColumnCategory ? e.categoryKey : e.accountKey) : 0;
    keys[i] = (kind << 32) + ranks[static_cast<size_t>(ids[i])];
  }
  return keys;
}

}  // namespace

std::vector<uint32_t> SearchResultsOrder(const std::vector<TkzmEntry>& results, int column, bool descending,
                                         const TTextLess& less) {
  const std::vector<int64_t> keys = SortKeys(results, column, less);
  std::vector<uint32_t> order(results.size());
  std::iota(order.begin(), order.end(), 0u);
  std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    return descending ? keys[b] < keys[a] : keys[a] < keys[b];
  });
  return order;
}

void SortSearchResults(std::vector<TkzmEntry>& results, int column, bool descending, const TTextLess& less) {
  const std::vector<uint32_t> order = SearchResultsOrder(results, column, descending, less);
  std::vector<TkzmEntry> sorted;
  sorted.reserve(results.size());
  for (uint32_t i : order) sorted.push_back(std::move(results[i]));
  results = std::move(sorted);
}

}  // namespace kzm
