#include "foundation/Codec.h"

#include "foundation/Errors.h"
#include "foundation/Utf8.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
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

// Lookup tables built once from the system's iconv, so decoding and encoding never call
// iconv per character.
struct TCp932Tables {
  std::array<TUtf8Char, 256> single{};
  std::array<bool, 256> isLead{};
  std::vector<TUtf8Char> pair;         // (lead - 0x80) * 256 + trail
  std::vector<uint16_t> encode;        // code point (BMP) -> CP932 code; 0 = none
  // The other codes of characters that have duplicates (NEC/IBM extensions).
  std::unordered_map<char32_t, std::vector<uint16_t>> twins;
  std::array<TUtf8Char, 256> raw{};    // first 3 UTF-8 bytes of each byte's private code point
};

class TIconv {
 public:
  TIconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {
    if (m_cd == reinterpret_cast<iconv_t>(-1)) {
      throw EkzmError(std::string("iconv cannot convert ") + from + " to " + to);
    }
  }
  ~TIconv() { iconv_close(m_cd); }
  TIconv(const TIconv&) = delete;
  TIconv& operator=(const TIconv&) = delete;

  // Converts the whole input; the errno of the failure, or 0.
  int Convert(const char* in, size_t inLen, char* out, size_t& outLen) {
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    char* inPtr = const_cast<char*>(in);
    char* outPtr = out;
    size_t outLeft = outLen;
    const size_t r = iconv(m_cd, &inPtr, &inLen, &outPtr, &outLeft);
    outLen -= outLeft;
    if (r == static_cast<size_t>(-1)) return errno;
    return inLen == 0 ? 0 : EILSEQ;
  }

 private:
  iconv_t m_cd;
};

TUtf8Char ToUtf8Char(char32_t cp) {
  TUtf8Char c;
  std::string s;
  AppendUtf8(s, cp);
  if (s.size() > 3) return c;
  c.len = static_cast<uint8_t>(s.size());
  for (size_t i = 0; i < s.size(); ++i) c.bytes[i] = s[i];
  return c;
}

// The code point of one CP932 code, or nothing; errno-style status in status.
int DecodeOne(TIconv& cv, const char* in, size_t len, char32_t& cp) {
  unsigned char out[16];
  size_t outLen = sizeof out;
  const int err = cv.Convert(in, len, reinterpret_cast<char*>(out), outLen);
  if (err != 0) return err;
  if (outLen != 4) return EILSEQ;  // one code must give exactly one character
  cp = static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | static_cast<uint32_t>(out[3]) << 24);
  return 0;
}

void FillDecodeTables(TCp932Tables& t, std::vector<std::pair<char32_t, uint16_t>>& seen) {
  TIconv cv("UTF-32LE", "CP932");
  t.pair.assign(128 * 256, TUtf8Char{});
  for (int b = 0; b < 256; ++b) {
    const char in[1] = {static_cast<char>(b)};
    char32_t cp = 0;
    const int err = DecodeOne(cv, in, 1, cp);
    if (err == EINVAL) {
      t.isLead[b] = b >= 0x80;
    } else if (err == 0) {
      t.single[b] = ToUtf8Char(cp);
      seen.emplace_back(cp, static_cast<uint16_t>(b));
    }
  }
  for (int lead = 0x80; lead < 256; ++lead) {
    if (!t.isLead[lead]) continue;
    for (int trail = 0; trail < 256; ++trail) {
      const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      char32_t cp = 0;
      if (DecodeOne(cv, in, 2, cp) != 0 || cp == 0) continue;
      t.pair[(lead - 0x80) * 256 + trail] = ToUtf8Char(cp);
      seen.emplace_back(cp, static_cast<uint16_t>(lead << 8 | trail));
    }
  }
}

bool DecodesTo(const TCp932Tables& t, uint16_t code, char32_t cp) {
  const TUtf8Char want = ToUtf8Char(cp);
  const TUtf8Char& got = code <= 0xFF ? t.single[code] : code >= 0x8000 && t.isLead[code >> 8]
      ? t.pair[((code >> 8) - 0x80) * 256 + (code & 0xFF)] : TUtf8Char{};
  return got.len == want.len && std::equal(got.bytes, got.bytes + got.len, want.bytes);
}

// For every character that decoding can produce, the code iconv writes for it (the code
// Windows writes); a character whose iconv code does not decode back is left out.
void FillEncodeTable(TCp932Tables& t, const std::vector<std::pair<char32_t, uint16_t>>& seen) {
  TIconv cv("CP932", "UTF-32LE");
  t.encode.assign(0x10000, 0);
  for (const auto& [cp, ignored] : seen) {
    if (cp == 0 || cp > 0xFFFF) continue;
    const unsigned char in[4] = {static_cast<unsigned char>(cp), static_cast<unsigned char>(cp >> 8), 0, 0};
    unsigned char out[8];
    size_t outLen = sizeof out;
    if (cv.Convert(reinterpret_cast<const char*>(in), 4, reinterpret_cast<char*>(out), outLen) != 0) continue;
    uint16_t code = 0;
    if (outLen == 1) {
      code = out[0];
    } else if (outLen == 2) {
      code = static_cast<uint16_t>(out[0] << 8 | out[1]);
    } else {
      continue;
    }
    if (DecodesTo(t, code, cp)) t.encode[cp] = code;
  }
}

TCp932Tables BuildTables() {
  TCp932Tables t;
  std::vector<std::pair<char32_t, uint16_t>> seen;
  seen.reserve(8000);
  FillDecodeTables(t, seen);
  for (int b = 0; b < 256; ++b) {
    std::string s;
    AppendUtf8(s, kRawBase + static_cast<char32_t>(b));
    t.raw[b].len = 3;
    std::copy(s.begin(), s.begin() + 3, t.raw[b].bytes);
  }
  FillEncodeTable(t, seen);
  for (const auto& [cp, code] : seen) {
    if (cp <= 0xFFFF && t.encode[cp] != 0 && t.encode[cp] != code) t.twins[cp].push_back(code);
  }
  return t;
}

const TCp932Tables& Tables() {
  static const TCp932Tables tables = BuildTables();
  return tables;
}

}  // namespace

std::string DecodeCp932(std::string_view bytes) {
  if (bytes.empty()) return {};
  const TCp932Tables& t = Tables();
  std::string out;
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
  return out;
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
