// The window バックアップと復元 on a real passbook: a backup taken with a key, and a restore
// while a daily window holds typing that was not saved yet.

#include "ui/settings/BackupWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>

#include "PassbookFixture.h"
#include "backup/BackupArchive.h"
#include "backup/BackupPlace.h"
#include "foundation/Codec.h"
#include "foundation/Dates.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "ui/NamedChild.h"
#include "ui/common/DataWindows.h"
#include "ui/common/Openers.h"
#include "ui/daily/DailyWindow.h"

namespace kzm::ui {
namespace {

// Says yes to every question and closes data windows as the program does, through close().
class TClosingWindows : public test::TRecordingWindowSystem {
 public:
  bool AskYesNo(const std::string& text) override {
    messages.push_back(text);
    return true;
  }
  bool CloseDataWindows() override {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (qobject_cast<TFmDaily*>(w) && !w->close()) return false;
    }
    return true;
  }
};

void Settle() {
  for (int i = 0; i < 3; ++i) {
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

void PressOn(QWidget* widget, Qt::Key key) {
  widget->setFocus();
  Settle();
  ASSERT_EQ(QApplication::focusWidget(), widget);
  test::PressKey(key);
  Settle();
}

class BackupWindowTest : public test::TPassbookFixture {};

TEST_F(BackupWindowTest, RestoringWhileADailyWindowHoldsTyping) {
  TClosingWindows windows;
  AddEntry(EncodeDate(2024, 2, 10), "食費", kKindPayment, "パン", 300);
  ASSERT_TRUE(CurrentMonthData().Save());
  const std::string february = test::ReadBytes(Daily() + "/202402.kzm");

  TFmBackup window;
  window.show();
  QApplication::setActiveWindow(&window);
  PressOn(test::Child<QPushButton>(&window, "ButtonBackup"), Qt::Key_Space);
  auto* list = test::Child<QTreeWidget>(&window, "ListBackups");
  ASSERT_EQ(list->topLevelItemCount(), 1);
  EXPECT_EQ(list->topLevelItem(0)->text(1), QString::fromUtf8("手動"));

  ASSERT_TRUE(OpenDailyWindow(EncodeDate(2024, 2, 10)));
  Settle();
  QPointer<TFmDaily> daily;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* found = qobject_cast<TFmDaily*>(w)) daily = found;
  }
  ASSERT_NE(daily, nullptr);
  QApplication::setActiveWindow(daily);
  Settle();
  test::TypeText(QStringLiteral("牛乳"));
  test::PressKey(Qt::Key_Return);
  Settle();
  test::TypeText(QStringLiteral("210"));
  test::PressKey(Qt::Key_Return);
  Settle();
  ASSERT_TRUE(daily->Modified());

  QApplication::setActiveWindow(&window);
  list->setCurrentItem(list->topLevelItem(0));
  PressOn(test::Child<QPushButton>(&window, "ButtonRestore"), Qt::Key_Space);

  EXPECT_TRUE(daily.isNull() || !daily->isVisible());
  EXPECT_EQ(test::ReadBytes(Daily() + "/202402.kzm"), february);
  ASSERT_EQ(list->topLevelItemCount(), 2);
  EXPECT_EQ(list->topLevelItem(0)->text(1), QString::fromUtf8("復元の前"));
  // The typing was saved as the window closed, into the copy taken before the restore.
  TZipReader reader;
  std::string error, bytes;
  ASSERT_TRUE(reader.Open(list->topLevelItem(0)->data(0, Qt::UserRole).toString().toStdString(), error)) << error;
  ASSERT_TRUE(reader.Read("Daily/202402.kzm", bytes, error)) << error;
  EXPECT_NE(DecodeCp932(bytes).find("牛乳"), std::string::npos);
  // Memory shows the files as they are now.
  CurrentMonthData().SelectDay(EncodeDate(2024, 2, 10));
  EXPECT_EQ(CurrentMonthData().DayEntryCount(), 1);
}

TEST_F(BackupWindowTest, OneMonthNeedsAMonthAndPutsBackOnlyIt) {
  TClosingWindows windows;
  AddEntry(EncodeDate(2024, 2, 10), "食費", kKindPayment, "パン", 300);
  AddEntry(EncodeDate(2024, 3, 1), "食費", kKindPayment, "米", 2000);
  ASSERT_TRUE(CurrentMonthData().Save());
  const std::string february = test::ReadBytes(Daily() + "/202402.kzm");
  ASSERT_TRUE(BackupStoreOf(CurrentProfile().Folder()).Take(TBackupReason::brOpen).ok);
  AddEntry(EncodeDate(2024, 2, 11), "食費", kKindPayment, "卵", 250);
  AddEntry(EncodeDate(2024, 3, 2), "食費", kKindPayment, "塩", 100);
  ASSERT_TRUE(CurrentMonthData().Save());
  const std::string march = test::ReadBytes(Daily() + "/202403.kzm");

  TFmBackup window;
  window.show();
  QApplication::setActiveWindow(&window);
  auto* button = test::Child<QPushButton>(&window, "ButtonRestoreMonth");
  PressOn(button, Qt::Key_Space);
  EXPECT_EQ(windows.messages.back(), "復元する月を、年月 (例 202412) で入れてください。");
  EXPECT_EQ(QApplication::focusWidget(), test::Child<QLineEdit>(&window, "EditMonth"));
  test::TypeText(QStringLiteral("202402"));
  PressOn(button, Qt::Key_Space);
  EXPECT_EQ(test::ReadBytes(Daily() + "/202402.kzm"), february);
  EXPECT_EQ(test::ReadBytes(Daily() + "/202403.kzm"), march);
}

// A month file that cannot be read is offered back from the newest backup with a readable copy.
TEST_F(BackupWindowTest, ADamagedMonthIsOfferedFromTheBackups) {
  TClosingWindows windows;
  AddEntry(EncodeDate(2024, 2, 10), "食費", kKindPayment, "パン", 300);
  ASSERT_TRUE(CurrentMonthData().Save());
  const std::string february = test::ReadBytes(Daily() + "/202402.kzm");
  ASSERT_TRUE(BackupStoreOf(CurrentProfile().Folder()).Take(TBackupReason::brOpen).ok);
  // A link to a folder where the file was: there, but not readable as a file.
  std::filesystem::create_directories(m_data.File("a-folder"));
  std::filesystem::remove(Daily() + "/202402.kzm");
  std::filesystem::create_directory_symlink(m_data.File("a-folder"), Daily() + "/202402.kzm");
  CurrentMonthData().SelectDay(EncodeDate(2024, 3, 1));
  CurrentMonthData().SelectDay(EncodeDate(2024, 2, 10));
  ASSERT_EQ(CurrentMonthData().ReadFailures().size(), 1u);

  TFmBackup window;
  window.show();
  Settle();
  ASSERT_GE(windows.messages.size(), 2u);
  EXPECT_NE(windows.messages[windows.messages.size() - 2].find("Daily/202402.kzm」が読めません"), std::string::npos);
  EXPECT_EQ(test::ReadBytes(Daily() + "/202402.kzm"), february);
  CurrentMonthData().SelectDay(EncodeDate(2024, 2, 10));
  EXPECT_EQ(CurrentMonthData().DayEntryCount(), 1);
}

// Another passbook's backup is put back only after the person is asked about it.
TEST_F(BackupWindowTest, AnotherPassbooksBackupIsAskedAbout) {
  TClosingWindows windows;
  const std::string other = m_data.File("other");
  std::filesystem::create_directories(other + "/Daily");
  test::WriteBytes(other + "/nbkr.ini", "[USERINFO]\r\n");
  test::WriteBytes(other + "/Daily/202402.kzm", "20240210,1,other,5,,,\r\n");
  const TBackupOutcome taken = TBackupStore(other, m_data.File("other-backups")).Take(TBackupReason::brManual);
  ASSERT_TRUE(taken.ok) << taken.message;
  const std::string folder = BackupStoreOf(CurrentProfile().Folder()).BackupFolder();
  std::filesystem::create_directories(folder);
  std::filesystem::copy_file(taken.path, folder + "/20240101-000000-manual.zip");

  TFmBackup window;
  window.show();
  QApplication::setActiveWindow(&window);
  PressOn(test::Child<QPushButton>(&window, "ButtonRestore"), Qt::Key_Space);
  ASSERT_GE(windows.messages.size(), 2u);
  EXPECT_NE(windows.messages[1].find("ほかの通帳"), std::string::npos) << windows.messages[1];
  EXPECT_EQ(test::ReadBytes(Daily() + "/202402.kzm"), "20240210,1,other,5,,,\r\n");
}

}  // namespace
}  // namespace kzm::ui
