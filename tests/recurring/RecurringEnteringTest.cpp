#include "recurring/RecurringEntering.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "calendar/Almanac.h"
#include "common/PassbookFolderTest.h"
#include "foundation/ThisPc.h"
#include "passbook/Categories.h"
#include "recurring/RecurringSamples.h"
#include "views/MonthTable.h"

namespace kzm {
namespace {

TDayNumber D(int y, int m, int d) { return EncodeDate(y, m, d); }

class RecurringEnteringTest : public test::TPassbookFolderTest {
 protected:
  void SetUp() override {
    TPassbookFolderTest::SetUp();
    CurrentProfile().Categories().LoadDefaultCategories();
    ASSERT_TRUE(CurrentProfile().Save());
    std::string error;
    ASSERT_TRUE(OpenRecurring(temp.Path(), store, CurrentMonthData(), error)) << error;
  }

  // Adds t and saves the store, as the window and the command line do.
  int Add(const TRecurringTemplate& t) {
    const int id = store.Add(t);
    std::string error;
    EXPECT_TRUE(store.Save(error)) << error;
    return id;
  }

  std::vector<TDueOccurrence> Due(TDayNumber until) { return DueOccurrences(store, until, days); }

  static std::vector<TOccurrenceChoice> EnterAll(const std::vector<TDueOccurrence>& due) {
    std::vector<TOccurrenceChoice> choices;
    for (const TDueOccurrence& d : due) choices.push_back({d, TChoice::cEnter, d.source.amount});
    return choices;
  }

  // The entries of the month of day as "dd item amount" lines, read from its file afresh.
  std::vector<std::string> MonthLines(TDayNumber day) {
    TkzmDataUnit& data = CurrentMonthData();
    (void)data.SetFolder(Daily());
    data.SelectDay(day);
    std::vector<std::string> lines;
    for (int i = 0; i < data.Count(); ++i) {
      const TkzmEntry& e = data.Entry(i);
      lines.push_back(FormatDate8(e.date).substr(6) + " " + e.itemText + " " + std::to_string(e.amount));
    }
    return lines;
  }

  // An entry equal to January's rent, made by hand on its day: it must not be taken for the
  // occurrence, nor hide it.
  static void AddRentByHand() {
    CurrentMonthData().SelectDay(D(2027, 1, 27));
    CurrentMonthData().AddEntry(MakeKey("住居･光熱", kKindPayment), MakeKey("銀行", kKindAsset), "", "家賃", 80000);
    ASSERT_TRUE(CurrentMonthData().Save());
  }

  // Enters everything due until the day in a child process that ends itself at stop, as a
  // kill or a power cut would; then opens the passbook's recurring entries again.
  void EnterAndDieAt(TEnterStep stop, TDayNumber until) {
    const std::vector<TOccurrenceChoice> choices = EnterAll(Due(until));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      (void)EnterOccurrences(store, choices, CurrentMonthData(), [stop](TEnterStep step) {
        if (step == stop) _exit(9);
      });
      _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 9);
    ASSERT_TRUE(std::filesystem::exists(temp.File(PcOwnName(kRecurringPendingFileName))));
    (void)CurrentMonthData().SetFolder(Daily());
    std::string error;
    ASSERT_TRUE(OpenRecurring(temp.Path(), store, CurrentMonthData(), error)) << error;
    EXPECT_FALSE(std::filesystem::exists(temp.File(PcOwnName(kRecurringPendingFileName))));
  }

