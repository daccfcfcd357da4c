// Opening the daily window and the monthly view on the 30-year sample passbook, through the
// openers the menu uses, until the window has painted; reports the median of the openings, in
// time passed and in time the program's thread ran (steadier on a busy machine).
//
// Meant to be run by bench/accessibility_open.py, in turn plain and with Qt's bridge to a real
// AT-SPI bus on (xcb under Xvfb, the buses private to the run, and a listener that asks
// each event's object for its name, role and states, as a screen reader does). A real bus
// rather than QAccessible::setActive in-process: the cost that matters is the bridge's, that
// turns every accessibility event into D-Bus messages and answers the reader's questions on the
// program's own thread. The counter "bridge" says which of the two a run measured.
#include "ui/daily/DailyWindow.h"
#include "ui/monthly/MonthWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <functional>
#include <vector>

#include "common/SamplePassbook.h"
#include "foundation/Dates.h"
#include "ui/common/AccessibleControls.h"
#include "ui/common/Openers.h"

namespace {

using kzm::ui::TFmDaily;
using kzm::ui::TFmMonth;

const kzm::TDayNumber kDay = kzm::EncodeDate(2024, 12, 10);
constexpr int kOpenings = 25;

// Runs the event loop for a while, so that what a reader asked after one opening is answered
// before the next is timed.
void Settle(int ms) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 5);
}

template <class TWindow>
TWindow* ShownWindow() {
  for (QWidget* top : QApplication::topLevelWidgets())
    if (auto* window = qobject_cast<TWindow*>(top); window && window->isVisible()) return window;
  return nullptr;
}

// The time the calling thread has run, in milliseconds: what the opening cost the program's own
// thread, whatever else the machine was doing meanwhile.
double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1.0e6;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

template <class TWindow>
void MeasureOpenings(benchmark::State& state, const std::function<void()>& open) {
  kzm::ui::InstallAccessibleControls();  // as the program does at start
  kzm::bench::OpenSamplePassbook();
  std::vector<double> openMs;
  std::vector<double> cpuMs;
  for (auto _ : state) {
    const auto begin = std::chrono::steady_clock::now();
    const double cpuBegin = ThreadCpuMs();
    open();
    TWindow* window = ShownWindow<TWindow>();
    if (!window) {
      state.SkipWithError("the window did not open");
      return;
    }
    QApplication::processEvents();
    window->repaint();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - begin;
    cpuMs.push_back(ThreadCpuMs() - cpuBegin);
    state.SetIterationTime(took.count());
    openMs.push_back(took.count() * 1000.0);
    window->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Settle(250);
  }
  state.counters["median_ms"] = Median(openMs);
  state.counters["cpu_median_ms"] = Median(cpuMs);
  state.counters["bridge"] = QAccessible::isActive() ? 1 : 0;
}

void BM_DailyWindowOpen(benchmark::State& state) {
  MeasureOpenings<TFmDaily>(state, [] { kzm::ui::OpenDailyWindow(kDay); });
}
BENCHMARK(BM_DailyWindowOpen)->Iterations(kOpenings)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_MonthViewOpen(benchmark::State& state) {
  MeasureOpenings<TFmMonth>(state, [] { kzm::ui::ShowMonthOfDay(kDay); });
}
BENCHMARK(BM_MonthViewOpen)->Iterations(kOpenings)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
