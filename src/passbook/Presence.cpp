#include "passbook/Presence.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "foundation/Codec.h"
#include "foundation/Files.h"
#include "foundation/OwnFiles.h"
#include "foundation/ProfileList.h"
#include "foundation/Text.h"
#include "foundation/ThisPc.h"

namespace kzm {

namespace {

constexpr std::string_view kPrefix = "Presence-";
constexpr std::string_view kSuffix = ".ini";
constexpr size_t kPresenceLimit = 4096;
const char* const kWhat = "ほかのPCの記録";

std::string OwnPath(const std::string& passbookFolder) {
  return passbookFolder + "/" + std::string(kPrefix) + ThisPcId() + std::string(kSuffix);
}

}  // namespace

bool IsPresenceFileName(std::string_view name) {
  return name.size() > kPrefix.size() + kSuffix.size() && name.starts_with(kPrefix) && name.ends_with(kSuffix);
}

bool WritePresence(const std::string& passbookFolder, int64_t now, std::string& error) {
  // A PC name CP932 cannot hold is written by its id, so the file is always written.
  std::string name = ThisPcName();
  if (!IsCp932Encodable(name)) name = ThisPcId();
  return WriteOwnFile(OwnPath(passbookFolder),
                      "[PRESENCE]\r\nNAME=" + name + "\r\nSEEN=" + std::to_string(now) + "\r\n", kWhat, error);
}

void RemovePresence(const std::string& passbookFolder) { ::unlink(OwnPath(passbookFolder).c_str()); }

std::vector<std::string> OtherPcsPresent(const std::string& passbookFolder, int64_t now) {
  std::vector<std::string> files;
  ListFiles(passbookFolder, std::string(kPrefix) + "*" + std::string(kSuffix), files, TLinkRule::lrRefuse);
  const std::string own = OwnPath(passbookFolder);
  std::vector<std::string> names;
  for (const std::string& path : files) {
    if (path == own) continue;
    std::string bytes;
    std::string error;
    if (!ReadOwnFile(path, kPresenceLimit, kWhat, bytes, error) || bytes.empty()) continue;
    TprofileList ini;
    ini.LoadFromText(bytes);
    const std::string seenText = ini.ReadString("PRESENCE", "SEEN", "");
    char* end = nullptr;
    const long long seen = std::strtoll(seenText.c_str(), &end, 10);
    if (seenText.empty() || *end != '\0' || seen < now - kPresenceFreshSeconds || seen > now + kPresenceFreshSeconds) {
      continue;
    }
    std::string name = std::string(Trim(ini.ReadString("PRESENCE", "NAME", "")));
    names.push_back(name.empty() ? "名前のないPC" : name);
  }
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

}  // namespace kzm
