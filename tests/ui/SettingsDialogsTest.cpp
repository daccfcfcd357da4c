#include "ui/common/Openers.h"
#include "ui/settings/InfoWindow.h"
#include "ui/settings/OptionWindow.h"
#include "ui/settings/ProfileSelectWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include <filesystem>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "controls/grid/GridControl.h"
#include "foundation/AppGlobal.h"
#include "foundation/Files.h"
#include "foundation/ProfileList.h"
#include "passbook/Categories.h"
#include "passbook/Profile.h"
#include "ui/ModalDialog.h"
#include "ui/NamedChild.h"
#include "ui/TabWalk.h"
#include "ui/common/QtWindowSystem.h"

namespace kzm::ui {
namespace {

// The desktop trash stands in as a plain removal.
class TTestWindows final : public test::TRecordingWindowSystem {
 public:
  bool MoveToRecycleBin(const std::string& path) override {
    std::error_code ec;
    return std::filesystem::remove_all(path, ec) > 0;
  }
};

using test::Child;

void Click(QWidget* window, const char* button) { Child<QPushButton>(window, button)->click(); }

// A key pressed as a person presses it: into the widget that has the focus.
void PressKey(QWidget* window, Qt::Key key) {
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  QWidget* focus = QApplication::focusWidget();
  ASSERT_NE(focus, nullptr);
  QTest::keyClick(focus, key);
}

QString FocusName(QWidget* window) {
  EXPECT_TRUE(QTest::qWaitForWindowActive(window));
  QWidget* focus = QApplication::focusWidget();
  return focus ? focus->objectName() : QString();
}

using test::OnNextDialog;

class SettingsDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    AppGlobal().UseDataFolder(m_data.Path());
    CurrentProfile().Load("");
  }
  void TearDown() override { CurrentProfile().Load(""); }

  // A passbook with the defaults in the data folder.
  std::string MakePassbook(const std::string& name, const std::string& owner = {}) {
    TkzmProfile profile;
    profile.Load("");
    profile.SetOwnerName(owner);
    profile.SetFolder(m_data.File(name));
    EXPECT_TRUE(profile.Save());
    return profile.Folder();
  }

  test::TTempFolder m_data;
  TTestWindows m_windows;
};

TEST_F(SettingsDialogs, WizardCreatesThePassbookAsTheProfileWritesIt) {
  OnNextDialog([](QDialog* dialog) {
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("新規通帳作成"));
    auto* ok = Child<QPushButton>(dialog, "ButtonOK");
    EXPECT_EQ(ok->text(), QStringLiteral("次へ"));
    EXPECT_EQ(Child<QLineEdit>(dialog, "EditFolder")->text(), QStringLiteral("通帳1"));
    Child<QLineEdit>(dialog, "EditFolder")->setText(QStringLiteral("家計"));
    ok->click();
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(ok->text(), QStringLiteral("ＯＫ"));
    ok->click();
  });
  ASSERT_TRUE(NewPassbook());
  EXPECT_EQ(CurrentProfile().Folder(), m_data.File("家計"));

  test::TTempFolder elsewhere;
  TkzmProfile reference;
  reference.Load("");
  reference.SetFolder(elsewhere.File("家計"));
  ASSERT_TRUE(reference.Save());
  for (const char* file : {"nbkr.ini", "Headfile.dta"}) {
    SCOPED_TRACE(file);
    EXPECT_EQ(test::ReadBytes(m_data.File(std::string("家計/") + file)),
              test::ReadBytes(elsewhere.File(std::string("家計/") + file)));
  }
}

TEST_F(SettingsDialogs, CancelledWizardReopensThePassbookOpenBefore) {
  const std::string before = MakePassbook("通帳1");
  CurrentProfile().OpenPassbook(before);
  OnNextDialog([](QDialog* dialog) { Click(dialog, "ButtonCancel"); });
  EXPECT_FALSE(NewPassbook());
  EXPECT_EQ(CurrentProfile().Folder(), before);
  EXPECT_FALSE(FolderExists(m_data.File("通帳2")));
}

