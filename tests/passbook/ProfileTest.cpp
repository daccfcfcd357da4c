#include "passbook/Profile.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "foundation/AppGlobal.h"
#include "foundation/Codec.h"
#include "foundation/ColorScheme.h"
#include "foundation/Dates.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/WriterLock.h"

namespace kzm {
namespace {

class TWindowsCountingCloses final : public test::TRecordingWindowSystem {
 public:
  bool CloseDataWindows() override {
    ++closeRequests;
    return true;
  }
  int closeRequests = 0;
};

TEST(MascotMood, ChangesWithTheDaysAway) {
  struct Case {
    int daysAway, mood, count, expectedMood, expectedCount;
  };
  const Case cases[] = {
      {0, 0, 8, 0, 8},       // same day
      {1, 0, 8, 80, 8},      // yesterday
      {1, 30, 8, 10, 9},     // passes 100: one mascot more
      {2, 0, 8, 80, 8},
      {3, 0, 8, 50, 8},      // three days away: -30
      {15, 0, 8, -20, 8},    // at most -100
      {0, 150, 20, 150, 20}, // no more than 20
      {0, 150, 8, 50, 9},
      {20, -90, 8, -10, 7},  // below -100: one mascot less
      {20, -90, 3, -110, 3}, // no fewer than 3
      {-4, 7, 8, 7, 8},      // the clock went back
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "away " << c.daysAway << " mood " << c.mood << " count " << c.count);
    int32_t mood = c.mood;
    int32_t count = c.count;
    UpdateMascotMood(c.daysAway, mood, count);
    EXPECT_EQ(mood, c.expectedMood);
    EXPECT_EQ(count, c.expectedCount);
  }
}

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AppGlobal().UseDataFolder(DataFolder());
    SetTodayForTest(kToday);
  }
  void TearDown() override {
    SetTodayForTest(0);
    CurrentMonthData().SetFolder("");
  }

  std::string DataFolder() const { return temp.Path() + "/data"; }
  std::string Passbook(const std::string& name) const { return DataFolder() + "/" + name; }
  void WriteSettings(const std::string& name, const std::string& utf8) {
    std::string bytes;
    ASSERT_TRUE(EncodeCp932(utf8, bytes));
    std::filesystem::create_directories(Passbook(name));
    test::WriteBytes(Passbook(name) + "/nbkr.ini", bytes);
  }
  std::string SettingsText(const std::string& name) const {
    return DecodeCp932(test::ReadBytes(Passbook(name) + "/nbkr.ini"));
  }

  static constexpr int32_t kToday = 45400;
  test::TTempFolder temp;
  TWindowsCountingCloses windows;
  TkzmProfile profile;
};

TEST_F(ProfileTest, NoFolderGivesTheDefaultsOfANewPassbook) {
  std::filesystem::create_directories(Passbook("通帳1"));
  profile.Load("");
  EXPECT_EQ(profile.Folder(), "");
  EXPECT_EQ(profile.Name(), "通帳2");
  EXPECT_EQ(profile.ClosingDay(), 31);
  EXPECT_FALSE(profile.EndsNextMonth());
  EXPECT_EQ(profile.Created(), kToday);
  EXPECT_EQ(profile.LastOpened(), kToday);
  EXPECT_EQ(profile.MonthColumnWidth(), 100);
  EXPECT_EQ(profile.MascotCount(), 8);
  EXPECT_EQ(profile.MascotMood(), 0);
  EXPECT_TRUE(profile.EnterMovesToItem() && profile.EnterMovesToAmount() &&
              profile.EnterMovesToAccount() && profile.EnterMovesToNote());
  EXPECT_FALSE(profile.OpenMonthAtStart() || profile.OpenTodayAtStart() || profile.CalendarAtStart());
  const THeadList& categories = profile.Categories();
  ASSERT_EQ(categories.Count(), 15);
  EXPECT_EQ(KeyName(categories.Items(0).key), "給与");
  EXPECT_EQ(categories.Items(0).visible, 0);
  EXPECT_EQ(categories.Items(1).visible, 1);
  EXPECT_EQ(windows.closeRequests, 1);
  EXPECT_TRUE(profile.Save());  // nothing to write without a folder
}

TEST_F(ProfileTest, LoadReadsTheSettingsAndCheersTheMascotsUp) {
  WriteSettings("家計",
                "[USERINFO]\r\nNAME=もるぽ\r\nBIRTHMONTH=4\r\n"
                "[DATE]\r\nLASTDAY=25\r\nNEXTMONTH=true\r\nCREATEDATE=40000\r\nLASTDATE=45399\r\n"
                "[MABOLIN]\r\nMAX=8\r\nCOUNT=30\r\n"
                "[DAILY]\r\nenter2=0\r\n");
  profile.Load(Passbook("家計") + "/");
  EXPECT_EQ(profile.Folder(), Passbook("家計"));
  EXPECT_EQ(profile.Name(), "家計");
  EXPECT_EQ(profile.OwnerName(), "もるぽ");
  EXPECT_EQ(profile.BirthMonth(), 4);
  EXPECT_EQ(profile.ClosingDay(), 25);
  EXPECT_TRUE(profile.EndsNextMonth());
  EXPECT_EQ(profile.Created(), 40000);
  EXPECT_EQ(profile.LastOpened(), kToday);
  EXPECT_EQ(profile.MascotCount(), 9);
  EXPECT_EQ(profile.MascotMood(), 10);
  EXPECT_TRUE(profile.EnterMovesToItem());
  EXPECT_FALSE(profile.EnterMovesToAmount());
}

