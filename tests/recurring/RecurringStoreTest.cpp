#include "recurring/RecurringStore.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "foundation/Codec.h"
#include "recurring/RecurringSamples.h"

namespace kzm {
namespace {

using test::ReadBytes;
using test::WriteBytes;

class RecurringStoreTest : public ::testing::Test {
 protected:
  TRecurringStore Loaded() {
    TRecurringStore store;
    std::string error;
    EXPECT_TRUE(store.Load(temp.Path(), error)) << error;
    return store;
  }
  std::string FilePath() const { return temp.File(kRecurringFileName); }

  test::TTempFolder temp;
};

TEST_F(RecurringStoreTest, EverythingComesBackAsSavedInCp932Lines) {
  TRecurringStore store = Loaded();
  TRecurringTemplate move;
  move.kind = TRecurringKind::rkMove;
  move.category = "現金";
  move.account = "銀行";
  move.item = "引き出し";
  move.amount = 30000;
  move.schedule = {TRepeat::rpWeekly, 2, 5, EncodeDate(2027, 1, 1), EncodeDate(2027, 12, 31), 10,
                   TBusinessShift::bsAfter};
  const int rent = store.Add(test::Rent());
  const int salary = store.Add(test::Salary());
  const int moved = store.Add(move);
  EXPECT_EQ(std::vector<int>({rent, salary, moved}), std::vector<int>({1, 2, 3}));
  store.MarkHandled(rent, EncodeDate(2027, 1, 27), {THandling::hEntered, EncodeDate(2027, 1, 27), 81000});
  store.MarkHandled(salary, EncodeDate(2027, 1, 25), {THandling::hSkipped, 0, 0});
  store.SetDaysAhead(3);
  std::string error;
  ASSERT_TRUE(store.Save(error)) << error;

  const std::string bytes = ReadBytes(FilePath());
  EXPECT_NE(bytes.find("\r\n"), std::string::npos);
  EXPECT_EQ(bytes.find("\n", bytes.find("\r\n") + 2) - 1, bytes.find("\r\n", bytes.find("\r\n") + 2));
  EXPECT_NE(bytes.find("\x89\xC6\x92\xC0"), std::string::npos);  // 家賃 in CP932

  const TRecurringStore again = Loaded();
  ASSERT_EQ(again.Templates().size(), 3u);
  TRecurringTemplate expected = test::Salary();
  expected.id = salary;
  EXPECT_EQ(again.Templates()[1], expected);
  move.id = moved;
  EXPECT_EQ(again.Templates()[2], move);
  EXPECT_EQ(again.DaysAhead(), 3);
  ASSERT_NE(again.Handled(rent, EncodeDate(2027, 1, 27)), nullptr);
  EXPECT_EQ(again.Handled(rent, EncodeDate(2027, 1, 27))->amount, 81000);
  EXPECT_EQ(again.Handled(salary, EncodeDate(2027, 1, 25))->handling, THandling::hSkipped);
  EXPECT_EQ(again.Handled(salary, EncodeDate(2027, 2, 25)), nullptr);
  EXPECT_EQ(again.LastHandled(rent), EncodeDate(2027, 1, 27));
  EXPECT_EQ(again.LastHandled(moved), 0);
}

TEST_F(RecurringStoreTest, LinesNotUnderstoodAreKeptAndIdsNeverComeBack) {
  const std::string odd = "future,1,2,3";
  const std::string bad = "template,9,支出,食費";  // too few fields
  std::string badBytes;
  ASSERT_TRUE(EncodeCp932(bad, badBytes));
  WriteBytes(FilePath(), "option,NextId,5\r\n" + odd + "\r\n" + badBytes + "\r\nentered,8,20270101,20270101,5\r\n");
  TRecurringStore store = Loaded();
  EXPECT_TRUE(store.Templates().empty());
  const int id = store.Add(test::Rent());
  EXPECT_EQ(id, 9);  // past the NextId option and the id of the occurrences
  store.Remove(id);
  std::string error;
  ASSERT_TRUE(store.Save(error)) << error;
  const std::string bytes = ReadBytes(FilePath());
  EXPECT_NE(bytes.find(odd + "\r\n"), std::string::npos);
  EXPECT_NE(bytes.find(badBytes + "\r\n"), std::string::npos);
  TRecurringStore again = Loaded();
  EXPECT_EQ(again.Add(test::Rent()), 10);
}

// A template written twice (by hand, or by two copies of the file put together): the first
// line holds, and once removed the template stays gone.
TEST_F(RecurringStoreTest, ATemplateWrittenTwiceIsRemovedForGood) {
  TRecurringStore store = Loaded();
  const int id = store.Add(test::Rent());
  std::string error;
  ASSERT_TRUE(store.Save(error)) << error;
  const std::string bytes = ReadBytes(FilePath());
  const size_t start = bytes.find("template,");
  const std::string line = bytes.substr(start, bytes.find("\r\n", start) + 2 - start);
  WriteBytes(FilePath(), bytes + line);
  test::TRecordingWindowSystem windows;
  TRecurringStore doubled = Loaded();
  ASSERT_EQ(doubled.Templates().size(), 1u);
  EXPECT_EQ(windows.messages.size(), 1u);
  doubled.Remove(id);
  ASSERT_TRUE(doubled.Save(error)) << error;
  EXPECT_TRUE(Loaded().Templates().empty());
}

// A NextId at the top of the range (changed by hand) never wraps: the templates added there
// come back whole with ids of their own, and no id of an occurrence remembered is given again.
TEST_F(RecurringStoreTest, IdsNeverWrapAtTheTopOfTheRange) {
  WriteBytes(FilePath(), "option,NextId,2147483647\r\nentered,1,20270101,20270101,5\r\n");
  TRecurringStore store = Loaded();
  const int top = store.Add(test::Rent());
  EXPECT_EQ(top, INT32_MAX);
  EXPECT_EQ(store.Add(test::Salary()), 2);  // 1 is the id of the occurrence
  store.MarkHandled(top, EncodeDate(2027, 1, 27), {THandling::hEntered, EncodeDate(2027, 1, 27), 81000});
  std::string error;
  ASSERT_TRUE(store.Save(error)) << error;
  EXPECT_NE(ReadBytes(FilePath()).find("option,NextId,2147483647\r\n"), std::string::npos);
  TRecurringStore again = Loaded();
  ASSERT_EQ(again.Templates().size(), 2u);
  EXPECT_EQ(again.LastHandled(top), EncodeDate(2027, 1, 27));
  EXPECT_EQ(again.Add(test::Rent()), 3);
}

TEST_F(RecurringStoreTest, AnUnreadableFileIsReportedAndNeverWrittenOver) {
  std::filesystem::create_directory(FilePath());
  TRecurringStore store;
  std::string error;
  EXPECT_FALSE(store.Load(temp.Path(), error));
  EXPECT_NE(error.find(kRecurringFileName), std::string::npos);
  store.Add(test::Rent());
  error.clear();
  EXPECT_FALSE(store.Save(error));
  EXPECT_NE(error.find("上書きしません"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_directory(FilePath()));
}

TEST_F(RecurringStoreTest, AChangedTemplateIsClosedToWhatWasDone) {
  TRecurringStore store = Loaded();
  const int id = store.Add(test::Rent());
  store.MarkHandled(id, EncodeDate(2027, 1, 27), {THandling::hEntered, EncodeDate(2027, 1, 27), 80000});
  store.MarkHandled(id, EncodeDate(2027, 2, 27), {THandling::hSkipped, 0, 0});

  TRecurringTemplate renamed = *store.Find(id);
  renamed.note = "管理費込み";
  ASSERT_TRUE(store.Change(renamed));
  EXPECT_EQ(store.Find(id)->handledThrough, 0);

  TRecurringTemplate moved = *store.Find(id);
  moved.schedule.day = 20;
  ASSERT_TRUE(store.Change(moved));
  EXPECT_EQ(store.Find(id)->handledThrough, EncodeDate(2027, 2, 27));
  // A later change never opens it again.
  TRecurringTemplate back = *store.Find(id);
  back.handledThrough = 0;
  ASSERT_TRUE(store.Change(back));
  EXPECT_EQ(store.Find(id)->handledThrough, EncodeDate(2027, 2, 27));

  TRecurringTemplate unknown = moved;
  unknown.id = 99;
  EXPECT_FALSE(store.Change(unknown));
}

}  // namespace
}  // namespace kzm
