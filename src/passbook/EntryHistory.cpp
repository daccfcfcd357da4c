// History files of the daily grid; see EntryHistory.h for the format.
#include "passbook/EntryHistory.h"

#include <algorithm>
#include <cstdint>

#include "foundation/AtomicFile.h"
#include "foundation/Codec.h"
#include "foundation/Files.h"
#include "foundation/OwnFiles.h"

namespace kzm {

namespace {

// Far more than ten lines of any real value: a bigger file is not ours to read.
constexpr size_t kMaxHistoryBytes = 64 * 1024;

bool NeedsEscape(unsigned char c, size_t position) {
  return c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == '%' || (position == 0 && c == '.');
}

// Lower-case ASCII letters and full-width "Ａ" to "Ｚ" (U+FF21..U+FF3A, UTF-8 EF BC A1..BA).
std::string FoldCase(std::string_view text) {
  std::string folded(text);
  for (size_t i = 0; i < folded.size(); ++i) {
    auto c = static_cast<unsigned char>(folded[i]);
    if (c >= 'A' && c <= 'Z') {
      folded[i] = static_cast<char>(c - 'A' + 'a');
    } else if (c == 0xEF && i + 2 < folded.size() && static_cast<unsigned char>(folded[i + 1]) == 0xBC) {
      auto last = static_cast<unsigned char>(folded[i + 2]);
      if (last >= 0xA1 && last <= 0xBA) {  // Ａ..Ｚ become ａ..ｚ (EF BD 81..9A)
        folded[i + 1] = static_cast<char>(0xBD);
        folded[i + 2] = static_cast<char>(last - 0xA1 + 0x81);
      }
      i += 2;
    }
  }
  return folded;
}

std::string HistoryPath(const std::string& folder, std::string_view displayName, int column) {
  return folder + "/" + HistoryFileName(displayName, column);
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

// A case-insensitive comparison for history values: ASCII and full-width Latin letters.
bool SameHistoryValue(std::string_view a, std::string_view b) {
  return a.size() == b.size() && FoldCase(a) == FoldCase(b);
}

}  // namespace

std::string HistoryFileName(std::string_view displayName, int column) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string name;
  name.reserve(displayName.size() + 1);
  for (size_t i = 0; i < displayName.size(); ++i) {
    const auto c = static_cast<unsigned char>(displayName[i]);
    if (NeedsEscape(c, i)) {
      name += '%';
      name += kHex[c >> 4];
      name += kHex[c & 0x0F];
    } else {
      name += static_cast<char>(c);
    }
  }
  name += static_cast<char>('0' + std::clamp(column, 0, 9));
  return name;
}

bool ReadHistory(const std::string& folder, std::string_view displayName, int column,
                 std::vector<std::string>& values) {
  values.clear();
  const std::string path = HistoryPath(folder, displayName, column);
  if (!FileExists(path)) return false;
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return false;
  if (bytes.size() > kMaxHistoryBytes || bytes.find('\0') != std::string::npos) return false;
  values = SplitLines(DecodeCp932(bytes));
  if (values.size() > static_cast<size_t>(kHistoryLength)) values.resize(kHistoryLength);
  return !values.empty();
}

bool RecordHistory(const std::string& folder, std::string_view displayName, int column,
                   std::string_view value) {
  // A line break would split the value in two lines of the file.
  if (value.empty() || value.find_first_of("\r\n") != std::string_view::npos) return true;
  std::vector<std::string> values;
  ReadHistory(folder, displayName, column, values);
  const auto same = std::find_if(values.begin(), values.end(),
                                 [&](const std::string& v) { return SameHistoryValue(v, value); });
  if (same != values.end()) values.erase(same);
  values.insert(values.begin(), std::string(value));
  if (values.size() > static_cast<size_t>(kHistoryLength)) values.resize(kHistoryLength);
  std::string text;
  for (const std::string& v : values) text += v + "\r\n";
  EnsureFolder(folder);
  std::string error;  // a history that cannot be written is only not remembered
  return WriteOwnFile(HistoryPath(folder, displayName, column), text, "入力の履歴", error);
}

}  // namespace kzm
