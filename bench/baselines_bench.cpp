// What the conversion is measured against: a plain copy of the same traffic, and the libraries a
// user would otherwise reach for, each on the same 16-bit frames.
#include "catalogue.h"
#include "scene.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#ifdef XEL_BENCH_WITH_VIPS
#include <vips/vips.h>
#endif
#ifdef XEL_BENCH_WITH_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

namespace bench {
namespace {

// A copy whose reads plus writes equal the conversion's: the floor no conversion can beat.
void CopySameTraffic(benchmark::State& state, std::size_t bytesMoved) {
  const std::size_t copied = bytesMoved / 2;
  std::vector<unsigned char> from(copied, 1);
  std::vector<unsigned char> to(copied);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), copied);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytesMoved));
}

#ifdef XEL_BENCH_WITH_VIPS
// vips_maplut with a 65536-entry three-band table, evaluated into memory like a caller would.
void VipsMapLut(benchmark::State& state, FrameSize size) {
  const xelfw::Image scene = MakeThermalScene(size.width, size.height);
  std::vector<unsigned char> table(65536 * 3);
  for (std::size_t i = 0; i < 65536; ++i)
    for (std::size_t c = 0; c < 3; ++c) table[i * 3 + c] = static_cast<unsigned char>((i >> (8 - c)) & 0xFF);
  VipsImage* lut = vips_image_new_from_memory(table.data(), table.size(), 65536, 1, 3, VIPS_FORMAT_UCHAR);
  VipsImage* in = vips_image_new_from_memory(scene.Data(), scene.FrameBytes(), static_cast<int>(size.width),
                                             static_cast<int>(size.height), 1, VIPS_FORMAT_USHORT);
  for (auto _ : state) {
    VipsImage* mapped = nullptr;
    if (vips_maplut(in, &mapped, lut, nullptr) != 0) {
      state.SkipWithError(vips_error_buffer());
      break;
    }
    std::size_t bytes = 0;
    void* pixels = vips_image_write_to_memory(mapped, &bytes);
    benchmark::DoNotOptimize(pixels);
    g_free(pixels);
    g_object_unref(mapped);
  }
  g_object_unref(in);
  g_object_unref(lut);
}
#endif

#ifdef XEL_BENCH_WITH_OPENCV
// applyColorMap only takes 8-bit input, so the frame is first scaled down, losing its low 8 bits.
void OpenCvColorMap(benchmark::State& state, FrameSize size) {
  xelfw::Image scene = MakeThermalScene(size.width, size.height);
  const cv::Mat in(static_cast<int>(size.height), static_cast<int>(size.width), CV_16UC1, scene.Data());
  cv::Mat scaled;
  cv::Mat coloured;
  for (auto _ : state) {
    in.convertTo(scaled, CV_8U, 1.0 / 257.0);
    cv::applyColorMap(scaled, coloured, cv::COLORMAP_JET);
    benchmark::DoNotOptimize(coloured.data);
  }
}
#endif

}  // namespace

void RegisterBaselineBenchmarks() {
  for (const FrameSize size : kFrameSizes) {
    const std::string frame = std::to_string(size.width) + "x" + std::to_string(size.height);
    for (const UINT dstBytes : {3u, 4u, 6u}) {
      const std::string name = "memcpy/dst" + std::to_string(dstBytes) + "B/" + frame;
      benchmark::RegisterBenchmark(name.c_str(), CopySameTraffic, BytesMoved(size.width, size.height, dstBytes))
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime();
      Record({name, Kind::Memcpy, frame, dstBytes});
    }
#ifdef XEL_BENCH_WITH_VIPS
    const std::string vipsName = "vips_maplut/RGB8/" + frame;
    benchmark::RegisterBenchmark(vipsName.c_str(), VipsMapLut, size)->Unit(benchmark::kMillisecond)->UseRealTime();
    Record({vipsName, Kind::Alternative, frame, 3});
#endif
#ifdef XEL_BENCH_WITH_OPENCV
    const std::string cvName = "opencv_applyColorMap_8bit/RGB8/" + frame;
    benchmark::RegisterBenchmark(cvName.c_str(), OpenCvColorMap, size)->Unit(benchmark::kMillisecond)->UseRealTime();
    Record({cvName, Kind::Alternative, frame, 3});
#endif
  }
}

}  // namespace bench
