#include "ui/statement/ColumnMappingDialog.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "PassbookFixture.h"
#include "passbook/Profile.h"
#include "statement/StatementPresets.h"
#include "ui/ModalDialog.h"
#include "ui/NamedChild.h"
#include "ui/statement/StatementImportWindow.h"

namespace kzm::ui {
namespace {

using test::Child;

// A credit union's statement: a title line, a header, then rows with a signed amount.
const char* const kUnionJanuary =
    "しんきん 普通預金 入出金明細\n"
    "番号,年月日,金額,摘要,残高\n"
    "7,2024/1/5,-300,手数料,9700\n"
    "8,2024/1/6,\"1,000\",入金,10700\n";
const char* const kUnionFebruary =
    "しんきん 普通預金 入出金明細\n"
    "番号,年月日,金額,摘要,残高\n"
    "9,2024/2/1,-500,振込手数料,10200\n";

// Keys go to the focused widget of the active window: waits until the window is active.
bool Activate(QWidget* window) {
  window->activateWindow();
  return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }, 2000);
}

// Moves the focus with the control's Alt key, then steps down its list count times.
void PickWithKeys(Qt::Key accelerator, int steps) {
  test::PressKey(accelerator, Qt::AltModifier);
  for (int i = 0; i < steps; ++i) test::PressKey(Qt::Key_Down);
}

class ColumnMappingTest : public test::TPassbookFixture {
 protected:
  void SetUp() override {
    test::WriteBytes(m_data.File("union-01.csv"), kUnionJanuary);
    test::WriteBytes(m_data.File("union-02.csv"), kUnionFebruary);
    Open();
  }

  void Open() {
    window = new TFmStatementImport(CurrentProfile().Categories(), CurrentMonthData(), CurrentProfile().Folder());
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(Activate(window));
  }

  void ReadFile(const char* name) {
    auto* file = Child<QLineEdit>(window, "EditFile");
    file->setFocus();
    file->selectAll();
    test::TypeText(QString::fromStdString(m_data.File(name)));
    test::PressKey(Qt::Key_Return);
  }

  [[nodiscard]] QString Counts() const { return Child<QLabel>(window, "LabelCounts")->text(); }
  [[nodiscard]] std::string PresetFile() const {
    return test::ReadBytes(CurrentProfile().Folder() + "/" + kStatementPresetsFileName);
  }

  TFmStatementImport* window = nullptr;
};

TEST_F(ColumnMappingTest, AnUnknownLayoutIsMappedOnceAndItsPresetReadsTheNextFile) {
  test::OnNextDialog([](QDialog* dialog) {
    ASSERT_TRUE(Activate(dialog));
    EXPECT_TRUE(Child<QLabel>(dialog, "LabelExplanation")->text().contains(QStringLiteral("認識できません")));
    PickWithKeys(Qt::Key_S, 0);
    test::PressKey(Qt::Key_Up);
    test::PressKey(Qt::Key_Up);
    auto* header = Child<QCheckBox>(dialog, "CheckHeader");
    test::PressKey(Qt::Key_H, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([header] { return header->isChecked(); }, 1000));
    PickWithKeys(Qt::Key_D, 2);
    PickWithKeys(Qt::Key_T, 4);
    PickWithKeys(Qt::Key_A, 3);
    PickWithKeys(Qt::Key_E, 1);
    // The lists show each column with its cell in the first row after the skipped lines.
    EXPECT_EQ(Child<QComboBox>(dialog, "ComboDate")->currentText(), QStringLiteral("2列目：2024/1/5"));
    test::PressKey(Qt::Key_P, Qt::AltModifier);
    test::TypeText(QStringLiteral("しんきん"));
    EXPECT_EQ(Child<QLabel>(dialog, "LabelMapping")->text(),
              QStringLiteral("コマンドでは: --columns \"date=2,text=4,amount=3,id=1,skip=2,header=番号|年月日|金額|摘要|残高\""));
    test::PressKey(Qt::Key_Return);
  });
  ReadFile("union-01.csv");
  EXPECT_TRUE(Counts().startsWith(QStringLiteral("2行"))) << Counts().toStdString();
  EXPECT_TRUE(Child<QLabel>(window, "LabelLayout")->text().contains(QStringLiteral("しんきん")));
  EXPECT_EQ(Child<QComboBox>(window, "ComboPreset")->currentText(), QStringLiteral("しんきん"));
  ASSERT_TRUE(Activate(window));
  EXPECT_EQ(QApplication::focusWidget(), Child<QWidget>(window, "StatementGrid"));

  // The next month's file is known by its header, without choosing the preset.
  window->close();
  Open();
  auto* preset = Child<QComboBox>(window, "ComboPreset");
  ASSERT_EQ(preset->count(), 2);
  EXPECT_EQ(preset->itemText(0), QStringLiteral("(自動)"));
  EXPECT_EQ(preset->itemText(1), QStringLiteral("しんきん"));
  ReadFile("union-02.csv");
  EXPECT_TRUE(Counts().startsWith(QStringLiteral("1行"))) << Counts().toStdString();
  EXPECT_TRUE(Child<QLabel>(window, "LabelLayout")->text().contains(QStringLiteral("しんきん")));

  // Chosen by hand, the preset reads the file at once.
  Child<QLineEdit>(window, "EditFile")->setText(QString::fromStdString(m_data.File("union-01.csv")));
  preset->setFocus();
  test::PressKey(Qt::Key_Down);
  EXPECT_EQ(preset->currentText(), QStringLiteral("しんきん"));
  EXPECT_TRUE(Counts().startsWith(QStringLiteral("2行"))) << Counts().toStdString();
  EXPECT_TRUE(m_windows.messages.empty()) << m_windows.messages.front();
}

