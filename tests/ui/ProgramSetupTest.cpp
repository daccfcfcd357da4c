#include "ui/shell/ProgramStart.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "foundation/AppGlobal.h"
#include "passbook/Profile.h"
#include "ui/settings/InfoWindow.h"
#include "ui/settings/OptionWindow.h"
#include "ui/settings/ProfileSelectWindow.h"

namespace kzm::ui {
namespace {

// The program's application set-up for one test; what it changed for the whole test
// program is put back afterwards.
class ProgramSetup : public ::testing::Test {
 protected:
  void SetUp() override {
    m_font = QApplication::font();
    m_locale = QLocale();
    SetUpApplication();
  }
  void TearDown() override {
    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
      QCoreApplication::removeTranslator(translator);
      delete translator;
    }
    QLocale::setDefault(m_locale);
    QApplication::setFont(m_font);
  }

  QFont m_font;
  QLocale m_locale;
};

// Qt appends a display name, once one is set, to every title the desktop shows.
TEST_F(ProgramSetup, TitlesAreExactlyTheWindowsOwn) {
  EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
  EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("tavimrok"));

  test::TTempFolder data;
  test::TRecordingWindowSystem windows;
  AppGlobal().UseDataFolder(data.Path());
  CurrentProfile().Load("");
  TFmInfo info;
  EXPECT_EQ(info.windowTitle(), QStringLiteral("通帳情報と項目"));
  info.NewPassbookWizard();
  EXPECT_EQ(info.windowTitle(), QStringLiteral("新規通帳作成"));
  EXPECT_EQ(TFmProfileSelect("").windowTitle(), QStringLiteral("通帳の選択"));
  EXPECT_EQ(TFmOption({}, data.Path()).windowTitle(), QStringLiteral("オプション設定"));
}

TEST_F(ProgramSetup, StandardButtonsSpeakJapanese) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("もるぽ通帳"), QStringLiteral("?"),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_TRUE(box.button(QMessageBox::Yes)->text().startsWith(QStringLiteral("はい")))
      << box.button(QMessageBox::Yes)->text().toStdString();
  EXPECT_TRUE(box.button(QMessageBox::No)->text().startsWith(QStringLiteral("いいえ")))
      << box.button(QMessageBox::No)->text().toStdString();
  EXPECT_TRUE(box.button(QMessageBox::Cancel)->text().startsWith(QStringLiteral("キャンセル")))
      << box.button(QMessageBox::Cancel)->text().toStdString();
}

}  // namespace
}  // namespace kzm::ui
