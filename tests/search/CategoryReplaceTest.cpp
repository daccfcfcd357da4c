#include "search/CategoryReplace.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <map>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "foundation/Codec.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "search/ReplacePending.h"

namespace kzm {
namespace {

const std::string kCash = MakeKey("現金", kKindAsset);
const std::string kPurse = MakeKey("財布", kKindAsset);
const std::string kBank = MakeKey("銀行", kKindAsset);
const std::string kFood = MakeKey("食費", kKindPayment);
const std::string kSalary = MakeKey("給与", kKindReceipt);
const std::string kMemo = MakeKey("メモ", kKindMemo);

const char* const kMonthFiles[] = {"202401.kzm", "202402.kzm", "202403.kzm", "202404.kzm"};

// A disk that fills up: every file write from now on fails, as on a full disk, until the
// object goes. Works for root too, unlike taking away permissions.
class TFullDisk {
 public:
  TFullDisk() {
    ::getrlimit(RLIMIT_FSIZE, &m_old);
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit none = m_old;
    none.rlim_cur = 0;
    ::setrlimit(RLIMIT_FSIZE, &none);
  }
  ~TFullDisk() {
    ::setrlimit(RLIMIT_FSIZE, &m_old);
    std::signal(SIGXFSZ, m_oldHandler);
  }
  TFullDisk(const TFullDisk&) = delete;
  TFullDisk& operator=(const TFullDisk&) = delete;

 private:
  rlimit m_old{};
  void (*m_oldHandler)(int) = nullptr;
};

// Four months of a passbook with cash in every month: paid from (account), moved into
// (category); February also holds an entry with cash on both sides, a salary into the
// bank and a memo. Cash references: January 2, February 4, March 2, April 2.
class CategoryReplaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data.SetFolder(temp.Path() + "/Daily");
    for (int month = 1; month <= 4; ++month) {
      Add(month, 10, kFood, kCash, "パン");
      Add(month, 20, kCash, kBank, "ATM");
    }
    Add(2, 5, kCash, kCash, "両替");
    Add(2, 25, kSalary, kBank, "給料");
    Add(2, 25, kMemo, kMemo, "晴れ");
    ASSERT_TRUE(data.Save());
    for (const char* name : kMonthFiles) original[name] = Bytes(name);
  }

  void Add(int month, int day, const std::string& category, const std::string& account, const char* item) {
    data.SelectDay(EncodeDate(2024, month, day));
    data.AddEntry(category, account, "", item, 100);
  }

  std::optional<TReplaceRequest> Pending() const {
    std::optional<TReplaceRequest> pending;
    std::string error;
    EXPECT_TRUE(ReadPendingReplace(temp.Path(), pending, error)) << error;
    return pending;
  }

  std::string Bytes(const std::string& name) const { return test::ReadBytes(temp.Path() + "/Daily/" + name); }

  // The month files whose bytes changed.
  std::vector<std::string> ChangedFiles() const {
    std::vector<std::string> changed;
    for (const char* name : kMonthFiles) {
      if (Bytes(name) != original.at(name)) changed.push_back(name);
    }
    return changed;
  }

  // How many references to key the files hold on disk, read afresh.
  int ReferencesOnDisk(const std::string& key) const {
    TkzmDataUnit fresh;
    fresh.SetFolder(temp.Path() + "/Daily");
    int count = 0;
    for (int month = 1; month <= 4; ++month) {
      fresh.SelectDay(EncodeDate(2024, month, 1));
      for (int i = 0; i < fresh.Count(); ++i) {
        count += (fresh.Entry(i).categoryKey == key) + (fresh.Entry(i).accountKey == key);
      }
    }
    return count;
  }

  test::TTempFolder temp;
  test::TRecordingWindowSystem windows;
  TkzmDataUnit data;
  std::map<std::string, std::string> original;
};

