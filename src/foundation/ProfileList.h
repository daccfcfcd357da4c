#pragma once

// TprofileList: a sectioned settings file ("[SECTION]" lines, then "key=value" lines) held
// in memory, with typed reads that cache what they read.
//
// The file is CP932 text with CR LF line ends (CR or LF alone are read too). Lines are
// trimmed; empty lines and lines starting with ";" are skipped; "[name]" starts a section
// (lines before the first one belong to the section ""); any other line with "=" is a key:
// the trimmed text before the first "=", and the trimmed rest is its value. There are no
// escapes or quotes. Sections are held in upper case and keys in lower case; a section and
// key pair may occur more than once, and lookups find the first.
//
// Saving merges into the file on disk the way the Windows profile functions do: the first
// line of each item's section and key (matched without regard to case) gets the item's
// value in place, a missing key is added at the end of its section, a missing section at
// the end of the file; comments and keys the list does not hold stay as they are.

#include "foundation/MultiStringList.h"

#include <string>
#include <string_view>
#include <vector>

namespace kzm {

class TprofileList : public TMultiStringList {
 public:
  // Replaces the contents with the file's; a missing file leaves the list empty (false).
  bool LoadFromFile(const std::string& fileName);
  // Replaces the contents with the settings of a text (UTF-8).
  void LoadFromText(std::string_view text);
  // Merges every item into the file, written atomically. True for an empty file name (there
  // is nothing to write to). False when the file could not be written or holds a character
  // that Shift-JIS cannot; the file is then unchanged and error says why.
  bool SaveToFile(const std::string& fileName, std::string* error = nullptr) const;
  // The text of a settings file after merging every item into existing (both UTF-8; lines
  // end in CR LF).
  [[nodiscard]] std::string MergeInto(std::string_view existing) const;

  [[nodiscard]] std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback);
  [[nodiscard]] int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback);
  // "true" in any case or a non-zero integer is true.
  [[nodiscard]] bool ReadBool(std::string_view section, std::string_view key, bool fallback);
  void WriteString(std::string_view section, std::string_view key, std::string value);
  void WriteInteger(std::string_view section, std::string_view key, int32_t value);
  void WriteBool(std::string_view section, std::string_view key, bool value);

  // Index of the first item of section and key (any case), -1 if none.
  [[nodiscard]] int IndexOfKey(std::string_view section, std::string_view key) const;
  // The section (upper case) of the item at index.
  [[nodiscard]] const std::string& Sections(int index) const;

  int Add(std::string s) override;
  void Insert(int index, std::string s) override;
  void Delete(int index) override;
  void Clear() override;

 private:
  int FindOrAdd(std::string_view section, std::string_view key);
  // The value as the file holds it: the decimal integer or the text.
  [[nodiscard]] std::string FileValue(int index) const;

  std::vector<std::string> m_sections;
};

}  // namespace kzm
