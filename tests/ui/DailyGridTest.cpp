#include "ui/daily/DailyGrid.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "controls/GridTestSupport.h"
#include "foundation/AppGlobal.h"
#include "foundation/Dates.h"
#include "passbook/Categories.h"
#include "passbook/EntryHistory.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "ui/daily/DailyCells.h"
#include "ui/daily/DailyEdit.h"
#include "ui/daily/DailyList.h"
#include "views/DailyRows.h"

namespace kzm::ui {
namespace {

const std::string kFood = MakeKey("食費", kKindPayment);
const std::string kClothes = MakeKey("服飾", kKindPayment);
const std::string kFare = MakeKey("交通", kKindPayment);
const std::string kMisc = MakeKey("雑費", kKindPayment);
const std::string kCash = MakeKey("現金", kKindAsset);
const std::string kBank = MakeKey("銀行", kKindAsset);
const std::string kCard = MakeKey("カード", kKindAsset);

const TDayNumber kDay = EncodeDate(2024, 3, 5);

// Keys go where a person's keyboard sends them: to the widget with the focus.
QWidget& Focused() {
  QWidget* widget = QApplication::focusWidget();
  if (!widget) throw std::runtime_error("no widget has the focus");
  return *widget;
}

// Lets the grid's posted requests (blank row, reopening the editor) run.
void Settle() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QTest::keyClick(&Focused(), key, mods);
  Settle();
}

void Keys(Qt::Key key, int times) {
  for (int i = 0; i < times; ++i) Key(key);
}

// ASCII as key presses; anything else as an input method commits it.
void Type(const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() < 0x80) {
      QTest::keyClick(&Focused(), c.toLatin1());
    } else {
      QInputMethodEvent commit;
      commit.setCommitString(QString(c));
      QApplication::sendEvent(&Focused(), &commit);
    }
  }
  Settle();
}

QString Q(const std::string& text) { return ToCell(text); }

class DailyGridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AppGlobal().UseDataFolder(m_data.Path());
    m_book = m_data.Path() + "/通帳1";
    std::filesystem::create_directories(m_book);
    CurrentProfile().SetFolder(m_book);
    CurrentMonthData().SetFolder(m_book + "/Daily");
    THeadList defaults;
    defaults.LoadDefaultCategories();
    for (int i = 0; i < defaults.Count(); ++i)
      if (KindGroup(defaults.KindOf(i)) == 1) list.AddKey(defaults.Items(i).key);
  }
  void TearDown() override {
    m_window.reset();
    CurrentMonthData().SetFolder("");
    CurrentProfile().Load("");
  }

  // A grid of kind on its own sheet, shown and active.
  TDailyGrid& Open(int kind) {
    m_window = std::make_unique<QWidget>();
    m_window->resize(640, 480);
    m_grid = new TDailyGrid(m_window.get(), kind, list, [this] { ++modified; });
    m_window->show();
    QApplication::setActiveWindow(m_window.get());
    QApplication::processEvents();
    return *m_grid;
  }
  TDailyGrid& Load(int kind) {
    TDailyGrid& grid = Open(kind);
    grid.LoadDay(kDay);
    Settle();
    return grid;
  }
  void AddEntry(const std::string& category, const std::string& item, int32_t amount,
                const std::string& account = kCash, const std::string& note = {}) {
    CurrentMonthData().SelectDay(kDay);
    CurrentMonthData().AddEntry(category, account, note, item, amount);
  }
  // What the window does to save the day.
  void Store() {
    TkzmDataUnit& data = CurrentMonthData();
    data.SelectDay(kDay);
    data.DeleteDayEntries();
    m_grid->StoreDay();
  }
  // Rows 1.. as "code:column 1" with band keys shown as names.
  std::vector<std::string> Shape() const {
    std::vector<std::string> shape;
    for (int r = 1; r < m_grid->RowCount(); ++r) {
      const std::string code = m_grid->Cells(0, r).toStdString();
      const std::string text = FromCell(m_grid->Cells(1, r));
      shape.push_back(code + ":" + (code == "1" ? text : KeyName(text)));
    }
    return shape;
  }
  int BandRow(const std::string& key) const {
    for (int r = 1; r < m_grid->RowCount(); ++r)
      if (m_grid->Cells(0, r) != QLatin1String("1") && m_grid->Cells(1, r) == Q(key)) return r;
    return -1;
  }
  std::string HistoryFolder() const { return m_book + "/cash"; }

  kzm::test::TTempFolder m_data;
  kzm::test::TRecordingWindowSystem m_windows;
  std::string m_book;
  THeadList list;
  int modified = 0;
  std::unique_ptr<QWidget> m_window;
  TDailyGrid* m_grid = nullptr;
};

