#pragma once

// The main window's picture scene: background, title, the today and month icons, the image
// that drifts across the top once an hour and the flock of mascots, stepped by the window's
// timer.

#include <QMetaObject>

#include <functional>
#include <string>
#include <vector>

#include "foundation/RandomSource.h"

namespace kzm::ui {

class TorvFlat;
class TorvImage;
class TNuppo;
class TselifList;

// The drift counter after one tick: it counts down, and a negative counter starts again at
// 2240 (the right edge, eight ticks a pixel) during minute 0 of an hour.
[[nodiscard]] int NextDriftCounter(int counter, int minuteOfHour);

class TkzmMainScene {
 public:
  static constexpr int kMascots = 20;
  static constexpr int kDriftStart = -5000;

  using TCount = std::function<int()>;

  // Builds the scene in image. mascotCount tells how many mascots may come on stage;
  // minuteOfHour the local clock's minute. The mascots draw their chances from random.
  TkzmMainScene(TorvImage& image, TselifList& messages, TRandomSource& random, TCount mascotCount,
                TCount minuteOfHour);
  ~TkzmMainScene();
  TkzmMainScene(const TkzmMainScene&) = delete;
  TkzmMainScene& operator=(const TkzmMainScene&) = delete;

  // The steps of one timer tick, in this order; the window reports each one's errors.
  void TickMessages();
  // Also tells a screen reader what the balloons now say: the scene's accessible description
  // is their words, in the order they were said, empty while no balloon shows.
  void TickMascots();
  // Moves the drifting image and draws what changed.
  void Redraw();

  // A double click on the scene: the first mascot off stage walks in.
  void CallIn();

  // Clicks on the icons.
  std::function<void()> OnTodayClick;
  std::function<void()> OnMonthClick;

  [[nodiscard]] const std::vector<TNuppo*>& Mascots() const { return m_mascots; }
  [[nodiscard]] TorvFlat& TodayIcon() const { return *m_today; }
  [[nodiscard]] TorvFlat& MonthIcon() const { return *m_month; }
  [[nodiscard]] TorvFlat& DriftImage() const { return *m_drift; }
  [[nodiscard]] int DriftCounter() const { return m_driftCounter; }

 private:
  void SpeakBalloons();

  TorvImage& m_image;
  TselifList& m_messages;
  TRandomSource& m_random;
  TCount m_mascotCount;
  TCount m_minuteOfHour;
  std::vector<TNuppo*> m_mascots;
  TorvFlat* m_title = nullptr;
  TorvFlat* m_today = nullptr;
  TorvFlat* m_month = nullptr;
  TorvFlat* m_drift = nullptr;
  int m_driftCounter = kDriftStart;
  std::string m_spoken;
  QMetaObject::Connection m_doubleClick;
};

// The local clock's minute of the hour.
[[nodiscard]] int LocalMinuteOfHour();

}  // namespace kzm::ui
