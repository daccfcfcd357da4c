// The category file of a passbook (Headfile.dta) and, with a period, the settlement file of
// an accounting month: see THeadList in Categories.h for the layout.

#include <string>

#include "foundation/Dates.h"
#include "foundation/Text.h"
#include "foundation/WindowSystem.h"
#include "foundation/XmlList.h"
#include "passbook/Categories.h"

namespace kzm {

namespace {

struct TDefaultCategory {
  const char* name;
  int kind;
};

// The half-width middle dot of 住居･光熱 is part of the name stored in existing files.
constexpr TDefaultCategory kDefaultCategories[] = {
    {"給与", kKindReceipt},
    {"収入合計", kKindReceiptTotal},
    {"食費", kKindPayment},
    {"服飾", kKindPayment},
    {"交際", kKindPayment},
    {"教養", kKindPayment},
    {"娯楽", kKindPayment},
    {"交通", kKindPayment},
    {"住居･光熱", kKindPayment},
    {"雑費", kKindPayment},
    {"支出合計", kKindPaymentTotal},
    {"現金", kKindAsset},
    {"銀行", kKindAsset},
    {"カード", kKindAsset},
    {"メモ", kKindMemo},
};

}  // namespace

void THeadList::LoadDefaultCategories() {
  Clear();
  for (const TDefaultCategory& category : kDefaultCategories) AddKey(MakeKey(category.name, category.kind));
}

void THeadList::LoadFromFile(const std::string& fileName) {
  Clear();
  TxmlList doc;
  doc.LoadFromFile(fileName);
  m_first = ParseDate(doc.Value("first"));
  m_last = ParseDate(doc.Value("last"));
  // A period with one end missing is no period; its reader supplies one.
  if (m_first != 0 && m_last != 0 && m_last < m_first) {
    WindowSystem().Notify("月の設定期間が無効です");
    m_last = m_first;
  }
  for (int i = 0; i < doc.Count(); ++i) {
    TxmlList& head = doc.Items(i);
    if (head.TagName() != "head") continue;
    const std::string key = MakeKey(head.Value("name"), KindCode(head.Value("kind")));
    if (IndexOfKey(key) >= 0) continue;
    THeadData& item = Items(AddKey(key));
    item.balance = ParseInt64(head.Value("balance"), 0);
    item.total = ParseInt64(head.Value("total"), 0);
    item.visible = ParseInt(head.Value("visible"), 1);
  }
}

void THeadList::BuildDocument(TxmlList& doc) const {
  doc.SetEncoding("shift_jis");
  if (m_first != 0) doc.AddChild("first", FormatDate8(m_first));
  if (m_last != 0) doc.AddChild("last", FormatDate8(m_last));
  for (const THeadData& item : m_items) {
    TxmlList& head = doc.Items(doc.AddChild("head", ""));
    const int kind = KeyKind(item.key);
    head.AddChild("name", KeyName(item.key));
    head.AddChild("kind", KindNames()[static_cast<std::size_t>(kind)]);
    head.AddChild("balance", std::to_string(item.balance));
    head.AddChild("total", std::to_string(item.total));
    head.AddChild("visible", std::to_string(item.visible));
  }
}

std::string THeadList::SaveToBytes() const {
  TxmlList doc;
  BuildDocument(doc);
  return doc.SaveToBytes();
}

void THeadList::SaveToFile(const std::string& fileName) const {
  TxmlList doc;
  BuildDocument(doc);
  doc.SaveToFile(fileName);
}

}  // namespace kzm