TEST_F(SettingsDialogs, BadOrTakenNameKeepsTheWindowOpen) {
  MakePassbook("通帳1");
  struct Case {
    const char* name;
    const char* message;
  };
  for (const Case& c : {Case{"a/b", kBadPassbookName}, Case{"..", kBadPassbookName},
                        Case{"通帳1", kPassbookNameTaken}}) {
    SCOPED_TRACE(c.name);
    m_windows.messages.clear();
    TFmInfo window;
    window.LoadPages(PassbookInfoOf(CurrentProfile()), CurrentProfile().Categories());
    window.NewPassbookWizard();
    window.show();
    Child<QLineEdit>(&window, "EditFolder")->setText(QString::fromUtf8(c.name));
    Click(&window, "ButtonOK");
    EXPECT_EQ(m_windows.messages, std::vector<std::string>{c.message});
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.Cancelled());
  }
}

TEST_F(SettingsDialogs, CategoryPageAddsRemovesAndDropsEmptiedRows) {
  THeadList list;
  list.AddKey(MakeKey("新規項目1", kKindPayment));
  list.AddKey(MakeKey("新規項目2", kKindPayment));
  list.AddKey(MakeKey("現金", kKindAsset));
  TFmInfo window;
  window.LoadPages(PassbookInfoOf(CurrentProfile()), list);
  window.SetPage(1);
  window.show();
  auto* grid = Child<TorvDrawGrid>(&window, "Grid");
  auto* name = Child<QLineEdit>(&window, "EditHead");
  EXPECT_EQ(list.Count(), 6);  // memo and totals were added to the list itself
  Click(&window, "ButtonAdd");
  EXPECT_EQ(grid->Row(), 1);
  EXPECT_EQ(name->text(), QStringLiteral("新規項目3"));
  EXPECT_EQ(window.Rows().Count(), 7);

  // Empty the new row's name by typing, then select another row: the row goes.
  name->setFocus();
  name->selectAll();
  QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
  QApplication::sendEvent(name, &del);
  EXPECT_EQ(window.Rows().Row(1).name, "");
  grid->SetRow(3);
  QApplication::processEvents();
  EXPECT_EQ(window.Rows().Count(), 6);
  EXPECT_EQ(grid->Row(), 2);
  EXPECT_EQ(name->text(), QStringLiteral("現金"));

  // A fixed row cannot be renamed, re-kinded or removed.
  grid->SetRow(3);
  QApplication::processEvents();
  EXPECT_FALSE(name->isEnabled());
  EXPECT_FALSE(Child<QPushButton>(&window, "ButtonRemove")->isEnabled());

  for (int i = 0; i < 25; ++i) Click(&window, "ButtonAdd");
  EXPECT_EQ(window.Rows().Count(), 31);
  m_windows.messages.clear();
  Click(&window, "ButtonAdd");
  EXPECT_EQ(m_windows.messages, std::vector<std::string>{kTooManyRows});
  EXPECT_EQ(window.Rows().Count(), 31);
}

// Alt+K names カードの設定; while that button is disabled the key must not type "k" into the
// name being edited.
TEST_F(SettingsDialogs, TheMnemonicOfADisabledButtonTypesNothing) {
  THeadList list;
  list.AddKey(MakeKey("給与", kKindReceipt));
  list.AddKey(MakeKey("現金", kKindAsset));
  TFmInfo window;
  window.LoadPages(PassbookInfoOf(CurrentProfile()), list);
  window.SetPage(1);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  auto* name = Child<QLineEdit>(&window, "EditHead");
  ASSERT_EQ(name->text(), QStringLiteral("給与"));
  ASSERT_FALSE(Child<QPushButton>(&window, "ButtonCard")->isEnabled());
  name->setFocus();
  name->end(false);
  ASSERT_EQ(QApplication::focusWidget(), name);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_K, Qt::AltModifier);
  EXPECT_EQ(name->text(), QStringLiteral("給与"));
  // Typing itself goes on as before.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_A);
  EXPECT_EQ(name->text(), QStringLiteral("給与a"));
}

