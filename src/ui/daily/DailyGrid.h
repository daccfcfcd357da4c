#pragma once

#include "controls/grid/GridControl.h"

#include <QPointer>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QEvent;

namespace kzm {
class THeadList;
struct TDailyRow;
struct TkzmEntry;
}  // namespace kzm

namespace kzm::ui {

class TdailyEdit;
class TdailyList;

// The entry table of one kind of money movement for one day: a coloured band per category of
// the grid's kind with the day's entries of that category beneath it, and always one blank
// entry row where the user is working. Cells are typed through TdailyEdit or picked from
// TdailyList; the grid writes its rows back into the month data on StoreDay.
//
// Columns: 0 the row-kind code (drawn as "○"), 1 item text (a category key on band rows),
// 2 amount (the subtotal on band rows), 3 account key, 4 note.
class TDailyGrid : public TorvGrid {
  Q_OBJECT

 public:
  // The entry the current row holds, as typed (date 0); false on a header row or a row with
  // no item nor amount.
  bool CurrentEntry(kzm::TkzmEntry& entry) const;
  // Tells the owning window that the user changed something (a written-back cell, a dragged
  // row).
  using TModifiedEvent = std::function<void()>;

  // Placed inside tabSheet, filling it with an 8-pixel margin. gridKind is the category kind
  // the grid serves: kKindPayment, kKindAsset (moves between the user's own accounts) or
  // kKindReceipt. categories is the window's working list: the grid reads it and uses the
  // balance and total of its categories as working values for the subtotals; it must outlive
  // the grid. Column widths come from application.ini (GRID1 to GRID3) and are written back on
  // destruction.
  TDailyGrid(QWidget* tabSheet, int gridKind, kzm::THeadList& categories,
             TModifiedEvent onModified);
  ~TDailyGrid() override;

  // Rebuilds the rows for date, which becomes the month data's current day. An open editor
  // closes without writing back. The blank row is placed once the current event is done.
  void LoadDay(int32_t date);
  // Adds the grid's entries to the month data's current day (the caller has selected the day
  // and removed its old entries) and sorts the month data. An open editor writes back first.
  void StoreDay();
  // The rows as they are to be stored: the editor written back and empty rows dropped.
  [[nodiscard]] std::vector<kzm::TDailyRow> RowsToStore();
  // Widens the note column to the free client width when the grid is scrolled fully left.
  void FitNoteColumn();
  // Opens the editor that fits the current cell: the drop-down in the account column or in
  // list mode, else the in-place edit. Nothing while the grid is rebuilding.
  void ShowEditor();
  // Reopens the editor once the current event is done (tab change, focus).
  void PostReopenEditor();
  // Writes an open editor's text back into its cell (as moving the focus to the grid does),
  // so that the window can save or leave the day with nothing left in an editor.
  void WriteBackEditor();

  // Columns 1 and 4 are edited through the entry history instead of the in-place edit.
  [[nodiscard]] bool ListMode() const { return m_listMode; }
  // The editors; null until first used.
  [[nodiscard]] TdailyEdit* Editor() const;
  [[nodiscard]] TdailyList* DropDown() const;

  // Read aloud: a band as 「食費 小計 3,480円」, an amount with its sign, an account by name.
  [[nodiscard]] QString SpokenCell(int col, int row) const override;
  // 「食費 の 内容」: the category of the row, then the column.
  [[nodiscard]] QString SpokenEditorTitle(int col, int row) const override;

 protected:
  void DrawCell(QPainter& canvas, int col, int row, const QRect& rect,
                TGridDrawState state) override;
  bool SelectCell(int col, int row) override;
  void RowMoved(int fromIndex, int toIndex) override;
  bool BeginRowDrag(int origin) override;
  void ColWidthsChanged() override;
  void RowHeightsChanged() override;
  void TopLeftChanged() override;
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  friend class TdailyEdit;
  friend class TdailyList;

  // Widens the amount column until the day's widest amount or subtotal fits.
  void FitAmountColumn();

  // Colours of one paint, read from the colour scheme when the paint starts.
  struct TPaintColors {
    QColor line;
    QColor entryBack;
    QColor entryText;
    QColor bandBack;
    QColor bandText;
    QColor subtotalText;
  };

  // Rows as plain data and back.
  [[nodiscard]] std::vector<kzm::TDailyRow> Snapshot() const;
  void ApplyRows(const std::vector<kzm::TDailyRow>& rows);
  [[nodiscard]] bool IsEntryRow(int row) const;
  [[nodiscard]] int CategoryOfRow(int row) const;

  void Compact();
  void UpdateSubtotals();
  void PostPlaceBlankRow(int category, int mode);
  void PlaceBlankRow(int category, int mode);
  void ReopenEditor();
  void SetModified();

  // Gives the grid the focus; an open editor writes back (unless the grid is updating) and
  // closes.
  void TakeFocus();
  void CloseEditors();
  void ShowEdit();
  bool ShowDropDown();
  void PlaceEditors();
  [[nodiscard]] QRect EditRect() const;
  // Text from an editor for the cell it was opened on.
  void WriteBack(int col, int row, const QString& text);
  void EditFocusLost();
  void ListFocusLost();

  // Keys the grid acts on, from itself or handed over by an editor. False leaves the key to
  // whoever is next (Ctrl+arrows belong to the window).
  bool HandleKey(QKeyEvent* event);
  bool EnterKey();
  void InsertKey();
  void RecordHistory();
  [[nodiscard]] std::string HistoryName(int row) const;

  void FitItemColumn();
  void ReadColumnWidths();
  void WriteColumnWidths();
  TPaintColors ReadColors() const;

  int m_gridKind;
  kzm::THeadList& m_categories;
  TModifiedEvent m_onModified;
  bool m_updating = false;
  bool m_listMode = false;
  std::string m_historyFolder;  // empty without a passbook
  int m_rowHeight = 0;
  std::array<int, 5> m_storedWidths{};
  int m_fittedItemWidth = 0;  // 0: the item column has the user's width
  TPaintColors m_colors;
  QPointer<TdailyEdit> m_edit;
  QPointer<TdailyList> m_list;
  // The cell the open editor (or drop-down) was loaded from.
  int m_editCol = -1;
  int m_editRow = -1;
};

}  // namespace kzm::ui
