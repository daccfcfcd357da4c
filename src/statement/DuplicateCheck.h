#pragma once

// Which statement rows the passbook already holds. A row is a likely duplicate when an entry
// on the same account moves the same amount the same way within a few days of it, whether
// that entry was typed by hand or imported before; a certain one when that entry also has the
// same text (width-folded, blanks collapsed) or the row's bank id was imported before. Each
// entry stands for one row at most, so two real ¥150 coffees on one day against one booked
// coffee leave one of them new.

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/Dates.h"

namespace kzm {

class TkzmDataUnit;
struct TkzmEntry;

enum class TDuplicate : uint8_t { dNew, dLikely, dCertain };

inline constexpr int kDefaultDuplicateDays = 3;

// How an entry moves money on account: negative when it leaves the account (a payment from
// it, a move out of it), positive when it comes in (a receipt into it, a move into it); 0 for
// entries that do not touch it (or touch it on both sides).
[[nodiscard]] int32_t FlowOf(const TkzmEntry& entry, const std::string& accountKey);

struct TAccountFlow {
  TDayNumber date = 0;
  int32_t flow = 0;
  std::string text;  // the entry's item text, normalised
};

// The movements on account of the entries dated first..last, month file by month file: as the
// data holds a month, else read from its file without loading it (the data's day stays).
// Months whose file could not be read are reported through the data and read as empty.
[[nodiscard]] std::vector<TAccountFlow> CollectAccountFlows(TkzmDataUnit& data, const std::string& accountKey,
                                                            TDayNumber first, TDayNumber last);

struct TRowToCheck {
  TDayNumber date = 0;
  int32_t flow = 0;
  std::string text;      // normalised
  bool knownId = false;  // the row's bank id was imported into this account before
};

// The mark of each row against flows, within ±days. Certain matches are settled first, each
// with the nearest free entry, then likely ones with what is left.
[[nodiscard]] std::vector<TDuplicate> FindDuplicates(const std::vector<TRowToCheck>& rows,
                                                     const std::vector<TAccountFlow>& flows, int days);

}  // namespace kzm
