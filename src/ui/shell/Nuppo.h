#pragma once

// TNuppo: one mascot of the main window's flock. It walks in from the right, strolls,
// stands, rests, greets mascots of its own size, tumbles when clicked and says parts of the
// message list's messages in a speech balloon. Each Tick is one step of its state machine;
// all chance comes from the random source, so a seeded source replays a flock exactly.

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "controls/Flat.h"
#include "foundation/RandomSource.h"

namespace kzm::ui {

class TselifList;

enum class TNuppoState : std::uint8_t { nsOffStage, nsDecide, nsWalk, nsStand, nsRest, nsTumble, nsGreet };

// Something to do next: taking it copies the four fields into the mascot.
struct TNuppoAction {
  TNuppoState state = TNuppoState::nsDecide;
  int counter = 0;
  int target = 0;
  int step = 0;
};

class TNuppo : public TorvFlat {
 public:
  // The scene is this wide; a centre of kOffStageX is out of sight to the right.
  static constexpr int kSceneWidth = 280;
  static constexpr int kOffStageX = 350;

  TNuppo(TselifList& messages, TRandomSource& random, const std::vector<TNuppo*>& flock);

  // Adds a mascot and its balloon to the scene and to the flock, reset and off stage.
  static TNuppo* Create(TorvFlat& scene, TselifList& messages, TRandomSource& random, std::vector<TNuppo*>& flock);

  // Off stage at the right with an empty queue and a new size class.
  void Reset();
  // One step of the state machine.
  void Tick();
  // Falls over (a click, or a misstep while walking).
  void Tumble();
  // Walks in from off stage to somewhere on the left half.
  void CallIn();
  // Does the action now.
  void Take(const TNuppoAction& action);

  [[nodiscard]] TNuppoState State() const { return m_state; }
  [[nodiscard]] int Counter() const { return m_counter; }
  [[nodiscard]] int Target() const { return m_target; }
  [[nodiscard]] int Step() const { return m_step; }
  [[nodiscard]] const std::deque<TNuppoAction>& Actions() const { return m_actions; }
  [[nodiscard]] bool FacingRight() const { return m_facingRight; }
  [[nodiscard]] const std::string& ImageName() const { return m_imageName; }
  [[nodiscard]] TorvFlat& Balloon() const { return *m_balloon; }
  // The words in the balloon, shown or last shown.
  [[nodiscard]] const std::string& BalloonText() const { return m_balloonText; }

  // 1 (small, far away) to 11 (large, near): sets top edge, scale, drawing order.
  [[nodiscard]] int SizeClass() const { return m_sizeClass; }
  void SetSizeClass(int sizeClass);
  // Walking targets keep right of this, so small, distant mascots stay to the right.
  [[nodiscard]] int LeftLimit() const { return m_sizeClass >= 6 ? 40 : 80 + 18 * (6 - m_sizeClass); }

 private:
  void Show(const std::string& name);
  void SetFacingRight(bool right);

  void TickOffStage();
  void TickDecide();
  void QueueGreetings();
  void QueueNextAction();
  void TickWalk();
  void TickStand();
  void TickRest();
  void TickTumble();
  void TickGreet();
  void Speak();

  TselifList& m_messages;
  TRandomSource& m_random;
  const std::vector<TNuppo*>& m_flock;
  TorvFlat* m_balloon = nullptr;
  std::string m_balloonText;

  std::deque<TNuppoAction> m_actions;
  std::string m_imageName;
  int m_sizeClass = 6;
  bool m_facingRight = false;
  TNuppoState m_state = TNuppoState::nsOffStage;
  int m_counter = 0;
  int m_target = 0;
  int m_step = 0;
  int m_balloonTicks = 0;
  int m_lastBatch = -1;
};

// Calls the first of the first count mascots that is off stage (left edge beyond 279).
// False when none is.
bool CallInMascot(const std::vector<TNuppo*>& flock, int count);

}  // namespace kzm::ui
