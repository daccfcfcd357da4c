// Any line splits and joins without crashing; a joined line never holds a line break, and
// splitting it again gives the same fields (every line break read back as CR LF).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "foundation/Codec.h"
#include "foundation/Csv.h"

namespace {

std::string WithCrLf(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') {
      out += text[i];
      continue;
    }
    out += "\r\n";
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> fields = kzm::CsvSplit(kzm::DecodeCp932(bytes));
  if (fields.empty()) std::abort();
  const std::string line = kzm::CsvJoin(fields);
  if (line.find_first_of("\r\n") != std::string::npos) std::abort();
  for (std::string& field : fields) field = WithCrLf(field);
  if (kzm::CsvSplit(line) != fields) std::abort();
  (void)kzm::CsvSplit(bytes);
  return 0;
}
