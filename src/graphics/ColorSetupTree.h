#pragma once

// The colour setup's view of a colour scheme: its groups and colours in document order, each
// colour with the value the user sees and edits, written back into the scheme when applied.

#include <string>
#include <vector>

#include "graphics/Geometry.h"

namespace kzm {

class TColorsList;

struct TColorNode {
  std::string name;  // the element's name
  std::string path;  // key path from the root: "\月間表示\セル\支出1"
  int level = 0;     // 0 for the top level
  bool group = false;
  TColor color = 0;  // a colour's value (0 when unreadable)
  // A colour whose element is empty: the screens use their fallback for it. It stays empty
  // when written back unless the user gave it a colour.
  bool empty = false;
};

class TColorSetupTree {
 public:
  // Every element below the scheme's root: an element with elements inside is a group, any
  // other a colour.
  void Build(TColorsList& scheme);

  [[nodiscard]] int Count() const { return static_cast<int>(m_nodes.size()); }
  [[nodiscard]] const TColorNode& Node(int index) const { return m_nodes.at(static_cast<size_t>(index)); }
  // The first colour, -1 when there is none.
  [[nodiscard]] int FirstColor() const;
  [[nodiscard]] int IndexOfPath(const std::string& path) const;

  // The user gave a colour: the node is no longer empty. Groups take no colour.
  void SetColor(int index, TColor color);
  // The colour a screen shows for the node: its own, or for an empty one the fallback the
  // screens use (holidays take the Sunday colour, the background white, the rest grey).
  [[nodiscard]] TColor ShownColor(int index) const;

  // Writes every colour into the scheme at its path; empty ones stay empty.
  void WriteInto(TColorsList& scheme) const;

 private:
  std::vector<TColorNode> m_nodes;
};

}  // namespace kzm
