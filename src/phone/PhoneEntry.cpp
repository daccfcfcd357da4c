#include "phone/PhoneEntry.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cstdio>
#include <vector>

#include "foundation/Codec.h"
#include "foundation/Dates.h"
#include "passbook/AmountExpression.h"
#include "passbook/Categories.h"

namespace kzm {

namespace {

constexpr size_t kIdLimit = 64;
constexpr size_t kTextLimit = 200;

// A string field; empty when absent. False when it is there but no string.
bool Field(const nlohmann::json& body, const char* name, std::string& value) {
  const auto found = body.find(name);
  if (found == body.end() || found->is_null()) return true;
  if (!found->is_string()) return false;
  value = found->get<std::string>();
  return true;
}

TDayNumber ReadIsoDate(const std::string& text) {
  int year = 0, month = 0, day = 0;
  char tail = 0;
  if (text.size() != 10 || std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &year, &month, &day, &tail) != 3) return 0;
  TDayNumber result = 0;
  return TryEncodeDate(year, month, day, result) ? result : 0;
}

// The category named name, of the kind the phone's tab says; without one, a payment or
// receipt first and an asset (a move) only after them.
std::string CategoryKeyOf(const THeadList& categories, const std::string& name, const std::string& kind) {
  std::vector<int> kinds{kKindPayment, kKindReceipt, kKindAsset};
  if (kind == "payment") kinds = {kKindPayment};
  if (kind == "receipt") kinds = {kKindReceipt};
  if (kind == "move") kinds = {kKindAsset};
  for (const int k : kinds) {
    const std::string key = MakeKey(name, k);
    if (categories.IndexOfKey(key) >= 0) return key;
  }
  return {};
}

bool TextFits(const std::string& text, const char* what, std::string& error) {
  if (text.size() > kTextLimit * 3) {
    error = std::string(what) + "が長すぎます。";
    return false;
  }
  if (!IsCp932Encodable(text)) {
    error = std::string(what) + "に通帳に書けない文字 (絵文字など) があります。";
    return false;
  }
  return true;
}

}  // namespace

std::optional<TPhoneEntry> ReadPhoneEntry(const nlohmann::json& body, const THeadList& categories, std::string& error) {
  std::string date, category, amount, account, kind;
  TPhoneEntry entry;
  if (!body.is_object() || !Field(body, "id", entry.clientId) || !Field(body, "date", date) ||
      !Field(body, "category", category) || !Field(body, "amount", amount) || !Field(body, "account", account) ||
      !Field(body, "item", entry.item) || !Field(body, "note", entry.note) || !Field(body, "kind", kind)) {
    error = "記入の形がちがいます (文字の欄に文字でないものがあります)。";
    return std::nullopt;
  }
  if (entry.clientId.empty() || entry.clientId.size() > kIdLimit) {
    error = "記入の id がないか、長すぎます。";
    return std::nullopt;
  }
  entry.day = ReadIsoDate(date);
  if (entry.day == 0) {
    error = "日付「" + date + "」が読めません (YYYY-MM-DD で送ってください)。";
    return std::nullopt;
  }
  entry.categoryKey = CategoryKeyOf(categories, category, kind);
  if (entry.categoryKey.empty()) {
    error = "項目「" + category + "」は通帳にありません。";
    return std::nullopt;
  }
  const std::optional<int32_t> yen = ReadTypedAmount(amount);
  if (!yen || *yen <= 0) {
    error = yen ? "金額は1円以上にしてください。" : BadAmountMessage(amount);
    return std::nullopt;
  }
  entry.amount = *yen;
  if (account.empty() && categories.NthOfKind(kKindAsset, 0)) account = KeyName(categories.NthOfKind(kKindAsset, 0)->key);
  entry.accountKey = MakeKey(account, kKindAsset);
  if (categories.IndexOfKey(entry.accountKey) < 0) {
    error = "口座「" + account + "」は通帳にありません。";
    return std::nullopt;
  }
  if (entry.accountKey == entry.categoryKey) {
    error = "同じ口座のあいだでは移動できません。";
    return std::nullopt;
  }
  if (!TextFits(entry.item, "内容", error) || !TextFits(entry.note, "備考", error)) return std::nullopt;
  return entry;
}

nlohmann::json PhoneEntryJson(const TPhoneEntry& entry) {
  static constexpr std::array<const char*, 4> kKinds{"", "payment", "move", "receipt"};
  const TYmd date = DecodeDate(entry.day);
  char iso[16];
  std::snprintf(iso, sizeof iso, "%04d-%02d-%02d", date.year, date.month, date.day);
  const int kind = KeyKind(entry.categoryKey);
  return nlohmann::json{{"id", entry.clientId},
                        {"date", iso},
                        {"kind", kind >= 1 && kind <= 3 ? kKinds[kind] : ""},
                        {"category", KeyName(entry.categoryKey)},
                        {"account", KeyName(entry.accountKey)},
                        {"amount", entry.amount},
                        {"item", entry.item},
                        {"note", entry.note}};
}

}  // namespace kzm
