// The accessible table a screen reader sees for a TSpokenTable widget: role table, every cell a
// child (row by row, the fixed rows and columns as headers), the current cell as the focus.
#include "ui/common/AccessibleControls.h"

#include "controls/grid/SpokenTable.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QWidget>

#include <unordered_map>

namespace kzm::ui {

namespace {

const TSpokenTable* SpokenTableOf(const QObject* object) { return dynamic_cast<const TSpokenTable*>(object); }

class TAccessibleTable;

// One cell. It holds no text of its own: every question goes to the table as it is now.
class TAccessibleCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
 public:
  TAccessibleCell(QWidget* widget, int col, int row) : m_widget(widget), m_col(col), m_row(row) {}

  [[nodiscard]] bool isValid() const override {
    const TSpokenTable* t = Table();
    return t && m_col < t->SpokenColCount() && m_row < t->SpokenRowCount();
  }
  [[nodiscard]] QObject* object() const override { return nullptr; }
  [[nodiscard]] QWindow* window() const override { return m_widget ? m_widget->window()->windowHandle() : nullptr; }
  [[nodiscard]] QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_widget); }
  [[nodiscard]] QAccessibleInterface* child(int) const override { return nullptr; }
  [[nodiscard]] int childCount() const override { return 0; }
  [[nodiscard]] int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  [[nodiscard]] QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  [[nodiscard]] QAccessibleInterface* focusChild() const override { return nullptr; }

  [[nodiscard]] QString text(QAccessible::Text t) const override {
    if (!isValid() || (t != QAccessible::Name && t != QAccessible::Value)) return {};
    const QString spoken = Table()->SpokenCell(m_col, m_row);
    // An empty cell the cursor can stand on still says something, so a reader never meets silence.
    return spoken.isEmpty() && role() == QAccessible::Cell ? QStringLiteral("空欄") : spoken;
  }
  void setText(QAccessible::Text, const QString&) override {}
  [[nodiscard]] QRect rect() const override {
    if (!isValid()) return {};
    const QRect r = Table()->SpokenCellRect(m_col, m_row);
    return r.isEmpty() ? QRect() : QRect(m_widget->mapToGlobal(r.topLeft()), r.size());
  }
  [[nodiscard]] QAccessible::Role role() const override {
    if (!isValid()) return QAccessible::Cell;
    if (m_row < Table()->SpokenFixedRows()) return QAccessible::ColumnHeader;
    if (m_col < Table()->SpokenFixedCols()) return QAccessible::RowHeader;
    return QAccessible::Cell;
  }
  [[nodiscard]] QAccessible::State state() const override {
    QAccessible::State s;
    if (!isValid()) {
      s.invalid = true;
      return s;
    }
    const TSpokenTable* t = Table();
    s.selectable = s.focusable = role() == QAccessible::Cell;
    s.selected = t->SpokenSelected(m_col, m_row);
    int col = 0;
    int row = 0;
    s.focused = m_widget->hasFocus() && t->SpokenCurrent(col, row) && col == m_col && row == m_row;
    if (t->SpokenCellRect(m_col, m_row).isEmpty()) s.invisible = s.offscreen = true;
    s.disabled = !m_widget->isEnabled();
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
  }

  [[nodiscard]] bool isSelected() const override { return isValid() && Table()->SpokenSelected(m_col, m_row); }
  [[nodiscard]] QList<QAccessibleInterface*> columnHeaderCells() const override;
  [[nodiscard]] QList<QAccessibleInterface*> rowHeaderCells() const override;
  [[nodiscard]] int columnIndex() const override { return isValid() ? m_col - Table()->SpokenFixedCols() : -1; }
  [[nodiscard]] int rowIndex() const override { return isValid() ? m_row - Table()->SpokenFixedRows() : -1; }
  [[nodiscard]] int columnExtent() const override { return 1; }
  [[nodiscard]] int rowExtent() const override { return 1; }
  [[nodiscard]] QAccessibleInterface* table() const override { return parent(); }

 private:
  [[nodiscard]] const TSpokenTable* Table() const { return m_widget ? SpokenTableOf(m_widget) : nullptr; }

  QPointer<QWidget> m_widget;
  int m_col;
  int m_row;
};

