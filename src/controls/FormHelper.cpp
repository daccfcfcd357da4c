#include "controls/FormHelper.h"

#include "controls/FormRules.h"
#include "controls/NoticeEvent.h"
#include "controls/ScreenPlacement.h"
#include "foundation/AppGlobal.h"
#include "foundation/WindowSystem.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QUrl>
#include <QWindow>

namespace kzm::ui {

namespace {

// How long a window must stand still before a move counts as finished: the desktop does not
// tell when the user lets go of a window.
constexpr int kMoveSettleMs = 300;

Qt::Edges EdgesOf(TResizeBand band) {
  switch (band) {
    case TResizeBand::rbTop: return Qt::TopEdge;
    case TResizeBand::rbBottom: return Qt::BottomEdge;
    case TResizeBand::rbLeft: return Qt::LeftEdge;
    case TResizeBand::rbRight: return Qt::RightEdge;
    case TResizeBand::rbTopLeft: return Qt::TopEdge | Qt::LeftEdge;
    case TResizeBand::rbTopRight: return Qt::TopEdge | Qt::RightEdge;
    case TResizeBand::rbBottomLeft: return Qt::BottomEdge | Qt::LeftEdge;
    case TResizeBand::rbBottomRight: return Qt::BottomEdge | Qt::RightEdge;
    case TResizeBand::rbNone: break;
  }
  return {};
}

Qt::CursorShape CursorOf(TResizeBand band) {
  switch (band) {
    case TResizeBand::rbTop:
    case TResizeBand::rbBottom: return Qt::SizeVerCursor;
    case TResizeBand::rbLeft:
    case TResizeBand::rbRight: return Qt::SizeHorCursor;
    case TResizeBand::rbTopLeft:
    case TResizeBand::rbBottomRight: return Qt::SizeFDiagCursor;
    case TResizeBand::rbTopRight:
    case TResizeBand::rbBottomLeft: return Qt::SizeBDiagCursor;
    case TResizeBand::rbNone: break;
  }
  return Qt::ArrowCursor;
}

}  // namespace

TorvFormFunc::TorvFormFunc(QWidget* owner) : QObject(owner), m_owner(owner) {
  Q_ASSERT(owner);
  m_moveEnd.setSingleShot(true);
  m_moveEnd.setInterval(kMoveSettleMs);
  connect(&m_moveEnd, &QTimer::timeout, this, &TorvFormFunc::WindowMoveEnded);
  // Ending the desktop session asks the application to save; that is this window's cue.
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    connect(app, &QGuiApplication::commitDataRequest, this, [this] {
      if (OnEndSession) OnEndSession(*this);
      SavePlacement();
    });
  }
  owner->installEventFilter(this);
  m_normalBounds = OwnerPlace();
}

TorvFormFunc::~TorvFormFunc() {
  // The owner is still a QWidget here (QWidget frees its children first), though no longer
  // of its own class.
  SavePlacement();
}

std::string TorvFormFunc::SectionName() const {
  QString name = QString::fromLatin1(m_owner->metaObject()->className());
  const qsizetype colon = name.lastIndexOf(QLatin1String("::"));
  if (colon >= 0) name = name.mid(colon + 2);
  return name.toUpper().toStdString();
}

TWindowRect TorvFormFunc::OwnerPlace() const {
  const QRect client = m_owner->geometry();
  return TWindowRect{client.x(), client.y(), client.width(), client.height()};
}

TWindowRect TorvFormFunc::OwnerFrame() const {
  const QRect frame = m_owner->frameGeometry();
  return TWindowRect{frame.x(), frame.y(), frame.width(), frame.height()};
}

void TorvFormFunc::SetEraseBackGround(bool v) {
  m_eraseBackGround = v;
  if (m_owner) m_owner->setAttribute(Qt::WA_OpaquePaintEvent, !v);
}

void TorvFormFunc::SetDragDrop(bool v) {
  m_dragDrop = v;
  if (m_owner) m_owner->setAcceptDrops(v);
}

void TorvFormFunc::SetWindowResize(bool v) {
  m_windowResize = v;
  if (m_owner) m_owner->setMouseTracking(v || m_owner->hasMouseTracking());
}

void TorvFormFunc::SetWindowRound(bool v) {
  m_windowRound = v;
  if (!m_owner || !m_owner->windowFlags().testFlag(Qt::FramelessWindowHint)) return;
  if (v) {
    ApplyRoundRegion();
  } else {
    m_owner->clearMask();
  }
}

