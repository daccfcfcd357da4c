#include "ui/common/HelpBalloon.h"

#include <gtest/gtest.h>

#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPalette>
#include <QPolygonF>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <random>

#include "common/TestPaths.h"
#include "graphics/BitmapRoutines.h"

namespace kzm::ui {
namespace {

// The program's pictures, with the archive the build packs beside the program.
class HelpBalloon : public testing::Test {
 protected:
  void SetUp() override {
    m_source.AddArchive(test::BinDir() + "/zevazuvu.arc");
    SetImageSource(&m_source);
    QPalette palette = m_owner.palette();
    palette.setColor(QPalette::Window, QColor(0x20, 0x40, 0x60));
    m_owner.setPalette(palette);
  }
  void TearDown() override { SetImageSource(nullptr); }

  // Answers from the list in turn, then the middle answer (no jitter).
  static TRandomSource Sequence(std::vector<int> answers) {
    auto next = std::make_shared<std::size_t>(0);
    return [answers, next](int count) { return *next < answers.size() ? answers[(*next)++] : count / 2; };
  }

  TGraphicSource m_source;
  QWidget m_owner;
};

std::array<int, 3> Rgb(const TBitmap& b, int x, int y) {
  const std::uint8_t* p = b.Row(y) + 4 * x;
  return {p[2], p[1], p[0]};
}

TEST_F(HelpBalloon, CandidatesAreTheKeysLinesElseAllElseTheEmptyText) {
  TkzmHelpSys help(&m_owner, Sequence({}));
  EXPECT_EQ(help.Candidates("memo"), std::vector<std::string>{""}) << "no hints yet";
  help.LoadHints("DAILYTEXT");
  ASSERT_EQ(help.Hints().size(), 10u);
  struct TCase {
    const char* key;
    std::size_t count;
  };
  for (const TCase& c : {TCase{"", 6}, TCase{"memo", 2}, TCase{"pmnt", 1}, TCase{"rcpt", 1}, TCase{"asst", 10},
                         TCase{"MEMO", 10}}) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(help.Candidates(c.key).size(), c.count);
  }
  help.LoadHints("NO_SUCH_RESOURCE");
  EXPECT_EQ(help.Hints().size(), 10u) << "a missing resource keeps the hints";

  help.ShowHint("pmnt");
  EXPECT_EQ(help.Text(), "　お金は\n大事に\n　　使おうね");
}

TEST_F(HelpBalloon, OneMonthlyHintInSixIsJustTheMascot) {
  TkzmHelpSys help(&m_owner, Sequence({0, 1}));
  help.SetSize(200, 200, 32);
  help.SetHints(MonthlyViewHintLines());
  const std::vector<std::string> candidates = help.Candidates("");
  ASSERT_EQ(candidates.size(), 6u);
  EXPECT_EQ(std::count(candidates.begin(), candidates.end(), ""), 1);

  // Inside the balloon, clear of the text.
  help.ShowHint("");
  EXPECT_TRUE(help.Text().empty());
  EXPECT_TRUE(help.Outline().empty());
  EXPECT_EQ(Rgb(help, 160, 60), (std::array<int, 3>{0x20, 0x40, 0x60}));
  bool mascot = false;
  for (int y = 100; y < 200; ++y)
    for (int x = 100; x < 200; ++x) mascot = mascot || Rgb(help, x, y) != std::array<int, 3>{0x20, 0x40, 0x60};
  EXPECT_TRUE(mascot) << "the mascot fills the bottom-right quarter";

  help.ShowHint("");
  EXPECT_EQ(help.Text(), "左クリックで\nその日の\n  入力画面");
  EXPECT_EQ(help.Outline().size(), 10u);
  EXPECT_EQ(Rgb(help, 160, 60), (std::array<int, 3>{255, 255, 255}));
}

TEST_F(HelpBalloon, OutlineIsJitteredByAtMostOnePixel) {
  std::mt19937 engine(7);
  TkzmHelpSys help(&m_owner, [&](int count) { return std::uniform_int_distribution<int>(0, count - 1)(engine); });
  help.SetHints({"k=はい"});
  const int percent[10][2] = {{15, 10}, {5, 25}, {15, 60}, {50, 58}, {45, 65},
                              {58, 70}, {52, 64}, {78, 48}, {87, 24}, {75, 5}};
  std::vector<std::pair<int, int>> first;
  bool differs = false;
  for (int round = 0; round < 4; ++round) {
    help.ShowHint("k");
    ASSERT_EQ(help.Outline().size(), 10u);
    for (int i = 0; i < 10; ++i) {
      SCOPED_TRACE(i);
      const auto [x, y] = help.Outline()[static_cast<std::size_t>(i)];
      EXPECT_LE(std::abs(x - 92 * percent[i][0] / 100), 1);
      EXPECT_LE(std::abs(y - 92 * percent[i][1] / 100), 1);
    }
    if (round == 0) first = help.Outline();
    differs = differs || help.Outline() != first;
  }
  EXPECT_TRUE(differs) << "each redraw looks hand-drawn anew";
}

// Every hint, at the sizes the windows give the picture: no ink of the text outside the
// balloon's outline (the bottom-right quarter, the mascot's, left aside).
TEST_F(HelpBalloon, HintTextStaysInsideTheBalloon) {
  std::vector<std::string> hints = MonthlyViewHintLines();
  {
    TkzmHelpSys daily(&m_owner);
    daily.LoadHints("DAILYTEXT");
    hints.insert(hints.end(), daily.Hints().begin(), daily.Hints().end());
  }
  const std::array<int, 3> back{0x20, 0x40, 0x60};
  for (const int side : {92, 140, 200}) {
    for (const std::string& hint : hints) {
      if (hint.empty()) continue;
      SCOPED_TRACE(std::to_string(side) + " " + hint);
      TkzmHelpSys help(&m_owner, Sequence({0}));
      help.SetSize(side, side, 32);
      help.SetHints({hint});
      help.ShowHint(hint.substr(0, hint.find('=')));
      ASSERT_EQ(help.Outline().size(), 10u);
      QPainterPath balloon;
      QPolygonF outline;
      for (const auto& [x, y] : help.Outline()) outline << QPointF(x, y);
      balloon.addPolygon(outline);
      balloon.closeSubpath();
      // The outline's own anti-aliased line reaches about a pixel beyond it.
      QPainterPathStroker stroker;
      stroker.setWidth(4);
      const QPainterPath inside = balloon.united(stroker.createStroke(balloon));
      int stray = 0;
      for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
          if ((x >= side / 2 && y >= side / 2) || inside.contains(QPointF(x + 0.5, y + 0.5))) continue;
          if (Rgb(help, x, y) != back) ++stray;
        }
      }
      EXPECT_EQ(stray, 0);
    }
  }
}

}  // namespace
}  // namespace kzm::ui
