#include "ui/shell/HelpWindow.h"
#include "ui/shell/MainWindow.h"

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "controls/Fonts.h"
#include "foundation/AppGlobal.h"
#include "graphics/GraphicSource.h"
#include "passbook/Profile.h"
#include "ui/common/QtWindowSystem.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QRawFont>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include "common/TestPaths.h"

namespace kzm::ui {
namespace {

// "caption|shortcut" per item, "-" for a separator, a leading "!" for a disabled item.
std::vector<std::string> MenuLines(const QMenu& menu) {
  std::vector<std::string> lines;
  for (const QAction* a : menu.actions()) {
    if (a->isSeparator()) {
      lines.emplace_back("-");
      continue;
    }
    lines.push_back((a->isEnabled() ? "" : "!") + a->text().toStdString() + "|" +
                    a->shortcut().toString(QKeySequence::PortableText).toStdString());
  }
  return lines;
}

class MainWindowTest : public testing::Test {
 protected:
  MainWindowTest() {
    AppGlobal().UseDataFolder(m_data.Path());
    SetWindowSystem(&m_system);
    // The mascots' pictures come from the archive beside the program.
    m_images.AddArchive(test::BinDir() + "/zevazuvu.arc");
    SetImageSource(&m_images);
  }
  ~MainWindowTest() override {
    SetImageSource(nullptr);
    SetWindowSystem(nullptr);
  }

  // A passbook folder of the data folder, opened.
  std::string OpenNewPassbook(const std::string& name) {
    TkzmProfile& profile = CurrentProfile();
    profile.Load("");
    profile.SetFolder(m_data.File(name));
    EXPECT_TRUE(profile.Save());
    profile.OpenPassbook(profile.Folder());
    return profile.Folder();
  }

  test::TTempFolder m_data;
  TQtWindowSystem m_system;
  TGraphicSource m_images;
};

TEST_F(MainWindowTest, MenuHasEveryItemInPlace) {
  TFmKzmMain window;
  const QList<QAction*> menus = window.menuBar()->actions();
  ASSERT_EQ(menus.size(), 3);
  const std::vector<std::pair<std::string, std::vector<std::string>>> expected = {
      {"ﾌｧｲﾙ(&F)",
       {"新規通帳(&N)|", "通帳切り替え(&L)|", "-", "通帳情報と項目(&I)|", "オプション設定(&O)|", "配色設定(&C)|",
        "-", "検索(&F)|", "項目の置換(&R)|", "定期的な記入(&T)…|", "明細の取り込み(&M)…|", "バックアップと復元(&B)…|", "-", "終了する(&X)|Alt+F4"}},
      {"表示(&V)",
       {"今日の入力(&D)|Ctrl+D", "今月の表示(&M)|Ctrl+M", "予算(&B)|", "年間の集計(&Y)|", "カードの請求(&K)|",
        "これからの残高(&F)|", "メッセージ(&S)|", "-",
        "ウィンドウを全て閉じる(&C)|Ctrl+W"}},
      {"その他(&E)", {"ソフトウェア情報（&I)|Ctrl+I", "-", "ヘルプ（&H)|F1"}},
  };
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(expected[i].first);
    EXPECT_EQ(menus[i]->text().toStdString(), expected[i].first);
    EXPECT_EQ(MenuLines(*menus[i]->menu()), expected[i].second);
  }
  EXPECT_EQ(window.findChild<QAction*>(QStringLiteral("menuVtoday"))->text(), QStringLiteral("今日の入力(&D)"));
}

TEST_F(MainWindowTest, FixedSceneAndTitleThatFollowsThePassbook) {
  OpenNewPassbook("家計");
  TFmKzmMain window;
  window.show();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("もるぽ通帳 家計"));
  EXPECT_EQ(window.SceneArea()->size(), QSize(TFmKzmMain::kSceneWidth, TFmKzmMain::kSceneHeight));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());

  OpenNewPassbook("通帳2");
  EXPECT_EQ(window.windowTitle(), QStringLiteral("もるぽ通帳 通帳2"));
}

TEST_F(MainWindowTest, ClosingRecordsThePassbookAndPlacement) {
  const std::string folder = OpenNewPassbook("通帳1");
  {
    TFmKzmMain window;
    window.show();
    window.setGeometry(QRect(QPoint(40, 50), window.size()));
    QApplication::processEvents();
    EXPECT_TRUE(window.close());
    EXPECT_EQ(AppGlobal().ReadAppString("STARTUP", "LASTPROFILE", ""), folder);
  }
  EXPECT_EQ(AppGlobal().ReadAppInteger("TFMKZMMAIN", "LEFT", -1), 40);
  EXPECT_EQ(AppGlobal().ReadAppInteger("TFMKZMMAIN", "TOP", -1), 50);
  EXPECT_EQ(AppGlobal().ReadAppInteger("TFMKZMMAIN", "WIDTH", -1), -1);  // the size is fixed
}

TEST_F(MainWindowTest, HelpWithoutTheManualSaysSo) {
  test::TRecordingWindowSystem recording;
  TFmKzmMain window;
  const bool manualThere = std::filesystem::exists(HelpFilePath());
  window.findChild<QAction*>(QStringLiteral("MenuEhelp"))->trigger();
  if (!manualThere) {
    ASSERT_EQ(recording.messages.size(), 1u);
    EXPECT_NE(recording.messages[0].find("tavimrok_s.html"), std::string::npos);
    EXPECT_NE(recording.messages[0].find("見つかりません"), std::string::npos);
    return;
  }
  // The recording window system opens nothing, as a desktop without a launcher: the manual
  // comes up in the program's own window instead of a message.
  EXPECT_TRUE(recording.messages.empty());
  TFmHelp* help = nullptr;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* found = qobject_cast<TFmHelp*>(widget)) help = found;
  }
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_TRUE(help->Contents().contains(QStringLiteral("データの置き場所")));
  help->close();
}

TEST_F(MainWindowTest, ProgramFontHasEveryGlyphOfTheMenu) {
  TFmKzmMain window;
  QString text;
  for (const QAction* a : window.findChildren<QAction*>()) text += a->text();
  text += QStringLiteral("もるぽ通帳ソフトウェア情報バージョン");
  const QRawFont raw = QRawFont::fromFont(ProgramFont());
  ASSERT_TRUE(raw.isValid());
  const QList<quint32> glyphs = raw.glyphIndexesForString(text);
  for (qsizetype i = 0; i < glyphs.size(); ++i) {
    EXPECT_NE(glyphs[i], 0u) << "no glyph for " << QString(text[i]).toStdString();
  }
}

}  // namespace
}  // namespace kzm::ui
