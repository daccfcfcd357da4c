#include "passbook/MonthFile.h"

#include <algorithm>
#include <climits>

#include "foundation/AtomicFile.h"
#include "foundation/Codec.h"
#include "foundation/Csv.h"
#include "foundation/Dates.h"
#include "foundation/Files.h"
#include "foundation/Text.h"
#include "passbook/Categories.h"

namespace kzm {

namespace {

// Calls f with every line of text; CR LF, LF and CR end lines, and a line end at the very
// end of the text does not start another line.
template <class F>
void ForEachLine(std::string_view text, F&& f) {
  size_t start = 0;
  const size_t size = text.size();
  while (start < size) {
    size_t end = start;
    while (end < size && text[end] != '\r' && text[end] != '\n') ++end;
    f(text.substr(start, end - start));
    if (end == size) return;
    start = end + ((text[end] == '\r' && end + 1 < size && text[end + 1] == '\n') ? 2 : 1);
  }
}

// A kind field: a kind code in decimal or a kind name; only the low 7 bits count.
int ReadKind(const std::string& field) {
  constexpr int32_t kNotANumber = INT32_MIN;  // its low 7 bits are 0, as for an unknown name
  int32_t code = ParseInt(field, kNotANumber);
  if (code == kNotANumber) code = KindCode(field);
  return code & 0x7F;
}

TkzmEntry EntryOfFields(std::vector<std::string>& fields, int32_t date) {
  int kind = ReadKind(fields[1]);
  int accountKind = ReadKind(fields[3]);
  if (kind == kKindMemo) {
    fields[2] = fields[4] = "メモ";
    accountKind = kKindMemo;
  }
  if (accountKind == 0) accountKind = kKindAsset;
  if (kind == 0) kind = kKindPayment;
  TkzmEntry entry;
  entry.date = date;
  entry.categoryKey = MakeKey(fields[2], kind);
  entry.accountKey = MakeKey(fields[4], accountKind);
  entry.amount = ParseInt(fields[5], 0);
  entry.itemText = std::move(fields[6]);
  entry.note = std::move(fields[7]);
  entry.extraFields.assign(std::make_move_iterator(fields.begin() + 8),
                           std::make_move_iterator(fields.end()));
  return entry;
}

// The CSV writer turns every line break inside a field into "\n", so a line stays one line.
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

}  // namespace

void ParseMonthText(std::string_view text, int32_t firstDay, int32_t lastDay,
                    std::vector<TkzmEntry>& entries, std::vector<TKeptLine>& kept) {
  std::vector<std::string> fields;
  int32_t previousDate = 0;
  ForEachLine(text, [&](std::string_view line) {
    CsvSplit(line, fields);
    const int32_t date = ParseDate(fields[0]);  // 0: no date
    if (fields.size() < 8 || date == 0 || date < firstDay || date > lastDay) {
      if (date != 0) previousDate = date;
      kept.push_back({previousDate, std::string(line)});
      return;
    }
    previousDate = date;
    entries.push_back(EntryOfFields(fields, date));
  });
}

std::string FormatMonthText(const std::vector<std::unique_ptr<TkzmEntry>>& entries,
                            const std::vector<TKeptLine>& kept) {
  std::vector<const TKeptLine*> placed;
  placed.reserve(kept.size());
  for (const TKeptLine& line : kept) placed.push_back(&line);
  std::stable_sort(placed.begin(), placed.end(),
                   [](const TKeptLine* a, const TKeptLine* b) { return a->sortDate < b->sortDate; });

  std::string out;
  out.reserve(entries.size() * 64);
  std::vector<std::string> fields;
  std::string dateText;
  int32_t dateOfText = 0;
  auto next = placed.begin();
  for (const auto& entry : entries) {
    for (; next != placed.end() && (*next)->sortDate < entry->date; ++next) {
      out += (*next)->text;
      out += "\r\n";
    }
    AppendEntryLine(out, *entry, fields, dateText, dateOfText);
  }
  for (; next != placed.end(); ++next) {
    out += (*next)->text;
    out += "\r\n";
  }
  return out;
}

bool ReadMonthFile(const std::string& path, int32_t firstDay, int32_t lastDay,
                   std::vector<TkzmEntry>& entries, std::vector<TKeptLine>& kept) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return false;
  ParseMonthText(DecodeCp932(bytes), firstDay, lastDay, entries, kept);
  return true;
}

bool WriteMonthFile(const std::string& path,
                    const std::vector<std::unique_ptr<TkzmEntry>>& entries,
                    const std::vector<TKeptLine>& kept, std::string& error) {
  std::string bytes;
  std::string badChar;
  if (!EncodeCp932(FormatMonthText(entries, kept), bytes, &badChar)) {
    error = "「" + badChar + "」は保存できない文字です。月のデータを保存できませんでした。\n" + path;
    return false;
  }
  EnsureFolder(FolderOf(path));
  std::string why;
  if (!WriteFileAtomic(path, bytes, &why)) {
    error = "月のデータを保存できませんでした。\n" + why;
    return false;
  }
  return true;
}

}  // namespace kzm
