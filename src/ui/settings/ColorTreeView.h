#pragma once

// The tree of the colour setup: groups in bold, colours with a swatch of the colour in front
// of their name. A swatch can be dragged onto another colour (or a palette swatch of the
// picker) to copy it: pressed on the swatch, moved, and let go over the target.

#include <QTreeWidget>

#include <functional>

#include "graphics/ColorSetupTree.h"

namespace kzm::ui {

class TColorTreeView : public QTreeWidget {
  Q_OBJECT

 public:
  // Shows tree's nodes; tree must outlive the view.
  TColorTreeView(const TColorSetupTree& tree, QWidget* parent = nullptr);

  // Rebuilds the items from the tree and selects its first colour.
  void Rebuild();
  // The node of the current item, -1 for none.
  [[nodiscard]] int CurrentNode() const;
  [[nodiscard]] QTreeWidgetItem* ItemOfNode(int node) const;
  // Where the swatch of a colour's row is drawn, in viewport coordinates.
  [[nodiscard]] QRect SwatchRect(QTreeWidgetItem* item) const;

  // A dragged colour was let go over node.
  std::function<void(int node, TColor color)> OnColorDropped;
  // A dragged colour was let go outside the tree, at a global position; true when taken.
  std::function<bool(QPoint globalPos, TColor color)> OnColorDroppedOutside;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  [[nodiscard]] int ColorNodeAt(QPoint viewportPos) const;

  const TColorSetupTree& m_tree;
  QPoint m_pressAt;
  int m_pressNode = -1;  // the colour whose swatch was pressed
  bool m_dragging = false;
};

}  // namespace kzm::ui
