// Any line splits and joins without crashing; a joined line never holds a line break, and
// splitting it again gives the same fields (every line break read back as CR LF).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "foundation/Codec.h"
#include "foundation/Csv.h"

#include "common/CrLfText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> fields = kzm::CsvSplit(kzm::DecodeCp932(bytes));
  if (fields.empty()) std::abort();
  const std::string line = kzm::CsvJoin(fields);
  if (line.find_first_of("\r\n") != std::string::npos) std::abort();
  for (std::string& field : fields) field = kzm::test::WithCrLf(field);
  if (kzm::CsvSplit(line) != fields) std::abort();
  (void)kzm::CsvSplit(bytes);
  return 0;
}
