// Any month file must load and format again without crashing, and every line that did not
// become an entry comes out byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Dates.h"
#include "passbook/MonthFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const int32_t first = kzm::EncodeDate(2024, 3, 1);
  std::vector<kzm::TkzmEntry> read;
  std::vector<kzm::TKeptLine> kept;
  (void)kzm::ParseMonthBytes(bytes, first, first + 30, read, kept);
  std::vector<std::unique_ptr<kzm::TkzmEntry>> entries;
  for (kzm::TkzmEntry& entry : read) entries.push_back(std::make_unique<kzm::TkzmEntry>(std::move(entry)));
  std::string out;
  if (!kzm::FormatMonthBytes(entries, kept, out)) return 0;
  for (const kzm::TKeptLine& line : kept) {
    if (out.find(line.bytes) == std::string::npos) std::abort();
  }
  return 0;
}