TEST_F(CategoryReplaceTest, AnAssetIsReplacedAsCategoryAndAsAccount) {
  const TReplaceOutcome outcome = ReplaceAllMonths(data, {kCash, kPurse});
  EXPECT_EQ(outcome.changes, 10);
  EXPECT_EQ(outcome.monthsChanged, 4);
  EXPECT_FALSE(outcome.failed);
  EXPECT_EQ(ReplaceReport(outcome), "10件を変換しました");
  // Written through: the files hold the new key without a save of the month data.
  EXPECT_EQ(ReferencesOnDisk(kCash), 0);
  EXPECT_EQ(ReferencesOnDisk(kPurse), 10);
  EXPECT_EQ(ReferencesOnDisk(kBank), 5);
  EXPECT_EQ(ReferencesOnDisk(kFood), 4);
  EXPECT_FALSE(data.Modified());
  EXPECT_TRUE(windows.messages.empty());
}

// The run lends the month data a batch for its folder syncs; once it is over, the month data
// writes on its own again, whichever way the run ended.
TEST_F(CategoryReplaceTest, TheMonthDataSavesOnItsOwnAfterARun) {
  (void)ReplaceAllMonths(data, {kCash, kPurse}, [] { return false; });
  (void)ReplaceAllMonths(data, {kPurse, kCash});
  Add(3, 1, kFood, kBank, "あとで");
  EXPECT_TRUE(data.Save());
  EXPECT_EQ(ReferencesOnDisk(kFood), 5);
  EXPECT_EQ(ReferencesOnDisk(kPurse), 0);
  EXPECT_EQ(ReferencesOnDisk(kCash), 10);
}

