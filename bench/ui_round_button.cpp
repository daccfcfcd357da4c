// Repainting a 64 × 64 round button set up as the windows set theirs: after a change of
// state (everything rendered at double size and halved) and unchanged (one picture
// copied), against copying a picture of that size into the same target.
// Run: build/bench/bench_ui_round_button --benchmark_repetitions=5
#include "controls/RoundButtonDraw.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

using kzm::ui::TorvBtnDraw;

constexpr int kSide = 64;

void SetUp(TorvBtnDraw& draw) {
  draw.SetStyle(kzm::ui::TorvBtnStyle::bsCircle);
  draw.SetSquare(true);
  draw.SetTextAntialiasing(false);
  draw.SetColor(0xFFFEF8);
  draw.SetFocusLineWidth(5);
  draw.SetOverDrawType(kzm::TDrawType::dtAlpha);
  draw.SetBackColor(0xFFFFFF);
  draw.SetFont(QApplication::font());
  draw.SetCaption("前日\\(&B)");
  draw.SetSize(kSide, kSide);
}

void BM_DirtyButton(benchmark::State& state) {
  TorvBtnDraw draw;
  SetUp(draw);
  QImage screen(kSide, kSide, QImage::Format_RGB32);
  bool hover = false;
  for (auto _ : state) {
    hover = !hover;
    draw.SetState(hover ? kzm::ui::kBtnHover : kzm::ui::kBtnNormal);
    QPainter painter(&screen);
    draw.PaintTo(painter);
  }
  benchmark::DoNotOptimize(screen.constBits());
}
BENCHMARK(BM_DirtyButton)->Unit(benchmark::kMicrosecond);

void BM_CleanButton(benchmark::State& state) {
  TorvBtnDraw draw;
  SetUp(draw);
  QImage screen(kSide, kSide, QImage::Format_RGB32);
  (void)draw.Composite();
  for (auto _ : state) {
    QPainter painter(&screen);
    draw.PaintTo(painter);
  }
  benchmark::DoNotOptimize(screen.constBits());
}
BENCHMARK(BM_CleanButton)->Unit(benchmark::kMicrosecond);

// The floor: the same painter work with a ready picture of the button's size.
void BM_CopyPicture(benchmark::State& state) {
  QImage picture(kSide, kSide, QImage::Format_RGB32);
  picture.fill(Qt::white);
  QImage screen(kSide, kSide, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&screen);
    painter.drawImage(0, 0, picture);
  }
  benchmark::DoNotOptimize(screen.constBits());
}
BENCHMARK(BM_CopyPicture)->Unit(benchmark::kMicrosecond);

}  // namespace
