// Mascots stepped tick by tick with a steered random source.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "common/RecordingWindowSystem.h"
#include "common/TestPaths.h"
#include "ui/FakeRandom.h"
#include "ui/shell/MessageList.h"
#include "ui/shell/Nuppo.h"

namespace kzm::ui {
namespace {

class MascotTest : public testing::Test {
 protected:
  MascotTest() {
    m_source.AddArchive(test::BinDir() + "/zevazuvu.arc");
    SetImageSource(&m_source);
    m_root.SetSize(280, 120);
    m_root.SetFillBack(true);
    m_root.SetMouseEvents(true);
    m_random.answers[10000] = 9999;  // no message starts by chance
    m_messages.SetRenderer([this](const std::string&) { return TBitmap(m_textWidth, 12, 32); });
  }
  ~MascotTest() override { SetImageSource(nullptr); }

  TNuppo& Add() { return *TNuppo::Create(m_root, m_messages, m_random, m_flock); }
  // A mascot of the size class standing at centre x for a while.
  TNuppo& Standing(int sizeClass, int x) {
    TNuppo& m = Add();
    m.SetSizeClass(sizeClass);
    m.SetCenterX(x);
    m.Take({TNuppoState::nsStand, 100, 0, 0});
    return m;
  }
  void TickMessages(int n) {
    for (int i = 0; i < n; ++i) m_messages.Tick();
  }

