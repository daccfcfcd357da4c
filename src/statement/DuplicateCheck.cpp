#include "statement/DuplicateCheck.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <unordered_map>

#include "passbook/AccountEntries.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/MonthLines.h"
#include "passbook/MonthRange.h"
#include "statement/WidthFold.h"

namespace kzm {

int32_t FlowOf(const TkzmEntry& entry, const std::string& accountKey) {
  const bool from = entry.accountKey == accountKey;
  const bool into = entry.categoryKey == accountKey && KeyKind(entry.categoryKey) == kKindAsset;
  if (from == into) return 0;
  const int kind = KeyKind(entry.categoryKey);
  if (into) return entry.amount;
  // A receipt comes into its account; payments and moves leave it.
  return kind == kKindReceipt ? entry.amount : -entry.amount;
}

std::vector<TAccountFlow> CollectAccountFlows(TkzmDataUnit& data, const std::string& accountKey, TDayNumber first,
                                              TDayNumber last) {
  std::vector<TAccountFlow> flows;
  // A month held in memory counts as held; the others are read in passing, so the check
  // loads no month and leaves the day the windows work on where it is.
  (void)ForEachAccountEntry(data, accountKey, first, last, [&](const TkzmEntry& entry) {
    const int32_t flow = FlowOf(entry, accountKey);
    if (flow != 0) flows.push_back({entry.date, flow, NormaliseStatementText(entry.itemText)});
  });
  return flows;
}

namespace {

// Flows indexed by amount, each list in date order, with a taken mark per flow.
class TFlowIndex {
 public:
  explicit TFlowIndex(const std::vector<TAccountFlow>& flows) : m_flows(flows), m_taken(flows.size(), false) {
    for (size_t i = 0; i < flows.size(); ++i) m_byAmount[flows[i].flow].push_back(i);
    for (auto& [flow, list] : m_byAmount) {
      std::stable_sort(list.begin(), list.end(),
                       [&](size_t a, size_t b) { return m_flows[a].date < m_flows[b].date; });
    }
  }

  // Takes the free flow nearest to row within days that fits (text or id when certain).
  bool Take(const TRowToCheck& row, int days, bool certain) {
    const auto found = m_byAmount.find(row.flow);
    if (found == m_byAmount.end()) return false;
    const std::vector<size_t>& list = found->second;
    auto at = std::lower_bound(list.begin(), list.end(), row.date - days,
                               [&](size_t i, TDayNumber day) { return m_flows[i].date < day; });
    size_t best = SIZE_MAX;
    for (; at != list.end() && m_flows[*at].date <= row.date + days; ++at) {
      if (m_taken[*at]) continue;
      if (certain && !row.knownId && m_flows[*at].text != row.text) continue;
      if (best == SIZE_MAX || std::abs(m_flows[*at].date - row.date) < std::abs(m_flows[best].date - row.date)) {
        best = *at;
      }
    }
    if (best == SIZE_MAX) return false;
    m_taken[best] = true;
    return true;
  }

 private:
  const std::vector<TAccountFlow>& m_flows;
  std::vector<bool> m_taken;
  std::unordered_map<int32_t, std::vector<size_t>> m_byAmount;
};

}  // namespace

std::vector<TDuplicate> FindDuplicates(const std::vector<TRowToCheck>& rows, const std::vector<TAccountFlow>& flows,
                                       int days) {
  std::vector<TDuplicate> marks(rows.size(), TDuplicate::dNew);
  TFlowIndex index(flows);
  for (size_t r = 0; r < rows.size(); ++r) {
    if (index.Take(rows[r], days, true)) marks[r] = TDuplicate::dCertain;
  }
  for (size_t r = 0; r < rows.size(); ++r) {
    if (marks[r] == TDuplicate::dNew && index.Take(rows[r], days, false)) marks[r] = TDuplicate::dLikely;
  }
  return marks;
}

}  // namespace kzm
