#include "foundation/Text.h"

#include "foundation/Utf8.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace kzm {

std::string CopyRange(std::string_view text, int from, int to) {
  const int64_t first = std::max(from, 1);
  const int64_t last = std::min<int64_t>(to, static_cast<int64_t>(text.size()));
  if (last < first) return {};
  return std::string(text.substr(static_cast<size_t>(first - 1), static_cast<size_t>(last - first + 1)));
}

std::string CopyFrom(std::string_view text, int from) {
  return CopyRange(text, from, std::numeric_limits<int>::max());
}

int PosFrom(std::string_view pattern, std::string_view text, int from) {
  if (pattern.empty()) return 0;
  size_t pos = static_cast<size_t>(std::max(from, 1) - 1);
  while (pos < text.size()) {
    pos = text.find(pattern, pos);
    if (pos == std::string_view::npos) return 0;
    // A match on a continuation byte would start inside a character.
    if ((static_cast<unsigned char>(text[pos]) & 0xC0) != 0x80) return static_cast<int>(pos + 1);
    ++pos;
  }
  return 0;
}

std::string StripTrailingBackslashes(std::string_view text) {
  while (!text.empty() && text.back() == '/') text.remove_suffix(1);
  return std::string(text);
}

std::string XmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string XmlUnescape(std::string_view text) {
  std::string out = ReplaceAll(text, "&lt;", "<");
  out = ReplaceAll(out, "&gt;", ">");
  out = ReplaceAll(out, "&quot;", "\"");
  out = ReplaceAll(out, "&apos;", "'");
  return ReplaceAll(out, "&amp;", "&");
}

std::string FormatThousands(int64_t number) {
  const bool negative = number < 0;
  // Work on the magnitude as unsigned so the most negative value formats too.
  uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(number) : static_cast<uint64_t>(number);
  std::string digits = std::to_string(magnitude);
  std::string out;
  const size_t n = digits.size();
  for (size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return negative ? "-" + out : out;
}

int32_t ParseAmount(std::string_view text) {
  std::string clean(text);
  for (const std::string_view drop : {",", "\\", "¥", "￥"}) clean = ReplaceAll(clean, drop, "");
  return ParseInt(clean, 0);
}

std::string FitText(std::string_view text, const TTextWidth& measure, int width) {
  if (measure(text) <= width) return std::string(text);
  std::string best = "..";
  size_t len = 0;
  while (len < text.size()) {
    len += Utf8CharLength(text, len);
    std::string candidate = std::string(text.substr(0, len)) + "..";
    if (measure(candidate) > width) break;
    best = std::move(candidate);
  }
  return best;
}

int32_t ParseInt(std::string_view text, int32_t fallback) {
  int32_t value = fallback;
  return TryParseInt(text, value) ? value : fallback;
}

namespace {

template <class TInt>
bool TryParseInteger(std::string_view text, TInt& value) {
  // Nearly always a few plain digits (every amount of every month file): read at once.
  if (!text.empty() && text.size() <= 9) {
    TInt read = 0;
    size_t i = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) read = read * 10 + (text[i] - '0');
    if (i == text.size()) {
      value = read;
      return true;
    }
  }
  text = Trim(text);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return false;
  }
  TInt read = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), read, 10);
  if (ec != std::errc() || end != text.data() + text.size()) return false;
  value = read;
  return true;
}

}  // namespace

bool TryParseInt(std::string_view text, int32_t& value) { return TryParseInteger(text, value); }

bool TryParseInt(std::string_view text, int64_t& value) { return TryParseInteger(text, value); }

int64_t ParseInt64(std::string_view text, int64_t fallback) {
  int64_t value = fallback;
  return TryParseInt(text, value) ? value : fallback;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

std::string UpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

std::string LowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool SameText(std::string_view a, std::string_view b) {
  // Compared in place: kind names are matched this way for every line of a month file.
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [&](char x, char y) { return lower(x) == lower(y); });
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  for (;;) {
    const size_t hit = text.find(from, pos);
    if (hit == std::string_view::npos) break;
    out.append(text.substr(pos, hit - pos));
    out.append(to);
    pos = hit + from.size();
  }
  out.append(text.substr(pos));
  return out;
}

uint64_t Fnv1a(std::string_view bytes) {
  uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

}  // namespace kzm
