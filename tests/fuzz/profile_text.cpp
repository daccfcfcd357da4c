// Any settings file parses; merging the parsed list back into the same text gives a file
// that reads the same values for every section and key.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "foundation/Codec.h"
#include "foundation/ProfileList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = kzm::DecodeCp932(std::string_view(reinterpret_cast<const char*>(data), size));
  kzm::TprofileList list;
  list.LoadFromText(text);
  if (list.Count() > 0) {
    (void)list.ReadInteger(list.Sections(0), list.Strings(0), 0);
    (void)list.ReadBool(list.Sections(list.Count() - 1), list.Strings(list.Count() - 1), false);
  }
  const std::string merged = list.MergeInto(text);
  kzm::TprofileList again;
  again.LoadFromText(merged);
  for (int i = 0; i < list.Count(); ++i) {
    if (list.IndexOfKey(list.Sections(i), list.Strings(i)) != i) continue;
    const std::string expected = list.ReadString(list.Sections(i), list.Strings(i), "");
    if (list.Record(i).kind == kzm::TValueKind::vkInteger) continue;
    if (again.ReadString(list.Sections(i), list.Strings(i), "\x01") != expected) std::abort();
  }
  return 0;
}
