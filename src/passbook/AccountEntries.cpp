#include "passbook/AccountEntries.h"

#include <string_view>
#include <vector>

#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/MonthLines.h"
#include "passbook/MonthRange.h"

namespace kzm {

namespace {

// Whether a line names the account is settled on its names as the file has them, so that
// only those lines become entries; each name is decoded once.
class TAccountLines final : public TMonthLineSink {
 public:
  TAccountLines(const std::string& accountKey, const std::function<void(const TkzmEntry&)>& take)
      : m_name(KeyName(accountKey)), m_kind(KeyKind(accountKey)), m_take(take) {}
  // The days of the month being read that count.
  void SetDays(TDayNumber first, TDayNumber last) {
    m_first = first;
    m_last = last;
  }
  void Entry(const TEntryLine& line) override {
    if (line.date < m_first || line.date > m_last) return;
    const bool from = line.accountKind == m_kind && IsAccount(line, line.account);
    const bool into = line.kind == m_kind && m_kind == kKindAsset && IsAccount(line, line.category);
    if (from || into) m_take(MakeEntry(line));
  }
  void Kept(int32_t, std::string_view) override {}

 private:
  // A passbook uses few names again and again: a short list beats hashing a new string for
  // every line.
  static constexpr size_t kMaxSeen = 256;
  struct TSeen {
    bool cp932 = false;
    std::string name;  // as in the file
    bool account = false;
  };

  bool IsAccount(const TEntryLine& line, std::string_view name) {
    for (const TSeen& seen : m_seen) {
      if (seen.cp932 == line.cp932 && seen.name == name) return seen.account;
    }
    std::string buffer;
    const bool account = LineText(line, name, buffer) == m_name;
    // A damaged file full of odd names must not make every look-up slow.
    if (m_seen.size() < kMaxSeen) m_seen.push_back({line.cp932, std::string(name), account});
    return account;
  }

  std::string m_name;
  int m_kind = 0;
  const std::function<void(const TkzmEntry&)>& m_take;
  TDayNumber m_first = 0;
  TDayNumber m_last = 0;
  std::vector<TSeen> m_seen;
};

bool Touches(const TkzmEntry& entry, const std::string& accountKey) {
  return entry.accountKey == accountKey || (entry.categoryKey == accountKey && KeyKind(accountKey) == kKindAsset);
}

}  // namespace

bool ForEachAccountEntry(TkzmDataUnit& data, const std::string& accountKey, TDayNumber first, TDayNumber last,
                         const std::function<void(const TkzmEntry&)>& take) {
  bool read = true;
  TAccountLines lines(accountKey, take);
  for (const TMonthOfFile& month : MonthsToWalk(data)) {
    TDayNumber from = 0;
    TDayNumber to = 0;
    if (!MonthDaysInRange(month.year, month.month, first, last, from, to)) continue;
    if (const auto* held = data.HeldEntries(month.year, month.month)) {
      for (const auto& entry : *held) {
        if (entry->date >= from && entry->date <= to && Touches(*entry, accountKey)) take(*entry);
      }
    } else {
      lines.SetDays(from, to);
      if (!data.ReadMonthLines(month.year, month.month, lines)) read = false;
    }
  }
  return read;
}

}  // namespace kzm