TEST_F(SettingsDialogs, OkStoresTheInformationAndRenamesThePassbook) {
  const std::string folder = MakePassbook("通帳1");
  MakePassbook("通帳2");
  CurrentProfile().OpenPassbook(folder);
  OnNextDialog([](QDialog* dialog) {
    Child<QLineEdit>(dialog, "EditFolder")->setText(QStringLiteral("通帳2"));
    Click(dialog, "ButtonOK");
    ASSERT_TRUE(dialog->isVisible());
    Child<QLineEdit>(dialog, "EditFolder")->setText(QStringLiteral("家計"));
    Child<QLineEdit>(dialog, "EditName")->setText(QStringLiteral("はなこ"));
    Child<QLineEdit>(dialog, "EditBirthMonth")->setText(QStringLiteral("x"));
    Child<QLineEdit>(dialog, "EditBirthDay")->setText(QStringLiteral("9"));
    Click(dialog, "ButtonOK");
  });
  m_windows.notices.clear();
  m_windows.messages.clear();
  EXPECT_TRUE(OpenPassbookInfo(0));
  EXPECT_EQ(m_windows.messages, std::vector<std::string>{kPassbookNameTaken});
  EXPECT_EQ(CurrentProfile().Folder(), m_data.File("家計"));
  EXPECT_FALSE(FolderExists(folder));
  EXPECT_EQ(CurrentProfile().OwnerName(), "はなこ");
  EXPECT_EQ(CurrentProfile().BirthMonth(), 0);
  EXPECT_EQ(CurrentProfile().BirthDay(), 9);
  ASSERT_FALSE(m_windows.notices.empty());
  EXPECT_EQ(m_windows.notices.back().message, kNoticeDataChanged);
}

TEST_F(SettingsDialogs, SelectionStartsOnTheOpenPassbookAndDeletingItDisablesCancel) {
  MakePassbook("a", "太郎");
  const std::string open = MakePassbook("b");
  MakePassbook("c");
  CurrentProfile().OpenPassbook(open);
  m_windows.answer = true;
  TFmProfileSelect window(open);
  window.show();
  EXPECT_EQ(window.SelectedFolder(), open);
  Click(&window, "ButtonDelete");
  EXPECT_EQ(m_windows.messages.back(), "この通帳プロファイルを本当に削除しますか？\n[b]");
  EXPECT_FALSE(FolderExists(open));
  EXPECT_FALSE(Child<QPushButton>(&window, "ButtonCancel")->isEnabled());
  window.reject();  // Escape cannot leave it either
  EXPECT_TRUE(window.isVisible());
  Click(&window, "ButtonDelete");
  EXPECT_FALSE(Child<QPushButton>(&window, "ButtonDelete")->isEnabled());
  Click(&window, "ButtonSet");
  EXPECT_FALSE(window.Cancelled());
  EXPECT_TRUE(FolderExists(window.SelectedFolder()));
  EXPECT_EQ(FolderExists(m_data.File("a")) + FolderExists(m_data.File("c")), 1);
}

// Two Enters must never put a passbook in the trash: the question answers いいえ to Enter,
// and after a deletion the focus is back on the list, not on 削除.
TEST_F(SettingsDialogs, DeletingAPassbookTakesAYesNeverAnEnter) {
  const std::string a = MakePassbook("a");
  MakePassbook("b");
  CurrentProfile().OpenPassbook(a);
  TFmProfileSelect window(a);
  window.show();
  {
    TQtWindowSystem qtWindows;
    SetWindowSystem(&qtWindows);
    bool asked = false;
    test::OnNextDialog([&](QDialog* box) {
      asked = true;
      PressKey(box, Qt::Key_Return);
    });
    Click(&window, "ButtonDelete");
    SetWindowSystem(&m_windows);
    EXPECT_TRUE(asked);
  }
  EXPECT_TRUE(FolderExists(a));

  m_windows.answer = true;
  Click(&window, "ButtonDelete");
  EXPECT_FALSE(FolderExists(a));
  ASSERT_NE(window.focusWidget(), nullptr);
  EXPECT_EQ(window.focusWidget()->objectName(), QStringLiteral("ListView"));
}

TEST_F(SettingsDialogs, SelectPassbookOpensTheChosenOneAndCancelKeepsTheOpenOne) {
  MakePassbook("a");
  const std::string b = MakePassbook("b");
  CurrentProfile().OpenPassbook(m_data.File("a"));
  OnNextDialog([](QDialog* dialog) { Click(dialog, "ButtonCancel"); });
  EXPECT_FALSE(SelectPassbook());
  EXPECT_EQ(CurrentProfile().Folder(), m_data.File("a"));

  OnNextDialog([](QDialog* dialog) {
    auto* list = Child<QTableWidget>(dialog, "ListView");
    const QList<QTableWidgetItem*> found = list->findItems(QStringLiteral("b"), Qt::MatchExactly);
    ASSERT_FALSE(found.isEmpty());
    list->selectRow(found.front()->row());
    Click(dialog, "ButtonSet");
  });
  EXPECT_TRUE(SelectPassbook());
  EXPECT_EQ(CurrentProfile().Folder(), b);
}

