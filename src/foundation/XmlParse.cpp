// Reading of the XML subset. A document is optionally a declaration <?xml version="…"
// encoding="…" ?> followed by one root element. Elements are found by name: the end of an
// element is its matching "</name>", counting each "<name" met on the way as a nested
// opening. Attribute values stand in double quotes; blanks around "=" are allowed.

#include <optional>

#include "foundation/Codec.h"
#include "foundation/Concat.h"
#include "foundation/Utf16.h"
#include "foundation/Text.h"
#include "foundation/XmlList.h"

namespace kzm {

// Positions in the text searched: the element runs from start ("<") to end (its last
// ">"); its start tag ends at tagEnd.
namespace xml {
struct TFoundElement {
  std::size_t start;
  std::size_t tagEnd;
  std::size_t end;
  std::string_view name;  // as written
  bool empty;             // <name ... />
};
}  // namespace xml

namespace {

constexpr auto npos = std::string_view::npos;

// Deeper documents are refused rather than risking the stack; the program's own files are
// a few levels deep.
constexpr int kMaxDepth = 256;


std::optional<xml::TFoundElement> FindElement(std::string_view text) {
  const std::size_t s = text.find('<');
  if (s == npos) return std::nullopt;
  const std::size_t g = text.find('>');
  if (g == npos || g < s) throw ExmlParseError("解析できません", text);
  const std::string_view tag = text.substr(s, g - s + 1);
  const std::string_view body = tag.substr(1, tag.size() - 2);
  const bool empty = !body.empty() && body.back() == '/';
  std::string_view name = body.substr(0, body.find_first_of(" \t\n\r"));
  // Also accept the short form <name/>.
  if (empty && name.size() == body.size()) name.remove_suffix(1);
  if (empty) return xml::TFoundElement{s, g, g, name, true};

  const std::string endTag = Concat({"</", name, ">"});
  const std::string opening = Concat({"<", name});
  int depth = 1;
  std::size_t p = s + 1;
  std::size_t e = npos;
  do {
    // The end tag found last is still the first one at or after p while p has not passed it.
    if (e == npos || p > e) {
      e = text.find(endTag, p);
      if (e == npos) throw ExmlParseError("終了タグがありません\r\n", tag);
    }
    --depth;
    const std::size_t o = p < e ? text.substr(0, e).find(opening, p) : npos;
    p = e + 1;
    if (o != npos) {
      depth += 2;
      p = o + 1;
    }
  } while (depth > 0);
  return xml::TFoundElement{s, g, e + endTag.size() - 1, name, false};
}

using TAttributes = std::vector<std::pair<std::string, std::string>>;

// Items end at a blank or tab only after their two double quotes, so `day= "1"` and
// `name="a b"` are single items.
TAttributes ParseAttributeList(std::string_view attributeText) {
  std::string_view text = Trim(attributeText);
  if (!text.empty() && text.back() == '/') text.remove_suffix(1);
  std::vector<std::string_view> items;
  std::size_t itemStart = 0;
  int quotes = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (quotes >= 2 && (text[i] == ' ' || text[i] == '\t')) {
      items.push_back(text.substr(itemStart, i - itemStart));
      itemStart = i + 1;
      quotes = 0;
    } else if (text[i] == '"') {
      ++quotes;
    }
  }
  items.push_back(text.substr(itemStart));

  TAttributes attributes;
  for (const std::string_view rawItem : items) {
    const std::string_view item = Trim(rawItem);
    if (item.empty()) continue;
    const std::size_t equals = item.find('=');
    if (equals == npos) throw ExmlParseError("属性指定が不正です\r\n", text);
    const std::string_view value = Trim(item.substr(equals + 1));
    if (value.size() < 2 || value.front() != '"' || value.back() != '"') {
      throw ExmlParseError("属性指定が不正です\r\n", text);
    }
    attributes.emplace_back(LowerCase(Trim(item.substr(0, equals))),
                            std::string(value.substr(1, value.size() - 2)));
  }
  return attributes;
}

std::string AttributeOf(const TAttributes& attributes, std::string_view lowerName) {
  for (const auto& [name, value] : attributes) {
    if (name == lowerName) return LowerCase(value);
  }
  return {};
}

bool IsUtf8Encoding(std::string_view encoding) { return encoding == "utf-8" || encoding == "utf-8n"; }

}  // namespace

void TxmlList::ParseElement(std::string_view text, const xml::TFoundElement& found) {
  Clear();
  if (m_depth > kMaxDepth) {
    throw ExmlParseError("解析できません", text.substr(found.start, found.tagEnd - found.start + 1));
  }
  m_tagName = LowerCase(found.name);
  const std::size_t attributesStart = found.start + 1 + found.name.size();
  m_attributes = ParseAttributeList(text.substr(attributesStart, found.tagEnd - attributesStart));
  if (found.empty) return;
  const std::size_t contentStart = found.tagEnd + 1;
  const std::size_t endTagStart = found.end + 1 - (found.name.size() + 3);
  // A start tag that ends in "</name" has its end tag inside itself: no content.
  if (endTagStart > contentStart) ParseContent(text.substr(contentStart, endTagStart - contentStart));
}

void TxmlList::ParseContent(std::string_view content) {
  std::string_view rest = content;
  while (!rest.empty()) {
    const auto found = FindElement(rest);
    if (!found) break;
    const std::string_view before = Trim(rest.substr(0, found->start));
    if (!before.empty()) AppendChild().m_text = before;
    AppendChild().ParseElement(rest, *found);
    rest.remove_prefix(found->end + 1);
  }
  const std::string_view after = Trim(rest);
  if (!after.empty()) AppendChild().m_text = after;
}

void TxmlList::ParseDocument(std::string_view text) {
  const auto found = FindElement(text);
  if (found && found->start == 0 && found->end == text.size() - 1) {
    ParseElement(text, *found);
    return;
  }
  // Several elements, plain text or white space around the element: all go into "data".
  const std::string wrapped = Concat({"<data>", text, "</data>"});
  ParseElement(wrapped, *FindElement(wrapped));
}

void TxmlList::ParseText(std::string_view bytes) {
  Clear();
  m_version.clear();
  m_encoding.clear();
  std::string fromUtf16;
  const bool isUtf16 = bytes.size() > 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
  if (isUtf16) {
    fromUtf16 = Utf16LeToUtf8(bytes.substr(2));
    bytes = fromUtf16;
  }
  const auto decode = [isUtf16](std::string_view raw) {
    return isUtf16 ? std::string(raw) : DecodeCp932(raw);
  };

  const std::size_t open = bytes.find("<?");
  const std::size_t close = bytes.find("?>");
  if (open != npos && close != npos && open < close) {
    const std::string_view inner = bytes.substr(open + 2, close - open - 2);
    const std::size_t blank = inner.find_first_of(" \t\r\n");
    if (LowerCase(inner.substr(0, blank)) == "xml") {
      const TAttributes declaration =
          ParseAttributeList(blank == npos ? std::string() : decode(inner.substr(blank)));
      m_encoding = AttributeOf(declaration, "encoding");
      m_version = AttributeOf(declaration, "version");
      const std::string_view rest = bytes.substr(close + 2);
      const std::string text =
          isUtf16 ? std::string(rest) : IsUtf8Encoding(m_encoding) ? SanitizeUtf8(rest) : DecodeCp932(rest);
      const auto found = FindElement(text);
      if (found) {
        ParseElement(text, *found);
      } else {
        m_tagName = "data";  // a declaration alone is an empty document
      }
      return;
    }
  }
  ParseDocument(decode(bytes));
}

}  // namespace kzm
