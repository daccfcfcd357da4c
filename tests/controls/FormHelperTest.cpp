#include "controls/FormHelper.h"

#include "common/TempFolder.h"
#include "controls/FormRules.h"
#include "controls/NoticeEvent.h"
#include "controls/ScreenPlacement.h"
#include "foundation/AppGlobal.h"
#include "foundation/WindowSystem.h"

#include <QApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

namespace kzm::ui {
namespace {

TEST(FormRules, SnapsWithinTheDistanceOnly) {
  const TWindowRect area{0, 30, 1000, 700};  // a panel above
  struct TCase {
    const char* name;
    TWindowRect window;
    TPoint expected;
  } cases[] = {
      {"10 below the top", {300, 40, 280, 160}, {300, 30}},
      {"20 below the top", {300, 50, 280, 160}, {300, 50}},
      {"15 above the top", {300, 15, 280, 160}, {300, 30}},
      {"bottom 12 short", {300, 730 - 160 - 12, 280, 160}, {300, 570}},
      {"left 3 in", {3, 300, 280, 160}, {0, 300}},
      {"right 15 past", {1000 - 280 + 15, 300, 280, 160}, {720, 300}},
      {"corner", {-5, 38, 280, 160}, {0, 30}},
      {"16 exactly", {300, 46, 280, 160}, {300, 46}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    const TWindowRect r = SnapToWorkArea(c.window, area, 16);
    EXPECT_EQ((TPoint{r.left, r.top}), c.expected);
    EXPECT_EQ(r.width, c.window.width);
  }
  EXPECT_EQ(SnapToWorkArea({3, 40, 10, 10}, area, 0), (TWindowRect{3, 40, 10, 10}));
}

TEST(FormRules, ResizeBandAtTheEdges) {
  const TWindowRect w{100, 100, 200, 150};  // right 300, bottom 250
  struct TCase {
    int x, y;
    TResizeBand band;
  } cases[] = {
      {297, 247, TResizeBand::rbBottomRight}, {102, 102, TResizeBand::rbTopLeft},
      {200, 101, TResizeBand::rbTop},         {200, 248, TResizeBand::rbBottom},
      {101, 200, TResizeBand::rbLeft},        {299, 200, TResizeBand::rbRight},
      {298, 102, TResizeBand::rbTopRight},    {101, 249, TResizeBand::rbBottomLeft},
      {200, 200, TResizeBand::rbNone},        {105, 105, TResizeBand::rbNone},
      {295, 245, TResizeBand::rbNone},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    EXPECT_EQ(ResizeBandAt(c.x, c.y, w), c.band);
  }
}

TEST(FormRules, RoundedCornersCutAStaircase) {
  QRegion region;
  for (const TWindowRect& r : RoundedCornerRects(20, 10)) region += QRect(r.left, r.top, r.width, r.height);
  EXPECT_FALSE(region.contains(QPoint(0, 0)));
  EXPECT_FALSE(region.contains(QPoint(1, 1)));
  EXPECT_TRUE(region.contains(QPoint(2, 1)));
  EXPECT_TRUE(region.contains(QPoint(0, 4)));
  EXPECT_FALSE(region.contains(QPoint(19, 9)));
  EXPECT_TRUE(region.contains(QPoint(10, 5)));
}

class FormHelperTest : public testing::Test {
 protected:
  FormHelperTest() { AppGlobal().UseDataFolder(m_data.Path()); }

  // A window with its helper; placement kept in section QWIDGET.
  std::unique_ptr<QWidget> MakeWindow(bool keepLocation, bool keepSize) {
    auto window = std::make_unique<QWidget>();
    window->resize(300, 200);
    m_helper = new TorvFormFunc(window.get());
    m_helper->SetPreserve(true);
    m_helper->SetKeepLocation(keepLocation);
    m_helper->SetKeepSize(keepSize);
    return window;
  }

  test::TTempFolder m_data;
  TorvFormFunc* m_helper = nullptr;
};

TEST_F(FormHelperTest, MaximisedWindowStoresItsNormalBounds) {
  auto window = MakeWindow(true, true);
  EXPECT_EQ(m_helper->SectionName(), "QWIDGET");
  window->move(50, 60);
  window->show();
  window->setGeometry(70, 80, 300, 200);
  QApplication::processEvents();
  window->showMaximized();
  QApplication::processEvents();
  ASSERT_TRUE(window->isMaximized());
  window.reset();
  EXPECT_EQ(AppGlobal().ReadAppInteger("QWIDGET", "LEFT", -1), 70);
  EXPECT_EQ(AppGlobal().ReadAppInteger("QWIDGET", "TOP", -1), 80);
  EXPECT_EQ(AppGlobal().ReadAppInteger("QWIDGET", "WIDTH", -1), 300);
  EXPECT_EQ(AppGlobal().ReadAppInteger("QWIDGET", "HEIGHT", -1), 200);
  EXPECT_EQ(AppGlobal().ReadAppString("QWIDGET", "DOCKSITE", "x"), "");
}

TEST_F(FormHelperTest, StoredPlacementComesBackAndAVanishedMonitorCentres) {
  const QSize screen = ScreenSize();
  struct TCase {
    const char* name;
    int left, top;  // stored; -1: nothing stored
    QPoint expected;
  } cases[] = {
      {"on screen", 40, 30, {40, 30}},
      {"monitor gone", 5000, 100, {(screen.width() - 300) / 2, (screen.height() - 200) / 2}},
      {"nothing stored", -1, -1, {(screen.width() - 300) / 2, (screen.height() - 200) / 2}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::TTempFolder data;
    AppGlobal().UseDataFolder(data.Path());
    if (c.left >= 0) {
      AppGlobal().WriteAppInteger("QWIDGET", "LEFT", c.left);
      AppGlobal().WriteAppInteger("QWIDGET", "TOP", c.top);
    }
    auto window = MakeWindow(true, false);
    window->show();
    EXPECT_EQ(window->geometry().topLeft(), c.expected);
    EXPECT_EQ(window->size(), QSize(300, 200));
  }
}

// A window manager frames a window only once it shows, so a place restored before then must
// not depend on the frame: closed in a frame, the window opens where it was.
TEST_F(FormHelperTest, AWindowOpensWhereItWasClosedWhateverTheFrame) {
  const QRect closedAt(120, 90, 320, 210);
  {
    auto framed = MakeWindow(true, true);
    framed->show();
    framed->setGeometry(closedAt);
    QApplication::processEvents();
    ASSERT_NE(framed->frameGeometry(), framed->geometry());
  }
  auto unframed = MakeWindow(true, true);
  unframed->setWindowFlag(Qt::FramelessWindowHint);
  unframed->show();
  EXPECT_EQ(unframed->geometry(), closedAt);
}

TEST_F(FormHelperTest, KeepSizeOnlyLeavesThePlaceAlone) {
  AppGlobal().WriteAppInteger("QWIDGET", "WIDTH", 350);
  AppGlobal().WriteAppInteger("QWIDGET", "HEIGHT", 220);
  auto window = MakeWindow(false, true);
  window->move(20, 30);
  window->show();
  EXPECT_EQ(window->size(), QSize(350, 220));
  EXPECT_EQ(window->pos(), QPoint(20, 30));
}

TEST_F(FormHelperTest, MoveEndSnapsToTheWorkArea) {
  auto window = MakeWindow(false, false);
  m_helper->SetFitScreenPx(16);
  int moved = 0;
  m_helper->OnWindowMoved = [&](TorvFormFunc&) { ++moved; };
  window->show();
  const TWindowRect area = WorkAreaOf(*window);
  window->move(area.left + 200, area.top + 10);
  m_helper->WindowMoveEnded();
  EXPECT_EQ(window->pos(), QPoint(area.left + 200, area.top));
  window->move(area.left + 200, area.top + 20);
  m_helper->WindowMoveEnded();
  EXPECT_EQ(window->pos(), QPoint(area.left + 200, area.top + 20));
  EXPECT_EQ(moved, 2);
}

void SendMouse(QWidget& w, QEvent::Type type, QPoint local, Qt::MouseButtons buttons) {
  const QPointF globalPos = QPointF(w.mapToGlobal(local));
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent e(type, QPointF(local), globalPos, button, buttons, Qt::NoModifier);
  QApplication::sendEvent(&w, &e);
}

TEST_F(FormHelperTest, DraggingByTheBodyButNotByAControl) {
  auto window = MakeWindow(false, false);
  m_helper->SetWindowDrag(true);
  auto* button = new QPushButton(QStringLiteral("OK"), window.get());
  button->setGeometry(10, 10, 80, 30);
  window->move(100, 100);
  window->show();
  QApplication::processEvents();

  // On the button: no drag, and none until the next press.
  SendMouse(*window, QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton);
  SendMouse(*window, QEvent::MouseMove, {20, 20}, Qt::LeftButton);
  SendMouse(*window, QEvent::MouseMove, {200, 150}, Qt::LeftButton);
  EXPECT_EQ(window->pos(), QPoint(100, 100));
  SendMouse(*window, QEvent::MouseButtonRelease, {200, 150}, Qt::NoButton);

  // The event handler may refuse.
  m_helper->OnCanDragMove = [](TorvFormFunc&, int, int, bool& drag) { drag = false; };
  SendMouse(*window, QEvent::MouseButtonPress, {200, 150}, Qt::LeftButton);
  SendMouse(*window, QEvent::MouseMove, {200, 150}, Qt::LeftButton);
  EXPECT_EQ(window->pos(), QPoint(100, 100));
  SendMouse(*window, QEvent::MouseButtonRelease, {200, 150}, Qt::NoButton);

  // On the free area the window follows the pointer (the offscreen desktop cannot move it).
  m_helper->OnCanDragMove = nullptr;
  SendMouse(*window, QEvent::MouseButtonPress, {200, 150}, Qt::LeftButton);
  SendMouse(*window, QEvent::MouseMove, {200, 150}, Qt::LeftButton);
  SendMouse(*window, QEvent::MouseMove, {230, 170}, Qt::LeftButton);
  EXPECT_EQ(window->pos(), QPoint(130, 120));
}

TEST_F(FormHelperTest, DroppedFilesAndTheColourNotice) {
  auto window = MakeWindow(false, false);
  m_helper->SetDragDrop(true);
  m_helper->SetDropNamesEnabled(true);
  QStringList files;
  int finished = 0;
  int colorResets = 0;
  m_helper->OnDropFile = [&](TorvFormFunc&, const QString& name) { files.append(name); };
  m_helper->OnDropFinish = [&](TorvFormFunc&) { ++finished; };
  m_helper->OnColorReset = [&](TorvFormFunc&) { ++colorResets; };

  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a.csv")), QUrl::fromLocalFile(QStringLiteral("/tmp/b.csv"))});
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window.get(), &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window.get(), &drop);
  const QStringList expected = {QStringLiteral("/tmp/a.csv"), QStringLiteral("/tmp/b.csv")};
  EXPECT_EQ(files, expected);
  EXPECT_EQ(finished, 1);
  EXPECT_EQ(m_helper->DropNames(), expected);

  TNoticeEvent other(kNoticeDataChanged, 0, 0);
  QApplication::sendEvent(window.get(), &other);
  TNoticeEvent color(kNoticeColorChanged, 0, 0);
  QApplication::sendEvent(window.get(), &color);
  EXPECT_EQ(colorResets, 1);
}

}  // namespace
}  // namespace kzm::ui
