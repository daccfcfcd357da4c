#include "printing/PrintPreview.h"

#include "controls/Fonts.h"

#include <QPainter>
#include <QPrinter>

namespace kzm::ui {

TPrintPreview::TPrintPreview(QPrinter& printer) : m_printer(printer) {}

TPrintPreview::~TPrintPreview() { FinishCanvas(); }

void TPrintPreview::BeginDoc() {
  if (m_printing) throw EPrintPreviewError("TPrintPreview: BeginDoc: Already Printing");
  m_pages.clear();
  m_printing = true;
  NewPage();
}

void TPrintPreview::NewPage() {
  if (!m_printing) throw EPrintPreviewError("TPrintPreview.NewPage: not Printing");
  if (m_onNewPage && !m_pages.empty()) m_onNewPage(PageCount());
  const TPageMetrics metrics = GetPageMetrics();
  auto page = std::make_unique<TMetafileEx>(metrics.dpiX, metrics.dpiY, metrics.printableWidth,
                                            metrics.printableHeight);
  auto canvas = std::make_unique<QPainter>(page.get());
  if (m_canvas) {
    canvas->setFont(m_canvas->font());
    canvas->setPen(m_canvas->pen());
    canvas->setBrush(m_canvas->brush());
    canvas->setCompositionMode(m_canvas->compositionMode());
    canvas->setBackgroundMode(m_canvas->backgroundMode());
    canvas->setBackground(m_canvas->background());
    canvas->setLayoutDirection(m_canvas->layoutDirection());
  } else {
    // The page's resolution is the printer's, so points come out at the printer's size.
    canvas->setFont(ProgramFont(9));
  }
  FinishCanvas();
  m_canvas = std::move(canvas);
  m_pages.push_back(std::move(page));
}

void TPrintPreview::EndDoc() {
  if (!m_printing) throw EPrintPreviewError("TPrintPreview.EndDoc: not Printing");
  FinishCanvas();
  m_printing = false;
}

void TPrintPreview::FinishCanvas() {
  if (m_canvas) m_canvas->end();
  m_canvas.reset();
}

QPainter& TPrintPreview::Canvas() {
  if (!m_printing || !m_canvas) throw EPrintPreviewError("TPrintPreview.GetCanvas: not Printing");
  return *m_canvas;
}

const TMetafileEx& TPrintPreview::Pages(int index) const {
  if (m_printing) throw EPrintPreviewError("TPrinterPreview.GetPage: Pages cannot be used when printing");
  if (index < 0 || index >= PageCount()) throw EPrintPreviewError("TPrinterCanvas.GetPage: Index is out of Range");
  return *m_pages[static_cast<size_t>(index)];
}

TPageMetrics TPrintPreview::GetPageMetrics() const { return kzm::ui::GetPageMetrics(m_printer); }

}  // namespace kzm::ui
