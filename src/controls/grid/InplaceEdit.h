#pragma once

#include <QLineEdit>

namespace kzm::ui {

class TorvCustomGrid;

// The grid's own one-line editor, laid over the current cell. Keys that move between cells
// go to the grid; Enter keeps what was typed, Esc drops it. F2 puts the caret at the end.
class TInplaceEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit TInplaceEdit(TorvCustomGrid& grid);

  [[nodiscard]] TorvCustomGrid& Grid() const { return m_grid; }

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

  // Whether a key is the grid's rather than the text's.
  [[nodiscard]] virtual bool BelongsToGrid(const QKeyEvent& event) const;
  virtual void GiveToGrid(QKeyEvent* event);
  // The keys that leave the cell in every grid: Enter, Esc, ↑, ↓ and the page keys.
  [[nodiscard]] static bool LeavesCell(const QKeyEvent& event);

 private:
  TorvCustomGrid& m_grid;
};

}  // namespace kzm::ui
