#include "card/CardSettings.h"

#include <algorithm>

#include "foundation/Text.h"
#include "passbook/Categories.h"

namespace kzm {

namespace {

constexpr size_t kCardFields = 6;

std::string DayField(int day) { return day == kCardMonthEnd ? std::string("end") : std::to_string(day); }

bool ReadDay(const std::string& text, int& day) {
  if (text == "end") {
    day = kCardMonthEnd;
    return true;
  }
  int32_t value = 0;
  if (text.empty() || !TryParseInt(text, value) || value < 1 || value > kCardLastDay) return false;
  day = value;
  return true;
}

bool ReadMonths(const std::string& text, int& months) {
  if (text == "next") months = 1;
  else if (text == "after-next") months = 2;
  else return false;
  return true;
}

bool ReadCard(const std::vector<std::string>& f, TCardSettings& card) {
  if (f.size() < kCardFields || f[0] != "card" || f[1].empty()) return false;
  card.card = f[1];
  card.fromAccount = f[5];
  return ReadDay(f[2], card.closingDay) && ReadDay(f[3], card.paymentDay) && ReadMonths(f[4], card.paymentMonths);
}

std::vector<std::string> CardFields(const TCardSettings& c) {
  return {"card",
          c.card,
          DayField(c.closingDay),
          DayField(c.paymentDay),
          c.paymentMonths == 2 ? "after-next" : "next",
          c.fromAccount};
}

bool IsAsset(const THeadList& categories, const std::string& name) {
  return !name.empty() && categories.IndexOfKey(MakeKey(name, kKindAsset)) >= 0;
}

bool DayInRange(int day) { return day == kCardMonthEnd || (day >= 1 && day <= kCardLastDay); }

}  // namespace

std::string CardProblem(const TCardSettings& card, const THeadList& categories) {
  if (!IsAsset(categories, card.card)) return "カード「" + card.card + "」は通帳の資産の項目にありません。";
  if (card.fromAccount.empty()) return "カード「" + card.card + "」の引落口座が決まっていません。";
  if (!IsAsset(categories, card.fromAccount)) {
    return "カード「" + card.card + "」の引落口座「" + card.fromAccount + "」が通帳の資産の項目にありません。";
  }
  if (card.fromAccount == card.card) return "カード「" + card.card + "」の引落口座にカード自身は選べません。";
  if (!DayInRange(card.closingDay) || !DayInRange(card.paymentDay)) {
    return "カード「" + card.card + "」の締め日と支払日は1日から28日か月末にしてください。";
  }
  if (card.paymentMonths != 1 && card.paymentMonths != 2) {
    return "カード「" + card.card + "」の支払月は翌月か翌々月にしてください。";
  }
  return {};
}

std::string CardDayText(int day) { return day == kCardMonthEnd ? std::string("月末") : std::to_string(day) + "日"; }

std::string PaymentMonthText(int months) { return months == 2 ? "翌々月" : "翌月"; }

bool TCardStore::Load(const std::string& passbookFolder, std::string& error) {
  *this = TCardStore();
  m_folder = passbookFolder;
  const auto keyOf = [](const std::vector<std::string>& fields) {
    TCardSettings card;
    return ReadCard(fields, card) ? card.card : std::string();
  };
  if (!m_file.Load(passbookFolder + "/" + kCardFileName, keyOf, error)) return false;
  // A second line for one card would make its bill ambiguous: the store keeps the first.
  for (const TKeyedCsvStore::TRecord& record : m_file.Records()) {
    TCardSettings card;
    if (ReadCard(record.fields, card)) m_cards.push_back(std::move(card));
  }
  return true;
}

bool TCardStore::Save(std::string& error) const {
  return m_file.Save(m_folder + "/" + kCardFileName, error);
}

const TCardSettings* TCardStore::Find(std::string_view card) const {
  const auto found =
      std::find_if(m_cards.begin(), m_cards.end(), [card](const TCardSettings& c) { return c.card == card; });
  return found == m_cards.end() ? nullptr : &*found;
}

void TCardStore::Set(const TCardSettings& card) {
  const auto found =
      std::find_if(m_cards.begin(), m_cards.end(), [&card](const TCardSettings& c) { return c.card == card.card; });
  if (found == m_cards.end()) m_cards.push_back(card);
  else *found = card;
  m_file.Set(card.card, CardFields(card));
}

void TCardStore::Remove(std::string_view card) {
  std::erase_if(m_cards, [card](const TCardSettings& c) { return c.card == card; });
  m_file.Remove(card);
}

}  // namespace kzm
