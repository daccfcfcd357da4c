#include "ui/shell/GuardedApplication.h"

#include <QTimer>

#include <exception>

#include "controls/AltKeys.h"
#include "foundation/WindowSystem.h"

namespace kzm::ui {

TGuardedApplication::TGuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TGuardedApplication::notify(QObject* receiver, QEvent* event) {
  if (IsStrayMnemonic(receiver, event)) return true;
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    Report(error.what());
  } catch (...) {
    Report("不明なエラー");
  }
  return false;
}

void TGuardedApplication::Report(const std::string& what) {
  ++m_stopped;
  // Told once the handler that failed is behind us; a failure while telling is not told again.
  if (m_reporting) return;
  m_reporting = true;
  QTimer::singleShot(0, this, [this, what] {
    WindowSystem().Notify("処理の途中で問題が起きたため、その操作を中止しました。\n" + what +
                          "\n保存済みのデータはそのままです。作業を続けられます。");
    m_reporting = false;
  });
}

}  // namespace kzm::ui
