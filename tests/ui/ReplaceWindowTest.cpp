#include "ui/analysis/ReplaceWindow.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QInputMethodEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <map>

#include "PassbookFixture.h"
#include "backup/BackupArchive.h"
#include "backup/BackupPlace.h"
#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "controls/CheckedDateEdit.h"
#include "controls/NoticeEvent.h"
#include "foundation/AppGlobal.h"
#include "foundation/Dates.h"
#include "foundation/Files.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "search/ReplacePending.h"
#include "ui/NamedChild.h"
#include "ui/common/DataWindows.h"
#include "ui/common/Openers.h"
#include "ui/daily/DailyCells.h"
#include "ui/daily/DailyGrid.h"
#include "ui/daily/DailyWindow.h"

namespace kzm::ui {
namespace {

using test::Child;

// Opens the list of a name box, moves to the name and presses Enter, as a person picks it.
void ChooseName(QComboBox* box, const char* name) {
  const int row = box->findText(QString::fromUtf8(name));
  ASSERT_GE(row, 0) << name;
  box->showPopup();
  QAbstractItemView* view = box->view();
  view->setCurrentIndex(view->model()->index(row, 0));
  QTest::keyClick(view, Qt::Key_Return);
  ASSERT_FALSE(view->isVisible());
  ASSERT_EQ(box->currentText(), QString::fromUtf8(name));
}

// Types text into the name box as a person does: focus, select all, type.
void TypeName(QComboBox* box, const char* text) {
  box->window()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(box->window()));
  box->setFocus();
  QApplication::processEvents();
  QWidget* focus = QApplication::focusWidget();
  ASSERT_NE(focus, nullptr);
  QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
  // Japanese arrives through the input method, committed as a whole.
  QInputMethodEvent commit;
  commit.setCommitString(QString::fromUtf8(text));
  QApplication::sendEvent(focus, &commit);
}

// A passbook with the default categories and cash in four months: paid from (2024-01 … 04,
// day 10) and moved into (day 20).
class ReplaceWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AppGlobal().UseDataFolder(m_data.Path());
    TkzmProfile& profile = CurrentProfile();
    profile.Load("");
    profile.SetFolder(m_data.File("家計"));
    ASSERT_TRUE(profile.Save());
    profile.OpenPassbook(profile.Folder());
    TkzmDataUnit& data = CurrentMonthData();
    for (int month = 1; month <= 4; ++month) {
      data.SelectDay(EncodeDate(2024, month, 10));
      data.AddEntry(MakeKey("食費", kKindPayment), MakeKey("現金", kKindAsset), "", "パン", 300);
      data.SelectDay(EncodeDate(2024, month, 20));
      data.AddEntry(MakeKey("現金", kKindAsset), MakeKey("銀行", kKindAsset), "", "ATM", 10000);
    }
    ASSERT_TRUE(data.Save());
    m_original = Files();
    m_windows.notices.clear();
  }
  void TearDown() override {
    CurrentMonthData().SetFolder("");
    CurrentProfile().Load("");
  }

  std::map<std::string, std::string> Files() const {
    std::map<std::string, std::string> files;
    std::vector<std::string> names;
    ListFiles(m_data.File("家計/Daily"), "*.kzm", names);
    for (const std::string& name : names) files[name] = test::ReadBytes(name);
    return files;
  }
  int ChangedFiles() const {
    int changed = 0;
    for (const auto& [name, bytes] : Files()) changed += m_original.at(name) != bytes;
    return changed;
  }

  test::TTempFolder m_data;
  test::TRecordingWindowSystem m_windows;
  std::map<std::string, std::string> m_original;
};

