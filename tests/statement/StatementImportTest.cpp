#include "statement/StatementImport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "common/PassbookFolderTest.h"
#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "foundation/Codec.h"
#include "foundation/ThisPc.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "statement/ImportHistory.h"
#include "statement/StatementBalance.h"
#include "statement/StatementSamples.h"
#include "statement/TextRules.h"

namespace kzm {
namespace {

const std::string kBank = MakeKey("銀行", kKindAsset);
const std::string kCash = MakeKey("現金", kKindAsset);
const std::string kFood = MakeKey("食費", kKindPayment);
const std::string kSalary = MakeKey("給与", kKindReceipt);
const std::string kUnsorted = MakeKey("未分類", kKindPayment);

TImportRow Row(int32_t flow, const std::string& category) {
  TImportRow row;
  row.row.date = EncodeDate(2024, 3, 10);
  row.row.amount = flow;
  row.row.text = "テキスト";
  row.categoryKey = category;
  return row;
}

TEST(StatementImportEntryTest, RowsBecomeEntriesOnTheAccount) {
  const struct {
    const char* what;
    TImportRow row;
    std::string category, account;
    int32_t amount;
  } cases[] = {
      {"payment", Row(-500, kFood), kFood, kBank, 500},
      {"card refund on a payment category", Row(980, kFood), kFood, kBank, -980},
      {"receipt", Row(1000, kSalary), kSalary, kBank, 1000},
      {"withdrawal into cash", Row(-2000, kCash), kCash, kBank, 2000},
      {"deposit from cash", Row(3000, kCash), kBank, kCash, 3000},
      {"uncategorised out", Row(-10, ""), kUnsorted, kBank, 10},
      {"uncategorised in", Row(10, ""), MakeKey("未分類", kKindReceipt), kBank, 10},
      {"the account itself", Row(-10, kBank), kUnsorted, kBank, 10},
      {"a memo category", Row(-10, MakeKey("メモ", kKindMemo)), kUnsorted, kBank, 10},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TkzmEntry entry = EntryForRow(c.row, kBank);
    EXPECT_EQ(entry.categoryKey, c.category);
    EXPECT_EQ(entry.accountKey, c.account);
    EXPECT_EQ(entry.amount, c.amount);
  }
  const struct {
    const char* text;
    const char* booked;
  } texts[] = {
      {"カフェ☕ラテ", "カフェ〓ラテ"},
      {"10時〜12時", "10時～12時"},  // the wave dash of JIS becomes the Windows tilde
      {"A−B", "A－B"},
      {"普通の文", "普通の文"},
  };
  for (const auto& t : texts) {
    SCOPED_TRACE(t.text);
    TImportRow row = Row(-1, kFood);
    row.row.text = t.text;
    EXPECT_EQ(EntryForRow(row, kBank).itemText, t.booked);
  }
}

// A passbook in a temporary folder, opened as the program opens one, with a bank, cash, food
// and salary among its categories and rules for ATM and 振込.
class StatementImportTest : public test::TPassbookFolderTest {
 protected:
  void SetUp() override {
    TPassbookFolderTest::SetUp();
    CurrentProfile().Categories().LoadDefaultCategories();
    for (const std::string& key : {kBank, kCash, kFood, kSalary}) CurrentProfile().Categories().AddKey(key);
    rules.Learn("ATM", kCash);
    rules.Learn("振込", kSalary);
    test::WriteBytes(StatementPath(), test::AsCp932(test::kBankDiary));
  }

  std::string StatementPath() const { return temp.File("statement.csv"); }

  TStatementImport ReadAndClassify() {
    TStatementImport import;
    std::string error;
    EXPECT_TRUE(import.Read(StatementPath(), BuiltInLayouts(), error)) << error;
    import.Classify(kBank, CurrentProfile().Categories(), rules, ids, CurrentMonthData());
    return import;
  }

