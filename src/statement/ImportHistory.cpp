#include "statement/ImportHistory.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "foundation/AtomicFile.h"
#include "foundation/Codec.h"
#include "foundation/Csv.h"
#include "foundation/OwnFiles.h"
#include "foundation/SystemErrors.h"
#include "foundation/Text.h"
#include "passbook/Categories.h"
#include "passbook/MonthFile.h"

namespace kzm {

namespace {

constexpr size_t kMaxHistorySize = 64 * 1024 * 1024;

// No date: the month-line reader keeps it aside, and readers that know no mark pass over it.
constexpr const char* kIncompleteMark = "incomplete";

std::string PathIn(const std::string& folder, const char* name) { return folder + "/" + name; }

}  // namespace

bool ReadLastImport(const std::string& passbookFolder, TImportRecord& record, std::string& error) {
  record = {};
  std::string bytes;
  if (!ReadOwnFile(PathIn(passbookFolder, kLastImportFileName), kMaxHistorySize, "", bytes, error)) return false;
  if (bytes.empty()) return true;
  std::vector<TkzmEntry> read;
  std::vector<TKeptLine> kept;
  (void)ParseMonthBytes(bytes, EncodeDate(1, 1, 1), EncodeDate(9999, 12, 31), read, kept);
  record.complete =
      std::none_of(kept.begin(), kept.end(), [](const TKeptLine& line) {
        // Kept lines come with their line ends.
        std::string_view text = line.bytes;
        while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.remove_suffix(1);
        return text == kIncompleteMark;
      });
  for (TkzmEntry& entry : read) {
    TImportedEntry imported;
    if (!entry.extraFields.empty()) imported.sourceId = entry.extraFields.front();
    int32_t alike = 0;
    if (entry.extraFields.size() >= 2 && TryParseInt(entry.extraFields[1], alike) && alike >= 0) {
      imported.alikeBefore = alike;
    }
    entry.extraFields.clear();
    imported.entry = std::move(entry);
    record.entries.push_back(std::move(imported));
  }
  return true;
}

bool WriteLastImport(const std::string& passbookFolder, const TImportRecord& record, std::string& error) {
  const std::string path = PathIn(passbookFolder, kLastImportFileName);
  if (record.entries.empty() && record.complete) {
    if (std::remove(path.c_str()) == 0 || errno == ENOENT) return true;
    error = "「" + path + "」を削除できません。\n" + SystemErrorText(errno);
    return false;
  }
  std::vector<std::unique_ptr<TkzmEntry>> lines;
  for (const TImportedEntry& imported : record.entries) {
    auto entry = std::make_unique<TkzmEntry>(imported.entry);
    entry->extraFields = {imported.sourceId};
    if (imported.alikeBefore >= 0) entry->extraFields.push_back(std::to_string(imported.alikeBefore));
    lines.push_back(std::move(entry));
  }
  std::string bytes = record.complete ? "" : std::string(kIncompleteMark) + "\r\n";
  std::string entryBytes;
  std::string badChar;
  if (!FormatMonthBytes(lines, {}, entryBytes, &badChar)) {
    error = "「" + path + "」に保存できない文字「" + badChar + "」があります。";
    return false;
  }
  return WriteFileAtomic(path, bytes + entryBytes, &error);
}

bool TImportedIds::Load(const std::string& passbookFolder, std::string& error) {
  m_ids.clear();
  std::string bytes;
  if (!ReadOwnFile(PathIn(passbookFolder, kImportedIdsFileName), kMaxHistorySize, "", bytes, error)) return false;
  for (const std::string& line : NonEmptyLines(bytes)) {
    const std::vector<std::string> fields = CsvSplit(DecodeCp932(line));
    if (fields.size() >= 2 && !fields[1].empty()) m_ids.emplace(fields[0], fields[1]);
  }
  return true;
}

bool TImportedIds::Save(const std::string& passbookFolder, std::string& error) const {
  std::string bytes;
  for (const auto& [account, id] : m_ids) {
    std::string line;
    if (!EncodeCp932(CsvJoin({account, id}), line)) continue;  // an id CP932 cannot hold is not kept
    bytes += line + "\r\n";
  }
  return WriteFileAtomic(PathIn(passbookFolder, kImportedIdsFileName), bytes, &error);
}

bool TImportedIds::Contains(const std::string& accountKey, const std::string& id) const {
  return !id.empty() && m_ids.contains({KeyName(accountKey), id});
}

void TImportedIds::Add(const std::string& accountKey, const std::string& id) {
  if (!id.empty()) m_ids.emplace(KeyName(accountKey), id);
}

void TImportedIds::Remove(const std::string& accountKey, const std::string& id) {
  m_ids.erase({KeyName(accountKey), id});
}

}  // namespace kzm
