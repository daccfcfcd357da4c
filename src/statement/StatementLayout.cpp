#include "statement/StatementLayout.h"

#include <algorithm>

#include "statement/WidthFold.h"

namespace kzm {

namespace {

TColumnRef Named(std::vector<std::string> names) { return {std::move(names), -1}; }
TColumnRef Numbered(int index) { return {{}, index}; }

const std::vector<std::string> kTextNames = {"摘要", "お取引内容", "取引内容", "お取扱内容", "内容", "摘要内容", "備考"};

std::vector<TStatementLayout> MakeLayouts() {
  return {
      {.name = "銀行（日付・摘要・支払い金額・預かり金額）",
       .signature = {"日付", "摘要", "支払い金額", "預かり金額"},
       .date = Named({"日付"}),
       .text = Named({"摘要"}),
       .out = Named({"支払い金額"}),
       .in = Named({"預かり金額"})},
      {.name = "銀行（年月日（和暦）・お引出し・お預入れ）",
       .signature = {"年月日(和暦)", "お引出し", "お預入れ"},
       .date = Named({"年月日(和暦)"}),
       .text = Named(kTextNames),
       .out = Named({"お引出し"}),
       .in = Named({"お預入れ"})},
      {.name = "銀行（取引日・入出金明細ID・受入金額・払出金額）",
       .signature = {"取引日", "入出金明細ID", "受入金額(円)", "払出金額(円)"},
       .date = Named({"取引日"}),
       .text = Named(kTextNames),
       .out = Named({"払出金額(円)"}),
       .in = Named({"受入金額(円)"}),
       .id = Named({"入出金明細ID"})},
      {.name = "銀行（日付・内容・出金金額・入金金額）",
       .signature = {"日付", "内容", "出金金額(円)", "入金金額(円)"},
       .date = Named({"日付"}),
       .text = Named({"内容"}),
       .out = Named({"出金金額(円)"}),
       .in = Named({"入金金額(円)"})},
      {.name = "銀行（取引日・入出金・取引後残高・入出金内容）",
       .signature = {"取引日", "入出金(円)", "入出金内容"},
       .date = Named({"取引日"}),
       .text = Named({"入出金内容"}),
       .signed_ = Named({"入出金(円)"})},
      {.name = "カード（利用日・利用店名・商品名・利用金額）",
       .signature = {"利用日", "利用店名・商品名", "利用金額"},
       .date = Named({"利用日"}),
       .text = Named({"利用店名・商品名"}),
       .signed_ = Named({"利用金額"}),
       .spendingPositive = true},
      // Card files that begin with the holder's name and card number instead of a header.
      {.name = "カード（見出しなし：利用日・利用店名・利用金額）",
       .date = Numbered(0),
       .text = Numbered(1),
       .signed_ = Numbered(2),
       .spendingPositive = true},
  };
}

int FindColumn(const TColumnRef& ref, const std::vector<std::string>& header) {
  if (ref.names.empty()) return ref.index;
  for (const std::string& name : ref.names) {
    const std::string wanted = NormaliseStatementText(name);
    for (size_t i = 0; i < header.size(); ++i) {
      if (NormaliseStatementText(header[i]) == wanted) return static_cast<int>(i);
    }
  }
  return -1;
}

}  // namespace

const std::vector<TStatementLayout>& BuiltInLayouts() {
  static const std::vector<TStatementLayout> layouts = MakeLayouts();
  return layouts;
}

bool ResolveColumns(const TStatementLayout& layout, const std::vector<std::string>& header, TColumns& columns) {
  columns.date = FindColumn(layout.date, header);
  columns.text = FindColumn(layout.text, header);
  columns.out = FindColumn(layout.out, header);
  columns.in = FindColumn(layout.in, header);
  columns.signed_ = FindColumn(layout.signed_, header);
  columns.id = FindColumn(layout.id, header);
  const bool amounts = columns.signed_ >= 0 || (columns.out >= 0 && columns.in >= 0);
  return columns.date >= 0 && amounts;
}

bool MatchesSignature(const TStatementLayout& layout, const std::vector<std::string>& cells) {
  if (layout.signature.empty()) return false;
  std::vector<std::string> normalised;
  normalised.reserve(cells.size());
  for (const std::string& cell : cells) normalised.push_back(NormaliseStatementText(cell));
  return std::all_of(layout.signature.begin(), layout.signature.end(), [&](const std::string& wanted) {
    return std::find(normalised.begin(), normalised.end(), NormaliseStatementText(wanted)) != normalised.end();
  });
}

}  // namespace kzm