TEST_F(ReplaceWindowTest, TheKindListsFollowTheNamesAndEachOther) {
  TFmReplace window(CurrentProfile().Categories(), CurrentMonthData());
  window.show();
  auto* headBf = Child<QComboBox>(&window, "CmbHeadBf");
  auto* kindBf = Child<QComboBox>(&window, "CmbKindBf");
  auto* kindAf = Child<QComboBox>(&window, "CmbKindAf");
  EXPECT_EQ(headBf->findText(QStringLiteral("メモ")) >= 0, true);
  EXPECT_EQ(headBf->findText(QStringLiteral("支出合計")), -1);
  EXPECT_EQ(kindBf->currentText(), QStringLiteral("支出"));

  ChooseName(headBf, "現金");
  EXPECT_EQ(kindBf->currentText(), QStringLiteral("資産"));
  EXPECT_EQ(kindAf->currentText(), QStringLiteral("資産"));
  ChooseName(Child<QComboBox>(&window, "CmbHeadAf"), "給与");
  EXPECT_EQ(kindBf->currentText(), QStringLiteral("収入"));

  // The memo has no place in the kind lists: nothing selected, and nothing is replaced.
  ChooseName(headBf, "メモ");
  EXPECT_EQ(kindBf->currentIndex(), -1);
  EXPECT_EQ(kindAf->currentIndex(), -1);
  Child<QPushButton>(&window, "ButtonReplaceGo")->click();
  EXPECT_EQ(ChangedFiles(), 0);
}

