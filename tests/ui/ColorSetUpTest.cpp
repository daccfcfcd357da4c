#include "ui/settings/ColorSetUpWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "common/TempFolder.h"
#include "controls/FormHelper.h"
#include "foundation/ColorScheme.h"
#include "graphics/ColorPick.h"
#include "ui/NamedChild.h"
#include "ui/common/Openers.h"
#include "ui/common/QtWindowSystem.h"
#include "ui/settings/ColorSelectFrame.h"
#include "ui/settings/ColorTreeView.h"

namespace kzm::ui {
namespace {

// The program's window system, with the messages recorded instead of shown.
class TTestWindows final : public TQtWindowSystem {
 public:
  void Notify(const std::string& text) override { messages.push_back(text); }
  void Inform(const std::string& text) override { messages.push_back(text); }
  std::vector<std::string> messages;
};

// Another window of the program: it reads its colour when told the colours changed.
class TProbeWindow : public QWidget {
 public:
  explicit TProbeWindow(const char* path) : m_path(path) {
    auto* helper = new TorvFormFunc(this);
    helper->OnColorReset = [this](TorvFormFunc&) { seen = ColorScheme().GetColor(m_path); };
    seen = ColorScheme().GetColor(m_path);
  }
  TColor seen = 0;

 private:
  std::string m_path;
};

using test::Child;

TFormColorSetUp* OpenWindow() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* open = qobject_cast<TFormColorSetUp*>(w); open && open->isVisible()) return open;
  }
  return nullptr;
}

// Keys to the widget that has the focus once target took it.
void TypeInto(QWidget* target, const char* text, bool enter) {
  target->setFocus();
  QApplication::processEvents();
  QWidget* focus = QApplication::focusWidget();
  ASSERT_NE(focus, nullptr);
  QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(focus, QString::fromUtf8(text));
  if (enter) QTest::keyClick(focus, Qt::Key_Return);
}

class ColorSetUpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetWindowSystem(&m_windows);
    SetColorScheme(&m_scheme);
    m_scheme.LoadColors();
  }
  void TearDown() override {
    if (QPointer<TFormColorSetUp> open = OpenWindow()) {
      open->close();
      QApplication::processEvents();
    }
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SetColorScheme(nullptr);
    SetWindowSystem(nullptr);
  }

  TFormColorSetUp* Open() {
    OpenColorSetUp();
    TFormColorSetUp* window = OpenWindow();
    EXPECT_NE(window, nullptr);
    return window;
  }

  QTreeWidgetItem* ItemOf(TFormColorSetUp* window, const char* path) {
    auto* tree = Child<TColorTreeView>(window, "TreeView1");
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
      QStringList names;
      for (QTreeWidgetItem* i = *it; i; i = i->parent()) names.prepend(i->text(0));
      if (names.join(QLatin1Char('\\')) == QString::fromUtf8(path)) return *it;
    }
    ADD_FAILURE() << path;
    return nullptr;
  }

  // Clicks the name of a colour in the tree.
  void Select(TFormColorSetUp* window, const char* path) {
    auto* tree = Child<TColorTreeView>(window, "TreeView1");
    QTreeWidgetItem* item = ItemOf(window, path);
    ASSERT_NE(item, nullptr);
    const QRect row = tree->visualItemRect(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(row.right() - 10, row.center().y()));
    ASSERT_EQ(tree->currentItem(), item);
  }

  TColor ShapeColorOf(TFormColorSetUp* window) { return Child<TColorShape>(window, "ShapeColor")->Color(); }

  test::TTempFolder m_folder;
  TColorsList m_scheme{m_folder.File("Colors.clr")};
  TTestWindows m_windows;
};

