#include "ui/analysis/GraphWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPointer>
#include <QTest>

#include <cmath>
#include <numbers>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "controls/RoundButton.h"
#include "foundation/AppGlobal.h"
#include "foundation/Dates.h"
#include "graphics/BitmapRoutines.h"
#include "graphics/SpendingGraph.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "report/ChartPalette.h"
#include "ui/analysis/QtChartCanvas.h"
#include "ui/common/DataWindows.h"
#include "ui/common/Openers.h"
#include "ui/common/QtWindowSystem.h"

namespace kzm::ui {
namespace {

constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kBlue = 0xFF8040;
constexpr TColor kGreen = 0x40C060;

TColor PixelAt(const TBitmap& bitmap, int x, int y) {
  const std::uint8_t* p = bitmap.Row(y) + 4 * x;
  return MakeColor(p[2], p[1], p[0]);
}

// The pixel of a drawing of size 600 / factor reduced from 600 × 600, at the point of the
// large drawing that lies distance out from the centre (300, 300), perMille of a turn
// clockwise from twelve o'clock.
TColor RingPixel(const TBitmap& pie, int factor, int distance, int perMille) {
  const double angle = perMille * 2 * std::numbers::pi / 1000 - std::numbers::pi / 2;
  const int x = static_cast<int>(std::lround(300 + distance * std::cos(angle)));
  const int y = static_cast<int>(std::lround(300 + distance * std::sin(angle)));
  return PixelAt(pie, x / factor, y / factor);
}

// Drawn at 600 × 600: radius 270, separators 6 wide, text unit 10, the coloured ring from
// 104 (the hole 94 plus the unit) to 258, its darker rim to 270; inside the hole a darker
// ring from 82 to 94 around a lighter disc.
TEST(SpendingPie, OneCategoryIsAFullRingAroundTheHole) {
  for (int factor : {1, 2, 3}) {
    SCOPED_TRACE(factor);
    TSGraph graph;
    graph.Add("食費", 5'000, kBlue);
    TBitmap pie;
    DrawSmoothPie(graph, 600 / factor, factor, pie);
    const TColor shade = DarkenColor(kWhite, 95);
    struct Sample {
      int distance, perMille;
      TColor color;
    };
    const Sample samples[] = {
        {180, 250, kBlue},  {180, 125, kBlue}, {180, 750, kBlue}, {180, 875, kBlue},
        {264, 250, DarkenColor(kBlue, 95)},    {264, 750, DarkenColor(kBlue, 95)},
        {276, 250, kWhite}, {276, 500, kWhite},                   // outside the pie
        {180, 0, kWhite},                                         // the separator at twelve
        {99, 250, kWhite},  {99, 750, kWhite},                    // the gap around the hole
        {90, 250, DarkenColor(shade, 95)},     {90, 750, DarkenColor(shade, 95)},
        {60, 0, shade},                                           // above the title
    };
    for (const Sample& s : samples) {
      SCOPED_TRACE(testing::Message() << s.distance << " at " << s.perMille);
      EXPECT_EQ(RingPixel(pie, factor, s.distance, s.perMille), s.color);
    }
  }
}

TEST(SpendingPie, TwoEqualCategoriesSplitAtTwelveAndSix) {
  TSGraph graph;
  graph.Add("右", 3'000, kBlue);
  graph.Add("左", 3'000, kGreen);
  TBitmap pie;
  DrawSmoothPie(graph, 600, 1, pie);
  // The first entry runs clockwise from twelve to six.
  EXPECT_EQ(PixelAt(pie, 427, 173), kBlue);
  EXPECT_EQ(PixelAt(pie, 173, 173), kGreen);
  EXPECT_EQ(PixelAt(pie, 310, 120), kBlue);
  EXPECT_EQ(PixelAt(pie, 290, 120), kGreen);
  EXPECT_EQ(PixelAt(pie, 300, 120), kWhite);
  EXPECT_EQ(PixelAt(pie, 310, 480), kBlue);
  EXPECT_EQ(PixelAt(pie, 290, 480), kGreen);
  EXPECT_EQ(PixelAt(pie, 300, 480), kWhite);
}

TEST(SpendingPie, SmoothingBlendsTheEdgeAndKeepsThePieOpaque) {
  TSGraph graph;
  graph.Add("食費", 5'000, 0x000000);
  TBitmap pie;
  DrawSmoothPie(graph, 200, 3, pie);
  // Where the outer edge crosses a row some pixels are partly covered: neither the pie's
  // rim nor the background, and every pixel of the result stays opaque.
  bool blended = false;
  for (int x = 150; x < 200; ++x) {
    const TColor c = PixelAt(pie, x, 60);
    if (c != 0xFFFFFF && c != 0x000000) blended = true;
    EXPECT_EQ(pie.Row(60)[4 * x + 3], 255) << x;
  }
  EXPECT_TRUE(blended);
}

class GraphWindowTest : public testing::Test {
 protected:
  GraphWindowTest() {
    AppGlobal().UseDataFolder(m_data.Path());
    SetWindowSystem(&m_system);
    TkzmProfile& profile = CurrentProfile();
    profile.Load(m_data.File("通帳"));
    CurrentMonthData().SetFolder(profile.Folder() + "/Daily");
  }
  ~GraphWindowTest() override {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (qobject_cast<TFmGraph*>(w)) delete w;
    CurrentMonthData().SetFolder("");
    CurrentProfile().Load("");
    SetWindowSystem(nullptr);
  }

  static void Pay(TDayNumber day, const char* category, int32_t amount) {
    CurrentMonthData().SelectDay(day);
    CurrentMonthData().AddEntry(MakeKey(category, kKindPayment), MakeKey("現金", kKindAsset), "", "", amount);
  }

  static TFmGraph* OpenChart(int monthKey) {
    OpenSpendingChart(monthKey);
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* graph = qobject_cast<TFmGraph*>(w)) return graph;
    return nullptr;
  }

  static QImage Shot(QWidget& window) { return window.grab().toImage().convertToFormat(QImage::Format_RGB32); }

  test::TTempFolder m_data;
  test::TRecordingWindowSystem m_system;
};

TEST_F(GraphWindowTest, OpensOnTheMonthsPaymentsAsADataWindow) {
  Pay(EncodeDate(2024, 5, 3), "食費", 12'000);
  Pay(EncodeDate(2024, 5, 20), "交通", 4'000);
  TFmGraph* window = OpenChart(202405);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle().toStdString(), "2024年5月の支出");
  ASSERT_EQ(window->Graph().Entries().size(), 2u);
  EXPECT_EQ(window->Graph().Total(), 16'000);
  // The legend in words, for a reader who cannot match the ring's colours with it.
  EXPECT_EQ(window->accessibleDescription().toStdString(), "食費 75.0% 12,000円\n交通 25.0% 4,000円\n合計 16,000円");
  const TDataWindow info = window->DataWindowInfo();
  EXPECT_EQ(info.kind, TDataWindowKind::dwChart);
  EXPECT_EQ(info.first, EncodeDate(2024, 5, 1));
  EXPECT_EQ(info.last, EncodeDate(2024, 5, 31));
  EXPECT_TRUE(IsDataWindow(window));

  // At its first size the pie takes the height, 338, and is drawn twice as large; the
  // colour of 食費 (the first payment category) fills the ring's right side.
  ASSERT_EQ(window->size(), QSize(571, 338));
  EXPECT_EQ(window->PieSide(), 338);
  EXPECT_EQ(window->DrawFactor(), 2);
  const QImage shot = Shot(*window);
  const QRgb food = shot.pixel(169 + 100, 169 - 20);
  const int32_t palette0 = BuildChartPalette().Items(0);
  EXPECT_EQ(qRed(food), palette0 & 0xFF);
  EXPECT_EQ(qBlue(food), (palette0 >> 16) & 0xFF);
}

TEST_F(GraphWindowTest, AMonthWithoutPaymentsShowsNothing) {
  TFmGraph* window = OpenChart(202406);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->Graph().Entries().empty());
  const QImage shot = Shot(*window);
  // Everything but the close button is background.
  for (int y = 0; y < 280; y += 7)
    for (int x = 0; x < 571; x += 7) ASSERT_EQ(shot.pixel(x, y) & 0xFFFFFF, 0xFFFFFFu) << x << "," << y;
}

TEST_F(GraphWindowTest, ResizingPicksTheDrawingFactor) {
  Pay(EncodeDate(2024, 5, 3), "食費", 12'000);
  TFmGraph* window = OpenChart(202405);
  ASSERT_NE(window, nullptr);
  struct Case {
    int width, height, side, factor;
  };
  const Case cases[] = {{300, 200, 200, 3}, {700, 450, 450, 2}, {1000, 700, 667, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    window->resize(c.width, c.height);
    EXPECT_EQ(window->PieSide(), c.side);
    EXPECT_EQ(window->DrawFactor(), c.factor);
    // The ring, left of the legend and vertically centred, in 食費's colour.
    const QImage shot = Shot(*window);
    const QRgb ring = shot.pixel(c.side / 2 + c.side / 4, (c.height - c.side) / 2 + c.side / 2 - 1);
    EXPECT_NE(ring & 0xFFFFFF, 0xFFFFFFu);
  }
}

TEST_F(GraphWindowTest, CloseButtonClosesAndFreesTheWindow) {
  QPointer<TFmGraph> window = OpenChart(202405);
  ASSERT_NE(window, nullptr);
  window->show();
  auto* button = window->findChild<TorvWinButton*>(QStringLiteral("BtClose"));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->Caption().toStdString(), "閉じる");
  // Whole inside the window, in its lower right corner where the person looks for it.
  EXPECT_TRUE(window->rect().contains(button->geometry()));
  EXPECT_GT(button->geometry().left(), window->width() / 2);
  EXPECT_GT(button->geometry().top(), window->height() / 2);
  const QPoint centre = button->geometry().center();
  QWidget* target = window->childAt(centre);
  ASSERT_EQ(target, button);
  QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(window.data(), centre));
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
}

}  // namespace
}  // namespace kzm::ui
