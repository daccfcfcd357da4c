#include "ui/analysis/FindGrid.h"
#include "ui/analysis/FindWindow.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QImage>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <filesystem>

#include <unistd.h>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "controls/CheckedDatePicker.h"
#include "foundation/AppGlobal.h"
#include "foundation/Codec.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "ui/ModalDialog.h"
#include "ui/NamedChild.h"
#include "ui/common/AccessibleControls.h"

namespace kzm::ui {
namespace {

using test::Child;

void Click(QWidget* window, const char* button) {
  QTest::mouseClick(Child<QPushButton>(window, button), Qt::LeftButton);
}

// Types text into a control as a person does: focus, clear, then the text as the input
// method hands over what was typed in Japanese.
void Type(QWidget* window, const char* control, const QString& text) {
  QApplication::setActiveWindow(window);
  Child<QWidget>(window, control)->setFocus();
  QWidget* focused = QApplication::focusWidget();
  ASSERT_NE(focused, nullptr);
  if (auto* edit = qobject_cast<QLineEdit*>(focused)) edit->clear();
  if (auto* combo = qobject_cast<QComboBox*>(focused)) combo->clearEditText();
  QInputMethodEvent typed;
  typed.setCommitString(text);
  QApplication::sendEvent(focused, &typed);
}

// Answers the next file dialog with path (or cancels it when path is empty).
void SaveAs(const std::string& path) {
  test::OnNextDialog([path](QDialog* dialog) {
    auto* files = qobject_cast<QFileDialog*>(dialog);
    ASSERT_NE(files, nullptr);
    if (path.empty()) return;
    files->setOption(QFileDialog::DontConfirmOverwrite);
    files->selectFile(QString::fromStdString(path));
    static_cast<QDialog*>(files)->accept();  // the dialog's own accept, as its button calls it
  });
}

class FindWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetTodayForTest(EncodeDate(2024, 4, 10));
    AppGlobal().UseDataFolder(m_data.Path());
    TkzmProfile& profile = CurrentProfile();
    profile.Load("");
    profile.SetFolder(m_data.File("通帳1"));
    ASSERT_TRUE(profile.Save());
    profile.OpenPassbook(profile.Folder());
    Add(EncodeDate(2024, 2, 10), "食費", kKindPayment, "現金", "パン", "朝", 300);
    Add(EncodeDate(2024, 3, 5), "食費", kKindPayment, "カード", "スーパー", "特売", 12345);
    Add(EncodeDate(2024, 3, 5), "給与", kKindReceipt, "銀行", "給料", "", 250000);
    Add(EncodeDate(2024, 3, 20), "現金", kKindAsset, "銀行", "ATM", "", 30000);
    Add(EncodeDate(2024, 3, 20), "メモ", kKindMemo, "メモ", "雨", "", 0);
    Add(EncodeDate(2024, 4, 1), "交通", kKindPayment, "現金", "電車", "", 480);
    ASSERT_TRUE(CurrentMonthData().Save());
    InstallAccessibleControls();  // as the program does before its first window
    m_window = new TFmFind;
    m_window->show();
  }
  void TearDown() override {
    delete m_window.data();
    CurrentProfile().Load("");
    CurrentMonthData().SetFolder("");
    SetTodayForTest(0);
  }

  static void Add(TDayNumber day, const char* category, int kind, const char* account, const char* item,
                  const char* note, int32_t amount) {
    TkzmDataUnit& data = CurrentMonthData();
    data.SelectDay(day);
    data.AddEntry(MakeKey(category, kind), MakeKey(account, kind == kKindMemo ? kKindMemo : kKindAsset), note, item,
                  amount);
  }

  // The item texts of the results, in grid order.
  std::vector<std::string> Items() const {
    std::vector<std::string> items;
    for (const TkzmEntry& e : m_window->Grid()->Results().Entries()) items.push_back(e.itemText);
    return items;
  }
  std::vector<std::string> SortedItems() const {
    std::vector<std::string> items = Items();
    std::sort(items.begin(), items.end());
    return items;
  }

  void ClickHeader(int col) {
    TFindGrid* grid = m_window->Grid();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(col, 0).center());
  }

  test::TTempFolder m_data;
  test::TRecordingWindowSystem m_windows;
  QPointer<TFmFind> m_window;
};

