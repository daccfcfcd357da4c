#include "foundation/ProfileList.h"

#include "foundation/AtomicFile.h"
#include "foundation/Codec.h"
#include "foundation/Concat.h"
#include "foundation/Files.h"
#include "foundation/SystemErrors.h"
#include "foundation/Text.h"

#include <cassert>
#include <limits>

namespace kzm {

namespace {

// Splits text at CR LF, CR or LF. A final line break does not start another line.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// A line break inside a name or value would end its line early and turn the rest into a
// line of its own, so it is written as a blank.
std::string OneLine(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return out;
}

bool IsSectionLine(std::string_view trimmed) {
  return trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']';
}

std::string_view SectionName(std::string_view trimmed) { return Trim(trimmed.substr(1, trimmed.size() - 2)); }

// The key of a "key=value" line, or nothing for any other line.
bool KeyOfLine(std::string_view trimmed, std::string_view& key) {
  if (trimmed.empty() || trimmed.front() == ';' || IsSectionLine(trimmed)) return false;
  const size_t eq = trimmed.find('=');
  if (eq == std::string_view::npos) return false;
  key = Trim(trimmed.substr(0, eq));
  return true;
}

// The settings file as lines, with the range of lines of every section.
class TProfileText {
 public:
  explicit TProfileText(std::string_view text) {
    for (const std::string_view line : SplitLines(text)) m_lines.emplace_back(line);
  }

  // Gives key in section the value: replaces the first matching line or adds one.
  void Set(std::string_view section, std::string_view key, std::string_view value) {
    size_t begin = 0;
    size_t end = 0;
    if (!FindSection(section, begin, end)) {
      m_lines.push_back(Concat({"[", section, "]"}));
      m_lines.push_back(std::string(key) + "=" + std::string(value));
      return;
    }
    size_t lastUsed = begin;  // the line after which a new key goes
    for (size_t i = begin; i < end; ++i) {
      const std::string_view trimmed = Trim(m_lines[i]);
      if (!trimmed.empty()) lastUsed = i + 1;
      std::string_view lineKey;
      if (KeyOfLine(trimmed, lineKey) && SameText(lineKey, key)) {
        m_lines[i] = std::string(lineKey) + "=" + std::string(value);
        return;
      }
    }
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(lastUsed),
                   std::string(key) + "=" + std::string(value));
  }

  [[nodiscard]] std::string Text() const {
    std::string out;
    for (const std::string& line : m_lines) out += line + "\r\n";
    return out;
  }

 private:
  // The lines of a section, after its header; the unnamed section is the lines before the
  // first header (it always exists).
  bool FindSection(std::string_view section, size_t& begin, size_t& end) const {
    bool inside = section.empty();
    begin = 0;
    for (size_t i = 0; i < m_lines.size(); ++i) {
      const std::string_view trimmed = Trim(m_lines[i]);
      if (!IsSectionLine(trimmed)) continue;
      if (inside) {
        end = i;
        return true;
      }
      if (!section.empty() && SameText(SectionName(trimmed), section)) {
        inside = true;
        begin = i + 1;
      }
    }
    end = m_lines.size();
    return inside;
  }

  std::vector<std::string> m_lines;
};

}  // namespace

bool TprofileList::LoadFromFile(const std::string& fileName) {
  Clear();
  std::string bytes;
  if (fileName.empty() || !ReadWholeFile(fileName, bytes)) return false;
  LoadFromText(DecodeCp932(bytes));
  return true;
}

void TprofileList::LoadFromText(std::string_view text) {
  Clear();
  std::string section;
  for (const std::string_view line : SplitLines(text)) {
    const std::string_view trimmed = Trim(line);
    if (IsSectionLine(trimmed)) {
      section = UpperCase(SectionName(trimmed));
      continue;
    }
    std::string_view key;
    if (!KeyOfLine(trimmed, key)) continue;
    const int index = Add(LowerCase(key));
    m_sections[static_cast<size_t>(index)] = section;
    Record(index).text = std::string(Trim(trimmed.substr(trimmed.find('=') + 1)));
  }
}

std::string TprofileList::MergeInto(std::string_view existing) const {
  TProfileText file(existing);
  for (int i = 0; i < Count(); ++i) {
    // A pair held twice was read from the first of them; that value is the one to keep.
    if (IndexOfKey(Sections(i), Strings(i)) != i) continue;
    file.Set(OneLine(Sections(i)), OneLine(Strings(i)), OneLine(FileValue(i)));
  }
  return file.Text();
}

