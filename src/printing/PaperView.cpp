#include "printing/PaperView.h"

#include "printing/MetafileEx.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kzm::ui {

namespace {

// The paper lies 50 printer pixels in, its shadow 50 further; 150 make room for both.
constexpr int kPaperInset = 50;
constexpr int kShadowInset = 100;
constexpr int kBorder = 150;
// Qt's device-independent pixels per inch: the paper's real size on the screen.
constexpr double kScreenDpi = 96.0;

}  // namespace

TPaperView::TPaperView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Image1"));
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPaperView::SetPage(const TMetafileEx* page, const TPageMetrics& metrics, int zoom) {
  m_page = page;
  m_metrics = metrics;
  m_zoom = zoom;
  resize(sizeHint());
  update();
}

double TPaperView::ScaleX() const { return m_metrics.dpiX > 0 ? m_zoom / 100.0 * kScreenDpi / m_metrics.dpiX : 0; }

double TPaperView::ScaleY() const { return m_metrics.dpiY > 0 ? m_zoom / 100.0 * kScreenDpi / m_metrics.dpiY : 0; }

QSize TPaperView::sizeHint() const {
  return {std::max(1, static_cast<int>(std::ceil((m_metrics.physicalWidth + kBorder) * ScaleX()))),
          std::max(1, static_cast<int>(std::ceil((m_metrics.physicalHeight + kBorder) * ScaleY())))};
}

void TPaperView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), palette().color(QPalette::Window));
  painter.scale(ScaleX(), ScaleY());
  const TPageMetrics& m = m_metrics;
  painter.fillRect(QRect(kShadowInset, kShadowInset, m.physicalWidth, m.physicalHeight), QColor(0x80, 0x80, 0x80));
  painter.setPen(QPen(Qt::black, 0));
  painter.setBrush(Qt::white);
  painter.drawRect(QRect(kPaperInset, kPaperInset, m.physicalWidth, m.physicalHeight));
  if (!m_page) return;
  const int x = m.offsetX + kPaperInset;
  const int y = m.offsetY + kPaperInset;
  m_page->Draw(painter, x, y);
  QPen dotted(QColor(0xC0, 0xC0, 0xC0), 0, Qt::DotLine);
  painter.setPen(dotted);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRect(x, y, m.printableWidth, m.printableHeight));
}

}  // namespace kzm::ui