TEST_F(ColumnMappingTest, AMappingThatReadsNothingIsNotKept) {
  test::OnNextDialog([this](QDialog* dialog) {
    ASSERT_TRUE(Activate(dialog));
    PickWithKeys(Qt::Key_D, 2);
    test::PressKey(Qt::Key_Return);  // no amount yet: the dialog stays
    EXPECT_TRUE(m_windows.Said("金額の列"));
    ASSERT_TRUE(dialog->isVisible());
    PickWithKeys(Qt::Key_O, 4);  // text columns as amounts: no row reads
    PickWithKeys(Qt::Key_I, 1);
    PickWithKeys(Qt::Key_P, 0);
    test::TypeText(QStringLiteral("まちがい"));
    test::OnNextDialog([this](QDialog* again) {
      ASSERT_TRUE(Activate(again));
      EXPECT_TRUE(m_windows.Said("この列の割り当てでは、明細の行を読めません")) << m_windows.messages.back();
      EXPECT_EQ(Child<QLineEdit>(again, "EditName")->text(), QStringLiteral("まちがい"));
      test::PressKey(Qt::Key_Escape);
    });
    test::PressKey(Qt::Key_Return);
  });
  ReadFile("union-01.csv");
  EXPECT_TRUE(Counts().startsWith(QStringLiteral("0行"))) << Counts().toStdString();
  EXPECT_EQ(PresetFile(), "");
  EXPECT_EQ(Child<QComboBox>(window, "ComboPreset")->count(), 1);
}

TEST_F(ColumnMappingTest, TheMappingButtonAsksForAFileFirstAndStartsFromTheChosenPreset) {
  Child<QLineEdit>(window, "EditFile")->setFocus();
  test::PressKey(Qt::Key_M, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([this] { return m_windows.Said("明細ファイルを指定してください"); }, 1000));

  TStatementPresets presets;
  presets.Load(CurrentProfile().Folder());
  TStatementLayout layout;
  std::string error;
  ASSERT_TRUE(ParseColumnMapping("しんきん", "date=2,text=4,amount=3,skip=2", layout, error)) << error;
  presets.StorePreset(layout);
  ASSERT_TRUE(presets.Save(error)) << error;
  window->close();
  Open();
  ReadFile("union-01.csv");  // the headerless preset fits by its rows
  EXPECT_TRUE(Counts().startsWith(QStringLiteral("2行"))) << Counts().toStdString();
  EXPECT_EQ(Child<QComboBox>(window, "ComboPreset")->currentText(), QStringLiteral("(自動)"));
  auto* preset = Child<QComboBox>(window, "ComboPreset");
  preset->setFocus();
  test::PressKey(Qt::Key_Down);
  test::OnNextDialog([](QDialog* dialog) {
    ASSERT_TRUE(Activate(dialog));
    EXPECT_EQ(Child<QLineEdit>(dialog, "EditName")->text(), QStringLiteral("しんきん"));
    EXPECT_EQ(Child<QSpinBox>(dialog, "SpinSkip")->value(), 2);
    EXPECT_EQ(Child<QComboBox>(dialog, "ComboAmount")->currentIndex(), 3);
    EXPECT_EQ(dialog->findChild<QLabel*>(QStringLiteral("LabelExplanation")), nullptr);
    test::PressKey(Qt::Key_Escape);
  });
  Child<QPushButton>(window, "ButtonMapping")->setFocus();
  test::PressKey(Qt::Key_Space);
}

// Columns found by their names are said so, and a correction starts from them and is kept.
TEST_F(ColumnMappingTest, ColumnsFoundByTheirNamesAreCorrectedIntoAPreset) {
  test::WriteBytes(m_data.File("named.csv"), "照会日,2026/08/31\n日付,メモ,摘要,お支払金額,お預り金額\n"
                                            "2026/8/1,電気代,ﾃﾞﾝｷ,100,\n2026/8/2,給与,ｷﾕｳﾖ,,900\n");
  ReadFile("named.csv");
  EXPECT_TRUE(Counts().startsWith(QStringLiteral("2行"))) << Counts().toStdString();
  EXPECT_TRUE(Child<QLabel>(window, "LabelLayout")->text().contains(QStringLiteral("見出しの名前から")));
  test::OnNextDialog([](QDialog* dialog) {
    ASSERT_TRUE(Activate(dialog));
    EXPECT_EQ(Child<QSpinBox>(dialog, "SpinSkip")->value(), 2);
    EXPECT_TRUE(Child<QCheckBox>(dialog, "CheckHeader")->isChecked());
    EXPECT_EQ(Child<QComboBox>(dialog, "ComboOut")->currentIndex(), 4);
    EXPECT_EQ(Child<QComboBox>(dialog, "ComboText")->currentIndex(), 3);
    PickWithKeys(Qt::Key_T, 0);
    test::PressKey(Qt::Key_Up);
    test::PressKey(Qt::Key_P, Qt::AltModifier);
    test::TypeText(QStringLiteral("ちいき銀行"));
    test::PressKey(Qt::Key_Return);
  });
  Child<QPushButton>(window, "ButtonMapping")->setFocus();
  test::PressKey(Qt::Key_Space);
  EXPECT_EQ(Child<QComboBox>(window, "ComboPreset")->currentText(), QStringLiteral("ちいき銀行"));
  EXPECT_NE(PresetFile().find("Text=2"), std::string::npos) << PresetFile();
  EXPECT_FALSE(Child<QLabel>(window, "LabelLayout")->text().contains(QStringLiteral("見出しの名前から")));
}

}  // namespace
}  // namespace kzm::ui
