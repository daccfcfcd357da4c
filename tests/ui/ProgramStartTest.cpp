#include "ui/shell/ProgramStart.h"

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "foundation/AppGlobal.h"
#include "foundation/Files.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "ui/ModalDialog.h"
#include "ui/common/QtWindowSystem.h"
#include "ui/shell/InstanceChannel.h"
#include "ui/shell/MainWindow.h"

#include <QApplication>
#include <QPushButton>
#include <QTableWidget>
#include <QCoreApplication>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

#include <filesystem>

namespace kzm::ui {
namespace {

class ProgramStartTest : public testing::Test {
 protected:
  ProgramStartTest() { AppGlobal().UseDataFolder(m_data.Path()); }

  void MakePassbook(const std::string& name) {
    TkzmProfile& profile = CurrentProfile();
    profile.Load("");
    profile.SetFolder(m_data.File(name));
    ASSERT_TRUE(profile.Save());
  }

  test::TTempFolder m_data;
  test::TRecordingWindowSystem m_system;
};

TEST_F(ProgramStartTest, WithoutAPassbookTheWizardMakesTheFirstOne) {
  test::OnNextDialog([](QDialog* dialog) {
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("新規通帳作成"));
    auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("ButtonOK"));
    ok->click();  // 次へ
    ok->click();  // ＯＫ
  });
  ASSERT_TRUE(OpenStartupPassbook());
  EXPECT_EQ(CurrentProfile().Name(), "通帳1");
  EXPECT_TRUE(FileExists(m_data.File("通帳1/nbkr.ini")));
  ASSERT_FALSE(m_system.notices.empty());
  EXPECT_EQ(m_system.notices.back().message, kNoticePassbookOpened);
}

TEST_F(ProgramStartTest, CancellingTheFirstWizardEndsTheProgram) {
  CurrentProfile().Load("");  // as at start: no passbook open
  test::OnNextDialog([](QDialog* dialog) { dialog->reject(); });
  EXPECT_FALSE(OpenStartupPassbook());
  EXPECT_TRUE(CurrentProfile().Folder().empty());
  EXPECT_FALSE(FolderExists(m_data.File("通帳1")));
}

TEST_F(ProgramStartTest, TheLastPassbookOpensOrTheUserChooses) {
  MakePassbook("A");
  MakePassbook("B");
  struct TCase {
    const char* name;
    bool selection;
    std::string last;
    bool asks;
  } cases[] = {
      {"last used", false, m_data.File("B"), false},
      {"last gone", false, m_data.File("C"), true},
      {"choose every time", true, m_data.File("B"), true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    AppGlobal().WriteAppBool("STARTUP", "SELECTION", c.selection);
    AppGlobal().WriteAppString("STARTUP", "LASTPROFILE", c.last);
    CurrentProfile().OpenPassbook(m_data.File("A"));
    bool asked = false;
    if (c.asks) {
      test::OnNextDialog([&asked](QDialog* dialog) {
        asked = dialog->windowTitle() == QStringLiteral("通帳の選択");
        auto* list = dialog->findChild<QTableWidget*>(QStringLiteral("ListView"));
        list->selectRow(list->findItems(QStringLiteral("B"), Qt::MatchExactly).front()->row());
        dialog->findChild<QPushButton*>(QStringLiteral("ButtonSet"))->click();
      });
    }
    ASSERT_TRUE(OpenStartupPassbook());
    EXPECT_EQ(asked, c.asks);
    EXPECT_EQ(CurrentProfile().Folder(), m_data.File("B"));
  }
}

TEST_F(ProgramStartTest, SaveAtExitWritesProfileAndMonth) {
  MakePassbook("A");
  CurrentProfile().OpenPassbook(m_data.File("A"));
  std::filesystem::remove(m_data.File("A/nbkr.ini"));
  CurrentProfile().SetOwnerName("もるぽ");
  TkzmDataUnit& month = CurrentMonthData();
  ASSERT_TRUE(month.SelectDay(45000));  // 2023-03-15
  month.SetModified();
  EXPECT_TRUE(SaveAtExit());
  EXPECT_TRUE(FileExists(m_data.File("A/nbkr.ini")));
  EXPECT_FALSE(month.Modified());
}

}  // namespace
}  // namespace kzm::ui