TEST_F(ProfileTest, SaveWritesEveryKeyInOrderAndKeepsUnknownOnes) {
  WriteSettings("家計", "; a comment\r\n[EXTRA]\r\nfoo=bar\r\n[USERINFO]\r\nhobby=x\r\nNAME=もるぽ\r\n");
  profile.Load(Passbook("家計"));
  profile.SetPurpose("生活費");
  ASSERT_TRUE(profile.Save());
  EXPECT_EQ(SettingsText("家計"),
            "; a comment\r\n[EXTRA]\r\nfoo=bar\r\n"
            "[USERINFO]\r\nhobby=x\r\nNAME=もるぽ\r\nuse=生活費\r\nwinuser=\r\nbirthmonth=0\r\nbirthday=0\r\n"
            "[DATE]\r\nlastday=31\r\nnextmonth=0\r\ncreatedate=45400\r\nlastdate=45400\r\n"
            "[MONTH]\r\ncolwidth=100\r\n"
            "[MABOLIN]\r\nmax=8\r\ncount=0\r\n"
            "[STARTUP]\r\nmonthly=0\r\ndaily=0\r\ncalendar=0\r\n"
            "[DAILY]\r\nenter1=1\r\nenter2=1\r\nenter3=1\r\nenter4=1\r\n");
  EXPECT_TRUE(std::filesystem::exists(Passbook("家計") + "/Headfile.dta"));

  TkzmProfile reread;
  reread.Load(Passbook("家計"));
  EXPECT_EQ(reread.Purpose(), "生活費");
  EXPECT_EQ(reread.Categories().Count(), 15);
  EXPECT_EQ(reread.Categories().Items(0).visible, 0);
}

TEST_F(ProfileTest, AnUnreadableCategoryFileIsNeverOverwritten) {
  WriteSettings("家計", "");
  const std::string broken = "<data><head><name>x</name>";
  test::WriteBytes(Passbook("家計") + "/Headfile.dta", broken);
  profile.Load(Passbook("家計"));
  EXPECT_EQ(windows.messages.size(), 1u);
  profile.Save();
  EXPECT_EQ(test::ReadBytes(Passbook("家計") + "/Headfile.dta"), broken);
}

// Settings or categories that cannot be read are named once at opening and never replaced
// by the defaults that stand in for them.
TEST_F(ProfileTest, UnreadableSettingsAreToldAndNeverOverwritten) {
  for (const char* file : {"nbkr.ini", "Headfile.dta"}) {
    SCOPED_TRACE(file);
    const std::string folder = Passbook(std::string("通帳-") + file);
    std::filesystem::create_directories(folder + "/" + file + "/inside");  // cannot be read as a file
    windows.messages.clear();
    profile.OpenPassbook(folder);
    ASSERT_EQ(windows.messages.size(), 1u);
    EXPECT_NE(windows.messages[0].find(folder + "/" + file), std::string::npos);
    EXPECT_EQ(profile.ClosingDay(), 31);
    EXPECT_TRUE(profile.Save());
    EXPECT_EQ(windows.messages.size(), 1u);
    EXPECT_TRUE(std::filesystem::is_directory(folder + "/" + file + "/inside"));
  }
}

// A save cut short leaves its temporary file; opening the passbook clears those of writers
// that are gone.
TEST_F(ProfileTest, OpeningRemovesStaleTemporaryFiles) {
  WriteSettings("家計", "");
  const pid_t child = fork();
  if (child == 0) _exit(0);
  int status = 0;
  waitpid(child, &status, 0);
  const std::string stale = Passbook("家計") + "/Daily/202403.kzm.tmp" + std::to_string(child) + "-0";
  std::filesystem::create_directories(Passbook("家計") + "/Daily");
  test::WriteBytes(stale, "half a month");
  test::WriteBytes(Passbook("家計") + "/Daily/202403.kzm", "20240301,1,x,2,y,1,,\r\n");
  profile.OpenPassbook(Passbook("家計"));
  EXPECT_FALSE(std::filesystem::exists(stale));
  EXPECT_TRUE(std::filesystem::exists(Passbook("家計") + "/Daily/202403.kzm"));
}

