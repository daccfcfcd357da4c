#include "budget/Budgets.h"

#include <iterator>

#include "foundation/AtomicFile.h"
#include "foundation/Codec.h"
#include "foundation/Csv.h"
#include "foundation/OwnFiles.h"
#include "foundation/Text.h"
#include "passbook/Categories.h"

namespace kzm {

namespace {

constexpr size_t kMaxBudgetFileSize = 16 * 1024 * 1024;

std::string BudgetPath(const std::string& folder) { return folder + "/" + kBudgetFileName; }

// One line of the file as a setting; false for a line that does not read as one.
bool ParseLine(const std::string& line, std::string& key, TMonthKey& month, std::optional<int32_t>& amount) {
  const std::vector<std::string> fields = CsvSplit(DecodeCp932(line));
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

}  // namespace

bool TBudgets::Load(const std::string& passbookFolder, std::string& error) {
  m_settings.clear();
  m_keptLines.clear();
  m_readable = false;
  const std::string path = BudgetPath(passbookFolder);
  std::string bytes;
  if (!ReadOwnFile(path, kMaxBudgetFileSize, "予算のファイル", bytes, error)) return false;
  for (const std::string& line : NonEmptyLines(bytes)) {
    std::string key;
    TMonthKey month = 0;
    std::optional<int32_t> amount;
    if (ParseLine(line, key, month, amount)) m_settings[key][month] = amount;
    else m_keptLines.push_back(line);
  }
  m_readable = true;
  return true;
}

bool TBudgets::Save(const std::string& passbookFolder, std::string& error) const {
  const std::string path = BudgetPath(passbookFolder);
  if (!m_readable) {
    error = "予算のファイル「" + path + "」が読めなかったため、保存しません。";
    return false;
  }
  std::string bytes;
  for (const auto& [key, months] : m_settings) {
    const std::string kind = KindNames()[static_cast<size_t>(KeyKind(key))];
    for (const auto& [month, amount] : months) {
      const std::string text =
          CsvJoin({std::to_string(month), KeyName(key), kind, amount ? std::to_string(*amount) : std::string()});
      std::string line;
      std::string badChar;
      if (!EncodeCp932(text, line, &badChar)) {
        error = "「" + badChar + "」は保存できない文字です。予算を保存できませんでした。";
        return false;
      }
      bytes += line + "\r\n";
    }
  }
  for (const std::string& line : m_keptLines) bytes += line + "\r\n";
  return WriteFileAtomic(path, bytes, &error);
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

std::vector<std::string> TBudgets::CategoryKeys() const {
  std::vector<std::string> keys;
  for (const auto& entry : m_settings) keys.push_back(entry.first);
  return keys;
}

}  // namespace kzm
