#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "foundation/Errors.h"

namespace kzm {

namespace xml {
struct TFoundElement;
}

// A malformed document. The message is one of "解析できません", "終了タグがありません" or
// "属性指定が不正です" (the reason), followed by the offending text; read from a file, the
// message names the file and the reason instead, without the file's bytes.
class ExmlParseError : public EkzmError {
 public:
  ExmlParseError(std::string_view reason, std::string_view text)
      : EkzmError(std::string(reason) + std::string(text)), m_reason(reason) {}
  [[nodiscard]] const std::string& Reason() const { return m_reason; }

 private:
  std::string m_reason;
};

// The program's reader and writer for a small subset of XML: elements, attributes in double
// quotes, text and a leading declaration. No comments, CDATA, namespaces or character
// references. Every node is itself a TxmlList; the root is the document's root element.
//
// Quirks kept on purpose because the stored files and their readers rely on them:
// - element and attribute names are lower-cased when parsed, created or looked up, and
//   attribute values are returned and written in lower case;
// - text runs are trimmed, and runs that are empty after trimming are dropped;
// - a path lookup creates the elements it does not find, so reading a missing value leaves
//   empty elements behind (and a later save writes them);
// - an element whose child's name starts with the element's own name (<head><headline>)
//   cannot be read: openings are counted by name prefix.
//
// Strings in the tree are UTF-8. Text is stored escaped, as it appears in the file.
class TxmlList {
 public:
  explicit TxmlList(TxmlList* parent = nullptr);
  virtual ~TxmlList();
  TxmlList(const TxmlList&) = delete;
  TxmlList& operator=(const TxmlList&) = delete;

  // Removes the children and the attributes and empties the tag name and the text. The
  // declaration (version, encoding) stays.
  virtual void Clear();

  // Reads and parses a whole file. Throws EkzmError when it cannot be read and
  // ExmlParseError when it is malformed (the tree is then partly filled).
  void LoadFromFile(const std::string& fileName);
  void LoadFromStream(std::istream& stream);
  // Replaces the tree with the document held in bytes as they are on disk: UTF-16 LE when
  // they start with FF FE, UTF-8 when the declaration says "utf-8" or "utf-8n", otherwise
  // CP932. Throws ExmlParseError on malformed input.
  void ParseText(std::string_view bytes);

  // The document as SaveToFile writes it: the declaration line, CR LF and the tree, tab
  // indented, in the declared encoding ("shift_jis" when none is set; it is then set).
  // Throws EkzmError naming the first character the encoding cannot hold.
  [[nodiscard]] std::string SaveToBytes();
  // Writes SaveToBytes atomically. Throws EkzmError when that fails; the file is then
  // untouched.
  void SaveToFile(const std::string& fileName);

  // The node at a path of element names separated by "/" or "\"; a leading separator starts
  // at the root, an empty path is this node. Missing elements are created, empty, at the end.
  TxmlList& Node(std::string_view path);
  [[nodiscard]] std::string Value(std::string_view path) { return Node(path).Text(); }
  void SetValue(std::string_view path, std::string_view text) { Node(path).SetText(text); }

  // Appends an element with that name and text; returns its index.
  int AddChild(std::string_view name, std::string_view text);
  // This node's text and that of all its descendants in document order, entities decoded
  // once ("&amp;lt;" reads "&lt;").
  [[nodiscard]] std::string Text() const;
  // Replaces the children by the trimmed, escaped text (no child when it is empty).
  void SetText(std::string_view text);
  // The attribute's value, entities decoded, in lower case; empty when absent.
  [[nodiscard]] std::string Attribute(std::string_view name) const;

  [[nodiscard]] const std::string& TagName() const { return m_tagName; }
  // A node without a tag name is a text node; its escaped text is OwnText.
  [[nodiscard]] bool IsTextNode() const { return m_tagName.empty(); }
  [[nodiscard]] const std::string& OwnText() const { return m_text; }
  [[nodiscard]] int Count() const { return static_cast<int>(m_children.size()); }
  [[nodiscard]] TxmlList& Items(int index) const;
  [[nodiscard]] TxmlList* Parent() const { return m_parent; }
  [[nodiscard]] int Depth() const { return m_depth; }
  [[nodiscard]] bool HasElements() const;

  [[nodiscard]] const std::string& Encoding() const { return m_encoding; }
  void SetEncoding(std::string_view encoding);
  [[nodiscard]] const std::string& Version() const { return m_version; }
  void SetVersion(std::string_view version) { m_version = version; }

 private:
  TxmlList& Root();
  TxmlList& AppendChild();
  TxmlList& ChildElement(std::string_view lowerName);
  void AppendRawText(std::string& out) const;

  // Parsing (XmlParse.cpp), on UTF-8 text.
  void ParseDocument(std::string_view text);
  void ParseElement(std::string_view text, const xml::TFoundElement& found);
  void ParseContent(std::string_view content);

  // Writing (XmlWrite.cpp), as UTF-8.
  void WriteNode(std::string& out, int indent) const;
  void WriteStartTag(std::string& out, int indent) const;

  TxmlList* m_parent;
  std::vector<std::unique_ptr<TxmlList>> m_children;
  std::vector<std::pair<std::string, std::string>> m_attributes;  // name, value as written
  std::string m_text;
  std::string m_version;
  std::string m_encoding;
  std::string m_tagName;
  int m_depth;
};

}  // namespace kzm