// One writer at a time: a second one waits a little, then is told who holds the passbook,
// and the passbook open before stays open. A reader never waits.
TEST_F(ProfileTest, ASecondWriterIsTurnedAwayAndToldWhoWrites) {
  WriteSettings("家計", "");
  WriteSettings("旅行", "");
  ASSERT_TRUE(profile.OpenPassbook(Passbook("旅行")));
  TWriterLock other;
  std::string refusal;
  ASSERT_TRUE(other.Take(Passbook("家計"), 0, refusal));
  windows.messages.clear();
  EXPECT_FALSE(profile.OpenPassbook(Passbook("家計")));
  ASSERT_EQ(windows.messages.size(), 1u);
  EXPECT_NE(windows.messages[0].find("プロセス番号 " + std::to_string(::getpid())), std::string::npos) << windows.messages[0];
  EXPECT_EQ(profile.Folder(), Passbook("旅行"));
  EXPECT_TRUE(profile.OpenPassbook(Passbook("家計"), TPassbookAccess::paRead));
  EXPECT_FALSE(profile.Writable());
  other.Release();
  EXPECT_TRUE(profile.OpenPassbook(Passbook("家計")));
  EXPECT_FALSE(other.Take(Passbook("家計"), 0, refusal));
}

// A month folder that is a link to somewhere else would take every write out of the passbook.
TEST_F(ProfileTest, AFolderLinkedOutsideIsNeverWrittenThrough) {
  WriteSettings("家計", "");
  std::filesystem::create_directories(temp.Path() + "/elsewhere");
  std::filesystem::create_directory_symlink(temp.Path() + "/elsewhere", Passbook("家計") + "/Daily");
  windows.messages.clear();
  EXPECT_FALSE(profile.OpenPassbook(Passbook("家計")));
  ASSERT_EQ(windows.messages.size(), 1u);
  EXPECT_NE(windows.messages[0].find("「Daily」"), std::string::npos);
  EXPECT_TRUE(profile.OpenPassbook(Passbook("家計"), TPassbookAccess::paRead));
}

TEST_F(ProfileTest, ListsPassbooksAndProposesTheNextName) {
  WriteSettings("通帳1", "");
  WriteSettings("通帳2", "");
  std::filesystem::create_directories(Passbook("写真"));  // no nbkr.ini: not a passbook
  ListPassbooks();
  std::vector<std::string> found = PassbookFolders();
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{Passbook("通帳1"), Passbook("通帳2")}));
  EXPECT_EQ(NewPassbookName(), "通帳3");
}

TEST_F(ProfileTest, OpenPassbookPointsTheMonthDataAndColoursAtIt) {
  WriteSettings("家計", "");
  profile.OpenPassbook(Passbook("家計") + "/");
  EXPECT_EQ(profile.Folder(), Passbook("家計"));
  EXPECT_EQ(CurrentMonthData().Folder(), Passbook("家計") + "/Daily");
  EXPECT_EQ(ColorScheme().FileName(), Passbook("家計") + "/Colors.clr");
  ASSERT_EQ(windows.notices.size(), 1u);
  EXPECT_EQ(windows.notices[0].message, kNoticePassbookOpened);
}

TEST_F(ProfileTest, RenameMovesTheFolderWithItsMonthData) {
  WriteSettings("家計", "");
  profile.OpenPassbook(Passbook("家計"));
  CurrentMonthData().SelectDay(kToday);
  CurrentMonthData().AddEntry(MakeKey("食費", 1), MakeKey("現金", 2), "", "パン", 150);

  ASSERT_TRUE(profile.RenamePassbook("わが家"));
  EXPECT_EQ(profile.Folder(), Passbook("わが家"));
  EXPECT_EQ(profile.Name(), "わが家");
  EXPECT_FALSE(std::filesystem::exists(Passbook("家計")));
  EXPECT_EQ(CurrentMonthData().Folder(), Passbook("わが家") + "/Daily");
  CurrentMonthData().SelectDay(kToday);
  ASSERT_EQ(CurrentMonthData().DayEntryCount(), 1);
  EXPECT_EQ(CurrentMonthData().Entry(CurrentMonthData().FirstIndex()).itemText, "パン");
}

TEST_F(ProfileTest, FailedRenameIsReportedAndKeepsThePassbookOpen) {
  WriteSettings("家計", "");
  WriteSettings("わが家", "");
  profile.OpenPassbook(Passbook("家計"));
  for (const char* name : {"わが家", "a/b", ""}) {
    SCOPED_TRACE(name);
    windows.messages.clear();
    EXPECT_FALSE(profile.RenamePassbook(name));
    EXPECT_EQ(windows.messages.size(), 1u);
    EXPECT_EQ(profile.Folder(), Passbook("家計"));
    EXPECT_EQ(profile.Name(), "家計");
    EXPECT_EQ(CurrentMonthData().Folder(), Passbook("家計") + "/Daily");
  }
}

}  // namespace
}  // namespace kzm
