#include "search/SearchCsvFile.h"

#include "foundation/Codec.h"
#include "search/Search.h"

namespace kzm {

namespace {

const char kNotSaved[] = "CSVファイルを保存できませんでした。";

}  // namespace

bool TSearchCsvFile::Open(std::string& error) {
  std::string why;
  if (m_file.Open(&why)) return true;
  error = std::string(kNotSaved) + "\n" + why;
  return false;
}

bool TSearchCsvFile::Add(const std::vector<TkzmEntry>& results, std::string& error) {
  m_text.clear();
  for (const TkzmEntry& entry : results) {
    m_text += SearchCsvLine(entry);
    m_text += "\r\n";
  }
  std::string badChar;
  if (!EncodeCp932(m_text, m_bytes, &badChar)) {
    error = "「" + badChar + "」は保存できない文字です。" + kNotSaved;
    return false;
  }
  m_file.Append(m_bytes);
  return true;
}

bool TSearchCsvFile::Commit(std::string& error) {
  std::string why;
  if (m_file.Commit(&why)) return true;
  error = std::string(kNotSaved) + "\n" + why;
  return false;
}

}  // namespace kzm
