// BlendRect (dtAlpha, unscaled and shrunk) against QPainter drawing the same 280 × 120
// picture with source-over into a QImage, and against Qt's own smooth shrink plus a draw.
// Run: build/bench/bench_ui_blend --benchmark_repetitions=5
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "controls/CanvasRoutines.h"
#include "graphics/BitmapRoutines.h"

namespace {

constexpr int kW = 280;
constexpr int kH = 120;

// A picture with opaque, transparent and half-transparent parts.
kzm::TBitmap Source() {
  kzm::TBitmap b(kW, kH, 32);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      std::uint8_t* p = b.Row(y) + 4 * x;
      p[0] = static_cast<std::uint8_t>(x);
      p[1] = static_cast<std::uint8_t>(y * 2);
      p[2] = static_cast<std::uint8_t>(x + y);
      const int d = (x - kW / 2) * (x - kW / 2) / 4 + (y - kH / 2) * (y - kH / 2);
      p[3] = static_cast<std::uint8_t>(d < 1500 ? 255 : d < 3000 ? 128 : 0);
    }
  }
  return b;
}

// The placed size for each argument: the source's own, half of it, and a size no whole
// fraction of it, whose rows each weigh their edge rows differently.
QRect Target(int64_t argument) {
  switch (argument) {
    case 1: return QRect(0, 0, kW / 2, kH / 2);
    case 2: return QRect(0, 0, kW * 3 / 7, kH * 3 / 7);
    default: return QRect(0, 0, kW, kH);
  }
}

void BM_BlendRect(benchmark::State& state) {
  const kzm::TBitmap source = Source();
  kzm::TBitmap dest(kW, kH, 32);
  const int w = Target(state.range(0)).width();
  const int h = Target(state.range(0)).height();
  for (auto _ : state) {
    kzm::BlendRect({&dest, &source, {0, 0, w, h}, {0, 0, kW, kH}, 255, kzm::TDrawType::dtAlpha, false});
    benchmark::DoNotOptimize(dest.Bits());
  }
}

void BM_QPainter(benchmark::State& state) {
  const kzm::TBitmap bitmap = Source();
  // Qt's fastest path: both images premultiplied.
  const QImage source = kzm::ui::BitmapAsImage(bitmap).convertToFormat(QImage::Format_ARGB32_Premultiplied);
  QImage dest(kW, kH, QImage::Format_ARGB32_Premultiplied);
  dest.fill(Qt::black);
  const QRect target = Target(state.range(0));
  for (auto _ : state) {
    QPainter painter(&dest);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (state.range(0)) painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, source);
    painter.end();
    benchmark::DoNotOptimize(dest.constBits());
  }
}

// Qt's own area-average shrink, then an unscaled draw of the result: what a program on Qt
// alone would do to show a picture smaller.
void BM_QImageScaledDraw(benchmark::State& state) {
  const QImage source =
      kzm::ui::BitmapAsImage(Source()).convertToFormat(QImage::Format_ARGB32_Premultiplied);
  QImage dest(kW, kH, QImage::Format_ARGB32_Premultiplied);
  dest.fill(Qt::black);
  const QRect target = Target(state.range(0));
  for (auto _ : state) {
    const QImage small = source.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&dest);
    painter.drawImage(target.topLeft(), small);
    painter.end();
    benchmark::DoNotOptimize(dest.constBits());
  }
}

// Arg 0: unscaled, 1: scaled to half size, 2: scaled to 3/7.
BENCHMARK(BM_BlendRect)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QPainter)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QImageScaledDraw)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
