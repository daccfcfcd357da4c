#pragma once

// What a passbook remembers about the statements it imports: the account each layout books
// into, and the column mappings the user set for layouts the program does not know, each
// kept as a named preset.
//
// Preset file (StatementPresets.ini in the passbook folder, a sectioned settings file): one
// section per layout or preset name. "Account" is the display name of the asset category the
// layout's rows book into. A preset also has "Date", "Text", "Out", "In", "Amount" and "Id":
// column numbers from 1 (0: none; "Amount" is one signed column instead of "Out" and "In"),
// "Card" (1: positive amounts are spending), "Skip" (lines before the first row) and
// optionally "Header": the cells, comma-separated, of a header line that recognises the file.
// Comments and lines of any other shape are kept as their bytes and written back in place.

#include <string>
#include <vector>

#include "statement/StatementLayout.h"

namespace kzm {

inline constexpr const char* kStatementPresetsFileName = "StatementPresets.ini";

class TStatementPresets {
 public:
  // Reads the passbook folder's preset file; a missing file holds nothing. A file that is
  // there but cannot be read holds nothing either, and ReadError says why.
  void Load(const std::string& passbookFolder);
  [[nodiscard]] const std::string& ReadError() const { return m_readError; }
  // Writes what was changed, atomically. False, with the reason in error, when that fails, and
  // when the file could not be read: the presets in it would be lost.
  [[nodiscard]] bool Save(std::string& error) const;

  // The user's presets as layouts, in file order.
  [[nodiscard]] std::vector<TStatementLayout> Presets() const;
  // The preset of that name (any ASCII case); false when there is none.
  [[nodiscard]] bool FindPreset(const std::string& name, TStatementLayout& layout) const;
  // Adds the preset or replaces the one of its name. The columns must be numbered.
  void StorePreset(const TStatementLayout& layout);

  // The account display name remembered for a layout or preset; empty when none.
  [[nodiscard]] std::string Account(const std::string& layoutName) const;
  void SetAccount(const std::string& layoutName, const std::string& accountName);

 private:
  std::string m_path;
  std::string m_readError;
  struct TValue {
    std::string key;
    std::string value;
    std::string kept;  // a line not read (a comment, say), as its bytes; key and value empty
  };
  struct TSection {
    std::string name;
    std::vector<TValue> values;
  };
  std::vector<std::string> m_leading;  // lines before the first section, as their bytes
  std::vector<TSection> m_sections;
  [[nodiscard]] const std::string* Value(const std::string& section, const std::string& key) const;
};

// Reads a column mapping given as "date=1,text=2,out=4,in=5,id=3,amount=4,card,skip=1,
// header=日付|摘要" into layout (named name). False, with the reason in error, for a mapping
// that cannot be read or that CheckColumnMapping refuses.
[[nodiscard]] bool ParseColumnMapping(const std::string& name, const std::string& mapping, TStatementLayout& layout,
                                      std::string& error);

// The mapping ParseColumnMapping reads for columns chosen by number (from 0; -1: none), card
// amounts, lines to skip and the cells of a header line that recognises the file. Header
// cells the preset file cannot keep (empty, or holding a comma, a bar or a line break) are
// left out of the header.
[[nodiscard]] std::string ColumnMappingText(const TColumns& columns, bool spendingPositive, int skipLines,
                                            const std::vector<std::string>& header);

}  // namespace kzm
