#include "ui/common/QtWindowSystem.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QMessageBox>
#include <QUrl>

#include "controls/ScreenPlacement.h"
#include "foundation/WindowPlacement.h"

#include <algorithm>

namespace kzm::ui {

namespace {
const char* const kDataWindowProperty = "kzmDataWindow";
const char* const kClosedByProgramProperty = "kzmClosedByProgram";

QWidget* DialogParent() {
  if (QWidget* w = QApplication::activeModalWidget()) return w;
  return QApplication::activeWindow();
}
}  // namespace

void MarkAsDataWindow(QWidget* window) { window->setProperty(kDataWindowProperty, true); }

bool IsDataWindow(const QWidget* window) { return window->property(kDataWindowProperty).toBool(); }

bool ClosedByProgram(const QWidget* window) { return window->property(kClosedByProgramProperty).toBool(); }

TQtWindowSystem::TQtWindowSystem() {
  // Windows that exist already come first, in Qt's order.
  for (QWidget* w : QApplication::topLevelWidgets()) m_created.emplace_back(w);
  qApp->installEventFilter(this);
}

TQtWindowSystem::~TQtWindowSystem() {
  if (qApp) qApp->removeEventFilter(this);
}

bool TQtWindowSystem::eventFilter(QObject* watched, QEvent* event) {
  // Every widget is sent a Create event from its constructor: the one moment at which the
  // creation order can be seen.
  if (event->type() == QEvent::Create && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow()) {
    m_created.erase(std::remove_if(m_created.begin(), m_created.end(), [](const QPointer<QWidget>& p) { return !p; }),
                    m_created.end());
    m_created.emplace_back(static_cast<QWidget*>(watched));
  }
  return false;
}

std::vector<QWidget*> TQtWindowSystem::Windows() {
  std::vector<QWidget*> result;
  for (const QPointer<QWidget>& p : m_created) {
    if (p && p->isWindow() && std::find(result.begin(), result.end(), p.data()) == result.end())
      result.push_back(p.data());
  }
  // A widget made a window after it was created (reparented) goes last.
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (std::find(result.begin(), result.end(), w) == result.end()) result.push_back(w);
  }
  return result;
}

void TQtWindowSystem::BroadcastToForms(int message, int first, int second) {
  // A receiver may close or delete windows, so hold them by guarded pointers.
  std::vector<QPointer<QWidget>> targets;
  for (QWidget* w : Windows()) targets.emplace_back(w);
  for (const QPointer<QWidget>& w : targets) {
    if (!w) continue;
    TNoticeEvent event(message, first, second);
    QApplication::sendEvent(w.data(), &event);
  }
}

// What the program tells the user is nearly always a refusal or a failure: a warning.
void TQtWindowSystem::Notify(const std::string& text) {
  QMessageBox::warning(DialogParent(), QStringLiteral(KZM_PRODUCT_NAME), QString::fromStdString(text));
}

void TQtWindowSystem::Inform(const std::string& text) {
  QMessageBox::information(DialogParent(), QStringLiteral(KZM_PRODUCT_NAME), QString::fromStdString(text));
}

bool TQtWindowSystem::AskYesNo(const std::string& text) {
  return QMessageBox::question(DialogParent(), QStringLiteral(KZM_PRODUCT_NAME), QString::fromStdString(text),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool TQtWindowSystem::AskYesNoDefaultNo(const std::string& text) {
  return QMessageBox::question(DialogParent(), QStringLiteral(KZM_PRODUCT_NAME), QString::fromStdString(text),
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

bool TQtWindowSystem::CloseDataWindows() {
  bool allClosed = true;
  for (QWidget* w : Windows()) {
    QPointer<QWidget> guard(w);
    if (!IsDataWindow(w)) continue;
    w->setProperty(kClosedByProgramProperty, true);
    if (!w->close()) {
      if (guard) guard->setProperty(kClosedByProgramProperty, false);
      allClosed = false;
      continue;
    }
    // Data windows free themselves when closed; make sure of it for one that does not.
    if (guard && !guard->testAttribute(Qt::WA_DeleteOnClose)) guard->deleteLater();
  }
  return allClosed;
}

int TQtWindowSystem::DefaultTextHeight() {
  QFont font = QApplication::font();
  font.setPointSize(9);
  return QFontMetrics(font).boundingRect(QStringLiteral("0")).height();
}

bool TQtWindowSystem::OpenDocument(const std::string& pathOrUrl) {
  const QString text = QString::fromStdString(pathOrUrl);
  if (QFileInfo::exists(text)) return QDesktopServices::openUrl(QUrl::fromLocalFile(text));
  return QDesktopServices::openUrl(QUrl(text));
}

bool TQtWindowSystem::MoveToRecycleBin(const std::string& path) {
  // Qt moves the file into the current folder and reports success when the trash folder's
  // parent is missing, so make sure it exists and insist on an absolute trash path.
  const QString dataHome = qEnvironmentVariableIsEmpty("XDG_DATA_HOME")
                               ? QDir::homePath() + QStringLiteral("/.local/share")
                               : qEnvironmentVariable("XDG_DATA_HOME");
  QDir().mkpath(dataHome);
  QString trashPath;
  if (!QFile::moveToTrash(QString::fromStdString(path), &trashPath)) return false;
  return QFileInfo(trashPath).isAbsolute();
}

std::vector<QWidget*> ProgramWindows() {
  if (auto* qt = dynamic_cast<TQtWindowSystem*>(&WindowSystem())) return qt->Windows();
  const QWidgetList list = QApplication::topLevelWidgets();
  return {list.begin(), list.end()};
}

void CascadeForm(QWidget& form) {
  std::vector<TPoint> others;
  int windowCount = 0;
  for (QWidget* w : ProgramWindows()) {
    const Qt::WindowType type = w->windowType();
    if (type != Qt::Window && type != Qt::Dialog) continue;
    ++windowCount;
    if (w != &form && w->isVisible()) others.push_back(TPoint{w->x(), w->y()});
  }
  const TPoint place = kzm::CascadeForm(TPoint{form.x(), form.y()}, others, WorkAreaOf(form), windowCount);
  form.move(place.x, place.y);
}

void CentreOnOpener(QWidget& window) {
  const QWidget* opener = QApplication::activeWindow();
  if (opener == &window) opener = nullptr;
  const TWindowRect area = WorkAreaOf(opener ? *opener : window);
  const QRect frame = opener ? opener->frameGeometry() : QRect(area.left, area.top, area.width, area.height);
  const TPoint place = kzm::CentreOn(TWindowRect{frame.x(), frame.y(), frame.width(), frame.height()}, window.width(),
                                     window.height(), area);
  window.move(place.x, place.y);
}

}  // namespace kzm::ui
