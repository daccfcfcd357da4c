#include "views/MemoDocument.h"

#include <map>

#include "foundation/Shell.h"
#include "foundation/Text.h"
#include "foundation/WindowSystem.h"
#include "passbook/MonthData.h"

namespace kzm {

namespace {

// Calls take(line) for every line of text; a CR before the line break belongs to the break.
template <typename Take>
void ForEachLine(std::string_view text, Take take) {
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    take(line);
    start = end + 1;
  }
}

// The day a line names when it is a date line (ParseDate gives more than 0: "2024/03/05",
// "24/3/5", "2024年3月5日", "240305", "20240305"), else 0.
TDayNumber DateOfLine(std::string_view line) {
  const TDayNumber day = ParseDate(line);
  return day > 0 ? day : 0;
}

}  // namespace

std::string MemoDocumentText(const std::vector<TDayMemo>& memos) {
  std::string text;
  for (const TDayMemo& memo : memos) {
    text += FormatDateSlashed(memo.day);
    text += '\n';
    text += ReplaceAll(memo.text, "\r\n", "\n");
    text += "\n\n";
  }
  return text;
}

std::vector<TDayMemo> ParseMemoDocument(std::string_view document) {
  std::vector<TDayMemo> memos;
  TDayNumber current = 0;
  std::string buffer;
  auto flush = [&] {
    if (current != 0) memos.push_back({current, std::string(Trim(buffer)), {}});
    buffer.clear();
  };
  ForEachLine(document, [&](std::string_view line) {
    if (const TDayNumber day = DateOfLine(line)) {
      flush();
      current = day;
    } else {
      buffer += "\r\n";
      buffer += line;
    }
  });
  flush();
  return memos;
}

bool HasDateOutside(std::string_view document, TDayNumber first, TDayNumber last) {
  bool outside = false;
  ForEachLine(document, [&](std::string_view line) {
    const TDayNumber day = DateOfLine(line);
    if (day != 0 && (day < first || day > last)) outside = true;
  });
  return outside;
}

bool StoreMemoDocument(std::string_view document, TDayNumber first, TDayNumber last) {
  TkzmDataUnit& data = CurrentMonthData();
  // The note of a memo is not part of the document; keep it for the memo written back.
  std::map<TDayNumber, std::string> removedNotes;
  for (TDayNumber day = first; day <= last; ++day) {
    data.SelectDay(day);
    const int index = FirstMemoIndexOfDay();
    if (index < 0) continue;
    removedNotes[day] = data.Entry(index).note;
    data.DeleteEntry(index);
  }
  for (const TDayMemo& memo : ParseMemoDocument(document)) {
    data.SelectDay(memo.day);
    const int index = FirstMemoIndexOfDay();
    if (index >= 0) {
      data.Entry(index).itemText = memo.text;
      data.SetModified();
    } else {
      const auto note = removedNotes.find(memo.day);
      data.AddEntry(MemoKey(), MemoKey(), note == removedNotes.end() ? std::string() : note->second, memo.text, 0);
    }
  }
  data.SortEntries();
  const bool saved = data.Save();
  BroadcastToForms(kNoticeDataChanged, first, last);
  return saved;
}

}  // namespace kzm