  // The entries of January 2018 as "amount category account text" lines.
  static std::vector<std::string> January() {
    TkzmDataUnit& data = CurrentMonthData();
    data.SelectDay(EncodeDate(2018, 1, 1));
    std::vector<std::string> lines;
    for (int i = 0; i < data.Count(); ++i) {
      const TkzmEntry& e = data.Entry(i);
      lines.push_back(std::to_string(e.amount) + " " + KeyName(e.categoryKey) + " " + KeyName(e.accountKey) + " " +
                      e.itemText);
    }
    return lines;
  }

  TTextRules rules;
  TImportedIds ids;
};

// A charge is a move into the card from the account it came from, not income; what
// the person chooses still decides, and spending stays spending.
TEST(StatementImportEntryTest, AChargeIsAMoveUnlessThePersonSaysOtherwise) {
  const std::string suica = MakeKey("交通IC", kKindAsset);
  TStatementRow fare;
  fare.date = EncodeDate(2026, 7, 5);
  fare.amount = -210;
  fare.text = "ミホン→タメシ";
  TStatementRow charge = fare;
  charge.amount = 3000;
  charge.text = "ｵｰﾄﾁｬｰｼﾞ";
  charge.moveAccount = "カード";
  TStatement statement;
  statement.rows = {fare, charge, charge};
  TStatementImport import;
  import.SetStatement(statement);
  THeadList categories;
  categories.LoadDefaultCategories();
  TTextRules rules;
  import.ApplyRules(categories, rules);
  import.ChooseCategory(2, MakeKey("お小遣い", kKindReceipt));
  const TkzmEntry ride = EntryForRow(import.Row(0), suica);
  EXPECT_EQ(ride.categoryKey, kUnsorted);
  EXPECT_EQ(ride.amount, 210);
  const TkzmEntry move = EntryForRow(import.Row(1), suica);
  EXPECT_EQ(move.categoryKey, suica);
  EXPECT_EQ(move.accountKey, MakeKey("カード", kKindAsset));
  EXPECT_EQ(move.amount, 3000);
  EXPECT_EQ(EntryForRow(import.Row(2), suica).categoryKey, MakeKey("お小遣い", kKindReceipt));
}

TEST_F(StatementImportTest, BooksTheRowsWithTheirRulesAndTheSecondImportAddsNothing) {
  TStatementImport first = ReadAndClassify();
  EXPECT_EQ(first.Row(0).categoryKey, "");  // no rule for カード
  EXPECT_EQ(first.Row(1).categoryKey, kSalary);
  EXPECT_TRUE(first.Row(1).fromRule);
  EXPECT_EQ(first.Counts().ticked, 3);
  const TBookOutcome booked = BookImport(first, CurrentMonthData(), temp.Path(), ids);
  EXPECT_FALSE(booked.failed) << booked.message;
  EXPECT_EQ(booked.added, 3);
  EXPECT_EQ(January(), (std::vector<std::string>{"1500 未分類 銀行 カード ｺﾝﾋﾞﾆ ｻﾝﾌﾟﾙ", "250000 給与 銀行 振込 ｷｭｳﾖ ﾃｽﾄｼｬ",
                                                 "20000 現金 銀行 ATM 引出"}));
  EXPECT_GE(CurrentProfile().Categories().IndexOfKey(kUnsorted), 0);

  // The passbook opened the account at 0; the bank's balance is 100,000 higher.
  TClosingBalance closing;
  ASSERT_TRUE(ClosingBalance(first.Rows(), closing));
  EXPECT_EQ(FormatDate8(closing.day), "20180127");
  EXPECT_EQ(PassbookBalance(kBank, closing.day), 228500);
  EXPECT_EQ(PassbookBalance(kBank, EncodeDate(2018, 1, 26)), 248500);
  EXPECT_EQ(PassbookBalance(kBank, EncodeDate(2018, 1, 8)), 0);
  EXPECT_EQ(BalanceCheckText(PassbookBalance(kBank, closing.day), closing),
            "残高が一致しません: 帳簿 228,500 / 明細 328,500 (差 100,000)");

  TStatementImport second = ReadAndClassify();
  const TImportCounts counts = second.Counts();
  EXPECT_EQ(counts.certain, 3);
  EXPECT_EQ(counts.ticked, 0);
  const TBookOutcome again = BookImport(second, CurrentMonthData(), temp.Path(), ids);
  EXPECT_EQ(again.added, 0);
  EXPECT_EQ(January().size(), 3u);
}

TEST_F(StatementImportTest, TheUsersChoiceOutlivesTheRulesAndARowTypedByHandIsLikely) {
  CurrentMonthData().SelectDay(EncodeDate(2018, 1, 10));
  CurrentMonthData().AddEntry(kFood, kBank, "", "コンビニで昼食", 1500);
  ASSERT_TRUE(CurrentMonthData().Save());
  TStatementImport import = ReadAndClassify();
  import.ChooseCategory(1, kFood);
  import.Classify(kBank, CurrentProfile().Categories(), rules, ids, CurrentMonthData());
  EXPECT_EQ(import.Row(1).categoryKey, kFood);
  EXPECT_EQ(import.Row(0).duplicate, TDuplicate::dLikely);
  EXPECT_FALSE(import.Row(0).ticked);
  EXPECT_EQ(import.Counts().ticked, 2);
}

TEST_F(StatementImportTest, UndoKeepsAnImportedEntryEditedSince) {
  TStatementImport import = ReadAndClassify();
  ASSERT_EQ(BookImport(import, CurrentMonthData(), temp.Path(), ids).added, 3);
  TkzmDataUnit& data = CurrentMonthData();
  data.SelectDay(EncodeDate(2018, 1, 27));
  data.Entry(data.FirstIndex()).itemText = "ATM 引出（家賃用）";
  data.SetModified();
  const TUndoOutcome undone = UndoLastImport(data, temp.Path(), ids);
  EXPECT_FALSE(undone.failed) << undone.message;
  EXPECT_EQ(undone.removed, 2);
  EXPECT_EQ(undone.notRemoved, 1);
  EXPECT_NE(undone.message.find("1件は取り消していません"), std::string::npos) << undone.message;
  EXPECT_EQ(January(), (std::vector<std::string>{"20000 現金 銀行 ATM 引出（家賃用）"}));
  EXPECT_TRUE(UndoLastImport(data, temp.Path(), ids).nothing);
}

TEST_F(StatementImportTest, AMonthThatCannotBeWrittenStopsTheBookingThere) {
  test::WriteBytes(StatementPath(), "取引日,入出金(円),取引後残高(円),入出金内容\n"
                                    "2018/1/5,-100,0,一月\n2018/2/5,-200,0,二月\n2018/3/5,-300,0,三月\n");
  // A folder where February's file belongs: the month cannot be read, so it is never written.
  std::filesystem::create_directories(temp.Path() + "/Daily/201802.kzm");
  TStatementImport import = ReadAndClassify();
  const TBookOutcome booked = BookImport(import, CurrentMonthData(), temp.Path(), ids);
  EXPECT_TRUE(booked.failed);
  EXPECT_EQ(booked.added, 1);
  EXPECT_NE(booked.message.find("201802.kzm"), std::string::npos) << booked.message;
  EXPECT_FALSE(std::filesystem::exists(temp.Path() + "/Daily/201803.kzm"));
  TImportRecord record;
  std::string error;
  ASSERT_TRUE(ReadLastImport(temp.Path(), record, error));
  ASSERT_EQ(record.entries.size(), 1u);
  EXPECT_EQ(record.entries[0].entry.itemText, "一月");
  EXPECT_FALSE(record.complete);
  EXPECT_NE(IncompleteImportNotice(temp.Path()).find("前回の明細の取り込みは"), std::string::npos);
  const TUndoOutcome undone = UndoLastImport(CurrentMonthData(), temp.Path(), ids);
  EXPECT_EQ(undone.removed, 1);
  EXPECT_TRUE(undone.incomplete);
  EXPECT_NE(undone.message.find("途中で止まっていた"), std::string::npos) << undone.message;
  EXPECT_EQ(IncompleteImportNotice(temp.Path()), "");
}

TEST_F(StatementImportTest, BankIdsMakeARowCertainAfterItsTextWasEdited) {
  test::WriteBytes(StatementPath(), test::AsUtf8Bom(test::kBankIds));
  TStatementImport import = ReadAndClassify();
  ASSERT_EQ(BookImport(import, CurrentMonthData(), temp.Path(), ids).added, 2);
  TkzmDataUnit& data = CurrentMonthData();
  data.SelectDay(EncodeDate(2018, 7, 20));
  data.Entry(data.FirstIndex()).itemText = "電話料金";
  data.SetModified();
  ASSERT_TRUE(data.Save());
  TImportedIds reread;
  std::string error;
  ASSERT_TRUE(reread.Load(temp.Path(), error)) << error;
  TStatementImport again;
  ASSERT_TRUE(again.Read(StatementPath(), BuiltInLayouts(), error)) << error;
  again.Classify(kBank, CurrentProfile().Categories(), rules, reread, data);
  EXPECT_EQ(again.Row(0).duplicate, TDuplicate::dCertain);
}

// The record of imported ids keeps the lines it does not read, and one that cannot be read
// is never written over: the ids in it keep rows from being booked twice. Nor are the rules.
TEST(ImportedIdsTest, LinesNotReadStayAndAnUnreadableFileIsNeverWrittenOver) {
  test::TTempFolder temp;
  const std::string path = temp.File(kImportedIdsFileName);
  const std::string bank = "\x8b\xe2\x8d\x73";  // 銀行
  const std::string odd = "one field\r\n" + bank + ",\r\n\xff,\r\n";
  test::WriteBytes(path, bank + ",A1\r\n" + odd);
  TImportedIds ids;
  std::string error;
  ASSERT_TRUE(ids.Load(temp.Path(), error)) << error;
  EXPECT_TRUE(ids.Contains(kBank, "A1"));
  ids.Add(kBank, "B2");
  ASSERT_TRUE(ids.Save(temp.Path(), error)) << error;
  EXPECT_EQ(test::ReadBytes(path), bank + ",A1\r\n" + bank + ",B2\r\n" + odd);

  std::filesystem::remove(path);
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);  // never read: it would keep the load waiting
  EXPECT_FALSE(ids.Load(temp.Path(), error));
  EXPECT_NE(error.find(path), std::string::npos);
  ids.Add(kBank, "C3");
  EXPECT_FALSE(ids.Save(temp.Path(), error));
  EXPECT_NE(error.find("上書きしません"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_fifo(path));

  const std::string rulesPath = temp.File(kTextRulesFileName);
  ASSERT_EQ(::mkfifo(rulesPath.c_str(), 0600), 0);
  TTextRules rules;
  EXPECT_FALSE(rules.Load(temp.Path(), error));
  rules.Learn("ATM", kCash);
  EXPECT_FALSE(rules.Save(temp.Path(), error));
  EXPECT_NE(error.find("上書きしません"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_fifo(rulesPath));
}

TEST(TextRulesTest, LongestRuleWinsAndRulesSurviveTheirFile) {
  test::TTempFolder temp;
  THeadList categories;
  for (const std::string& key : {kCash, kFood, kSalary}) categories.AddKey(key);
  TTextRules rules;
  rules.Learn("ATM", kCash);
  rules.Learn("ＡＴＭ　手数料", kFood);
  rules.Learn("給料", MakeKey("給料", kKindReceipt));  // a category the passbook lacks
  rules.Learn("atm", kFood);                           // another text: rules do not fold case
  rules.Learn("ATM", kCash);                           // learned again: replaces, not doubles
  std::string error;
  ASSERT_TRUE(rules.Save(temp.Path(), error)) << error;
  TTextRules read;
  ASSERT_TRUE(read.Load(temp.Path(), error)) << error;
  EXPECT_EQ(read.Rules().size(), 4u);
  const struct {
    const char* text;
    std::string category;
  } cases[] = {
      {"ATM 引出", kCash}, {"ＡＴＭ 手数料", kFood}, {"ｶｰﾄﾞ", ""}, {"給料 4月", ""}, {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(read.CategoryFor(c.text, categories), c.category);
  }
}

TEST(TextRulesTest, OfTwoEquallyLongRulesThatBothMatchTheFirstWins) {
  THeadList categories;
  for (const std::string& key : {kCash, kFood}) categories.AddKey(key);
  for (const bool gasFirst : {true, false}) {
    SCOPED_TRACE(gasFirst);
    TTextRules rules;
    rules.Learn(gasFirst ? "ガス" : "電気", gasFirst ? kFood : kCash);
    rules.Learn(gasFirst ? "電気" : "ガス", gasFirst ? kCash : kFood);
    EXPECT_EQ(rules.CategoryFor("電気ガス料金", categories), gasFirst ? kFood : kCash);
  }
}

}  // namespace
}  // namespace kzm

namespace kzm {
namespace {

TEST_F(StatementImportTest, ARowWhoseTextTheMonthFilesCannotHoldIsCertainTheSecondTime) {
  test::WriteBytes(StatementPath(), "取引日,入出金(円),取引後残高(円),入出金内容\n2026/7/1,-500,0,カフェ☕ラテ 10時〜\n");
  TStatementImport first = ReadAndClassify();
  ASSERT_EQ(BookImport(first, CurrentMonthData(), temp.Path(), ids).added, 1);
  EXPECT_EQ(ReadAndClassify().Row(0).duplicate, TDuplicate::dCertain);
}

TEST_F(StatementImportTest, AnAccountThePassbookLacksIsRefusedWithNothingWritten) {
  const int categories = CurrentProfile().Categories().Count();
  for (const std::string& account : {MakeKey("ない口座", kKindAsset), kFood, std::string("\xEF\xBF\xBD\x02銀行")}) {
    SCOPED_TRACE(account);
    TStatementImport import;
    std::string error;
    ASSERT_TRUE(import.Read(StatementPath(), BuiltInLayouts(), error)) << error;
    import.Classify(account, CurrentProfile().Categories(), rules, ids, CurrentMonthData());
    const TBookOutcome outcome = BookImport(import, CurrentMonthData(), temp.Path(), ids);
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(outcome.added, 0);
  }
  EXPECT_EQ(CurrentProfile().Categories().Count(), categories);
  EXPECT_FALSE(std::filesystem::exists(temp.Path() + "/Daily"));
  EXPECT_FALSE(std::filesystem::exists(temp.File(PcOwnName(kLastImportFileName))));
}

}  // namespace
}  // namespace kzm

namespace kzm {
namespace {

const char* const kThreeMonths =
    "取引日,入出金(円),取引後残高(円),入出金内容\n2018/1/5,-100,0,一月\n2018/2/5,-200,0,二月\n2018/3/5,-300,0,三月\n";

// Every entry of January to March 2018 as "date amount category account text" lines.
std::vector<std::string> FirstQuarter() {
  TkzmDataUnit& data = CurrentMonthData();
  std::vector<std::string> lines;
  for (TDayNumber day = EncodeDate(2018, 1, 1); day <= EncodeDate(2018, 3, 31); ++day) {
    data.SelectDay(day);
    for (int i = data.FirstIndex(); i <= data.LastIndex(); ++i) {
      const TkzmEntry& e = data.Entry(i);
      lines.push_back(std::to_string(day) + " " + std::to_string(e.amount) + " " + KeyName(e.categoryKey) + " " +
                      KeyName(e.accountKey) + " " + e.itemText);
    }
  }
  return lines;
}

// An import killed before any month, between months and before its record was marked
// complete: undo takes away exactly what it had written, and the import before it, whose
// March entry is the same as one of the killed import's, keeps its entries.
TEST_F(StatementImportTest, AnImportKilledAnywhereIsUndoneExactly) {
  test::WriteBytes(StatementPath(), "取引日,入出金(円),取引後残高(円),入出金内容\n2018/3/5,-300,0,三月\n");
  ASSERT_EQ(BookImport(ReadAndClassify(), CurrentMonthData(), temp.Path(), ids).added, 1);
  test::WriteBytes(StatementPath(), kThreeMonths);
  const std::vector<std::string> before = FirstQuarter();
  ASSERT_EQ(before.size(), 1u);
  for (int killAt = 0; killAt <= 3; ++killAt) {
    SCOPED_TRACE(killAt);
    TStatementImport import = ReadAndClassify();
    ASSERT_EQ(import.Row(2).duplicate, TDuplicate::dCertain);
    import.SetTicked(2, true);  // booked again all the same
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // Dies as a killed program does: no unwinding, nothing written after this point.
      (void)BookImport(import, CurrentMonthData(), temp.Path(), ids, [killAt](int written, int) {
        if (written == killAt) ::_exit(7);
      });
      ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 7);
    // What the program finds when it starts again.
    CurrentProfile().Load(temp.Path());
    CurrentMonthData().SetFolder(temp.Path() + "/Daily");
    EXPECT_EQ(FirstQuarter().size(), before.size() + static_cast<size_t>(killAt));
    EXPECT_FALSE(IncompleteImportNotice(temp.Path()).empty());
    TImportedIds reloaded;
    std::string error;
    ASSERT_TRUE(reloaded.Load(temp.Path(), error)) << error;
    const TUndoOutcome undone = UndoLastImport(CurrentMonthData(), temp.Path(), reloaded);
    EXPECT_FALSE(undone.failed) << undone.message;
    EXPECT_EQ(undone.removed, killAt);
    EXPECT_TRUE(undone.incomplete);
    EXPECT_EQ(FirstQuarter(), before);
    EXPECT_EQ(IncompleteImportNotice(temp.Path()), "");
  }
}

// An entry the same as one of an earlier import, on the same day: when the later one has been
// deleted by hand, undoing the later import leaves the earlier one's entry alone.
TEST_F(StatementImportTest, UndoNeverTakesAnEntryTheImportDidNotAdd) {
  test::WriteBytes(StatementPath(), "取引日,入出金(円),取引後残高(円),入出金内容\n2018/1/5,-100,0,一月\n");
  ASSERT_EQ(BookImport(ReadAndClassify(), CurrentMonthData(), temp.Path(), ids).added, 1);
  TStatementImport again = ReadAndClassify();
  again.SetTicked(0, true);
  ASSERT_EQ(BookImport(again, CurrentMonthData(), temp.Path(), ids).added, 1);
  TkzmDataUnit& data = CurrentMonthData();
  data.SelectDay(EncodeDate(2018, 1, 5));
  ASSERT_EQ(data.DayEntryCount(), 2);
  data.DeleteEntry(data.LastIndex());
  ASSERT_TRUE(data.Save());
  const TUndoOutcome undone = UndoLastImport(data, temp.Path(), ids);
  EXPECT_EQ(undone.removed, 0);
  EXPECT_EQ(undone.notRemoved, 1);
  data.SelectDay(EncodeDate(2018, 1, 5));
  EXPECT_EQ(data.DayEntryCount(), 1);
}

// A record written before imports were marked (no counts, no mark) is a finished import and
// is undone as it always was.
TEST_F(StatementImportTest, AnOlderRecordIsStillUndone) {
  TStatementImport import = ReadAndClassify();
  ASSERT_EQ(BookImport(import, CurrentMonthData(), temp.Path(), ids).added, 3);
  std::string older;
  ASSERT_TRUE(EncodeCp932("20180109,支出,未分類,資産,銀行,1500,カード ｺﾝﾋﾞﾆ ｻﾝﾌﾟﾙ,,\r\n"
                          "20180125,収入,給与,資産,銀行,250000,振込 ｷｭｳﾖ ﾃｽﾄｼｬ,,\r\n",
                          older));
  // Left by an earlier version under the name every PC shared: still this PC's to undo.
  std::filesystem::remove(temp.File(PcOwnName(kLastImportFileName)));
  test::WriteBytes(temp.File(kLastImportFileName), older);
  TImportRecord record;
  std::string error;
  ASSERT_TRUE(ReadLastImport(temp.Path(), record, error)) << error;
  EXPECT_TRUE(record.complete);
  ASSERT_EQ(record.entries.size(), 2u);
  EXPECT_EQ(record.entries[0].alikeBefore, -1);
  EXPECT_EQ(IncompleteImportNotice(temp.Path()), "");
  const TUndoOutcome undone = UndoLastImport(CurrentMonthData(), temp.Path(), ids);
  EXPECT_EQ(undone.removed, 2);
  EXPECT_FALSE(undone.incomplete);
  EXPECT_EQ(January(), (std::vector<std::string>{"20000 現金 銀行 ATM 引出"}));
}

// A record cut short or garbled (a disk fault, an edit by hand) is never used nor written
// over: undo would take away part of the import and forget the rest for good, and the next
// import would write its own record over it. Both refuse and say which file is at fault.
TEST_F(StatementImportTest, ADamagedRecordIsToldKeptAndNeverWrittenOver) {
  TStatementImport import = ReadAndClassify();
  ASSERT_EQ(BookImport(import, CurrentMonthData(), temp.Path(), ids).added, 3);
  const std::vector<std::string> booked = January();
  const std::string path = temp.File(PcOwnName(kLastImportFileName));
  const std::string whole = test::ReadBytes(path);
  const size_t lastLine = whole.rfind("\r\n", whole.size() - 3) + 2;
  std::string garbled = whole;
  garbled[garbled.find("250000")] = '3';
  std::string older;
  ASSERT_TRUE(EncodeCp932("20180109,支出,未分類,資産,銀行,1500,カード ｺﾝﾋﾞﾆ ｻﾝﾌﾟﾙ,,\r\n20180125,収入,給与,資産,銀行,250", older));
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"cut to two thirds", whole.substr(0, whole.size() * 2 / 3)},
      {"cut at the end of a line", whole.substr(0, lastLine)},
      {"an amount garbled", garbled},
      {"a line that is no entry", whole + "\x81\x48\x81\x48\r\n"},
      {"an older record cut short", older},
  };
  test::WriteBytes(StatementPath(), "取引日,入出金(円),取引後残高(円),入出金内容\n2018/1/30,-100,0,新しい行\n");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::WriteBytes(path, c.bytes);
    const TUndoOutcome undone = UndoLastImport(CurrentMonthData(), temp.Path(), ids);
    EXPECT_TRUE(undone.failed);
    EXPECT_EQ(undone.removed, 0);
    EXPECT_NE(undone.message.find("「" + path + "」が途中で切れているか、壊れているため"), std::string::npos)
        << undone.message;
    EXPECT_NE(IncompleteImportNotice(temp.Path()).find(path), std::string::npos);
    TStatementImport next = ReadAndClassify();
    const TBookOutcome refused = BookImport(next, CurrentMonthData(), temp.Path(), ids);
    EXPECT_TRUE(refused.failed);
    EXPECT_EQ(refused.added, 0);
    EXPECT_NE(refused.message.find("取り込みませんでした"), std::string::npos) << refused.message;
    EXPECT_EQ(test::ReadBytes(path), c.bytes);
    EXPECT_EQ(January(), booked);
  }
  test::WriteBytes(path, whole);
  EXPECT_EQ(UndoLastImport(CurrentMonthData(), temp.Path(), ids).removed, 3);
}

}  // namespace
}  // namespace kzm
