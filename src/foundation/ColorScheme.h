#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "foundation/Color.h"
#include "foundation/XmlList.h"

namespace kzm {

// What a screen gets for a colour that is missing or empty in the scheme.
inline constexpr TColor kColorFallback = 0x808080;  // grey
inline constexpr TColor kColorWhite = 0xFFFFFF;

// The colour scheme of a passbook: named colours under the root "colors", one element per
// group and one per colour, addressed by paths such as "月間表示\セル\支出1". A colour is
// written "$" + hexadecimal BBGGRR, at least six upper-case digits ("$0000FF" is red).
//
// Screens read with fallbacks: the daily window's "全般\背景色" falls back to kColorWhite,
// "月間表示\文字\祝日" (not in the defaults) to the colour read for "月間表示\文字\日曜",
// every other colour to kColorFallback.
class TColorsList : public TxmlList {
 public:
  explicit TColorsList(std::string fileName = {});

  [[nodiscard]] const std::string& FileName() const { return m_fileName; }
  void SetFileName(std::string fileName) { m_fileName = std::move(fileName); }

  // The colour at path; fallback when its text is empty. Text that is no integer (decimal,
  // or "$" and hexadecimal digits) reads as 0, black. Like every path read, a missing path
  // is created empty, so a later save writes it as an empty element.
  [[nodiscard]] TColor GetColor(std::string_view path, TColor fallback = kColorFallback);
  void SetColor(std::string_view path, TColor color);

  // The scheme's file when it exists, otherwise the built-in defaults. Parse errors of the
  // file propagate (ExmlParseError, EkzmError).
  void LoadColors();
  // The same with another file; the scheme's own file name stays.
  void LoadColorsFrom(const std::string& fileName);
  // The built-in scheme (the COLORS resource), replacing the tree.
  void LoadDefaultColors();
  // Writes the scheme atomically; throws EkzmError when that fails.
  void SaveColors();
  void SaveColorsTo(const std::string& fileName);

 private:
  std::string m_fileName;
};

// The program's colour scheme. Until one is installed, a scheme holding the built-in
// defaults answers.
[[nodiscard]] TColorsList& ColorScheme();
// Installs the program's scheme (not owned; nullptr restores the default one).
void SetColorScheme(TColorsList* scheme);

// A colour text: decimal, or "$" (also "0x") and hexadecimal digits, fitting 32 bits;
// blanks around it allowed. 0 for anything else.
[[nodiscard]] TColor ParseColor(std::string_view text);

}  // namespace kzm
