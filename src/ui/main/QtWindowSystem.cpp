#include "ui/main/QtWindowSystem.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QMessageBox>
#include <QUrl>
#include <QWidget>

namespace kzm::ui {

QEvent::Type TNoticeEvent::EventType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

void TQtWindowSystem::BroadcastToForms(int message, int first, int second) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    TNoticeEvent event(message, first, second);
    QApplication::sendEvent(w, &event);
  }
}

void TQtWindowSystem::Notify(const std::string& text) {
  QMessageBox::information(QApplication::activeWindow(), QApplication::applicationDisplayName(),
                           QString::fromStdString(text));
}

bool TQtWindowSystem::AskYesNo(const std::string& text) {
  return QMessageBox::question(QApplication::activeWindow(), QApplication::applicationDisplayName(),
                               QString::fromStdString(text)) == QMessageBox::Yes;
}

bool TQtWindowSystem::CloseDataWindows() { return true; }

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

}  // namespace kzm::ui
