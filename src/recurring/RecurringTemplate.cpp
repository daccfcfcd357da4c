#include "recurring/RecurringTemplate.h"

#include "foundation/Codec.h"
#include "passbook/Categories.h"

namespace kzm {

namespace {

constexpr const char* kWeekdayNames[] = {"月曜日", "火曜日", "水曜日", "木曜日", "金曜日", "土曜日", "日曜日"};

int CategoryKind(TRecurringKind kind) {
  switch (kind) {
    case TRecurringKind::rkPayment: return kKindPayment;
    case TRecurringKind::rkReceipt: return kKindReceipt;
    case TRecurringKind::rkMove: return kKindAsset;
  }
  return kKindPayment;
}

std::string TextProblem(const char* what, const std::string& text) {
  std::string bad;
  std::string bytes;
  if (text.find_first_of("\r\n") != std::string::npos) return std::string(what) + "に改行は使えません。";
  if (!EncodeCp932(text, bytes, &bad)) return std::string(what) + "の「" + bad + "」は通帳のファイルに保存できません。";
  return {};
}

std::string ShiftText(TBusinessShift shift) {
  switch (shift) {
    case TBusinessShift::bsAsIs: return "";
    case TBusinessShift::bsBefore: return " (休日は前の営業日)";
    case TBusinessShift::bsAfter: return " (休日は次の営業日)";
  }
  return "";
}

}  // namespace

std::string EntryCategoryKey(const TRecurringTemplate& t) { return MakeKey(t.category, CategoryKind(t.kind)); }

std::string EntryAccountKey(const TRecurringTemplate& t) { return MakeKey(t.account, kKindAsset); }

const char* RecurringKindName(TRecurringKind kind) {
  switch (kind) {
    case TRecurringKind::rkPayment: return "支出";
    case TRecurringKind::rkReceipt: return "収入";
    case TRecurringKind::rkMove: return "資産の移動";
  }
  return "";
}

bool RecurringKindOfName(std::string_view name, TRecurringKind& kind) {
  for (const TRecurringKind k : {TRecurringKind::rkPayment, TRecurringKind::rkReceipt, TRecurringKind::rkMove}) {
    if (name == RecurringKindName(k)) {
      kind = k;
      return true;
    }
  }
  return false;
}

std::string ScheduleProblem(const TSchedule& s) {
  if (s.interval < 1 || s.interval > kMaxInterval) return "間隔は1から999までで指定してください。";
  if (s.first < EncodeDate(1, 1, 1) || s.first > EncodeDate(9999, 12, 31)) return "開始日が正しくありません。";
  switch (s.repeat) {
    case TRepeat::rpMonthly:
      if (s.day < kMonthEnd || s.day > 31) return "毎月の日は1から31まで、または月末で指定してください。";
      break;
    case TRepeat::rpWeekly:
      if (s.day < 1 || s.day > 7) return "曜日は1 (月曜日) から7 (日曜日) までで指定してください。";
      break;
    case TRepeat::rpYearly:
      if (!IsValidDate(2000, s.day / 100, s.day % 100)) return "毎年の月日が正しくありません。";
      break;
    case TRepeat::rpDays: break;
  }
  if (s.until != 0 && s.until < s.first) return "終了日が開始日より前です。";
  if (s.count < 0) return "回数が正しくありません。";
  return {};
}

std::string TemplateProblem(const TRecurringTemplate& t, const THeadList& categories) {
  if (std::string problem = ScheduleProblem(t.schedule); !problem.empty()) return problem;
  if (t.category.empty()) return t.kind == TRecurringKind::rkMove ? "移動先の資産を指定してください。" : "項目を指定してください。";
  if (t.account.empty()) return t.kind == TRecurringKind::rkMove ? "移動元の資産を指定してください。" : "口座を指定してください。";
  if (categories.IndexOfKey(EntryCategoryKey(t)) < 0) {
    return std::string(t.kind == TRecurringKind::rkMove ? "資産" : RecurringKindName(t.kind)) + "の項目「" + t.category +
           "」が通帳にありません。";
  }
  if (categories.IndexOfKey(EntryAccountKey(t)) < 0) return "資産の項目「" + t.account + "」が通帳にありません。";
  if (t.kind == TRecurringKind::rkMove && t.category == t.account) return "移動元と移動先が同じ資産です。";
  for (const auto& [what, text] : {std::pair{"項目名", &t.category}, std::pair{"口座名", &t.account},
                                   std::pair{"内容", &t.item}, std::pair{"備考", &t.note}}) {
    if (std::string problem = TextProblem(what, *text); !problem.empty()) return problem;
  }
  return {};
}

std::string ScheduleText(const TSchedule& s) {
  const std::string every = s.interval == 1 ? "" : std::to_string(s.interval);
  std::string text;
  switch (s.repeat) {
    case TRepeat::rpMonthly:
      text = (s.interval == 1 ? "毎月" : every + "か月ごと ") +
             (s.day == kMonthEnd ? std::string("月末") : std::to_string(s.day) + "日");
      break;
    case TRepeat::rpWeekly:
      text = (s.interval == 1 ? "毎週 " : every + "週ごと ") +
             std::string(s.day >= 1 && s.day <= 7 ? kWeekdayNames[s.day - 1] : "?");
      break;
    case TRepeat::rpYearly:
      text = (s.interval == 1 ? "毎年 " : every + "年ごと ") + std::to_string(s.day / 100) + "月" +
             std::to_string(s.day % 100) + "日";
      break;
    case TRepeat::rpDays: text = std::to_string(s.interval) + "日ごと"; break;
  }
  return text + ShiftText(s.shift);
}

}  // namespace kzm
