#include "statement/StatementEncoding.h"

#include "foundation/Codec.h"
#include "foundation/Utf16.h"
#include "foundation/Utf8.h"

namespace kzm {

namespace {

const char* const kBinary = "文字のファイルではありません（画像やアーカイブなどのデータです）。";
const char* const kMixed = "文字コードが混在しています（UTF-8 と別の文字コードの行があります）。";
const char* const kUnknown = "文字コードを判別できません（Shift_JIS としても UTF-8 としても読めない文字があります）。";

// Text may hold tabs and line ends; other control characters mean binary data. A DOS end-of-
// file mark (0x1A) is tolerated, as old programs wrote one.
bool HasControlCharacters(std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 && c != '\t' && c != '\r' && c != '\n' && byte != 0x1A) return true;
    if (byte == 0x7F) return true;
  }
  return false;
}

bool IsValidUtf8(std::string_view bytes) {
  for (size_t pos = 0; pos < bytes.size();) {
    if (NextUtf8(bytes, pos) == kInvalidUtf8) return false;
  }
  return true;
}

// Bytes of well-formed UTF-8 sequences of three or four bytes, against all bytes above 0x7F.
// CP932 text forms such sequences only by chance, and rarely; a file with many of them that
// is still no valid UTF-8 has lines in two encodings.
bool LooksMixed(std::string_view bytes) {
  size_t high = 0;
  size_t inSequences = 0;
  int sequences = 0;
  for (size_t pos = 0; pos < bytes.size();) {
    const size_t start = pos;
    const char32_t cp = NextUtf8(bytes, pos);
    if (cp == kInvalidUtf8) {
      ++high;
      continue;
    }
    const size_t length = pos - start;
    if (length > 1) high += length;
    if (length >= 3) {
      inSequences += length;
      ++sequences;
    }
  }
  return sequences >= 8 && inSequences * 10 >= high * 3;
}

bool HasUndecodableBytes(std::string_view utf8) {
  for (size_t pos = 0; pos < utf8.size();) {
    const char32_t cp = NextUtf8(utf8, pos);
    if (cp >= 0x10FF00 && cp <= 0x10FFFF) return true;  // the codec's stand-in for a stray byte
  }
  return false;
}

// UTF-16 text (little-endian units) to UTF-8; false when it holds a zero unit or is cut short.
bool DecodeUtf16Le(std::string_view units, std::string& text) {
  if (units.size() % 2 != 0) return false;
  for (size_t i = 0; i < units.size(); i += 2) {
    if (units[i] == 0 && units[i + 1] == 0) return false;
  }
  text = Utf16LeToUtf8(units);
  return true;
}

std::string SwapPairs(std::string_view bytes) {
  std::string swapped(bytes);
  for (size_t i = 0; i + 1 < swapped.size(); i += 2) std::swap(swapped[i], swapped[i + 1]);
  return swapped;
}

// ASCII text in UTF-16LE without a mark: zero bytes at odd positions, almost none at even.
bool LooksUtf16LeWithoutMark(std::string_view bytes) {
  if (bytes.size() < 4 || bytes.size() % 2 != 0) return false;
  size_t oddZeros = 0;
  size_t evenZeros = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != 0) continue;
    if (i % 2 == 1) ++oddZeros;
    else ++evenZeros;
  }
  const size_t units = bytes.size() / 2;
  return evenZeros == 0 && oddZeros * 10 >= units * 3;
}

}  // namespace

const char* EncodingName(TStatementEncoding encoding) {
  switch (encoding) {
    case TStatementEncoding::seCp932: return "CP932";
    case TStatementEncoding::seUtf8: return "UTF-8";
    case TStatementEncoding::seUtf8Bom: return "UTF-8 (BOM)";
    case TStatementEncoding::seUtf16Le: return "UTF-16LE";
    case TStatementEncoding::seUtf16Be: return "UTF-16BE";
  }
  return "";
}

bool DecodeStatementBytes(std::string_view bytes, std::string& text, TStatementEncoding& encoding,
                          std::string& error) {
  text.clear();
  bool decoded = true;
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    encoding = TStatementEncoding::seUtf8Bom;
    bytes.remove_prefix(3);
    decoded = IsValidUtf8(bytes);
    if (decoded) text = bytes;
  } else if (bytes.starts_with("\xFF\xFE")) {
    encoding = TStatementEncoding::seUtf16Le;
    decoded = DecodeUtf16Le(bytes.substr(2), text);
  } else if (bytes.starts_with("\xFE\xFF")) {
    encoding = TStatementEncoding::seUtf16Be;
    decoded = DecodeUtf16Le(SwapPairs(bytes.substr(2)), text);
  } else if (LooksUtf16LeWithoutMark(bytes)) {
    encoding = TStatementEncoding::seUtf16Le;
    decoded = DecodeUtf16Le(bytes, text);
  } else if (IsValidUtf8(bytes)) {
    encoding = TStatementEncoding::seUtf8;
    text = bytes;
  } else if (LooksMixed(bytes)) {
    error = kMixed;
    return false;
  } else {
    encoding = TStatementEncoding::seCp932;
    if (HasControlCharacters(bytes)) {
      error = kBinary;
      return false;
    }
    text = DecodeCp932(bytes);
    if (HasUndecodableBytes(text)) {
      text.clear();
      error = kUnknown;
      return false;
    }
  }
  if (!decoded || HasControlCharacters(text)) {
    text.clear();
    error = decoded ? kBinary : kUnknown;
    return false;
  }
  return true;
}

}  // namespace kzm
