#include "controls/RoundButtonInput.h"

#include <gtest/gtest.h>

#include <vector>

#include "controls/RepeatTimerFake.h"

namespace kzm::ui {
namespace {

using test::TClock;
using test::TFakeRepeatTimer;

// A button's input logic on a fake clock, recording the time of every click.
struct TInputRig {
  TClock clock;
  TFakeRepeatTimer* timer = nullptr;
  TorvBtnInput input{MakeTimer()};
  std::vector<int> clicks;

  TInputRig() {
    input.OnClick = [this] { clicks.push_back(clock.now); };
  }
  std::unique_ptr<TorvRepeatTimer> MakeTimer() {
    auto t = std::make_unique<TFakeRepeatTimer>(clock);
    timer = t.get();
    return t;
  }
};

TEST(RoundButtonInput, HeldRepeatButtonClicksEvery80msAfterHalfASecondAndOnceMoreAtRelease) {
  TInputRig rig;
  rig.input.SetClickRepeat(true);
  rig.input.MouseEnter();
  rig.input.MouseDown(true);
  rig.timer->RunUntil(1000);
  EXPECT_EQ(rig.input.State(false), kBtnPressed);
  rig.input.MouseUp(true, true);
  EXPECT_EQ(rig.clicks, (std::vector<int>{500, 580, 660, 740, 820, 900, 980, 1000}));
  EXPECT_FALSE(rig.timer->IsActive());
  rig.timer->RunUntil(2000);
  EXPECT_EQ(rig.clicks.size(), 8u);
}

TEST(RoundButtonInput, WithoutRepeatOnlyTheReleaseInsideClicks) {
  TInputRig rig;
  rig.input.MouseEnter();
  rig.input.MouseDown(true);
  rig.timer->RunUntil(1000);
  EXPECT_TRUE(rig.clicks.empty());
  rig.input.MouseUp(true, true);
  EXPECT_EQ(rig.clicks, (std::vector<int>{1000}));

  rig.input.MouseDown(false);  // the right button does not press
  rig.input.MouseUp(false, true);
  EXPECT_EQ(rig.clicks.size(), 1u);
}

TEST(RoundButtonInput, LeavingAHeldButtonStopsTheRepeatAndReleasingOutsideGivesNoClick) {
  TInputRig rig;
  rig.input.SetClickRepeat(true);
  rig.input.MouseEnter();
  rig.input.MouseDown(true);
  rig.timer->RunUntil(600);
  rig.input.MouseLeave();
  EXPECT_EQ(rig.input.State(false), kBtnNormal);
  rig.timer->RunUntil(1500);
  rig.input.MouseUp(true, false);
  EXPECT_EQ(rig.clicks, (std::vector<int>{500, 580}));

  // Coming back over the button while still holding does not press it again.
  rig.input.MouseEnter();
  rig.input.MouseUp(true, true);
  EXPECT_EQ(rig.clicks.size(), 2u);
}

TEST(RoundButtonInput, DisabledButtonIgnoresMouseAndKeys) {
  TInputRig rig;
  rig.input.SetClickRepeat(true);
  rig.input.SetEnabled(false);
  rig.input.MouseEnter();
  rig.input.MouseDown(true);
  rig.timer->RunUntil(1000);
  rig.input.MouseUp(true, true);
  rig.input.KeyDown();
  rig.input.KeyUp();
  EXPECT_TRUE(rig.clicks.empty());
  EXPECT_EQ(rig.input.State(true), kBtnDisabled);
}

TEST(RoundButtonInput, DisablingAHeldButtonStopsItsRepeat) {
  TInputRig rig;
  rig.input.SetClickRepeat(true);
  rig.input.MouseDown(true);
  rig.timer->RunUntil(550);
  rig.input.SetEnabled(false);
  rig.timer->RunUntil(1000);
  rig.input.SetEnabled(true);
  rig.input.MouseUp(true, true);
  EXPECT_EQ(rig.clicks, (std::vector<int>{500}));
}

TEST(RoundButtonInput, KeyPressesAndClicksOnRelease) {
  TInputRig rig;
  rig.input.KeyDown();
  EXPECT_EQ(rig.input.State(true), kBtnPressed);
  EXPECT_TRUE(rig.clicks.empty());
  rig.input.KeyUp();
  EXPECT_EQ(rig.clicks.size(), 1u);
  EXPECT_EQ(rig.input.State(true), kBtnFocus);
  rig.input.KeyUp();  // a release without its press
  EXPECT_EQ(rig.clicks.size(), 1u);
}

TEST(RoundButtonInput, StateFollowsDisabledPressedHoverFocusInThatOrder) {
  struct TCase {
    bool enabled, press, hover, focused;
    TBtnState state;
  };
  const TCase cases[] = {
      {true, false, false, false, kBtnNormal},  {true, false, false, true, kBtnFocus},
      {true, false, true, true, kBtnHover},     {true, true, true, true, kBtnPressed},
      {true, true, false, false, kBtnPressed},  {false, false, true, true, kBtnDisabled},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "enabled " << c.enabled << " press " << c.press << " hover " << c.hover
                                    << " focused " << c.focused);
    TInputRig rig;
    if (c.hover) rig.input.MouseEnter();
    if (c.press) rig.input.KeyDown();
    rig.input.SetEnabled(c.enabled);
    EXPECT_EQ(rig.input.State(c.focused), c.state);
  }
}

}  // namespace
}  // namespace kzm::ui
