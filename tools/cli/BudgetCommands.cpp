// budget and report: the budgets of a passbook against its accounting months, and the year
// at a glance.

#include <cstdio>
#include <string>

#include "CliSupport.h"
#include "Commands.h"
#include "budget/BudgetMonth.h"
#include "budget/Budgets.h"
#include "passbook/Categories.h"
#include "passbook/Profile.h"
#include "report/YearReport.h"

namespace kzm::cli {

namespace {

TBudgets LoadBudgets() {
  TBudgets budgets;
  std::string error;
  if (!budgets.Load(CurrentProfile().Folder(), error)) throw TCliError(error);
  return budgets;
}

// The payment or receipt category of the passbook named name.
std::string BudgetCategoryKey(const std::string& name) {
  const THeadList& categories = CurrentProfile().Categories();
  for (int kind : {kKindPayment, kKindReceipt}) {
    if (categories.IndexOfKey(MakeKey(name, kind)) >= 0) return MakeKey(name, kind);
  }
  UsageError("通帳に支出か収入の項目「" + name + "」がありません。");
}

int SetBudget(const TArgs& parsed) {
  if (parsed.positional.size() != 4) UsageError("budget set には通帳, 項目, 金額を指定してください。");
  const auto from = parsed.options.find("--from");
  if (from == parsed.options.end()) UsageError("budget set には --from YYYYMM が要ります。");
  const TMonthKey month = ParseMonthKey(from->second);
  const std::string& amountText = parsed.positional[3];
  std::optional<int32_t> amount;
  if (amountText != "none") amount = ParseNumberArgument("金額", amountText);
  OpenPassbookFolder(FindPassbook(parsed.positional[0]), TPassbookAccess::paWrite);
  const std::string key = BudgetCategoryKey(parsed.positional[2]);
  TBudgets budgets = LoadBudgets();
  budgets.Set(key, month, amount);
  std::string error;
  if (!budgets.Save(CurrentProfile().Folder(), error)) throw TCliError(error);
  return 0;
}

std::string Amount(std::optional<int64_t> value) { return value ? std::to_string(*value) : std::string(); }

int PrintBudgetMonth(const TArgs& parsed) {
  if (parsed.options.contains("--from")) UsageError("--from は budget set にだけつけます。");
  const TMonthKey month = ParseMonthKey(parsed.positional[1]);
  OpenPassbookFolder(FindPassbook(parsed.positional[0]), TPassbookAccess::paRead);
  const TBudgets budgets = LoadBudgets();
  bool saved = true;
  const TBudgetMonth result = BudgetMonth(month, budgets, &saved);
  RequireEverythingRead();
  for (const TBudgetRow& row : result.rows) {
    if (!row.budget) continue;
    std::printf("%s\t%d\t%lld\t%lld\n", Field(KeyName(row.key)).c_str(), *row.budget, static_cast<long long>(row.actual),
                static_cast<long long>(row.Left()));
  }
  std::printf("total\t%lld\t%lld\t%lld\n", static_cast<long long>(result.spending.budget),
              static_cast<long long>(result.spending.actual), static_cast<long long>(result.spending.Left()));
  if (result.income.budget != 0 || result.income.actual != 0) {
    std::printf("income-total\t%lld\t%lld\t%lld\n", static_cast<long long>(result.income.budget),
                static_cast<long long>(result.income.actual), static_cast<long long>(result.income.Left()));
  }
  return saved ? 0 : 1;
}

int ParseYear(const std::string& text) {
  const int32_t year = ParseNumberArgument("--year", text);
  if (year < 2 || year > 9998 || text.size() != 4) UsageError("--year は4桁の年で指定してください: " + text);
  return year;
}

}  // namespace

int BudgetCommand(const TArgList& args) {
  const TArgs parsed = ParseArgs(args, {"--from"});
  if (parsed.help) {
    std::printf("%s", kBudgetHelp);
    return 0;
  }
  if (parsed.positional.size() >= 2 && parsed.positional[1] == "set") return SetBudget(parsed);
  if (parsed.positional.size() != 2) UsageError("budget には通帳と月 (yyyymm) を指定してください。");
  return PrintBudgetMonth(parsed);
}

int ReportCommand(const TArgList& args) {
  const TArgs parsed = ParseArgs(args, {"--year", "--csv"});
  if (parsed.help) {
    std::printf("%s", kReportHelp);
    return 0;
  }
  if (parsed.positional.size() != 1) UsageError("report には通帳をひとつ指定してください。");
  const auto year = parsed.options.find("--year");
  if (year == parsed.options.end()) UsageError("report には --year YYYY が要ります。");
  const int yearNumber = ParseYear(year->second);
  OpenPassbookFolder(FindPassbook(parsed.positional[0]), TPassbookAccess::paRead);
  bool saved = true;
  const TYearReport report = YearReport(yearNumber, &saved);
  RequireEverythingRead();
  const auto csv = parsed.options.find("--csv");
  if (csv != parsed.options.end()) {
    std::string error;
    if (!WriteYearReportCsv(csv->second, report, error)) throw TCliError(error);
    return saved ? 0 : 1;
  }
  std::string header = "category";
  for (TMonthKey key : report.months) header += "\t" + std::to_string(key);
  std::printf("%s\ttotal\taverage\n", header.c_str());
  for (const TYearLine& line : YearReportLines(report)) {
    std::string text = Field(line.label);
    for (const std::optional<int64_t>& value : line.values) text += "\t" + Amount(value);
    std::printf("%s\n", text.c_str());
  }
  return saved ? 0 : 1;
}

}  // namespace kzm::cli
