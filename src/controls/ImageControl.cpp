#include "controls/ImageControl.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "controls/CanvasRoutines.h"

namespace kzm::ui {

namespace {

TMouseButton ButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::RightButton: return TMouseButton::mbRight;
    case Qt::MiddleButton: return TMouseButton::mbMiddle;
    default: return TMouseButton::mbLeft;
  }
}

TShiftState ShiftOf(const QMouseEvent& event) {
  TShiftState state = 0;
  const Qt::KeyboardModifiers keys = event.modifiers();
  if (keys & Qt::ShiftModifier) state |= ssShift;
  if (keys & Qt::AltModifier) state |= ssAlt;
  if (keys & Qt::ControlModifier) state |= ssCtrl;
  const Qt::MouseButtons buttons = event.buttons();
  if (buttons & Qt::LeftButton) state |= ssLeft;
  if (buttons & Qt::RightButton) state |= ssRight;
  if (buttons & Qt::MiddleButton) state |= ssMiddle;
  return state;
}

}  // namespace

TorvImage::TorvImage(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(100, 100);
  m_root.SetCanvas(this);
  m_root.SetSize(100, 100);
}

TorvImage::~TorvImage() { m_root.SetCanvas(nullptr); }

void TorvImage::RenderScene() {
  // A hidden control gets its resize event only when shown; the scene follows its size now.
  if (m_root.Width() != width() || m_root.Height() != height()) m_root.SetSize(width(), height());
  if (m_root.Dirty()) m_root.Render();
}

void TorvImage::SetMouseAction(bool on) {
  m_mouseAction = on;
  setMouseTracking(on);
  if (on) m_root.SetMouseEvents(true);
}

void TorvImage::RepaintRegion(const TRegion& region) { update(region.Handle()); }

void TorvImage::paintEvent(QPaintEvent* event) {
  const TBitmap* image = m_root.CurrentImage();
  if (!image || image->IsEmpty()) return;
  QPainter painter(this);
  painter.setClipRegion(event->region());
  const QImage view = BitmapAsImage(*image);
  const QRect target(m_root.Left(), m_root.Top(), m_root.Width(), m_root.Height());
  if (target.size() == view.size()) {
    for (const QRect& r : event->region()) painter.drawImage(r.topLeft(), view, r.translated(-target.topLeft()));
  } else {
    painter.drawImage(target, view);
  }
}

void TorvImage::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  m_root.SetSize(width(), height());
  RenderScene();
}

void TorvImage::mousePressEvent(QMouseEvent* event) {
  if (!m_mouseAction) return QWidget::mousePressEvent(event);
  const QPoint p = event->position().toPoint();
  m_root.MouseDown(ButtonOf(event->button()), ShiftOf(*event), p.x() - m_root.Left(), p.y() - m_root.Top());
  RenderScene();
}

void TorvImage::mouseMoveEvent(QMouseEvent* event) {
  if (!m_mouseAction) return QWidget::mouseMoveEvent(event);
  const QPoint p = event->position().toPoint();
  m_root.MouseMove(p.x() - m_root.Left(), p.y() - m_root.Top());
  RenderScene();
}

void TorvImage::mouseReleaseEvent(QMouseEvent* event) {
  if (!m_mouseAction) return QWidget::mouseReleaseEvent(event);
  const QPoint p = event->position().toPoint();
  m_root.MouseUp(ButtonOf(event->button()), ShiftOf(*event), p.x() - m_root.Left(), p.y() - m_root.Top());
  RenderScene();
}

void TorvImage::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double click is still a press for the scene.
  mousePressEvent(event);
  const QPoint p = event->position().toPoint();
  emit DoubleClicked(p.x(), p.y());
}

void TorvImage::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  if (!m_mouseAction) return;
  m_root.MouseLeave();
  RenderScene();
}

}  // namespace kzm::ui
