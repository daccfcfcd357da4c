#include "ui/common/QtWindowSystem.h"

#include <QApplication>
#include <QDialog>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace kzm::ui {
namespace {

// A window that writes down the notices it receives, in one log shared by all of them.
class TListeningWindow : public QWidget {
 public:
  TListeningWindow(int id, std::vector<std::pair<int, int>>& log) : m_id(id), m_log(log) {}

 protected:
  bool event(QEvent* e) override {
    if (e->type() == TNoticeEvent::EventType()) {
      m_log.emplace_back(m_id, static_cast<TNoticeEvent*>(e)->Message());
      return true;
    }
    return QWidget::event(e);
  }

 private:
  int m_id;
  std::vector<std::pair<int, int>>& m_log;
};

class WindowSystemTest : public testing::Test {
 protected:
  WindowSystemTest() { SetWindowSystem(&m_system); }
  ~WindowSystemTest() override { SetWindowSystem(nullptr); }
  TQtWindowSystem m_system;
};

TEST_F(WindowSystemTest, NoticesReachEveryWindowInCreationOrderBeforeReturning) {
  std::vector<std::pair<int, int>> log;
  std::vector<std::unique_ptr<TListeningWindow>> windows;
  for (int id = 0; id < 12; ++id) windows.push_back(std::make_unique<TListeningWindow>(id, log));
  windows[3].reset();  // a window gone in between is skipped
  windows[7]->show();  // shown or hidden, every window hears it

  for (const int notice : {kNoticeDataChanged, kNoticePassbookOpened, kNoticeColorChanged}) {
    SCOPED_TRACE(notice);
    log.clear();
    WindowSystem().BroadcastToForms(notice, 0, 0);
    std::vector<std::pair<int, int>> expected;
    for (int id = 0; id < 12; ++id) {
      if (id != 3) expected.emplace_back(id, notice);
    }
    EXPECT_EQ(log, expected);
  }
}

TEST_F(WindowSystemTest, AReceiverMayCloseALaterWindow) {
  std::vector<std::pair<int, int>> log;
  auto first = std::make_unique<TListeningWindow>(1, log);
  auto* second = new TListeningWindow(2, log);
  second->setAttribute(Qt::WA_DeleteOnClose);
  // The first window deletes the second as it hears the notice.
  class TCloser : public QObject {
   public:
    explicit TCloser(QWidget* victim) : m_victim(victim) {}
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == TNoticeEvent::EventType()) delete m_victim;
      return false;
    }
    QWidget* m_victim;
  } closer(second);
  first->installEventFilter(&closer);
  WindowSystem().BroadcastToForms(kNoticeDataChanged, 5, 0);
  EXPECT_EQ(log, (std::vector<std::pair<int, int>>{{1, kNoticeDataChanged}}));
}

TEST_F(WindowSystemTest, CloseDataWindowsClosesOnlyDataWindows) {
  QWidget plain;
  plain.show();
  QPointer<QWidget> data = new QWidget;
  MarkAsDataWindow(data);
  data->show();
  EXPECT_TRUE(WindowSystem().CloseDataWindows());
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(data.isNull());
  EXPECT_TRUE(plain.isVisible());
}

TEST_F(WindowSystemTest, CascadeMovesANewWindowOffAnotherOnesPlace) {
  QWidget a, b, c;
  for (QWidget* w : {&a, &b, &c}) {
    w->resize(200, 100);
    w->move(100, 100);
  }
  a.show();
  b.show();
  CascadeForm(c);
  EXPECT_EQ(c.pos(), QPoint(132, 132));
}

}  // namespace
}  // namespace kzm::ui
