// Any line splits and joins without crashing; a joined line never holds a line break, and
// splitting it again gives as many fields.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "foundation/Codec.h"
#include "foundation/Csv.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> fields = kzm::CsvSplit(kzm::DecodeCp932(bytes));
  if (fields.empty()) std::abort();
  const std::string line = kzm::CsvJoin(fields);
  if (line.find_first_of("\r\n") != std::string::npos) std::abort();
  // Fields without "\" or a line break read back exactly ("\" before a quote is the
  // dialect's blind spot; a lone CR or LF reads back as CR LF).
  bool plain = true;
  for (const std::string& f : fields) plain = plain && f.find_first_of("\\\r\n") == std::string::npos;
  if (plain && kzm::CsvSplit(line) != fields) std::abort();
  (void)kzm::CsvSplit(bytes);
  return 0;
}