TEST_F(DailyGridTest, DayWithoutEntriesShowsTheBandsAndOneBlankRowInTheFirst) {
  TDailyGrid& grid = Load(kKindPayment);
  EXPECT_EQ(Shape(), (std::vector<std::string>{"2:食費", "1:", "2:服飾", "2:交際", "2:教養", "2:娯楽",
                                               "2:交通", "2:住居･光熱", "2:雑費"}));
  EXPECT_EQ(grid.Cells(3, 0), QStringLiteral("支払元"));
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_EQ(grid.Col(), 1);
  EXPECT_EQ(&Focused(), grid.Editor());
  EXPECT_TRUE(grid.CellRect(1, 2).contains(grid.Editor()->geometry()));
  EXPECT_EQ(modified, 0);
}

TEST_F(DailyGridTest, EnterWalksTheColumnsTheOptionsAllow) {
  struct TCase {
    std::string label;
    TEnterOptions options;
    std::vector<int> columns;  // where the cursor is after each Enter from column 1
  };
  const TCase cases[] = {
      {"all on", {}, {2, 3, 4}},
      {"amount off", {true, false, true, true}, {3, 4}},
      {"account and note off", {true, true, false, false}, {2}},
      {"all off", {false, false, false, false}, {1, 1}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.label);
    TkzmProfile& profile = CurrentProfile();
    profile.SetEnterMovesToItem(c.options.item);
    profile.SetEnterMovesToAmount(c.options.amount);
    profile.SetEnterMovesToAccount(c.options.account);
    profile.SetEnterMovesToNote(c.options.note);
    TDailyGrid& grid = Load(kKindPayment);
    for (int col : c.columns) {
      Key(Qt::Key_Return);
      EXPECT_EQ(grid.Col(), col);
      EXPECT_EQ(grid.Row(), 2);
    }
  }
  CurrentProfile().SetEnterMovesToItem(true);
  CurrentProfile().SetEnterMovesToAmount(true);
  CurrentProfile().SetEnterMovesToAccount(true);
  CurrentProfile().SetEnterMovesToNote(true);
}

TEST_F(DailyGridTest, TypingThroughARowAndOnToTheNext) {
  TDailyGrid& grid = Load(kKindPayment);
  Type(QStringLiteral("パン"));
  Key(Qt::Key_Return);
  EXPECT_EQ(grid.Cells(1, 2), QStringLiteral("パン"));
  Type(QStringLiteral("1,000*3"));
  Key(Qt::Key_Return);
  EXPECT_EQ(grid.Cells(2, 2), QStringLiteral("3,000"));
  EXPECT_EQ(grid.Cells(2, 1), QStringLiteral("3,000"));  // the band's subtotal
  ASSERT_EQ(&Focused(), grid.DropDown());  // accounts are picked
  Key(Qt::Key_Down);
  Key(Qt::Key_Return);
  EXPECT_EQ(grid.Cells(3, 2), Q(kBank));
  Type(QStringLiteral("朝"));
  Key(Qt::Key_Return);
  EXPECT_EQ(grid.Cells(4, 2), QStringLiteral("朝"));
  // The group ends here: a new blank row at its end.
  EXPECT_EQ(Shape()[0], "2:食費");
  EXPECT_EQ(Shape()[2], "1:");
  EXPECT_EQ(grid.Row(), 3);
  EXPECT_EQ(grid.Col(), 1);
  EXPECT_EQ(&Focused(), grid.Editor());
  EXPECT_GT(modified, 0);

  Key(Qt::Key_Right);
  Type(QStringLiteral("abc"));
  Key(Qt::Key_Return);
  EXPECT_EQ(grid.Cells(2, 3), QString());  // no number: nothing
}