TEST_F(FindWindowTest, ConditionsFromTheControls) {
  using V = std::vector<std::string>;
  const V everything{"ATM", "スーパー", "パン", "給料", "雨", "電車"};
  struct Case {
    const char* what;
    std::function<void(QWidget*)> set;
    V expected;
  };
  const Case cases[] = {
      {"both pickers off search everything", [](QWidget*) {}, everything},
      {"only the second picker",
       [](QWidget* w) {
         auto* last = Child<TCheckedDatePicker>(w, "DateTimePicker2");
         last->SetDate(EncodeDate(2024, 3, 5));
         last->SetChecked(true);
       },
       V{"スーパー", "パン", "給料"}},
      {"both pickers",
       [](QWidget* w) {
         auto* first = Child<TCheckedDatePicker>(w, "DateTimePicker1");
         first->SetDate(EncodeDate(2024, 3, 6));
         first->SetChecked(true);
         Child<TCheckedDatePicker>(w, "DateTimePicker2")->SetChecked(true);  // today, 2024/4/10
       },
       V{"ATM", "雨", "電車"}},
      {"(なし) is no condition",
       [](QWidget* w) {
         Type(w, "CMhead", QStringLiteral("(なし)"));
         Type(w, "CMfrom", QStringLiteral("(なし)"));
       },
       everything},
      {"exact category", [](QWidget* w) { Type(w, "CMhead", QStringLiteral("食費")); }, V{"スーパー", "パン"}},
      {"no partial match", [](QWidget* w) { Type(w, "CMdetail", QStringLiteral("スーパ")); }, V{}},
      {"unticked 以下 ignores the upper amount", [](QWidget* w) { Type(w, "MemoUpper", QStringLiteral("100")); },
       everything},
      {"ticked 以下",
       [](QWidget* w) {
         Type(w, "MemoUpper", QStringLiteral("1,000"));
         Child<QCheckBox>(w, "CBupper")->setChecked(true);
       },
       V{"パン", "雨", "電車"}},
      {"kinds",
       [](QWidget* w) {
         Child<QCheckBox>(w, "CBpayment")->setChecked(false);
         Child<QCheckBox>(w, "CBmemo")->setChecked(false);
       },
       V{"ATM", "給料"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    delete m_window.data();
    m_window = new TFmFind;
    m_window->show();
    c.set(m_window);
    Click(m_window, "ButtonNew");
    EXPECT_EQ(SortedItems(), c.expected);
    EXPECT_EQ(m_window->StatusText(), QStringLiteral("新規検索結果：%1").arg(c.expected.size()));
  }
}

// Enter in any condition starts a new search, as Alt+N does; Enter on another button does not.
TEST_F(FindWindowTest, EnterInAConditionStartsANewSearch) {
  QApplication::setActiveWindow(m_window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(m_window));
  const auto enterIn = [this](QWidget* control) {
    Type(m_window, "CMhead", QStringLiteral("交通"));
    Click(m_window, "ButtonAdd");
    control->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), control);
    QTest::keyClick(control, Qt::Key_Return);
  };
  auto* picker = Child<TCheckedDatePicker>(m_window, "DateTimePicker1");
  picker->SetChecked(true);  // an unticked date is greyed
  auto* dateEdit = picker->findChild<QDateEdit*>();
  for (QWidget* control : {static_cast<QWidget*>(Child<QComboBox>(m_window, "CMdetail")),
                           static_cast<QWidget*>(Child<QLineEdit>(m_window, "MemoUpper")),
                           static_cast<QWidget*>(Child<QCheckBox>(m_window, "CBmemo")),
                           static_cast<QWidget*>(dateEdit)}) {
    SCOPED_TRACE(control->objectName().toStdString() + " " + control->metaObject()->className());
    enterIn(control);
    EXPECT_EQ(m_window->StatusText(), QStringLiteral("新規検索結果：1"));
  }
  enterIn(Child<QPushButton>(m_window, "ButtonPrint"));
  EXPECT_EQ(m_window->StatusText(), QStringLiteral("検索結果を追加：1"));
  // A mnemonic clicks its button after a moment, as it shows the press.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([this] { return m_window->StatusText() == QStringLiteral("新規検索結果：1"); }));
}

TEST_F(FindWindowTest, AddingTheSameSearchTwiceAddsNothing) {
  Type(m_window, "CMhead", QStringLiteral("食費"));
  Click(m_window, "ButtonAdd");
  Click(m_window, "ButtonAdd");
  EXPECT_EQ(m_window->Grid()->Results().Count(), 2);
  EXPECT_EQ(m_window->StatusText(), QStringLiteral("検索結果を追加：2"));
  Type(m_window, "CMhead", QStringLiteral("交通"));
  Click(m_window, "ButtonAdd");
  ASSERT_EQ(m_window->Grid()->Results().Count(), 3);
  EXPECT_EQ(Items().back(), "電車");
  EXPECT_EQ(m_window->Grid()->RowCount(), 4);
  // A new search starts from nothing.
  Click(m_window, "ButtonNew");
  EXPECT_EQ(m_window->Grid()->Results().Count(), 1);
}

