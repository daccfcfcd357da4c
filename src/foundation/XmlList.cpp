#include "foundation/XmlList.h"

#include <cassert>
#include <istream>
#include <iterator>

#include "foundation/AtomicFile.h"
#include "foundation/Text.h"

namespace kzm {

TxmlList::TxmlList(TxmlList* parent)
    : m_parent(parent), m_tagName(parent ? "" : "data"), m_depth(parent ? parent->m_depth + 1 : 0) {}

TxmlList::~TxmlList() = default;

void TxmlList::Clear() {
  m_children.clear();
  m_attributes.clear();
  m_text.clear();
  m_tagName.clear();
}

void TxmlList::LoadFromFile(const std::string& fileName) {
  std::string bytes;
  if (!ReadWholeFile(fileName, bytes)) throw EkzmError("ファイルを開けません\r\n" + fileName);
  try {
    ParseText(bytes);
  } catch (const ExmlParseError& error) {
    // The user needs the file's name, not a screenful of its bytes.
    std::string reason = error.Reason();
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) reason.pop_back();
    throw ExmlParseError(reason, "\r\n" + fileName);
  }
}

void TxmlList::LoadFromStream(std::istream& stream) {
  const std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
  ParseText(bytes);
}

void TxmlList::SaveToFile(const std::string& fileName) {
  const std::string bytes = SaveToBytes();
  std::string error;
  if (!WriteFileAtomic(fileName, bytes, &error)) {
    std::string message = "ファイルに保存できません\r\n" + fileName;
    if (!error.empty()) message += "\r\n" + error;
    throw EkzmError(message);
  }
}

TxmlList& TxmlList::Root() {
  TxmlList* node = this;
  while (node->m_parent) node = node->m_parent;
  return *node;
}

TxmlList& TxmlList::AppendChild() {
  m_children.push_back(std::make_unique<TxmlList>(this));
  return *m_children.back();
}

TxmlList& TxmlList::ChildElement(std::string_view lowerName) {
  for (const auto& child : m_children) {
    if (!child->IsTextNode() && child->m_tagName == lowerName) return *child;
  }
  TxmlList& child = AppendChild();
  child.m_tagName = lowerName;
  return child;
}

TxmlList& TxmlList::Node(std::string_view path) {
  TxmlList* node = this;
  while (!path.empty()) {
    if (path.front() == '/' || path.front() == '\\') {
      node = &node->Root();
      path.remove_prefix(1);
      continue;
    }
    const auto separator = path.find_first_of("/\\");
    const std::string_view step = path.substr(0, separator);
    path = separator == std::string_view::npos ? std::string_view() : path.substr(separator + 1);
    node = &node->ChildElement(LowerCase(step));
  }
  return *node;
}

int TxmlList::AddChild(std::string_view name, std::string_view text) {
  TxmlList& child = AppendChild();
  child.m_tagName = LowerCase(name);
  child.SetText(text);
  return Count() - 1;
}

void TxmlList::AppendRawText(std::string& out) const {
  out += m_text;
  for (const auto& child : m_children) child->AppendRawText(out);
}

std::string TxmlList::Text() const {
  std::string raw;
  AppendRawText(raw);
  return XmlUnescape(raw);
}

void TxmlList::SetText(std::string_view text) {
  m_children.clear();
  const std::string_view trimmed = Trim(text);
  if (trimmed.empty()) return;
  AppendChild().m_text = XmlEscape(trimmed);
}

std::string TxmlList::Attribute(std::string_view name) const {
  const std::string lowerName = LowerCase(name);
  for (const auto& [attributeName, value] : m_attributes) {
    if (attributeName == lowerName) return LowerCase(XmlUnescape(value));
  }
  return {};
}

TxmlList& TxmlList::Items(int index) const {
  assert(index >= 0 && index < Count());
  return *m_children[static_cast<std::size_t>(index)];
}

bool TxmlList::HasElements() const {
  for (const auto& child : m_children) {
    if (!child->IsTextNode()) return true;
  }
  return false;
}

void TxmlList::SetEncoding(std::string_view encoding) { m_encoding = LowerCase(encoding); }

}  // namespace kzm
