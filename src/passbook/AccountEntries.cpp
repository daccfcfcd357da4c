#include "passbook/AccountEntries.h"

#include <unordered_map>

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
  TAccountLines(const std::string& accountKey, std::function<void(const TkzmEntry&)> take)
      : m_name(KeyName(accountKey)), m_kind(KeyKind(accountKey)), m_take(std::move(take)) {}
  void Entry(const TEntryLine& line) override {
    const bool from = line.accountKind == m_kind && IsAccount(line, line.account);
    const bool into = line.kind == m_kind && m_kind == kKindAsset && IsAccount(line, line.category);
    if (from || into) m_take(MakeEntry(line));
  }
  void Kept(int32_t, std::string_view) override {}

 private:
  bool IsAccount(const TEntryLine& line, std::string_view name) {
    std::string& slot = m_seen[std::string(1, line.cp932 ? 'c' : 'u') + std::string(name)];
    if (slot.empty()) {
      std::string buffer;
      slot = LineText(line, name, buffer) == m_name ? "1" : "0";
    }
    return slot == "1";
  }

  std::string m_name;
  int m_kind = 0;
  std::function<void(const TkzmEntry&)> m_take;
  std::unordered_map<std::string, std::string> m_seen;  // the file's name: "1" when it is the account
};

bool Touches(const TkzmEntry& entry, const std::string& accountKey) {
  return entry.accountKey == accountKey || (entry.categoryKey == accountKey && KeyKind(accountKey) == kKindAsset);
}

}  // namespace

bool ForEachAccountEntry(TkzmDataUnit& data, const std::string& accountKey, TDayNumber first, TDayNumber last,
                         const std::function<void(const TkzmEntry&)>& take) {
  bool read = true;
  for (const TMonthOfFile& month : MonthsToWalk(data)) {
    TDayNumber from = 0;
    TDayNumber to = 0;
    if (!MonthDaysInRange(month.year, month.month, first, last, from, to)) continue;
    const auto inRange = [&](const TkzmEntry& entry) {
      if (entry.date >= from && entry.date <= to) take(entry);
    };
    if (const auto* held = data.HeldEntries(month.year, month.month)) {
      for (const auto& entry : *held) {
        if (Touches(*entry, accountKey)) inRange(*entry);
      }
    } else {
      TAccountLines lines(accountKey, inRange);
      if (!data.ReadMonthLines(month.year, month.month, lines)) read = false;
    }
  }
  return read;
}

}  // namespace kzm