TEST_F(FindWindowTest, HeaderPressSortsEachColumnItsOwnWay) {
  Click(m_window, "ButtonNew");
  ClickHeader(3);
  EXPECT_EQ(Items(), (std::vector<std::string>{"雨", "パン", "電車", "スーパー", "ATM", "給料"}));
  ClickHeader(3);
  EXPECT_EQ(Items(), (std::vector<std::string>{"給料", "ATM", "スーパー", "電車", "パン", "雨"}));
  // Another column starts ascending.
  ClickHeader(0);
  EXPECT_EQ(Items().front(), "パン");
  EXPECT_EQ(Items().back(), "電車");
  ClickHeader(0);
  EXPECT_EQ(Items().front(), "電車");
}

TEST_F(FindWindowTest, NewSearchLeavesTheFocusOnTheResults) {
  QApplication::setActiveWindow(m_window);
  int opened = 0;
  m_window->Grid()->OnOpenResult = [&opened](const TkzmEntry&) { ++opened; };
  Click(m_window, "ButtonNew");
  ASSERT_EQ(m_window->Grid()->Results().Count(), 6);
  EXPECT_EQ(QApplication::focusWidget(), m_window->Grid());
  // Enter right after the search is meant for the results, never for 印刷's preview.
  bool previewOpened = false;
  QTimer::singleShot(0, [&previewOpened] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      previewOpened = true;
      modal->close();
    }
  });
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_FALSE(previewOpened);
  EXPECT_EQ(opened, 1);
}

TEST_F(FindWindowTest, AReaderHearsTheResultRowTheCursorIsOn) {
  QApplication::setActiveWindow(m_window);
  Click(m_window, "ButtonNew");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
  QAccessibleInterface* table = QAccessible::queryAccessibleInterface(m_window->Grid());
  ASSERT_EQ(table->role(), QAccessible::Table);
  QAccessibleInterface* focused = table->focusChild();
  ASSERT_NE(focused, nullptr);
  ASSERT_EQ(focused->tableCellInterface()->rowIndex(), 1);
  QStringList row;
  for (int col = 0; col < table->tableInterface()->columnCount(); ++col)
    row << table->tableInterface()->cellAt(1, col)->text(QAccessible::Name);
  EXPECT_EQ(row.join(QLatin1Char('|')), QStringLiteral("2024/03/05|食費|スーパー|12,345円|カード|特売"));
}

TEST_F(FindWindowTest, UnsortedResultsShowByDateAndANewSearchForgetsTheSort) {
  TFindGrid* grid = m_window->Grid();
  const auto shownDays = [grid] {
    std::vector<TDayNumber> days;
    for (int row = 1; const TkzmEntry* e = grid->ResultOfRow(row); ++row) days.push_back(e->date);
    return days;
  };
  ClickHeader(3);
  ClickHeader(3);
  ASSERT_EQ(grid->SortedColumn(), 3);
  Click(m_window, "ButtonNew");
  EXPECT_EQ(grid->SortedColumn(), -1);
  std::vector<TDayNumber> days = shownDays();
  ASSERT_EQ(days.size(), 6u);
  EXPECT_TRUE(std::is_sorted(days.begin(), days.end()));
  // The next press on the amount sorts ascending again, from a fresh start.
  ClickHeader(3);
  EXPECT_EQ(grid->ResultOfRow(1)->itemText, "雨");

  // Found out of date order, the results keep that order for the export and the printout,
  // while the rows show them by date.
  Click(m_window, "ButtonNew");
  TSearchResults& results = grid->Results();
  std::vector<TkzmEntry> found = results.Entries();
  std::reverse(found.begin(), found.end());
  results.Clear();
  for (const TkzmEntry& e : found) ASSERT_TRUE(results.Add(e, e.sequence));
  grid->ResultsChanged();
  days = shownDays();
  EXPECT_TRUE(std::is_sorted(days.begin(), days.end()));
  EXPECT_EQ(results.Entries().front().date, found.front().date);
  const std::string path = m_data.File("found.csv");
  SaveAs(path);
  Click(m_window, "ButtonCSV");
  std::string expected;
  for (const TkzmEntry& e : found) expected += SearchCsvLine(e) + "\r\n";
  EXPECT_EQ(DecodeCp932(test::ReadBytes(path)), expected);
}

