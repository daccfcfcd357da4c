// The main window's scene: the drifting image, the icons and the flock under a mascot count.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "common/RecordingWindowSystem.h"
#include "common/TestPaths.h"
#include "controls/ImageControl.h"
#include "ui/shell/MainScene.h"
#include "ui/shell/MessageList.h"
#include "ui/shell/Nuppo.h"

namespace kzm::ui {
namespace {

TEST(DriftTest, StartsAtTheTopOfTheHourOnly) {
  struct TCase {
    int counter, minute, next;
  };
  const TCase cases[] = {{-5000, 0, 2240}, {-5000, 30, -5001}, {0, 0, 2240}, {1, 0, 0}, {2240, 0, 2239}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.counter) + " at minute " + std::to_string(c.minute));
    EXPECT_EQ(NextDriftCounter(c.counter, c.minute), c.next);
  }
}

class MainSceneTest : public testing::Test {
 protected:
  MainSceneTest() {
    m_source.AddArchive(test::BinDir() + "/zevazuvu.arc");
    SetImageSource(&m_source);
  }
  ~MainSceneTest() override { SetImageSource(nullptr); }

  struct TScene {
    TScene(int seed, int& count, int& minute)
        : random(static_cast<std::uint32_t>(seed)),
          messageRandom(static_cast<std::uint32_t>(seed) + 1),
          messages(messageRandom, [] { return EncodeDate(2025, 6, 18); }),
          scene(image, messages, random, [&count] { return count; }, [&minute] { return minute; }) {
      image.resize(280, 120);
      messages.Load("N=こんにちは,元気？\n");
    }
    void Tick() {
      scene.TickMessages();
      scene.TickMascots();
      scene.Redraw();
    }
    TSeededRandom random;
    TSeededRandom messageRandom;
    TselifList messages;
    TorvImage image;
    TkzmMainScene scene;
  };

  test::TRecordingWindowSystem m_windows;
  TGraphicSource m_source;
  int m_count = 20;
  int m_minute = 30;
};

TEST_F(MainSceneTest, DriftingImageEntersAtTheTopOfTheHour) {
  TScene s(1, m_count, m_minute);
  s.Tick();
  EXPECT_EQ(s.scene.DriftImage().Left(), -625);
  m_minute = 0;
  s.Tick();
  EXPECT_EQ(s.scene.DriftImage().Left(), 280);
  m_minute = 1;
  for (int i = 0; i < 8; ++i) s.Tick();
  EXPECT_EQ(s.scene.DriftImage().Left(), 279);
  EXPECT_TRUE(m_windows.messages.empty()) << "a picture is missing";
}

TEST_F(MainSceneTest, IconsActAsTheMenu) {
  TScene s(1, m_count, m_minute);
  std::vector<std::string> opened;
  s.scene.OnTodayClick = [&] { opened.push_back("today"); };
  s.scene.OnMonthClick = [&] { opened.push_back("month"); };
  TorvFlat& root = s.image.Root();
  for (int x : {210, 250, 150}) {
    root.MouseMove(x, 95);
    root.MouseDown(TMouseButton::mbLeft, ssLeft, x, 95);
    root.MouseUp(TMouseButton::mbLeft, 0, x, 95);
  }
  EXPECT_EQ(opened, (std::vector<std::string>{"today", "month"}));
}

TEST_F(MainSceneTest, SameSeedSameFlock) {
  TScene a(42, m_count, m_minute);
  TScene b(42, m_count, m_minute);
  int onStage = 0;
  for (int i = 0; i < 600; ++i) {
    a.Tick();
    b.Tick();
  }
  for (int i = 0; i < TkzmMainScene::kMascots; ++i) {
    SCOPED_TRACE("mascot " + std::to_string(i));
    EXPECT_EQ(a.scene.Mascots()[i]->CenterX(), b.scene.Mascots()[i]->CenterX());
    EXPECT_EQ(a.scene.Mascots()[i]->State(), b.scene.Mascots()[i]->State());
    if (a.scene.Mascots()[i]->State() != TNuppoState::nsOffStage) ++onStage;
  }
  EXPECT_GE(onStage, 15);
}

TEST_F(MainSceneTest, LoweringTheCountLetsMascotsOnStageFinish) {
  TScene s(7, m_count, m_minute);
  for (int i = 0; i < 600; ++i) s.Tick();
  const auto& flock = s.scene.Mascots();
  std::vector<int> stayed;
  for (int i = 8; i < TkzmMainScene::kMascots; ++i) {
    if (flock[i]->State() != TNuppoState::nsOffStage) stayed.push_back(i);
  }
  ASSERT_FALSE(stayed.empty());

  m_count = 8;
  s.Tick();
  for (int i : stayed) EXPECT_NE(flock[i]->State(), TNuppoState::nsOffStage) << "mascot " << i;

  // Every extra mascot walks off in time and then stays away.
  std::vector<bool> gone(TkzmMainScene::kMascots, false);
  int remaining = static_cast<int>(stayed.size());
  for (int tick = 0; tick < 200000 && remaining > 0; ++tick) {
    s.scene.TickMessages();
    s.scene.TickMascots();
    for (int i : stayed) {
      const bool off = flock[i]->State() == TNuppoState::nsOffStage;
      ASSERT_FALSE(gone[i] && !off) << "mascot " << i << " came back";
      if (off && !gone[i]) {
        gone[i] = true;
        --remaining;
      }
    }
  }
  EXPECT_EQ(remaining, 0);
  for (int i = 8; i < TkzmMainScene::kMascots; ++i) {
    EXPECT_EQ(flock[i]->State(), TNuppoState::nsOffStage) << "mascot " << i;
  }
}

// A screen reader hears the balloons: the scene's description is what they say, in the order
// said, and empty again once they are gone.
TEST_F(MainSceneTest, TheSceneSaysWhatTheBalloonsSay) {
  TScene s(3, m_count, m_minute);
  std::vector<QString> heard;
  for (int tick = 0; tick < 100000 && heard.size() < 4; ++tick) {
    s.scene.TickMessages();
    s.scene.TickMascots();
    const QString now = s.image.accessibleDescription();
    if (heard.empty() ? !now.isEmpty() : now != heard.back()) heard.push_back(now);
  }
  EXPECT_EQ(heard, (std::vector<QString>{"こんにちは", "こんにちは 元気？", "元気？", ""}));
}

}  // namespace
}  // namespace kzm::ui
