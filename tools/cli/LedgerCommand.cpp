// import-ledger: the full history exported from another household-ledger service brought
// into a passbook in one step, through the same code as the move-in window.

#include <algorithm>
#include <cstdio>
#include <string>

#include "CliSupport.h"
#include "Commands.h"
#include "foundation/Codec.h"
#include "foundation/Dates.h"
#include "foundation/Text.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "statement/ImportHistory.h"
#include "statement/LedgerImport.h"

namespace kzm::cli {

namespace {

// Takes every "option VALUE" out of args, in order; the flag may be given many times.
std::vector<std::string> TakeRepeated(TArgList& args, const std::string& option) {
  std::vector<std::string> values;
  for (size_t i = 0; i < args.size();) {
    if (args[i] != option) {
      ++i;
      continue;
    }
    if (i + 1 >= args.size()) UsageError(option + " のあとに値がありません。");
    values.push_back(args[i + 1]);
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
  }
  return values;
}

// "left=right" split at the last "=", both sides non-empty.
std::pair<std::string, std::string> SplitChoice(const std::string& option, const std::string& text) {
  const size_t equals = text.rfind('=');
  if (equals == std::string::npos || equals == 0 || equals + 1 == text.size()) {
    UsageError(option + " は「書き出しの名前=通帳の名前」の形で指定してください: " + text);
  }
  std::string ours = text.substr(equals + 1);
  std::string bytes;
  std::string badChar;
  if (!EncodeCp932(ours, bytes, &badChar)) UsageError("「" + badChar + "」は通帳に保存できない文字です: " + text);
  return {text.substr(0, equals), std::move(ours)};
}

// --account-map "export=ours": the export's account becomes our asset of that name.
void ChooseAccount(TLedgerImport& import, const std::string& text) {
  const auto [theirs, ours] = SplitChoice("--account-map", text);
  for (const TLedgerMapLine& line : import.MapLines()) {
    if (line.account && line.upper == theirs) return import.Choose(line, ours);
  }
  UsageError("書き出しに口座「" + theirs + "」はありません。");
}

// --map "upper/lower=ours" for one lower category, "upper=ours" for every lower one under
// upper; payments and receipts alike.
void ChooseCategory(TLedgerImport& import, const std::string& text) {
  const auto [theirs, ours] = SplitChoice("--map", text);
  const size_t slash = theirs.find('/');
  const std::string upper = theirs.substr(0, slash);
  const bool allLower = slash == std::string::npos;
  const std::string lower = allLower ? "" : theirs.substr(slash + 1);
  bool found = false;
  for (const TLedgerMapLine& line : import.MapLines()) {
    if (line.account || line.upper != upper || (!allLower && line.lower != lower)) continue;
    TLedgerMapLine chosen = line;
    if (allLower) chosen.lower.clear();
    import.Choose(chosen, ours);
    found = true;
  }
  if (!found) UsageError("書き出しに項目「" + theirs + "」はありません。");
}

const char* MarkText(const TLedgerImportRow& row) {
  if (row.already) return "取り込み済み";
  return row.ticked ? "新規" : "新規(取り込まない)";
}

void PrintRow(const TLedgerImportRow& row) {
  if (!row.Bookable()) {
    std::printf("-\t-\t%s\t\t\t取り込まない行 (%d行目): %s\n", Field(row.row.text).c_str(), row.row.line,
                Field(row.problem).c_str());
    return;
  }
  const TkzmEntry& entry = row.entry;
  std::printf("%s\t%s\t%s\t%s\t%s\t%s\n", FormatDateSlashed(entry.date).c_str(), FormatThousands(entry.amount).c_str(),
              Field(entry.itemText).c_str(), KeyName(entry.categoryKey).c_str(), KeyName(entry.accountKey).c_str(),
              MarkText(row));
}

std::string KeysText(const std::vector<std::string>& keys) {
  std::string text;
  for (const std::string& key : keys) {
    text += (text.empty() ? "" : ", ") + KindNames().at(static_cast<size_t>(KeyKind(key))) + " " + KeyName(key);
  }
  return text;
}

}  // namespace

int ImportLedgerCommand(const TArgList& given) {
  TArgList args = given;
  const bool dryRun = std::erase(args, std::string("--dry-run")) > 0;
  const std::vector<std::string> accountChoices = TakeRepeated(args, "--account-map");
  const std::vector<std::string> categoryChoices = TakeRepeated(args, "--map");
  const TArgs parsed = ParseArgs(args, {});
  if (parsed.help) {
    std::printf("%s", kImportLedgerHelp);
    return 0;
  }
  if (parsed.positional.size() != 2) UsageError("import-ledger には通帳と書き出しファイルを指定してください。");
  const std::string folder = FindPassbook(parsed.positional[0]);
  OpenPassbookFolder(folder, dryRun ? TPassbookAccess::paRead : TPassbookAccess::paWrite);

  TLedgerImport import;
  std::string error;
  if (!import.Read(parsed.positional[1], error)) throw TCliError(error);
  for (const std::string& choice : accountChoices) ChooseAccount(import, choice);
  for (const std::string& choice : categoryChoices) ChooseCategory(import, choice);
  TImportedIds ids;
  if (!ids.Load(folder, error)) throw TCliError(error);
  import.Classify(ids, CurrentMonthData());
  RequireEverythingRead();

  std::fprintf(stderr, "形式: %s\n", import.FormatName().c_str());
  if (const std::string notice = IncompleteImportNotice(folder); !notice.empty()) {
    std::fprintf(stderr, "%s\n", notice.c_str());
  }
  for (const TLedgerMapLine& line : import.MapLines()) {
    const std::string theirs = line.lower.empty() ? line.upper : line.upper + "/" + line.lower;
    std::printf("%s\t%s\t%s\t%d行\n", line.account ? "口座" : KindNames().at(static_cast<size_t>(line.kind)).c_str(),
                Field(theirs).c_str(), Field(line.ours).c_str(), line.rows);
  }
  for (int i = 0; i < import.Count(); ++i) PrintRow(import.Row(i));
  const TLedgerCounts counts = import.Counts();
  std::printf("行 %d, 取り込む %d, 取り込み済み %d, 取り込まない %d\n", counts.rows, counts.ticked, counts.already,
              counts.notBookable);
  if (!counts.reasons.empty()) std::printf("取り込まない行: %s\n", counts.reasons.c_str());
  const std::string added = KeysText(import.CategoriesToAdd(CurrentProfile().Categories()));
  if (dryRun) {
    if (!added.empty()) std::printf("通帳に加わる項目: %s\n", added.c_str());
    std::printf("試し読みのため、何も書き込んでいません。\n");
    return 0;
  }
  if (counts.ticked > 0) BackupBeforeChange(folder, TBackupReason::brImport);
  const TBookOutcome outcome = BookLedgerImport(import, CurrentMonthData(), folder, ids);
  std::printf("%s\n", outcome.message.c_str());
  if (outcome.failed) throw TCliError("取り込みを最後までできませんでした: " + parsed.positional[1]);
  if (outcome.carryFailed) throw TCliError("後の月の残高を繰り越せませんでした。");
  if (outcome.added > 0 && !added.empty()) std::printf("通帳に加えた項目: %s\n", added.c_str());
  return 0;
}

}  // namespace kzm::cli
