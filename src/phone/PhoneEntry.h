#pragma once

// An entry a phone sends, read from its JSON and checked against the passbook's categories as
// the daily grid checks a typed entry: the kind follows the category (a payment, a receipt, or
// for an asset a move into it), the account is one of the passbook's assets, the amount takes
// the grid's expressions ("298*3").

#include <cstdint>
#include <optional>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "passbook/MonthKeys.h"

namespace kzm {

class THeadList;

struct TPhoneEntry {
  std::string clientId;     // made by the phone; the same id twice is the same entry
  TDayNumber day = 0;
  std::string categoryKey;  // payment or receipt category, or the asset moved into
  std::string accountKey;   // the asset paid from, received into, or moved from
  int32_t amount = 0;
  std::string item;
  std::string note;
};

// The entry in body, or nullopt with a Japanese message in error (the answer is then 422).
[[nodiscard]] std::optional<TPhoneEntry> ReadPhoneEntry(const nlohmann::json& body, const THeadList& categories,
                                                      std::string& error);
// The entry as the API answers it: id, date, kind, category, account, amount, item, note.
[[nodiscard]] nlohmann::json PhoneEntryJson(const TPhoneEntry& entry);

}  // namespace kzm