void TorvFormFunc::SetWindowPosition(TwindowPosition v) {
  if (v == m_windowPosition || !m_owner) return;
  m_windowPosition = v;
  const bool wasVisible = m_owner->isVisible();
  m_owner->setWindowFlag(Qt::WindowStaysOnTopHint, v == TwindowPosition::wpTop);
  m_owner->setWindowFlag(Qt::WindowStaysOnBottomHint, v == TwindowPosition::wpBottom);
  if (v != TwindowPosition::wpBottom || wasVisible) m_owner->show();
  if (v == TwindowPosition::wpBottom) m_owner->lower();
}

void TorvFormFunc::ApplyRoundRegion() {
  QRegion region;
  for (const TWindowRect& r : RoundedCornerRects(m_owner->width(), m_owner->height()))
    region += QRect(r.left, r.top, r.width, r.height);
  m_owner->setMask(region);
}

void TorvFormFunc::RememberNormalBounds() {
  if (!m_owner->isMaximized() && !m_owner->isMinimized() && !m_owner->isFullScreen()) m_normalBounds = OwnerPlace();
}

void TorvFormFunc::SavePlacement() {
  if (!m_preserve || !m_owner || !m_placementRestored) return;
  const TWindowRect r = m_maximized || m_owner->isMaximized() || m_owner->isMinimized() ? m_normalBounds : OwnerPlace();
  const std::string& section = m_section;
  TorvGlobal& global = AppGlobal();
  if (m_keepLocation) {
    global.WriteAppInteger(section, "TOP", r.top);
    global.WriteAppInteger(section, "LEFT", r.left);
  }
  if (m_keepSize) {
    global.WriteAppInteger(section, "WIDTH", r.width);
    global.WriteAppInteger(section, "HEIGHT", r.height);
  }
  global.WriteAppString(section, "DOCKSITE", "");
}

void TorvFormFunc::RestorePlacement() {
  m_placementRestored = true;
  // Taken now: while the window is being destroyed its class reads as a plain QWidget.
  m_section = SectionName();
  if (!m_preserve) return;
  const std::string& section = m_section;
  TorvGlobal& global = AppGlobal();
  const QSize screen = ScreenSize();
  TWindowRect r = OwnerPlace();
  if (m_keepSize) {
    r.width = global.ReadAppInteger(section, "WIDTH", r.width);
    r.height = global.ReadAppInteger(section, "HEIGHT", r.height);
  }
  if (m_keepLocation) {
    r.left = global.ReadAppInteger(section, "LEFT", (screen.width() - r.width) / 2);
    r.top = global.ReadAppInteger(section, "TOP", (screen.height() - r.height) / 2);
  }
  (void)global.ReadAppString(section, "DOCKSITE", "");
  const TWindowRect wanted = r;
  r = kzm::KeepOnScreen(r, WorkAreas(), screen.width(), screen.height());
  // The window keeps the place its creator gave it unless a stored or on-screen place differs.
  // The place is the client area's: a window manager frames the window only after it is
  // shown, so a frame position given now would be taken for the client's, and the window
  // would open higher by its title bar at every start.
  if (m_keepLocation || !(r == wanted)) {
    m_owner->setGeometry(r.left, r.top, r.width, r.height);
  } else if (r.width != m_owner->width() || r.height != m_owner->height()) {
    m_owner->resize(r.width, r.height);
  }
  m_normalBounds = r;
}

void TorvFormFunc::WindowMoveEnded() {
  if (!m_owner) return;
  if (OnWindowMoved) OnWindowMoved(*this);
  if (m_fitScreenPx <= 0 || m_owner->isMaximized()) return;
  const TWindowRect frame = OwnerFrame();
  const TWindowRect snapped = SnapToWorkArea(frame, WorkAreaOf(*m_owner), m_fitScreenPx);
  if (snapped == frame) return;
  m_snapping = true;
  m_owner->move(snapped.left, snapped.top);
  m_snapping = false;
}

void TorvFormFunc::OwnerMoved(QEvent* event) {
  RememberNormalBounds();
  // Only the user's moves end in snapping; ours (restoring, snapping) do not.
  if (m_snapping || !m_placementRestored || !m_owner->isVisible()) return;
  if (event->spontaneous() || m_manualDrag) m_moveEnd.start();
}

bool TorvFormFunc::HandleMousePress(QEvent* event) {
  auto* mouse = static_cast<QMouseEvent*>(event);
  if (mouse->button() != Qt::LeftButton) return false;
  m_pressedOnBody = true;
  if (!m_windowResize) return false;
  const QPoint global = mouse->globalPosition().toPoint();
  const TWindowRect frame{m_owner->x(), m_owner->y(), m_owner->frameGeometry().width(), m_owner->frameGeometry().height()};
  const TResizeBand band = ResizeBandAt(global.x(), global.y(), frame);
  if (band == TResizeBand::rbNone) return false;
  if (QWindow* window = m_owner->windowHandle()) window->startSystemResize(EdgesOf(band));
  return true;
}

