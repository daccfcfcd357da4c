#include "foundation/CommaText.h"

namespace kzm {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// A quoted item from the opening quote at pos; pos ends after the closing quote.
std::string QuotedItem(std::string_view text, std::size_t& pos) {
  std::string item;
  ++pos;
  while (pos < text.size()) {
    if (text[pos] == '"') {
      if (pos + 1 < text.size() && text[pos + 1] == '"') {
        item += '"';
        pos += 2;
        continue;
      }
      ++pos;
      break;
    }
    item += text[pos++];
  }
  return item;
}

}  // namespace

std::vector<std::string> SplitCommaText(std::string_view text) {
  std::vector<std::string> items;
  std::size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  while (pos < text.size()) {
    if (text[pos] == '"') {
      items.push_back(QuotedItem(text, pos));
    } else {
      const std::size_t start = pos;
      while (pos < text.size() && text[pos] != ',' && !IsBlank(text[pos])) ++pos;
      items.emplace_back(text.substr(start, pos - start));
    }
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    if (pos < text.size() && text[pos] == ',') {
      ++pos;
      // A comma at the very end still ends an (empty) item.
      if (pos == text.size()) items.emplace_back();
      while (pos < text.size() && IsBlank(text[pos])) ++pos;
    }
  }
  return items;
}

}  // namespace kzm
