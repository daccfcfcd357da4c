#include "passbook/PassbookId.h"

#include <cstdio>
#include <random>
#include <string_view>

#include "foundation/OwnFiles.h"
#include "foundation/ProfileList.h"
#include "foundation/Text.h"

namespace kzm {

namespace {

constexpr size_t kIdFileLimit = 4096;
constexpr const char* kIdWhat = "通帳の識別のファイル";

bool IsHex(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

std::string NewId() {
  std::random_device source;
  std::string id;
  char part[12];
  for (int i = 0; i < 4; ++i) {
    std::snprintf(part, sizeof part, "%08x", static_cast<unsigned>(source()));
    id += part;
  }
  return id;
}

}  // namespace

std::string PassbookIdOf(const std::string& passbookFolder, std::string& error) {
  const std::string path = passbookFolder + "/" + kPassbookIdFileName;
  std::string bytes;
  if (!ReadOwnFile(path, kIdFileLimit, kIdWhat, bytes, error)) return {};
  TprofileList file;
  file.LoadFromText(bytes);
  std::string id = std::string(Trim(file.ReadString("PASSBOOK", "ID", "")));
  if (IsHex(id) && id.size() == 32) return id;
  // A file that holds no id (cut short, edited) is written anew: the id only tells passbooks apart.
  id = NewId();
  if (!WriteOwnFile(path, "[PASSBOOK]\r\nID=" + id + "\r\n", kIdWhat, error)) return {};
  return id;
}

}  // namespace kzm
