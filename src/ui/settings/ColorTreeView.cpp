#include "ui/settings/ColorTreeView.h"

#include "controls/UiBasics.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <vector>

namespace kzm::ui {

namespace {

constexpr int kNodeRole = Qt::UserRole;
constexpr int kIndent = 20;

int NodeOf(const QModelIndex& index) {
  const QVariant v = index.data(kNodeRole);
  return v.isValid() ? v.toInt() : -1;
}

// Groups in bold on the window colour; colours with their swatch, selected ones in the
// highlight colours.
class TColorTreeDelegate : public QStyledItemDelegate {
 public:
  TColorTreeDelegate(const TColorSetupTree& tree, QObject* parent) : QStyledItemDelegate(parent), m_tree(tree) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const int node = NodeOf(index);
    if (node < 0 || node >= m_tree.Count()) return;
    const TColorNode& n = m_tree.Node(node);
    const QPalette& palette = option.palette;
    QRect text = option.rect;
    painter->save();
    if (n.group) {
      painter->fillRect(option.rect, palette.color(QPalette::Base));
      QFont bold = option.font;
      bold.setBold(true);
      painter->setFont(bold);
      painter->setPen(palette.color(QPalette::Text));
    } else {
      const QRect swatch = SwatchIn(option.rect);
      text.setLeft(swatch.right() + 4);
      const bool selected = option.state & QStyle::State_Selected;
      painter->fillRect(option.rect, palette.color(QPalette::Base));
      painter->fillRect(text, palette.color(selected ? QPalette::Highlight : QPalette::Base));
      painter->fillRect(swatch, ToQColor(m_tree.ShownColor(node)));
      painter->setPen(palette.color(QPalette::Dark));
      painter->drawRect(swatch.adjusted(0, 0, -1, -1));
      painter->setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    }
    painter->drawText(text.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(n.name));
    painter->restore();
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const int h = option.fontMetrics.height() + 4;
    return {size.width() + h + 8, h};
  }

  // The swatch: a square one pixel shorter than the row, at the row's left.
  static QRect SwatchIn(const QRect& row) { return {row.left() + 2, row.top(), row.height() - 1, row.height() - 1}; }

 private:
  const TColorSetupTree& m_tree;
};

}  // namespace

TColorTreeView::TColorTreeView(const TColorSetupTree& tree, QWidget* parent) : QTreeWidget(parent), m_tree(tree) {
  setHeaderHidden(true);
  setColumnCount(1);
  setIndentation(kIndent);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setItemDelegate(new TColorTreeDelegate(tree, this));
  setDragEnabled(false);  // swatches are dragged by the view itself
  setUniformRowHeights(true);
}

void TColorTreeView::Rebuild() {
  clear();
  std::vector<QTreeWidgetItem*> parents;  // the last group of each level
  for (int i = 0; i < m_tree.Count(); ++i) {
    const TColorNode& node = m_tree.Node(i);
    parents.resize(static_cast<size_t>(node.level));
    auto* item = parents.empty() ? new QTreeWidgetItem(this) : new QTreeWidgetItem(parents.back());
    item->setText(0, QString::fromStdString(node.name));
    item->setData(0, kNodeRole, i);
    if (node.group) parents.push_back(item);
  }
  expandAll();
  if (QTreeWidgetItem* first = ItemOfNode(m_tree.FirstColor())) setCurrentItem(first);
}

int TColorTreeView::CurrentNode() const { return currentItem() ? NodeOf(currentIndex()) : -1; }

QTreeWidgetItem* TColorTreeView::ItemOfNode(int node) const {
  if (node < 0) return nullptr;
  for (QTreeWidgetItemIterator it(const_cast<TColorTreeView*>(this)); *it; ++it) {
    if ((*it)->data(0, kNodeRole).toInt() == node) return *it;
  }
  return nullptr;
}

QRect TColorTreeView::SwatchRect(QTreeWidgetItem* item) const {
  return TColorTreeDelegate::SwatchIn(visualItemRect(item));
}

int TColorTreeView::ColorNodeAt(QPoint viewportPos) const {
  QTreeWidgetItem* item = itemAt(viewportPos);
  if (!item) return -1;
  const int node = item->data(0, kNodeRole).toInt();
  return m_tree.Node(node).group ? -1 : node;
}

void TColorTreeView::mousePressEvent(QMouseEvent* event) {
  QTreeWidget::mousePressEvent(event);
  m_pressNode = -1;
  m_dragging = false;
  const QPoint at = event->position().toPoint();
  const int node = ColorNodeAt(at);
  if (node < 0 || event->button() != Qt::LeftButton) return;
  QTreeWidgetItem* item = itemAt(at);
  const QRect row = visualItemRect(item);
  // On the swatch: within one row height of the text's left, strictly inside the row.
  const QRect swatch = SwatchRect(item);
  if (at.x() >= swatch.left() && at.x() <= swatch.left() + row.height() && at.y() > row.top() &&
      at.y() < row.bottom()) {
    m_pressNode = node;
    m_pressAt = at;
  }
}

void TColorTreeView::mouseMoveEvent(QMouseEvent* event) {
  if (m_pressNode < 0 || !(event->buttons() & Qt::LeftButton)) {
    QTreeWidget::mouseMoveEvent(event);
    return;
  }
  if (!m_dragging && (event->position().toPoint() - m_pressAt).manhattanLength() >= 2) {
    m_dragging = true;
    viewport()->setCursor(Qt::DragCopyCursor);
  }
}

void TColorTreeView::mouseReleaseEvent(QMouseEvent* event) {
  const bool dropped = m_dragging && event->button() == Qt::LeftButton;
  const int from = m_pressNode;
  m_pressNode = -1;
  m_dragging = false;
  if (!dropped) {
    QTreeWidget::mouseReleaseEvent(event);
    return;
  }
  viewport()->unsetCursor();
  const TColor color = m_tree.ShownColor(from);
  const QPoint at = event->position().toPoint();
  if (viewport()->rect().contains(at)) {
    const int target = ColorNodeAt(at);
    if (target >= 0 && OnColorDropped) OnColorDropped(target, color);
    viewport()->update();
  } else if (OnColorDroppedOutside) {
    OnColorDroppedOutside(viewport()->mapToGlobal(at), color);
  }
}

}  // namespace kzm::ui
