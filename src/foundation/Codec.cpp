#include "foundation/Codec.h"

#include "foundation/Utf8.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kzm {

namespace {

// Raw bytes that are not CP932 travel through memory as these private code points.
constexpr char32_t kRawBase = 0x10FF00;

// One character in UTF-8, at most 3 bytes (every CP932 character lies in the BMP).
struct TUtf8Char {
  uint8_t len = 0;  // 0: not a character
  char bytes[3] = {};
};

// Lookup tables made once from the generated code list, so decoding and encoding are a
// table look-up per character.
struct TCp932Tables {
  std::array<TUtf8Char, 256> single{};
  std::array<bool, 256> isLead{};
  std::vector<TUtf8Char> pair;         // (lead - 0x80) * 256 + trail
  std::vector<uint16_t> encode;        // code point (BMP) -> CP932 code; 0 = none
  // The other codes of characters that have duplicates (NEC/IBM extensions).
  std::unordered_map<char32_t, std::vector<uint16_t>> twins;
  std::array<TUtf8Char, 256> raw{};    // first 3 UTF-8 bytes of each byte's private code point
};

// A character of the BMP in UTF-8; len 0 for anything else.
TUtf8Char ToUtf8Char(char32_t cp) {
  TUtf8Char c;
  if (cp < 0x80) {
    c.len = 1;
    c.bytes[0] = static_cast<char>(cp);
  } else if (cp < 0x800) {
    c.len = 2;
    c.bytes[0] = static_cast<char>(0xC0 | cp >> 6);
    c.bytes[1] = static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp <= 0xFFFF) {
    c.len = 3;
    c.bytes[0] = static_cast<char>(0xE0 | cp >> 12);
    c.bytes[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    c.bytes[2] = static_cast<char>(0x80 | (cp & 0x3F));
  }
  return c;
}

// One code of the generated list: the code, the character it decodes to, and the code iconv
// writes for that character (the one Windows writes; 0 when iconv writes none).
struct TCodeRow {
  uint16_t code;
  uint16_t cp;
  uint16_t written;
};

// kSingleBytes and kCodes, made from the system's iconv when the program is built.
#include "Cp932Tables.inc"

bool DecodesTo(const TCp932Tables& t, uint16_t code, char32_t cp) {
  const TUtf8Char want = ToUtf8Char(cp);
  const TUtf8Char& got = code <= 0xFF ? t.single[code] : code >= 0x8000 && t.isLead[code >> 8]
      ? t.pair[((code >> 8) - 0x80) * 256 + (code & 0xFF)] : TUtf8Char{};
  return got.len == want.len && std::equal(got.bytes, got.bytes + got.len, want.bytes);
}

// Made once, at the first use: kept out of line, so that looking up the tables is a test
// and a load.
[[gnu::cold, gnu::noinline]] TCp932Tables BuildTables() {
  TCp932Tables t;
  for (int b = 0; b < 256; ++b) {
    t.isLead[b] = kSingleBytes[b] == -2;
    if (kSingleBytes[b] >= 0) t.single[b] = ToUtf8Char(static_cast<char32_t>(kSingleBytes[b]));
    std::string s;
    AppendUtf8(s, kRawBase + static_cast<char32_t>(b));
    t.raw[b].len = 3;
    std::copy(s.begin(), s.begin() + 3, t.raw[b].bytes);
  }
  t.pair.assign(128 * 256, TUtf8Char{});
  for (const TCodeRow& row : kCodes) {
    if (row.code > 0xFF) t.pair[((row.code >> 8) - 0x80) * 256 + (row.code & 0xFF)] = ToUtf8Char(row.cp);
  }
  // A character is written as iconv writes it, unless that code would not read back as it.
  t.encode.assign(0x10000, 0);
  for (const TCodeRow& row : kCodes) {
    if (row.cp != 0 && row.written != 0 && DecodesTo(t, row.written, row.cp)) t.encode[row.cp] = row.written;
  }
  for (const TCodeRow& row : kCodes) {
    if (t.encode[row.cp] != 0 && t.encode[row.cp] != row.code) t.twins[row.cp].push_back(row.code);
  }
  return t;
}

const TCp932Tables& Tables() {
  static const TCp932Tables tables = BuildTables();
  return tables;
}

}  // namespace

std::string DecodeCp932(std::string_view bytes) {
  std::string out;
  DecodeCp932(bytes, out);
  return out;
}

void DecodeCp932(std::string_view bytes, std::string& out) {
  out.clear();
  if (bytes.empty()) return;
  const TCp932Tables& t = Tables();
  out.reserve(bytes.size() + bytes.size() / 2);
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  size_t i = 0;
  while (i < n) {
    // Runs of ASCII are by far the most common: copy them in one go.
    size_t j = i;
    while (j < n && p[j] < 0x80) ++j;
    if (j > i) {
      out.append(reinterpret_cast<const char*>(p + i), j - i);
      i = j;
      if (i == n) break;
    }
    const unsigned char b = p[i];
    if (t.isLead[b] && i + 1 < n) {
      const TUtf8Char& c = t.pair[(b - 0x80) * 256 + p[i + 1]];
      if (c.len != 0) {
        out.append(c.bytes, c.len);
        i += 2;
        continue;
      }
    } else if (t.single[b].len != 0) {
      out.append(t.single[b].bytes, t.single[b].len);
      ++i;
      continue;
    }
    // Not a character: keep the byte as its private code point (F4 8F Bx xx).
    out.append(t.raw[b].bytes, 3);
    out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
    ++i;
  }
}

namespace {

bool IsPair(const TCp932Tables& t, unsigned char lead, unsigned char trail) {
  return t.isLead[lead] && t.pair[(lead - 0x80) * 256 + trail].len != 0;
}

// The code for a character right after a kept lead byte. That byte was kept because the
// byte after it could not follow it; if the usual code of a duplicate would now pair with
// it, the twin it was read from is taken instead, so the bytes read back as they were.
uint16_t CodeAfterRawLead(const TCp932Tables& t, char32_t cp, uint16_t code, unsigned char lead) {
  if (code <= 0xFF || !IsPair(t, lead, static_cast<unsigned char>(code >> 8))) return code;
  const auto twins = t.twins.find(cp);
  if (twins == t.twins.end()) return code;
  for (const uint16_t twin : twins->second) {
    if (!IsPair(t, lead, static_cast<unsigned char>(twin >> 8))) return twin;
  }
  return code;
}

}  // namespace

bool EncodeCp932(std::string_view utf8, std::string& out, std::string* badChar) {
  const TCp932Tables& t = Tables();
  out.clear();
  out.reserve(utf8.size());
  int rawLead = -1;  // the previous byte written, when it was a kept lead byte
  size_t i = 0;
  while (i < utf8.size()) {
    const unsigned char b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
      rawLead = -1;
      ++i;
      continue;
    }
    const size_t start = i;
    const char32_t cp = NextUtf8(utf8, i);
    if (cp >= kRawBase && cp <= kRawBase + 0xFF) {
      const auto raw = static_cast<unsigned char>(cp - kRawBase);
      out.push_back(static_cast<char>(raw));
      rawLead = t.isLead[raw] ? raw : -1;
      continue;
    }
    uint16_t code = (cp != kInvalidUtf8 && cp <= 0xFFFF) ? t.encode[cp] : 0;
    if (code != 0 && rawLead >= 0) code = CodeAfterRawLead(t, cp, code, static_cast<unsigned char>(rawLead));
    rawLead = -1;
    if (code == 0) {
      if (badChar) badChar->assign(utf8.substr(start, i - start));
      return false;
    }
    if (code > 0xFF) out.push_back(static_cast<char>(code >> 8));
    out.push_back(static_cast<char>(code & 0xFF));
  }
  return true;
}

bool IsCp932Encodable(std::string_view utf8) {
  std::string ignored;
  return EncodeCp932(utf8, ignored);
}

}  // namespace kzm
