// The manual in the program's own window, for desktops that cannot open it.
#include "ui/shell/HelpWindow.h"

#include "common/TempFolder.h"
#include "common/TestPaths.h"

#include <QApplication>
#include <QListWidget>
#include <QScrollBar>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace kzm::ui {
namespace {

const std::string& Manual() {
  static const std::string path = test::SourceDir() + "/resources/help/tavimrok_s.html";
  return path;
}

TEST(HelpWindow, ContentsListTheManualsSectionsAndMoveThePage) {
  TFmHelp help(Manual());
  help.resize(800, 400);
  help.show();
  QApplication::processEvents();
  const QStringList contents = help.Contents();
  ASSERT_GT(contents.size(), 10);
  EXPECT_EQ(contents.front(), "はじめて使うとき");
  EXPECT_TRUE(contents.contains("データの置き場所"));
  EXPECT_TRUE(contents.contains("明細の取り込み"));
  EXPECT_TRUE(contents.contains("列の割り当て"));  // a subsection too

  // Choosing the last section in the 目次 brings it up; the first one goes back to the top.
  auto* list = help.findChild<QListWidget*>("Contents");
  ASSERT_NE(list, nullptr);
  QScrollBar* bar = help.Browser()->verticalScrollBar();
  EXPECT_EQ(bar->value(), 0) << list->currentRow() << " max " << bar->maximum();
  list->setCurrentRow(list->count() - 1);
  EXPECT_GT(bar->value(), bar->maximum() / 2);
  list->setCurrentRow(1);
  EXPECT_LT(bar->value(), bar->maximum() / 4);
  list->setCurrentRow(0);  // the title row is no heading and moves nothing
  EXPECT_LT(bar->value(), bar->maximum() / 4);
}

TEST(HelpWindow, DataSectionSaysWhereTheDataLives) {
  TFmHelp help(Manual());
  const QString text = help.Browser()->toPlainText();
  const qsizetype data = text.lastIndexOf("データの置き場所");
  ASSERT_GE(data, 0);
  const QString section = text.mid(data);
  EXPECT_TRUE(section.contains("~/.local/share/Orvik/もるぽ通帳"));
  EXPECT_TRUE(section.contains("portable"));
  // In-page links survive: the 目次 of the page itself points at its sections.
  EXPECT_TRUE(help.Browser()->toHtml().contains("href=\"#data\""));
}

TEST(HelpWindow, UnreadableManualSaysSoAndOneWindowServes) {
  {
    test::TTempFolder dir;
    TFmHelp missing(dir.File("none.html"));
    EXPECT_TRUE(missing.Browser()->toPlainText().contains("ヘルプファイルを読めませんでした"));
    EXPECT_TRUE(missing.Contents().isEmpty());
  }

  ShowHelpWindow(Manual());
  ShowHelpWindow(Manual());
  int windows = 0;
  TFmHelp* shown = nullptr;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* help = qobject_cast<TFmHelp*>(widget)) {
      ++windows;
      shown = help;
    }
  }
  EXPECT_EQ(windows, 1);
  ASSERT_NE(shown, nullptr);
  EXPECT_TRUE(shown->isVisible());
  shown->close();  // frees itself
}

}  // namespace
}  // namespace kzm::ui
