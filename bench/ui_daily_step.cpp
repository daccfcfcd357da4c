// Stepping through the days of the daily window on a 30-year sample passbook with 翌日 and
// 前日: each step saves the day it leaves (marked changed, so the month file and the
// settlement are written) and paints the window. Reports the median time of a step.
#include "ui/daily/DailyWindow.h"

#include <QApplication>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "controls/RoundButton.h"
#include "foundation/Dates.h"
#include "passbook/MonthData.h"

#include "common/SamplePassbook.h"

namespace {

using kzm::ui::TFmDaily;
using kzm::ui::TorvWinButton;

// A left-button click in the middle of the button, as the mouse gives it.
void Click(QWidget* button) {
  const QPointF at(button->width() / 2.0, button->height() / 2.0);
  const QPointF global = button->mapToGlobal(at);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(button, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(button, &release);
}

void StepDays(benchmark::State& state, const char* buttonName, kzm::TDayNumber start) {
  kzm::bench::OpenSamplePassbook();
  constexpr int kSteps = 60;
  std::vector<double> stepMs;
  for (auto _ : state) {
    auto* window = new TFmDaily(start);
    window->show();
    QApplication::processEvents();
    auto* button = window->findChild<TorvWinButton*>(QString::fromLatin1(buttonName));
    for (int i = 0; i < kSteps; ++i) {
      window->SetModified();
      const auto begin = std::chrono::steady_clock::now();
      Click(button);
      QApplication::processEvents();  // the grids' deferred work
      window->repaint();
      stepMs.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count());
    }
    window->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  std::sort(stepMs.begin(), stepMs.end());
  state.counters["median_ms"] = stepMs[stepMs.size() / 2];
  state.counters["p90_ms"] = stepMs[stepMs.size() * 9 / 10];
  state.counters["max_ms"] = stepMs.back();
}

void BM_DailyStepNext(benchmark::State& state) { StepDays(state, "BtNext", kzm::EncodeDate(2024, 9, 20)); }
BENCHMARK(BM_DailyStepNext)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_DailyStepBefore(benchmark::State& state) { StepDays(state, "BtBefore", kzm::EncodeDate(2024, 11, 20)); }
BENCHMARK(BM_DailyStepBefore)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