TEST_F(DailyGridTest, EscDropsWhatWasTyped) {
  AddEntry(kFood, "パン", 300);
  TDailyGrid& grid = Load(kKindPayment);
  Key(Qt::Key_Up);
  ASSERT_EQ(grid.Row(), 2);
  Type(QStringLiteral("X"));
  Key(Qt::Key_Escape);
  EXPECT_EQ(grid.Editor()->text(), QStringLiteral("パン"));
  Key(Qt::Key_Down);
  EXPECT_EQ(grid.Cells(1, 2), QStringLiteral("パン"));
  EXPECT_EQ(modified, 0);
}

TEST_F(DailyGridTest, EnterAtTheEndOfAGroupPutsTheBlankRowAtItsEnd) {
  AddEntry(kFood, "a", 1);
  AddEntry(kClothes, "b", 2);
  AddEntry(kClothes, "c", 3);
  TDailyGrid& grid = Load(kKindPayment);
  Key(Qt::Key_Down);  // onto the 服飾 band: the blank row moves right under it
  EXPECT_EQ(Shape(), (std::vector<std::string>{"2:食費", "1:a", "2:服飾", "1:", "1:b", "1:c", "2:交際",
                                               "2:教養", "2:娯楽", "2:交通", "2:住居･光熱", "2:雑費"}));
  Keys(Qt::Key_Down, 2);
  ASSERT_EQ(grid.Cells(1, grid.Row()), QStringLiteral("c"));
  Keys(Qt::Key_Return, 4);
  EXPECT_EQ(Shape(), (std::vector<std::string>{"2:食費", "1:a", "2:服飾", "1:b", "1:c", "1:", "2:交際",
                                               "2:教養", "2:娯楽", "2:交通", "2:住居･光熱", "2:雑費"}));
  EXPECT_EQ(grid.Row(), 6);
  EXPECT_EQ(grid.Col(), 1);
}

TEST_F(DailyGridTest, EnterOnTheLastRowStaysPutAndInsertAddsARowBelow) {
  AddEntry(kMisc, "last", 5);
  TDailyGrid& grid = Load(kKindPayment);
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.CellRect(1, grid.RowCount() - 1).center());
  Settle();
  ASSERT_EQ(grid.Row(), grid.RowCount() - 1);
  Keys(Qt::Key_Return, 3);
  ASSERT_EQ(grid.Col(), 4);
  const int rows = grid.RowCount();
  Key(Qt::Key_Return);
  EXPECT_EQ(grid.Col(), 4);
  EXPECT_EQ(grid.Row(), rows - 1);
  EXPECT_EQ(grid.RowCount(), rows);
  // Insert: the one blank row moves right below, in the same band.
  Key(Qt::Key_Insert);
  EXPECT_EQ(grid.RowCount(), rows);
  EXPECT_EQ(Shape().back(), "1:");
  EXPECT_EQ(Shape()[Shape().size() - 2], "1:last");
  EXPECT_EQ(grid.Row(), rows - 1);
  EXPECT_EQ(grid.Col(), 1);
  Type(QStringLiteral("ペン"));
  Key(Qt::Key_Return);
  Store();
  CurrentMonthData().SelectDay(kDay);
  ASSERT_EQ(CurrentMonthData().DayEntryCount(), 2);
  EXPECT_EQ(CurrentMonthData().Entry(CurrentMonthData().FirstIndex() + 1).categoryKey, kMisc);
}