TEST_F(ReplaceWindowTest, RefusalsChangeNoFile) {
  struct Case {
    const char* what;
    const char* before;
    const char* typedAfter;
    const char* says;
  };
  const Case cases[] = {
      {"a typed name no category has", "現金", "財布", "「財布」は「資産」の項目にありません"},
      {"a name of another kind", "現金", "食費", "「食費」は「資産」の項目にありません"},
      {"the same category", "現金", "現金", "同じ項目"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    m_windows.messages.clear();
    TFmReplace window(CurrentProfile().Categories(), CurrentMonthData());
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ChooseName(Child<QComboBox>(&window, "CmbHeadBf"), c.before);
    TypeName(Child<QComboBox>(&window, "CmbHeadAf"), c.typedAfter);
    Child<QPushButton>(&window, "ButtonReplaceGo")->click();
    ASSERT_EQ(m_windows.messages.size(), 1u);
    EXPECT_NE(m_windows.messages[0].find(c.says), std::string::npos) << m_windows.messages[0];
    EXPECT_EQ(Files(), m_original);
    EXPECT_TRUE(m_windows.notices.empty());
  }
}

TEST_F(ReplaceWindowTest, ARunCountsTellsTheWindowsAndKeepsLaterMonthsOutsideTheRange) {
  TFmReplace window(CurrentProfile().Categories(), CurrentMonthData());
  window.show();
  ChooseName(Child<QComboBox>(&window, "CmbHeadBf"), "現金");
  ChooseName(Child<QComboBox>(&window, "CmbHeadAf"), "カード");
  auto* last = Child<TCheckedDateEdit>(&window, "DateTimePicker2");
  QTest::mouseClick(last->CheckBox(), Qt::LeftButton);
  last->DateEdit()->setDate(QDate(2024, 2, 15));
  Child<QPushButton>(&window, "ButtonReplaceGo")->click();

  ASSERT_EQ(m_windows.messages.size(), 1u) << m_windows.messages[0];
  EXPECT_EQ(m_windows.messages[0], "3件を変換しました");
  EXPECT_EQ(m_windows.informed, m_windows.messages);  // shown as news, not as a warning
  EXPECT_EQ(ChangedFiles(), 2);
  const std::string march = m_data.File("家計/Daily/202403.kzm");
  EXPECT_EQ(Files()[march], m_original[march]);
  ASSERT_EQ(m_windows.notices.size(), 1u);
  EXPECT_EQ(m_windows.notices[0].message, kNoticeDataChanged);
  EXPECT_EQ(m_windows.notices[0].first, 0);
  EXPECT_TRUE(Child<QPushButton>(&window, "ButtonReplaceGo")->isEnabled());
  EXPECT_FALSE(Child<QPushButton>(&window, "ButtonStop")->isEnabled());
}

// A replacement killed part way is offered when the window opens: yes finishes it, no forgets
// the record and leaves the files as they are.
TEST_F(ReplaceWindowTest, AnUnfinishedReplacementIsFinishedOrForgottenAsAsked) {
  for (const bool finish : {false, true}) {
    SCOPED_TRACE(finish ? "finished" : "forgotten");
    const std::string folder = m_data.File("家計");
    std::string error;
    ASSERT_TRUE(WritePendingReplace(folder, {MakeKey("現金", kKindAsset), MakeKey("カード", kKindAsset)}, error));
    m_windows.messages.clear();
    m_windows.answer = finish;
    TFmReplace window(CurrentProfile().Categories(), CurrentMonthData());
    window.show();
    window.OfferToFinish();
    ASSERT_GE(m_windows.messages.size(), 1u);
    EXPECT_NE(m_windows.messages[0].find("「現金」→「カード」（全期間）"), std::string::npos) << m_windows.messages[0];
    EXPECT_EQ(ChangedFiles(), finish ? 4 : 0);
    std::optional<TReplaceRequest> pending;
    EXPECT_TRUE(ReadPendingReplace(folder, pending, error)) << error;
    EXPECT_FALSE(pending.has_value());
    if (finish) {
      EXPECT_EQ(m_windows.messages.back(), "8件を変換しました");
    }
  }
}

// A record whose target category has gone since cannot be finished: it is said and forgotten,
// and no entry moves to a key no category has.
TEST_F(ReplaceWindowTest, AnUnfinishedReplacementToACategoryNoLongerThereIsForgotten) {
  const std::string folder = m_data.File("家計");
  std::string error;
  ASSERT_TRUE(WritePendingReplace(folder, {MakeKey("現金", kKindAsset), MakeKey("へそくり", kKindAsset)}, error));
  m_windows.answer = true;
  TFmReplace window(CurrentProfile().Categories(), CurrentMonthData());
  window.show();
  window.OfferToFinish();
  ASSERT_EQ(m_windows.messages.size(), 1u);
  EXPECT_NE(m_windows.messages[0].find("続けられない"), std::string::npos) << m_windows.messages[0];
  EXPECT_EQ(ChangedFiles(), 0);
  std::optional<TReplaceRequest> pending;
  EXPECT_TRUE(ReadPendingReplace(folder, pending, error)) << error;
  EXPECT_FALSE(pending.has_value());
}

TEST_F(ReplaceWindowTest, StopEndsTheRunAfterTheMonthAtWork) {
  TFmReplace window(CurrentProfile().Categories(), CurrentMonthData());
  window.show();
  ChooseName(Child<QComboBox>(&window, "CmbHeadBf"), "現金");
  ChooseName(Child<QComboBox>(&window, "CmbHeadAf"), "カード");
  auto* stop = Child<QPushButton>(&window, "ButtonStop");
  // The user presses 停止 as soon as it can be pressed.
  std::function<void()> pressStop = [&] {
    if (stop->isEnabled()) {
      QTest::mouseClick(stop, Qt::LeftButton);
    } else {
      QTimer::singleShot(0, pressStop);
    }
  };
  QTimer::singleShot(0, pressStop);
  QTest::mouseClick(Child<QPushButton>(&window, "ButtonReplaceGo"), Qt::LeftButton);

  EXPECT_EQ(ChangedFiles(), 1);
  ASSERT_EQ(m_windows.messages.size(), 1u);
  EXPECT_EQ(m_windows.messages[0], "2件を変換しました");
}

// Records the notices and delivers them to every window, as the program's window system does.
class TDeliveringWindows : public test::TRecordingWindowSystem {
 public:
  void BroadcastToForms(int message, int first, int second) override {
    TRecordingWindowSystem::BroadcastToForms(message, first, second);
    for (QWidget* w : QApplication::topLevelWidgets()) {
      TNoticeEvent notice(message, first, second);
      QApplication::sendEvent(w, &notice);
    }
  }
};

void Settle() {
  for (int i = 0; i < 3; ++i) {
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

// The payment grid's entries as "band/item", in row order.
std::vector<std::string> PaymentEntries(const TFmDaily& daily) {
  const TDailyGrid& grid = *daily.Grid(kKindPayment);
  std::vector<std::string> entries;
  std::string band;
  for (int row = 1; row < grid.RowCount(); ++row) {
    const std::string text = grid.Cells(1, row).toStdString();
    if (grid.Cells(0, row) != QStringLiteral("1")) {
      band = KeyName(FromCell(grid.Cells(1, row)));
    } else if (!text.empty()) {
      entries.push_back(band + "/" + text);
    }
  }
  return entries;
}

TEST_F(ReplaceWindowTest, AnOpenDailyWindowKeepsItsTypedEntryUnderTheNewCategory) {
  TDeliveringWindows windows;
  ASSERT_TRUE(OpenDailyWindow(EncodeDate(2024, 2, 10)));
  Settle();
  TFmDaily* daily = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* found = qobject_cast<TFmDaily*>(w)) daily = found;
  }
  ASSERT_NE(daily, nullptr);
  QApplication::setActiveWindow(daily);
  Settle();
  // The day holds パン under 食費; a second entry is typed below it and not saved yet.
  test::TypeText(QStringLiteral("牛乳"));
  test::PressKey(Qt::Key_Return);
  Settle();
  test::TypeText(QStringLiteral("210"));
  test::PressKey(Qt::Key_Return);
  Settle();
  ASSERT_TRUE(daily->Modified());

  TFmReplace window(CurrentProfile().Categories(), CurrentMonthData());
  window.show();
  ChooseName(Child<QComboBox>(&window, "CmbHeadBf"), "食費");
  ChooseName(Child<QComboBox>(&window, "CmbHeadAf"), "雑費");
  Child<QPushButton>(&window, "ButtonReplaceGo")->click();
  Settle();

  ASSERT_FALSE(windows.messages.empty());
  EXPECT_EQ(windows.messages.back(), "5件を変換しました");
  const std::string february = DecodeCp932(test::ReadBytes(m_data.File("家計/Daily/202402.kzm")));
  EXPECT_NE(february.find("20240210,支出,雑費,資産,現金,300,パン,"), std::string::npos) << february;
  EXPECT_NE(february.find("20240210,支出,雑費,資産,現金,210,牛乳,"), std::string::npos) << february;
  EXPECT_EQ(february.find("食費"), std::string::npos) << february;
  // The window shows the day as it is now, so closing it writes no old category back.
  EXPECT_FALSE(daily->Modified());
  EXPECT_EQ(PaymentEntries(*daily), (std::vector<std::string>{"雑費/パン", "雑費/牛乳"}));
  daily->close();
  Settle();
  EXPECT_EQ(DecodeCp932(test::ReadBytes(m_data.File("家計/Daily/202402.kzm"))), february);
}

}  // namespace
}  // namespace kzm::ui

namespace kzm::ui {
namespace {

// The files as they were before a replace are in a backup taken just before it.
TEST_F(ReplaceWindowTest, AReplaceIsBackedUpFirst) {
  TFmReplace window(CurrentProfile().Categories(), CurrentMonthData());
  window.show();
  ChooseName(Child<QComboBox>(&window, "CmbHeadBf"), "食費");
  ChooseName(Child<QComboBox>(&window, "CmbHeadAf"), "雑費");
  Child<QPushButton>(&window, "ButtonReplaceGo")->click();
  ASSERT_EQ(ChangedFiles(), 4);
  const std::vector<TBackupInfo> backups = BackupStoreOf(CurrentProfile().Folder()).List();
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_EQ(backups[0].reasonText, "項目の置換の前");
  TZipReader reader;
  std::string error, bytes;
  ASSERT_TRUE(reader.Open(backups[0].path, error)) << error;
  for (const auto& [path, original] : m_original) {
    ASSERT_TRUE(reader.Read("Daily/" + path.substr(path.rfind('/') + 1), bytes, error)) << error;
    EXPECT_EQ(bytes, original);
  }
}

}  // namespace
}  // namespace kzm::ui
