// Moving in: an export of our own making booked into a passbook with hand-typed entries,
// brought in again without doubling, undone to the month files' exact bytes, and killed
// part way.

#include "statement/LedgerImport.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "common/PassbookFolderTest.h"
#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "statement/ImportHistory.h"
#include "statement/StatementSamples.h"

namespace kzm {
namespace {

// Three months of a signed-amount export: a transfer from the bank into a purse (two rows),
// two levels of categories, a category the passbook lacks (教養・教育) and two alike coffees.
const char* const kMoveIn =
    "\"計算対象\",\"日付\",\"内容\",\"金額（円）\",\"保有金融機関\",\"大項目\",\"中項目\",\"メモ\",\"振替\",\"ID\"\r\n"
    "\"1\",\"2025/03/01\",\"喫茶サンプル\",\"-450\",\"がま口財布\",\"食費\",\"カフェ\",\"\",\"0\",\"m007\"\r\n"
    "\"1\",\"2025/03/01\",\"喫茶サンプル\",\"-450\",\"がま口財布\",\"食費\",\"カフェ\",\"\",\"0\",\"m006\"\r\n"
    "\"1\",\"2025/02/14\",\"サンプル書店\",\"-1200\",\"がま口財布\",\"教養・教育\",\"書籍\",\"文庫\",\"0\",\"m005\"\r\n"
    "\"0\",\"2025/02/03\",\"ATM引き出し\",\"10000\",\"がま口財布\",\"\",\"\",\"\",\"1\",\"m004\"\r\n"
    "\"0\",\"2025/02/03\",\"ATM引き出し\",\"-10000\",\"サンプル銀行\",\"\",\"\",\"\",\"1\",\"m003\"\r\n"
    "\"1\",\"2025/01/25\",\"サンプル商事\",\"250000\",\"サンプル銀行\",\"収入\",\"給与\",\"\",\"0\",\"m002\"\r\n"
    "\"1\",\"2025/01/10\",\"サンプルスーパー\",\"-2480\",\"サンプル銀行\",\"食費\",\"食料品\",\"\",\"0\",\"m001\"\r\n";

const std::string kBank = MakeKey("銀行", kKindAsset);
const std::string kPurse = MakeKey("がま口財布", kKindAsset);
const std::string kFood = MakeKey("食費", kKindPayment);
const std::string kSalary = MakeKey("給与", kKindReceipt);

// A passbook with a bank, food and salary, an entry typed by hand in each of the export's
// months, and the export beside it.
class LedgerImportTest : public test::TPassbookFolderTest {
 protected:
  void SetUp() override {
    TPassbookFolderTest::SetUp();
    CurrentProfile().Categories().LoadDefaultCategories();
    for (const std::string& key : {kBank, kFood, kSalary}) CurrentProfile().Categories().AddKey(key);
    ASSERT_TRUE(CurrentProfile().Save());
    TkzmDataUnit& data = CurrentMonthData();
    for (const int month : {1, 2, 3}) {
      data.SelectDay(EncodeDate(2025, month, 1));
      data.AddEntry(kFood, kBank, "", "手で書いた記入", 100 * month);
    }
    ASSERT_TRUE(data.Save());
    test::WriteBytes(ExportPath(), test::AsCp932(kMoveIn));
  }

  std::string ExportPath() const { return temp.File("export.csv"); }

  // The export read, the bank mapped to ours and the salary to our 給与, classified.
  TLedgerImport ReadAndClassify() {
    TLedgerImport import;
    std::string error;
    EXPECT_TRUE(import.Read(ExportPath(), error)) << error;
    for (const TLedgerMapLine& line : import.MapLines()) {
      if (line.account && line.upper == "サンプル銀行") import.Choose(line, "銀行");
      if (!line.account && line.upper == "収入") import.Choose(line, "給与");
    }
    import.Classify(ids, CurrentMonthData());
    return import;
  }

  // Every month file's bytes by name.
  std::map<std::string, std::string> MonthFiles() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(temp.Path() + "/Daily")) {
      if (entry.path().extension() == ".kzm") files[entry.path().filename()] = test::ReadBytes(entry.path());
    }
    return files;
  }