void TorvFormFunc::HandleHover(QEvent* event) {
  if (!m_windowResize) return;
  auto* mouse = static_cast<QMouseEvent*>(event);
  if (mouse->buttons() != Qt::NoButton) return;
  const QPoint global = mouse->globalPosition().toPoint();
  const TWindowRect frame{m_owner->x(), m_owner->y(), m_owner->frameGeometry().width(), m_owner->frameGeometry().height()};
  const TResizeBand band = ResizeBandAt(global.x(), global.y(), frame);
  if (band == TResizeBand::rbNone) {
    m_owner->unsetCursor();
  } else {
    m_owner->setCursor(CursorOf(band));
  }
}

void TorvFormFunc::HandleMouseMove(QEvent* event) {
  auto* mouse = static_cast<QMouseEvent*>(event);
  if (m_manualDrag) {
    if (mouse->buttons() != Qt::LeftButton) {
      m_manualDrag = false;
      return;
    }
    m_owner->move(mouse->globalPosition().toPoint() - m_manualDragOffset);
    return;
  }
  if (!m_windowDrag || !m_pressedOnBody || mouse->buttons() != Qt::LeftButton ||
      mouse->modifiers() != Qt::NoModifier)
    return;
  const QPoint pos = mouse->position().toPoint();
  bool dragMove = true;
  for (QObject* child : m_owner->children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (!widget || widget->isWindow() || !widget->isVisible()) continue;
    const QRect g = widget->geometry();
    if (StrictlyInside(pos.x(), pos.y(), TWindowRect{g.x(), g.y(), g.width(), g.height()})) {
      dragMove = false;
      break;
    }
  }
  if (OnCanDragMove) OnCanDragMove(*this, pos.x(), pos.y(), dragMove);
  if (!dragMove) {
    m_pressedOnBody = false;
    return;
  }
  QWindow* window = m_owner->windowHandle();
  if (window && window->startSystemMove()) return;
  // Desktops that cannot move a window for us: follow the pointer ourselves.
  m_manualDrag = true;
  m_manualDragOffset = mouse->globalPosition().toPoint() - m_owner->pos();
}

bool TorvFormFunc::HandleDrop(QEvent* event) {
  m_dropNames.clear();
  if (!m_dragDrop) return false;
  auto* drop = static_cast<QDropEvent*>(event);
  for (const QUrl& url : drop->mimeData()->urls()) {
    if (!url.isLocalFile()) continue;
    const QString name = url.toLocalFile();
    if (OnDropFile) OnDropFile(*this, name);
    if (m_dropNamesEnabled) m_dropNames.append(name);
  }
  if (OnDropFinish) OnDropFinish(*this);
  drop->acceptProposedAction();
  return true;
}

bool TorvFormFunc::eventFilter(QObject* watched, QEvent* event) {
  if (watched != m_owner) return false;
  switch (event->type()) {
    case QEvent::Move:
      OwnerMoved(event);
      break;
    case QEvent::Resize:
      if (m_windowRound && !m_owner->isMinimized()) ApplyRoundRegion();
      RememberNormalBounds();
      if (m_placementRestored && event->spontaneous() && m_owner->isVisible()) m_moveEnd.start();
      break;
    case QEvent::WindowStateChange:
      m_maximized = m_owner->isMaximized();
      break;
    case QEvent::Paint:
      if (OnEraseBackGround) OnEraseBackGround(*this);
      break;
    case QEvent::MouseButtonPress:
      return HandleMousePress(event);
    case QEvent::MouseButtonRelease:
      if (m_manualDrag) {
        m_manualDrag = false;
        m_moveEnd.start();
      }
      break;
    case QEvent::MouseMove:
      HandleHover(event);
      HandleMouseMove(event);
      break;
    case QEvent::DragEnter:
      if (m_dragDrop && static_cast<QDragEnterEvent*>(event)->mimeData()->hasUrls()) {
        static_cast<QDragEnterEvent*>(event)->acceptProposedAction();
        return true;
      }
      break;
    case QEvent::Drop:
      return HandleDrop(event);
    case QEvent::Show:
      if (!m_placementRestored) RestorePlacement();
      break;
    default:
      if (event->type() == TNoticeEvent::EventType() &&
          static_cast<TNoticeEvent*>(event)->Message() == kNoticeColorChanged && OnColorReset)
        OnColorReset(*this);
      break;
  }
  return false;
}

}  // namespace kzm::ui
