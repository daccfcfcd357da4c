#pragma once

#include <QLineEdit>

namespace kzm::ui {

class TorvCustomGrid;

// The grid's own one-line editor, laid over the current cell. Keys that move between cells
// go to the grid; Enter keeps what was typed, Esc drops it.
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

 private:
  [[nodiscard]] bool BelongsToGrid(const QKeyEvent& event) const;

  TorvCustomGrid& m_grid;
};

}  // namespace kzm::ui
