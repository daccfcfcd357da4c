#include "controls/RoundButton.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>
#include <QTransform>

#include <algorithm>

#include "controls/CanvasRoutines.h"
#include "controls/UiBasics.h"

namespace kzm::ui {

namespace {

bool IsPressKey(const QKeyEvent* event) {
  const int key = event->key();
  return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

TQtRepeatTimer::TQtRepeatTimer() {
  QObject::connect(&m_timer, &QTimer::timeout, [this] {
    if (OnTick) OnTick();
  });
}

void TQtRepeatTimer::Start(int intervalMs) { m_timer.start(intervalMs); }

void TQtRepeatTimer::Stop() { m_timer.stop(); }

TorvWinButton::TorvWinButton(QWidget* parent) : QWidget(parent), m_input(std::make_unique<TQtRepeatTimer>()) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  m_draw.OnChanged = [this] {
    ApplyRegion();
    update();
  };
  m_draw.OnCaptureParent = [this](TBitmap& background) { CaptureParent(background); };
  m_input.OnRepaint = [this] { SyncState(); };
  m_input.OnClick = [this] { emit OnClick(); };
  SyncColors();
  SyncSize();
  SyncState();
}

TorvWinButton::~TorvWinButton() {
  // The painter outlives nothing of ours, but its callbacks must not reach a half-gone widget.
  m_draw.OnChanged = nullptr;
  m_draw.OnCaptureParent = nullptr;
  m_input.OnRepaint = nullptr;
  m_input.OnClick = nullptr;
}

void TorvWinButton::SetCaption(const QString& caption) {
  if (caption == m_caption) return;
  m_caption = caption;
  m_draw.SetCaption(caption.toStdString());
  if (m_shortcutId != 0) releaseShortcut(m_shortcutId);
  const QKeySequence mnemonic = QKeySequence::mnemonic(caption);
  m_shortcutId = mnemonic.isEmpty() ? 0 : grabShortcut(mnemonic);
}

void TorvWinButton::SetTabStop(bool tabStop) {
  m_tabStop = tabStop;
  // A click still takes the focus when the button is left out of the tab order.
  setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

bool TorvWinButton::event(QEvent* event) {
  if (event->type() == QEvent::Shortcut && static_cast<QShortcutEvent*>(event)->shortcutId() == m_shortcutId) {
    const bool parentShowing = parentWidget() == nullptr || parentWidget()->isVisible();
    if (isEnabled() && isVisible() && parentShowing) emit OnClick();
    return true;
  }
  return QWidget::event(event);
}

void TorvWinButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  m_draw.PaintTo(painter, devicePixelRatioF());
}

void TorvWinButton::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  SyncSize();
}

// Drawn at the screen's own resolution: a button drawn one pixel a point and enlarged on a
// screen of two device pixels a point looks soft.
void TorvWinButton::SyncSize() {
  const qreal ratio = devicePixelRatioF();
  QFont scaled = font();
  if (scaled.pixelSize() > 0) {
    scaled.setPixelSize(std::max(1, qRound(scaled.pixelSize() * ratio)));
  } else {
    scaled.setPointSizeF(scaled.pointSizeF() * ratio);
  }
  m_draw.SetFont(scaled);
  m_draw.SetScale(qRound(ratio));
  m_draw.SetSize(qRound(width() * ratio), qRound(height() * ratio));
}

void TorvWinButton::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (m_draw.TransParent()) {
    m_draw.RecaptureBackground();
    update();
  }
}

void TorvWinButton::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  SyncSize();  // the screen, and with it the device pixel ratio, is known once shown
  if (m_draw.TransParent()) m_draw.RecaptureBackground();
}

void TorvWinButton::changeEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::EnabledChange: m_input.SetEnabled(isEnabled()); break;
    case QEvent::FontChange: SyncSize(); break;
    case QEvent::PaletteChange: SyncColors(); break;
    default: break;
  }
  QWidget::changeEvent(event);
}

void TorvWinButton::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  m_input.MouseEnter();
}

void TorvWinButton::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  m_input.MouseLeave();
}

void TorvWinButton::mousePressEvent(QMouseEvent* event) {
  if (!hasFocus() && focusPolicy() != Qt::NoFocus) setFocus(Qt::MouseFocusReason);
  m_input.MouseDown(event->button() == Qt::LeftButton);
}

// A double click is two clicks.
void TorvWinButton::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

// While the button is held the pointer stays ours, so leaving and coming back are found here.
void TorvWinButton::mouseMoveEvent(QMouseEvent* event) {
  const bool inside = IsInside(event->position().toPoint());
  if (!inside && m_input.Hover()) m_input.MouseLeave();
  if (inside && !m_input.Hover()) m_input.MouseEnter();
}

void TorvWinButton::mouseReleaseEvent(QMouseEvent* event) {
  m_input.MouseUp(event->button() == Qt::LeftButton, IsInside(event->position().toPoint()));
}

void TorvWinButton::keyPressEvent(QKeyEvent* event) {
  if (!IsPressKey(event)) {
    QWidget::keyPressEvent(event);
    return;
  }
  if (!event->isAutoRepeat()) m_input.KeyDown();
}

void TorvWinButton::keyReleaseEvent(QKeyEvent* event) {
  if (!IsPressKey(event)) {
    QWidget::keyReleaseEvent(event);
    return;
  }
  if (!event->isAutoRepeat()) m_input.KeyUp();
}

void TorvWinButton::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  SyncState();
  emit OnEnter();
}

void TorvWinButton::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  SyncState();
  emit OnExit();
}

bool TorvWinButton::IsInside(const QPoint& pos) const {
  if (!rect().contains(pos)) return false;
  return mask().isEmpty() || mask().contains(pos);
}

void TorvWinButton::SyncState() { m_draw.SetState(m_input.State(hasFocus())); }

void TorvWinButton::SyncColors() {
  m_draw.SetBackColor(FromQColor(palette().color(QPalette::Window)));
  m_draw.SetFontColor(FromQColor(palette().color(QPalette::WindowText)));
}

void TorvWinButton::ApplyRegion() {
  if (!m_draw.TakeRegionChanged()) return;
  if (m_draw.WindowRegion().IsEmpty()) {
    clearMask();
  } else {
    // The region is in the picture's device pixels; the mask is in the widget's own.
    const qreal ratio = devicePixelRatioF();
    const QRegion region = m_draw.WindowRegion().Handle();
    setMask(ratio == 1.0 ? region : QTransform::fromScale(1.0 / ratio, 1.0 / ratio).map(region));
  }
}

// Only the parent's own painting is taken, not its children (this button among them).
void TorvWinButton::CaptureParent(TBitmap& background) {
  QWidget* parent = parentWidget();
  if (parent == nullptr) return;
  QImage image = BitmapAsImage(background);
  image.reinterpretAsFormat(QImage::Format_RGB32);
  image.setDevicePixelRatio(devicePixelRatioF());
  parent->render(&image, QPoint(), QRegion(geometry()), QWidget::DrawWindowBackground);
}

}  // namespace kzm::ui