  // The entries of the first quarter of 2025 as "date amount category account text / note".
  static std::vector<std::string> FirstQuarter() {
    TkzmDataUnit& data = CurrentMonthData();
    std::vector<std::string> lines;
    for (TDayNumber day = EncodeDate(2025, 1, 1); day <= EncodeDate(2025, 3, 31); ++day) {
      data.SelectDay(day);
      for (int i = data.FirstIndex(); i <= data.LastIndex(); ++i) {
        const TkzmEntry& e = data.Entry(i);
        lines.push_back(FormatDate8(day) + " " + std::to_string(e.amount) + " " + KeyName(e.categoryKey) + " " +
                        KeyName(e.accountKey) + " " + e.itemText + " / " + e.note);
      }
    }
    return lines;
  }

  TImportedIds ids;
};

TEST_F(LedgerImportTest, TheMappingTableListsAccountsThenCategoriesWithWhatTheyBecome) {
  const TLedgerImport import = ReadAndClassify();
  std::vector<std::string> lines;
  for (const TLedgerMapLine& line : import.MapLines()) {
    lines.push_back((line.account ? std::string("口座 ") : KindNames().at(static_cast<size_t>(line.kind)) + " ") +
                    line.upper + "/" + line.lower + " → " + line.ours + " " + std::to_string(line.rows));
  }
  EXPECT_EQ(lines, (std::vector<std::string>{"口座 がま口財布/ → がま口財布 4", "口座 サンプル銀行/ → 銀行 3",
                                             "支出 食費/カフェ → 食費 2", "支出 教養・教育/書籍 → 教養・教育 1",
                                             "収入 収入/給与 → 給与 1", "支出 食費/食料品 → 食費 1"}));
}

TEST_F(LedgerImportTest, BookedThenSkippedTheSecondTimeThenUndoneToTheExactBytes) {
  const std::map<std::string, std::string> before = MonthFiles();
  ASSERT_EQ(before.size(), 3u);
  TLedgerImport first = ReadAndClassify();
  TLedgerCounts counts = first.Counts();
  EXPECT_EQ(counts.rows, 6);
  EXPECT_EQ(counts.ticked, 6);
  EXPECT_EQ(counts.already, 0);
  EXPECT_EQ(first.CategoriesToAdd(CurrentProfile().Categories()),
            (std::vector<std::string>{kPurse, MakeKey("教養・教育", kKindPayment)}));
  const TBookOutcome booked = BookLedgerImport(first, CurrentMonthData(), temp.Path(), ids);
  ASSERT_FALSE(booked.failed) << booked.message;
  EXPECT_EQ(booked.added, 6);
  EXPECT_GE(CurrentProfile().Categories().IndexOfKey(kPurse), 0);
  EXPECT_GE(CurrentProfile().Categories().IndexOfKey(MakeKey("教養・教育", kKindPayment)), 0);
  EXPECT_EQ(FirstQuarter(), (std::vector<std::string>{
                                "20250101 100 食費 銀行 手で書いた記入 / ",
                                "20250110 2480 食費 銀行 サンプルスーパー / 食料品",
                                "20250125 250000 給与 銀行 サンプル商事 / 給与",
                                "20250201 200 食費 銀行 手で書いた記入 / ",
                                "20250203 10000 がま口財布 銀行 ATM引き出し / ",
                                "20250214 1200 教養・教育 がま口財布 サンプル書店 / 書籍 文庫",
                                "20250301 300 食費 銀行 手で書いた記入 / ",
                                "20250301 450 食費 がま口財布 喫茶サンプル / カフェ",
                                "20250301 450 食費 がま口財布 喫茶サンプル / カフェ",
                            }));

  // Brought in again with the coffees mapped elsewhere: every row is already there.
  TLedgerImport second = ReadAndClassify();
  for (const TLedgerMapLine& line : second.MapLines()) {
    if (line.lower == "カフェ") second.Choose(line, "喫茶");
  }
  second.Classify(ids, CurrentMonthData());
  counts = second.Counts();
  EXPECT_EQ(counts.already, 6);
  EXPECT_EQ(counts.ticked, 0);
  EXPECT_EQ(BookLedgerImport(second, CurrentMonthData(), temp.Path(), ids).added, 0);
  EXPECT_EQ(FirstQuarter().size(), 9u);

  const TUndoOutcome undone = UndoLastImport(CurrentMonthData(), temp.Path(), ids);
  EXPECT_FALSE(undone.failed) << undone.message;
  EXPECT_EQ(undone.removed, 6);
  EXPECT_EQ(MonthFiles(), before);
  EXPECT_EQ(ReadAndClassify().Counts().ticked, 6);
}

