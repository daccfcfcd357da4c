#include "statement/ImportHistory.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "foundation/AtomicFile.h"
#include "foundation/Codec.h"
#include "foundation/Csv.h"
#include "foundation/OwnFiles.h"
#include "foundation/SystemErrors.h"
#include "foundation/Text.h"
#include "foundation/ThisPc.h"
#include "passbook/Categories.h"
#include "passbook/MonthFile.h"

namespace kzm {

namespace {

constexpr size_t kMaxHistorySize = 64 * 1024 * 1024;
constexpr const char* kIdsWhat = "取り込んだ明細の番号の記録";

// No date: the month-line reader keeps it aside, and readers that know no mark pass over it.
constexpr std::string_view kIncompleteMark = "incomplete";
// The seal "entries,N,HASH": how many entry lines the record holds and a hash of them, so that
// a record cut short or garbled is known; records written before it have none.
constexpr std::string_view kSealTag = "entries,";

std::string PathIn(const std::string& folder, const char* name) { return folder + "/" + name; }

// Enough to tell a changed record from the one written.
uint64_t Fingerprint(std::string_view bytes) { return Fnv1a(bytes); }

// The seal of these entry lines, without its line end.
std::string Seal(size_t entries, std::string_view entryBytes) {
  char hash[17];
  std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(Fingerprint(entryBytes)));
  return std::string(kSealTag) + std::to_string(entries) + "," + hash;
}

// The record's bytes parted into its marks and its entry lines (with their line ends).
struct TRecordParts {
  bool incomplete = false;
  int seals = 0;
  std::string seal;  // the last seal line, its end taken off
  std::string entryBytes;
};

TRecordParts PartRecord(std::string_view bytes) {
  TRecordParts parts;
  while (!bytes.empty()) {
    const size_t end = std::min(bytes.find('\n'), bytes.size() - 1) + 1;
    const std::string_view line = bytes.substr(0, end);
    std::string_view text = line;
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.remove_suffix(1);
    if (text == kIncompleteMark) {
      parts.incomplete = true;
    } else if (text.starts_with(kSealTag)) {
      ++parts.seals;
      parts.seal = text;
    } else {
      parts.entryBytes += line;
    }
    bytes.remove_prefix(end);
  }
  return parts;
}

// Whether the seal agrees with the entry lines read.
bool SealHolds(const TRecordParts& parts, size_t entries) {
  return parts.seals == 1 && parts.seal == Seal(entries, parts.entryBytes);
}

}  // namespace

bool ReadLastImport(const std::string& passbookFolder, TImportRecord& record, std::string& error) {
  record = {};
  const std::string path = PcOwnPath(passbookFolder, kLastImportFileName);
  std::string bytes;
  if (!ReadOwnFile(path, kMaxHistorySize, "取り込みの記録", bytes, error)) return false;
  if (bytes.empty()) return true;
  const TRecordParts parts = PartRecord(bytes);
  std::vector<TkzmEntry> read;
  std::vector<TKeptLine> kept;
  (void)ParseMonthBytes(parts.entryBytes, EncodeDate(1, 1, 1), EncodeDate(9999, 12, 31), read, kept);
  // Undoing part of an import and forgetting the rest would leave entries no undo can reach:
  // a record that is cut (its last line unended), holds lines that are no entry, or no longer
  // agrees with its seal is not used, and stays as it is.
  if (bytes.back() != '\n' || !kept.empty() || (parts.seals > 0 && !SealHolds(parts, read.size()))) {
    record = {};
    error = "取り込みの記録「" + path + "」が途中で切れているか、壊れているため読めません。記録はそのまま残してあります。";
    return false;
  }
  record.complete = !parts.incomplete;
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
  const std::string path = PcOwnPath(passbookFolder, kLastImportFileName);
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
  std::string entryBytes;
  std::string badChar;
  if (!FormatMonthBytes(lines, {}, entryBytes, &badChar)) {
    error = "「" + path + "」に保存できない文字「" + badChar + "」があります。";
    return false;
  }
  std::string bytes = Seal(lines.size(), entryBytes) + "\r\n";
  if (!record.complete) bytes += std::string(kIncompleteMark) + "\r\n";
  return WriteFileAtomic(path, bytes + entryBytes, &error);
}

bool TImportedIds::Load(const std::string& passbookFolder, std::string& error) {
  m_ids.clear();
  m_kept.clear();
  m_unreadable = false;
  std::string bytes;
  if (!ReadOwnFile(PathIn(passbookFolder, kImportedIdsFileName), kMaxHistorySize, kIdsWhat, bytes, error)) {
    m_unreadable = true;
    return false;
  }
  for (std::string& line : NonEmptyLines(bytes)) {
    const std::vector<std::string> fields = CsvSplit(DecodeCp932(line));
    if (fields.size() >= 2 && !fields[1].empty()) m_ids.emplace(fields[0], fields[1]);
    else m_kept.push_back(std::move(line));
  }
  return true;
}

bool TImportedIds::Save(const std::string& passbookFolder, std::string& error) const {
  const std::string path = PathIn(passbookFolder, kImportedIdsFileName);
  if (m_unreadable) {
    error = std::string(kIdsWhat) + "「" + path + "」を読み込めなかったため、上書きしません。";
    return false;
  }
  std::string bytes;
  for (const auto& [account, id] : m_ids) {
    std::string line;
    if (!EncodeCp932(CsvJoin({account, id}), line)) continue;  // an id CP932 cannot hold is not kept
    bytes += line + "\r\n";
  }
  // Lines this program does not read (changed by hand, or by a later version) go back as they came.
  for (const std::string& line : m_kept) bytes += line + "\r\n";
  return WriteFileAtomic(path, bytes, &error);
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
