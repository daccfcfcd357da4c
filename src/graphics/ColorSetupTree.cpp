#include "graphics/ColorSetupTree.h"

#include "foundation/ColorScheme.h"

namespace kzm {

namespace {

constexpr const char* kHolidayPath = "\\月間表示\\文字\\祝日";
constexpr const char* kSundayPath = "\\月間表示\\文字\\日曜";
constexpr const char* kBackgroundPath = "\\全般\\背景色";

void AddNodes(const TxmlList& parent, const std::string& parentPath, int level, std::vector<TColorNode>& nodes) {
  for (int i = 0; i < parent.Count(); ++i) {
    const TxmlList& element = parent.Items(i);
    if (element.IsTextNode()) continue;
    TColorNode node;
    node.name = element.TagName();
    node.path = parentPath + "\\" + node.name;
    node.level = level;
    node.group = element.HasElements();
    if (!node.group) {
      const std::string text = element.Text();
      node.empty = text.empty();
      node.color = node.empty ? 0 : ParseColor(text);
    }
    nodes.push_back(node);
    if (node.group) AddNodes(element, node.path, level + 1, nodes);
  }
}

}  // namespace

void TColorSetupTree::Build(TColorsList& scheme) {
  m_nodes.clear();
  AddNodes(scheme.Node("\\"), "", 0, m_nodes);
}

int TColorSetupTree::FirstColor() const {
  for (int i = 0; i < Count(); ++i) {
    if (!Node(i).group) return i;
  }
  return -1;
}

int TColorSetupTree::IndexOfPath(const std::string& path) const {
  for (int i = 0; i < Count(); ++i) {
    if (Node(i).path == path) return i;
  }
  return -1;
}

void TColorSetupTree::SetColor(int index, TColor color) {
  TColorNode& node = m_nodes.at(static_cast<size_t>(index));
  if (node.group) return;
  node.color = color;
  node.empty = false;
}

TColor TColorSetupTree::ShownColor(int index) const {
  const TColorNode& node = Node(index);
  if (!node.empty) return node.color;
  if (node.path == kHolidayPath) {
    const int sunday = IndexOfPath(kSundayPath);
    return sunday >= 0 && !Node(sunday).empty ? Node(sunday).color : kColorFallback;
  }
  if (node.path == kBackgroundPath) return kColorWhite;
  return kColorFallback;
}

void TColorSetupTree::WriteInto(TColorsList& scheme) const {
  for (const TColorNode& node : m_nodes) {
    if (!node.group && !node.empty) scheme.SetColor(node.path, node.color);
  }
}

}  // namespace kzm
