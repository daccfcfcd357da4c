// list and month: the passbooks of the data folder and the summary of an accounting month.

#include <algorithm>
#include <cstdio>
#include <string>

#include "CliSupport.h"
#include "Commands.h"
#include "foundation/Dates.h"
#include "foundation/ProfileList.h"
#include "foundation/Text.h"
#include "passbook/Categories.h"
#include "passbook/Profile.h"
#include "settlement/AccountingMonth.h"

namespace kzm::cli {

namespace {

std::string LastComponent(const std::string& folder) {
  const size_t slash = folder.rfind('/');
  return slash == std::string::npos ? folder : folder.substr(slash + 1);
}

void PrintSummary(const THeadList& summary) {
  std::printf("period\t%s\t%s\n", FormatDateSlashed(summary.First()).c_str(), FormatDateSlashed(summary.Last()).c_str());
  std::string header = "category\tkind\tbalance";
  for (int d = 0; d < summary.DayCount(); ++d) header.append("\t").append(FormatDateSlashed(summary.First() + d));
  std::printf("%s\ttotal\n", header.c_str());
  const auto& amounts = summary.DayAmounts();
  for (int c = 0; c < summary.Count(); ++c) {
    const THeadData& item = summary.Items(c);
    std::string line = Field(summary.DisplayName(c)) + "\t" + KindNames()[static_cast<size_t>(summary.KindOf(c))] +
                       "\t" + std::to_string(item.balance);
    for (const auto& day : amounts) line.append("\t").append(std::to_string(day[static_cast<size_t>(c)]));
    std::printf("%s\t%s\n", line.c_str(), std::to_string(item.total).c_str());
  }
  for (int d = 0; d < summary.DayCount(); ++d) {
    const std::string& memo = summary.DayMemos()[static_cast<size_t>(d)];
    if (memo.empty()) continue;
    std::printf("memo\t%s\t%s\n", FormatDateSlashed(summary.First() + d).c_str(), Field(memo).c_str());
  }
}

}  // namespace

int ListCommand(const TArgList& args) {
  const TArgs parsed = ParseArgs(args, {});
  if (parsed.help) {
    std::printf("%s", kListHelp);
    return 0;
  }
  if (!parsed.positional.empty()) UsageError("list は引数をとりません。");
  ListPassbooks();
  std::vector<std::string> folders = PassbookFolders();
  std::sort(folders.begin(), folders.end());
  for (const std::string& folder : folders) {
    TprofileList settings;
    settings.LoadFromFile(folder + "/nbkr.ini");
    std::printf("%s\t%s\t%s\t%s\n", Field(LastComponent(folder)).c_str(),
                Field(settings.ReadString("USERINFO", "NAME", "")).c_str(),
                Field(settings.ReadString("USERINFO", "USE", "")).c_str(), folder.c_str());
  }
  return 0;
}

int MonthCommand(const TArgList& args) {
  const TArgs parsed = ParseArgs(args, {});
  if (parsed.help) {
    std::printf("%s", kMonthHelp);
    return 0;
  }
  if (parsed.positional.size() != 2) UsageError("month には通帳と月 (yyyymm) を指定してください。");
  const TMonthKey key = ParseMonthKey(parsed.positional[1]);
  OpenPassbookFolder(FindPassbook(parsed.positional[0]), TPassbookAccess::paRead);
  THeadList summary;
  const bool saved = BuildMonth(key, summary);
  RequireEverythingRead();
  // Its balances would stand on a guess: told (the file named above), nothing printed.
  if (SettlementDamaged(key)) throw TCliError("月の設定ファイルが壊れているため、結果を出力しません: " + SettlementFilePath(key));
  PrintSummary(summary);
  return saved ? 0 : 1;
}

}  // namespace kzm::cli