  TBusinessDays days{Almanac().Rules()};
  TRecurringStore store;
};

TEST_F(RecurringEnteringTest, AFirstMovedIntoTheMonthBeforeIsThatMonthsOneOccurrence) {
  TRecurringTemplate fee = test::Rent();
  fee.item = "会費";
  fee.amount = 1000;
  fee.schedule.day = 1;
  fee.schedule.first = D(2027, 7, 1);
  Add(fee);
  const std::vector<TDueOccurrence> due = Due(D(2027, 7, 31));
  ASSERT_EQ(due.size(), 2u);
  EXPECT_EQ(due[1].occurrence.scheduled, D(2027, 8, 1));  // a Sunday
  const TEnterOutcome outcome = EnterOccurrences(store, EnterAll(due), CurrentMonthData());
  EXPECT_FALSE(outcome.failed) << outcome.message;
  EXPECT_EQ(outcome.entered, 2);
  EXPECT_EQ(MonthLines(D(2027, 7, 1)), (std::vector<std::string>{"01 会費 1000", "30 会費 1000"}));
  EXPECT_TRUE(Due(D(2027, 8, 31)).empty());
  ASSERT_EQ(Due(D(2027, 9, 30)).size(), 1u);
  // Choosing the same occurrences again enters nothing.
  EXPECT_EQ(EnterOccurrences(store, EnterAll(due), CurrentMonthData()).entered, 0);
  EXPECT_EQ(MonthLines(D(2027, 7, 1)).size(), 2u);
  // What was entered is in the file, not only in memory.
  TRecurringStore reread;
  std::string error;
  ASSERT_TRUE(reread.Load(temp.Path(), error));
  EXPECT_TRUE(DueOccurrences(reread, D(2027, 8, 31), days).empty());
}

TEST_F(RecurringEnteringTest, StoppedAfterTheRecordTheOccurrencesAreStillDue) {
  Add(test::Rent());
  Add(test::Salary());
  AddRentByHand();
  EnterAndDieAt(TEnterStep::esRecorded, D(2027, 2, 28));
  EXPECT_EQ(MonthLines(D(2027, 1, 1)), std::vector<std::string>{"27 家賃 80000"});
  ASSERT_EQ(Due(D(2027, 2, 28)).size(), 4u);
  EXPECT_EQ(EnterOccurrences(store, EnterAll(Due(D(2027, 2, 28))), CurrentMonthData()).entered, 4);
  EXPECT_EQ(MonthLines(D(2027, 1, 1)),
            (std::vector<std::string>{"25 給与 250000", "27 家賃 80000", "27 家賃 80000"}));
  EXPECT_EQ(MonthLines(D(2027, 2, 1)), (std::vector<std::string>{"25 給与 250000", "26 家賃 80000"}));
}

TEST_F(RecurringEnteringTest, StoppedAfterTheMonthsNothingIsEnteredTwice) {
  Add(test::Rent());
  Add(test::Salary());
  AddRentByHand();
  EnterAndDieAt(TEnterStep::esMonthsWritten, D(2027, 2, 28));
  EXPECT_TRUE(Due(D(2027, 2, 28)).empty());
  EXPECT_EQ(EnterOccurrences(store, EnterAll(Due(D(2027, 2, 28))), CurrentMonthData()).entered, 0);
  EXPECT_EQ(MonthLines(D(2027, 1, 1)),
            (std::vector<std::string>{"25 給与 250000", "27 家賃 80000", "27 家賃 80000"}));
  EXPECT_EQ(MonthLines(D(2027, 2, 1)).size(), 2u);
  ASSERT_NE(store.Handled(1, D(2027, 2, 27)), nullptr);
  EXPECT_EQ(store.Handled(1, D(2027, 2, 27))->date, D(2027, 2, 26));
}

TEST_F(RecurringEnteringTest, AnEstimateIsEnteredWithTheConfirmedAmount) {
  const int id = Add(test::Electricity());
  std::vector<TOccurrenceChoice> choices = EnterAll(Due(D(2027, 1, 31)));
  ASSERT_EQ(choices.size(), 1u);
  EXPECT_TRUE(choices[0].due.source.estimate);
  EXPECT_EQ(choices[0].due.occurrence.date, D(2027, 1, 12));  // 1/10 Sunday, 1/11 成人の日
  choices[0].amount = 7450;
  EXPECT_EQ(EnterOccurrences(store, choices, CurrentMonthData()).entered, 1);
  EXPECT_EQ(MonthLines(D(2027, 1, 1)), std::vector<std::string>{"12 電気代 7450"});
  EXPECT_EQ(store.Handled(id, D(2027, 1, 10))->amount, 7450);
  EXPECT_EQ(store.Find(id)->amount, 7000);
}

// Streamed a span of days at a time, the occurrences are those of the list, in its order:
// none lost or doubled where one span ends, shifted ones included.
TEST_F(RecurringEnteringTest, StreamedOccurrencesAreTheListedOnesInOrder) {
  Add(test::Rent());
  Add(test::Salary());
  TRecurringTemplate daily = test::Electricity();
  daily.schedule.repeat = TRepeat::rpDays;
  daily.schedule.first = D(2026, 12, 30);
  daily.schedule.shift = TBusinessShift::bsAsIs;  // every day has one, the last of a span too
  Add(daily);
  const TEnterOutcome outcome = EnterOccurrences(store, EnterAll(Due(D(2027, 2, 28))), CurrentMonthData());
  ASSERT_GT(outcome.entered, 20);  // some handled, so that the list has gaps
  const TDayNumber until = D(2045, 6, 30);
  std::vector<std::pair<TOccurrence, int>> listed, streamed;
  for (const TDueOccurrence& d : Due(until)) listed.emplace_back(d.occurrence, d.source.id);
  ForEachDueOccurrence(store, until, days,
                       [&](const TDueOccurrence& d) { streamed.emplace_back(d.occurrence, d.source.id); });
  ASSERT_GT(listed.size(), 2000u);
  EXPECT_EQ(streamed, listed);
}

TEST_F(RecurringEnteringTest, SkipAndLater) {
  Add(test::Rent());
  std::vector<TOccurrenceChoice> choices = EnterAll(Due(D(2027, 3, 31)));
  ASSERT_EQ(choices.size(), 3u);
  choices[0].choice = TChoice::cSkip;
  choices[1].choice = TChoice::cLater;
  const TEnterOutcome outcome = EnterOccurrences(store, choices, CurrentMonthData());
  EXPECT_EQ(outcome.entered, 1);
  EXPECT_EQ(outcome.skipped, 1);
  const std::vector<TDueOccurrence> left = Due(D(2027, 3, 31));
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].occurrence.scheduled, D(2027, 2, 27));
  EXPECT_TRUE(MonthLines(D(2027, 1, 1)).empty());
}

