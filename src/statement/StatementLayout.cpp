#include "statement/StatementLayout.h"

#include <algorithm>

#include "statement/WidthFold.h"

namespace kzm {

namespace {

TColumnRef Named(std::vector<std::string> names) { return {std::move(names), -1}; }
TColumnRef Numbered(int index) { return {{}, index}; }

const std::vector<std::string> kTextNames = {"摘要", "お取引内容", "取引内容", "お取扱内容", "お取り扱い内容", "内容", "摘要内容", "備考"};

// Banks: one column for money out, one for money in, each positive.
std::vector<TStatementLayout> BankLayouts() {
  return {
      {.name = "銀行（日付・摘要・支払い金額・預かり金額）",
       .signature = {"日付", "摘要", "支払い金額", "預かり金額"},
       .date = Named({"日付"}),
       .text = Named({"摘要"}),
       .out = Named({"支払い金額"}),
       .in = Named({"預かり金額"}),
       // "口座振替" alone would not tell the water bill from the phone bill.
       .text2 = Named({"摘要内容"}),
       .balance = Named({"差引残高"})},
      // Before the one with the plain 年月日, whose name also finds this header's date.
      {.name = "銀行（年月日（和暦）・お引出し・お預入れ）",
       .signature = {"年月日(和暦)", "お引出し", "お預入れ"},
       .date = Named({"年月日(和暦)"}),
       .text = Named(kTextNames),
       .out = Named({"お引出し"}),
       .in = Named({"お預入れ"}),
       .balance = Named({"残高"})},
      {.name = "銀行（年月日・お引出し・お預入れ・お取り扱い内容）",
       .signature = {"年月日", "お引出し", "お預入れ"},
       .date = Named({"年月日"}),
       .text = Named(kTextNames),
       .out = Named({"お引出し"}),
       .in = Named({"お預入れ"}),
       .balance = Named({"残高"})},
      {.name = "銀行（日付・お引出金額・お預入金額・お取引内容）",
       .signature = {"日付", "お引出金額", "お預入金額"},
       .date = Named({"日付"}),
       .text = Named(kTextNames),
       .out = Named({"お引出金額"}),
       .in = Named({"お預入金額"}),
       .balance = Named({"残高"})},
      {.name = "銀行（取引日・入出金明細ID・受入金額・払出金額）",
       .signature = {"取引日", "入出金明細ID", "受入金額", "払出金額"},
       .date = Named({"取引日"}),
       .text = Named({"詳細1", "摘要", "お取引内容", "取引内容"}),
       .out = Named({"払出金額"}),
       .in = Named({"受入金額"}),
       .id = Named({"入出金明細ID"}),
       .text2 = Named({"詳細2"}),
       .balance = Named({"現在(貸付)高", "残高"})},
      {.name = "銀行（日付・内容・出金金額・入金金額）",
       .signature = {"日付", "内容", "出金金額", "入金金額"},
       .date = Named({"日付"}),
       .text = Named({"内容"}),
       .out = Named({"出金金額"}),
       .in = Named({"入金金額"}),
       .balance = Named({"残高"})},
      {.name = "銀行（取引日・摘要・出金金額・入金金額）",
       .signature = {"取引日", "摘要", "出金金額", "入金金額"},
       .date = Named({"取引日"}),
       .text = Named({"摘要"}),
       .out = Named({"出金金額"}),
       .in = Named({"入金金額"}),
       .balance = Named({"残高"})},
      {.name = "銀行（取引日・入出金・取引後残高・入出金内容）",
       .signature = {"取引日", "入出金(円)", "入出金内容"},
       .date = Named({"取引日"}),
       .text = Named({"入出金内容"}),
       .signed_ = Named({"入出金(円)"}),
       .balance = Named({"取引後残高"})},
      {.name = "銀行（操作日の年・月・日・摘要・お支払金額・お預り金額）",
       .signature = {"操作日(年)", "操作日(月)", "操作日(日)", "お支払金額", "お預り金額"},
       .date = Named({"操作日(年)"}),
       .text = Named({"摘要"}),
       .out = Named({"お支払金額"}),
       .in = Named({"お預り金額"}),
       .month = Named({"操作日(月)"}),
       .dayOfMonth = Named({"操作日(日)"}),
       .balance = Named({"残高"})},
      {.name = "銀行（取扱日付・摘要・お支払金額・お預り金額）",
       .signature = {"取扱日付", "お支払金額", "お預り金額"},
       .date = Named({"取扱日付"}),
       .text = Named(kTextNames),
       .out = Named({"お支払金額"}),
       .in = Named({"お預り金額"}),
       .balance = Named({"差引残高", "残高"})},
  };
}

// A bank we have no layout for, whose header names its columns in the words banks use. Tried
// after every layout of its own, so a known header is never read by guesswork.
TStatementLayout BankByNames() {
  return {.name = "銀行（列の名前から：日付・摘要・お支払金額・お預り金額）",
          .date = Named({"日付", "年月日", "取引日", "お取引日", "お取引日付", "取扱日", "取扱日付"}),
          .text = Named(kTextNames),
          .out = Named({"お支払金額", "お引出し", "お引出金額", "出金金額", "支払い金額", "支払金額", "お支払い金額",
                        "出金額", "お引出し金額"}),
          .in = Named({"お預り金額", "お預入れ", "お預入金額", "入金金額", "預かり金額", "預り金額", "お預かり金額",
                       "入金額", "お預入れ金額"}),
          .balance = Named({"残高", "差引残高", "取引後残高", "お取引後残高"}),
          .byNames = true};
}

// A card statement we have no layout for, whose header names the date, the shop and the
// amount in the words card companies use; tried after every layout of its own.
TStatementLayout CardByNames() {
  return {.name = "カード（列の名前から：利用日・利用店名・利用金額）",
          .date = Named({"利用日", "ご利用日", "利用年月日", "ご利用年月日", "ご利用日付", "利用日付"}),
          .text = Named({"利用店名・商品名", "ご利用店名・商品名", "ご利用店名", "利用店名", "ご利用先", "ご利用先など",
                         "ご利用場所", "利用場所", "利用先", "ご利用箇所"}),
          .signed_ = Named({"利用金額", "ご利用金額", "ご利用額", "利用額"}),
          .spendingPositive = true,
          .byNames = true};
}

// Cards list spending as positive amounts and refunds and cancellations as negative ones.
std::vector<TStatementLayout> CardLayouts() {
  auto card = [](std::string name, std::vector<std::string> signature, std::string date, std::string text,
                 std::string amount) {
    return TStatementLayout{.name = std::move(name),
                            .signature = std::move(signature),
                            .date = Named({std::move(date)}),
                            .text = Named({std::move(text)}),
                            .signed_ = Named({std::move(amount)}),
                            .spendingPositive = true};
  };
  std::vector<TStatementLayout> layouts = {
      card("カード（利用日・利用店名・商品名・利用金額）", {"利用日", "利用店名・商品名", "利用金額"}, "利用日",
           "利用店名・商品名", "利用金額"),
      card("カード（利用日／キャンセル日・利用店名・商品名・利用金額）",
           {"利用日/キャンセル日", "利用店名・商品名", "利用金額"}, "利用日/キャンセル日", "利用店名・商品名", "利用金額"),
      card("カード（利用日・利用店名・商品・利用金額）", {"利用日", "利用店名・商品", "利用金額"}, "利用日",
           "利用店名・商品", "利用金額"),
      card("カード（ご利用日・ご利用先など・ご利用金額）", {"ご利用日", "ご利用先など", "ご利用金額"}, "ご利用日",
           "ご利用先など", "ご利用金額"),
      card("カード（ご利用年月日・ご利用場所・ご利用金額）", {"ご利用年月日", "ご利用場所", "ご利用金額"},
           "ご利用年月日", "ご利用場所", "ご利用金額"),
      card("カード（利用日・利用店名・利用金額）", {"利用日", "利用店名", "利用金額"}, "利用日", "利用店名", "利用金額"),
      card("カード（ご利用日・ご利用店名・ご利用金額）", {"ご利用日", "ご利用店名", "ご利用金額"}, "ご利用日",
           "ご利用店名", "ご利用金額"),
      // Spending and refunds in columns of their own, both positive.
      {.name = "カード（ご利用年月日・ご利用箇所・ご利用額・払戻額）",
       .signature = {"ご利用年月日", "ご利用箇所", "ご利用額", "払戻額"},
       .date = Named({"ご利用年月日"}),
       .text = Named({"ご利用箇所"}),
       .out = Named({"ご利用額"}),
       .in = Named({"払戻額"})},
  };
  return layouts;
}

// Electronic money, transit cards and payment apps.
std::vector<TStatementLayout> WalletLayouts() {
  return {
      // Every amount is positive; what the row is says which way the money went.
      // Such files sometimes come with their first cell garbled by a second conversion of
      // their encoding: the header is known without it, and the date is the first column.
      {.name = "電子マネー（取引年月日・利用店舗・利用金額・利用区分）",
       .signature = {"利用店舗", "利用金額(税込)", "利用区分"},
       .date = {{"取引年月日"}, 0},
       .text = Named({"利用店舗"}),
       .signed_ = Named({"利用金額(税込)"}),
       .kind = Named({"利用区分"}),
       .inKinds = {"チャージ", "オートチャージ", "ダウンロード", "支払取消"},
       .outKinds = {"支払"},
       .chargeSource = Named({"チャージ区分"}),
       .chargeKinds = {"チャージ", "オートチャージ"},
       .noMoneyKinds = {"ポイントダウンロード"},
       .moveSuffix = "移行"},
      {.name = "交通系IC（月日・種別・利用駅・残高・入金・利用額）",
       .signature = {"種別", "入金・利用額"},
       .date = Named({"月日", "利用年月日", "利用日", "日付"}),
       .text = Named({"種別"}),
       .signed_ = Named({"入金・利用額"}),
       .text2 = Named({"利用駅", "利用場所"}),
       .balance = Named({"残高", "残額"}),
       .zeroIsRecord = true},
      // A card reader's or an app's history, newest first: fares and shopping positive,
      // charges negative.
      {.name = "交通系IC（利用年月日・入場駅・出場駅・利用額・残額）",
       .signature = {"利用年月日", "入場駅/事業者名", "出場駅/降車場所", "利用額"},
       .date = Named({"利用年月日"}),
       .text = Named({"入場駅/事業者名"}),
       .signed_ = Named({"利用額"}),
       .spendingPositive = true,
       .text2 = Named({"出場駅/降車場所"}),
       .balance = Named({"残額"}),
       .zeroIsRecord = true,
       .rides = true,
       .note = Named({"メモ"}),
       .chargeIn = true},
      {.name = "決済アプリ（取引日・出金金額・入金金額・取引先）",
       .signature = {"取引日", "出金金額", "入金金額", "取引先"},
       .date = Named({"取引日"}),
       .text = Named({"取引先"}),
       .out = Named({"出金金額"}),
       .in = Named({"入金金額"}),
       .id = Named({"取引番号"}),
       .text2 = Named({"取引内容"})},
      {.name = "決済サービス（日付・名前・通貨・合計・取引ID）",
       .signature = {"日付", "名前", "通貨", "合計", "取引ID"},
       .date = Named({"日付"}),
       .text = Named({"名前"}),
       .signed_ = Named({"合計"}),
       .id = Named({"取引ID"}),
       .currency = Named({"通貨"}),
       .note = Named({"タイプ"}),
       .chargeNotes = {"による"}},
  };
}

std::vector<TStatementLayout> MakeLayouts() {
  std::vector<TStatementLayout> layouts = BankLayouts();
  for (auto* more : {CardLayouts, WalletLayouts}) {
    for (TStatementLayout& layout : more()) layouts.push_back(std::move(layout));
  }
  layouts.push_back(BankByNames());
  layouts.push_back(CardByNames());
  // Card files of one row per purchase and no header: date, shop, who used it, payment
  // plan, a blank, the billing month, the amount used, the amount billed this time.
  layouts.push_back({.name = "カード（見出しなし：利用日・利用店名・利用者・支払方法・支払月・利用金額）",
                     .date = Numbered(0),
                     .text = Numbered(1),
                     .signed_ = Numbered(6),
                     .spendingPositive = true,
                     .who = Numbered(2),
                     .plan = Numbered(3),
                     .billed = Numbered(5)});
  // Card files that begin with the holder's name and card number instead of a header. Tried
  // only on a file without any header-like line.
  layouts.push_back({.name = "カード（見出しなし：利用日・利用店名・利用金額）",
                     .date = Numbered(0),
                     .text = Numbered(1),
                     .signed_ = Numbered(2),
                     .spendingPositive = true});
  return layouts;
}

// A header cell is the name itself or the name with a bracketed note after it.
bool NameFits(const std::string& wanted, const std::string& cell) {
  if (!cell.starts_with(wanted)) return false;
  return cell.size() == wanted.size() || cell[wanted.size()] == '(';
}

int FindColumn(const TColumnRef& ref, const std::vector<std::string>& header) {
  if (ref.names.empty() || header.empty()) return ref.index;
  for (const std::string& name : ref.names) {
    const std::string wanted = NormaliseStatementText(name);
    for (size_t i = 0; i < header.size(); ++i) {
      if (NormaliseStatementText(header[i]) == wanted) return static_cast<int>(i);
    }
    for (size_t i = 0; i < header.size(); ++i) {
      if (NameFits(wanted, NormaliseStatementText(header[i]))) return static_cast<int>(i);
    }
  }
  return ref.index;
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
  columns.text2 = FindColumn(layout.text2, header);
  columns.month = FindColumn(layout.month, header);
  columns.dayOfMonth = FindColumn(layout.dayOfMonth, header);
  columns.balance = FindColumn(layout.balance, header);
  columns.kind = FindColumn(layout.kind, header);
  columns.currency = FindColumn(layout.currency, header);
  columns.note = FindColumn(layout.note, header);
  columns.chargeSource = FindColumn(layout.chargeSource, header);
  columns.who = FindColumn(layout.who, header);
  columns.plan = FindColumn(layout.plan, header);
  columns.billed = FindColumn(layout.billed, header);
  const bool amounts = columns.signed_ >= 0 || (columns.out >= 0 && columns.in >= 0);
  const bool dateParts = (layout.month.names.empty() && layout.month.index < 0) || (columns.month >= 0 && columns.dayOfMonth >= 0);
  const bool kind = (layout.kind.names.empty() && layout.kind.index < 0) || columns.kind >= 0;
  return columns.date >= 0 && amounts && dateParts && kind;
}

bool MatchesSignature(const TStatementLayout& layout, const std::vector<std::string>& cells) {
  if (layout.byNames) {
    // The names of date, text and amounts never overlap, so a summary line of a key and its
    // value ("ご利用日,2026/01/31") is never taken for the header.
    TColumns columns;
    return ResolveColumns(layout, cells, columns) && columns.text >= 0;
  }
  if (layout.signature.empty()) return false;
  std::vector<std::string> normalised;
  normalised.reserve(cells.size());
  for (const std::string& cell : cells) normalised.push_back(NormaliseStatementText(cell));
  return std::all_of(layout.signature.begin(), layout.signature.end(), [&](const std::string& wanted) {
    const std::string name = NormaliseStatementText(wanted);
    return std::any_of(normalised.begin(), normalised.end(), [&](const std::string& cell) { return NameFits(name, cell); });
  });
}

}  // namespace kzm
