// Any bytes must parse or raise the parser's error, never crash or hang; whatever parsed
// must also read by path and write again.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "foundation/XmlList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  kzm::TxmlList doc;
  try {
    doc.ParseText(bytes);
  } catch (const kzm::ExmlParseError&) {
    // A partly filled tree must still be usable.
  }
  (void)doc.Value("head/name");
  (void)doc.Attribute("day");
  try {
    const std::string written = doc.SaveToBytes();
    kzm::TxmlList again;
    again.ParseText(written);
  } catch (const kzm::EkzmError&) {
    // Characters Shift-JIS cannot hold, or a tree that does not read back.
  }
  return 0;
}
