#include "report/YearReport.h"

#include <numeric>

#include "foundation/AtomicFile.h"
#include "foundation/Codec.h"
#include "foundation/Csv.h"
#include "foundation/Dates.h"
#include "foundation/Errors.h"
#include "passbook/Categories.h"

namespace kzm {

int64_t RoundedAverage(int64_t sum, int count) {
  const int64_t half = sum >= 0 ? count / 2 : -(count / 2);
  return (sum + half) / count;
}

std::vector<TMonthKey> YearMonths(int year) {
  const TDayNumber yearFirst = EncodeDate(year, 1, 1);
  const TDayNumber yearLast = EncodeDate(year, 12, 31);
  std::vector<TMonthKey> months;
  // Periods end at most a month after their key's month (ends-next-month) and a settlement
  // moves them by days, so two keys either side of the year are enough.
  THeadList period;
  for (TMonthKey key = NormaliseMonthKey(year * 100 - 1); key <= year * 100 + 102; key = NextMonthKey(key)) {
    LoadMonthPeriod(key, period);
    if (yearFirst <= period.Last() && period.Last() <= yearLast) months.push_back(key);
  }
  return months;
}

int64_t TYearRow::Total() const { return std::accumulate(amounts.begin(), amounts.end(), int64_t{0}); }

TYearReport YearReportOf(int year, const std::vector<TMonthKey>& months, const std::vector<THeadList>& summaries) {
  TYearReport report;
  report.year = year;
  report.months = months;
  THeadList order;  // every category of the year, in the order the months list them
  for (const THeadList& summary : summaries) {
    report.periods.push_back({summary.First(), summary.Last()});
    order.Merge(summary);
  }
  const size_t count = summaries.size();
  report.income.assign(count, 0);
  report.spending.assign(count, 0);
  for (int c = 0; c < order.Count(); ++c) {
    const std::string& key = order.Items(c).key;
    const int kind = order.KindOf(c);
    if (kind != kKindPayment && kind != kKindReceipt && kind != kKindAsset) continue;
    TYearRow row{key, std::vector<int64_t>(count, 0)};
    TYearBalanceRow balance{key, std::vector<std::optional<int64_t>>(count)};
    for (size_t m = 0; m < count; ++m) {
      const int index = summaries[m].IndexOfKey(key);
      if (index < 0) continue;
      const int64_t total = summaries[m].Items(index).total;
      row.amounts[m] = total;
      balance.balances[m] = total;
      if (kind == kKindPayment) report.spending[m] += total;
      if (kind == kKindReceipt) report.income[m] += total;
    }
    if (kind == kKindAsset) report.assets.push_back(std::move(balance));
    else report.categories.push_back(std::move(row));
  }
  return report;
}

TYearReport YearReport(int year, bool* saved) {
  const std::vector<TMonthKey> months = YearMonths(year);
  std::vector<THeadList> summaries(months.size());
  bool ok = true;
  for (size_t m = 0; m < months.size(); ++m) ok = BuildMonth(months[m], summaries[m]) && ok;
  if (saved) *saved = ok;
  return YearReportOf(year, months, summaries);
}

std::vector<int64_t> YearSeries(const TYearReport& report, const std::string& categoryKey) {
  if (categoryKey.empty()) return report.spending;
  for (const TYearRow& row : report.categories) {
    if (row.key == categoryKey) return {row.amounts.begin(), row.amounts.end()};
  }
  return std::vector<int64_t>(report.months.size(), 0);
}

namespace {

TYearLine SumLine(const char* label, const std::vector<int64_t>& values) {
  TYearLine line{label, 0, {values.begin(), values.end()}};
  const int64_t total = std::accumulate(values.begin(), values.end(), int64_t{0});
  line.values.emplace_back(total);
  line.values.emplace_back(values.empty() ? 0 : RoundedAverage(total, static_cast<int>(values.size())));
  return line;
}

}  // namespace

std::vector<TYearLine> YearReportLines(const TYearReport& report) {
  std::vector<TYearLine> lines;
  for (const TYearRow& row : report.categories) {
    TYearLine line{KeyName(row.key), KeyKind(row.key), {row.amounts.begin(), row.amounts.end()}};
    line.values.emplace_back(row.Total());
    line.values.emplace_back(row.Average());
    lines.push_back(std::move(line));
  }
  std::vector<int64_t> difference;
  for (size_t m = 0; m < report.months.size(); ++m) difference.push_back(report.Difference(m));
  lines.push_back(SumLine("収入", report.income));
  lines.push_back(SumLine("支出", report.spending));
  lines.push_back(SumLine("差額", difference));
  for (const TYearBalanceRow& row : report.assets) {
    TYearLine line{KeyName(row.key) + "残高", kKindAsset, {row.balances.begin(), row.balances.end()}};
    line.values.resize(line.values.size() + 2);
    lines.push_back(std::move(line));
  }
  return lines;
}

std::string YearMonthLabel(TMonthKey key) {
  return std::to_string(KeyYear(key)) + "年" + std::to_string(KeyMonth(key)) + "月";
}

std::string YearReportCsv(const TYearReport& report) {
  std::vector<std::string> header{"項目"};
  for (TMonthKey key : report.months) header.push_back(YearMonthLabel(key));
  header.insert(header.end(), {"合計", "平均"});
  std::string text = CsvJoin(header) + "\r\n";
  for (const TYearLine& line : YearReportLines(report)) {
    std::vector<std::string> fields{ExportedText(line.label)};
    for (const std::optional<int64_t>& value : line.values) fields.push_back(value ? std::to_string(*value) : "");
    text += CsvJoin(fields) + "\r\n";
  }
  std::string bytes;
  std::string badChar;
  if (!EncodeCp932(text, bytes, &badChar)) throw EkzmError("「" + badChar + "」は保存できない文字です。");
  return bytes;
}

bool WriteYearReportCsv(const std::string& path, const TYearReport& report, std::string& error) {
  std::string bytes;
  try {
    bytes = YearReportCsv(report);
  } catch (const EkzmError& e) {
    error = std::string(e.what()) + "CSVファイルを保存できませんでした。";
    return false;
  }
  std::string why;
  if (!WriteFileAtomic(path, bytes, &why)) {
    error = "CSVファイルを保存できませんでした。\n" + why;
    return false;
  }
  return true;
}

}  // namespace kzm
