// The cell events of TorvCustomDrawGrid.
#include "controls/grid/GridControl.h"

namespace kzm::ui {

void TorvCustomDrawGrid::DrawCell(QPainter& canvas, int col, int row, const QRect& rect,
                                  TGridDrawState state) {
  if (OnDrawCell) OnDrawCell(*this, canvas, col, row, rect, state);
}

bool TorvCustomDrawGrid::SelectCell(int col, int row) {
  bool canSelect = true;
  if (OnSelectCell) OnSelectCell(*this, col, row, canSelect);
  return canSelect;
}

QString TorvCustomDrawGrid::GetEditText(int col, int row) {
  QString value;
  if (OnGetEditText) OnGetEditText(*this, col, row, value);
  return value;
}

void TorvCustomDrawGrid::SetEditText(int col, int row, const QString& value) {
  if (OnSetEditText) OnSetEditText(*this, col, row, value);
}

QString TorvCustomDrawGrid::GetEditMask(int col, int row) {
  QString mask;
  if (OnGetEditMask) OnGetEditMask(*this, col, row, mask);
  return mask;
}

void TorvCustomDrawGrid::ColumnMoved(int fromIndex, int toIndex) {
  if (OnColumnMoved) OnColumnMoved(*this, fromIndex, toIndex);
}

void TorvCustomDrawGrid::RowMoved(int fromIndex, int toIndex) {
  if (OnRowMoved) OnRowMoved(*this, fromIndex, toIndex);
}

QString TorvCustomDrawGrid::SpokenCell(int col, int row) const {
  return OnSpokenCell ? OnSpokenCell(col, row) : QString();
}

void TorvCustomDrawGrid::TopLeftChanged() {
  if (OnTopLeftChanged) OnTopLeftChanged(*this);
}

}  // namespace kzm::ui
