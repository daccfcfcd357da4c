#include "budget/Budgets.h"

#include <iterator>

#include "foundation/Text.h"
#include "passbook/Categories.h"

namespace kzm {

namespace {

std::string BudgetPath(const std::string& folder) { return folder + "/" + kBudgetFileName; }

// One line of the file as a setting; false for a line that does not read as one.
bool ParseLine(const std::vector<std::string>& fields, std::string& key, TMonthKey& month,
               std::optional<int32_t>& amount) {
  if (fields.size() < 4 || fields[1].empty()) return false;
  int32_t value = 0;
  if (fields[0].size() != 6 || !TryParseInt(fields[0], value) || NormaliseMonthKey(value) != value) return false;
  month = value;
  const int kind = KindCode(fields[2]);
  if (kind != kKindPayment && kind != kKindReceipt) return false;
  key = MakeKey(fields[1], kind);
  amount.reset();
  if (fields[3].empty()) return true;
  if (!TryParseInt(fields[3], value)) return false;
  amount = value;
  return true;
}

std::string RecordKey(TMonthKey month, const std::string& key) { return std::to_string(month) + "," + key; }

}  // namespace

bool TBudgets::Load(const std::string& passbookFolder, std::string& error) {
  m_settings.clear();
  const auto keyOf = [](const std::vector<std::string>& fields) {
    std::string key;
    TMonthKey month = 0;
    std::optional<int32_t> amount;
    return ParseLine(fields, key, month, amount) ? RecordKey(month, key) : std::string();
  };
  if (!m_file.Load(BudgetPath(passbookFolder), keyOf, error)) return false;
  for (const TKeyedCsvStore::TRecord& record : m_file.Records()) {
    std::string key;
    TMonthKey month = 0;
    std::optional<int32_t> amount;
    if (ParseLine(record.fields, key, month, amount)) m_settings[key][month] = amount;
  }
  return true;
}

bool TBudgets::Save(const std::string& passbookFolder, std::string& error) const {
  // Written in key order, as the settings are held: by category, then month.
  TKeyedCsvStore file = m_file;
  file.ClearRecords();
  for (const auto& [key, months] : m_settings) {
    const std::string kind = KindNames()[static_cast<size_t>(KeyKind(key))];
    for (const auto& [month, amount] : months) {
      file.Set(RecordKey(month, key),
               {std::to_string(month), KeyName(key), kind, amount ? std::to_string(*amount) : std::string()});
    }
  }
  return file.Save(BudgetPath(passbookFolder), error);
}

std::optional<int32_t> TBudgets::BudgetOf(const std::string& categoryKey, TMonthKey month) const {
  const auto category = m_settings.find(categoryKey);
  if (category == m_settings.end()) return std::nullopt;
  auto setting = category->second.upper_bound(month);
  if (setting == category->second.begin()) return std::nullopt;
  return std::prev(setting)->second;
}

void TBudgets::Set(const std::string& categoryKey, TMonthKey month, std::optional<int32_t> amount) {
  auto& months = m_settings[categoryKey];
  months[month] = amount;
  // A clearing that nothing before it set is no setting at all.
  if (!amount && BudgetOf(categoryKey, PrevMonthKey(month)) == std::nullopt) months.erase(month);
  if (months.empty()) m_settings.erase(categoryKey);
}

}  // namespace kzm
