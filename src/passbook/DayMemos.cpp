#include "passbook/DayMemos.h"

#include "passbook/Categories.h"
#include "passbook/MonthData.h"

namespace kzm {

const std::string& MemoKey() {
  static const std::string key = MakeKey("メモ", kKindMemo);
  return key;
}

namespace {

bool IsMemo(const TkzmEntry& entry) { return KeyKind(entry.categoryKey) == kKindMemo; }

}  // namespace

TDayMemo CurrentDayMemo() {
  TkzmDataUnit& data = CurrentMonthData();
  TDayMemo memo;
  memo.day = data.CurrentDay();
  for (int i = data.FirstIndex(); i <= data.LastIndex(); ++i) {
    const TkzmEntry& entry = data.Entry(i);
    if (!IsMemo(entry)) continue;
    memo.text = entry.itemText;
    memo.note = entry.note;
  }
  return memo;
}

void AddDayMemo(const std::string& text, const std::string& note) {
  if (text.empty() && note.empty()) return;
  CurrentMonthData().AddEntry(MemoKey(), MemoKey(), note, text, 0);
}

std::vector<TDayMemo> DayMemosOfPeriod(TDayNumber first, TDayNumber last) {
  TkzmDataUnit& data = CurrentMonthData();
  std::vector<TDayMemo> memos;
  for (TDayNumber day = first; day <= last; ++day) {
    data.SelectDay(day);
    for (int i = data.FirstIndex(); i <= data.LastIndex(); ++i) {
      const TkzmEntry& entry = data.Entry(i);
      if (IsMemo(entry)) memos.push_back({day, entry.itemText, entry.note});
    }
  }
  return memos;
}

int FirstMemoIndexOfDay() {
  TkzmDataUnit& data = CurrentMonthData();
  for (int i = data.FirstIndex(); i <= data.LastIndex(); ++i) {
    if (IsMemo(data.Entry(i))) return i;
  }
  return -1;
}

}  // namespace kzm
