// Open windows follow a passbook that another PC changes through a synced folder.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "ModalDialog.h"
#include "PassbookFixture.h"
#include "foundation/Codec.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "settlement/AccountingMonth.h"
#include "ui/common/Openers.h"
#include "ui/common/PassbookWatcher.h"
#include "ui/common/QtWindowSystem.h"
#include "ui/daily/DailyGrid.h"
#include "ui/daily/DailyWindow.h"
#include "ui/shell/MainWindow.h"

namespace kzm::ui {
namespace {

TDayNumber Mar(int d) { return EncodeDate(2024, 3, d); }

class PassbookWatcherTest : public test::TPassbookFixture {
 protected:
  PassbookWatcherTest() {
    AddEntry(Mar(5), "食費", kKindPayment, "米", 900);
    EXPECT_TRUE(CurrentMonthData().Save());
  }
  // The daily window on day, opened as its menu item opens it.
  static TFmDaily* OpenDaily(TDayNumber day) {
    EXPECT_TRUE(OpenDailyWindow(day));
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* daily = qobject_cast<TFmDaily*>(w); daily && daily->Date() == day) return daily;
    }
    return nullptr;
  }
  // Another PC's version of March lands as a sync engine puts it down: whole, by a rename.
  void LandMarch(const std::string& lines) {
    std::string bytes;
    ASSERT_TRUE(EncodeCp932(lines, bytes));
    const std::string path = Daily() + "/202403.kzm";
    test::WriteBytes(path + ".syncthing-tmp", bytes);
    std::filesystem::rename(path + ".syncthing-tmp", path);
  }
  // Waits (at most five seconds) for the watcher to tell the windows, then lets them hear it
  // as the program's own window system would.
  void WaitForNotice() {
    QElapsedTimer clock;
    clock.start();
    while (m_windows.notices.empty() && clock.elapsed() < 5000) QApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_FALSE(m_windows.notices.empty()) << "no notice within 5 s";
    TQtWindowSystem qt;
    for (const auto& notice : m_windows.notices) qt.BroadcastToForms(notice.message, notice.first, notice.second);
    m_windows.notices.clear();
  }
  static std::vector<QString> Items(const TDailyGrid& grid) {
    std::vector<QString> items;
    for (int row = 1; row < grid.RowCount(); ++row) {
      if (grid.Cells(0, row) == QStringLiteral("1") && !grid.Cells(2, row).isEmpty()) items.push_back(grid.Cells(1, row));
    }
    return items;
  }
};

// A month file that lands from another PC reaches the open daily window, and its settlement
// is built again.
TEST_F(PassbookWatcherTest, AMonthFileFromAnotherPcReachesTheOpenDailyWindow) {
  TPassbookWatcher watcher;
  watcher.WatchOpenPassbook();
  TFmDaily* window = OpenDaily(Mar(5));
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(Items(*window->Grid(kKindPayment)), std::vector<QString>{QStringLiteral("米")});

  LandMarch("20240305,支出,食費,資産,現金,900,米,\r\n20240305,支出,食費,資産,現金,300,パン,\r\n");
  WaitForNotice();
  EXPECT_EQ(Items(*window->Grid(kKindPayment)), (std::vector<QString>{QStringLiteral("米"), QStringLiteral("パン")}));
  THeadList settled;
  ASSERT_TRUE(LoadMonthPeriod(202403, settled));
  EXPECT_EQ(settled.Items(settled.IndexOfKey(MakeKey("現金", kKindAsset))).total, -1200);
}

// A day typed into while another PC changed it asks; keeping both keeps the window's rows and
// what the other PC added.
TEST_F(PassbookWatcherTest, ADayChangedUnderneathAsksAndCanKeepBoth) {
  TPassbookWatcher watcher;
  watcher.WatchOpenPassbook();
  TFmDaily* window = OpenDaily(Mar(5));
  ASSERT_NE(window, nullptr);
  window->SetModified();
  LandMarch("20240305,支出,食費,資産,現金,900,米,\r\n20240305,支出,食費,資産,現金,300,パン,\r\n");
  WaitForNotice();
  bool asked = false;
  test::OnNextDialog([&](QDialog* box) {
    asked = true;
    box->findChild<QPushButton*>(QStringLiteral("KeepBoth"))->click();
  });
  QApplication::processEvents();
  EXPECT_TRUE(asked);
  EXPECT_FALSE(window->Modified());
  EXPECT_EQ(MonthText("202403.kzm"), "20240305,支出,食費,資産,現金,900,米,\r\n20240305,支出,食費,資産,現金,300,パン,\r\n");
}

// A day saved after another PC's month landed, before the watcher followed it, keeps what
// the other PC wrote on the other days of the month.
TEST_F(PassbookWatcherTest, SavingADayKeepsWhatLandedOnTheOtherDays) {
  TFmDaily* window = OpenDaily(Mar(5));
  ASSERT_NE(window, nullptr);
  window->SetModified();
  LandMarch("20240305,支出,食費,資産,現金,900,米,\r\n20240320,支出,食費,資産,現金,300,パン,\r\n");
  ASSERT_TRUE(window->SaveDay());
  EXPECT_EQ(MonthText("202403.kzm"), "20240305,支出,食費,資産,現金,900,米,\r\n20240320,支出,食費,資産,現金,300,パン,\r\n");
}

// The main window names another PC seen in the last minutes, and says nothing otherwise.
TEST_F(PassbookWatcherTest, TheMainWindowSaysWhoElseHasThePassbookOpen) {
  TFmKzmMain main;
  auto* label = main.findChild<QLabel*>(QStringLiteral("PresenceLabel"));
  ASSERT_NE(label, nullptr);
  EXPECT_TRUE(label->text().isEmpty());
  const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                       std::chrono::system_clock::now().time_since_epoch()).count();
  test::WriteBytes(CurrentProfile().Folder() + "/Presence-0123456789ab.ini",
                   "[PRESENCE]\r\nNAME=kitchen\r\nSEEN=" + std::to_string(now - 30) + "\r\n");
  main.PassbookWatcher().RefreshPresence();
  EXPECT_EQ(label->text(), QStringLiteral("ほかのPC（kitchen）でも開いています"));
  EXPECT_FALSE(main.statusBar()->isHidden());
}

}  // namespace
}  // namespace kzm::ui
