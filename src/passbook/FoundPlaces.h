#pragma once

#include <cstdint>
#include <unordered_set>
#include <vector>

#include "foundation/Dates.h"

namespace kzm {

// The entries a search has found, each known by its day and its place among that day's
// entries. A search may find every entry of a passbook, and entries come day after day, so
// a day's first 64 places are bits of one word held for the day: a run of the same day costs
// no look-up, and a new day one. Other places are held one by one.
class TFoundPlaces {
 public:
  // False when day and place were already found.
  bool Insert(TDayNumber day, int32_t place);
  void Clear();

 private:
  struct TDayPlaces {
    TDayNumber day;
    uint64_t places;  // bit n: place n found
  };
  TDayPlaces& PlacesOf(TDayNumber day);
  void Grow();

  std::vector<TDayPlaces> m_days;  // open addressing, at most half full
  size_t m_dayCount = 0;
  size_t m_lastSlot = 0;  // the slot of the day asked for last
  std::unordered_set<int64_t> m_others;
};

}  // namespace kzm
