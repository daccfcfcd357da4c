#include "card/CardPayment.h"

#include <limits>

#include "foundation/Text.h"
#include "foundation/WindowSystem.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/MonthEntry.h"
#include "passbook/Profile.h"
#include "settlement/AccountingMonth.h"

namespace kzm {

namespace {

// The entry that pays the cycle: item "カードの支払", note the period.
TkzmEntry CardPaymentEntry(const TCardSettings& card, const TCardCycle& cycle) {
  TkzmEntry entry;
  entry.date = cycle.paymentDate;
  entry.amount = static_cast<int32_t>(cycle.billed);
  entry.categoryKey = MakeKey(card.card, kKindAsset);
  entry.accountKey = MakeKey(card.fromAccount, kKindAsset);
  entry.itemText = "カードの支払";
  entry.note = FormatDateSlashed(cycle.first) + "～" + FormatDateSlashed(cycle.last) + "分";
  return entry;
}

}  // namespace

bool EnterCardPayment(const TCardSettings& card, const TCardCycle& cycle, TkzmDataUnit& data, std::string& message) {
  message = CardProblem(card, CurrentProfile().Categories());
  if (!message.empty()) return false;
  if (cycle.entered || cycle.billed <= 0) {
    message = "この請求は支払が記入済みか、支払う額がありません。";
    return false;
  }
  // A month entry holds a 32-bit amount; a larger bill is split by hand, not wrapped.
  if (cycle.billed > std::numeric_limits<int32_t>::max()) {
    message = "請求額が大きすぎて1件の記入にできません。";
    return false;
  }
  if (!data.Save()) {
    message = "開いている月のデータを保存できないため、記入しませんでした。";
    return false;
  }
  const TkzmEntry entry = CardPaymentEntry(card, cycle);
  (void)data.SelectDay(entry.date);
  if (data.MonthUnreadable()) {
    const TYmd ymd = DecodeDate(entry.date);
    message = "月のファイル「" + data.MonthFilePath(ymd.year, ymd.month) + "」を読めないため、記入しませんでした。";
    return false;
  }
  data.AddEntry(entry.categoryKey, entry.accountKey, entry.note, entry.itemText, entry.amount);
  if (!data.Save()) {
    data.DiscardMonthChanges();
    message = "月のデータを保存できなかったため、記入しませんでした。";
    return false;
  }
  THeadList summary;
  const bool settled = BuildMonth(MonthOfDay(entry.date), summary);
  WindowSystem().BroadcastToForms(kNoticeDataChanged, entry.date, 0);
  message = FormatDateSlashed(entry.date) + " に「" + card.fromAccount + "」から「" + card.card + "」へ " +
            FormatThousands(cycle.billed) + "円の支払を記入しました。";
  if (!settled) message += "\n月の集計を保存できませんでした。";
  return true;
}

}  // namespace kzm
