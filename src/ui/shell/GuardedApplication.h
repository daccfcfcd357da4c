#pragma once

// The program's QApplication. An exception that escapes a window's handler must not end the
// program (Qt cannot carry one through its event loop, and the files are all fine): it is
// stopped where events are delivered, the user is told what failed, and the program goes on.
// An Alt key no mnemonic took is dropped there too, before a text field types its letter.

#include <QApplication>

#include <string>

namespace kzm::ui {

class TGuardedApplication final : public QApplication {
 public:
  TGuardedApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // How many exceptions were stopped so far.
  [[nodiscard]] int Stopped() const { return m_stopped; }

 private:
  void Report(const std::string& what);

  int m_stopped = 0;
  bool m_reporting = false;
};

}  // namespace kzm::ui
