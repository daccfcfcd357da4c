#pragma once

#include <QListWidget>

namespace kzm::ui {

class TDailyGrid;

// The daily grid's drop-down: the accounts of the account column, or the entry history of
// the item and note columns. Laid over the current cell with the chosen item on top of it;
// the chosen value is written back when the list loses the focus. ↑ on the first item goes
// to the last and ↓ on the last to the first; Enter, ←, → and Ctrl+Space go on to the grid;
// Esc brings back what the cell held.
class TdailyList : public QListWidget {
  Q_OBJECT

 public:
  explicit TdailyList(TDailyGrid& grid);

  // Fills the list: values are what a pick writes into the cell, shown are their texts.
  // cellText is what the cell holds now (Esc brings it back).
  void Fill(const QStringList& values, const QStringList& shown, const QString& cellText);
  // The value to write back: the chosen item's, the cell's own after Esc, empty with none.
  [[nodiscard]] QString ChosenValue() const;
  [[nodiscard]] int ItemHeight() const { return m_itemHeight; }
  void SetItemHeight(int height);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void HandToGrid(QKeyEvent* event);

  TDailyGrid& m_grid;
  QString m_cellText;
  bool m_restoreCell = false;
  int m_itemHeight = 19;
};

}  // namespace kzm::ui
