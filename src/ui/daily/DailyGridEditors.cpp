// The daily grid's editors: which one opens where, writing their text back, and the entry
// history that Enter records and list mode offers.
#include "ui/daily/DailyGrid.h"

#include "passbook/Categories.h"
#include "passbook/EntryHistory.h"
#include "ui/daily/DailyCells.h"
#include "ui/daily/DailyEdit.h"
#include "ui/daily/DailyList.h"
#include "views/DailyRows.h"

#include <QCoreApplication>
#include <QPalette>
#include <QTimer>

#include <algorithm>

namespace kzm::ui {

namespace {

QString Q(const std::string& text) { return ToCell(text); }

}  // namespace

void TDailyGrid::TakeFocus() {
  // Moving the focus makes a focused editor write back and close; one that is open without
  // the focus (the window is inactive) is closed the same way. A grid on a hidden tab never
  // takes the focus: typing would go into it unseen.
  if (isVisibleTo(window())) SetFocusQuietly();
  CloseEditors();
}

void TDailyGrid::CloseEditors() {
  EditFocusLost();
  ListFocusLost();
}

void TDailyGrid::WriteBackEditor() {
  if (!m_updating) CloseEditors();
}

void TDailyGrid::WriteBack(int col, int row, const QString& text) {
  if (m_updating || col < 1 || row < 1 || col >= ColCount() || row >= RowCount()) return;
  if (!IsEntryRow(row) || Cells(col, row) == text) return;
  SetCells(col, row, text);
  SetModified();
}

void TDailyGrid::EditFocusLost() {
  if (!m_edit || m_edit->isHidden()) return;
  QString text = m_edit->text();
  if (m_editCol == kzm::kColAmount) text = Q(kzm::AmountCellText(text.toStdString()));
  // Hidden first: writing back may repaint, and the edit must not take part in that.
  m_edit->hide();
  WriteBack(m_editCol, m_editRow, text);
}

void TDailyGrid::ListFocusLost() {
  if (!m_list || m_list->isHidden()) return;
  const QString value = m_list->ChosenValue();
  m_list->hide();
  WriteBack(m_editCol, m_editRow, value);
}

void TDailyGrid::ShowEditor() {
  if (m_updating) return;
  if (!IsEntryRow(Row()) || Col() < kzm::kColItem) {
    CloseEditors();
    return;
  }
  if (Col() == kzm::kColAccount || m_listMode) {
    if (ShowDropDown() || Col() == kzm::kColAccount) return;
    // No history to offer: the edit stays as it was, or opens when it was closed.
    if (m_edit && !m_edit->isHidden() && m_editCol == Col() && m_editRow == Row()) return;
  }
  ShowEdit();
}

// The posted request: an edit already open on the current cell keeps what was typed.
void TDailyGrid::ReopenEditor() {
  viewport()->update();
  const bool editOpenHere = m_edit && !m_edit->isHidden() && m_editCol == Col() && m_editRow == Row();
  const bool listOpenHere = m_list && !m_list->isHidden() && m_editCol == Col() && m_editRow == Row();
  if ((editOpenHere && !m_listMode && Col() != kzm::kColAccount) || listOpenHere) {
    QWidget* open = editOpenHere ? static_cast<QWidget*>(m_edit) : static_cast<QWidget*>(m_list);
    if (hasFocus()) open->setFocus();
    return;
  }
  ShowEditor();
}

QRect TDailyGrid::EditRect() const { return CellRect(Col(), Row()); }

void TDailyGrid::ShowEdit() {
  const bool focus = hasFocus() || (m_edit && m_edit->hasFocus()) || (m_list && m_list->hasFocus()) ||
                     (window() && window()->focusWidget() == this);
  if (m_list && !m_list->isHidden()) {
    if (focus) setFocus(Qt::OtherFocusReason);
    ListFocusLost();
  }
  if (!m_edit) m_edit = new TdailyEdit(*this);
  if (!m_edit->isHidden() && (m_editCol != Col() || m_editRow != Row())) EditFocusLost();
  m_editCol = Col();
  m_editRow = Row();
  m_edit->setAccessibleName(SpokenEditorTitle(m_editCol, m_editRow));
  QPalette pal = m_edit->palette();
  const TPaintColors colors = ReadColors();
  pal.setColor(QPalette::Base, colors.entryBack);
  pal.setColor(QPalette::Window, colors.entryBack);
  pal.setColor(QPalette::Text, colors.entryText);
  m_edit->setPalette(pal);
  m_edit->setFont(font());
  // Japanese input for the texts, none for the amount.
  const bool amount = Col() == kzm::kColAmount;
  m_edit->setAttribute(Qt::WA_InputMethodEnabled, !amount);
  m_edit->setInputMethodHints(amount ? Qt::ImhPreferNumbers : Qt::ImhNone);
  m_edit->setText(Cells(Col(), Row()));
  m_edit->deselect();
  m_edit->end(false);
  m_edit->show();
  PlaceEditors();
  if (focus) m_edit->setFocus(Qt::OtherFocusReason);
}

bool TDailyGrid::ShowDropDown() {
  const int col = Col();
  const int row = Row();
  QStringList values;
  QStringList shown;
  int selected = 0;
  if (col == kzm::kColAccount) {
    const int own = CategoryOfRow(row);
    for (int c = 0; c < m_categories.Count(); ++c) {
      if (m_categories.KindOf(c) != kzm::kKindAsset || c == own) continue;
      values << Q(m_categories.Items(c).key);
      shown << Q(m_categories.DisplayName(c));
    }
    selected = std::max(0, static_cast<int>(values.indexOf(Cells(col, row))));
  } else {
    std::vector<std::string> lines;
    if (m_historyFolder.empty() ||
        !kzm::ReadHistory(m_historyFolder, HistoryName(row), col, lines)) {
      m_listMode = false;
      return false;
    }
    for (const std::string& line : lines) values << Q(line);
    shown = values;
  }
  const bool focus = hasFocus() || (m_edit && m_edit->hasFocus()) || (m_list && m_list->hasFocus()) ||
                     (window() && window()->focusWidget() == this);
  if (focus) setFocus(Qt::OtherFocusReason);
  CloseEditors();
  if (values.isEmpty()) return true;  // no other account to move from: nothing to pick
  if (!m_list) m_list = new TdailyList(*this);
  m_editCol = col;
  m_editRow = row;
  m_list->setAccessibleName(SpokenEditorTitle(col, row));
  m_list->setFont(font());
  m_list->SetItemHeight(m_rowHeight);
  m_list->Fill(values, shown, Cells(col, row));
  m_list->setCurrentRow(selected);
  m_list->show();
  PlaceEditors();
  m_list->scrollToItem(m_list->currentItem());
  if (focus) m_list->setFocus(Qt::OtherFocusReason);
  return true;
}

// Keeps the open editor over its cell when the grid scrolls or its columns change; a cell
// scrolled out of sight takes its editor out of sight with it, still open.
void TDailyGrid::PlaceEditors() {
  const QRect cell = CellRect(m_editCol, m_editRow);
  const QRect away(-10000, -10000, 10, 10);
  if (m_edit && !m_edit->isHidden()) {
    if (cell.isEmpty())
      m_edit->setGeometry(away);
    else
      m_edit->PlaceOver(cell);
  }
  if (m_list && !m_list->isHidden()) {
    if (cell.isEmpty()) {
      m_list->setGeometry(away);
      return;
    }
    const int itemHeight = m_list->ItemHeight();
    const int count = m_list->count();
    const int selected = std::max(0, m_list->currentRow());
    const int clientWidth = viewport()->width();
    const int clientHeight = viewport()->height();
    const int width = std::max(cell.width() + 1, 4 * itemHeight);
    const int frame = 2 * m_list->frameWidth();
    const int full = count * itemHeight + frame;
    // Taller than the grid it would only be cut off; the list scrolls instead.
    const int height = std::min(full, std::max(itemHeight + frame, clientHeight));
    m_list->setVerticalScrollBarPolicy(height < full ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    int left = cell.left() - 1;
    int top = cell.top() - selected * itemHeight;
    if (left + width > clientWidth) left = clientWidth - width;
    if (top + height > clientHeight) top = clientHeight - height;
    m_list->setGeometry(std::max(0, left), std::max(0, top), width, height);
  }
}

std::string TDailyGrid::HistoryName(int row) const {
  const int band = kzm::GroupRow(Snapshot(), row);
  return band < 0 ? std::string() : kzm::KeyName(FromCell(Cells(kzm::kColItem, band)));
}

// Enter leaving a cell puts its value first in the history of the row's category.
void TDailyGrid::RecordHistory() {
  const QString value = Cells(Col(), Row());
  // Accounts are keys, not text a history file can hold; only items and notes are offered.
  if (value.isEmpty() || m_historyFolder.empty() || !IsEntryRow(Row()) || Col() == kzm::kColAccount) return;
  const std::string name = HistoryName(Row());
  if (name.empty()) return;
  // Writing a file waits for the disk; the cursor moves and repaints first. The write keeps
  // its own copy of what to write, so it happens even when the grid is gone by then.
  QTimer::singleShot(0, QCoreApplication::instance(),
                     [folder = m_historyFolder, name, col = Col(), text = FromCell(value)] {
                       kzm::RecordHistory(folder, name, col, text);
                     });
}

}  // namespace kzm::ui
