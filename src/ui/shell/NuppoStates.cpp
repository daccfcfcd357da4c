// The mascot's state machine: one step per timer tick.
#include <cstdlib>

#include "ui/shell/Nuppo.h"

namespace kzm::ui {

void TNuppo::Tick() {
  switch (m_state) {
    case TNuppoState::nsOffStage: TickOffStage(); break;
    case TNuppoState::nsDecide: TickDecide(); break;
    case TNuppoState::nsWalk: TickWalk(); break;
    case TNuppoState::nsStand: TickStand(); break;
    case TNuppoState::nsRest: TickRest(); break;
    case TNuppoState::nsTumble: TickTumble(); break;
    case TNuppoState::nsGreet: TickGreet(); break;
  }
}

void TNuppo::TickOffStage() {
  if (m_random.Random(25) != 0) return;
  SetCenterX(kSceneWidth);
  const int r = m_random.Random(1000);
  if (r <= 100) {
    SetSizeClass(1 + m_random.Random(3));
  } else if (r <= 990) {
    SetSizeClass(4 + m_random.Random(4));
  } else {
    SetSizeClass(7 + 2 * m_random.Random(3));
  }
  // The queued Decide only makes the next tick choose again.
  m_actions.push_back({TNuppoState::nsDecide, 0, LeftLimit() + m_random.Random(280 - LeftLimit()), 0});
  SetFacingRight(false);
  m_state = TNuppoState::nsDecide;
}

void TNuppo::TickDecide() {
  m_balloon->SetVisible(false);
  if (m_actions.empty()) {
    QueueGreetings();
    QueueNextAction();
  }
  const TNuppoAction next = m_actions.front();
  m_actions.pop_front();
  Take(next);
}

void TNuppo::QueueGreetings() {
  for (const TNuppo* other : m_flock) {
    if (!(other->m_state == TNuppoState::nsGreet || m_random.Random(2) == 1)) continue;
    if (other->CenterX() >= 260 || CenterX() >= 260 || other->m_sizeClass != m_sizeClass) continue;
    const int d = std::abs(other->CenterX() - CenterX());
    if (Width() < d && d < 100) {
      m_actions.push_back({TNuppoState::nsGreet, 0, 0, 0});
      SetFacingRight(other->CenterX() >= CenterX());
    }
  }
}

void TNuppo::QueueNextAction() {
  const int r = m_random.Random(100);
  if (r < 21) {
    const int counter = m_random.Random(5);
    int target = LeftLimit() + m_random.Random(260 - LeftLimit());
    if (m_random.Random(5) == 0) target = kOffStageX;
    int step = 3 + m_random.Random(3);
    if (m_sizeClass < 3) step -= 2;
    m_actions.push_back({TNuppoState::nsWalk, counter, target, step});
  } else if (r < 91) {
    Show(m_random.Random(2) == 0 ? "std04.png" : "std01.png");
    m_actions.push_back({TNuppoState::nsStand, 10 + m_random.Random(100), 0, 0});
  } else {
    const int counter = 4 + m_random.Random(8);
    m_actions.push_back({TNuppoState::nsRest, counter, m_random.Random(2), 0});
  }
}

void TNuppo::TickWalk() {
  if (std::abs(m_target - CenterX()) < 8) m_state = TNuppoState::nsDecide;
  if (Left() > kSceneWidth && m_target == kOffStageX && m_actions.empty()) {
    // Gone: it stays away until it enters again (or not, when the flock got smaller).
    m_state = TNuppoState::nsOffStage;
    return;
  }
  m_counter = m_counter >= 5 ? 0 : m_counter + 1;
  Show("wlk0" + std::to_string(m_counter) + ".png");
  if (CenterX() > m_target) {
    SetFacingRight(false);
    SetCenterX(CenterX() - m_step);
  } else {
    SetFacingRight(true);
    SetCenterX(CenterX() + m_step);
  }
  if (m_random.Random(200) == 0) Tumble();
}

void TNuppo::TickStand() {
  Speak();
  if (--m_counter <= 0) m_state = TNuppoState::nsDecide;
  switch (m_random.Random(100)) {
    case 0: Show("std04.png"); break;
    case 1: Show("std05.png"); break;
    case 2: Show("std06.png"); break;
    default: break;
  }
}

void TNuppo::TickRest() {
  if (--m_counter <= 0) m_state = TNuppoState::nsDecide;
  if (m_counter == m_target || m_counter % 5 == 0) {
    Show("rst03.png");
  } else {
    Show(m_counter % 2 == 0 ? "rst04.png" : "rst05.png");
  }
}

void TNuppo::TickTumble() {
  switch (--m_counter) {
    case 19: Show("rst01.png"); break;
    case 6: Show("rst02.png"); break;
    case 2: Show("rst03.png"); break;
    case 1: Show("std01.png"); break;
    default: break;
  }
  if (m_counter <= 0) m_state = TNuppoState::nsDecide;
}

void TNuppo::TickGreet() {
  bool modeEnds = false;
  if (m_counter == 0) {
    Show(m_random.Random(2) == 0 ? "std07.png" : "std08.png");
    modeEnds = m_random.Random(10) == 0;
  } else {
    ++m_target;
    const int s = m_target;
    if (m_counter == 1) {
      if (s < 2 || (s >= 8 && s < 10)) Show("std09.png");
      else if (s < 4 || (s >= 6 && s < 8)) Show("std02.png");
      else if (s < 6) Show("std03.png");
    } else {
      if (s < 2 || (s >= 8 && s < 10)) Show("std09.png");
      else if (s < 8) Show("rst03.png");
    }
    modeEnds = s >= 10;
  }
  if (modeEnds) {
    m_counter = m_random.Random(3);
    m_target = 0;
  }
  if (m_random.Random(30) == 0) {
    Show("std01.png");
    m_state = TNuppoState::nsDecide;
  }
}

}  // namespace kzm::ui