  test::TRecordingWindowSystem m_windows;
  TGraphicSource m_source;
  test::TRangeRandom m_random;
  TselifList m_messages{m_random, [] { return EncodeDate(2025, 6, 18); }};
  TorvFlat m_root;
  std::vector<TNuppo*> m_flock;
  int m_textWidth = 40;
};

TEST_F(MascotTest, EntersFromTheRightWithItsSizeClass) {
  m_random.answers = {{25, 0}, {1000, 500}, {4, 2}, {3, 0}};
  TNuppo& m = Add();
  EXPECT_EQ(m.State(), TNuppoState::nsOffStage);
  EXPECT_EQ(m.CenterX(), TNuppo::kOffStageX);
  m.Tick();
  EXPECT_EQ(m.State(), TNuppoState::nsDecide);
  EXPECT_EQ(m.CenterX(), 280);
  EXPECT_EQ(m.SizeClass(), 6);
  EXPECT_EQ(m.Top(), 52);
  EXPECT_EQ(m.Width(), 32);
  EXPECT_EQ(m.ZOrder(), 6);
  EXPECT_EQ(m.Actions().size(), 1U);
  EXPECT_FALSE(m.FacingRight());
  EXPECT_TRUE(m_windows.messages.empty()) << "a picture is missing";
}

TEST_F(MascotTest, SizeClassesSetTopScaleAndLeftLimit) {
  struct TCase {
    int sizeClass, top, width, leftLimit;
  };
  m_random.answers[3] = 2;
  const TCase cases[] = {{1, 46, 8, 170}, {4, 49, 22, 116}, {5, 52, 27, 98}, {6, 54, 32, 40}, {11, 64, 56, 40}};
  TNuppo& m = Add();
  for (const TCase& c : cases) {
    SCOPED_TRACE("size class " + std::to_string(c.sizeClass));
    m.SetSizeClass(c.sizeClass);
    EXPECT_EQ(m.Top(), c.top);
    EXPECT_EQ(m.Width(), c.width);
    EXPECT_EQ(m.LeftLimit(), c.leftLimit);
    EXPECT_EQ(m.Scale(), 15 * c.sizeClass + 10);
  }
}

TEST_F(MascotTest, WalksToItsTargetCyclingFrames) {
  m_random.answers = {{200, 100}};
  TNuppo& m = Add();
  m.SetSizeClass(3);
  m.CallIn();
  EXPECT_EQ(m.Target(), 150);
  std::vector<std::string> frames;
  int ticks = 0;
  while (m.State() == TNuppoState::nsWalk && ticks < 1000) {
    m.Tick();
    if (++ticks <= 7) frames.push_back(m.ImageName());
  }
  EXPECT_EQ(frames, (std::vector<std::string>{"wlk01.png", "wlk02.png", "wlk03.png", "wlk04.png", "wlk05.png",
                                               "wlk00.png", "wlk01.png"}));
  EXPECT_EQ(ticks, 50);
  EXPECT_EQ(m.State(), TNuppoState::nsDecide);
  EXPECT_EQ(m.CenterX(), 150);
  EXPECT_FALSE(m.FacingRight());
}

TEST_F(MascotTest, WalksOffStageToTheRight) {
  TNuppo& m = Add();
  m.SetSizeClass(3);
  m.SetCenterX(270);
  m.Take({TNuppoState::nsWalk, 0, TNuppo::kOffStageX, 5});
  for (int i = 0; i < 4; ++i) m.Tick();
  EXPECT_EQ(m.State(), TNuppoState::nsWalk);
  EXPECT_TRUE(m.FacingRight());
  EXPECT_TRUE(m.Mirror());
  m.Tick();
  EXPECT_EQ(m.State(), TNuppoState::nsOffStage);
  EXPECT_GT(m.Left(), 280);
}

TEST_F(MascotTest, TumblesThroughItsFramesWhenClicked) {
  TNuppo& m = Standing(6, 100);
  m_root.Render();
  // Click on a pixel of the picture that is not transparent.
  const TBitmap& picture = *m.Picture();
  int px = -1, py = -1;
  for (int y = 0; y < picture.Height() && px < 0; ++y)
    for (int x = 0; x < picture.Width() && px < 0; ++x)
      if (picture.Row(y)[4 * x + 3] > 200) px = x, py = y;
  ASSERT_GE(px, 0);
  m_root.MouseDown(TMouseButton::mbLeft, ssLeft, m.Left() + px, m.Top() + py);
  EXPECT_EQ(m.State(), TNuppoState::nsTumble);

  std::vector<std::string> frames;
  for (int i = 0; i < 20; ++i) {
    m.Tick();
    frames.push_back(m.ImageName());
  }
  std::vector<std::string> expected(13, "rst01.png");
  expected.insert(expected.end(), 4, "rst02.png");
  expected.insert(expected.end(), {"rst03.png", "std01.png", "std01.png"});
  EXPECT_EQ(frames, expected);
  EXPECT_EQ(m.State(), TNuppoState::nsDecide);
}

TEST_F(MascotTest, GreetsAMascotOfItsSizeNearby) {
  m_random.answers = {{2, 1}, {100, 50}};
  TNuppo& a = Add();
  TNuppo& b = Add();
  a.SetSizeClass(6);
  b.SetSizeClass(6);
  a.SetCenterX(100);
  b.SetCenterX(150);
  a.Take({TNuppoState::nsDecide, 0, 0, 0});
  a.Tick();
  EXPECT_EQ(a.State(), TNuppoState::nsGreet);
  EXPECT_TRUE(a.FacingRight());
  ASSERT_EQ(a.Actions().size(), 1U);
  EXPECT_EQ(a.Actions().front().state, TNuppoState::nsStand);

  // The greeting over, the queued stand comes next.
  a.Take({TNuppoState::nsDecide, 0, 0, 0});
  a.Tick();
  EXPECT_EQ(a.State(), TNuppoState::nsStand);
  EXPECT_TRUE(a.Actions().empty());

  // Another size class: no greeting.
  b.SetSizeClass(5);
  a.Take({TNuppoState::nsDecide, 0, 0, 0});
  a.Tick();
  EXPECT_EQ(a.State(), TNuppoState::nsStand);
  EXPECT_TRUE(a.Actions().empty());
}

TEST_F(MascotTest, EachMascotSaysOnePartOfAMessage) {
  m_messages.Load("N=一,二\n");
  m_messages.PickMessage();
  TickMessages(11);
  ASSERT_TRUE(m_messages.Ready());

  TNuppo& a = Standing(6, 100);
  TNuppo& small = Standing(2, 100);
  TNuppo& right = Standing(6, 201);
  TNuppo& b = Standing(6, 150);
  a.Tick();
  EXPECT_TRUE(a.Balloon().Visible());
  EXPECT_FALSE(m_messages.Ready());
  EXPECT_EQ(a.Balloon().Width(), 80);  // boxl.png
  EXPECT_EQ(a.Balloon().CenterX(), 80);
  EXPECT_EQ(a.Balloon().Top(), a.Top() + a.Height() / 4 - 55);
  EXPECT_EQ(a.Balloon().ZOrder(), 51);

  TickMessages(11);
  ASSERT_TRUE(m_messages.Ready());
  for (int i = 0; i < 25; ++i) {
    a.Tick();
    small.Tick();
    right.Tick();
  }
  EXPECT_FALSE(a.Balloon().Visible());
  EXPECT_FALSE(small.Balloon().Visible());
  EXPECT_FALSE(right.Balloon().Visible());
  EXPECT_TRUE(m_messages.Ready()) << "the second part waits for another mascot";

  b.Tick();
  EXPECT_TRUE(b.Balloon().Visible());
  EXPECT_EQ(b.Balloon().ZOrder(), 52);
  EXPECT_FALSE(m_messages.Ready());
}

TEST_F(MascotTest, ShortPartsGetTheSmallBalloon) {
  m_textWidth = 20;
  m_messages.Load("N=幸せ？\n");
  m_messages.PickMessage();
  TickMessages(11);
  TNuppo& m = Standing(6, 100);
  m.Take({TNuppoState::nsStand, 3, 0, 0});
  m.Tick();
  ASSERT_TRUE(m.Balloon().Visible());
  EXPECT_EQ(m.Balloon().Width(), 44);  // boxs.png
  EXPECT_EQ(m.Balloon().CenterX(), 102);
  EXPECT_EQ(m.Balloon().Top(), m.Top() + m.Height() / 4 - m.Balloon().Height());
  EXPECT_EQ(m.Counter(), 19) << "it keeps standing while it speaks";
}

TEST_F(MascotTest, CallInTakesTheFirstOffStageMascotWithinTheCount) {
  m_random.answers = {{200, 10}};
  for (int i = 0; i < 4; ++i) Add();
  m_flock[0]->SetCenterX(100);
  EXPECT_TRUE(CallInMascot(m_flock, 3));
  EXPECT_EQ(m_flock[1]->State(), TNuppoState::nsWalk);
  EXPECT_EQ(m_flock[1]->Target(), std::max(60, m_flock[1]->LeftLimit()));
  EXPECT_EQ(m_flock[1]->Step(), 4);
  for (TNuppo* m : m_flock) m->SetCenterX(100);
  EXPECT_FALSE(CallInMascot(m_flock, 3));
}

}  // namespace
}  // namespace kzm::ui