class TAccessibleTable : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit TAccessibleTable(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Table) {}
  ~TAccessibleTable() override { ForgetCells(); }

  [[nodiscard]] const TSpokenTable& Spoken() const { return *SpokenTableOf(widget()); }

  // Children: every cell, row by row; a cell's interface lives while its place does.
  [[nodiscard]] int childCount() const override { return Spoken().SpokenRowCount() * Spoken().SpokenColCount(); }
  [[nodiscard]] QAccessibleInterface* child(int index) const override {
    const int cols = Spoken().SpokenColCount();
    if (index < 0 || index >= childCount() || cols == 0) return nullptr;
    if (const auto found = m_cells.find(index); found != m_cells.end()) return QAccessible::accessibleInterface(found->second);
    if (m_cells.empty()) m_cachedCols = cols;
    auto* cell = new TAccessibleCell(widget(), index % cols, index / cols);  // owned by QAccessible's cache
    m_cells[index] = QAccessible::registerAccessibleInterface(cell);
    return cell;
  }
  [[nodiscard]] int indexOfChild(const QAccessibleInterface* child) const override {
    const auto* cell = child ? const_cast<QAccessibleInterface*>(child)->tableCellInterface() : nullptr;
    if (!cell || child->parent() == nullptr || child->parent()->object() != widget()) return -1;
    return CellIndex(cell->columnIndex() + Spoken().SpokenFixedCols(), cell->rowIndex() + Spoken().SpokenFixedRows());
  }
  [[nodiscard]] QAccessibleInterface* focusChild() const override {
    int col = 0;
    int row = 0;
    if (!widget()->hasFocus() || !Spoken().SpokenCurrent(col, row)) return QAccessibleWidget::focusChild();
    return child(CellIndex(col, row));
  }
  [[nodiscard]] QAccessibleInterface* childAt(int x, int y) const override {
    int col = 0;
    int row = 0;
    if (!Spoken().SpokenCellAt(widget()->mapFromGlobal(QPoint(x, y)), col, row)) return nullptr;
    return child(CellIndex(col, row));
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  // The table in readers' terms: the body only, without the header rows and columns.
  [[nodiscard]] QAccessibleInterface* caption() const override { return nullptr; }
  [[nodiscard]] QAccessibleInterface* summary() const override { return nullptr; }
  [[nodiscard]] QAccessibleInterface* cellAt(int row, int column) const override {
    if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) return nullptr;
    return child(CellIndex(column + Spoken().SpokenFixedCols(), row + Spoken().SpokenFixedRows()));
  }
  [[nodiscard]] int selectedCellCount() const override { return static_cast<int>(selectedCells().size()); }
  [[nodiscard]] QList<QAccessibleInterface*> selectedCells() const override {
    QList<QAccessibleInterface*> cells;
    int col = 0;
    int row = 0;
    if (Spoken().SpokenCurrent(col, row)) cells << child(CellIndex(col, row));
    return cells;
  }
  [[nodiscard]] QString columnDescription(int column) const override {
    return Spoken().SpokenFixedRows() > 0 ? Spoken().SpokenCell(column + Spoken().SpokenFixedCols(), 0) : QString();
  }
  [[nodiscard]] QString rowDescription(int row) const override {
    return Spoken().SpokenFixedCols() > 0 ? Spoken().SpokenCell(0, row + Spoken().SpokenFixedRows()) : QString();
  }
  [[nodiscard]] int selectedColumnCount() const override { return 0; }
  [[nodiscard]] int selectedRowCount() const override { return 0; }
  [[nodiscard]] int columnCount() const override { return Spoken().SpokenColCount() - Spoken().SpokenFixedCols(); }
  [[nodiscard]] int rowCount() const override { return Spoken().SpokenRowCount() - Spoken().SpokenFixedRows(); }
  [[nodiscard]] QList<int> selectedColumns() const override { return {}; }
  [[nodiscard]] QList<int> selectedRows() const override { return {}; }
  [[nodiscard]] bool isColumnSelected(int) const override { return false; }
  [[nodiscard]] bool isRowSelected(int) const override { return false; }
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  // Cells are found by place and read the table as it is now, so they outlive a change of
  // rows: only those past the end go. New columns move every place, so then all go.
  void modelChange(QAccessibleTableModelChangeEvent*) override {
    if (Spoken().SpokenColCount() != m_cachedCols) {
      ForgetCells();
      return;
    }
    const int count = childCount();
    for (auto cell = m_cells.begin(); cell != m_cells.end();) {
      if (cell->first < count) {
        ++cell;
        continue;
      }
      QAccessible::deleteAccessibleInterface(cell->second);
      cell = m_cells.erase(cell);
    }
  }

  [[nodiscard]] int CellIndex(int col, int row) const { return row * Spoken().SpokenColCount() + col; }

 private:
  void ForgetCells() {
    for (const auto& [index, id] : m_cells) QAccessible::deleteAccessibleInterface(id);
    m_cells.clear();
  }

  mutable std::unordered_map<int, QAccessible::Id> m_cells;
  mutable int m_cachedCols = 0;  // the column count the cached cells were placed by
};

QList<QAccessibleInterface*> TAccessibleCell::columnHeaderCells() const {
  QList<QAccessibleInterface*> headers;
  auto* table = dynamic_cast<TAccessibleTable*>(parent());
  if (!isValid() || !table) return headers;
  for (int row = 0; row < Table()->SpokenFixedRows() && row < m_row; ++row) headers << table->child(table->CellIndex(m_col, row));
  return headers;
}

QList<QAccessibleInterface*> TAccessibleCell::rowHeaderCells() const {
  QList<QAccessibleInterface*> headers;
  auto* table = dynamic_cast<TAccessibleTable*>(parent());
  if (!isValid() || !table) return headers;
  for (int col = 0; col < Table()->SpokenFixedCols() && col < m_col; ++col) headers << table->child(table->CellIndex(col, m_row));
  return headers;
}

QAccessibleInterface* DescribeTable(const QString&, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  return widget && SpokenTableOf(widget) ? new TAccessibleTable(widget) : nullptr;
}

}  // namespace

void InstallAccessibleTables() {
  QAccessible::removeFactory(DescribeTable);  // installed once, however often asked
  QAccessible::installFactory(DescribeTable);
}

}  // namespace kzm::ui
