#include "search/CategoryReplace.h"

#include "foundation/AtomicFile.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/MonthRange.h"
#include "search/ReplacePending.h"

namespace kzm {

std::vector<TReplaceName> ReplaceNames(const THeadList& categories) {
  std::vector<TReplaceName> names;
  for (int i = 0; i < categories.Count(); ++i) {
    const int kind = categories.KindOf(i);
    const int group = KindGroup(kind);
    if (group == 1 || group == 2) names.push_back({categories.DisplayName(i), kind});
  }
  return names;
}

const std::vector<int>& ReplaceKinds() {
  static const std::vector<int> kinds = {kKindPayment, kKindReceipt, kKindAsset};
  return kinds;
}

int ReplaceKindPosition(int kind) {
  const std::vector<int>& kinds = ReplaceKinds();
  for (size_t i = 0; i < kinds.size(); ++i) {
    if (kinds[i] == kind) return static_cast<int>(i);
  }
  return -1;
}

std::string ReplaceRefusal(const THeadList& categories, const std::string& before, const std::string& after) {
  if (categories.IndexOfKey(after) < 0) {
    const int kind = KeyKind(after);
    if (kind == kKindNone) return "置き換え後の分類が選ばれていません。";
    return "置き換え後の「" + KeyName(after) + "」は「" + KindNames()[kind] +
           "」の項目にありません。\n一覧にある項目を選んでください。";
  }
  if (before == after) return "置き換え対象と置き換え後が同じ項目です。\n置き換えるものはありません。";
  return {};
}

namespace {

// Replaces the keys in the days of one calendar month that the request covers, loading the
// month into data (a month wholly outside the range is not loaded). The changes stay in
// memory, the month marked modified. Returns how many references changed.
int ReplaceInMonth(TkzmDataUnit& data, int year, int month, const TReplaceRequest& request) {
  TDayNumber first = 0;
  TDayNumber last = 0;
  if (!MonthDaysInRange(year, month, request.first, request.last, first, last)) return 0;
  data.SelectDay(first);
  int changes = 0;
  // The loaded month holds its entries in day order; one pass visits the days of the range.
  for (int i = 0; i < data.Count(); ++i) {
    TkzmEntry& entry = data.Entry(i);
    if (entry.date < first || entry.date > last) continue;
    if (entry.categoryKey == request.before) {
      entry.categoryKey = request.after;
      ++changes;
    }
    if (entry.accountKey == request.before) {
      entry.accountKey = request.after;
      ++changes;
    }
  }
  if (changes > 0) data.SetModified();
  return changes;
}

}  // namespace

TReplaceOutcome ReplaceAllMonths(TkzmDataUnit& data, const TReplaceRequest& request,
                                 const std::function<bool()>& keepGoing) {
  // Every month file is synced as it is written; the Daily folder, which holds their renames,
  // once when the batch ends, before the outcome goes back (a folder sync per month was most
  // of a long run's time).
  TFolderSyncBatch folders;
  const TFolderSyncLoan loan(data, folders);
  TReplaceOutcome outcome;
  const std::string passbookFolder = PassbookFolderOf(data);
  if (!WritePendingReplace(passbookFolder, request, outcome.recordError)) {
    outcome.failed = true;
    return outcome;
  }
  const std::vector<TMonthOfFile> months = MonthsToWalk(data);
  for (size_t i = 0; i < months.size(); ++i) {
    const int changes = ReplaceInMonth(data, months[i].year, months[i].month, request);
    if (changes > 0) {
      if (!data.Save()) {
        outcome.failed = true;
        outcome.failedMonth = data.MonthFilePath(months[i].year, months[i].month);
        data.DiscardMonthChanges();
        return outcome;
      }
      outcome.changes += changes;
      ++outcome.monthsChanged;
    }
    if (keepGoing && !keepGoing()) {
      outcome.stopped = i + 1 < months.size();
      break;
    }
  }
  // A record that cannot be taken away only asks to finish a finished run: running it again
  // changes nothing.
  std::string ignored;
  (void)RemovePendingReplace(passbookFolder, ignored);
  return outcome;
}

std::string ReplaceReport(const TReplaceOutcome& outcome) {
  if (!outcome.recordError.empty()) return "置換を始められませんでした。何も変更していません。\n" + outcome.recordError;
  std::string report = std::to_string(outcome.changes) + "件を変換しました";
  if (outcome.failed) {
    report += "\n\n" + outcome.failedMonth + " を保存できなかったため、置換を中止しました。\n" +
              "それまでに" + std::to_string(outcome.monthsChanged) +
              "か月分のファイルを変換しました。保存できなかった月は変更していません。";
  }
  return report;
}

}  // namespace kzm