// Each entry of a day stands for one row: one coffee typed by hand (its month not saved yet)
// leaves the export's other coffee new, and the check leaves the day being worked on where
// it is. A row whose entry was edited since it was brought in is known by its id.
TEST_F(LedgerImportTest, AnEntryStandsForOneRowAndAnIdOutlivesAnEdit) {
  TkzmDataUnit& data = CurrentMonthData();
  data.SelectDay(EncodeDate(2025, 3, 1));
  // The month lives only in memory so far.
  std::filesystem::remove(temp.Path() + "/Daily/202503.kzm");
  data.AddEntry(kFood, kPurse, "", "喫茶サンプル", 450);
  TLedgerImport import = ReadAndClassify();
  EXPECT_EQ(data.CurrentDay(), EncodeDate(2025, 3, 1));
  EXPECT_EQ(import.Counts().already, 1);
  EXPECT_EQ(import.Counts().ticked, 5);
  ASSERT_EQ(BookLedgerImport(import, data, temp.Path(), ids).added, 5);

  data.SelectDay(EncodeDate(2025, 1, 10));
  data.Entry(data.LastIndex()).itemText = "スーパー（まとめ買い）";
  data.SetModified();
  ASSERT_TRUE(data.Save());
  TImportedIds reread;
  std::string error;
  ASSERT_TRUE(reread.Load(temp.Path(), error)) << error;
  TLedgerImport again;
  ASSERT_TRUE(again.Read(ExportPath(), error)) << error;
  for (const TLedgerMapLine& line : again.MapLines()) {
    if (line.account && line.upper == "サンプル銀行") again.Choose(line, "銀行");
  }
  again.Classify(reread, data);
  EXPECT_EQ(again.Counts().already, 6);
}

// Both sides of a transfer mapped to one asset would move money from it into itself.
TEST_F(LedgerImportTest, ATransferWithinOneAssetIsNotBooked) {
  TLedgerImport import;
  std::string error;
  ASSERT_TRUE(import.Read(ExportPath(), error)) << error;
  for (const TLedgerMapLine& line : import.MapLines()) {
    if (line.account) import.Choose(line, "銀行");
  }
  import.Classify(ids, CurrentMonthData());
  const TLedgerCounts counts = import.Counts();
  EXPECT_EQ(counts.ticked, 5);
  EXPECT_EQ(counts.reasons, "同じ口座のあいだの振替です 1");
  import.SetTicked(3, true);
  EXPECT_EQ(import.Counts().ticked, 5);
}

// Killed after its first month: the program finds a record undo uses to take back exactly
// what was written, and the month files are as they were.
TEST_F(LedgerImportTest, AMoveInKilledPartWayIsUndoneExactly) {
  const std::map<std::string, std::string> before = MonthFiles();
  const TLedgerImport import = ReadAndClassify();
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    (void)BookLedgerImport(import, CurrentMonthData(), temp.Path(), ids, [](int written, int) {
      if (written == 1) ::_exit(7);
    });
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 7);
  CurrentProfile().Load(temp.Path());
  CurrentMonthData().SetFolder(temp.Path() + "/Daily");
  EXPECT_EQ(FirstQuarter().size(), 5u);
  // The notice names what stopped: a move-in, not a statement.
  const std::string notice = IncompleteImportNotice(temp.Path());
  EXPECT_NE(notice.find("前回のほかの家計簿からの引っ越しは"), std::string::npos) << notice;
  TImportedIds reloaded;
  std::string error;
  ASSERT_TRUE(reloaded.Load(temp.Path(), error)) << error;
  const TUndoOutcome undone = UndoLastImport(CurrentMonthData(), temp.Path(), reloaded);
  EXPECT_FALSE(undone.failed) << undone.message;
  EXPECT_TRUE(undone.incomplete);
  EXPECT_EQ(undone.removed, 2);
  EXPECT_EQ(MonthFiles(), before);
}

}  // namespace
}  // namespace kzm
