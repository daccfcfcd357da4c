#include "StateTile.h"

#include <QPainter>

#include "controls/CanvasRoutines.h"

namespace kzm::demo {

namespace {

TColor FromQColor(const QColor& c) { return MakeColor(c.red(), c.green(), c.blue()); }

}  // namespace

TStateTile::TStateTile(const ui::TorvBtnSettings& settings, const QString& caption, ui::TBtnState state,
                       QWidget* parent)
    : QWidget(parent) {
  setFixedSize(64, 64);
  setAttribute(Qt::WA_OpaquePaintEvent);
  m_draw.SetSettings(settings);
  m_draw.SetCaption(caption.toStdString());
  m_draw.SetFont(font());
  m_draw.SetFontColor(FromQColor(palette().color(QPalette::WindowText)));
  m_draw.SetBackColor(FromQColor(palette().color(QPalette::Window)));
  m_draw.SetState(state);
  m_draw.SetSize(width(), height());
  m_draw.OnCaptureParent = [this](TBitmap& background) {
    QImage image = ui::BitmapAsImage(background);
    image.reinterpretAsFormat(QImage::Format_RGB32);
    parentWidget()->render(&image, QPoint(), QRegion(geometry()), QWidget::DrawWindowBackground);
  };
}

void TStateTile::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  m_draw.PaintTo(painter);
}

void TStateTile::resizeEvent(QResizeEvent*) { m_draw.SetSize(width(), height()); }

}  // namespace kzm::demo
