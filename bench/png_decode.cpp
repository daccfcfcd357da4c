// Our PNG decoder against libpng decoding the same files to the same pixel layout
// (blue, green, red[, alpha] rows). Run: build/bench/bench_png_decode --benchmark_repetitions=5
#include <benchmark/benchmark.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "graphics/PngDecoder.h"

namespace {

void Append(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}
void NoFlush(png_structp) {}

// A picture with smooth shading, edges and grain, like a drawing or a photo.
std::string MakePng(int width, int height, bool alpha, double grain) {
  std::mt19937 random(42);
  std::normal_distribution<double> noise(0, grain);
  const int channels = alpha ? 4 : 3;
  std::vector<png_byte> pixels(static_cast<std::size_t>(width) * height * channels);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      png_byte* p = &pixels[(static_cast<std::size_t>(y) * width + x) * channels];
      const double shade = 128 + 100 * std::sin(x * 0.02) * std::cos(y * 0.03);
      for (int c = 0; c < 3; ++c) p[c] = static_cast<png_byte>(std::clamp(shade + c * 20 + noise(random), 0.0, 255.0));
      if (alpha) p[3] = static_cast<png_byte>((x - width / 2) * (x - width / 2) + (y - height / 2) * (y - height / 2) <
                                                      width * height / 5
                                                  ? 255
                                                  : 0);
    }
  }
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, Append, NoFlush);
  png_set_IHDR(png, info, width, height, 8, alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) png_write_row(png, &pixels[static_cast<std::size_t>(y) * width * channels]);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

struct TSource {
  const std::string* bytes;
  std::size_t pos = 0;
};

void ReadBytes(png_structp png, png_bytep out, png_size_t length) {
  auto* s = static_cast<TSource*>(png_get_io_ptr(png));
  std::memcpy(out, s->bytes->data() + s->pos, length);
  s->pos += length;
}

void DecodeWithLibpng(const std::string& bytes, kzm::TBitmap& bitmap, std::vector<png_bytep>& rows) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  TSource source{&bytes};
  png_set_read_fn(png, &source, ReadBytes);
  png_read_info(png, info);
  png_set_bgr(png);
  const bool alpha = png_get_color_type(png, info) == PNG_COLOR_TYPE_RGBA;
  bitmap.SetSize(static_cast<int>(png_get_image_width(png, info)), static_cast<int>(png_get_image_height(png, info)),
                 alpha ? 32 : 24);
  rows.clear();
  for (int y = 0; y < bitmap.Height(); ++y) rows.push_back(bitmap.Row(y));
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
}

const std::string& Picture(int which) {
  static const std::string pictures[] = {MakePng(280, 120, true, 3), MakePng(531, 104, false, 2),
                                         MakePng(1000, 1000, false, 6)};
  return pictures[which];
}

void BM_OurDecoder(benchmark::State& state) {
  const std::string& bytes = Picture(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    kzm::TMemoryStream stream(bytes);
    kzm::TBitmap bitmap;
    kzm::LoadPngStream(bitmap, stream);
    benchmark::DoNotOptimize(bitmap.Bits());
  }
}

void BM_Libpng(benchmark::State& state) {
  const std::string& bytes = Picture(static_cast<int>(state.range(0)));
  std::vector<png_bytep> rows;
  for (auto _ : state) {
    kzm::TBitmap bitmap;
    DecodeWithLibpng(bytes, bitmap, rows);
    benchmark::DoNotOptimize(bitmap.Bits());
  }
}

// 0: 280 × 120 background with alpha, 1: 531 × 104 picture, 2: 1000 × 1000 photo-like.
BENCHMARK(BM_OurDecoder)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Libpng)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
