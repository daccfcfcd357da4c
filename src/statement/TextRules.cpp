#include "statement/TextRules.h"

#include "foundation/AtomicFile.h"
#include "foundation/Codec.h"
#include "foundation/Csv.h"
#include "foundation/OwnFiles.h"
#include "passbook/Categories.h"
#include "statement/WidthFold.h"

namespace kzm {

namespace {

constexpr size_t kMaxRuleFileSize = 4 * 1024 * 1024;

std::string RulePath(const std::string& folder) { return folder + "/" + kTextRulesFileName; }

}  // namespace

bool TTextRules::Load(const std::string& passbookFolder, std::string& error) {
  m_rules.clear();
  m_otherLines.clear();
  const std::string path = RulePath(passbookFolder);
  std::string bytes;
  m_unreadable = !ReadOwnFile(path, kMaxRuleFileSize, "分類のルール", bytes, error);
  if (m_unreadable) return false;
  for (const std::string& line : NonEmptyLines(bytes)) {
    const std::vector<std::string> fields = CsvSplit(DecodeCp932(line));
    const int kind = fields.size() == 3 ? KindCode(fields[1]) : 0;
    if ((kind == kKindPayment || kind == kKindReceipt || kind == kKindAsset) && !fields[0].empty()) {
      m_rules.push_back({fields[0], MakeKey(fields[2], kind)});
    } else {
      m_otherLines.push_back(line);
    }
  }
  return true;
}

bool TTextRules::Save(const std::string& passbookFolder, std::string& error) const {
  if (m_unreadable) {
    error = "分類のルール「" + RulePath(passbookFolder) + "」を読み込めなかったため、上書きしません。";
    return false;
  }
  std::string bytes;
  for (const TTextRule& rule : m_rules) {
    const int kind = KeyKind(rule.categoryKey);
    std::string line;
    std::string badChar;
    if (!EncodeCp932(CsvJoin({rule.text, KindNames()[static_cast<size_t>(kind)], KeyName(rule.categoryKey)}), line,
                     &badChar)) {
      error = "分類のルール「" + rule.text + "」に保存できない文字「" + badChar + "」があります。";
      return false;
    }
    bytes += line + "\r\n";
  }
  for (const std::string& line : m_otherLines) bytes += line + "\r\n";
  return WriteFileAtomic(RulePath(passbookFolder), bytes, &error);
}

std::string TTextRules::CategoryFor(std::string_view statementText, const THeadList& categories) const {
  const std::string text = NormaliseStatementText(statementText);
  const TTextRule* best = nullptr;
  size_t bestLength = 0;
  for (const TTextRule& rule : m_rules) {
    const std::string wanted = NormaliseStatementText(rule.text);
    if (wanted.empty() || wanted.size() <= bestLength || text.find(wanted) == std::string::npos) continue;
    if (categories.IndexOfKey(rule.categoryKey) < 0) continue;
    best = &rule;
    bestLength = wanted.size();
  }
  return best ? best->categoryKey : std::string();
}

void TTextRules::Learn(std::string_view text, const std::string& categoryKey) {
  const std::string wanted = NormaliseStatementText(text);
  if (wanted.empty()) return;
  for (TTextRule& rule : m_rules) {
    if (NormaliseStatementText(rule.text) == wanted) {
      rule.categoryKey = categoryKey;
      return;
    }
  }
  m_rules.push_back({std::string(wanted), categoryKey});
}

}  // namespace kzm