TEST_F(SettingsDialogs, OptionsWriteTheStartupChoiceAndEnterPath) {
  const std::string folder = MakePassbook("a");
  CurrentProfile().OpenPassbook(folder);
  OnNextDialog([](QDialog* dialog) { Click(dialog, "ButtonCancel"); });
  OpenOptions(0);
  EXPECT_FALSE(AppGlobal().ReadAppBool("STARTUP", "SELECTION", false));

  OnNextDialog([](QDialog* dialog) {
    Child<QRadioButton>(dialog, "rgStartUpProfileList")->setChecked(true);
    Child<QCheckBox>(dialog, "CBenter2")->setChecked(false);
    Child<QCheckBox>(dialog, "cbStartUpMonthly")->setChecked(true);
    EXPECT_FALSE(Child<QCheckBox>(dialog, "cbStartUpCalendar")->isEnabled());
    Click(dialog, "ButtonSetUpAll");
  });
  OpenOptions(1);
  EXPECT_TRUE(AppGlobal().ReadAppBool("STARTUP", "SELECTION", false));
  TprofileList saved;
  ASSERT_TRUE(saved.LoadFromFile(folder + "/nbkr.ini"));
  EXPECT_FALSE(saved.ReadBool("DAILY", "enter2", true));
  EXPECT_TRUE(saved.ReadBool("DAILY", "enter1", false));
  EXPECT_TRUE(saved.ReadBool("STARTUP", "MONTHLY", false));
}

TEST_F(SettingsDialogs, WindowsOpenReadyToTypeWithTheExpectedDefaultButton) {
  CurrentProfile().OpenPassbook(MakePassbook("家計"));
  OnNextDialog([](QDialog* dialog) {
    EXPECT_EQ(FocusName(dialog), QStringLiteral("EditFolder"));
    EXPECT_EQ(Child<QLineEdit>(dialog, "EditFolder")->selectedText(), QStringLiteral("家計"));
    EXPECT_TRUE(Child<QPushButton>(dialog, "ButtonOK")->isDefault());
  });
  OpenPassbookInfo(0);
  OnNextDialog([](QDialog* dialog) { EXPECT_EQ(FocusName(dialog), QStringLiteral("Grid")); });
  OpenPassbookInfo(1);
  OnNextDialog([](QDialog* dialog) {
    EXPECT_EQ(FocusName(dialog), QStringLiteral("ListView"));
    PressKey(dialog, Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible()) << "Enter chooses the selected passbook";
  });
  EXPECT_TRUE(SelectPassbook());
}

// Enter on the wizard's second step used to reach キャンセル and throw the new passbook away.
TEST_F(SettingsDialogs, EnterOnTheWizardsSecondStepCreatesThePassbook) {
  OnNextDialog([](QDialog* dialog) {
    EXPECT_EQ(FocusName(dialog), QStringLiteral("EditFolder"));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("kakei"));
    PressKey(dialog, Qt::Key_Return);
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(Child<QPushButton>(dialog, "ButtonOK")->text(), QStringLiteral("ＯＫ"));
    PressKey(dialog, Qt::Key_Return);
  });
  ASSERT_TRUE(NewPassbook());
  EXPECT_EQ(CurrentProfile().Folder(), m_data.File("kakei"));
}

TEST_F(SettingsDialogs, NameTooLongForTheFileSystemIsRefusedAtTheFirstStep) {
  TFmInfo window;
  window.LoadPages(PassbookInfoOf(CurrentProfile()), CurrentProfile().Categories());
  window.NewPassbookWizard();
  window.show();
  QString name;
  for (int i = 0; i < 300; ++i) name += QStringLiteral("長");
  Child<QLineEdit>(&window, "EditFolder")->setText(name);
  Click(&window, "ButtonOK");
  EXPECT_EQ(m_windows.messages, std::vector<std::string>{kPassbookNameTooLong});
  EXPECT_EQ(Child<QPushButton>(&window, "ButtonOK")->text(), QStringLiteral("次へ")) << "still on the first step";
}

