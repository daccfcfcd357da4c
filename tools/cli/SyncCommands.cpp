// add and merge: an entry typed from the command line, and the conflict copies of a sync
// engine merged on demand, through the same code as the window.

#include <cstdio>

#include "CliSupport.h"
#include "Commands.h"
#include "foundation/Dates.h"
#include "passbook/AmountExpression.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "settlement/CarryRun.h"
#include "sync/SyncMerge.h"
#include "views/DailyPage.h"

namespace kzm::cli {

namespace {

std::string OptionOr(const TArgs& parsed, const std::string& name) {
  const std::string* value = Option(parsed, name);
  return value ? *value : std::string();
}

// The key of the category named name, which must be of one of the kinds (the first that has it).
std::string KeyOfName(const std::string& name, std::initializer_list<int> kinds, const std::string& what) {
  const THeadList& categories = CurrentProfile().Categories();
  for (const int kind : kinds) {
    std::string key = MakeKey(name, kind);
    if (categories.IndexOfKey(key) >= 0) return key;
  }
  throw TCliError(what + "「" + name + "」が通帳にありません。");
}

}  // namespace

int AddCommand(const TArgList& args) {
  const TArgs parsed = ParseArgs(args, {"--item", "--account", "--note"});
  if (parsed.help) {
    std::printf("%s", kAddHelp);
    return 0;
  }
  if (parsed.positional.size() != 4) UsageError("add には 通帳, 日付 (yyyymmdd), 項目, 金額 を指定してください。");
  TDayNumber day = 0;
  if (!TryParseDate8(parsed.positional[1], day)) UsageError("日付が読めません (yyyymmdd): " + parsed.positional[1]);
  const std::optional<int32_t> amount = ReadTypedAmount(parsed.positional[3]);
  if (!amount) UsageError(BadAmountMessage(parsed.positional[3]));
  OpenPassbookFolder(FindPassbook(parsed.positional[0]), TPassbookAccess::paWrite);
  // The kind follows the category; into an asset is a move, whose account it comes from.
  const std::string category = KeyOfName(parsed.positional[2], {kKindPayment, kKindReceipt, kKindAsset}, "項目");
  const std::string* account = Option(parsed, "--account");
  std::string accountKey;
  if (account) {
    accountKey = KeyOfName(*account, {kKindAsset}, "資産");
  } else if (KeyKind(category) == kKindAsset) {
    UsageError("資産の移動には、移動元の資産を --account で指定してください。");
  } else if (const THeadData* first = CurrentProfile().Categories().NthOfKind(kKindAsset, 0)) {
    accountKey = first->key;
  } else {
    throw TCliError("通帳に資産の項目がありません。");
  }
  if (accountKey == category) UsageError("移動元と移動先が同じ資産です。");
  TkzmDataUnit& data = CurrentMonthData();
  data.SelectDay(day);
  if (data.MonthUnreadable()) throw TCliError("その月のデータを読めないため、記入しませんでした。");
  data.AddEntry(category, accountKey, OptionOr(parsed, "--note"), OptionOr(parsed, "--item"), *amount);
  if (!FinishDaySave(day)) return 1;
  std::printf("%s\t%s\t%s\t%d\n", FormatDate8(day).c_str(), KeyName(category).c_str(), KeyName(accountKey).c_str(),
              *amount);
  return 0;
}

int MergeCommand(const TArgList& args) {
  const TArgs parsed = ParseArgs(args, {});
  if (parsed.help) {
    std::printf("%s", kMergeHelp);
    return 0;
  }
  if (parsed.positional.size() != 1) UsageError("merge には通帳をひとつ指定してください。");
  const std::string folder = FindPassbook(parsed.positional[0]);
  OpenPassbookFolder(folder, TPassbookAccess::paWrite, false);
  const TSyncMerge merge = MergeConflictCopies(folder);
  if (!merge.ok) throw TCliError(merge.message);
  for (const TMergedFile& file : merge.files) {
    std::printf("%s\t%s\t%s\n", file.file.c_str(), file.kept.c_str(),
                file.needsPerson.empty() ? "" : ("要確認: " + file.needsPerson).c_str());
  }
  if (merge.files.empty()) {
    std::fprintf(stderr, "統合する写しはありませんでした。\n");
    return 0;
  }
  std::fprintf(stderr, "%s\n", merge.message.c_str());
  // The merged files in, and the months they changed built again.
  if (!OpenPassbookCarried(folder, TPassbookAccess::paWrite)) return 1;
  return merge.NeedsPerson() ? 1 : 0;
}

}  // namespace kzm::cli
