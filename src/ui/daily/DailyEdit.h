#pragma once

#include "controls/grid/InplaceEdit.h"

namespace kzm::ui {

class TDailyGrid;

// The daily grid's one-line cell editor, laid over the current cell so that its text sits
// where the cell draws it. Keys that leave the cell (Enter, Esc, ↑, ↓, page keys, Tab, ← at
// the start, → at the end, Ctrl+Space) go to the grid; what was typed is written back when
// the editor loses the focus. Characters Shift-JIS cannot hold are refused with a message,
// since the month file could not store them.
class TdailyEdit : public TInplaceEdit {
  Q_OBJECT

 public:
  explicit TdailyEdit(TDailyGrid& grid);

  // The message shown for a refused character (the character is named in it).
  [[nodiscard]] static QString RefusedCharMessage(const QString& character);
  // Where the cell draws its text: the edit places its own text there.
  void PlaceOver(const QRect& cell);

 protected:
  void focusOutEvent(QFocusEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  [[nodiscard]] bool BelongsToGrid(const QKeyEvent& event) const override;
  void GiveToGrid(QKeyEvent* event) override;

 private:
  void RefuseUnsavable(const QString& typed);

  TDailyGrid& m_grid;
};

}  // namespace kzm::ui
