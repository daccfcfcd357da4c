#include "ui/analysis/SearchPrintout.h"

#include "foundation/DateTexts.h"
#include "foundation/Text.h"
#include "graphics/GraphicSource.h"
#include "graphics/qt/CanvasRoutines.h"
#include "passbook/Search.h"
#include "printing/PrintPreviewWindow.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <array>

namespace kzm::ui {

namespace {

constexpr int kColumns = 6;
constexpr int kAmountColumn = 3;

// The measures of a page, all in printer pixels.
struct TPrintLayout {
  int width = 0;   // W: printable width
  int height = 0;  // H: printable height
  int side = 0;    // m
  int top = 0;     // t
  int line = 0;    // L
  int unit = 1;    // k: thin line width, grows with the resolution
  int pointSize = 1;
  std::array<int, kColumns> columns{};
  [[nodiscard]] int RowsPerPage() const {
    const int first = top + 3 * line;
    return std::max(1, (height - top - first) / std::max(1, line));
  }
};

QString Q(const std::string& text) { return QString::fromStdString(text); }

TPrintLayout MakeLayout(QPainter& canvas, const TPageMetrics& metrics) {
  TPrintLayout l;
  l.width = metrics.printableWidth;
  l.height = metrics.printableHeight;
  l.side = l.width / 20;
  l.top = l.height / 50;
  // A character height of H / 80 pixels, then set again as whole points.
  const double pixels = std::max(1, l.height / 80);
  l.pointSize = std::max(1, static_cast<int>(pixels * 72.0 / std::max(1, metrics.dpiY) + 0.5));
  QFont font = canvas.font();
  font.setPointSize(l.pointSize);
  canvas.setFont(font);
  const QFontMetrics fm = canvas.fontMetrics();
  const int textHeight = fm.height();  // the height of a line of text such as "☆"
  l.unit = std::max(1, textHeight / 20);
  l.line = textHeight + 4 * l.unit;
  const int w = fm.horizontalAdvance(QStringLiteral("0000/00/00")) + 8 * l.unit;
  l.columns = {w, w, w + 2 * l.line, w, w, 0};
  int others = 0;
  for (int i = 0; i < kColumns - 1; ++i) others += l.columns[static_cast<size_t>(i)];
  l.columns[kColumns - 1] = std::max(0, l.width - 2 * l.side - others);
  return l;
}

void SetPointSize(QPainter& canvas, int points) {
  QFont font = canvas.font();
  font.setPointSize(std::max(1, points));
  canvas.setFont(font);
}

void DrawHeading(QPainter& canvas, const TPrintLayout& l, const QImage& title, int count, int page, int pages,
                 const std::string& printedAt) {
  int x = l.side;
  if (!title.isNull()) {
    const int h = 2 * l.line;
    const int w = title.height() > 0 ? title.width() * h / title.height() : 0;
    canvas.drawImage(QRect(l.side, l.top, w, h), title);
    x += w;
  }
  x += 8 * l.unit;
  SetPointSize(canvas, l.pointSize / 2);
  const int small = canvas.fontMetrics().height();
  const int right = l.width - l.side;
  canvas.drawText(QRect(x, l.top + l.line, right - x, small), Qt::AlignLeft | Qt::AlignTop,
                  QStringLiteral("検索結果印刷:%1件").arg(count));
  canvas.drawText(QRect(x, l.top + l.line + small, right - x, small), Qt::AlignLeft | Qt::AlignTop, Q(printedAt));
  canvas.fillRect(QRect(l.side, l.top + 2 * l.line - (3 * l.unit) / 2, right - l.side, 3 * l.unit), Qt::black);
  SetPointSize(canvas, l.pointSize);
  canvas.drawText(QRect(l.side, l.top, right - l.side, canvas.fontMetrics().height()), Qt::AlignRight | Qt::AlignTop,
                  QStringLiteral("%1/%2").arg(page).arg(pages));
}

void DrawRow(QPainter& canvas, const TPrintLayout& l, const std::vector<std::string>& cells, int y) {
  const QFontMetrics fm = canvas.fontMetrics();
  const auto measure = [&fm](std::string_view text) {
    return fm.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  };
  const int pad = 4 * l.unit;
  int x = l.side;
  for (int c = 0; c < kColumns && c < static_cast<int>(cells.size()); ++c) {
    const int width = l.columns[static_cast<size_t>(c)];
    const QString text = Q(FitText(cells[static_cast<size_t>(c)], measure, width - 8 * l.unit));
    const QRect box(x + pad, y, std::max(0, width - 2 * pad), l.line);
    canvas.drawText(box, (c == kAmountColumn ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop, text);
    x += width;
  }
  canvas.fillRect(QRect(l.side, y + l.line - 4 * l.unit, l.width - 2 * l.side, l.unit), QColor(0xC0, 0xC0, 0xC0));
}

}  // namespace

void DrawSearchPrintout(TFormPrintPreView& preview, const std::vector<TkzmEntry>& results,
                        const std::string& printedAt) {
  QPainter& canvas = preview.Engine().Canvas();
  const TPrintLayout l = MakeLayout(canvas, preview.PageMetrics());
  canvas.setBackgroundMode(Qt::TransparentMode);
  canvas.setPen(Qt::black);
  // The pages are counted first, so that every page can say how many there are.
  const int perPage = l.RowsPerPage();
  const int count = static_cast<int>(results.size());
  const int pages = std::max(1, (count + perPage - 1) / perPage);
  preview.SetPageTotal(pages);
  // The title picture is decoded once for all pages, and every page shares the one copy.
  QImage title;
  if (TGraphicPtr picture = ImageSource().GetImage("PrtTitle.png")) {
    title = BitmapAsImage(*picture).copy();
    ImageSource().ReleaseImage(picture);
  }
  for (int page = 1; page <= pages; ++page) {
    if (page > 1) preview.Engine().NewPage();
    QPainter& pageCanvas = preview.Engine().Canvas();
    DrawHeading(pageCanvas, l, title, count, page, pages, printedAt);
    const int first = (page - 1) * perPage;
    const int last = std::min(count, first + perPage);
    for (int i = first; i < last; ++i)
      DrawRow(pageCanvas, l, SearchResultCells(results[static_cast<size_t>(i)]), l.top + 3 * l.line + (i - first) * l.line);
  }
}

void ShowSearchPrintout(const std::vector<TkzmEntry>& results, QWidget* owner) {
  const QDateTime now = QDateTime::currentDateTime();
  const QDate epoch(1899, 12, 30);
  const std::string printedAt = FormatDateTime(static_cast<TDayNumber>(epoch.daysTo(now.date())),
                                               now.time().msecsSinceStartOfDay() / 1000);
  ShowPrintPreview([&results, printedAt](TFormPrintPreView& preview) { DrawSearchPrintout(preview, results, printedAt); },
                   owner);
}

}  // namespace kzm::ui