TEST_F(CategoryReplaceTest, RangesAndKeysDecideWhatChanges) {
  using V = std::vector<std::string>;
  struct Case {
    const char* what;
    TReplaceRequest request;
    int changes;
    V changedFiles;
  };
  const TDayNumber feb15 = EncodeDate(2024, 2, 15);
  const Case cases[] = {
      {"no range: every month file", {kCash, kPurse}, 10, V(std::begin(kMonthFiles), std::end(kMonthFiles))},
      {"only an end: later months untouched", {kCash, kPurse, 0, feb15}, 5, V{"202401.kzm", "202402.kzm"}},
      {"only a start", {kCash, kPurse, feb15, 0}, 5, V{"202402.kzm", "202403.kzm", "202404.kzm"}},
      {"a name no entry uses", {MakeKey("交際", kKindPayment), kFood}, 0, V{}},
      {"a memo name carries no kind", {MakeKey("メモ", kKindNone), kPurse}, 0, V{}},
      {"the same name of another kind", {MakeKey("現金", kKindPayment), kFood}, 0, V{}},
      {"the last day is included", {kFood, kSalary, 0, EncodeDate(2024, 3, 10)}, 3,
       V{"202401.kzm", "202402.kzm", "202403.kzm"}},
      {"a one-day range holding an entry", {kFood, kSalary, EncodeDate(2024, 2, 10), EncodeDate(2024, 2, 10)}, 1,
       V{"202402.kzm"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // Each case starts from the same files.
    for (const auto& [name, bytes] : original) test::WriteBytes(temp.Path() + "/Daily/" + name, bytes);
    TkzmDataUnit fresh;
    fresh.SetFolder(temp.Path() + "/Daily");
    const TReplaceOutcome outcome = ReplaceAllMonths(fresh, c.request);
    EXPECT_EQ(outcome.changes, c.changes);
    EXPECT_EQ(ChangedFiles(), c.changedFiles);
    if (c.changes == 0) {
      EXPECT_EQ(ReplaceReport(outcome), "0件を変換しました");
    }
  }
}

// A stopped run has done the oldest months, none after the one it stopped at.
TEST_F(CategoryReplaceTest, AStopKeepsWhatWasDoneOnTheOldestMonths) {
  int asked = 0;
  const TReplaceOutcome outcome = ReplaceAllMonths(data, {kCash, kPurse}, [&] { return ++asked < 2; });
  EXPECT_EQ(asked, 2);
  EXPECT_TRUE(outcome.stopped);
  EXPECT_EQ(ChangedFiles(), (std::vector<std::string>{"202401.kzm", "202402.kzm"}));
  EXPECT_EQ(outcome.changes, 6);
  EXPECT_EQ(ReplaceReport(outcome), std::to_string(outcome.changes) + "件を変換しました");
}

TEST_F(CategoryReplaceTest, AFailedWriteStopsTheRunAndLeavesThatMonthAlone) {
  std::unique_ptr<TFullDisk> full;
  int asked = 0;
  // The disk fills up after the first month.
  const TReplaceOutcome outcome = ReplaceAllMonths(data, {kCash, kPurse}, [&] {
    if (++asked == 1) full = std::make_unique<TFullDisk>();
    return true;
  });
  full.reset();
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(outcome.failed);
  EXPECT_EQ(outcome.monthsChanged, 1);
  EXPECT_EQ(ChangedFiles().size(), 1u);
  EXPECT_EQ(windows.messages.size(), 1u);  // the month data told why the file could not be written
  const std::string report = ReplaceReport(outcome);
  EXPECT_NE(report.find("1か月分"), std::string::npos) << report;
  EXPECT_NE(report.find(outcome.failedMonth), std::string::npos) << report;
  // The record stays, so that the run can be finished once the disk has room.
  EXPECT_TRUE(Pending().has_value());

  // The failed month's change is dropped, not written by a later save.
  EXPECT_FALSE(data.Modified());
  EXPECT_TRUE(data.Save());
  EXPECT_EQ(ChangedFiles().size(), 1u);
  EXPECT_EQ(ReferencesOnDisk(kCash) + ReferencesOnDisk(kPurse), 10);
}

TEST_F(CategoryReplaceTest, TheRunIsRecordedWhileItGoesAndTheRecordGoesWhenItEnds) {
  const TReplaceRequest request{kCash, kPurse, EncodeDate(2024, 2, 1), 0};
  std::optional<TReplaceRequest> during;
  const TReplaceOutcome outcome = ReplaceAllMonths(data, request, [&] {
    if (!during) during = Pending();
    return true;
  });
  EXPECT_FALSE(outcome.failed);
  ASSERT_TRUE(during.has_value());
  EXPECT_EQ(during->before, kCash);
  EXPECT_EQ(during->after, kPurse);
  EXPECT_EQ(during->first, EncodeDate(2024, 2, 1));
  EXPECT_EQ(during->last, 0);
  EXPECT_FALSE(Pending().has_value());
  // A stop asked for by the user ends the run too.
  ReplaceAllMonths(data, {kPurse, kCash}, [] { return false; });
  EXPECT_FALSE(Pending().has_value());
}

// A run killed part way leaves its record; running the recorded request gives the files one
// whole run gives.
TEST_F(CategoryReplaceTest, ARunKilledPartWayIsFinishedExactlyFromItsRecord) {
  const TReplaceRequest request{kCash, kPurse, 0, 0};
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    int months = 0;
    ReplaceAllMonths(data, request, [&] {
      if (++months == 2) ::_exit(0);  // as if killed between two months
      return true;
    });
    ::_exit(1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(ChangedFiles(), (std::vector<std::string>{"202401.kzm", "202402.kzm"}));
  const std::optional<TReplaceRequest> pending = Pending();
  ASSERT_TRUE(pending.has_value());

  TkzmDataUnit afresh;
  afresh.SetFolder(temp.Path() + "/Daily");
  EXPECT_FALSE(ReplaceAllMonths(afresh, *pending).failed);
  EXPECT_FALSE(Pending().has_value());
  EXPECT_EQ(ReferencesOnDisk(kCash), 0);
  EXPECT_EQ(ReferencesOnDisk(kPurse), 10);
  EXPECT_EQ(ChangedFiles().size(), 4u);
}

TEST_F(CategoryReplaceTest, ARecordThatCannotBeWrittenChangesNothing) {
  TReplaceOutcome outcome;
  {
    TFullDisk full;
    outcome = ReplaceAllMonths(data, {kCash, kPurse});
  }
  EXPECT_TRUE(outcome.failed);
  EXPECT_EQ(outcome.monthsChanged, 0);
  EXPECT_TRUE(ChangedFiles().empty());
  EXPECT_FALSE(Pending().has_value());
  EXPECT_NE(ReplaceReport(outcome).find("何も変更していません"), std::string::npos) << ReplaceReport(outcome);
}

// A damaged record is refused as a whole: a garbled date read as an open end would replace
// over every month, a blank name would replace a key no category has.
TEST_F(CategoryReplaceTest, AnUnreadableRecordIsReportedAndTheQuestionNamesTheRun) {
  const std::string path = temp.Path() + "/" + kReplacePendingFileName;
  std::optional<TReplaceRequest> pending;
  std::string error;
  for (const char* line : {"only one field", "現金,2,財布,2,2024021,", "現金,2,財布,2,,20240230",
                           "現金,2,財布,2,2024/02/01,", "現金,2,財布,2, ,", "現金,2,財布,2,２０２４０２０１,",
                           ",2,財布,2,,", "現金,2, ,2,,", "現金,,財布,2,,", "現金,2,財布,9,,", "現金,2,財布,2,,x"}) {
    SCOPED_TRACE(line);
    std::string bytes;
    ASSERT_TRUE(EncodeCp932(std::string(line) + "\r\n", bytes));
    test::WriteBytes(path, bytes);
    error.clear();
    EXPECT_FALSE(ReadPendingReplace(temp.Path(), pending, error));
    EXPECT_FALSE(pending.has_value());
    EXPECT_NE(error.find(kReplacePendingFileName), std::string::npos) << error;
  }
  // The record as it is written reads back, open ends included.
  std::string bytes;
  ASSERT_TRUE(EncodeCp932("現金,2,財布,2,20240201,\r\n", bytes));
  test::WriteBytes(path, bytes);
  ASSERT_TRUE(ReadPendingReplace(temp.Path(), pending, error)) << error;
  ASSERT_TRUE(pending.has_value());
  EXPECT_EQ(pending->before, kCash);
  EXPECT_EQ(pending->after, kPurse);
  EXPECT_EQ(pending->first, EncodeDate(2024, 2, 1));
  EXPECT_EQ(pending->last, 0);
  const std::string question =
      PendingReplaceQuestion({kCash, kPurse, EncodeDate(2024, 2, 1), EncodeDate(2024, 3, 31)});
  EXPECT_NE(question.find("「現金」→「財布」（2024/02/01～2024/03/31）"), std::string::npos) << question;
}

TEST(CategoryReplaceRefusalTest, TheTargetMustBeACategoryOtherThanTheSource) {
  THeadList categories;
  categories.LoadDefaultCategories();
  struct Case {
    const char* what;
    std::string before, after;
    const char* says;  // part of the refusal; nullptr when allowed
  };
  const Case cases[] = {
      {"an asset by another", kCash, kBank, nullptr},
      {"a typed name no category has", kCash, kPurse, "「財布」は「資産」の項目にありません"},
      {"a name of another kind", kCash, MakeKey("食費", kKindAsset), "「食費」は「資産」の項目にありません"},
      {"no kind chosen", MakeKey("メモ", kKindNone), MakeKey("メモ", kKindNone), "分類が選ばれていません"},
      {"the same category", kFood, kFood, "同じ項目"},
      {"an unknown source is allowed", MakeKey("外食", kKindPayment), kFood, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string refusal = ReplaceRefusal(categories, c.before, c.after);
    if (c.says) {
      EXPECT_NE(refusal.find(c.says), std::string::npos) << refusal;
    } else {
      EXPECT_EQ(refusal, "");
    }
  }
}

}  // namespace
}  // namespace kzm