TEST_F(RecurringEnteringTest, ADeletedCategoryIsReportedAndNotEntered) {
  THeadList& categories = CurrentProfile().Categories();
  categories.AddKey(MakeKey("習い事", kKindPayment));
  TRecurringTemplate lesson = test::Rent();
  lesson.category = "習い事";
  lesson.item = "ピアノ";
  Add(lesson);
  Add(test::Salary());
  categories.Delete(categories.IndexOfKey(MakeKey("習い事", kKindPayment)));
  const TEnterOutcome outcome = EnterOccurrences(store, EnterAll(Due(D(2027, 1, 31))), CurrentMonthData());
  EXPECT_EQ(outcome.entered, 1);
  EXPECT_EQ(outcome.refused, 1);
  EXPECT_NE(outcome.message.find("習い事"), std::string::npos) << outcome.message;
  EXPECT_EQ(MonthLines(D(2027, 1, 1)), std::vector<std::string>{"25 給与 250000"});
  ASSERT_EQ(Due(D(2027, 1, 31)).size(), 1u);
  EXPECT_EQ(Due(D(2027, 1, 31))[0].source.item, "ピアノ");
}

TEST_F(RecurringEnteringTest, AChangedTemplateDoesNotEnterThePastAgain) {
  const int id = Add(test::Rent());
  EXPECT_EQ(EnterOccurrences(store, EnterAll(Due(D(2027, 1, 31))), CurrentMonthData()).entered, 1);
  TRecurringTemplate earlier = *store.Find(id);
  earlier.schedule.day = 20;
  earlier.amount = 82000;
  ASSERT_TRUE(store.Change(earlier));
  const std::vector<TDueOccurrence> due = Due(D(2027, 2, 28));
  ASSERT_EQ(due.size(), 1u);
  EXPECT_EQ(due[0].occurrence.date, D(2027, 2, 19));  // 2/20 is a Saturday
  EXPECT_EQ(NextOpenDate(store, *store.Find(id), D(2027, 1, 1), days), D(2027, 2, 19));
}

TEST_F(RecurringEnteringTest, AnUnreadableRecordStopsEverything) {
  Add(test::Rent());
  std::filesystem::create_directory(temp.File(kRecurringPendingFileName));
  std::string error;
  EXPECT_FALSE(OpenRecurring(temp.Path(), store, CurrentMonthData(), error));
  EXPECT_NE(error.find(kRecurringPendingFileName), std::string::npos);
}

TEST_F(RecurringEnteringTest, TheMonthShowsWhatIsStillToComeOutsideItsTotals) {
  Add(test::Rent());
  Add(test::Salary());
  TRecurringTemplate move = test::Rent();
  move.kind = TRecurringKind::rkMove;
  move.category = "現金";
  Add(move);
  EXPECT_EQ(EnterOccurrences(store, EnterAll(Due(D(2027, 1, 25))), CurrentMonthData()).entered, 1);  // salary
  TMonthTable table;
  (void)table.Load(202701);
  ASSERT_EQ(table.First(), D(2027, 1, 1));
  table.SetComing(ComingAmounts(store, table.First(), table.Last(), days));
  int housing = -1, salary = -1, cash = -1;
  for (int row = 1; row < table.RowCount(); ++row) {
    if (table.NameText(row) == "住居･光熱") housing = row;
    if (table.NameText(row) == "給与") salary = row;
    if (table.NameText(row) == "現金残高") cash = row;
  }
  ASSERT_GT(housing, 0);
  ASSERT_GT(salary, 0);
  ASSERT_GT(cash, 0);
  EXPECT_EQ(table.ComingText(housing, 26), "80,000");
  EXPECT_EQ(table.DayText(housing, 26), "");
  EXPECT_EQ(table.TotalText(housing), "0");
  EXPECT_EQ(table.ComingText(salary, 24), "");  // entered: it is in the month itself
  EXPECT_EQ(table.DayText(salary, 24), "250,000");
  EXPECT_EQ(table.ComingText(cash, 26), "");
  EXPECT_EQ(table.DayText(cash, 26), "0");
  (void)table.Load(202701);
  EXPECT_EQ(table.ComingText(housing, 26), "");
}

}  // namespace
}  // namespace kzm
