// The daily grid: building the rows of a day, storing them, and the deferred rearranging.
#include "ui/daily/DailyGrid.h"

#include "foundation/AppGlobal.h"
#include "foundation/Files.h"
#include "foundation/Text.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/MonthEntry.h"
#include "passbook/Profile.h"
#include "ui/daily/DailyCells.h"
#include "ui/daily/DailyEdit.h"
#include "ui/daily/DailyList.h"
#include "views/DailyRows.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QLayout>
#include <QScopedValueRollback>
#include <QVBoxLayout>

#include <algorithm>
#include <string>
#include <utility>

namespace kzm::ui {

namespace {

// The grid's own request, posted so that it runs after the event that asked for it: place
// the blank row in a category's group, or (category -1) reopen the editor.
class TDailyRequest : public QEvent {
 public:
  static QEvent::Type Kind() {
    static const auto kind = static_cast<QEvent::Type>(QEvent::registerEventType());
    return kind;
  }
  TDailyRequest(int category, int mode) : QEvent(Kind()), m_category(category), m_mode(mode) {}
  [[nodiscard]] int Category() const { return m_category; }
  [[nodiscard]] int Mode() const { return m_mode; }

 private:
  int m_category;
  int m_mode;
};

QString Q(const std::string& text) { return ToCell(text); }
std::string S(const QString& text) { return FromCell(text); }

constexpr int kMinColWidth = 4;
constexpr int kMaxColWidth = 4000;

}  // namespace

TDailyGrid::TDailyGrid(QWidget* tabSheet, int gridKind, kzm::THeadList& categories,
                       TModifiedEvent onModified)
    : TorvGrid(tabSheet),
      m_gridKind(gridKind),
      m_categories(categories),
      m_onModified(std::move(onModified)) {
  QFont small = font();
  small.setPointSize(9);  // rows are measured for the 9-point text
  setFont(small);
  m_rowHeight = kzm::AppGlobal().DefaultTextHeight() + 6;
  SetBorderStyle(TBorderStyle::bsSingle);
  SetDefaultDrawing(false);
  SetGridLineWidth(1);
  SetOptions(TGridOptions{TGridOption::goColSizing, TGridOption::goRowMoving,
                          TGridOption::goThumbTracking});
  SetBarsWhenNeeded(true);  // the note column fills the width: mostly nothing scrolls
  SetColCount(kzm::kDailyColCount);
  SetRowCount(5);
  SetDefaultRowHeight(m_rowHeight);
  SetDefaultColWidth(m_rowHeight * 3);
  SetRowHeights(0, m_rowHeight + 8);
  SetColWidths(0, m_rowHeight);
  ReadColumnWidths();
  const kzm::TDailyRow header = kzm::DailyHeaderRow(gridKind);
  SetRows(0, {QStringLiteral("0"), Q(header.item), Q(header.amount), Q(header.account), Q(header.note)});
  // Every pixel is painted by the cells; nothing needs erasing first.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);

  const std::string& passbook = kzm::CurrentProfile().Folder();
  if (!passbook.empty()) {
    m_historyFolder = passbook + "/cash";
    kzm::EnsureFolder(m_historyFolder);
  }
  if (tabSheet) {
    if (!tabSheet->layout()) {
      auto* layout = new QVBoxLayout(tabSheet);
      layout->setContentsMargins(8, 8, 8, 8);
    }
    tabSheet->layout()->addWidget(this);
  }
}

TDailyGrid::~TDailyGrid() {
  // The editors' focus-out must not write into a grid that is going away.
  m_updating = true;
  WriteColumnWidths();
}

TdailyEdit* TDailyGrid::Editor() const { return m_edit; }
TdailyList* TDailyGrid::DropDown() const { return m_list; }

// Until the user sizes it, the item column widens to the longest band name and item of the
// day, as the amount column does, within reason: a very long text is still cut rather than
// crowding out the other columns. It never narrows again, so stepping days does not make the
// columns jump to and fro.
void TDailyGrid::FitItemColumn() {
  if (m_fittedItemWidth == 0 || ColWidths(kzm::kColItem) != m_fittedItemWidth) return;  // the user's width
  const QFontMetrics metrics(font());
  int widest = 0;
  for (int i = 0; i < m_categories.Count(); ++i) {
    if (m_categories.KindOf(i) != m_gridKind) continue;
    widest = std::max(widest, metrics.horizontalAdvance(Q(kzm::KeyName(m_categories.Items(i).key))));
  }
  for (int r = 1; r < RowCount(); ++r) {
    if (IsEntryRow(r)) widest = std::max(widest, metrics.horizontalAdvance(Cells(kzm::kColItem, r)));
  }
  constexpr int kPadding = 8;  // the painter keeps 2 pixels on the left and cuts at 4 short
  const int fitted = std::clamp(widest + kPadding, DefaultColWidth(), DefaultColWidth() * 3);
  if (fitted <= m_fittedItemWidth) return;
  m_fittedItemWidth = fitted;
  // A fitted width is not the user's: it is not written back.
  m_storedWidths[static_cast<size_t>(kzm::kColItem)] = fitted;
  SetColWidths(kzm::kColItem, fitted);
}

void TDailyGrid::ReadColumnWidths() {
  const std::string section = "GRID" + std::to_string(m_gridKind);
  for (int col = 1; col <= 4; ++col) {
    int width = kzm::AppGlobal().ReadAppInteger(section, std::to_string(col), 0);
    if (width < kMinColWidth || width > kMaxColWidth) {
      width = DefaultColWidth();
      if (col == kzm::kColItem) m_fittedItemWidth = width;
    }
    m_storedWidths[static_cast<size_t>(col)] = width;
    SetColWidths(col, width);
  }
  FitItemColumn();
}

// Only what changed is written: every write goes to disk at once.
void TDailyGrid::WriteColumnWidths() {
  const std::string section = "GRID" + std::to_string(m_gridKind);
  for (int col = 1; col <= 4; ++col) {
    const int width = ColWidths(col);
    if (width == m_storedWidths[static_cast<size_t>(col)]) continue;
    kzm::AppGlobal().WriteAppInteger(section, std::to_string(col), width);
  }
}

std::vector<kzm::TDailyRow> TDailyGrid::Snapshot() const {
  std::vector<kzm::TDailyRow> rows;
  rows.reserve(static_cast<size_t>(RowCount()));
  for (int r = 0; r < RowCount(); ++r) {
    rows.push_back(kzm::TDailyRow{kzm::RowCode(S(Cells(kzm::kColCode, r))), S(Cells(kzm::kColItem, r)),
                                  S(Cells(kzm::kColAmount, r)), S(Cells(kzm::kColAccount, r)),
                                  S(Cells(kzm::kColNote, r))});
  }
  return rows;
}

// Row 0 keeps its header; the other rows take the texts of rows.
void TDailyGrid::ApplyRows(const std::vector<kzm::TDailyRow>& rows) {
  SetRowCount(std::max(1, static_cast<int>(rows.size())));
  for (int r = 1; r < static_cast<int>(rows.size()); ++r) {
    const kzm::TDailyRow& row = rows[static_cast<size_t>(r)];
    SetRows(r, {QString::number(row.code), Q(row.item), Q(row.amount), Q(row.account), Q(row.note)});
  }
}

bool TDailyGrid::IsEntryRow(int row) const {
  return row >= 1 && row < RowCount() && kzm::RowCode(S(Cells(kzm::kColCode, row))) == kzm::kRowEntry;
}

bool TDailyGrid::CurrentEntry(kzm::TkzmEntry& entry) const {
  const int row = Row();
  const int category = CategoryOfRow(row);
  if (!IsEntryRow(row) || category < 0) return false;
  const std::string item = S(Cells(kzm::kColItem, row));
  const std::string amount = S(Cells(kzm::kColAmount, row));
  if (item.empty() && amount.empty()) return false;
  entry = kzm::TkzmEntry();
  entry.categoryKey = m_categories.Items(category).key;
  entry.accountKey = kzm::MakeKey(S(Cells(kzm::kColAccount, row)), kzm::kKindAsset);
  entry.itemText = item;
  entry.note = S(Cells(kzm::kColNote, row));
  entry.amount = kzm::ParseAmount(amount);
  return true;
}

int TDailyGrid::CategoryOfRow(int row) const {
  if (row < 0 || row >= RowCount()) return -1;
  while (row > 0 && IsEntryRow(row)) --row;
  if (row == 0) return -1;
  return m_categories.IndexOfKey(S(Cells(kzm::kColItem, row)));
}

void TDailyGrid::LoadDay(int32_t date) {
  m_updating = true;
  TakeFocus();
  kzm::TkzmDataUnit& data = kzm::CurrentMonthData();
  data.SelectDay(date);
  const int returnTo = kzm::ReturnCategory(Snapshot(), m_categories, m_gridKind, Row());
  ApplyRows(kzm::LayoutDay(m_categories, m_gridKind, data));
  FitItemColumn();
  SetRowHeights(0, m_rowHeight + 8);
  PostPlaceBlankRow(returnTo, static_cast<int>(kzm::TBlankPlace::bpGroupEnd));
  m_updating = false;
  UpdateSubtotals();
  InvalidateGrid();
}

kzm::TDailyRows TDailyGrid::RowsToStore() {
  WriteBackEditor();
  Compact();
  return Snapshot();
}

void TDailyGrid::StoreDay() {
  kzm::TkzmDataUnit& data = kzm::CurrentMonthData();
  kzm::StoreRows(RowsToStore(), data);
  data.SortEntries();
}

void TDailyGrid::Compact() {
  std::vector<kzm::TDailyRow> rows = Snapshot();
  kzm::CompactRows(rows, m_categories);
  ApplyRows(rows);
  FitNoteColumn();
  UpdateSubtotals();
}

void TDailyGrid::UpdateSubtotals() {
  std::vector<kzm::TDailyRow> rows = Snapshot();
  kzm::UpdateSubtotals(rows, m_categories, m_gridKind);
  for (int r = 1; r < static_cast<int>(rows.size()); ++r) {
    if (!rows[static_cast<size_t>(r)].IsEntry()) SetCells(kzm::kColAmount, r, Q(rows[static_cast<size_t>(r)].amount));
  }
  FitAmountColumn();
}

// A money amount is never cut: the amount column widens to the day's widest amount or subtotal.
void TDailyGrid::FitAmountColumn() {
  constexpr int kPadding = 7;  // the painter keeps 3 pixels on the right and needs some air
  const QFontMetrics metrics(font());
  int widest = 0;
  for (int r = 1; r < RowCount(); ++r) widest = std::max(widest, metrics.horizontalAdvance(Cells(kzm::kColAmount, r)));
  if (widest + kPadding > ColWidths(kzm::kColAmount)) SetColWidths(kzm::kColAmount, widest + kPadding);
}

void TDailyGrid::PostPlaceBlankRow(int category, int mode) {
  QCoreApplication::postEvent(this, new TDailyRequest(category, mode));
}

void TDailyGrid::PostReopenEditor() { PostPlaceBlankRow(-1, 0); }

void TDailyGrid::PlaceBlankRow(int category, int mode) {
  if (category < 0) {
    ReopenEditor();
    return;
  }
  int insertAt = -1;
  {
    QScopedValueRollback updating(m_updating, true);
    TakeFocus();
    if (category >= m_categories.Count()) category = 0;
    const std::string key = m_categories.Count() > 0 ? m_categories.Items(category).key : std::string();
    Compact();
    std::vector<kzm::TDailyRow> rows = Snapshot();
    insertAt = kzm::BlankRowIndex(rows, key, static_cast<kzm::TBlankPlace>(mode));
    if (insertAt > 0) {
      kzm::InsertBlankRow(rows, insertAt);
      ApplyRows(rows);
      FitNoteColumn();
    }
  }
  if (insertAt > 0) {
    SetRow(insertAt);
    SetCol(kzm::kColItem);
  }
  PostReopenEditor();
}

void TDailyGrid::SetModified() {
  if (m_onModified) m_onModified();
}

void TDailyGrid::FitNoteColumn() {
  if (LeftCol() != FixedCols()) return;
  int used = 0;
  for (int col = 0; col < kzm::kColNote; ++col) used += ColWidths(col);
  const int client = viewport()->width();
  if (used >= client) return;
  const int width = std::max(DefaultColWidth(), client - used);
  if (width != ColWidths(kzm::kColNote)) SetColWidths(kzm::kColNote, width);
}

bool TDailyGrid::event(QEvent* event) {
  if (event->type() == TDailyRequest::Kind()) {
    const auto* request = static_cast<TDailyRequest*>(event);
    PlaceBlankRow(request->Category(), request->Mode());
    return true;
  }
  // Tab leaves the grid for the window's next control, writing the editor back first.
  return TorvGrid::event(event);
}

void TDailyGrid::resizeEvent(QResizeEvent* event) {
  TorvGrid::resizeEvent(event);
  FitNoteColumn();
  PlaceEditors();
}

void TDailyGrid::ColWidthsChanged() {
  TorvGrid::ColWidthsChanged();
  FitNoteColumn();
  PlaceEditors();
}

void TDailyGrid::RowHeightsChanged() {
  TorvGrid::RowHeightsChanged();
  PlaceEditors();
}

void TDailyGrid::TopLeftChanged() {
  TorvGrid::TopLeftChanged();
  PlaceEditors();
}

}  // namespace kzm::ui
