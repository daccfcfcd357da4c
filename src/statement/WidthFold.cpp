#include "statement/WidthFold.h"

#include "foundation/Utf8.h"

namespace kzm {

namespace {

// Full-width forms of the half-width katakana U+FF61 to U+FF9D, in code order.
constexpr char16_t kHalfKatakana[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5,
    0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,
    0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC,
    0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4,
    0x30E6, 0x30E8, 0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3};
static_assert(sizeof(kHalfKatakana) / sizeof(kHalfKatakana[0]) == 0xFF9D - 0xFF61 + 1);
constexpr char32_t kVoicedMark = 0x3099;      // from ﾞ
constexpr char32_t kSemiVoicedMark = 0x309A;  // from ﾟ

bool TakesVoicedMark(char32_t cp) {
  if (cp == 0x30A6) return true;  // ウ → ヴ
  if (cp >= 0x30AB && cp <= 0x30C2) return (cp - 0x30AB) % 2 == 0;  // カ … ヂ
  if (cp >= 0x30C4 && cp <= 0x30C8) return (cp - 0x30C4) % 2 == 0;  // ツ テ ト
  return cp >= 0x30CF && cp <= 0x30DB && (cp - 0x30CF) % 3 == 0;   // ハ ヒ フ ヘ ホ
}

bool TakesSemiVoicedMark(char32_t cp) { return cp >= 0x30CF && cp <= 0x30DB && (cp - 0x30CF) % 3 == 0; }

char32_t FoldOne(char32_t cp) {
  if (cp >= 0xFF01 && cp <= 0xFF5E) return cp - 0xFEE0;
  if (cp == 0x3000) return U' ';
  if (cp == 0xFFE5) return 0xA5;
  if (cp >= 0xFF61 && cp <= 0xFF9D) return kHalfKatakana[cp - 0xFF61];
  if (cp == 0xFF9E) return kVoicedMark;
  if (cp == 0xFF9F) return kSemiVoicedMark;
  return cp;
}

}  // namespace

std::string FoldWidth(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  char32_t previous = 0;
  size_t previousAt = 0;
  for (size_t pos = 0; pos < utf8.size();) {
    const size_t start = pos;
    const char32_t raw = NextUtf8(utf8, pos);
    if (raw == kInvalidUtf8) {
      out.append(utf8.substr(start, pos - start));
      previous = 0;
      continue;
    }
    char32_t cp = FoldOne(raw);
    // A mark after a kana that takes it joins it, as the composed form does.
    const bool joins = (cp == kVoicedMark && TakesVoicedMark(previous)) ||
                       (cp == kSemiVoicedMark && TakesSemiVoicedMark(previous));
    if (joins) {
      const char32_t joined = previous == 0x30A6 ? 0x30F4 : previous + (cp == kVoicedMark ? 1 : 2);
      out.resize(previousAt);
      cp = joined;
    }
    previousAt = out.size();
    AppendUtf8(out, cp);
    previous = joins ? 0 : cp;
  }
  return out;
}

std::string NormaliseStatementText(std::string_view utf8) {
  const std::string folded = FoldWidth(utf8);
  std::string out;
  out.reserve(folded.size());
  bool blank = false;
  for (const char c : folded) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      blank = true;
      continue;
    }
    if (blank && !out.empty()) out += ' ';
    blank = false;
    out += c;
  }
  return out;
}

}  // namespace kzm
