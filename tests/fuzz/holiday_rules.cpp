// Any rule text must load (or be refused as malformed) without a crash, and the rules it
// gives must compute a year of holidays.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "calendar/Almanac.h"
#include "foundation/Dates.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  kzm::Talmanac almanac;
  almanac.SetDate(kzm::EncodeDate(2009, 5, 6));
  almanac.LoadRules(bytes);
  (void)almanac.HolidayName();
  almanac.SetDate(kzm::EncodeDate(1, 1, 1));
  (void)almanac.IsHoliday();
  return 0;
}
