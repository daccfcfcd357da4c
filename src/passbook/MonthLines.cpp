#include "passbook/MonthLines.h"

#include <algorithm>
#include <map>

#include "foundation/Codec.h"
#include "foundation/Csv.h"
#include "foundation/Dates.h"
#include "foundation/Text.h"
#include "passbook/Categories.h"

namespace kzm {

namespace {

// Calls f with the lines of text from start on, until f gives false or the text ends; start
// is left where the next line begins. CR LF, LF and CR end lines, and a line end at the very
// end of the text does not start another line. CP932 never has CR or LF inside a character,
// so this splits the bytes of a file as well as its text.
template <class F>
void ForEachLineFrom(std::string_view text, size_t& start, F&& f) {
  // Searching for one byte is much faster than testing every byte for two. The next LF is
  // kept until passed, so a file whose lines end in CR alone is not searched to its end for
  // every line.
  const size_t size = text.size();
  size_t nextLf = std::min(text.find('\n', start), size);
  while (start < size) {
    if (nextLf < start) nextLf = std::min(text.find('\n', start), size);
    const size_t end = std::min(text.substr(0, nextLf).find('\r', start), nextLf);
    const std::string_view line = text.substr(start, end - start);
    start = end == size ? size : end + ((text[end] == '\r' && end + 1 < size && text[end + 1] == '\n') ? 2 : 1);
    if (!f(line)) return;
  }
}

// The lines of bytes by their number, for lines visited in order.
class TLineCursor {
 public:
  explicit TLineCursor(std::string_view bytes) : m_bytes(bytes) {}
  // The line numbered number (from 1), not before the one asked for last.
  std::string_view Line(size_t number) {
    ForEachLineFrom(m_bytes, m_next, [&](std::string_view line) {
      m_line = line;
      return ++m_lineNumber < number;
    });
    return m_line;
  }

 private:
  std::string_view m_bytes;
  size_t m_next = 0;  // where the line after m_lineNumber starts
  size_t m_lineNumber = 0;
  std::string_view m_line;
};

// The lines of a decoded CSV text and their fields, from the places of its commas, quotes,
// backslashes and line ends (DecodeCp932Csv). Lines end as in ForEachLineFrom.
class TCsvLines {
 public:
  TCsvLines(std::string_view text, const std::vector<uint32_t>& marks) : m_text(text), m_marks(marks) {}

  // The fields of the next line (views into the text, or into unescaped when the line has
  // quotes or backslashes); false after the last line.
  bool Next(std::vector<std::string_view>& fields, std::vector<std::string>& unescaped) {
    const size_t size = m_text.size();
    if (m_start >= size) return false;
    fields.clear();
    size_t fieldStart = m_start;
    size_t end = size;
    bool plain = true;
    for (; m_mark < m_marks.size(); ++m_mark) {
      const size_t at = m_marks[m_mark];
      const char c = m_text[at];
      if (c == ',') {
        fields.push_back(m_text.substr(fieldStart, at - fieldStart));
        fieldStart = at + 1;
      } else if (c == '\r' || c == '\n') {
        end = at;
        break;
      } else {
        plain = false;
      }
    }
    const std::string_view line = m_text.substr(m_start, end - m_start);
    m_start = end;
    if (end < size) {
      ++m_start;
      ++m_mark;
      if (m_text[end] == '\r' && end + 1 < size && m_text[end + 1] == '\n') {
        ++m_start;
        ++m_mark;
      }
    }
    if (plain) {
      fields.push_back(m_text.substr(fieldStart, end - fieldStart));
    } else {
      CsvSplitViews(line, fields, unescaped);
    }
    return true;
  }

 private:
  std::string_view m_text;
  const std::vector<uint32_t>& m_marks;
  size_t m_start = 0;  // where the next line starts
  size_t m_mark = 0;   // the first mark of the next line
};

// A month file's dates and kinds come in runs of the same text: a field that reads as the one
// before is not read again.
template <class T, T (*read)(std::string_view)>
class TFieldReader {
 public:
  T Read(std::string_view field) {
    if (!m_read || field != m_text) {
      m_text = field;
      m_value = read(field);
      m_read = true;
    }
    return m_value;
  }

 private:
  std::string m_text;
  T m_value{};
  bool m_read = false;
};

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

TEntryLine LineOfFields(const std::vector<std::string_view>& fields, int32_t date, int32_t amount, int kind,
                        int accountKind) {
  TEntryLine line;
  line.date = date;
  line.amount = amount;
  line.kind = kind;
  line.accountKind = accountKind;
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

}  // namespace

TkzmEntry MakeEntry(const TEntryLine& line) {
  TkzmEntry entry;
  AssignEntry(entry, line);
  return entry;
}

void AssignEntry(TkzmEntry& entry, const TEntryLine& line) {
  entry.date = line.date;
  entry.sequence = line.placeInDay;
  AssignKey(entry.categoryKey, line.category, line.kind);
  AssignKey(entry.accountKey, line.account, line.accountKind);
  entry.amount = line.amount;
  entry.itemText = line.itemText;
  entry.note = line.note;
  entry.extraFields.assign(line.extraFields.begin(), line.extraFields.end());
}

int ReadMonthLines(std::string_view bytes, int32_t firstDay, int32_t lastDay, TMonthLineSink& sink) {
  std::string text;
  std::vector<uint32_t> marks;
  DecodeCp932Csv(bytes, text, marks);
  TCsvLines lines(text, marks);
  // Decoding keeps every CR and LF and makes none, so the text has the lines of the bytes; a
  // kept line's bytes are looked up only when there is one.
  TLineCursor bytesOfLines(bytes);
  std::vector<std::string> unescaped;
  std::vector<std::string_view> fields;
  fields.reserve(8);
  TDayCounter places(firstDay, lastDay);
  TFieldReader<int32_t, ParseDate> dates;  // 0: no date
  TFieldReader<int, ReadKind> kinds;
  TFieldReader<int, ReadKind> accountKinds;
  int32_t previousDate = 0;
  int unreadAmounts = 0;
  for (size_t lineNumber = 1; lines.Next(fields, unescaped); ++lineNumber) {
    const int32_t date = dates.Read(fields[0]);
    int32_t amount = 0;
    const bool ofThisMonth = fields.size() >= 8 && date != 0 && date >= firstDay && date <= lastDay;
    if (!ofThisMonth || !TryParseInt(fields[5], amount)) {
      if (ofThisMonth) ++unreadAmounts;
      if (date != 0) previousDate = date;
      sink.Kept(previousDate, bytesOfLines.Line(lineNumber));
      continue;
    }
    previousDate = date;
    TEntryLine entry = LineOfFields(fields, date, amount, kinds.Read(fields[1]), accountKinds.Read(fields[3]));
    entry.placeInDay = places.Next(date);
    sink.Entry(entry);
  }
  return unreadAmounts;
}

void TGatherMonthLines::Entry(const TEntryLine& line) { m_entries.push_back(MakeEntry(line)); }

void TGatherMonthLines::Kept(int32_t sortDate, std::string_view bytes) {
  m_kept.push_back({sortDate, std::string(bytes)});
}

int ParseMonthBytes(std::string_view bytes, int32_t firstDay, int32_t lastDay,
                    std::vector<TkzmEntry>& entries, std::vector<TKeptLine>& kept) {
  TGatherMonthLines gather(entries, kept);
  return ReadMonthLines(bytes, firstDay, lastDay, gather);
}

}  // namespace kzm
