#include "ui/main/ProgramStart.h"

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "foundation/AppGlobal.h"
#include "foundation/Files.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "ui/main/InstanceChannel.h"
#include "ui/main/MainWindow.h"
#include "ui/main/QtWindowSystem.h"

#include <QApplication>
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

TEST_F(ProgramStartTest, WithoutAPassbookTheFirstOneIsMade) {
  ASSERT_TRUE(OpenStartupPassbook());
  EXPECT_EQ(CurrentProfile().Name(), "通帳1");
  EXPECT_TRUE(FileExists(m_data.File("通帳1/nbkr.ini")));
  ASSERT_FALSE(m_system.notices.empty());
  EXPECT_EQ(m_system.notices.back().message, kNoticePassbookOpened);
}

TEST_F(ProgramStartTest, TheLastPassbookOrTheFirstOneOpens) {
  MakePassbook("A");
  MakePassbook("B");
  struct TCase {
    const char* name;
    bool selection;
    std::string last;
    std::string expected;
  } cases[] = {
      {"last used", false, m_data.File("B"), "B"},
      {"last gone: the first found stands in for the choice", false, m_data.File("C"), ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    AppGlobal().WriteAppBool("STARTUP", "SELECTION", c.selection);
    AppGlobal().WriteAppString("STARTUP", "LASTPROFILE", c.last);
    ASSERT_TRUE(OpenStartupPassbook());
    EXPECT_EQ(CurrentProfile().Folder(), c.expected.empty() ? PassbookFolders().front() : m_data.File(c.expected));
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
