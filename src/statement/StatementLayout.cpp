#include "statement/StatementLayout.h"

#include <algorithm>

#include "statement/WidthFold.h"

namespace kzm {

namespace {

TColumnRef Named(std::vector<std::string> names) { return {std::move(names), -1}; }
TColumnRef Numbered(int index) { return {{}, index}; }

const std::vector<std::string> kTextNames = {"摘要", "お取引内容", "取引内容", "お取扱内容", "内容", "摘要内容", "備考"};

std::vector<TStatementLayout> MakeLayouts() {
  std::vector<TStatementLayout> layouts;
  {
    TStatementLayout bank;
    bank.name = "銀行（日付・摘要・支払い金額・預かり金額）";
    bank.signature = {"日付", "摘要", "支払い金額", "預かり金額"};
    bank.date = Named({"日付"});
    bank.text = Named({"摘要"});
    bank.out = Named({"支払い金額"});
    bank.in = Named({"預かり金額"});
    layouts.push_back(bank);
  }
  {
    TStatementLayout bank;
    bank.name = "銀行（年月日（和暦）・お引出し・お預入れ）";
    bank.signature = {"年月日(和暦)", "お引出し", "お預入れ"};
    bank.date = Named({"年月日(和暦)"});
    bank.text = Named(kTextNames);
    bank.out = Named({"お引出し"});
    bank.in = Named({"お預入れ"});
    layouts.push_back(bank);
  }
  {
    TStatementLayout bank;
    bank.name = "銀行（取引日・入出金明細ID・受入金額・払出金額）";
    bank.signature = {"取引日", "入出金明細ID", "受入金額(円)", "払出金額(円)"};
    bank.date = Named({"取引日"});
    bank.text = Named(kTextNames);
    bank.out = Named({"払出金額(円)"});
    bank.in = Named({"受入金額(円)"});
    bank.id = Named({"入出金明細ID"});
    layouts.push_back(bank);
  }
  {
    TStatementLayout bank;
    bank.name = "銀行（日付・内容・出金金額・入金金額）";
    bank.signature = {"日付", "内容", "出金金額(円)", "入金金額(円)"};
    bank.date = Named({"日付"});
    bank.text = Named({"内容"});
    bank.out = Named({"出金金額(円)"});
    bank.in = Named({"入金金額(円)"});
    layouts.push_back(bank);
  }
  {
    TStatementLayout bank;
    bank.name = "銀行（取引日・入出金・取引後残高・入出金内容）";
    bank.signature = {"取引日", "入出金(円)", "入出金内容"};
    bank.date = Named({"取引日"});
    bank.text = Named({"入出金内容"});
    bank.signed_ = Named({"入出金(円)"});
    layouts.push_back(bank);
  }
  {
    TStatementLayout card;
    card.name = "カード（利用日・利用店名・商品名・利用金額）";
    card.signature = {"利用日", "利用店名・商品名", "利用金額"};
    card.date = Named({"利用日"});
    card.text = Named({"利用店名・商品名"});
    card.signed_ = Named({"利用金額"});
    card.spendingPositive = true;
    layouts.push_back(card);
  }
  {
    // Card files that begin with the holder's name and card number instead of a header.
    TStatementLayout card;
    card.name = "カード（見出しなし：利用日・利用店名・利用金額）";
    card.date = Numbered(0);
    card.text = Numbered(1);
    card.signed_ = Numbered(2);
    card.spendingPositive = true;
    layouts.push_back(card);
  }
  return layouts;
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
