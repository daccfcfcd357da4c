#pragma once

// The text rules of a passbook: "a statement text containing X goes to category Y", applied
// to imported rows the user has not categorised.
//
// Rule file (StatementRules.csv in the passbook folder): CP932 text, lines ended by CR LF,
// one rule per line as three CSV fields: the text to look for, the kind name of the category
// (支出, 収入, 資産) and its display name. Lines that do not read so are kept and written
// back, so that nothing a later version adds is lost.

#include <string>
#include <string_view>
#include <vector>

namespace kzm {

class THeadList;

inline constexpr const char* kTextRulesFileName = "StatementRules.csv";

struct TTextRule {
  std::string text;         // as the user gave it
  std::string categoryKey;
};

class TTextRules {
 public:
  // Reads the passbook folder's rule file; a missing file is no rules. False, with a
  // sentence naming the file in error, when it exists but cannot be read: Save then refuses,
  // so the rules in it are never written over.
  bool Load(const std::string& passbookFolder, std::string& error);
  // Writes the rules atomically. False, naming the file in error, when that fails or the
  // file could not be read.
  [[nodiscard]] bool Save(const std::string& passbookFolder, std::string& error) const;

  [[nodiscard]] const std::vector<TTextRule>& Rules() const { return m_rules; }

  // The category of the rule whose text the statement text contains, width-folded and blanks
  // collapsed on both sides; the longest such rule text wins, so "ATM 手数料" beats "ATM", and
  // of equally long ones the first in the file.
  // Rules whose category categories lacks are passed over. Empty when none fits.
  [[nodiscard]] std::string CategoryFor(std::string_view statementText, const THeadList& categories) const;

  // Remembers text → categoryKey, replacing a rule with the same (folded) text.
  void Learn(std::string_view text, const std::string& categoryKey);

 private:
  std::vector<TTextRule> m_rules;
  std::vector<std::string> m_otherLines;  // CP932, as read
  bool m_unreadable = false;
};

}  // namespace kzm
