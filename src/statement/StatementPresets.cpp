#include "statement/StatementPresets.h"

#include <algorithm>

#include "foundation/Concat.h"
#include "foundation/Codec.h"
#include "foundation/OwnFiles.h"
#include "foundation/Text.h"
#include "statement/ColumnMappingCheck.h"

namespace kzm {

namespace {

constexpr size_t kMaxPresetFileSize = 1024 * 1024;
constexpr const char* kWhat = "明細の設定";

const char* const kColumnKeys[] = {"Date", "Text", "Out", "In", "Amount", "Id"};

TColumnRef* ColumnOf(TStatementLayout& layout, std::string_view key) {
  if (SameText(key, "Date")) return &layout.date;
  if (SameText(key, "Text")) return &layout.text;
  if (SameText(key, "Out")) return &layout.out;
  if (SameText(key, "In")) return &layout.in;
  if (SameText(key, "Amount")) return &layout.signed_;
  if (SameText(key, "Id")) return &layout.id;
  return nullptr;
}

std::vector<std::string> SplitOn(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = std::min(text.find(separator, start), text.size());
    const std::string_view part = Trim(std::string_view(text).substr(start, end - start));
    if (!part.empty()) parts.emplace_back(part);
    start = end + 1;
  }
  return parts;
}

// A preset's columns are numbered, so no header is needed to tell whether they read rows.
bool IsUsable(const TStatementLayout& layout) {
  TColumns columns;
  return ResolveColumns(layout, {}, columns);
}

}  // namespace

void TStatementPresets::Load(const std::string& passbookFolder) {
  m_path = passbookFolder + "/" + kStatementPresetsFileName;
  m_sections.clear();
  m_leading.clear();
  m_readError.clear();
  std::string bytes;
  if (!ReadOwnFile(m_path, kMaxPresetFileSize, kWhat, bytes, m_readError)) return;
  for (std::string& bytesOfLine : NonEmptyLines(bytes)) {
    const std::string line(Trim(DecodeCp932(bytesOfLine)));
    const size_t equals = line.find('=');
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      m_sections.push_back({line.substr(1, line.size() - 2), {}});
    } else if (m_sections.empty()) {
      m_leading.push_back(std::move(bytesOfLine));
    } else if (!line.starts_with(';') && equals != std::string::npos && equals > 0) {
      m_sections.back().values.push_back(
          {std::string(Trim(line.substr(0, equals))), std::string(Trim(line.substr(equals + 1))), {}});
    } else {
      // A comment, or a line this program does not read: it stays where it was.
      m_sections.back().values.push_back({{}, {}, std::move(bytesOfLine)});
    }
  }
}

bool TStatementPresets::Save(std::string& error) const {
  if (!m_readError.empty()) {
    error = m_readError + "\n明細の設定には書き込みません。";
    return false;
  }
  std::string bytes;
  const auto add = [&](const std::string& text) {
    std::string encoded;
    std::string bad;
    if (!EncodeCp932(text, encoded, &bad)) {
      error = std::string(kWhat) + "「" + m_path + "」に保存できない文字「" + bad + "」があります。";
      return false;
    }
    bytes += encoded + "\r\n";
    return true;
  };
  for (const std::string& line : m_leading) bytes += line + "\r\n";
  for (const TSection& section : m_sections) {
    if (!add("[" + section.name + "]")) return false;
    for (const TValue& v : section.values) {
      if (!v.kept.empty()) bytes += v.kept + "\r\n";
      else if (!add(v.key + "=" + v.value)) return false;
    }
  }
  return WriteOwnFile(m_path, {}, kWhat, error, bytes);
}

const std::string* TStatementPresets::Value(const std::string& section, const std::string& key) const {
  for (const TSection& s : m_sections) {
    if (!SameText(s.name, section)) continue;
    for (const TValue& v : s.values) {
      if (v.kept.empty() && SameText(v.key, key)) return &v.value;
    }
  }
  return nullptr;
}

std::vector<TStatementLayout> TStatementPresets::Presets() const {
  std::vector<TStatementLayout> presets;
  for (const TSection& section : m_sections) {
    TStatementLayout layout;
    if (FindPreset(section.name, layout)) presets.push_back(layout);
  }
  return presets;
}

bool TStatementPresets::FindPreset(const std::string& name, TStatementLayout& layout) const {
  if (!Value(name, "Date")) return false;
  layout = {};
  for (const TSection& s : m_sections) {
    if (SameText(s.name, name)) layout.name = s.name;
  }
  for (const char* key : kColumnKeys) {
    const std::string* value = Value(name, key);
    ColumnOf(layout, key)->index = value ? ParseInt(*value, 0) - 1 : -1;
  }
  const std::string* card = Value(name, "Card");
  layout.spendingPositive = card && ParseInt(*card, 0) != 0;
  const std::string* skip = Value(name, "Skip");
  layout.skipLines = skip ? std::max(0, ParseInt(*skip, 0)) : 0;
  if (const std::string* header = Value(name, "Header")) layout.signature = SplitOn(*header, ',');
  return IsUsable(layout);
}

