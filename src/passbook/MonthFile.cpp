#include "passbook/MonthFile.h"

#include <algorithm>
#include <cerrno>
#include <map>

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
// end of the text does not start another line. CP932 never has CR or LF inside a character,
// so this splits the bytes of a file as well as its text.
template <class F>
void ForEachLine(std::string_view text, F&& f) {
  // Searching for one byte is much faster than testing every byte for two. The next LF is
  // kept until passed, so a file whose lines end in CR alone is not searched to its end for
  // every line.
  size_t start = 0;
  const size_t size = text.size();
  size_t nextLf = std::min(text.find('\n'), size);
  while (start < size) {
    if (nextLf < start) nextLf = std::min(text.find('\n', start), size);
    const size_t end = std::min(text.substr(0, nextLf).find('\r', start), nextLf);
    f(text.substr(start, end - start));
    if (end == size) return;
    start = end + ((text[end] == '\r' && end + 1 < size && text[end + 1] == '\n') ? 2 : 1);
  }
}

// A kind field: a kind name or a kind code in decimal; only the low 7 bits count. The name
// is looked for first, as our own files hold names; no name reads as a number.
int ReadKind(std::string_view field) {
  const int kind = KindCode(field);
  return (kind != kKindNone ? kind : ParseInt(field, 0)) & 0x7F;
}

// How many entry lines of each day were read so far. A month's days are counted in place; a
// file read whatever its dates (the import history) counts in a map.
class TDayCounter {
 public:
  TDayCounter(int32_t firstDay, int32_t lastDay) : m_firstDay(firstDay) {
    if (lastDay >= firstDay && lastDay - firstDay < kInPlaceDays) m_inPlace.assign(lastDay - firstDay + 1, 0);
  }
  int32_t Next(int32_t day) { return m_inPlace.empty() ? m_counts[day]++ : m_inPlace[day - m_firstDay]++; }

 private:
  static constexpr int32_t kInPlaceDays = 62;
  int32_t m_firstDay;
  std::vector<int32_t> m_inPlace;
  std::map<int32_t, int32_t> m_counts;
};

TEntryLine LineOfFields(const std::vector<std::string_view>& fields, int32_t date, int32_t amount) {
  TEntryLine line;
  line.date = date;
  line.amount = amount;
  line.kind = ReadKind(fields[1]);
  line.accountKind = ReadKind(fields[3]);
  line.category = fields[2];
  line.account = fields[4];
  if (line.kind == kKindMemo) {
    line.category = line.account = "メモ";
    line.accountKind = kKindMemo;
  }
  if (line.accountKind == 0) line.accountKind = kKindAsset;
  if (line.kind == 0) line.kind = kKindPayment;
  line.itemText = fields[6];
  line.note = fields[7];
  line.extraFields = std::span(fields).subspan(8);
  return line;
}

// Gathers what ParseMonthBytes returns.
class TGatherLines final : public TMonthLineSink {
 public:
  TGatherLines(std::vector<TkzmEntry>& entries, std::vector<TKeptLine>& kept) : m_entries(entries), m_kept(kept) {}
  void Entry(const TEntryLine& line) override { m_entries.push_back(MakeEntry(line)); }
  void Kept(int32_t sortDate, std::string_view bytes) override { m_kept.push_back({sortDate, std::string(bytes)}); }

 private:
  std::vector<TkzmEntry>& m_entries;
  std::vector<TKeptLine>& m_kept;
};

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

}  // namespace

TkzmEntry MakeEntry(const TEntryLine& line) {
  TkzmEntry entry;
  entry.date = line.date;
  entry.sequence = line.placeInDay;
  entry.categoryKey = MakeKey(line.category, line.kind);
  entry.accountKey = MakeKey(line.account, line.accountKind);
  entry.amount = line.amount;
  entry.itemText = line.itemText;
  entry.note = line.note;
  entry.extraFields.assign(line.extraFields.begin(), line.extraFields.end());
  return entry;
}

int ReadMonthLines(std::string_view bytes, int32_t firstDay, int32_t lastDay, TMonthLineSink& sink) {
  std::string text;
  std::vector<std::string> unescaped;
  std::vector<std::string_view> fields;
  TDayCounter places(firstDay, lastDay);
  int32_t previousDate = 0;
  int unreadAmounts = 0;
  ForEachLine(bytes, [&](std::string_view bytesOfLine) {
    DecodeCp932(bytesOfLine, text);
    CsvSplitViews(text, fields, unescaped);
    const int32_t date = ParseDate(fields[0]);  // 0: no date
    int32_t amount = 0;
    const bool ofThisMonth = fields.size() >= 8 && date != 0 && date >= firstDay && date <= lastDay;
    if (!ofThisMonth || !TryParseInt(fields[5], amount)) {
      if (ofThisMonth) ++unreadAmounts;
      if (date != 0) previousDate = date;
      sink.Kept(previousDate, bytesOfLine);
      return;
    }
    previousDate = date;
    TEntryLine line = LineOfFields(fields, date, amount);
    line.placeInDay = places.Next(date);
    sink.Entry(line);
  });
  return unreadAmounts;
}

int ParseMonthBytes(std::string_view bytes, int32_t firstDay, int32_t lastDay,
                    std::vector<TkzmEntry>& entries, std::vector<TKeptLine>& kept) {
  TGatherLines gather(entries, kept);
  return ReadMonthLines(bytes, firstDay, lastDay, gather);
}

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
      bytes += (*next)->bytes;
      bytes += "\r\n";
    }
    AppendEntryLine(text, *entry, fields, dateText, dateOfText);
  }
  if (!flush()) return false;
  for (; next != placed.end(); ++next) {
    bytes += (*next)->bytes;
    bytes += "\r\n";
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
  TGatherLines gather(entries, kept);
  return ReadMonthFile(path, firstDay, lastDay, gather);
}

bool WriteMonthFile(const std::string& path,
                    const std::vector<std::unique_ptr<TkzmEntry>>& entries,
                    const std::vector<TKeptLine>& kept, std::string& error) {
  std::string bytes;
  std::string badChar;
  if (!FormatMonthBytes(entries, kept, bytes, &badChar)) {
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