TEST_F(FindWindowTest, SortingDuringASearchKeepsEveryResult) {
  // The press arrives while the search lets the window work, once some months are done.
  std::function<void()> pressWhenSomeFound = [&] {
    if (m_window->Grid()->Results().Count() > 0) {
      ClickHeader(3);
    } else {
      QTimer::singleShot(0, m_window, pressWhenSomeFound);
    }
  };
  QTimer::singleShot(0, m_window, pressWhenSomeFound);
  Click(m_window, "ButtonNew");
  EXPECT_EQ(m_window->Grid()->SortedColumn(), 3);
  EXPECT_EQ(SortedItems(), (std::vector<std::string>{"ATM", "スーパー", "パン", "給料", "雨", "電車"}));
  for (int row = 1; row <= 6; ++row) EXPECT_NE(m_window->Grid()->ResultOfRow(row), nullptr) << row;
}

TEST_F(FindWindowTest, EmptyResultsShowNoSelectedRow) {
  Type(m_window, "CMdetail", QStringLiteral("どこにもない"));
  Click(m_window, "ButtonNew");
  ASSERT_EQ(m_window->Grid()->Results().Count(), 0);
  TFindGrid* grid = m_window->Grid();
  const QImage shot = grid->viewport()->grab().toImage();
  const QRect blank = grid->CellRect(1, 1);
  ASSERT_FALSE(blank.isEmpty());
  EXPECT_EQ(shot.pixelColor(blank.center()), grid->Color());
}

TEST_F(FindWindowTest, StopEndsTheSearchAfterTheMonthAtHand) {
  // The press arrives while the search lets the window work, as a person's would.
  QTimer::singleShot(0, m_window, [this] { Click(m_window, "ButtonStop"); });
  Click(m_window, "ButtonNew");
  EXPECT_FALSE(m_window->Searching());
  EXPECT_LT(m_window->Grid()->Results().Count(), 6);
  EXPECT_TRUE(Child<QPushButton>(m_window, "ButtonNew")->isEnabled());
  EXPECT_FALSE(Child<QPushButton>(m_window, "ButtonStop")->isEnabled());
}

TEST_F(FindWindowTest, ClosingDuringASearchWaitsForItToStop) {
  QTimer::singleShot(0, m_window, [this] { m_window->close(); });
  Click(m_window, "ButtonNew");
  ASSERT_FALSE(m_window.isNull());  // still there when the search returns
  QTest::qWait(50);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(m_window.isNull());
}

TEST_F(FindWindowTest, CsvExport) {
  Type(m_window, "CMhead", QStringLiteral("食費"));
  Click(m_window, "ButtonNew");
  Type(m_window, "CMhead", QStringLiteral("給与"));
  Click(m_window, "ButtonAdd");
  ASSERT_EQ(m_window->Grid()->Results().Count(), 3);
  ClickHeader(0);
  const std::string path = m_data.File("out.csv");
  SaveAs(path);
  Click(m_window, "ButtonCSV");
  EXPECT_TRUE(m_windows.messages.empty());
  EXPECT_EQ(DecodeCp932(test::ReadBytes(path)),
            "2024/02/10,食費,パン,300,現金,朝\r\n"
            "2024/03/05,食費,スーパー,\"12,345\",カード,特売\r\n"
            "2024/03/05,給与,給料,\"250,000\",銀行,\r\n");
}

TEST_F(FindWindowTest, FailedCsvExportSaysSoAndKeepsTheOldFile) {
  Click(m_window, "ButtonNew");
  const std::string before = "old contents\r\n";
  std::filesystem::create_directory(m_data.File("locked"));
  test::WriteBytes(m_data.File("locked/out.csv"), before);
  test::WriteBytes(m_data.File("emoji.csv"), before);
  struct Case {
    const char* what;
    std::string path;
    std::function<void()> plant;
  };
  std::vector<Case> cases = {
      {"a character Shift-JIS lacks", m_data.File("emoji.csv"),
       [this] { m_window->Grid()->Results().Entries()[0].note = "😀"; }},
      {"a folder that does not exist", m_data.File("missing/out.csv"), [] {}},
  };
  // Permissions do not stop the superuser.
  if (::geteuid() != 0) {
    cases.push_back({"a folder without write permission", m_data.File("locked/out.csv"), [this] {
                       std::filesystem::permissions(m_data.File("locked"), std::filesystem::perms::owner_read |
                                                                               std::filesystem::perms::owner_exec);
                     }});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    m_windows.messages.clear();
    c.plant();
    SaveAs(c.path);
    Click(m_window, "ButtonCSV");
    ASSERT_EQ(m_windows.messages.size(), 1u);
    EXPECT_NE(m_windows.messages[0].find("CSVファイルを保存できませんでした"), std::string::npos);
    if (std::filesystem::exists(c.path)) {
      EXPECT_EQ(test::ReadBytes(c.path), before);
    }
  }
}

}  // namespace
}  // namespace kzm::ui
