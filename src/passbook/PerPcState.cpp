#include "passbook/PerPcState.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "foundation/AtomicFile.h"
#include "foundation/Files.h"
#include "foundation/OwnFiles.h"
#include "foundation/ProfileList.h"
#include "foundation/Text.h"
#include "passbook/MonthFile.h"
#include "passbook/PassbookId.h"

namespace kzm {

namespace {

constexpr size_t kIdFileLimit = 4096;

std::string StateHome() {
  if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state == '/') return state;
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : "/tmp") + "/.local/state";
}

std::string HashText(std::string_view bytes) {
  uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  char text[24];
  std::snprintf(text, sizeof text, "%016llx:%zu", static_cast<unsigned long long>(hash), bytes.size());
  return text;
}

// A file of the state folder: read whole, or nothing.
bool ReadStateFile(const std::string& path, std::string& bytes) {
  std::string error;
  bytes.clear();
  return FileExists(path) && ReadOwnFile(path, kMaxMonthFileSize, "", bytes, error);
}

void WriteStateFile(const std::string& path, std::string_view bytes) {
  EnsureFolder(path.substr(0, path.rfind('/')));
  (void)WriteFileUnsynced(path, bytes);
}

std::string BasePath(const std::string& passbookFolder, const std::string& relativeName) {
  const std::string state = PerPcStateFolder(passbookFolder);
  return state.empty() ? state : state + "/MergeBase/" + relativeName;
}

}  // namespace

std::string PerPcStateFolder(const std::string& passbookFolder) {
  std::string bytes;
  std::string error;
  if (!ReadOwnFile(passbookFolder + "/" + kPassbookIdFileName, kIdFileLimit, "", bytes, error) || bytes.empty()) {
    return {};
  }
  TprofileList file;
  file.LoadFromText(bytes);
  const std::string id = std::string(Trim(file.ReadString("PASSBOOK", "ID", "")));
  if (id.size() != 32 || id.find_first_not_of("0123456789abcdef") != std::string::npos) return {};
  return StateHome() + "/Orvik/tavimrok/" + id;
}

bool ReadMergeBase(const std::string& passbookFolder, const std::string& relativeName, std::string& bytes) {
  const std::string path = BasePath(passbookFolder, relativeName);
  return !path.empty() && ReadStateFile(path, bytes);
}

void KeepMergeBase(const std::string& passbookFolder, const std::string& relativeName, std::string_view base,
                   std::string_view written) {
  const std::string path = BasePath(passbookFolder, relativeName);
  if (path.empty()) return;
  WriteStateFile(path, base);
  WriteStateFile(path + ".own", HashText(written));
}

void NoteMonthFileWrite(const std::string& path, std::string_view bytes, bool written) {
  const size_t slash = path.rfind('/');
  const size_t daily = slash == std::string::npos ? slash : path.rfind('/', slash - 1);
  if (daily == std::string::npos) return;
  const std::string passbook = path.substr(0, daily);
  // The first month written gives the passbook its id, under which its bases are kept.
  std::string error;
  if (!written && PassbookIdOf(passbook, error).empty()) return;
  const std::string base = BasePath(passbook, path.substr(daily + 1));
  if (base.empty()) return;
  if (written) {
    WriteStateFile(base + ".own", HashText(bytes));
    return;
  }
  std::string onDisk;
  std::string own;
  if (FileExists(path) && !ReadOwnFile(path, kMaxMonthFileSize, "", onDisk, error)) return;
  // This PC's own last write stands for nothing the others know: the base stays older.
  if (ReadStateFile(base + ".own", own) && own == HashText(onDisk)) return;
  WriteStateFile(base, onDisk);
}

}  // namespace kzm
