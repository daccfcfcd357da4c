// Writing of the XML subset: the declaration line, then one element per line indented by one
// tab per level, an element holding only text on one line, an element without content as
// "<name />"; every line ends with CR LF.

#include "foundation/Codec.h"
#include "foundation/Utf16.h"
#include "foundation/Text.h"
#include "foundation/XmlList.h"

namespace kzm {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

void TxmlList::WriteStartTag(std::string& out, int indent) const {
  out.append(static_cast<std::size_t>(indent), '\t');
  out += '<';
  out += m_tagName;
  for (const auto& [name, value] : m_attributes) {
    out += ' ';
    out += name;
    out += "=\"";
    out += LowerCase(value);
    out += '"';
  }
}

void TxmlList::WriteNode(std::string& out, int indent) const {
  if (IsTextNode()) {
    out.append(static_cast<std::size_t>(indent), '\t');
    out += m_text;
    out += kLineEnd;
    return;
  }
  WriteStartTag(out, indent);
  if (m_children.empty()) {
    out += " />";
    out += kLineEnd;
    return;
  }
  out += '>';
  if (m_children.size() == 1 && m_children.front()->IsTextNode()) {
    out += m_children.front()->m_text;
  } else {
    out += kLineEnd;
    for (const auto& child : m_children) child->WriteNode(out, indent + 1);
    out.append(static_cast<std::size_t>(indent), '\t');
  }
  out += "</";
  out += m_tagName;
  out += '>';
  out += kLineEnd;
}

std::string TxmlList::SaveToBytes() {
  if (m_encoding.empty()) m_encoding = "shift_jis";
  std::string text = "<?xml version=\"" + m_version + "\" encoding=\"" + m_encoding + "\" ?>";
  text += kLineEnd;
  WriteNode(text, 0);

  if (m_encoding == "utf-8" || m_encoding == "utf-8n") return text;
  if (m_encoding == "utf-16") return "\xFF\xFE" + Utf8ToUtf16Le(text);
  // Every other encoding is read back as the system code page, so it is written as one.
  std::string bytes;
  std::string badChar;
  if (!EncodeCp932(text, bytes, &badChar)) {
    throw EkzmError("「" + badChar + "」はShift-JISのファイルに保存できない文字です");
  }
  return bytes;
}

}  // namespace kzm
