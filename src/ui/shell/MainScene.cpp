#include "ui/shell/MainScene.h"

#include <algorithm>
#include <ctime>

#include "controls/ImageControl.h"
#include "foundation/Text.h"
#include "ui/shell/MessageList.h"
#include "ui/shell/Nuppo.h"

namespace kzm::ui {

int NextDriftCounter(int counter, int minuteOfHour) {
  --counter;
  if (counter < 0 && minuteOfHour == 0) counter = 2240;
  return counter;
}

int LocalMinuteOfHour() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_min;
}

TkzmMainScene::TkzmMainScene(TorvImage& image, TselifList& messages, TRandomSource& random, TCount mascotCount,
                             TCount minuteOfHour)
    : m_image(image),
      m_messages(messages),
      m_random(random),
      m_mascotCount(std::move(mascotCount)),
      m_minuteOfHour(std::move(minuteOfHour)) {
  m_image.SetMouseAction(true);
  TorvFlat& root = m_image.Root();
  root.SetImage("back.png");
  root.SetFillBack(true);

  m_title = root.AddPicture("title.png", 4, 2, 255);
  m_title->SetZOrder(2);

  m_today = root.AddPicture("day2.png", 200, 80, 220);
  m_today->SetZOrder(100);
  m_today->SetAutoHighlight(true);
  m_today->OnClick = [this](TorvFlat&) {
    if (OnTodayClick) OnTodayClick();
  };
  m_month = root.AddPicture("luna2.png", 240, 80, 220);
  m_month->SetZOrder(100);
  m_month->SetAutoHighlight(true);
  m_month->OnClick = [this](TorvFlat&) {
    if (OnMonthClick) OnMonthClick();
  };

  m_drift = root.AddPicture("ap000.png", 300, 0, 100);
  m_drift->SetZOrder(1);

  m_mascots.reserve(kMascots);
  for (int i = 0; i < kMascots; ++i) TNuppo::Create(root, m_messages, m_random, m_mascots);

  m_doubleClick = QObject::connect(&m_image, &TorvImage::DoubleClicked, [this](int, int) { CallIn(); });
  m_image.RenderScene();
}

TkzmMainScene::~TkzmMainScene() { QObject::disconnect(m_doubleClick); }

void TkzmMainScene::TickMessages() { m_messages.Tick(); }

void TkzmMainScene::TickMascots() {
  const int count = m_mascotCount();
  for (int i = 0; i < static_cast<int>(m_mascots.size()); ++i) {
    TNuppo& mascot = *m_mascots[i];
    // Mascots beyond the count finish what they do and stay away once gone.
    if (mascot.State() == TNuppoState::nsOffStage && i >= count) continue;
    mascot.Tick();
  }
  SpeakBalloons();
}

void TkzmMainScene::SpeakBalloons() {
  std::vector<const TNuppo*> speaking;
  for (const TNuppo* mascot : m_mascots) {
    if (mascot->Balloon().Visible()) speaking.push_back(mascot);
  }
  // Later parts of a message lie above the earlier ones.
  std::sort(speaking.begin(), speaking.end(),
            [](const TNuppo* a, const TNuppo* b) { return a->Balloon().ZOrder() < b->Balloon().ZOrder(); });
  std::string spoken;
  for (const TNuppo* mascot : speaking) spoken += (spoken.empty() ? "" : " ") + ReplaceAll(mascot->BalloonText(), "\n", " ");
  if (spoken == m_spoken) return;
  m_spoken = spoken;
  m_image.setAccessibleDescription(QString::fromStdString(spoken));  // Qt tells a listening reader
}

void TkzmMainScene::Redraw() {
  m_driftCounter = NextDriftCounter(m_driftCounter, m_minuteOfHour());
  m_drift->SetLeft(m_driftCounter / 8);
  m_image.RenderScene();
}

void TkzmMainScene::CallIn() { CallInMascot(m_mascots, m_mascotCount()); }

}  // namespace kzm::ui
