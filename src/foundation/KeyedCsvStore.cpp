#include "foundation/KeyedCsvStore.h"

#include "foundation/Codec.h"
#include "foundation/Csv.h"
#include "foundation/OwnFiles.h"
#include "foundation/WindowSystem.h"

namespace kzm {

namespace {

constexpr size_t kDroppedShown = 5;

}  // namespace

bool TKeyedCsvStore::Load(const std::string& path, const TKeyOf& keyOf, std::string& error) {
  m_records.clear();
  m_index.clear();
  m_kept.clear();
  m_dropped.clear();
  m_unreadable = false;
  std::string bytes;
  if (!ReadOwnFile(path, m_limit, m_what, bytes, error)) {
    m_unreadable = true;
    return false;
  }
  for (std::string& line : NonEmptyLines(bytes)) {
    const std::string text = DecodeCp932(line);
    std::vector<std::string> fields = CsvSplit(text);
    std::string key = keyOf(fields);
    if (key.empty()) {
      m_kept.push_back(std::move(line));
    } else if (m_index.contains(key)) {
      m_dropped.push_back(text);
    } else {
      m_index.emplace(key, m_records.size());
      m_records.push_back({std::move(key), std::move(fields)});
    }
  }
  if (!m_dropped.empty()) {
    std::string message = m_what + "「" + path + "」には、同じ項目を書いた行が重なっています。最初の行を使い、あとの" +
                          std::to_string(m_dropped.size()) + "行は次に保存するときに除きます。";
    for (size_t i = 0; i < m_dropped.size() && i < kDroppedShown; ++i) message += "\n" + m_dropped[i];
    if (m_dropped.size() > kDroppedShown) message += "\n…";
    // A window that reads the file again and again until the next save tells it once.
    WindowSystem().NotifyOnce(message);
  }
  return true;
}

bool TKeyedCsvStore::Save(const std::string& path, std::string& error) const {
  if (m_unreadable) {
    error = m_what + "「" + path + "」を読み込めなかったため、上書きしません。";
    return false;
  }
  std::string text;
  for (const TRecord& record : m_records) text += CsvJoin(record.fields) + "\r\n";
  std::string kept;
  for (const std::string& line : m_kept) kept += line + "\r\n";
  return WriteOwnFile(path, text, m_what, error, kept);
}

const std::vector<std::string>* TKeyedCsvStore::Get(std::string_view key) const {
  const auto found = m_index.find(key);
  return found == m_index.end() ? nullptr : &m_records[found->second].fields;
}

void TKeyedCsvStore::Set(const std::string& key, std::vector<std::string> fields) {
  const auto [found, added] = m_index.try_emplace(key, m_records.size());
  if (added) m_records.push_back({key, std::move(fields)});
  else m_records[found->second].fields = std::move(fields);
}

void TKeyedCsvStore::Remove(std::string_view key) {
  const auto found = m_index.find(key);
  if (found == m_index.end()) return;
  const size_t removed = found->second;
  m_records.erase(m_records.begin() + static_cast<std::ptrdiff_t>(removed));
  m_index.erase(found);
  for (auto& [other, position] : m_index) {
    if (position > removed) --position;
  }
}

void TKeyedCsvStore::ClearRecords() {
  m_records.clear();
  m_index.clear();
}

}  // namespace kzm