TEST_F(ColorSetUpTest, PickingChangesTheColourAndOnlyApplyOrOkShowsIt) {
  TProbeWindow probe("月間表示\\文字\\日曜");
  probe.show();
  TFormColorSetUp* window = Open();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), QStringLiteral("配色設定 もるぽ通帳"));
  OpenColorSetUp();  // at most one
  int count = 0;
  for (QWidget* w : QApplication::topLevelWidgets()) count += qobject_cast<TFormColorSetUp*>(w) && w->isVisible();
  EXPECT_EQ(count, 1);

  Select(window, "月間表示\\文字\\日曜");
  EXPECT_EQ(ShapeColorOf(window), 0x0000FFu);
  auto* select = Child<QPushButton>(window, "ButtonSelect");
  const int narrow = window->width();
  select->click();
  EXPECT_EQ(select->text(), QStringLiteral("色変更"));
  EXPECT_GT(window->width(), narrow);
  select->click();  // twice without touching the picker: nothing changes
  EXPECT_EQ(ShapeColorOf(window), 0x0000FFu);

  auto* frame = Child<TFrameColorSelect>(window, "FrameColorSelect1");
  QWidget* strip = Child<QWidget>(frame, "ImageColor");
  QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(strip->width() / 2, strip->height() / 2));
  const TColor picked = frame->Color();
  EXPECT_NE(picked, 0x0000FFu);
  EXPECT_EQ(ShapeColorOf(window), 0x0000FFu);  // the leaf keeps its colour until 色変更
  select->click();
  EXPECT_EQ(ShapeColorOf(window), picked);
  EXPECT_EQ(probe.seen, 0x0000FFu);
  EXPECT_EQ(m_scheme.GetColor("月間表示\\文字\\日曜"), 0x0000FFu);

  Child<QPushButton>(window, "BtApply")->click();
  EXPECT_EQ(probe.seen, picked);

  // The close box drops what was applied: every window goes back to the saved colours.
  QPointer<TFormColorSetUp> guard(window);
  window->close();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(guard.isNull());
  EXPECT_EQ(probe.seen, 0x0000FFu);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(m_scheme.FileName())));
}

TEST_F(ColorSetUpTest, DefaultsThenOkSaveTheDefaultsToTheFile) {
  m_scheme.SetColor("全般\\背景色", 0x00FF00);
  m_scheme.SaveColors();
  TFormColorSetUp* window = Open();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ShapeColorOf(window), 0x00FF00u);  // the first colour is selected
  Child<QPushButton>(window, "BtDefault")->click();
  EXPECT_EQ(ShapeColorOf(window), 0xFFFFFFu);
  Child<QPushButton>(window, "BtOK")->click();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(OpenWindow(), nullptr);
  TColorsList defaults;
  defaults.LoadDefaultColors();
  EXPECT_EQ(test::ReadBytes(m_scheme.FileName()), defaults.SaveToBytes());
}

TEST_F(ColorSetUpTest, AColourNobodyChoseStaysEmptyOnOk) {
  (void)m_scheme.GetColor("月間表示\\文字\\祝日");  // the month view read it: an empty element now
  TFormColorSetUp* window = Open();
  ASSERT_NE(window, nullptr);
  Select(window, "月間表示\\文字\\祝日");
  EXPECT_EQ(ShapeColorOf(window), 0x0000FFu);  // shown as the Sunday red the month view uses
  Child<QPushButton>(window, "BtOK")->click();
  TColorsList saved(m_scheme.FileName());
  saved.LoadColors();
  EXPECT_EQ(saved.Value("月間表示\\文字\\祝日"), "");
  EXPECT_EQ(saved.GetColor("月間表示\\文字\\日曜"), 0x0000FFu);
}

TEST_F(ColorSetUpTest, TypedNumbersAreClampedWrappedAndReadAsHex) {
  TFormColorSetUp* window = Open();
  ASSERT_NE(window, nullptr);
  Select(window, "月間表示\\文字\\通常");
  Child<QPushButton>(window, "ButtonSelect")->click();
  auto* frame = Child<TFrameColorSelect>(window, "FrameColorSelect1");

  TypeInto(Child<QSpinBox>(frame, "EDred"), "300", false);
  EXPECT_EQ(Child<QSpinBox>(frame, "EDred")->value(), 255);
  EXPECT_EQ(frame->Color(), 0x0000FFu);

  TypeInto(Child<QSpinBox>(frame, "LeH"), "-10", true);
  EXPECT_EQ(Child<QSpinBox>(frame, "LeH")->value(), 350);

  TypeInto(Child<QLineEdit>(frame, "LeRGB"), "00FF00", true);
  EXPECT_EQ(frame->Color(), 0x00FF00u);
  TypeInto(Child<QLineEdit>(frame, "LeRGB"), "FF0000", true);
  EXPECT_EQ(frame->Color(), 0x0000FFu);  // pure red, stored as $0000FF
  EXPECT_EQ(Child<QSpinBox>(frame, "LeH")->value(), 0);
}

