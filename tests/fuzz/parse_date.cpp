// Any text gives a day number or 0; a day number read back from its "yyyymmdd" form is the
// same day.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "foundation/Dates.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const kzm::TDayNumber day = kzm::ParseDate(text);
  if (day != 0 && kzm::ParseDate(kzm::FormatDate8(day)) != day) std::abort();
  return 0;
}
