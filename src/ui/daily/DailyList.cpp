#include "ui/daily/DailyList.h"

#include "foundation/Text.h"
#include "ui/daily/DailyGrid.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace kzm::ui {

namespace {

// Items drawn as the grid draws its cells: one line 2 pixels in, shortened with "..".
class TItemPainter : public QStyledItemDelegate {
 public:
  TItemPainter(TdailyList& list) : QStyledItemDelegate(&list), m_list(list) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& pal = option.palette;
    painter->fillRect(option.rect, selected ? pal.color(QPalette::Highlight) : pal.color(QPalette::Base));
    painter->setPen(selected ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Text));
    const QFontMetrics metrics(option.font);
    const auto measure = [&metrics](std::string_view text) {
      return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    };
    const std::string text = index.data(Qt::DisplayRole).toString().toStdString();
    const QString fitted = QString::fromStdString(kzm::FitText(text, measure, option.rect.width() - 4));
    painter->drawText(QPoint(option.rect.left() + 2, option.rect.top() + 2 + metrics.ascent()), fitted);
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
    return {option.rect.width(), m_list.ItemHeight()};
  }

 private:
  TdailyList& m_list;
};

}  // namespace

TdailyList::TdailyList(TDailyGrid& grid) : QListWidget(grid.viewport()), m_grid(grid) {
  setFocusPolicy(Qt::ClickFocus);
  setFrameShape(QFrame::Box);
  setLineWidth(1);
  setUniformItemSizes(true);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setItemDelegate(new TItemPainter(*this));
  hide();
}

void TdailyList::SetItemHeight(int height) { m_itemHeight = std::max(1, height); }

void TdailyList::Fill(const QStringList& values, const QStringList& shown, const QString& cellText) {
  clear();
  m_cellText = cellText;
  m_restoreCell = false;
  for (int i = 0; i < values.size(); ++i) {
    auto* item = new QListWidgetItem(i < shown.size() ? shown[i] : values[i], this);
    item->setData(Qt::UserRole, values[i]);
  }
}

QString TdailyList::ChosenValue() const {
  if (m_restoreCell) return m_cellText;
  const QListWidgetItem* item = currentItem();
  return item ? item->data(Qt::UserRole).toString() : QString();
}

void TdailyList::HandToGrid(QKeyEvent* event) {
  if (m_grid.HandleKey(event))
    event->accept();
  else
    event->ignore();
}

void TdailyList::keyPressEvent(QKeyEvent* event) {
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  const int last = count() - 1;
  switch (event->key()) {
    case Qt::Key_Up:
      if (!ctrl && currentRow() == 0 && last >= 0) {
        setCurrentRow(last);
        return;
      }
      break;
    case Qt::Key_Down:
      if (!ctrl && currentRow() == last && last >= 0) {
        setCurrentRow(0);
        return;
      }
      break;
    case Qt::Key_Escape:
      m_restoreCell = true;
      HandToGrid(event);
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Left:
    case Qt::Key_Right: HandToGrid(event); return;
    case Qt::Key_Space:
      if (ctrl) {
        HandToGrid(event);
        return;
      }
      break;
    default: break;
  }
  if (ctrl && event->key() != Qt::Key_Down) {
    event->ignore();  // Ctrl+← and Ctrl+→ belong to the window
    return;
  }
  if (ctrl && event->key() == Qt::Key_Down) {
    HandToGrid(event);
    return;
  }
  QListWidget::keyPressEvent(event);
}

// Letting go of the button over an item picks it, as Enter does.
void TdailyList::mouseReleaseEvent(QMouseEvent* event) {
  QListWidget::mouseReleaseEvent(event);
  if (!rect().contains(event->position().toPoint())) return;
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  HandToGrid(&enter);
}

void TdailyList::focusOutEvent(QFocusEvent* event) {
  QListWidget::focusOutEvent(event);
  if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) return;
  m_grid.ListFocusLost();
}

}  // namespace kzm::ui
