// A mascot's set-up, size, pictures and balloon.
#include "ui/shell/Nuppo.h"

#include <algorithm>

#include "graphics/BitmapRoutines.h"
#include "ui/shell/MessageList.h"

namespace kzm::ui {

TNuppo::TNuppo(TselifList& messages, TRandomSource& random, const std::vector<TNuppo*>& flock)
    : m_messages(messages), m_random(random), m_flock(flock) {}

TNuppo* TNuppo::Create(TorvFlat& scene, TselifList& messages, TRandomSource& random, std::vector<TNuppo*>& flock) {
  TNuppo* nuppo = scene.AddChild<TNuppo>(messages, random, flock);
  nuppo->m_balloon = scene.AddChild();
  nuppo->m_balloon->SetVisible(false);
  nuppo->SetHitKind(kHitAlpha);
  nuppo->SetMouseEvents(true);
  nuppo->OnMouseDown = [nuppo](TorvFlat&, TMouseButton, TShiftState, int, int) { nuppo->Tumble(); };
  nuppo->Show("std01.png");
  nuppo->Reset();
  flock.push_back(nuppo);
  return nuppo;
}

void TNuppo::Reset() {
  m_actions.clear();
  m_state = TNuppoState::nsOffStage;
  SetSizeClass(2 + m_random.Random(5));
  SetCenterX(kOffStageX);
}

void TNuppo::SetSizeClass(int sizeClass) {
  m_sizeClass = sizeClass;
  const int centre = CenterX();
  SetTop(sizeClass < 5 ? 45 + sizeClass : 40 + 2 * sizeClass + m_random.Random(3));
  SetScale(15 * sizeClass + 10);
  SetCenterX(centre);
  SetZOrder(sizeClass);
}

void TNuppo::Show(const std::string& name) {
  if (name == m_imageName) return;
  m_imageName = name;
  const int centre = CenterX();
  // Kept in the picture cache: the frames change every tick and must not be decoded again.
  SetImage(name, 255, kImageKept);
  SetCenterX(centre);
}

void TNuppo::SetFacingRight(bool right) {
  m_facingRight = right;
  SetMirror(right);
}

void TNuppo::Take(const TNuppoAction& action) {
  m_state = action.state;
  m_counter = action.counter;
  m_target = action.target;
  m_step = action.step;
}

void TNuppo::Tumble() {
  m_state = TNuppoState::nsTumble;
  m_counter = 20;
  m_balloon->SetVisible(false);
}

void TNuppo::CallIn() {
  Take({TNuppoState::nsWalk, 0, std::max(50 + m_random.Random(200), LeftLimit()), 4});
}

bool CallInMascot(const std::vector<TNuppo*>& flock, int count) {
  const int n = std::min(count, static_cast<int>(flock.size()));
  for (int i = 0; i < n; ++i) {
    if (flock[i]->Left() > 279) {
      flock[i]->CallIn();
      return true;
    }
  }
  return false;
}

// Each Stand tick: keep a shown balloon for 20 ticks, or say the waiting part.
void TNuppo::Speak() {
  if (m_balloon->Visible()) {
    if (++m_balloonTicks >= 20) m_balloon->SetVisible(false);
    return;
  }
  // Each mascot says at most one part of a message; small, distant ones say nothing.
  if (CenterX() > 200 || !m_messages.Ready() || m_sizeClass < 3 || m_messages.Batch() == m_lastBatch) return;
  const TBitmap& text = m_messages.TextPicture();
  const int w = text.Width();
  const int h = text.Height();
  TorvFlat& balloon = *m_balloon;
  const bool large = w > 30;
  balloon.SetImage(large ? "boxl.png" : "boxs.png", 255, kImageKept);
  balloon.MakePictureOwn();
  if (const TGraphicPtr& picture = balloon.Picture()) {
    const int x = large ? (78 - w) / 2 : (44 - w) / 2;
    const int y = large ? (52 - h) / 2 : (40 - h) / 2;
    DrawBitmap32(x, y, *picture, TDrawType::dtAlpha, text);
  }
  if (large) {
    balloon.SetCenterX(CenterX() - 20);
    balloon.SetTop(Top() + Height() / 4 - 55);
  } else {
    balloon.SetCenterX(CenterX() + 2);
    balloon.SetTop(Top() + Height() / 4 - balloon.Height());
  }
  balloon.SetZOrder(50 + m_messages.PartsShown());
  balloon.SetVisible(true);
  balloon.MarkDirty();
  m_balloonText = m_messages.PartText();
  m_messages.ClearReady();
  m_balloonTicks = 0;
  m_lastBatch = m_messages.Batch();
  m_counter = std::max(m_counter, 20);
}

}  // namespace kzm::ui
