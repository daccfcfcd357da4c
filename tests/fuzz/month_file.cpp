// Any month file must load and format again without crashing.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "foundation/Codec.h"
#include "foundation/Dates.h"
#include "passbook/MonthFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text =
      kzm::DecodeCp932(std::string_view(reinterpret_cast<const char*>(data), size));
  const int32_t first = kzm::EncodeDate(2024, 3, 1);
  std::vector<kzm::TkzmEntry> read;
  std::vector<kzm::TKeptLine> kept;
  kzm::ParseMonthText(text, first, first + 30, read, kept);
  std::vector<std::unique_ptr<kzm::TkzmEntry>> entries;
  for (kzm::TkzmEntry& entry : read) entries.push_back(std::make_unique<kzm::TkzmEntry>(std::move(entry)));
  (void)kzm::FormatMonthText(entries, kept);
  return 0;
}
