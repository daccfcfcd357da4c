#pragma once

#include <climits>
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
  bool Insert(TDayNumber day, int32_t place) {
    // Entries come day by day: the day of the last one is at hand, and asked for here. (Its
    // slot always holds a day, never a free one.)
    if (m_lastSlot < m_days.size() && m_days[m_lastSlot].day == day && place >= 0 && place < kPlacesPerWord) {
      return Mark(m_days[m_lastSlot].places, place);
    }
    return InsertElsewhere(day, place);
  }
  void Clear();

 private:
  // Marks a free slot. It is a day long before any date; should a day ever be this one, its
  // places are held one by one.
  static constexpr TDayNumber kFreeDay = INT32_MIN;
  static constexpr int32_t kPlacesPerWord = 64;

  struct TDayPlaces {
    TDayNumber day;
    uint64_t places;  // bit n: place n found
  };
  static bool Mark(uint64_t& places, int32_t place) {
    const uint64_t bit = uint64_t{1} << place;
    if ((places & bit) != 0) return false;
    places |= bit;
    return true;
  }
  bool InsertElsewhere(TDayNumber day, int32_t place);
  TDayPlaces& PlacesOf(TDayNumber day);
  void Grow();

  std::vector<TDayPlaces> m_days;  // open addressing, at most half full
  size_t m_dayCount = 0;
  size_t m_lastSlot = 0;  // the slot of the day asked for last
  std::unordered_set<int64_t> m_others;
};

}  // namespace kzm