// Only a name the user changed renames the folder; one that is no valid UTF-8 would come
// back from the edit as other bytes.
TEST_F(SettingsDialogs, OkRenamesOnlyANameTheUserChanged) {
  struct Case {
    const char* folder;
    const char* typed;  // nullptr: left as it is
    const char* after;
  };
  for (const Case& c : {Case{"家計", nullptr, "家計"}, Case{"\xff\xfe\x81", nullptr, "\xff\xfe\x81"},
                        Case{"\xff\xfe\x81", "新しい", "新しい"}, Case{"家計", "家計2", "家計2"}}) {
    SCOPED_TRACE(c.after);
    test::TTempFolder data;
    AppGlobal().UseDataFolder(data.Path());
    TkzmProfile made;
    made.Load("");
    made.SetFolder(data.File(c.folder));
    ASSERT_TRUE(made.Save());
    CurrentProfile().OpenPassbook(made.Folder());
    OnNextDialog([&c](QDialog* dialog) {
      if (c.typed) Child<QLineEdit>(dialog, "EditFolder")->setText(QString::fromUtf8(c.typed));
      Click(dialog, "ButtonOK");
    });
    EXPECT_TRUE(OpenPassbookInfo(0));
    EXPECT_TRUE(FolderExists(data.File(c.after)));
    EXPECT_EQ(CurrentProfile().Folder(), data.File(c.after));
    std::vector<std::string> folders;
    for (const auto& entry : std::filesystem::directory_iterator(data.Path())) {
      if (entry.is_directory()) folders.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(folders, std::vector<std::string>{c.after});
    CurrentProfile().Load("");
  }
}

TEST_F(SettingsDialogs, SettingsDialogsAreCentredOnTheScreenNotOnTheMainWindow) {
  CurrentProfile().OpenPassbook(MakePassbook("家計"));
  QWidget mainWindow;
  mainWindow.setGeometry(0, 0, 280, 120);
  mainWindow.show();
  const QRect area = mainWindow.screen()->availableGeometry();
  const auto expectCentred = [&area](QDialog* dialog) {
    SCOPED_TRACE(dialog->objectName().toStdString());
    EXPECT_LE((dialog->frameGeometry().center() - area.center()).manhattanLength(), 2)
        << dialog->frameGeometry().center().x() << "," << dialog->frameGeometry().center().y();
  };
  OnNextDialog(expectCentred);
  OpenPassbookInfo(0, &mainWindow);
  OnNextDialog(expectCentred);
  OpenOptions(0, &mainWindow);
  OnNextDialog(expectCentred);
  SelectPassbook(&mainWindow);
}

TEST_F(SettingsDialogs, PassbookListKeepsEachPassbookOnOneLine) {
  MakePassbook("とても長い名前の通帳で列の幅にはとても収まりきらないもの", "とても長いおなまえの持ち主さん");
  const std::string open = MakePassbook("b");
  TFmProfileSelect window(open);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  auto* list = Child<QTableWidget>(&window, "ListView");
  EXPECT_FALSE(list->wordWrap());
  EXPECT_NE(list->textElideMode(), Qt::ElideNone);
  EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
  for (int col = 0; col < 4; ++col) {
    SCOPED_TRACE(col);
    EXPECT_EQ(list->horizontalHeader()->sectionResizeMode(col) == QHeaderView::Stretch, col == 3);
  }
}

// Tab leaves the list for the buttons in the order they stand, 削除 first; the columns say
// what the passbook information window says.
TEST_F(SettingsDialogs, PassbookListTabsThroughEveryButton) {
  const std::string open = MakePassbook("a");
  MakePassbook("b");
  TFmProfileSelect window(open);
  window.show();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  auto* list = Child<QTableWidget>(&window, "ListView");
  EXPECT_EQ(list->horizontalHeaderItem(2)->text(), QStringLiteral("使いみち"));
  EXPECT_EQ(list->horizontalHeaderItem(3)->text(), QStringLiteral("フォルダ"));
  std::vector<QWidget*> controls{list};
  for (const char* name : {"ButtonSet", "ButtonCancel", "ButtonDelete"}) controls.push_back(Child<QWidget>(&window, name));
  std::vector<QString> onScreen = test::ScreenOrder(&window, controls);
  onScreen.push_back(onScreen.front());
  EXPECT_EQ(test::WalkTab(4), onScreen);
}

TEST_F(SettingsDialogs, OpeningTheDataFolderSaysSoWhenItFails) {
  TFmOption window({}, m_data.Path());
  window.show();
  Click(&window, "Button1");
  EXPECT_EQ(m_windows.messages, std::vector<std::string>{"データ保存フォルダを開けませんでした。\n" + m_data.Path()});
}

}  // namespace
}  // namespace kzm::ui
