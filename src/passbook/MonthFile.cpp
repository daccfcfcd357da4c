#include "passbook/MonthFile.h"

#include <algorithm>
#include <cerrno>

#include "foundation/AtomicFile.h"
#include "foundation/Codec.h"
#include "foundation/Csv.h"
#include "foundation/Dates.h"
#include "foundation/Files.h"
#include "passbook/Categories.h"
#include "passbook/PerPcState.h"

namespace kzm {

namespace {

// The CSV writer turns every line break inside a field into "\n", so a line stays one line.
// The line is appended as text (UTF-8).
void AppendEntryLine(std::string& out, const TkzmEntry& entry, std::vector<std::string>& fields,
                     std::string& dateText, int32_t& dateOfText) {
  if (entry.date != dateOfText || dateText.empty()) {  // entries come day by day
    dateText = FormatDate8(entry.date);
    dateOfText = entry.date;
  }
  fields.clear();
  fields.push_back(dateText);
  fields.push_back(KindNames()[KeyKind(entry.categoryKey)]);
  fields.push_back(KeyName(entry.categoryKey));
  fields.push_back(KindNames()[KeyKind(entry.accountKey)]);
  fields.push_back(KeyName(entry.accountKey));
  fields.push_back(std::to_string(entry.amount));
  fields.push_back(entry.itemText);
  fields.push_back(entry.note);
  fields.insert(fields.end(), entry.extraFields.begin(), entry.extraFields.end());
  out += CsvJoin(fields);
  out += "\r\n";
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// A kept line goes back with the line end it came with; the file's last line, which had none,
// gets one, as something may follow it now.
void AppendKept(std::string& bytes, std::string_view line) {
  bytes += line;
  if (line.empty() || (line.back() != '\n' && line.back() != '\r')) bytes += "\r\n";
}

}  // namespace

bool FormatMonthBytes(const std::vector<std::unique_ptr<TkzmEntry>>& entries,
                      const std::vector<TKeptLine>& kept, std::string& bytes, std::string* badChar) {
  std::vector<const TKeptLine*> placed;
  placed.reserve(kept.size());
  for (const TKeptLine& line : kept) placed.push_back(&line);
  std::stable_sort(placed.begin(), placed.end(),
                   [](const TKeptLine* a, const TKeptLine* b) { return a->sortDate < b->sortDate; });

  // Entry lines are gathered as text and encoded a run at a time; kept lines go in as read.
  bytes.clear();
  bytes.reserve(entries.size() * 64);
  std::string text;
  std::string encoded;
  auto flush = [&] {
    if (text.empty()) return true;
    if (!EncodeCp932(text, encoded, badChar)) return false;
    bytes += encoded;
    text.clear();
    return true;
  };
  std::vector<std::string> fields;
  std::string dateText;
  int32_t dateOfText = 0;
  auto next = placed.begin();
  for (const auto& entry : entries) {
    for (; next != placed.end() && (*next)->sortDate < entry->date; ++next) {
      if (!flush()) return false;
      AppendKept(bytes, (*next)->bytes);
    }
    AppendEntryLine(text, *entry, fields, dateText, dateOfText);
  }
  if (!flush()) return false;
  for (; next != placed.end(); ++next) {
    AppendKept(bytes, (*next)->bytes);
  }
  return true;
}

TMonthFileRead ReadMonthFile(const std::string& path, int32_t firstDay, int32_t lastDay, TMonthLineSink& sink) {
  TMonthFileRead read;
  std::string bytes;
  switch (ReadFileUpTo(path, kMaxMonthFileSize, bytes, &read.error)) {
    case TReadStatus::rsRead: break;
    case TReadStatus::rsMissing: read.status = TMonthFileStatus::mfMissing; return read;
    case TReadStatus::rsTooLarge: read.status = TMonthFileStatus::mfTooLarge; return read;
    case TReadStatus::rsFailed:
      // A file in place of a folder on the way: no month file can be there to protect, and
      // the save says what is wrong.
      read.status = read.error == ENOTDIR ? TMonthFileStatus::mfMissing : TMonthFileStatus::mfFailed;
      return read;
  }
  read.status = TMonthFileStatus::mfRead;
  read.unreadAmounts = ReadMonthLines(bytes, firstDay, lastDay, sink);
  return read;
}

TMonthFileRead ReadMonthFile(const std::string& path, int32_t firstDay, int32_t lastDay,
                             std::vector<TkzmEntry>& entries, std::vector<TKeptLine>& kept) {
  TGatherMonthLines gather(entries, kept);
  return ReadMonthFile(path, firstDay, lastDay, gather);
}

bool WriteMonthFile(const std::string& path,
                    const std::vector<std::unique_ptr<TkzmEntry>>& entries,
                    const std::vector<TKeptLine>& kept, std::string& error, TFolderSyncBatch* batch) {
  std::string bytes;
  std::string badChar;
  if (!FormatMonthBytes(entries, kept, bytes, &badChar)) {
    error = "「" + badChar + "」は保存できない文字です。月のデータを保存できませんでした。\n" + path;
    return false;
  }
  EnsureFolder(FolderOf(path));
  std::string why;
  NoteMonthFileWrite(path, bytes, false);
  if (!WriteFileAtomic(path, bytes, &why, batch)) {
    error = "月のデータを保存できませんでした。\n" + why;
    return false;
  }
  NoteMonthFileWrite(path, bytes, true);
  return true;
}

}  // namespace kzm
