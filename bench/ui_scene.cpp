// One timer tick of the main window's scene with 20 mascots on stage: the message list, the
// mascots' steps and recomposing what changed (without the copy to the screen).
// Run: build/bench/bench_ui_scene --benchmark_repetitions=5
#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>
#include <string>

#include "controls/ImageControl.h"
#include "foundation/Resources.h"
#include "ui/shell/MainScene.h"
#include "ui/shell/MessageList.h"
#include "ui/shell/Nuppo.h"

namespace {

void BM_SceneTick(benchmark::State& state) {
  kzm::TGraphicSource source;
  const char* bin = std::getenv("KZM_BIN_DIR");
  source.AddArchive(std::string(bin ? bin : "bin") + "/zevazuvu.arc");
  kzm::SetImageSource(&source);
  {
    kzm::TSeededRandom random(1);
    kzm::TSeededRandom messageRandom(2);
    kzm::ui::TselifList messages(messageRandom);
    messages.Load(kzm::ReadResourceText("MESSAGES"));
    kzm::ui::TorvImage image;
    image.resize(280, 120);
    kzm::ui::TkzmMainScene scene(image, messages, random, [] { return 20; }, [] { return 30; });
    // Let the flock come on stage first.
    for (int i = 0; i < 1000; ++i) {
      scene.TickMessages();
      scene.TickMascots();
      scene.Redraw();
    }
    for (auto _ : state) {
      scene.TickMessages();
      scene.TickMascots();
      scene.Redraw();
    }
  }
  kzm::SetImageSource(nullptr);
}
BENCHMARK(BM_SceneTick)->Unit(benchmark::kMicrosecond);

}  // namespace
