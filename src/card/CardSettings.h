#pragma once

// Credit cards of a passbook: an asset category that is a card closes its month on a day
// (締め日) and is paid from another asset (引落口座) on a day of the month after or the one
// after that (支払日).
//
// File (Cards.csv in the passbook folder): CP932 lines ended by CR LF, CSV fields as the
// month files write them:
//   card,name,closing,payment,month,from
// name is the card's asset category, closing and payment a day 1–28 or "end" (月末), month
// "next" (翌月) or "after-next" (翌々月), from the asset the bill is paid from. A line of any
// other shape is kept as it is and written back at the end; of two lines for one card the first
// holds (TKeyedCsvStore).

#include <string>
#include <string_view>
#include <vector>

#include "foundation/KeyedCsvStore.h"

namespace kzm {

class THeadList;

inline constexpr const char* kCardFileName = "Cards.csv";

// A closing or payment day that means the last day of each month (月末).
inline constexpr int kCardMonthEnd = 0;
// Later days would be missing from some months; 月末 covers the end of the month.
inline constexpr int kCardLastDay = 28;

struct TCardSettings {
  std::string card;  // display name of the asset category
  int closingDay = kCardMonthEnd;
  int paymentDay = 10;
  int paymentMonths = 1;    // 1: 翌月, 2: 翌々月
  std::string fromAccount;  // display name of the asset the bill is paid from
  friend bool operator==(const TCardSettings&, const TCardSettings&) = default;
};

// What is wrong with the settings for this passbook, in a sentence for the person; empty when
// nothing is. A card or 引落口座 that is no asset category of the passbook (deleted or
// renamed) is named, never guessed at.
[[nodiscard]] std::string CardProblem(const TCardSettings& card, const THeadList& categories);
// "15日", "月末"; "翌月", "翌々月".
[[nodiscard]] std::string CardDayText(int day);
[[nodiscard]] std::string PaymentMonthText(int months);

class TCardStore {
 public:
  // Reads the passbook folder's file; a missing file holds no card. False, with the reason in
  // error, when the file is there but cannot be read: the store is then empty and refuses to
  // be saved, so the file is never written over.
  bool Load(const std::string& passbookFolder, std::string& error);
  // Writes every card, atomically. False, with the reason in error, when that fails or the
  // file could not be read.
  [[nodiscard]] bool Save(std::string& error) const;

  [[nodiscard]] const std::vector<TCardSettings>& Cards() const { return m_cards; }
  // The card of that asset name; null when it is no card.
  [[nodiscard]] const TCardSettings* Find(std::string_view card) const;
  // Adds the card or replaces its settings.
  void Set(const TCardSettings& card);
  // The asset is no card any more.
  void Remove(std::string_view card);

 private:
  std::string m_folder;
  std::vector<TCardSettings> m_cards;
  TKeyedCsvStore m_file{"カードの設定ファイル", 4 * 1024 * 1024};  // keyed by the card's name
};

}  // namespace kzm