bool TprofileList::SaveToFile(const std::string& fileName, std::string* error) const {
  if (fileName.empty()) return true;
  std::string old;
  int readError = 0;
  if (ReadFileUpTo(fileName, std::numeric_limits<size_t>::max(), old, &readError) == TReadStatus::rsFailed) {
    // A file that cannot be read is never replaced by the settings held in memory.
    if (error) *error = fileName + "\n" + SystemErrorText(readError);
    return false;
  }
  std::string bytes;
  std::string bad;
  if (!EncodeCp932(MergeInto(DecodeCp932(old)), bytes, &bad)) {
    if (error) *error = "Shift-JIS で書けない文字があります: " + bad;
    return false;
  }
  return WriteFileAtomic(fileName, bytes, error);
}

int TprofileList::IndexOfKey(std::string_view section, std::string_view key) const {
  const std::string upper = UpperCase(section);
  const std::string lower = LowerCase(key);
  for (int i = 0; i < Count(); ++i) {
    if (Strings(i) == lower && m_sections[static_cast<size_t>(i)] == upper) return i;
  }
  return -1;
}

const std::string& TprofileList::Sections(int index) const {
  assert(index >= 0 && index < Count());
  return m_sections[static_cast<size_t>(index)];
}

std::string TprofileList::ReadString(std::string_view section, std::string_view key, std::string_view fallback) {
  const int i = IndexOfKey(section, key);
  if (i < 0) return std::string(fallback);
  TValueRecord& r = Record(i);
  if (r.kind == TValueKind::vkUntyped) r.kind = TValueKind::vkText;
  return r.text;
}

int32_t TprofileList::ReadInteger(std::string_view section, std::string_view key, int32_t fallback) {
  const int i = IndexOfKey(section, key);
  if (i < 0) return fallback;
  TValueRecord& r = Record(i);
  if (r.kind == TValueKind::vkUntyped) {
    r.intValue = ParseInt(r.text, 0);
    r.kind = TValueKind::vkInteger;
  }
  return r.intValue;
}

bool TprofileList::ReadBool(std::string_view section, std::string_view key, bool fallback) {
  const int i = IndexOfKey(section, key);
  if (i < 0) return fallback;
  TValueRecord& r = Record(i);
  if (r.kind == TValueKind::vkUntyped) {
    const std::string lower = LowerCase(r.text);
    // "true" stays text, so it is saved back as the user wrote it.
    if (lower == "true") {
      r.intValue = 1;
    } else {
      r.intValue = ParseInt(lower, 0);
      r.kind = TValueKind::vkInteger;
    }
  }
  return r.intValue != 0;
}

void TprofileList::WriteString(std::string_view section, std::string_view key, std::string value) {
  TValueRecord& r = Record(FindOrAdd(section, key));
  r.text = std::move(value);
  r.kind = TValueKind::vkText;
}

void TprofileList::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
  TValueRecord& r = Record(FindOrAdd(section, key));
  r.intValue = value;
  r.kind = TValueKind::vkInteger;
}

void TprofileList::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteInteger(section, key, value ? 1 : 0);
}

int TprofileList::Add(std::string s) {
  const int index = TMultiStringList::Add(std::move(s));
  m_sections.emplace_back();
  return index;
}

void TprofileList::Insert(int index, std::string s) {
  TMultiStringList::Insert(index, std::move(s));
  m_sections.insert(m_sections.begin() + index, std::string());
}

void TprofileList::Delete(int index) {
  TMultiStringList::Delete(index);
  m_sections.erase(m_sections.begin() + index);
}

void TprofileList::Clear() {
  TMultiStringList::Clear();
  m_sections.clear();
}

int TprofileList::FindOrAdd(std::string_view section, std::string_view key) {
  int i = IndexOfKey(section, key);
  if (i < 0) {
    i = Add(LowerCase(key));
    m_sections[static_cast<size_t>(i)] = UpperCase(section);
  }
  return i;
}

std::string TprofileList::FileValue(int index) const {
  const TValueRecord& r = Record(index);
  return r.kind == TValueKind::vkInteger ? std::to_string(r.intValue) : r.text;
}

}  // namespace kzm
