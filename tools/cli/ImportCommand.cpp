// import and import-undo: a bank or card statement booked into a passbook, and the last such
// import taken back, through the same code as the preview window.

#include <cstdio>
#include <string>

#include "CliSupport.h"
#include "Commands.h"
#include "foundation/Dates.h"
#include "foundation/Text.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "statement/ImportHistory.h"
#include "statement/LedgerImport.h"
#include "statement/StatementBalance.h"
#include "statement/StatementImport.h"
#include "statement/StatementPresets.h"
#include "statement/TextRules.h"

namespace kzm::cli {

namespace {

// The asset category named name; a mistake in the command line when the passbook has none.
std::string AccountKey(const std::string& name) {
  const std::string key = MakeKey(name, kKindAsset);
  if (CurrentProfile().Categories().IndexOfKey(key) < 0) {
    UsageError("口座「" + name + "」は通帳の資産の項目にありません。");
  }
  return key;
}

const char* MarkText(const TImportRow& row) {
  switch (row.duplicate) {
    case TDuplicate::dCertain: return "重複(確実)";
    case TDuplicate::dLikely: return "重複(可能性)";
    case TDuplicate::dNew: break;
  }
  return row.ticked ? "新規" : "新規(取り込まない)";
}

void PrintRow(const TImportRow& row, const std::string& accountKey) {
  if (!row.row.Readable()) {
    std::printf("-\t-\t%s\t\t%s (%d行目): %s\n", Field(row.row.cells).c_str(),
                row.row.noMoney ? "取り込まない行" : "読めない行", row.row.line, Field(row.row.problem).c_str());
    return;
  }
  std::printf("%s\t%s\t%s\t%s\t%s\n", FormatDateSlashed(row.row.date).c_str(),
              FormatThousands(row.row.amount).c_str(), Field(row.row.text).c_str(),
              KeyName(BookedCategory(row, accountKey)).c_str(), MarkText(row));
}

void PrintCounts(const TImportCounts& counts) {
  std::printf("行 %d, 取り込む %d, 重複 %d (確実 %d, 可能性 %d), 読めない %d", counts.rows, counts.ticked,
              counts.certain + counts.likely, counts.certain, counts.likely, counts.unreadable);
  if (counts.noMoney > 0) std::printf(", お金の動きなし %d", counts.noMoney);
  std::printf("\n");
  if (!counts.reasons.empty()) std::printf("取り込まない行: %s\n", counts.reasons.c_str());
}

// The passbook's balance of the account against the statement's, once the rows are booked.
void PrintBalanceCheck(const TStatementImport& import, const std::string& accountKey) {
  TClosingBalance closing;
  if (!ClosingBalance(import.Rows(), closing)) return;
  std::printf("%s\n", BalanceCheckText(PassbookBalance(accountKey, closing.day), closing).c_str());
}

// A preset given with --columns is stored (unless nothing may be written) and used.
void StoreColumns(const TArgs& parsed, TStatementPresets& presets, bool write) {
  const auto columns = parsed.options.find("--columns");
  if (columns == parsed.options.end()) return;
  const auto preset = parsed.options.find("--preset");
  if (preset == parsed.options.end()) UsageError("--columns には --preset で名前をつけてください。");
  TStatementLayout layout;
  std::string error;
  if (!ParseColumnMapping(preset->second, columns->second, layout, error)) UsageError(error);
  presets.StorePreset(layout);
  if (write && !presets.Save(error)) throw TCliError(error);
}

std::string OptionOr(const TArgs& parsed, const std::string& option, const std::string& fallback) {
  const auto found = parsed.options.find(option);
  return found == parsed.options.end() ? fallback : found->second;
}

}  // namespace

int ImportCommand(const TArgList& given) {
  TArgList args = given;
  const bool dryRun = TakeFlag(args, "--dry-run");
  const TArgs parsed = ParseArgs(args, {"--account", "--preset", "--columns", "--days"});
  if (parsed.help) {
    std::printf("%s", kImportHelp);
    return 0;
  }
  if (parsed.positional.size() != 2) UsageError("import には通帳と明細ファイルを指定してください。");
  const int days = parsed.options.contains("--days") ? ParseNumberArgument("--days", parsed.options.at("--days"))
                                                     : kDefaultDuplicateDays;
  if (days < 0 || days > 31) UsageError("--days は0から31までの日数で指定してください。");
  const std::string folder = FindPassbook(parsed.positional[0]);
  OpenPassbookFolder(folder, dryRun ? TPassbookAccess::paRead : TPassbookAccess::paWrite);

  TStatementPresets presets;
  presets.Load(folder);
  if (!presets.ReadError().empty()) std::fprintf(stderr, "%s\n", presets.ReadError().c_str());
  StoreColumns(parsed, presets, !dryRun);
  std::vector<TStatementLayout> layouts;
  std::string error;
  if (!LayoutsFor(presets, OptionOr(parsed, "--preset", ""), layouts, error)) UsageError(error);
  TStatementImport import;
  if (!import.Read(parsed.positional[1], layouts, error)) {
    TLedgerImport ledger;
    std::string ledgerError;
    if (ledger.Read(parsed.positional[1], ledgerError)) {
      error += "\nほかの家計簿サービスから書き出した記録です。import-ledger で取り込めます。";
    }
    throw TCliError(error);
  }

  const std::string remembered = presets.Account(import.Statement().layoutName);
  const std::string accountName = OptionOr(parsed, "--account", remembered);
  if (accountName.empty()) UsageError("--account で取り込み先の口座 (資産の項目) を指定してください。");
  const std::string accountKey = AccountKey(accountName);
  TTextRules rules;
  if (!rules.Load(folder, error)) throw TCliError(error);
  TImportedIds ids;
  if (!ids.Load(folder, error)) throw TCliError(error);
  import.Classify(accountKey, CurrentProfile().Categories(), rules, ids, CurrentMonthData(), days);
  RequireEverythingRead();

  std::fprintf(stderr, "形式: %s (%s)\n", import.Statement().layoutName.c_str(),
               EncodingName(import.Statement().encoding));
  if (!import.Statement().balanceWarning.empty()) {
    std::fprintf(stderr, "注意: %s\n", import.Statement().balanceWarning.c_str());
  }
  if (const std::string notice = IncompleteImportNotice(folder); !notice.empty()) {
    std::fprintf(stderr, "%s\n", notice.c_str());
  }
  for (int i = 0; i < import.Count(); ++i) PrintRow(import.Row(i), accountKey);
  PrintCounts(import.Counts());
  if (dryRun) {
    std::printf("試し読みのため、何も書き込んでいません。\n");
    return 0;
  }
  BackupBeforeChange(folder, TBackupReason::brImport);
  const TBookOutcome outcome = BookImport(import, CurrentMonthData(), folder, ids);
  std::printf("%s\n", outcome.message.c_str());
  if (outcome.failed) throw TCliError("取り込みを最後までできませんでした: " + parsed.positional[1]);
  if (outcome.carryFailed) throw TCliError("後の月の残高を繰り越せませんでした。");
  PrintBalanceCheck(import, accountKey);
  if (accountName != remembered) {
    presets.SetAccount(import.Statement().layoutName, accountName);
    if (!presets.Save(error)) throw TCliError(error);
  }
  return 0;
}

int ImportUndoCommand(const TArgList& args) {
  const TArgs parsed = ParseArgs(args, {});
  if (parsed.help) {
    std::printf("%s", kImportUndoHelp);
    return 0;
  }
  if (parsed.positional.size() != 1) UsageError("import-undo には通帳をひとつ指定してください。");
  const std::string folder = FindPassbook(parsed.positional[0]);
  OpenPassbookFolder(folder, TPassbookAccess::paWrite);
  TImportedIds ids;
  std::string error;
  if (!ids.Load(folder, error)) throw TCliError(error);
  const TUndoOutcome outcome = UndoLastImport(CurrentMonthData(), folder, ids);
  std::printf("%s\n", outcome.message.c_str());
  if (outcome.failed) throw TCliError("取り込みを元に戻しきれませんでした: " + folder);
  if (outcome.carryFailed) throw TCliError("後の月の残高を繰り越せませんでした。");
  return 0;
}

}  // namespace kzm::cli