// Band names show whole until the user sizes the column; the bars show only while something
// scrolls.
TEST_F(DailyGridTest, TheItemColumnFitsTheBandNamesAndBarsShowOnlyWhenNeeded) {
  AddEntry(kCard, "カード引き落とし", 5000, kBank);
  TDailyGrid& grid = Open(kKindAsset);
  // The window builds the day's categories after the grid, before each load.
  list.AddKey(MakeKey("ポイント払い", kKindAsset));
  grid.LoadDay(kDay);
  Settle();
  const QFontMetrics metrics(grid.font());
  for (int r = 1; r < grid.RowCount(); ++r) {
    const bool entry = grid.Cells(0, r) == QLatin1String("1");
    const QString name = entry ? grid.Cells(1, r) : Q(KeyName(FromCell(grid.Cells(1, r))));
    EXPECT_LE(metrics.horizontalAdvance(name), grid.ColWidths(1) - 4) << name.toStdString();
  }
  EXPECT_FALSE(grid.horizontalScrollBar()->isVisible());
  EXPECT_FALSE(grid.verticalScrollBar()->isVisible());
  m_window->resize(640, 120);
  Settle();
  EXPECT_FALSE(grid.horizontalScrollBar()->isVisible());
  EXPECT_TRUE(grid.verticalScrollBar()->isVisible());

  AppGlobal().WriteAppInteger("GRID" + std::to_string(kKindAsset), "1", 40);
  EXPECT_EQ(Load(kKindAsset).ColWidths(1), 40);
}

TEST_F(DailyGridTest, EmptiedRowsAreRemovedAndNoteOnlyEntriesKept) {
  AddEntry(kFood, "a", 100);
  AddEntry(kFood, "b", 200);
  AddEntry(kFood, "c", 300);
  TDailyGrid& grid = Load(kKindPayment);
  Keys(Qt::Key_Up, 3);
  ASSERT_EQ(grid.Cells(1, grid.Row()), QStringLiteral("a"));
  for (int row = 0; row < 2; ++row) {  // empty a and b
    Key(Qt::Key_A, Qt::ControlModifier);
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Right);
    Key(Qt::Key_A, Qt::ControlModifier);
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Left);
    Key(Qt::Key_Down);
  }
  // c keeps only a note.
  Key(Qt::Key_Right);
  Key(Qt::Key_A, Qt::ControlModifier);
  Key(Qt::Key_Backspace);
  Keys(Qt::Key_Right, 2);  // through the account list to the note
  ASSERT_EQ(grid.Col(), 4);
  Type(QStringLiteral("memo"));
  Store();
  EXPECT_EQ(Shape()[0], "2:食費");
  EXPECT_EQ(Shape()[1], "1:c");
  EXPECT_EQ(Shape()[2], "2:服飾");
  TkzmDataUnit& data = CurrentMonthData();
  ASSERT_EQ(data.DayEntryCount(), 1);
  const TkzmEntry& entry = data.Entry(data.FirstIndex());
  EXPECT_EQ(entry.amount, 0);
  EXPECT_EQ(entry.note, "memo");

  grid.LoadDay(kDay);
  Settle();
  EXPECT_EQ(grid.Cells(2, 2), QStringLiteral("0"));
}

TEST_F(DailyGridTest, AssetMoveBandsShowWhatMovedInAndOut) {
  AddEntry(kCash, "withdraw", 10000, kBank);
  AddEntry(kCard, "charge", 3000, kCash);
  TDailyGrid& grid = Load(kKindAsset);
  EXPECT_EQ(grid.Cells(3, 0), QStringLiteral("移動元"));
  EXPECT_EQ(grid.Cells(2, BandRow(kCash)), QStringLiteral("+7,000"));
  EXPECT_EQ(grid.Cells(2, BandRow(kBank)), QStringLiteral("-10,000"));
  EXPECT_EQ(grid.Cells(2, BandRow(kCard)), QStringLiteral("+3,000"));
  // The account list of a move leaves out the band's own account.
  ASSERT_EQ(grid.Row(), BandRow(kCash) + 2);  // the blank row after "withdraw"
  Keys(Qt::Key_Right, 2);
  ASSERT_EQ(&Focused(), grid.DropDown());
  std::vector<QString> shown;
  for (int i = 0; i < grid.DropDown()->count(); ++i) shown.push_back(grid.DropDown()->item(i)->text());
  EXPECT_EQ(shown, (std::vector<QString>{QStringLiteral("銀行"), QStringLiteral("カード")}));
}

