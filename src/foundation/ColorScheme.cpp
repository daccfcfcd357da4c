#include "foundation/ColorScheme.h"

#include <cassert>
#include <charconv>
#include <cstdio>
#include <istream>

#include "foundation/Files.h"
#include "foundation/Resources.h"
#include "foundation/Text.h"

namespace kzm {

namespace {

TColorsList* g_installed = nullptr;

// "$" + the colour as at least six upper-case hexadecimal digits (eight above FFFFFF).
std::string FormatColor(TColor color) {
  char text[16];
  std::snprintf(text, sizeof text, "$%06X", static_cast<unsigned>(color));
  return text;
}

}  // namespace

TColor ParseColor(std::string_view text) {
  text = Trim(text);
  int base = 10;
  if (text.starts_with('$')) {
    text.remove_prefix(1);
    base = 16;
  } else if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
    base = 16;
  }
  bool negative = false;
  if (base == 10 && !text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return 0;
  uint32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (ec != std::errc() || end != text.data() + text.size()) return 0;
  // Decimal colours are 32-bit signed integers in the files; system colours are negative.
  if (base == 10 && value > (negative ? 0x80000000u : 0x7FFFFFFFu)) return 0;
  return negative ? 0u - value : value;
}

TColorsList::TColorsList(std::string fileName) : m_fileName(std::move(fileName)) {}

TColor TColorsList::GetColor(std::string_view path, TColor fallback) {
  const std::string text = Value(path);
  return text.empty() ? fallback : ParseColor(text);
}

void TColorsList::SetColor(std::string_view path, TColor color) { SetValue(path, FormatColor(color)); }

void TColorsList::LoadColors() { LoadColorsFrom(m_fileName); }

void TColorsList::LoadColorsFrom(const std::string& fileName) {
  if (!fileName.empty() && FileExists(fileName)) {
    LoadFromFile(fileName);
  } else {
    LoadDefaultColors();
  }
}

void TColorsList::LoadDefaultColors() {
  const auto resource = OpenResource("COLORS");
  assert(resource && "the COLORS resource is compiled in");
  if (resource) {
    LoadFromStream(*resource);
  } else {
    ParseText("<colors />");
  }
}

void TColorsList::SaveColors() { SaveToFile(m_fileName); }

void TColorsList::SaveColorsTo(const std::string& fileName) { SaveToFile(fileName); }

TColorsList& ColorScheme() {
  if (g_installed) return *g_installed;
  static TColorsList builtIn;
  static const bool loaded = (builtIn.LoadDefaultColors(), true);
  (void)loaded;
  return builtIn;
}

void SetColorScheme(TColorsList* scheme) { g_installed = scheme; }

}  // namespace kzm
