#include "search/FoundPlaces.h"

#include <algorithm>
#include <bit>
#include <utility>

namespace kzm {

bool TFoundPlaces::InsertElsewhere(TDayNumber day, int32_t place) {
  if (day == kFreeDay || place < 0 || place >= kPlacesPerWord) {
    return m_others.insert((int64_t{day} << 32) | static_cast<uint32_t>(place)).second;
  }
  return Mark(PlacesOf(day).places, place);
}

void TFoundPlaces::Clear() {
  m_days = {};
  m_dayCount = 0;
  m_lastSlot = 0;
  m_others.clear();
}

TFoundPlaces::TDayPlaces& TFoundPlaces::PlacesOf(TDayNumber day) {
  if (2 * (m_dayCount + 1) > m_days.size()) Grow();
  // Days come in runs of neighbours: sixteen days in a row have neighbouring slots, so that the
  // next new day is mostly at hand. The runs of sixteen are spread by Fibonacci hashing (the
  // top bits of the product), so that distant runs do not pile up on each other.
  const int shift = 64 - std::countr_zero(m_days.size());
  const size_t mask = m_days.size() - 1;
  const uint32_t days = static_cast<uint32_t>(day);
  const size_t run = static_cast<size_t>((uint64_t{days >> 4} * 0x9E3779B97F4A7C15u) >> shift);
  for (size_t i = (run << 4 | (days & 15)) & mask;; i = (i + 1) & mask) {
    if (m_days[i].day == kFreeDay) {
      m_days[i] = {day, 0};
      ++m_dayCount;
    }
    if (m_days[i].day == day) {
      m_lastSlot = i;
      return m_days[i];
    }
  }
}

void TFoundPlaces::Grow() {
  const size_t size = std::max<size_t>(64, 2 * m_days.size());
  const std::vector<TDayPlaces> old = std::exchange(m_days, std::vector<TDayPlaces>(size, TDayPlaces{kFreeDay, 0}));
  m_dayCount = 0;
  m_lastSlot = 0;
  for (const TDayPlaces& day : old) {
    if (day.day != kFreeDay) PlacesOf(day.day).places = day.places;
  }
}

}  // namespace kzm
