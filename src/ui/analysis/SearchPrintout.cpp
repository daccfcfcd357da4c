#include "ui/analysis/SearchPrintout.h"

#include "controls/CanvasRoutines.h"
#include "controls/UiBasics.h"
#include "foundation/DateTexts.h"
#include "foundation/Dates.h"
#include "foundation/Text.h"
#include "graphics/GraphicSource.h"
#include "printing/PrintPreviewWindow.h"
#include "search/Search.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTime>

#include <algorithm>
#include <array>
#include <memory>
#include <utility>

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

// The results' pages: laid out once on a page canvas, then any page drawn by itself.
class TSearchPages {
 public:
  TSearchPages(const std::vector<TkzmEntry>& results, std::string printedAt)
      : m_results(results), m_printedAt(std::move(printedAt)) {}

  // Lays the pages out for the preview's printer; the number of pages.
  int Layout(TFormPrintPreView& preview) {
    m_layout = MakeLayout(preview.Engine().Canvas(), preview.PageMetrics());
    m_perPage = m_layout.RowsPerPage();
    // The pages are counted first, so that every page can say how many there are.
    m_pages = std::max(1, (Count() + m_perPage - 1) / m_perPage);
    // Decoded once for all pages, and every page shares the one copy.
    if (m_title.isNull()) {
      if (TGraphicPtr picture = ImageSource().GetImage("PrtTitle.png")) {
        m_title = BitmapAsImage(*picture).copy();
        ImageSource().ReleaseImage(picture);
      }
    }
    return m_pages;
  }

  void DrawPage(QPainter& canvas, int page) const {
    SetPointSize(canvas, m_layout.pointSize);
    canvas.setBackgroundMode(Qt::TransparentMode);
    canvas.setPen(Qt::black);
    DrawHeading(canvas, m_layout, m_title, Count(), page, m_pages, m_printedAt);
    const int first = (page - 1) * m_perPage;
    const int last = std::min(Count(), first + m_perPage);
    for (int i = first; i < last; ++i) {
      const int y = m_layout.top + 3 * m_layout.line + (i - first) * m_layout.line;
      DrawRow(canvas, m_layout, SearchResultCells(m_results[static_cast<size_t>(i)]), y);
    }
  }

 private:
  [[nodiscard]] int Count() const { return static_cast<int>(m_results.size()); }

  const std::vector<TkzmEntry>& m_results;
  std::string m_printedAt;
  TPrintLayout m_layout;
  QImage m_title;
  int m_perPage = 1;
  int m_pages = 1;
};

}  // namespace

void DrawSearchPrintout(TFormPrintPreView& preview, const std::vector<TkzmEntry>& results,
                        const std::string& printedAt) {
  TSearchPages pages(results, printedAt);
  const int count = pages.Layout(preview);
  preview.SetPageTotal(count);
  for (int page = 1; page <= count; ++page) {
    if (page > 1) preview.Engine().NewPage();
    pages.DrawPage(preview.Engine().Canvas(), page);
  }
}

TPagedPrintout SearchPrintoutPages(const std::vector<TkzmEntry>& results, const std::string& printedAt) {
  auto pages = std::make_shared<TSearchPages>(results, printedAt);
  return TPagedPrintout{[pages](TFormPrintPreView& preview) { return pages->Layout(preview); },
                        [pages](TFormPrintPreView& preview, int page) {
                          pages->DrawPage(preview.Engine().Canvas(), page);
                        }};
}

void ShowSearchPrintout(const std::vector<TkzmEntry>& results, QWidget* owner) {
  // The day from the program's clock (which tests may fix), the time of day from the system.
  const int secondsOfDay = QTime::currentTime().msecsSinceStartOfDay() / 1000;
  const std::string printedAt = FormatDateTime(Today(), secondsOfDay);
  ShowPrintPreview(SearchPrintoutPages(results, printedAt), owner);
}

}  // namespace kzm::ui
