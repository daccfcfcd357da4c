// search: the entries of a passbook that match, as the lines of the search export.

#include <cstdio>
#include <string>

#include "CliSupport.h"
#include "Commands.h"
#include "foundation/Dates.h"
#include "passbook/MonthData.h"
#include "passbook/Search.h"

namespace kzm::cli {

namespace {

TDayNumber ParseDayArgument(const std::string& option, const std::string& text) {
  const TDayNumber day = ParseDate(text);
  if (day == 0) UsageError(option + " の日付が読めません (yyyymmdd): " + text);
  return day;
}

// "payment,receipt,assets,memo": the kinds searched; the others are left out.
void ParseKinds(const std::string& text, TSearchConditions& conditions) {
  conditions.payments = conditions.receipts = conditions.assetMoves = conditions.memos = false;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = std::min(text.find(',', start), text.size());
    const std::string kind = text.substr(start, comma - start);
    if (kind == "payment") conditions.payments = true;
    else if (kind == "receipt") conditions.receipts = true;
    else if (kind == "assets") conditions.assetMoves = true;
    else if (kind == "memo") conditions.memos = true;
    else UsageError("--kinds に知らない種類があります: " + kind);
    start = comma + 1;
  }
}

TSearchConditions ReadConditions(const TArgs& parsed) {
  TSearchConditions conditions;
  for (const auto& [option, value] : parsed.options) {
    if (option == "--from") conditions.first = ParseDayArgument(option, value);
    else if (option == "--to") conditions.last = ParseDayArgument(option, value);
    else if (option == "--category") conditions.category = value;
    else if (option == "--item") conditions.itemText = value;
    else if (option == "--note") conditions.note = value;
    else if (option == "--account") conditions.account = value;
    else if (option == "--max") conditions.upper = ParseNumberArgument(option, value);
    else if (option == "--min") conditions.lower = ParseNumberArgument(option, value);
    else if (option == "--kinds") ParseKinds(value, conditions);
  }
  return conditions;
}

}  // namespace

int SearchCommand(const TArgList& args) {
  const TArgs parsed = ParseArgs(args, {"--from", "--to", "--category", "--item", "--note", "--account", "--max",
                                        "--min", "--kinds", "--output"});
  if (parsed.help) return std::printf("%s", kSearchHelp), 0;
  if (parsed.positional.size() != 1) UsageError("search には通帳をひとつ指定してください。");
  const TSearchConditions conditions = ReadConditions(parsed);
  OpenPassbookFolder(FindPassbook(parsed.positional[0]));
  TSearchResults results;
  const bool saved = SearchAllMonths(CurrentMonthData(), conditions, results);
  RequireEverythingRead();
  const auto output = parsed.options.find("--output");
  if (output != parsed.options.end()) {
    std::string error;
    if (!WriteSearchCsv(output->second, results.Entries(), error)) throw TCliError(error);
  } else {
    for (const TkzmEntry& entry : results.Entries()) std::printf("%s\n", SearchCsvLine(entry).c_str());
  }
  return saved ? 0 : 1;
}

}  // namespace kzm::cli
