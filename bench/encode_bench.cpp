// PNG encoding of a pseudo-colour frame at each compression setting, against libpng at zlib's
// default level with its adaptive filters (what most tools write). The size of each file is the
// "bytes" counter.
#include "catalogue.h"
#include "scene.h"

#include <xelhost/image_io.h>

#include <benchmark/benchmark.h>
#include <png.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace bench {

namespace {

// The thermal scene with sensor noise through a black-blue-green-yellow-red-white ramp: smooth
// regions with the small pixel-to-pixel jitter real camera frames have.
xelfw::Image PseudoColourFrame(UINT width, UINT height) {
  const xelfw::Image grey = MakeThermalScene(width, height);
  xelfw::Image rgb(width, height, xelfw::PixelLayout::Colour(8, 3));
  constexpr std::array<std::array<int, 3>, 6> kStops = {
      {{0, 0, 0}, {0, 0, 255}, {0, 255, 0}, {255, 255, 0}, {255, 0, 0}, {255, 255, 255}}};
  std::uint32_t noise = 12345;
  for (UINT y = 0; y < height; ++y) {
    for (UINT x = 0; x < width; ++x) {
      noise = noise * 1664525u + 1013904223u;
      const double jitter = (static_cast<double>(noise >> 16) / 65536.0 - 0.5) * 0.008;
      const double t = std::clamp(grey.GetComponent(x, y, 0) / 65535.0 + jitter, 0.0, 1.0) * 5.0;
      const auto stop = std::min(static_cast<std::size_t>(t), std::size_t{4});
      const double f = t - static_cast<double>(stop);
      for (UINT c = 0; c < 3; ++c) {
        const double value = kStops[stop][c] + f * (kStops[stop + 1][c] - kStops[stop][c]);
        rgb.SetComponent(x, y, c, static_cast<UINT>(value + 0.5));
      }
    }
  }
  return rgb;
}

void EncodeXel(benchmark::State& state, xelhost::ImageCompression compression) {
  const xelfw::Image frame = PseudoColourFrame(640, 512);
  std::size_t bytes = 0;
  for (auto _ : state) bytes = xelhost::EncodePng(frame, compression).size();
  state.counters["bytes"] = static_cast<double>(bytes);
}

void AppendToVector(png_structp png, png_bytep data, png_size_t size) {
  auto* out = static_cast<std::vector<png_byte>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + size);
}

void EncodeLibpngDefault(benchmark::State& state) {
  const xelfw::Image frame = PseudoColourFrame(640, 512);
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::vector<png_byte> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, AppendToVector, nullptr);
    png_set_IHDR(png, info, frame.Width(), frame.Height(), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (UINT y = 0; y < frame.Height(); ++y) png_write_row(png, frame.Data() + y * frame.Stride());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    bytes = out.size();
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}

}  // namespace

void RegisterEncodeBenchmarks() {
  const std::pair<const char*, xelhost::ImageCompression> settings[] = {
      {"png_encode/xel_fast", xelhost::ImageCompression::Fast},
      {"png_encode/xel_default", xelhost::ImageCompression::Default},
      {"png_encode/xel_small", xelhost::ImageCompression::Small}};
  for (const auto& [name, compression] : settings) {
    benchmark::RegisterBenchmark(name, EncodeXel, compression)->Unit(benchmark::kMillisecond)->UseRealTime();
    Record({name, Kind::Other, "", 0});
  }
  benchmark::RegisterBenchmark("png_encode/libpng_zlib6", EncodeLibpngDefault)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  Record({"png_encode/libpng_zlib6", Kind::Other, "", 0});
}

}  // namespace bench