TEST_F(DailyGridTest, HistoryIsRecordedByEnterAndOfferedByCtrlSpace) {
  TDailyGrid& grid = Load(kKindPayment);
  Key(Qt::Key_Space, Qt::ControlModifier);  // no history yet: the edit stays
  EXPECT_FALSE(grid.ListMode());
  EXPECT_EQ(&Focused(), grid.Editor());
  for (const char* item : {"Milk", "bread", "milk"}) {
    Type(QString::fromLatin1(item));
    Keys(Qt::Key_Return, 4);
  }
  Key(Qt::Key_Space, Qt::ControlModifier);
  ASSERT_TRUE(grid.ListMode());
  ASSERT_EQ(&Focused(), grid.DropDown());
  ASSERT_EQ(grid.DropDown()->count(), 2);
  EXPECT_EQ(grid.DropDown()->item(0)->text(), QStringLiteral("milk"));
  EXPECT_EQ(grid.DropDown()->item(1)->text(), QStringLiteral("bread"));
  Key(Qt::Key_Up);  // wraps to the last
  Key(Qt::Key_Return);
  EXPECT_EQ(grid.Cells(1, 5), QStringLiteral("bread"));
  EXPECT_FALSE(grid.ListMode());
  EXPECT_EQ(grid.Col(), 2);
  EXPECT_EQ(&Focused(), grid.Editor());
}

TEST_F(DailyGridTest, UnsafeCategoryNameKeepsItsHistoryInsideCash) {
  list.InsertKey(0, MakeKey("../x", kKindPayment));
  Load(kKindPayment);
  Type(QStringLiteral("escape"));
  Key(Qt::Key_Return);
  EXPECT_TRUE(std::filesystem::exists(HistoryFolder() + "/" + HistoryFileName("../x", 1)));
  EXPECT_FALSE(std::filesystem::exists(m_book + "/x1"));
  std::vector<std::string> values;
  EXPECT_TRUE(ReadHistory(HistoryFolder(), "../x", 1, values));
}

TEST_F(DailyGridTest, CharactersShiftJisCannotHoldAreRefused) {
  TDailyGrid& grid = Load(kKindPayment);
  Type(QStringLiteral("ケーキ"));
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("🍰"));
  QApplication::sendEvent(&Focused(), &commit);
  EXPECT_EQ(grid.Editor()->text(), QStringLiteral("ケーキ"));
  EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("🍰")));
  Type(QStringLiteral("¥"));
  EXPECT_EQ(grid.Editor()->text(), QStringLiteral("ケーキ"));
  EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("￥")));
  Key(Qt::Key_Return);
  EXPECT_EQ(grid.Cells(1, 2), QStringLiteral("ケーキ"));
}

TEST_F(DailyGridTest, EntryDraggedAboveTheFirstBandBecomesItsFirstEntry) {
  AddEntry(kFood, "a", 1);
  AddEntry(kClothes, "moved", 2);
  TDailyGrid& grid = Load(kKindPayment);
  const int from = BandRow(kClothes) + 1;
  ASSERT_EQ(grid.Cells(1, from), QStringLiteral("moved"));
  QWidget& view = *grid.viewport();
  const QPoint grip = grid.CellRect(0, from).center();
  const QPoint top = grid.CellRect(0, 1).center();
  test::SendMouse(view, QEvent::MouseButtonPress, grip);
  test::SendMouse(view, QEvent::MouseMove, top);
  test::SendMouse(view, QEvent::MouseButtonRelease, top, Qt::NoButton);
  Settle();
  EXPECT_EQ(Shape()[0], "2:食費");
  EXPECT_EQ(Shape()[1], "1:moved");
  EXPECT_EQ(Shape()[2], "1:a");
  EXPECT_EQ(grid.Cells(2, 1), QStringLiteral("3"));  // the moved amount counts for 食費 now
  EXPECT_GT(modified, 0);
  Store();
  EXPECT_EQ(CurrentMonthData().Entry(CurrentMonthData().FirstIndex()).categoryKey, kFood);
}