void TStatementPresets::StorePreset(const TStatementLayout& layout) {
  std::string account = Account(layout.name);
  // Lines the program does not read stay with the preset.
  std::vector<TValue> kept;
  for (const TSection& s : m_sections) {
    if (!SameText(s.name, layout.name)) continue;
    for (const TValue& v : s.values) {
      if (!v.kept.empty()) kept.push_back(v);
    }
  }
  std::erase_if(m_sections, [&](const TSection& s) { return SameText(s.name, layout.name); });
  TSection section{layout.name, {}};
  auto number = [](const TColumnRef& ref) { return std::to_string(ref.index + 1); };
  section.values = {{"Date", number(layout.date), {}},
                    {"Text", number(layout.text), {}},
                    {"Out", number(layout.out), {}},
                    {"In", number(layout.in), {}},
                    {"Amount", number(layout.signed_), {}},
                    {"Id", number(layout.id), {}},
                    {"Card", layout.spendingPositive ? "1" : "0", {}},
                    {"Skip", std::to_string(layout.skipLines), {}}};
  if (!layout.signature.empty()) {
    std::string header;
    for (const std::string& cell : layout.signature) header += (header.empty() ? "" : ",") + cell;
    section.values.push_back({"Header", header, {}});
  }
  if (!account.empty()) section.values.push_back({"Account", account, {}});
  section.values.insert(section.values.end(), kept.begin(), kept.end());
  m_sections.push_back(std::move(section));
}

std::string TStatementPresets::Account(const std::string& layoutName) const {
  const std::string* value = Value(layoutName, "Account");
  return value ? *value : std::string();
}

void TStatementPresets::SetAccount(const std::string& layoutName, const std::string& accountName) {
  for (TSection& s : m_sections) {
    if (!SameText(s.name, layoutName)) continue;
    for (TValue& v : s.values) {
      if (v.kept.empty() && SameText(v.key, "Account")) {
        v.value = accountName;
        return;
      }
    }
    s.values.push_back({"Account", accountName, {}});
    return;
  }
  m_sections.push_back({layoutName, {{"Account", accountName, {}}}});
}

bool ParseColumnMapping(const std::string& name, const std::string& mapping, TStatementLayout& layout,
                        std::string& error) {
  layout = {};
  layout.name = name;
  for (const std::string& part : SplitOn(mapping, ',')) {
    const size_t equals = part.find('=');
    const std::string key(Trim(part.substr(0, equals)));
    const std::string value = equals == std::string::npos ? "" : std::string(Trim(part.substr(equals + 1)));
    if (SameText(key, "card") && equals == std::string::npos) {
      layout.spendingPositive = true;
    } else if (SameText(key, "skip")) {
      layout.skipLines = std::max(0, ParseInt(value, 0));
    } else if (SameText(key, "header")) {
      layout.signature = SplitOn(value, '|');
    } else if (TColumnRef* column = ColumnOf(layout, key); column && ParseInt(value, 0) >= 1) {
      column->index = ParseInt(value, 0) - 1;
    } else {
      error = "列の指定が読めません: " + part;
      return false;
    }
  }
  return CheckColumnMapping(layout, error);
}

std::string ColumnMappingText(const TColumns& columns, bool spendingPositive, int skipLines,
                              const std::vector<std::string>& header) {
  std::string mapping;
  auto add = [&mapping](const std::string& part) { mapping += (mapping.empty() ? "" : ",") + part; };
  const std::pair<const char*, int> numbered[] = {{"date", columns.date}, {"text", columns.text},
                                                  {"out", columns.out},   {"in", columns.in},
                                                  {"amount", columns.signed_}, {"id", columns.id}};
  for (const auto& [key, index] : numbered) {
    if (index >= 0) add(std::string(key) + "=" + std::to_string(index + 1));
  }
  if (spendingPositive) add("card");
  if (skipLines > 0) add(Concat({"skip=", std::to_string(skipLines)}));
  std::string cells;
  for (const std::string& cell : header) {
    const std::string_view trimmed = Trim(cell);
    if (trimmed.empty() || trimmed.find_first_of(",|\r\n") != std::string_view::npos) continue;
    if (!cells.empty()) cells += '|';
    cells += trimmed;
  }
  if (!cells.empty()) add("header=" + cells);
  return mapping;
}

}  // namespace kzm
