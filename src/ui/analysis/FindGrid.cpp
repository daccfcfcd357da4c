#include "ui/analysis/FindGrid.h"

#include "controls/UiBasics.h"
#include "controls/grid/ListGrid.h"
#include "foundation/Text.h"
#include "graphics/BitmapRoutines.h"
#include "passbook/Categories.h"
#include "views/SpokenAmount.h"

#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <numeric>

namespace kzm::ui {

namespace {

constexpr const char* kHeaders[kSearchColumnCount] = {"年月日", "項目", "内容", "金額", "出入金資産", "備考"};
// A press this close to a header cell's edge sizes the column instead of sorting.
constexpr int kEdgeZone = 5;

std::string CellText(int col, const TkzmEntry& e) {
  switch (col) {
    case kColumnDate: return FormatDateSlashed(e.date);
    case kColumnCategory: return KeyName(e.categoryKey);
    case kColumnItem: return e.itemText;
    case kColumnAmount: return FormatThousands(e.amount);
    case kColumnAccount: return KeyName(e.accountKey);
    default: return e.note;
  }
}

}  // namespace

TFindGrid::TFindGrid(QWidget* parent) : TorvDrawGrid(parent), m_collator(QLocale(QLocale::Japanese, QLocale::Japan)) {
  setObjectName(QStringLiteral("FindGrid"));
  MakeListGrid(*this, kSearchColumnCount);
  ApplyFontMetrics();
}

void TFindGrid::ApplyFontMetrics() {
  const QFontMetrics metrics(font());
  // Wide enough for a whole date in this font; the columns of longer texts wider still.
  SetDefaultColWidth(std::max(64, metrics.horizontalAdvance(QStringLiteral("0000/00/00")) + 6));
  SetColWidths(kColumnItem, DefaultColWidth() * 3 / 2);
  SetColWidths(kColumnNote, DefaultColWidth() * 5 / 3);
  const int height = metrics.height() + 5;
  // A new default height drops per-row heights, so the header's comes after it.
  SetDefaultRowHeight(height);
  SetRowHeights(0, height + 3);
}

void TFindGrid::changeEvent(QEvent* event) {
  TorvDrawGrid::changeEvent(event);
  if (event->type() == QEvent::FontChange) ApplyFontMetrics();
}

void TFindGrid::ResultsChanged() {
  const std::vector<TkzmEntry>& entries = m_results.Entries();
  if (m_sortedCol < 0) {
    // Found in the month files' listing order, which looks random; shown by date.
    m_rows = SearchResultsOrder(entries, kColumnDate, false, {});
  } else {
    m_rows.resize(entries.size());
    std::iota(m_rows.begin(), m_rows.end(), 0u);
  }
  ShowListRows(*this, m_results.Count());
}

void TFindGrid::ClearSort() {
  m_sortedCol = -1;
  m_descendingNext.fill(false);
  ResultsChanged();
}

const TkzmEntry* TFindGrid::ResultOfRow(int row) const {
  const int index = row - 1;
  if (index < 0 || index >= static_cast<int>(m_rows.size())) return nullptr;
  const uint32_t at = m_rows[static_cast<size_t>(index)];
  return at < m_results.Entries().size() ? &m_results.Entries()[at] : nullptr;
}

bool TFindGrid::TextLess(const std::string& a, const std::string& b) const {
  return m_collator.compare(Q(a), Q(b)) < 0;
}

void TFindGrid::SortByColumn(int col) {
  if (col < 0 || col >= kSearchColumnCount) return;
  const bool descending = m_descendingNext[static_cast<size_t>(col)];
  if (m_sortedCol < 0) {
    // From date order, as the rows show it, so that rows with equal keys stay in the order
    // seen. Taken afresh: a search still running may have added results since.
    SortSearchResults(m_results.Entries(), kColumnDate, false, {});
  }
  SortSearchResults(m_results.Entries(), col, descending,
                    [this](const std::string& a, const std::string& b) { return TextLess(a, b); });
  m_descendingNext[static_cast<size_t>(col)] = !descending;
  m_sortedCol = col;
  ResultsChanged();
}

const TkzmEntry* TFindGrid::SelectedResult() const { return ResultOfRow(Row()); }

QString TFindGrid::SpokenCell(int col, int row) const {
  if (col < 0 || col >= kSearchColumnCount) return {};
  if (row == 0) {
    const QString header = QString::fromUtf8(kHeaders[col]);
    if (col != m_sortedCol) return header;
    return header + (m_descendingNext[static_cast<size_t>(col)] ? QStringLiteral(" 昇順") : QStringLiteral(" 降順"));
  }
  const TkzmEntry* result = ResultOfRow(row);
  if (!result) return {};
  return Q(col == kColumnAmount ? SpokenAmount(result->amount) : CellText(col, *result));
}

void TFindGrid::DrawCell(QPainter& canvas, int col, int row, const QRect& rect, TGridDrawState) {
  if (row == 0) {
    DrawHeader(canvas, col, rect);
    return;
  }
  if (const TkzmEntry* result = ResultOfRow(row)) {
    DrawResultCell(canvas, col, *result, rect);
  } else {
    // The blank row of an empty list is no result to be selected.
    canvas.fillRect(rect, Color());
  }
}

void TFindGrid::DrawResultCell(QPainter& canvas, int col, const TkzmEntry& entry, const QRect& rect) {
  const QFontMetrics metrics(canvas.font());
  const auto measure = [&metrics](std::string_view text) {
    return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  };
  const QString text = Q(FitText(CellText(col, entry), measure, rect.width() - 4));
  const int y = rect.top() + 2 + metrics.ascent();
  if (col == kColumnAmount) {
    canvas.drawText(rect.right() - 1 - metrics.horizontalAdvance(text), y, text);
  } else {
    canvas.drawText(rect.left() + 2, y, text);
  }
}

void TFindGrid::DrawHeader(QPainter& canvas, int col, const QRect& rect) {
  const QPalette& pal = palette();
  TColor face = FromQColor(pal.color(QPalette::Button));
  if (col == m_pressedCol) {
    face = DarkenColor(face, 80);
  } else if (col == m_hoverCol) {
    face = LightenColor(face, 50);
  }
  canvas.fillRect(rect, ToQColor(face));
  if (col > 0) canvas.fillRect(rect.left(), rect.top(), 1, rect.height(), pal.color(QPalette::Dark));
  if (col < kSearchColumnCount - 1) canvas.fillRect(rect.right(), rect.top(), 1, rect.height(), pal.color(QPalette::Light));
  const QColor bar = col == m_hoverCol ? pal.color(QPalette::Highlight) : ToQColor(DarkenColor(face, 80));
  canvas.fillRect(rect.left(), rect.bottom() - 2, rect.width(), 3, bar);

  QString caption = QString::fromUtf8(kHeaders[col]);
  // The column last sorted shows which way it went.
  if (col == m_sortedCol) caption += m_descendingNext[static_cast<size_t>(col)] ? QStringLiteral(" ▲") : QStringLiteral(" ▼");
  canvas.setPen(pal.color(QPalette::ButtonText));
  canvas.drawText(rect.adjusted(2, 0, -2, -3), Qt::AlignCenter, caption);
}

int TFindGrid::HeaderButtonAt(QPoint pos) const {
  const TGridCoord cell = MouseCoord(pos.x(), pos.y());
  if (cell.X < 0 || cell.Y != 0) return -1;
  const QRect rect = CellRect(cell.X, 0);
  if (pos.x() - rect.left() <= kEdgeZone || rect.right() - pos.x() <= kEdgeZone) return -1;
  return cell.X;
}

void TFindGrid::SetHover(int col) {
  if (col == m_hoverCol) return;
  if (m_hoverCol >= 0 && m_hoverCol < ColCount()) InvalidateCell(m_hoverCol, 0);
  m_hoverCol = col;
  if (col >= 0) InvalidateCell(col, 0);
}

void TFindGrid::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  const int col = event->button() == Qt::LeftButton ? HeaderButtonAt(pos) : -1;
  if (col < 0) {
    TorvDrawGrid::mousePressEvent(event);
    return;
  }
  if (!hasFocus()) setFocus(Qt::MouseFocusReason);
  m_pressedCol = col;
  SortByColumn(col);
}

void TFindGrid::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  const TGridCoord cell = MouseCoord(pos.x(), pos.y());
  SetHover(cell.Y == 0 && GridState() == TGridState::gsNormal ? cell.X : -1);
  TorvDrawGrid::mouseMoveEvent(event);
}

void TFindGrid::mouseReleaseEvent(QMouseEvent* event) {
  if (m_pressedCol >= 0) {
    InvalidateCell(m_pressedCol, 0);
    m_pressedCol = -1;
  }
  TorvDrawGrid::mouseReleaseEvent(event);
}

bool TFindGrid::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::Leave) SetHover(-1);
  return TorvDrawGrid::viewportEvent(event);
}

void TFindGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  const TGridCoord cell = MouseCoord(pos.x(), pos.y());
  const TkzmEntry* result = SelectedResult();
  if (cell.Y >= 1 && result && OnOpenResult) {
    OnOpenResult(*result);
    return;
  }
  TorvDrawGrid::mouseDoubleClickEvent(event);
}

void TFindGrid::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && SelectedResult() && OnOpenResult) {
    OnOpenResult(*SelectedResult());
    return;
  }
  TorvDrawGrid::keyPressEvent(event);
}

}  // namespace kzm::ui