TEST_F(DailyGridTest, ClickingTheBandOfTheCurrentGroupDoesNothing) {
  AddEntry(kFood, "a", 1);
  TDailyGrid& grid = Load(kKindPayment);
  const auto before = Shape();
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.CellRect(2, 1).center());
  Settle();
  EXPECT_EQ(Shape(), before);
  EXPECT_EQ(grid.Row(), 3);
  // A click on another band puts the blank row at the end of its group.
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.CellRect(1, BandRow(kFare)).center());
  Settle();
  EXPECT_EQ(grid.Row(), BandRow(kFare) + 1);
  EXPECT_EQ(Shape()[2], "2:服飾");  // the old blank row is gone
}

TEST_F(DailyGridTest, EditorTextSitsWhereTheCellDrawsIt) {
  AddEntry(kFood, "Wide", 1);
  TDailyGrid& grid = Load(kKindPayment);
  Key(Qt::Key_Up);
  ASSERT_EQ(&Focused(), grid.Editor());
  const QRect cell = grid.CellRect(1, 2);
  // Ink of the first letter (the caret blinks after the last one): pixels darker than the
  // entry background.
  const auto inkBox = [&](const QImage& image) {
    QRect box;
    for (int y = cell.top(); y < cell.bottom() - 1; ++y)
      for (int x = cell.left(); x < cell.left() + 12; ++x)
        if (qGray(image.pixel(x, y)) < 128) box |= QRect(x, y, 1, 1);
    return box;
  };
  const QRect editing = inkBox(grid.viewport()->grab().toImage());
  grid.WriteBackEditor();
  const QRect painted = inkBox(grid.viewport()->grab().toImage());
  ASSERT_FALSE(painted.isEmpty());
  EXPECT_EQ(editing.topLeft(), painted.topLeft());
  EXPECT_EQ(modified, 0);
}

TEST_F(DailyGridTest, AWholeDayTypedByKeyboardReadsBackFromTheMonthFile) {
  Load(kKindPayment);
  const auto entry = [](const QString& item, const QString& amount, int accountDowns, const QString& note) {
    Type(item);
    Key(Qt::Key_Return);
    Type(amount);
    Key(Qt::Key_Return);
    Keys(Qt::Key_Down, accountDowns);
    Key(Qt::Key_Return);
    Type(note);
    Key(Qt::Key_Return);
  };
  entry(QStringLiteral("パン"), QStringLiteral("300"), 0, QStringLiteral("朝"));
  entry(QStringLiteral("牛乳"), QStringLiteral("198*2"), 1, QString());
  Keys(Qt::Key_Down, 5);  // band by band down to 交通
  entry(QStringLiteral("バス"), QStringLiteral("220"), 0, QString());
  entry(QStringLiteral("電車"), QStringLiteral("1,000/3"), 2, QStringLiteral("往復"));
  Keys(Qt::Key_Down, 2);  // 住居･光熱, then 雑費, the last band
  entry(QStringLiteral("電池"), QStringLiteral("400"), 0, QStringLiteral("単3"));
  Store();
  ASSERT_TRUE(CurrentMonthData().Save());

  TkzmDataUnit reread;
  reread.SetFolder(m_book + "/Daily");
  reread.SelectDay(kDay);
  struct TExpected {
    std::string category;
    std::string item;
    int32_t amount;
    std::string account;
    std::string note;
  };
  const TExpected expected[] = {
      {kFood, "パン", 300, kCash, "朝"},     {kFood, "牛乳", 396, kBank, ""},
      {kFare, "バス", 220, kCash, ""},       {kFare, "電車", 333, kCard, "往復"},
      {kMisc, "電池", 400, kCash, "単3"},
  };
  ASSERT_EQ(reread.DayEntryCount(), 5);
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    const TkzmEntry& got = reread.Entry(reread.FirstIndex() + i);
    EXPECT_EQ(got.categoryKey, expected[i].category);
    EXPECT_EQ(got.itemText, expected[i].item);
    EXPECT_EQ(got.amount, expected[i].amount);
    EXPECT_EQ(got.accountKey, expected[i].account);
    EXPECT_EQ(got.note, expected[i].note);
  }
}

}  // namespace
}  // namespace kzm::ui
