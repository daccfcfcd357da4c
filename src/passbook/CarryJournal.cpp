#include "passbook/CarryJournal.h"

#include <cerrno>
#include <cstdio>

#include "foundation/OwnFiles.h"
#include "foundation/Text.h"
#include "foundation/ThisPc.h"

namespace kzm {

namespace {

constexpr size_t kJournalLimit = 1 << 20;
constexpr const char* kWhat = "残高の繰り越しの記録";

std::string JournalPath(const std::string& passbookFolder) { return PcOwnPath(passbookFolder, kCarryJournalFileName); }

bool WriteJournal(const std::string& passbookFolder, const std::set<TMonthKey>& months, std::string& error) {
  if (months.empty()) return std::remove(JournalPath(passbookFolder).c_str()) == 0 || errno == ENOENT;
  std::string text;
  for (const TMonthKey key : months) text += std::to_string(key) + "\r\n";
  return WriteOwnFile(JournalPath(passbookFolder), text, kWhat, error);
}

// False when the journal is there but cannot be read: it is then never written over.
bool ReadJournal(const std::string& passbookFolder, std::set<TMonthKey>& months, std::string& error) {
  std::string bytes;
  if (passbookFolder.empty() || !ReadOwnFile(JournalPath(passbookFolder), kJournalLimit, kWhat, bytes, error)) return false;
  for (const std::string& line : NonEmptyLines(bytes)) {
    int32_t key = 0;
    if (line.size() == 6 && TryParseInt(line, key) && NormaliseMonthKey(key) == key) months.insert(key);
  }
  return true;
}

}  // namespace

std::set<TMonthKey> MonthsToCarry(const std::string& passbookFolder) {
  std::set<TMonthKey> months;
  std::string error;
  (void)ReadJournal(passbookFolder, months, error);
  return months;
}

bool NoteMonthsToCarry(const std::string& passbookFolder, const std::set<TMonthKey>& months, std::string& error) {
  std::set<TMonthKey> noted;
  if (!ReadJournal(passbookFolder, noted, error)) return false;
  const size_t before = noted.size();
  noted.insert(months.begin(), months.end());
  return noted.size() == before || WriteJournal(passbookFolder, noted, error);
}

bool ForgetCarriedMonths(const std::string& passbookFolder, const std::set<TMonthKey>& months) {
  std::set<TMonthKey> noted;
  std::string error;
  if (!ReadJournal(passbookFolder, noted, error)) return false;
  const size_t before = noted.size();
  for (const TMonthKey key : months) noted.erase(key);
  return noted.size() == before || WriteJournal(passbookFolder, noted, error);
}

}  // namespace kzm