TEST_F(ColorSetUpTest, AnUnreadableFileOnResetGivesTheDefaultsAndStaysAsItIs) {
  const std::string broken = "<colors><全般><背景色>$0000FF</colors>";
  test::WriteBytes(m_scheme.FileName(), broken);
  TFormColorSetUp* window = Open();
  ASSERT_NE(window, nullptr);
  Child<QPushButton>(window, "ButtonSelect")->click();
  Child<QPushButton>(window, "BtReset")->click();
  ASSERT_EQ(m_windows.messages.size(), 1u);
  EXPECT_NE(m_windows.messages[0].find("初期値"), std::string::npos);
  EXPECT_EQ(ShapeColorOf(window), 0xFFFFFFu);
  window->close();
  EXPECT_EQ(test::ReadBytes(m_scheme.FileName()), broken);
}

TEST_F(ColorSetUpTest, ASwatchDraggedOntoAnotherColourCopiesIt) {
  TFormColorSetUp* window = Open();
  ASSERT_NE(window, nullptr);
  auto* tree = Child<TColorTreeView>(window, "TreeView1");
  const QPoint from = tree->SwatchRect(ItemOf(window, "月間表示\\文字\\日曜")).center();
  const QPoint to = tree->visualItemRect(ItemOf(window, "月間表示\\文字\\土曜")).center();
  QTest::mousePress(tree->viewport(), Qt::LeftButton, {}, from);
  QTest::mouseMove(tree->viewport(), from + QPoint(0, 3));
  QTest::mouseMove(tree->viewport(), to);
  QTest::mouseRelease(tree->viewport(), Qt::LeftButton, {}, to);
  EXPECT_TRUE(Child<QPushButton>(window, "BtApply")->isEnabled());
  Select(window, "月間表示\\文字\\土曜");
  EXPECT_EQ(ShapeColorOf(window), 0x0000FFu);
  EXPECT_EQ(m_scheme.GetColor("月間表示\\文字\\土曜"), 0xFF0000u);  // not applied yet

  // Pressing a name (not its swatch) and moving selects, it does not drag.
  const QPoint name = tree->visualItemRect(ItemOf(window, "月間表示\\文字\\通常")).center();
  QTest::mousePress(tree->viewport(), Qt::LeftButton, {}, name);
  QTest::mouseMove(tree->viewport(), to);
  QTest::mouseRelease(tree->viewport(), Qt::LeftButton, {}, to);
  Select(window, "月間表示\\文字\\通常");
  EXPECT_EQ(ShapeColorOf(window), 0x000000u);
}

TEST_F(ColorSetUpTest, ASwatchDroppedOnThePaletteReplacesAPaletteColour) {
  TFormColorSetUp* window = Open();
  ASSERT_NE(window, nullptr);
  Select(window, "月間表示\\セル\\日付");
  Child<QPushButton>(window, "ButtonSelect")->click();  // the picker shows
  auto* tree = Child<TColorTreeView>(window, "TreeView1");
  auto* frame = Child<TFrameColorSelect>(window, "FrameColorSelect1");
  QWidget* palette = Child<QWidget>(frame, "Palette");
  const TRect first = PaletteSwatch(0, frame->width(), frame->height(), palette->y());
  const QPoint onFirst = palette->mapTo(window, QPoint(first.left + 3, 3));
  const QPoint from = tree->SwatchRect(tree->currentItem()).center();
  const QPoint to = tree->viewport()->mapFrom(window, onFirst);
  QTest::mousePress(tree->viewport(), Qt::LeftButton, {}, from);
  QTest::mouseMove(tree->viewport(), from + QPoint(3, 0));
  QTest::mouseRelease(tree->viewport(), Qt::LeftButton, {}, to);
  QTest::mouseClick(palette, Qt::LeftButton, {}, QPoint(first.left + 3, 3));
  EXPECT_EQ(frame->Color(), 0xFFC0C0u);
}

}  // namespace
}  // namespace kzm::ui
